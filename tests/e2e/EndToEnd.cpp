// Drives the real program in a virtual X server, in a home folder of its own:
// answers the data location question of a first start, chooses Klondike from
// the menu with the keyboard and mouse, drags a card to a pile that takes it,
// checks on screenshots that it moved, undoes the move, asks for a hint and
// plays it with a second H (and undoes that too), saves a game through
// the file dialog, deals anew, opens the saved game and finds its cards where
// they were, looks at the statistics window, and quits answering the question. The deal is made known through TESSALYN_TEST_SEED and the
// headless tool's deal of the same seed; the cards are found on screen.
//
// Exit status: 0 passed, 1 failed, 77 skipped (no Xvfb, xdotool or import).
#include <QByteArray>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QProcessEnvironment>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QStringList>
#include <QTemporaryDir>
#include <QThread>

#include <cstdio>
#include <cstdlib>
#include <optional>
#include <vector>

namespace {

constexpr int TableTop = 53;     // menu bar 23 + tool bar 30
const QString KlondikeName = QStringLiteral("Klondike 1 [Turn over 1]");

struct TFailure {
    QString Message;
};

[[noreturn]] void Fail(const QString& message) { throw TFailure{message}; }

void Say(const QString& text) { std::fprintf(stderr, "e2e: %s\n", qPrintable(text)); }

QString ProgramDir() { return QStringLiteral(TESSALYN_PROGRAM_DIR); }

QString ArtefactDir()
{
    const QString dir = QStringLiteral(TESSALYN_BINARY_DIR) + QStringLiteral("/e2e-artefacts");
    QDir().mkpath(dir);
    return dir;
}

void Sleep(int ms) { QThread::msleep(static_cast<unsigned long>(ms)); }

class TSession {
public:
    ~TSession()
    {
        StopProgram();
        if (Xvfb.state() != QProcess::NotRunning) {
            Xvfb.terminate();
            Xvfb.waitForFinished(3000);
        }
    }

    void StartDisplay()
    {
        // -displayfd lets the server pick a free display and tell us which.
        Xvfb.start(QStringLiteral("Xvfb"), {QStringLiteral("-displayfd"), QStringLiteral("1"),
                                            QStringLiteral("-screen"), QStringLiteral("0"),
                                            QStringLiteral("1280x1024x24"), QStringLiteral("-nolisten"),
                                            QStringLiteral("tcp")});
        if (!Xvfb.waitForStarted(5000))
            Fail(QStringLiteral("Xvfb did not start"));
        QByteArray number;
        QElapsedTimer clock;
        clock.start();
        while (!number.contains('\n') && clock.elapsed() < 10000) {
            Xvfb.waitForReadyRead(200);
            number += Xvfb.readAllStandardOutput();
        }
        if (!number.contains('\n'))
            Fail(QStringLiteral("Xvfb told no display number"));
        Display = QStringLiteral(":") + QString::fromLatin1(number.trimmed());
        Say(QStringLiteral("display ") + Display);
    }

    QProcessEnvironment Environment() const
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("DISPLAY"), Display);
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
        env.insert(QStringLiteral("SDL_AUDIODRIVER"), QStringLiteral("dummy"));
        env.remove(QStringLiteral("XAUTHORITY"));
        // Never a real player's data.
        env.insert(QStringLiteral("HOME"), Home.path());
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), Home.path() + QStringLiteral("/.config"));
        env.remove(QStringLiteral("XDG_DOCUMENTS_DIR"));
        return env;
    }

    // The data folder of a first start that kept the recommended place.
    QString DataRoot() const { return Home.path() + QStringLiteral("/Documents/Tessalyn"); }

    QByteArray Run(const QString& program, const QStringList& arguments, int timeoutMs = 15000,
                   bool mustSucceed = true, bool headless = false) const
    {
        QProcess process;
        QProcessEnvironment env = Environment();
        if (headless)
            env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        process.setProcessEnvironment(env);
        process.start(program, arguments);
        if (!process.waitForFinished(timeoutMs)) {
            process.kill();
            process.waitForFinished(1000);
            if (mustSucceed)
                Fail(program + QStringLiteral(" ") + arguments.join(QLatin1Char(' ')) + QStringLiteral(" timed out"));
            return {};
        }
        if (mustSucceed && (process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0))
            Fail(program + QStringLiteral(" ") + arguments.join(QLatin1Char(' ')) + QStringLiteral(" failed: ")
                 + QString::fromLocal8Bit(process.readAllStandardError()));
        return process.readAllStandardOutput();
    }

    void Xdo(const QStringList& arguments) const { Run(QStringLiteral("xdotool"), arguments); }

    void StartProgram(unsigned seed)
    {
        QProcessEnvironment env = Environment();
        env.insert(QStringLiteral("TESSALYN_TEST_SEED"), QString::number(seed));
        Program.setProcessEnvironment(env);
        Program.setProcessChannelMode(QProcess::ForwardedChannels);
        Program.start(ProgramDir() + QStringLiteral("/tessalyn"), {});
        if (!Program.waitForStarted(5000))
            Fail(QStringLiteral("the program did not start"));
    }

    void StopProgram()
    {
        if (Program.state() != QProcess::NotRunning) {
            Program.kill();
            Program.waitForFinished(3000);
        }
    }

    QProcess Program;
    QString Display;

private:
    QTemporaryDir Home;
    QProcess Xvfb;
};

struct TWindow {
    QString Id;
    int X = 0;
    int Y = 0;
    int Width = 0;
    int Height = 0;
};

TWindow FindWindow(const TSession& session, const QString& titlePattern)
{
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < 20000) {
        const QByteArray ids = session.Run(QStringLiteral("xdotool"),
                                           {QStringLiteral("search"), QStringLiteral("--onlyvisible"),
                                            QStringLiteral("--name"), titlePattern},
                                           5000, false);
        const QList<QByteArray> lines = ids.trimmed().split('\n');
        if (!lines.isEmpty() && !lines.first().isEmpty()) {
            TWindow window;
            window.Id = QString::fromLatin1(lines.last());
            const QByteArray shell = session.Run(
                QStringLiteral("xdotool"), {QStringLiteral("getwindowgeometry"), QStringLiteral("--shell"), window.Id});
            for (const QByteArray& line : shell.split('\n')) {
                const QList<QByteArray> pair = line.split('=');
                if (pair.size() != 2)
                    continue;
                const int value = pair[1].toInt();
                if (pair[0] == "X") window.X = value;
                if (pair[0] == "Y") window.Y = value;
                if (pair[0] == "WIDTH") window.Width = value;
                if (pair[0] == "HEIGHT") window.Height = value;
            }
            if (window.Width > 0)
                return window;
        }
        Sleep(200);
    }
    Fail(QStringLiteral("no window titled ") + titlePattern);
}

QImage Screenshot(const TSession& session)
{
    const QByteArray png = session.Run(QStringLiteral("import"),
                                       {QStringLiteral("-window"), QStringLiteral("root"), QStringLiteral("png:-")});
    QImage image;
    if (!image.loadFromData(png, "PNG"))
        Fail(QStringLiteral("the screenshot could not be read"));
    return image.convertToFormat(QImage::Format_RGB32);
}

QImage TableShot(const TSession& session, const TWindow& window)
{
    return Screenshot(session).copy(window.X, window.Y + TableTop, window.Width, window.Height - TableTop);
}

// Waits until the table stops changing (deals and slides are animated). A
// deal pauses while its shuffle sound plays, so a still table must stay still
// for longer than that sound before it counts as settled.
QImage SettledTable(const TSession& session, const TWindow& window)
{
    constexpr int StillShots = 7; // 1.75 s
    QImage last = TableShot(session, window);
    int still = 0;
    for (int i = 0; i < 80 && still < StillShots; ++i) {
        Sleep(250);
        QImage next = TableShot(session, window);
        still = next == last ? still + 1 : 0;
        last = next;
    }
    return last;
}

int DifferentPixels(const QImage& a, const QImage& b)
{
    if (a.size() != b.size())
        return a.width() * a.height();
    int n = 0;
    for (int y = 0; y < a.height(); ++y) {
        const auto* la = reinterpret_cast<const QRgb*>(a.constScanLine(y));
        const auto* lb = reinterpret_cast<const QRgb*>(b.constScanLine(y));
        for (int x = 0; x < a.width(); ++x)
            n += la[x] != lb[x] ? 1 : 0;
    }
    return n;
}

// One tableau pile as seen on screen: its columns and the bottom edge of its
// lowest (top) card.
struct TPileOnScreen {
    int Left = 0;
    int Right = 0;
    int Bottom = 0;
    int CentreX() const { return (Left + Right) / 2; }
};

bool IsBackground(QRgb pixel, QRgb background)
{
    return std::abs(qRed(pixel) - qRed(background)) + std::abs(qGreen(pixel) - qGreen(background))
               + std::abs(qBlue(pixel) - qBlue(background))
           < 60;
}

// Klondike's tableau lies below its first row of cards; the piles are the
// column runs that reach below `belowY`.
std::vector<TPileOnScreen> FindPiles(const QImage& table, int belowY)
{
    const QRgb background = table.pixel(4, table.height() - 4);
    std::vector<int> lowest(std::size_t(table.width()), -1);
    for (int x = 0; x < table.width(); ++x)
        for (int y = table.height() - 2; y > belowY; --y)
            if (!IsBackground(table.pixel(x, y), background)) {
                lowest[std::size_t(x)] = y;
                break;
            }
    std::vector<TPileOnScreen> piles;
    for (int x = 0; x < table.width(); ++x) {
        if (lowest[std::size_t(x)] < 0)
            continue;
        if (piles.empty() || x > piles.back().Right + 2) {
            piles.push_back({x, x, lowest[std::size_t(x)]});
        } else {
            piles.back().Right = x;
            piles.back().Bottom = std::max(piles.back().Bottom, lowest[std::size_t(x)]);
        }
    }
    // Shadows and pile edges make slivers; a card is far wider.
    std::erase_if(piles, [](const TPileOnScreen& p) { return p.Right - p.Left < 30; });
    return piles;
}

struct TCardId {
    int Rank = -1; // 0 Ace .. 12 King
    int Suit = -1; // 0 c, 1 d, 2 h, 3 s
};

std::optional<TCardId> ParseCard(const QString& text)
{
    static const QString Ranks = QStringLiteral("A23456789TJQK");
    static const QString Suits = QStringLiteral("cdhs");
    if (text.startsWith(QLatin1Char('(')) || text.size() < 2)
        return std::nullopt; // face down
    const qsizetype rank = Ranks.indexOf(text[0]);
    const qsizetype suit = Suits.indexOf(text[1]);
    if (rank < 0 || suit < 0)
        return std::nullopt;
    return TCardId{int(rank), int(suit)};
}

bool Red(int suit) { return suit == 1 || suit == 2; }

struct TMove {
    int From = -1;
    int To = -1;
};

// The first move of a face-up top card onto another pile's top card that
// Klondike allows: one rank lower, the other colour.
std::optional<TMove> LegalMove(const QJsonArray& tableau)
{
    std::vector<std::optional<TCardId>> tops;
    for (const QJsonValue& pile : tableau) {
        const QJsonArray cards = pile.toArray();
        tops.push_back(cards.isEmpty() ? std::nullopt : ParseCard(cards.last().toString()));
    }
    for (int from = 0; from < int(tops.size()); ++from)
        for (int to = 0; to < int(tops.size()); ++to) {
            const auto& a = tops[std::size_t(from)];
            const auto& b = tops[std::size_t(to)];
            if (from != to && a && b && a->Rank + 1 == b->Rank && Red(a->Suit) != Red(b->Suit))
                return TMove{from, to};
        }
    return std::nullopt;
}

// A seed whose Klondike deal offers a tableau move and is proved winnable, from the headless tool.
std::optional<std::pair<unsigned, TMove>> ChooseDeal(const TSession& session)
{
    const QString cli = ProgramDir() + QStringLiteral("/tessalyn-cli");
    if (!QFile::exists(cli))
        return std::nullopt;
    for (unsigned seed = 1; seed < 200; ++seed) {
        const QByteArray json = session.Run(cli, {QStringLiteral("deal"), KlondikeName, QStringLiteral("--seed"),
                                                  QString::number(seed)},
                                            15000, false, true);
        const QJsonObject deal = QJsonDocument::fromJson(json).object();
        if (deal.isEmpty())
            return std::nullopt; // no deal command: fall back to trying
        const auto move = LegalMove(deal.value(QStringLiteral("tableau")).toArray());
        if (!move)
            continue;
        // A deal the solver proves lost has no hint to show, only the news;
        // one it proves winnable keeps its hint however long the window's
        // search may run (a deal merely undecided here may be proved lost
        // there). A budget in positions picks the same deal on any machine.
        const QByteArray verdict = session.Run(cli, {QStringLiteral("solve"), KlondikeName, QStringLiteral("--seed"),
                                                     QString::number(seed), QStringLiteral("--budget-states"), QStringLiteral("200000")},
                                               15000, false, true);
        if (verdict.contains("\"verdict\":\"winnable\""))
            return std::make_pair(seed, *move);
    }
    return std::nullopt;
}

void Drag(const TSession& session, const TWindow& window, QPoint from, QPoint to)
{
    const auto screen = [&](QPoint p) {
        return QStringList{QString::number(window.X + p.x()), QString::number(window.Y + TableTop + p.y())};
    };
    session.Xdo(QStringList{QStringLiteral("mousemove")} + screen(from));
    Sleep(150);
    session.Xdo({QStringLiteral("mousedown"), QStringLiteral("1")});
    // Several steps, as a hand would move, so the table sees a drag.
    for (int i = 1; i <= 10; ++i) {
        const QPoint p = from + (to - from) * i / 10;
        session.Xdo(QStringList{QStringLiteral("mousemove")} + screen(p));
        Sleep(40);
    }
    Sleep(150);
    session.Xdo({QStringLiteral("mouseup"), QStringLiteral("1")});
}

void ClickAt(const TSession& session, const TWindow& window, int x, int y)
{
    session.Xdo({QStringLiteral("mousemove"), QString::number(window.X + x), QString::number(window.Y + y)});
    Sleep(150);
    session.Xdo({QStringLiteral("click"), QStringLiteral("1")});
}

void Key(const TSession& session, const QString& key, int settle = 250)
{
    session.Xdo({QStringLiteral("key"), key});
    Sleep(settle);
}

// The one saved game of the data folder.
QString SavedGameName(const TSession& session)
{
    const QStringList files = QDir(session.DataRoot() + QStringLiteral("/Save Games"))
                                  .entryList({QStringLiteral("*.tsg")}, QDir::Files);
    return files.size() == 1 ? files.first() : QString();
}

// The tool bar's Open Saved Game button, the file dialog given the name of a
// game in Save Games; the caption then names the file.
void OpenSavedGame(const TSession& session, const TWindow& window, const QString& name)
{
    ClickAt(session, window, 46, 23 + 15);
    FindWindow(session, QStringLiteral("^Open Saved Game$"));
    Sleep(500);
    session.Xdo({QStringLiteral("type"), QStringLiteral("--delay"), QStringLiteral("20"), name});
    Sleep(300);
    Key(session, QStringLiteral("Return"), 800);
    FindWindow(session, QStringLiteral("Game: ") + QRegularExpression::escape(name));
}

// Saves through the tool bar's button and the file dialog, keeping the
// offered name; then deals anew and opens the saved game again.
void SaveNewGameAndOpen(const TSession& session, const TWindow& window)
{
    const QImage saved = SettledTable(session, window);
    // Tool bar: New Game, Open Saved Game, Save Game, 28 pixels apart.
    ClickAt(session, window, 75, 23 + 15);
    FindWindow(session, QStringLiteral("^Save Game$"));
    Sleep(500);
    Key(session, QStringLiteral("Return"), 800);
    const QString name = SavedGameName(session);
    if (name.isEmpty())
        Fail(QStringLiteral("saving wrote no game into Save Games"));
    Say(QStringLiteral("saved as ") + name);

    // No window manager gives the focus back after a dialog: the mouse deals.
    ClickAt(session, window, 17, 23 + 15);
    const QImage dealt = SettledTable(session, window);
    if (DifferentPixels(saved, dealt) < 500)
        Fail(QStringLiteral("New Game dealt nothing new"));

    OpenSavedGame(session, window, name);
    const QImage opened = SettledTable(session, window);
    opened.save(ArtefactDir() + QStringLiteral("/4-opened.png"));
    const int differ = DifferentPixels(saved, opened);
    Say(QStringLiteral("opened game: %1 pixels differ from the saved one").arg(differ));
    if (differ > 200)
        Fail(QStringLiteral("the opened game does not lie as it was saved"));
}

// " Statistics " > "Statistics": the window shows the game counted so far.
void LookAtStatistics(const TSession& session, const TWindow& window)
{
    ClickAt(session, window, 188, 11);
    Sleep(400);
    Key(session, QStringLiteral("Down"));
    Key(session, QStringLiteral("Return"), 600);
    const TWindow statistics = FindWindow(session, QStringLiteral("^Statistics and High Scores\\.$"));
    Sleep(300);
    Screenshot(session)
        .copy(statistics.X, statistics.Y, statistics.Width, statistics.Height)
        .save(ArtefactDir() + QStringLiteral("/5-statistics.png"));
    QFile counters(session.DataRoot() + QStringLiteral("/Data/") + KlondikeName + QStringLiteral(".dat"));
    if (!counters.open(QIODevice::ReadOnly) || counters.readLine().trimmed().toInt() < 1)
        Fail(QStringLiteral("no Klondike game was counted"));
    Key(session, QStringLiteral("Escape"), 400);
}

QString WindowName(const TSession& session, const TWindow& window)
{
    return QString::fromUtf8(
        session.Run(QStringLiteral("xdotool"), {QStringLiteral("getwindowname"), window.Id}).trimmed());
}

// The played and won counters of a game, or -1 when it was never counted.
std::pair<int, int> Counters(const TSession& session, const QString& game)
{
    QFile file(session.DataRoot() + QStringLiteral("/Data/") + game + QStringLiteral(".dat"));
    if (!file.open(QIODevice::ReadOnly))
        return {-1, -1};
    const int played = file.readLine().trimmed().toInt();
    const int won = file.readLine().trimmed().toInt();
    return {played, won};
}

// The start screen: a letter jumps to the first game of that letter, Enter
// starts it; F12 and Yes go back, and the list counts the game left.
void PlayFromTheStartScreen(const TSession& session, const TWindow& window)
{
    Screenshot(session).save(ArtefactDir() + QStringLiteral("/0-start-screen.png"));
    // Without a window manager the keys go to the window under the pointer.
    session.Xdo({QStringLiteral("mousemove"), QString::number(window.X + 200), QString::number(window.Y + 400)});
    Sleep(200);
    Key(session, QStringLiteral("shift+f"), 400);
    Key(session, QStringLiteral("Return"), 400);
    const TWindow playing = FindWindow(session, QStringLiteral("^Tessalyn\\. Game: F"));
    QString game = WindowName(session, playing);
    game = game.mid(game.indexOf(QStringLiteral("Game: ")) + 6);
    game.truncate(game.indexOf(QStringLiteral("  [")));
    Say(QStringLiteral("started from the start screen: ") + game);
    SettledTable(session, window);
    Key(session, QStringLiteral("F12"), 400);
    FindWindow(session, QStringLiteral("^Confirm$"));
    Sleep(300);
    Key(session, QStringLiteral("Return"), 800);
    // A game that deals a card to its foundation has points: a high score.
    const TWindow next = FindWindow(session, QStringLiteral("^(Tessalyn\\.|Statistics and High Scores\\.)$"));
    if (WindowName(session, next).startsWith(QStringLiteral("Statistics"))) {
        session.Xdo({QStringLiteral("mousemove"), QString::number(next.X + next.Width / 2),
                     QString::number(next.Y + next.Height / 2)});
        Key(session, QStringLiteral("Return"), 800);
    }
    FindWindow(session, QStringLiteral("^Tessalyn\\.$"));
    Screenshot(session).save(ArtefactDir() + QStringLiteral("/0-back-on-the-start-screen.png"));
    if (Counters(session, game).first != 1)
        Fail(QStringLiteral("the game left for the start screen was not counted once"));
}

// " Options ": the Compact layout and the third gradient, then Save Options.
void ChangeAndSaveOptions(const TSession& session, const TWindow& window)
{
    const auto openOptions = [&] {
        ClickAt(session, window, 261, 11);
        Sleep(400);
    };
    openOptions();
    Key(session, QStringLiteral("Down"));   // Game Layout
    Key(session, QStringLiteral("Right"));  // Compact
    Key(session, QStringLiteral("Return"), 800);
    openOptions();
    for (int i = 0; i < 3; ++i)             // Game Layout, Background Colour, Background Gradient
        Key(session, QStringLiteral("Down"), 150);
    Key(session, QStringLiteral("Right"));  // Mode 1
    Key(session, QStringLiteral("Down"), 150);
    Key(session, QStringLiteral("Down"), 150);
    Key(session, QStringLiteral("Return"), 800);
    openOptions();
    // Save Options, the third item from the end (after it the two solver options).
    for (int i = 0; i < 3; ++i)
        Key(session, QStringLiteral("Up"), 150);
    Key(session, QStringLiteral("Return"));
    FindWindow(session, QStringLiteral("^Confirm$"));
    Sleep(300);
    Key(session, QStringLiteral("Return"), 800);
    QFile options(session.DataRoot() + QStringLiteral("/Options.dat"));
    if (!options.open(QIODevice::ReadOnly) || !options.readAll().contains("Compact"))
        Fail(QStringLiteral("Save Options wrote no Options.dat with the Compact layout"));
    if (!QFile::exists(session.DataRoot() + QStringLiteral("/Status.Dat")))
        Fail(QStringLiteral("Save Options wrote no Status.Dat"));
}

// A Clock one move from its end: opened, the last card dragged home with the
// mouse; the win show starts, a key ends it, the high score takes a name.
QImage WinTheClock(const TSession& session, const TWindow& window)
{
    const QString name = QStringLiteral("The Clock nearly won.tsg");
    const QString saved = session.DataRoot() + QStringLiteral("/Save Games/") + name;
    QFile::remove(saved);
    if (!QFile::copy(QStringLiteral(TESSALYN_SOURCE_DIR) + QStringLiteral("/tests/e2e/data/") + name, saved))
        Fail(QStringLiteral("the nearly won game could not be put into Save Games"));
    // Where its cards lie, from the headless tool.
    const QByteArray json = session.Run(ProgramDir() + QStringLiteral("/tessalyn-cli"),
                                        {QStringLiteral("replay"), saved, QStringLiteral("--positions")}, 15000,
                                        true, true);
    const QJsonArray foundations = QJsonDocument::fromJson(json).object().value(QStringLiteral("foundations")).toArray();
    const auto cardAt = [](const QString& text) {
        const QStringList xy = text.mid(text.indexOf(QLatin1Char('@')) + 1).split(QLatin1Char(','));
        return QPoint(xy.value(0).toInt(), xy.value(1).toInt());
    };
    const QString ranks = QStringLiteral("A23456789TJQK");
    QPoint from;
    QPoint to;
    for (int f = 0; f < foundations.size(); ++f)
        for (const QJsonValue& card : foundations[f].toArray())
            if (ranks.indexOf(card.toString().at(0)) != f) {
                from = cardAt(card.toString());
                to = cardAt(foundations[ranks.indexOf(card.toString().at(0))].toArray().first().toString());
            }
    if (from.isNull())
        Fail(QStringLiteral("no card of the nearly won Clock is away from its rank"));

    OpenSavedGame(session, window, name);
    // The headless tool lays games out as the Compact layout does.
    ChangeAndSaveOptions(session, window);
    const QImage before = SettledTable(session, window);
    before.save(ArtefactDir() + QStringLiteral("/6-clock-nearly-won.png"));
    const QPoint middle(35, 48); // the middle of a card of the Standard set
    Drag(session, window, from + middle, to + middle);
    Sleep(1500);
    const QImage show = TableShot(session, window);
    show.save(ArtefactDir() + QStringLiteral("/7-win-show.png"));
    const int changed = DifferentPixels(before, show);
    Say(QStringLiteral("win show: %1 pixels differ from the table").arg(changed));
    if (changed < 20000)
        Fail(QStringLiteral("no win show after the last card"));
    Key(session, QStringLiteral("Escape"), 800);
    const TWindow entry = FindWindow(session, QStringLiteral("^Statistics and High Scores\\.$"));
    Sleep(300);
    Screenshot(session)
        .copy(entry.X, entry.Y, entry.Width, entry.Height)
        .save(ArtefactDir() + QStringLiteral("/8-new-high-score.png"));
    session.Xdo({QStringLiteral("mousemove"), QString::number(entry.X + entry.Width / 2),
                 QString::number(entry.Y + entry.Height / 2)});
    session.Xdo({QStringLiteral("type"), QStringLiteral("--delay"), QStringLiteral("20"), QStringLiteral("Tester")});
    Key(session, QStringLiteral("Return"), 800);
    const auto [played, won] = Counters(session, QStringLiteral("The Clock"));
    if (played != 1 || won != 1)
        Fail(QStringLiteral("The Clock won is counted %1 played, %2 won").arg(played).arg(won));
    QFile player(session.DataRoot() + QStringLiteral("/Player.dat"));
    if (!player.open(QIODevice::ReadOnly) || player.readLine().trimmed() != "Tester")
        Fail(QStringLiteral("the name of the high score is not remembered in Player.dat"));
    return before;
}

void Quit(TSession& session, const TWindow& window)
{
    // The tool bar's Exit button (the keys may have no focus after a dialog).
    ClickAt(session, window, 357, 23 + 15);
    FindWindow(session, QStringLiteral("^Confirm$"));
    Sleep(300);
    session.Xdo({QStringLiteral("key"), QStringLiteral("Return")});
    if (!session.Program.waitForFinished(10000))
        Fail(QStringLiteral("the program did not end after Yes"));
    if (session.Program.exitStatus() != QProcess::NormalExit || session.Program.exitCode() != 0)
        Fail(QStringLiteral("the program ended with status %1").arg(session.Program.exitCode()));
}

void ChooseKlondikeFromMenu(const TSession& session, const TWindow& window)
{
    // Open " Game " with the mouse, step right to " Game Type " and walk the
    // menus with the keys: Alphabetical Games > K - P > the game.
    session.Xdo({QStringLiteral("mousemove"), QString::number(window.X + 20), QString::number(window.Y + 11)});
    session.Xdo({QStringLiteral("click"), QStringLiteral("1")});
    Sleep(400);
    // Stepping into a menu with the keys selects its first item.
    const QStringList keys{QStringLiteral("Right"), QStringLiteral("Right")};
    for (const QString& key : keys) {
        session.Xdo({QStringLiteral("key"), key});
        Sleep(250);
    }
    // "K - P" is the fourth letter group.
    for (int i = 0; i < 3; ++i) {
        session.Xdo({QStringLiteral("key"), QStringLiteral("Down")});
        Sleep(120);
    }
    session.Xdo({QStringLiteral("key"), QStringLiteral("Right")});
    Sleep(250);
    // Klondike's place in its group, from the headless tool's game list when
    // it is there; the group begins "Khedive", "King Albert", "Kingdom".
    int place = 3;
    const QString cli = ProgramDir() + QStringLiteral("/tessalyn-cli");
    if (QFile::exists(cli)) {
        const QByteArray list = session.Run(cli, {QStringLiteral("games")}, 15000, false, true);
        int index = 0;
        for (const QByteArray& line : list.split('\n')) {
            const QList<QByteArray> fields = line.split('\t');
            if (fields.size() < 3)
                continue;
            const QString name = QString::fromUtf8(fields[2]);
            const QChar first = name.isEmpty() ? QChar() : name[0].toUpper();
            if (first < QLatin1Char('K') || first > QLatin1Char('P'))
                continue;
            if (name == KlondikeName) {
                place = index;
                break;
            }
            ++index;
        }
    }
    for (int i = 0; i < place; ++i) {
        session.Xdo({QStringLiteral("key"), QStringLiteral("Down")});
        Sleep(120);
    }
    session.Xdo({QStringLiteral("key"), QStringLiteral("Return")});
}

// H shows a move for a moment: the table changes while the outline shows.
// H again while it shows plays that move. Undo takes it back, so the rest of
// the run sees the table as it was.
void HintAndPlayIt(const TSession& session, const TWindow& window, const QImage& still)
{
    Key(session, QStringLiteral("h"), 0);
    QImage outlined;
    QElapsedTimer clock;
    clock.start();
    // The search takes up to a second, the outline shows for about one and a half.
    while (clock.elapsed() < 4000) {
        const QImage shot = TableShot(session, window);
        if (DifferentPixels(still, shot) > 100) {
            outlined = shot;
            break;
        }
        Sleep(50);
    }
    if (outlined.isNull())
        Fail(QStringLiteral("H showed no outline on the table"));
    outlined.save(ArtefactDir() + QStringLiteral("/3-hint.png"));
    Key(session, QStringLiteral("h"), 0);
    const QImage played = SettledTable(session, window);
    played.save(ArtefactDir() + QStringLiteral("/3-hint-played.png"));
    const int changed = DifferentPixels(still, played);
    Say(QStringLiteral("hint played: %1 pixels changed").arg(changed));
    if (changed <= 500)
        Fail(QStringLiteral("the second H made no move"));
    session.Xdo({QStringLiteral("key"), QStringLiteral("ctrl+z")});
    if (DifferentPixels(still, SettledTable(session, window)) > 200)
        Fail(QStringLiteral("undo did not take the hinted move back"));
}

int RunTest()
{
    for (const char* tool : {"Xvfb", "xdotool", "import"})
        if (QStandardPaths::findExecutable(QString::fromLatin1(tool)).isEmpty()) {
            Say(QStringLiteral("skipped: %1 is not installed").arg(QString::fromLatin1(tool)));
            return 77;
        }
    TSession session;
    session.StartDisplay();

    const auto deal = ChooseDeal(session);
    const unsigned seed = deal ? deal->first : 1;
    Say(QStringLiteral("seed %1%2").arg(seed).arg(deal ? QString() : QStringLiteral(" (moves found by trying)")));
    session.StartProgram(seed);
    // A first start asks where the data goes; OK keeps the documents folder.
    FindWindow(session, QStringLiteral("^Save Data Location$"));
    Sleep(400);
    Key(session, QStringLiteral("Return"));
    TWindow window = FindWindow(session, QStringLiteral("^Tessalyn\\.$"));
    if (!QFile::exists(session.DataRoot() + QStringLiteral("/Player.dat")))
        Fail(QStringLiteral("no Player.dat in the documents folder after the first start"));
    Sleep(500);
    window = FindWindow(session, QStringLiteral("^Tessalyn\\.$"));
    Say(QStringLiteral("window %1,%2 %3x%4").arg(window.X).arg(window.Y).arg(window.Width).arg(window.Height));

    ChooseKlondikeFromMenu(session, window);
    FindWindow(session, QStringLiteral("Game: Klondike 1"));
    const QImage before = SettledTable(session, window);
    before.save(ArtefactDir() + QStringLiteral("/1-dealt.png"));

    const std::vector<TPileOnScreen> piles = FindPiles(before, 150);
    if (piles.size() != 7)
        Fail(QStringLiteral("found %1 tableau piles on screen, not 7").arg(piles.size()));

    std::vector<TMove> tries;
    if (deal)
        tries.push_back(deal->second);
    else
        for (int from = 0; from < 7; ++from)
            for (int to = 0; to < 7; ++to)
                if (from != to)
                    tries.push_back({from, to});

    QImage reference = before;
    bool moved = false;
    for (const TMove& move : tries) {
        const TPileOnScreen& a = piles[std::size_t(move.From)];
        const TPileOnScreen& b = piles[std::size_t(move.To)];
        Drag(session, window, QPoint(a.CentreX(), a.Bottom - 12), QPoint(b.CentreX(), b.Bottom - 12));
        const QImage after = SettledTable(session, window);
        const int changed = DifferentPixels(reference, after);
        Say(QStringLiteral("drag pile %1 to %2: %3 pixels changed").arg(move.From + 1).arg(move.To + 1).arg(changed));
        if (changed > 500) {
            after.save(ArtefactDir() + QStringLiteral("/2-moved.png"));
            moved = true;
            break;
        }
        reference = after;
        if (deal)
            break;
    }
    if (!moved)
        Fail(QStringLiteral("no card moved"));

    session.Xdo({QStringLiteral("key"), QStringLiteral("ctrl+z")});
    const QImage undone = SettledTable(session, window);
    undone.save(ArtefactDir() + QStringLiteral("/3-undone.png"));
    const int left = DifferentPixels(reference, undone);
    Say(QStringLiteral("after undo %1 pixels differ from before the move").arg(left));
    if (left > 200)
        Fail(QStringLiteral("undo did not bring the card back"));

    HintAndPlayIt(session, window, undone);

    // The game left by New Game is counted.
    ClickAt(session, window, 17, 23 + 15);
    SaveNewGameAndOpen(session, window);
    LookAtStatistics(session, window);

    // Back to the start screen, a game chosen there by its letter and left again.
    // Without a window manager the keys go to the window under the pointer.
    session.Xdo({QStringLiteral("mousemove"), QString::number(window.X + 640), QString::number(window.Y + 900)});
    Key(session, QStringLiteral("F12"), 400);
    FindWindow(session, QStringLiteral("^Confirm$"));
    Sleep(300);
    Key(session, QStringLiteral("Return"), 800);
    window = FindWindow(session, QStringLiteral("^Tessalyn\\.$"));
    PlayFromTheStartScreen(session, window);

    const QImage optioned = WinTheClock(session, window);
    Quit(session, window);

    // The options saved are in force at the next start.
    session.StartProgram(seed);
    window = FindWindow(session, QStringLiteral("^Tessalyn\\.$"));
    Sleep(500);
    ChooseKlondikeFromMenu(session, window);
    FindWindow(session, QStringLiteral("Game: Klondike 1"));
    const QImage again = SettledTable(session, window);
    again.save(ArtefactDir() + QStringLiteral("/9-next-start.png"));
    const QPoint corner(again.width() - 5, again.height() - 5);
    if (again.pixel(corner) != optioned.pixel(corner) || again.pixel(corner) == before.pixel(corner))
        Fail(QStringLiteral("the saved background is not in force at the next start"));
    Quit(session, window);
    Say(QStringLiteral("passed"));
    return 0;
}

} // namespace

int main()
{
    try {
        return RunTest();
    } catch (const TFailure& failure) {
        Say(QStringLiteral("FAILED: ") + failure.Message);
        return 1;
    }
}
