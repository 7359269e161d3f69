#include "shell/AboutBox.h"
#include "shell/WindowParts.h"
#include "shell/Marquee.h"
#include "shell/Sound.h"
#include "shell/StartScreen.h"

#include "RecordingAudio.h"

#include <QFontMetrics>
#include <QPushButton>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>

namespace {

int LitPixels(const QImage& image)
{
    int lit = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            lit += (image.pixel(x, y) & 0xFFFFFF) != 0 ? 1 : 0;
    return lit;
}

TEST(AboutBox, IsABlackBoxWithItsOkButtonAndScrollingLines)
{
    TAboutBox box(QStringLiteral("Tessalyn."), QStringLiteral("v 2.03"), 2008);
    EXPECT_EQ(box.windowTitle(), "Tessalyn.");
    EXPECT_EQ(box.size(), QSize(278, 299));
    EXPECT_EQ(box.OkButton()->geometry(), QRect(192, 264, 75, 25));
    EXPECT_TRUE(box.windowFlags() & Qt::WindowStaysOnTopHint);
    const QStringList& lines = box.Marquee()->Items;
    ASSERT_GE(lines.size(), 3 + 10);
    EXPECT_EQ(lines[0], "Tessalyn.");
    EXPECT_EQ(lines[1], "v 2.03");
    EXPECT_EQ(lines[2], "Prog ID: 2008");
    EXPECT_EQ(box.Marquee()->palette().color(QPalette::WindowText), QColor(166, 202, 240));
    EXPECT_EQ(box.Field().Radius(), (139 + 149) / 4);
    EXPECT_EQ(LitPixels(box.Surface()), 0);
    // Every line fits the box's width: nothing is cut off at the sides.
    const QFontMetrics metrics(box.Marquee()->font());
    for (const QString& line : lines)
        EXPECT_LE(metrics.horizontalAdvance(line), box.width() - 8) << line.toStdString();
}

TEST(AboutBox, StarsLeaveTrailsAndTheMarqueeKeepsRunning)
{
    TAboutBox box(QStringLiteral("Tessalyn."), QStringLiteral("v 2.03"), 2008);
    int lit = 0;
    for (int frame = 0; frame < 60; ++frame) {
        box.Frame();
        const int now = LitPixels(box.Surface());
        EXPECT_GE(now, lit) << "a trail never goes dark again";
        lit = now;
    }
    EXPECT_GT(lit, 0);
    EXPECT_TRUE(box.Marquee()->Active());
    box.Marquee()->SetActive(false);
    box.Frame();
    EXPECT_TRUE(box.Marquee()->Active()) << "a stopped marquee is started again";
}

TEST(AboutBox, OkClosesTheBox)
{
    TAboutBox box(QStringLiteral("Tessalyn."), QStringLiteral("v 2.03"), 2008);
    box.show();
    box.OkButton()->click();
    EXPECT_FALSE(box.isVisible());
    EXPECT_EQ(box.result(), QDialog::Accepted);
}

TEST(AboutBox, TheStartScreenGetsItsStarsBackAfterwards)
{
    QTemporaryDir documents;
    TPrompts prompts;
    prompts.AskYesNo = [](const QString&) { return true; };
    prompts.ShowError = [](const QString&, const QString&) {};
    prompts.ShowNotice = [](const QString&, const QString&) {};
    auto form = std::make_unique<TForm1>(prompts);
    form->DataPlaces.DocumentsFolder = documents.path().toStdString();
    form->FirstShow();
    if (!form->StartPage().Active())
        form->StartPage().ViewStartScreen();
    ASSERT_TRUE(form->StartPage().Active());
    TStarView* stars = form->StartPage().StartScreen()->Image1;
    for (int i = 0; i < 30; ++i)
        stars->Frame();
    ASSERT_GT(LitPixels(stars->Surface()), 0);

    QString caption;
    form->Tools().RunAboutBox = [&](TAboutBox& box) {
        caption = box.windowTitle();
        EXPECT_EQ(LitPixels(stars->Surface()), 0) << "the window goes black under the box";
    };
    form->Tools().About1Click();
    EXPECT_EQ(caption, "Tessalyn.");
    EXPECT_EQ(LitPixels(stars->Surface()), 0) << "a fresh star field, nothing drawn yet";
    EXPECT_EQ(stars->Field().CentreX(), stars->width() / 2);
    EXPECT_TRUE(form->StartPage().Active());
}

TEST(AboutBox, RingsOnlyWithSoundOnAndWithSoundOffNeitherSoundsNorWaits)
{
    QTemporaryDir documents;
    TPrompts prompts;
    prompts.AskYesNo = [](const QString&) { return true; };
    prompts.ShowError = [](const QString&, const QString&) {};
    prompts.ShowNotice = [](const QString&, const QString&) {};
    auto form = std::make_unique<TForm1>(prompts);
    form->DataPlaces.DocumentsFolder = documents.path().toStdString();
    form->FirstShow();
    auto output = std::make_unique<TRecordingAudio>();
    TRecordingAudio& audio = *output;
    form->Sounds().UseAudioOutput(std::move(output));
    ASSERT_TRUE(form->Sounds().SoundSystem()->UsingLibrary());
    form->Tools().RunAboutBox = [](TAboutBox&) {};

    // A ring that never ends would hold the window for the whole wait.
    audio.Forever = true;
    form->Sounds().SoundSystem()->SyncLimit = 3000;
    form->Sounds().SetSoundOption(false);
    const auto start = std::chrono::steady_clock::now();
    form->Tools().About1Click();
    EXPECT_TRUE(audio.Heard().empty());
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(1500));

    audio.Forever = false;
    form->Sounds().SetSoundOption(true);
    audio.Played.clear();
    form->Tools().About1Click();
    ASSERT_EQ(audio.Played.size(), 3u);
    EXPECT_EQ(audio.Played[0], "ring.wav");
    EXPECT_EQ(audio.Played[1], "ring.wav");
    EXPECT_EQ(QString::fromStdString(audio.Played[2]).toLower(), "r2.wav");
}

} // namespace
