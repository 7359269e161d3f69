// Drives the real program in a virtual X server: chooses Klondike from the
// menu with the keyboard and mouse, drags a card to a pile that takes it,
// checks on screenshots that it moved, undoes the move, and quits answering
// the question. The deal is made known through TESSALYN_TEST_SEED and the
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
#include <QStandardPaths>
#include <QStringList>
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
        return env;
    }

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

// A seed whose Klondike deal offers a tableau move, from the headless tool.
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
        if (const auto move = LegalMove(deal.value(QStringLiteral("tableau")).toArray()))
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
    TWindow window = FindWindow(session, QStringLiteral("^Tessalyn\\.$"));
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

    session.Xdo({QStringLiteral("key"), QStringLiteral("ctrl+q")});
    FindWindow(session, QStringLiteral("^Confirm$"));
    Sleep(300);
    session.Xdo({QStringLiteral("key"), QStringLiteral("Return")});
    if (!session.Program.waitForFinished(10000))
        Fail(QStringLiteral("the program did not end after Yes"));
    if (session.Program.exitStatus() != QProcess::NormalExit || session.Program.exitCode() != 0)
        Fail(QStringLiteral("the program ended with status %1").arg(session.Program.exitCode()));
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
