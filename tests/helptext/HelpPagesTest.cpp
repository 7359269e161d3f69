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
            EXPECT_TRUE(page.contains(QStringLiteral("src=\"../../GameImages/%1.jpg\"").arg(game->GameNumber)));
            EXPECT_TRUE(std::filesystem::exists(HelpDir() / "html" / "../../GameImages" / (std::to_string(game->GameNumber) + ".jpg")))
                << "no preview for " << game->GameName;
        }
    }
}

TEST(HelpPages, TwoGamesOfOneCodeShareTheirPage)
{
    const QString page = ReadPage(HelpDir() / "html" / "tsly3lnp.htm");
    EXPECT_TRUE(page.contains(QStringLiteral("<h2 id=\"gKhedive\">Khedive</h2>")));
    EXPECT_TRUE(page.contains(QStringLiteral("<h2 id=\"gBeleagueredCastle\">Beleaguered Castle</h2>")));
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
