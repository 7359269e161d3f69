#include "shell/HelpWindow.h"
#include "shell/WindowParts.h"
#include "shell/StartScreen.h"

#include "catalogue/GameDefinitions.h"
#include "engine/Engine.h"
#include "cardtable/ImageIO.h"
#include "support/TestPaths.h"

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QScrollBar>
#include <QTableWidget>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>

namespace {

struct THelpCommands : testing::Test {
    QTemporaryDir Documents;
    std::unique_ptr<TForm1> Form;

    void SetUp() override
    {
        TPrompts prompts;
        prompts.AskYesNo = [](const QString&) { return true; };
        prompts.ShowError = [](const QString&, const QString&) {};
        prompts.ShowNotice = [](const QString&, const QString&) {};
        Form = std::make_unique<TForm1>(prompts);
        Form->DataPlaces.DocumentsFolder = Documents.path().toStdString();
        Form->FirstShow();
        ASSERT_NE(Form->Engine(), nullptr);
    }

    void Press(int key)
    {
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
        QApplication::sendEvent(Form.get(), &press);
    }

    std::string Shown() const
    {
        THelpWindow* help = Form->Tools().HelpWindowIfOpen();
        return help != nullptr ? help->CurrentFile().filename().string() : std::string();
    }
};

TEST_F(THelpCommands, F2OpensThePageOfTheGameInPlayAndF1TheContents)
{
    Form->Commands().ChooseGame("Klondike 2 [Turn over 3]");
    Press(Qt::Key_F2);
    EXPECT_EQ(Shown(), "tsly1jaq.htm");
    EXPECT_TRUE(Form->Tools().HelpWindowIfOpen()->isVisible());
    EXPECT_TRUE(Form->Tools().HelpWindowIfOpen()->Browser()->toPlainText().contains(QStringLiteral("turns three cards")));
    Press(Qt::Key_F1);
    EXPECT_EQ(Shown(), "index.htm");
}

TEST_F(THelpCommands, TheRulesOfANamedGameOpenWithoutStartingIt)
{
    EXPECT_TRUE(Form->Tools().ShowGameRules("Osmosis"));
    EXPECT_EQ(Shown(), "tslyosmos.htm");
    EXPECT_FALSE(Form->GameInPlay());
    EXPECT_TRUE(Form->CurrentGameName().empty());
    EXPECT_FALSE(Form->Tools().ShowGameRules("No Such Game"));
}

TEST_F(THelpCommands, F2OnTheStartScreenOpensTheSelectedGamesPageWithoutStartingIt)
{
    if (!Form->StartPage().Active())
        Form->StartPage().ViewStartScreen();
    ASSERT_TRUE(Form->StartPage().Active());
    TStartScreen* screen = Form->StartPage().StartScreen();
    ASSERT_GT(screen->RowCount(), 1);

    screen->GameList->setCurrentCell(0, 0);
    ASSERT_EQ(screen->Row(), 0);
    Press(Qt::Key_F2);
    EXPECT_EQ(Form->Tools().HelpWindowIfOpen(), nullptr) << "the heading row names no game";

    screen->SelectRow(1);
    const TGameDefinition* game = FindGameDefinition(screen->RowName(1));
    ASSERT_NE(game, nullptr);
    Press(Qt::Key_F2);
    EXPECT_EQ(Shown(), "tsly" + game->HelpCode + ".htm");
    EXPECT_FALSE(Form->GameInPlay());
    EXPECT_TRUE(Form->StartPage().Active());
}

// A page shared by several games opens at the part of the game in play.
TEST_F(THelpCommands, F2OpensASharedPageAtTheGamesOwnPart)
{
    for (const std::string name : {"Beleaguered Castle", "Freecell 6x2"}) {
        SCOPED_TRACE(name);
        Form->Commands().ChooseGame(name);
        Press(Qt::Key_F2);
        THelpWindow* help = Form->Tools().HelpWindowIfOpen();
        ASSERT_NE(help, nullptr);
        EXPECT_EQ(help->Browser()->source().fragment().toStdString(), HelpAnchor(name));
        QApplication::processEvents();
        // The page opens further down than its title: at the game's own heading.
        EXPECT_GT(help->Browser()->verticalScrollBar()->value(), 0);
    }
    Form->Commands().ChooseGame("Khedive");
    Press(Qt::Key_F2);
    EXPECT_EQ(Form->Tools().HelpWindowIfOpen()->Browser()->source().fragment().toStdString(), "gKhedive");
}

TEST(HelpWindow, AMissingPageIsReportedInTheWindow)
{
    QTemporaryDir empty;
    THelpWindow help(empty.path().toStdString());
    help.ShowPage("zzzz");
    EXPECT_TRUE(help.CurrentFile().empty());
    EXPECT_TRUE(help.Browser()->toPlainText().contains(QStringLiteral("tslyzzzz.htm")));
}

TEST(HelpWindow, ThePreviewPictureOfAPageIsReadFromBesideTheProgram)
{
    QTemporaryDir dir;
    const std::filesystem::path program = dir.path().toStdString();
    std::filesystem::create_directories(program / "help" / "html");
    std::filesystem::create_directories(program / "GameImages");
    std::filesystem::copy_file(testpaths::ProgramDir() / "help" / "html" / "tsly1jap.htm",
                               program / "help" / "html" / "tsly1jap.htm");
    QImage preview(64, 48, QImage::Format_RGB32);
    preview.fill(Qt::darkGreen);
    ASSERT_TRUE(WriteJpegFile(preview, program / "GameImages" / "4.jpg"));

    THelpWindow help(program);
    help.ShowPage("1jap");
    const QUrl picture = help.Browser()->source().resolved(QUrl(QStringLiteral("../../GameImages/4.jpg")));
    const QVariant loaded = help.Browser()->loadResource(QTextDocument::ImageResource, picture);
    ASSERT_TRUE(loaded.canConvert<QImage>());
    EXPECT_EQ(loaded.value<QImage>().size(), QSize(64, 48));
}

} // namespace
