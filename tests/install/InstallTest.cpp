#include "support/TestPaths.h"

#include <QDir>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

#include <filesystem>

namespace fs = std::filesystem;

namespace {

constexpr int IconSizes[] = {16, 22, 32, 48, 64, 128, 256};

struct TRun {
    int ExitCode = -1;
    QString Output;
};

TRun RunProcess(const QString& program, const QStringList& arguments, const QProcessEnvironment& env,
         int timeoutMs = 120000)
{
    QProcess process;
    process.setProcessEnvironment(env);
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(program, arguments);
    if (!process.waitForFinished(timeoutMs)) {
        process.kill();
        process.waitForFinished(2000);
        return {-1, QStringLiteral("timed out")};
    }
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            QString::fromLocal8Bit(process.readAll())};
}

QString ReadText(const fs::path& file)
{
    QFile in(QString::fromStdString(file.string()));
    return in.open(QIODevice::ReadOnly) ? QString::fromUtf8(in.readAll()) : QString();
}

// One install into a temporary DESTDIR, shared by the tests below.
class Installed : public testing::Test {
protected:
    static void SetUpTestSuite()
    {
        Root = std::make_unique<QTemporaryDir>();
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("DESTDIR"), Root->path());
        const TRun install = RunProcess(QStringLiteral(TESSALYN_CMAKE),
                                 {QStringLiteral("--install"), QString::fromStdString(testpaths::BinaryDir().string()),
                                  QStringLiteral("--prefix"), QStringLiteral("/usr")},
                                 env);
        InstallOutput = new QString(install.Output);
        InstallOk = install.ExitCode == 0;
    }
    static void TearDownTestSuite()
    {
        Root.reset();
        delete InstallOutput;
        InstallOutput = nullptr;
    }
    void SetUp() override { ASSERT_TRUE(InstallOk) << InstallOutput->toStdString(); }

    static fs::path Prefix() { return fs::path(Root->path().toStdString()) / "usr"; }
    static fs::path ProgramFolder() { return Prefix() / "lib" / "tessalyn"; }

    static inline std::unique_ptr<QTemporaryDir> Root;
    static inline QString* InstallOutput = nullptr;
    static inline bool InstallOk = false;
};

TEST_F(Installed, TheLinkOnThePathLeadsToTheProgramBesideItsFiles)
{
    const fs::path link = Prefix() / "bin" / "tessalyn";
    ASSERT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(fs::read_symlink(link), fs::path("../lib/tessalyn/tessalyn")) << "a relative link survives a moved DESTDIR";
    EXPECT_EQ(fs::canonical(link), fs::canonical(ProgramFolder() / "tessalyn"));
    EXPECT_NE(fs::status(link).permissions() & fs::perms::owner_exec, fs::perms::none);
}

TEST_F(Installed, EveryFileTheProgramReadsIsInstalledAndNoDeveloperTool)
{
    // Whatever the build put beside the program for it to read (card sets,
    // sounds, pictures, help) is installed beside it, file for file.
    const fs::path built = testpaths::ProgramDir();
    int files = 0;
    for (const auto& entry : fs::recursive_directory_iterator(built)) {
        if (!entry.is_regular_file())
            continue;
        const fs::path relative = fs::relative(entry.path(), built);
        if (relative.has_parent_path() && relative.begin()->string() != "e2e-artefacts") {
            EXPECT_TRUE(fs::exists(ProgramFolder() / relative)) << relative;
            ++files;
        }
    }
    EXPECT_GT(files, 158);
    EXPECT_TRUE(fs::exists(ProgramFolder() / "Cardsets" / "Standard"));
    EXPECT_TRUE(fs::exists(ProgramFolder() / "help" / "index.htm"));
    EXPECT_TRUE(fs::exists(ProgramFolder() / "help" / "html" / "tsly1jap.htm"));
    // The build's own tools (generators, tests, benchmarks) stay behind:
    // the only programs installed are the game and its command-line tool.
    for (const auto& entry : fs::directory_iterator(ProgramFolder())) {
        const std::string name = entry.path().filename().string();
        const bool program = entry.is_regular_file()
                             && (entry.status().permissions() & fs::perms::owner_exec) != fs::perms::none;
        if (program) {
            EXPECT_TRUE(name == "tessalyn" || name == "tessalyn-cli") << name;
        }
    }
}

TEST_F(Installed, TheIconIsInTheThemeAtEverySize)
{
    for (const int size : IconSizes) {
        const fs::path file = Prefix() / "share" / "icons" / "hicolor" / (std::to_string(size) + "x" + std::to_string(size))
                              / "apps" / "tessalyn.png";
        const QImage icon(QString::fromStdString(file.string()));
        ASSERT_FALSE(icon.isNull()) << file;
        EXPECT_EQ(icon.size(), QSize(size, size));
        EXPECT_EQ(qAlpha(icon.pixel(0, 0)), 0) << "the corners are transparent";
        EXPECT_EQ(qAlpha(icon.pixel(size / 2, size / 2)), 255) << "the middle is drawn";
    }
}

TEST_F(Installed, TheDesktopEntryStartsTheLinkAndTheMetainfoValidates)
{
    const QString entry = ReadText(Prefix() / "share" / "applications" / (std::string(TESSALYN_APP_ID) + ".desktop"));
    ASSERT_FALSE(entry.isEmpty());
    EXPECT_TRUE(entry.contains(QStringLiteral("\nExec=/usr/bin/tessalyn\n")));
    EXPECT_TRUE(entry.contains(QStringLiteral("\nIcon=tessalyn\n")));

    const fs::path metainfo = Prefix() / "share" / "metainfo" / (std::string(TESSALYN_APP_ID) + ".metainfo.xml");
    const QString text = ReadText(metainfo);
    EXPECT_TRUE(text.contains(QStringLiteral("<launchable type=\"desktop-id\">" TESSALYN_APP_ID ".desktop</launchable>")));
    EXPECT_TRUE(text.contains(QStringLiteral("<screenshot type=\"default\">")));
    EXPECT_TRUE(text.contains(QStringLiteral("<release version=\"2.03\"")));
    const QString validator = QStandardPaths::findExecutable(QStringLiteral("appstreamcli"));
    if (validator.isEmpty())
        GTEST_SKIP() << "appstreamcli is not installed";
    const TRun validation = RunProcess(validator, {QStringLiteral("validate"), QStringLiteral("--no-net"),
                                            QString::fromStdString(metainfo.string())},
                                QProcessEnvironment::systemEnvironment());
    EXPECT_EQ(validation.ExitCode, 0) << validation.Output.toStdString();
}

// The installed program, started by its link in a virtual X server, comes up
// with its card sets (no complaint about a missing set) and shows its help.
class InstalledProgram : public Installed {
protected:
    void TearDown() override
    {
        for (QProcess* process : {&Program, &Xvfb})
            if (process->state() != QProcess::NotRunning) {
                process->kill();
                process->waitForFinished(3000);
            }
    }

    bool StartDisplay()
    {
        Xvfb.start(QStringLiteral("Xvfb"), {QStringLiteral("-displayfd"), QStringLiteral("1"), QStringLiteral("-screen"),
                                            QStringLiteral("0"), QStringLiteral("1280x1024x24"),
                                            QStringLiteral("-nolisten"), QStringLiteral("tcp")});
        if (!Xvfb.waitForStarted(5000))
            return false;
        QByteArray number;
        QElapsedTimer clock;
        clock.start();
        while (!number.contains('\n') && clock.elapsed() < 10000) {
            Xvfb.waitForReadyRead(200);
            number += Xvfb.readAllStandardOutput();
        }
        Display = QStringLiteral(":") + QString::fromLatin1(number.trimmed());
        return number.contains('\n');
    }

    QProcessEnvironment Environment() const
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("DISPLAY"), Display);
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
        env.insert(QStringLiteral("SDL_AUDIODRIVER"), QStringLiteral("dummy"));
        env.insert(QStringLiteral("HOME"), Home.path());
        env.insert(QStringLiteral("XDG_DOCUMENTS_DIR"), Home.path() + QStringLiteral("/Documents"));
        env.remove(QStringLiteral("XAUTHORITY"));
        return env;
    }

    // Waits for a window whose caption is exactly `caption`.
    bool WindowAppears(const QString& caption, int timeoutMs = 20000) const
    {
        QElapsedTimer clock;
        clock.start();
        while (clock.elapsed() < timeoutMs) {
            const TRun search = RunProcess(QStringLiteral("xdotool"),
                                    {QStringLiteral("search"), QStringLiteral("--onlyvisible"), QStringLiteral("--name"),
                                     QLatin1Char('^') + QRegularExpression::escape(caption) + QLatin1Char('$')},
                                    Environment(), 5000);
            if (search.ExitCode == 0 && !search.Output.trimmed().isEmpty())
                return true;
            QThread::msleep(250);
        }
        return false;
    }

    QTemporaryDir Home;
    QProcess Xvfb;
    QProcess Program;
    QString Display;
};

TEST_F(InstalledProgram, StartsFromItsLinkWithItsCardSetsAndHelp)
{
    if (QStandardPaths::findExecutable(QStringLiteral("Xvfb")).isEmpty()
        || QStandardPaths::findExecutable(QStringLiteral("xdotool")).isEmpty())
        GTEST_SKIP() << "Xvfb and xdotool are needed";
    ASSERT_TRUE(StartDisplay());
    Program.setProcessEnvironment(Environment());
    // Started from elsewhere, by the link: the program finds its files by its
    // own place, not by the current folder.
    Program.setWorkingDirectory(Home.path());
    Program.start(QString::fromStdString((Prefix() / "bin" / "tessalyn").string()), {});
    ASSERT_TRUE(Program.waitForStarted(5000));
    // A first start asks where the data goes; OK keeps the documents folder.
    ASSERT_TRUE(WindowAppears(QStringLiteral("Save Data Location"))) << "no data location question";
    QThread::msleep(300);
    RunProcess(QStringLiteral("xdotool"), {QStringLiteral("key"), QStringLiteral("Return")}, Environment(), 10000);
    ASSERT_TRUE(WindowAppears(QStringLiteral("Tessalyn."))) << "the main window did not come up";
    QThread::msleep(500);
    EXPECT_EQ(Program.state(), QProcess::Running) << "the program ended: " << Program.readAll().toStdString();
    EXPECT_FALSE(WindowAppears(QStringLiteral("Tessalyn"), 500)) << "an error box (a missing card set?) is showing";

    // A click on the empty table gives the window the keyboard.
    RunProcess(QStringLiteral("xdotool"), {QStringLiteral("mousemove"), QStringLiteral("640"), QStringLiteral("600"),
                                    QStringLiteral("click"), QStringLiteral("1")},
        Environment(), 10000);
    RunProcess(QStringLiteral("xdotool"), {QStringLiteral("key"), QStringLiteral("F1")}, Environment(), 10000);
    EXPECT_TRUE(WindowAppears(QStringLiteral("Tessalyn Help - Contents"))) << "the help contents did not show";
}

} // namespace
