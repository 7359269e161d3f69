#include "shell/WindowParts.h"

#include "cardtable/Backdrop.h"
#include "cardtable/CardTable.h"
#include "cardtable/ImageIO.h"

#include <QAction>
#include <QMenu>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>

namespace {

struct TPictureTools : testing::Test {
    QTemporaryDir Documents;
    QTemporaryDir Pictures;
    std::vector<std::pair<QString, QString>> Notices;
    std::unique_ptr<TForm1> Form;

    void SetUp() override
    {
        TPrompts prompts;
        prompts.AskYesNo = [](const QString&) { return true; };
        prompts.ShowError = [](const QString&, const QString&) {};
        prompts.ShowNotice = [this](const QString& caption, const QString& text) { Notices.emplace_back(caption, text); };
        Form = std::make_unique<TForm1>(prompts);
        Form->DataPlaces.DocumentsFolder = Documents.path().toStdString();
        Form->Tools().ImageBitmapsFolder = Pictures.path().toStdString();
        Form->FirstShow();
        ASSERT_NE(Form->CardTable(), nullptr);
    }
    std::filesystem::path Picture(int number) const
    {
        return std::filesystem::path(Pictures.path().toStdString()) / (std::to_string(number) + ".bmp");
    }
};

TEST_F(TPictureTools, SaveImageWritesTheTableOnceUnlessTheNumberIsShared)
{
    Form->Commands().ChooseGame("Canfield");
    Form->Tools().SaveImage1Click();
    const auto saved = ReadBitmapFile(Picture(1));
    ASSERT_TRUE(saved.has_value());
    EXPECT_EQ(saved->size(), Form->CardTable()->SurfaceImage().size());
    const auto written = std::filesystem::last_write_time(Picture(1));

    Form->Tools().SaveImage1Click();
    ASSERT_EQ(Notices.size(), 1u);
    EXPECT_EQ(Notices[0], std::make_pair(QStringLiteral("1"), QStringLiteral("INO = Used")));
    EXPECT_EQ(std::filesystem::last_write_time(Picture(1)), written) << "a used number keeps its picture";

    // Freecell's number is shared by the whole custom family: saved again.
    Form->Commands().ChooseGame("Freecell");
    Form->Tools().SaveImage1Click();
    Form->Tools().SaveImage1Click();
    EXPECT_EQ(Notices.size(), 1u);
    EXPECT_TRUE(std::filesystem::exists(Picture(29)));
}

TEST_F(TPictureTools, SaveAllStartsEachGameAndSavesItsPicture)
{
    Form->Tools().SaveImageBitmaps({"Spider", "Osmosis"});
    EXPECT_TRUE(std::filesystem::exists(Picture(66)));
    EXPECT_TRUE(std::filesystem::exists(Picture(159)));
    EXPECT_TRUE(Notices.empty());
    EXPECT_EQ(Form->CurrentGameName(), "Osmosis");
}

TEST_F(TPictureTools, TheToolsStayHiddenEvenWithTheDebugMenu)
{
    QMenu* debug = Form->Menus().TopMenu(QStringLiteral(" Debug "));
    ASSERT_NE(debug, nullptr);
    for (const char* caption : {"Save Image   F5", "Save All Image Bitmaps"}) {
        QAction* tool = Form->Menus().FindAction(debug, QString::fromLatin1(caption));
        ASSERT_NE(tool, nullptr) << caption;
        EXPECT_FALSE(tool->isVisible()) << caption;
        Form->Commands().EnableDebugMenu1Click();
        EXPECT_TRUE(debug->menuAction()->isVisible());
        EXPECT_FALSE(tool->isVisible()) << caption;
        Form->Commands().EnableDebugMenu1Click();
    }
}

TEST_F(TPictureTools, SaveImageTakesTheGameOffItsGradientFirst)
{
    Form->Commands().ChooseGame("Canfield");
    Form->Options().GradientClick(3);
    TCardTable& table = *Form->CardTable();
    ASSERT_TRUE(table.BackDrop().Enabled());
    QMenu* options = Form->Menus().TopMenu(QStringLiteral(" Options "));
    ASSERT_NE(options, nullptr);
    const auto checkedGradients = [&] {
        int checked = 0;
        for (QAction* item : Form->Menus().FindAction(options, QStringLiteral("Background Gradient"))->menu()->actions())
            checked += item->isChecked() ? 1 : 0;
        return checked;
    };
    ASSERT_EQ(checkedGradients(), 1);

    Form->Tools().SaveImage1Click();
    EXPECT_FALSE(table.BackDrop().Enabled());
    EXPECT_EQ(table.Tag(), 0);
    EXPECT_EQ(checkedGradients(), 0);
    const auto saved = ReadBitmapFile(Picture(1));
    ASSERT_TRUE(saved.has_value());
    // The corner holds no card: it shows the plain table colour.
    EXPECT_EQ(QColor(saved->pixel(1, saved->height() - 2)).rgb(), table.Color().rgb());
}

} // namespace
