#include "tools/genhelp/HelpPages.h"

#include "support/TestPaths.h"

#include <QFile>
#include <QRegularExpression>
#include <QXmlStreamReader>

#include <gtest/gtest.h>

#include <set>

namespace {

std::filesystem::path HelpDir() { return testpaths::ProgramDir() / "help"; }

QString ReadPage(const std::filesystem::path& file)
{
    QFile in(QString::fromStdString(file.string()));
    if (!in.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(in.readAll());
}

// The pages are written so that they also parse as XML: every element
// closed, every attribute quoted, every entity known.
::testing::AssertionResult WellFormed(const QString& page)
{
    QXmlStreamReader reader(page);
    bool sawTitle = false;
    while (!reader.atEnd()) {
        reader.readNext();
        if (reader.isStartElement() && reader.name() == QLatin1String("title"))
            sawTitle = !reader.readElementText().trimmed().isEmpty();
    }
    if (reader.hasError())
        return ::testing::AssertionFailure() << reader.errorString().toStdString() << " at line " << reader.lineNumber();
    if (!page.startsWith(QLatin1String("<!DOCTYPE html>")))
        return ::testing::AssertionFailure() << "no doctype";
    if (!sawTitle)
        return ::testing::AssertionFailure() << "no title";
    return ::testing::AssertionSuccess();
}

TEST(HelpPages, EveryHelpCodeHasAWellFormedPageNamingItsGamesAndShowingTheirDeal)
{
    const auto codes = GamesByHelpCode();
    EXPECT_EQ(codes.size(), 158u);
    for (const auto& [code, games] : codes) {
        SCOPED_TRACE(code);
        const QString page = ReadPage(HelpDir() / "html" / PageFileName(code));
        ASSERT_FALSE(page.isEmpty()) << "no page";
        EXPECT_TRUE(WellFormed(page));
        for (const TGameDefinition* game : games) {
            EXPECT_TRUE(page.contains(QString::fromStdString(EscapeHtml(game->GameName)))) << game->GameName;
            const std::string picture = HelpAnchor(game->GameName) + ".jpg";
            EXPECT_TRUE(page.contains(QString::fromStdString("src=\"../pictures/" + picture + "\"")));
            EXPECT_TRUE(std::filesystem::exists(HelpDir() / "pictures" / picture)) << "no labelled deal for " << game->GameName;
            // F2 opens the page at the game's own anchor.
            EXPECT_TRUE(page.contains(QString::fromStdString(" id=\"" + HelpAnchor(game->GameName) + "\"")));
        }
    }
}

TEST(HelpPages, TwoGamesOfOneCodeShareTheirPageListedAfterTheTitle)
{
    const QString page = ReadPage(HelpDir() / "html" / "tsly3lnp.htm");
    EXPECT_TRUE(page.contains(QStringLiteral("<h2 id=\"gKhedive\">Khedive</h2>")));
    EXPECT_TRUE(page.contains(QStringLiteral("<h2 id=\"gBeleagueredCastle\">Beleaguered Castle</h2>")));
    EXPECT_TRUE(page.contains(QStringLiteral("</h1>\n<ul class=\"games\">\n<li><a href=\"#gKhedive\">Khedive</a></li>\n"
                                             "<li><a href=\"#gBeleagueredCastle\">Beleaguered Castle</a></li>\n</ul>")));
    EXPECT_FALSE(page.contains(QStringLiteral("This page covers")));
}

// Text after an anchor up to the next heading of its level, tags removed.
QString SectionText(const QString& page, const QString& anchor)
{
    const qsizetype start = page.indexOf(QStringLiteral(" id=\"%1\"").arg(anchor));
    if (start < 0)
        return {};
    const qsizetype end = page.indexOf(QStringLiteral("<h3"), start + 1);
    QString text = page.mid(start, end < 0 ? -1 : end - start);
    return text.remove(QRegularExpression(QStringLiteral("<[^>]*>")));
}

TEST(HelpPages, EachCustomFreecellHasItsOwnSectionWithItsOwnNumbers)
{
    const QString page = ReadPage(HelpDir() / "html" / "tsly2r1o.htm");
    const QString sixByTwo = SectionText(page, QStringLiteral("gFreecell6x2"));
    EXPECT_TRUE(sixByTwo.contains(QStringLiteral("Two free cells"))) << sixByTwo.toStdString();
    EXPECT_TRUE(sixByTwo.contains(QStringLiteral("Six tableau piles: the first four piles have nine cards each and the last two eight.")));
    EXPECT_TRUE(sixByTwo.contains(QStringLiteral("a run of up to three cards")));
    EXPECT_FALSE(sixByTwo.contains(QStringLiteral("Four free cells")));
    const QString nineByNone = SectionText(page, QStringLiteral("gFreecell9x0"));
    EXPECT_TRUE(nineByNone.contains(QStringLiteral("Nine tableau piles"))) << nineByNone.toStdString();
    EXPECT_FALSE(nineByNone.contains(QStringLiteral("free cell,")));
    EXPECT_TRUE(nineByNone.contains(QStringLiteral("With no free cells")));
    EXPECT_TRUE(page.contains(QStringLiteral("<li><a href=\"#custom\">Freecell Custom</a>: 46 games")));
}

TEST(HelpPages, TheFirstUseOfEachTermLinksToTheGlossary)
{
    const QString contents = ReadPage(HelpDir() / "index.htm");
    const QRegularExpression term(QStringLiteral("<a class=\"term\" href=\"../index.htm#(t-[a-z]+)\">([^<]+)</a>"));
    for (const auto& [code, games] : GamesByHelpCode()) {
        SCOPED_TRACE(code);
        const QString page = ReadPage(HelpDir() / "html" / PageFileName(code));
        int links = 0;
        for (const QRegularExpressionMatch& match : term.globalMatch(page)) {
            ++links;
            EXPECT_TRUE(contents.contains(QStringLiteral("<dt id=\"%1\">").arg(match.captured(1)))) << match.captured(1).toStdString();
        }
        EXPECT_GT(links, 0);
    }
    // Once per game: Klondike links "tableau" at its first use, not again.
    const QString klondike = ReadPage(HelpDir() / "html" / "tsly1jap.htm");
    EXPECT_EQ(klondike.count(QStringLiteral("#t-tableau\"")), 1);
    EXPECT_EQ(klondike.count(QStringLiteral("#t-foundation\"")), 1);
    EXPECT_LT(klondike.indexOf(QStringLiteral("#t-foundation\"")), klondike.indexOf(QStringLiteral("#t-tableau\"")));
    EXPECT_TRUE(contents.contains(QStringLiteral("<h2 id=\"glossary\">Glossary</h2>")));
}

TEST(HelpPages, TheContentsLinkEveryGameByTypeAndAlphabeticallyToPagesThatExist)
{
    const QString contents = ReadPage(HelpDir() / "index.htm");
    ASSERT_TRUE(WellFormed(contents));
    const QRegularExpression link(QStringLiteral("<li><a href=\"(html/tsly[a-z0-9]+\\.htm)\">([^<]+)</a></li>"));
    std::multiset<std::string> linked;
    for (const QRegularExpressionMatch& match : link.globalMatch(contents)) {
        EXPECT_TRUE(std::filesystem::exists(HelpDir() / match.captured(1).toStdString())) << match.captured(1).toStdString();
        linked.insert(match.captured(2).toStdString());
    }
    for (const TGameDefinition& game : GameDefinitions()) {
        // Once in its type, once in the alphabetical list (a game of two types twice more).
        EXPECT_GE(linked.count(EscapeHtml(game.GameName)), 2u) << game.GameName;
    }
    EXPECT_TRUE(contents.contains(QStringLiteral("<h3>Spider Type</h3>")));
    const QString az = contents.mid(contents.indexOf(QStringLiteral("All games A to Z")));
    EXPECT_TRUE(az.indexOf(QStringLiteral(">Ace In The Hole<")) < az.indexOf(QStringLiteral(">Baker&#39;s Dozen<")));
    EXPECT_TRUE(az.indexOf(QStringLiteral(">Baker&#39;s Dozen<")) < az.indexOf(QStringLiteral(">Zebra<")));
}

TEST(HelpPages, TextIsEscaped)
{
    EXPECT_EQ(EscapeHtml("Baker's <Dozen> & \"Co\""), "Baker&#39;s &lt;Dozen&gt; &amp; &quot;Co&quot;");
}

} // namespace
