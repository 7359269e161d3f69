#include "shell/WinAnim.h"

#include "shell/MergePic.h"
#include "shell/Pause.h"
#include "shell/PictureView.h"
#include "shell/Sound.h"

#include "cardtable/Backdrop.h"
#include "cardtable/CardTable.h"
#include "cardtable/ImageIO.h"
#include "platform/FilePath.h"
#include "platform/Trace.h"

#include <QCoreApplication>
#include <QEvent>
#include <QMainWindow>
#include <QPainter>

#include <array>
#include <cmath>

namespace {

using namespace std::chrono_literals;

constexpr double Pi = 3.14159265358979323846;
constexpr int LongestFlourishWait = 10000;

// Colours given the Windows way, 0x00BBGGRR.
QColor WindowsColour(unsigned colour)
{
    return QColor(int(colour & 0xFF), int((colour >> 8) & 0xFF), int((colour >> 16) & 0xFF));
}

QImage Gradient(const QSize& size, unsigned from, unsigned to)
{
    QImage picture(size, QImage::Format_RGB32);
    TBackdrop backdrop;
    backdrop.SetNewColorFrom(WindowsColour(from));
    backdrop.SetNewColorTo(WindowsColour(to));
    backdrop.SetNewType(gsHorizontal);
    backdrop.PaintTwoColour(picture);
    return picture;
}

std::optional<QImage> ReadPicture(const std::filesystem::path& folder, std::string_view name)
{
    const auto file = platform::FindEntry(folder, name);
    if (!file)
        return std::nullopt;
    return ReadJpegFile(*file, jpBestQuality);
}

// The face of a card as its card set holds it: "01c.bmp" is the Ace of clubs.
std::optional<QImage> CardFace(const std::filesystem::path& folder, int value, int suit)
{
    static constexpr std::array<char, 4> Suits{'c', 'd', 'h', 's'};
    char name[16];
    std::snprintf(name, sizeof name, "%02d%c.bmp", value, Suits[std::size_t(suit)]);
    const auto file = platform::FindEntry(folder, name);
    if (!file)
        return std::nullopt;
    QImage face(QString::fromStdString(file->string()));
    if (face.isNull())
        return std::nullopt;
    return face.convertToFormat(QImage::Format_RGB32);
}

} // namespace

TWinAnim::TWinAnim(TCardTable& table, TWinAnimHost& host, TMergePic& mergePic)
    : QObject(&table),
      Table(table),
      Host(host),
      MergePic(mergePic),
      Canvas(new TPictureView(table.window(), false))
{
    Canvas->setObjectName(QStringLiteral("WinAnimCanvas"));
    Canvas->hide();
    Starfield.RandomSource = [this](int n) { return Random.Below(n); };
}

TWinAnim::~TWinAnim() = default;

// The window less its menu bar: what the window itself draws on.
QRect ClientArea(const QWidget& window)
{
    QRect area = window.rect();
    if (const auto* main = qobject_cast<const QMainWindow*>(&window))
        if (const QWidget* bar = main->menuWidget(); bar != nullptr && bar->isVisible())
            area.setTop(bar->geometry().bottom() + 1);
    return area;
}

bool TWinAnim::Over() const { return Skipped || !Table.IsDrawing(); }

bool TWinAnim::Wait(int milliseconds)
{
    if (Over())
        return false;
    PauseUntil(
        milliseconds, [this] { return Skipped; }, true);
    return !Over();
}

void TWinAnim::Cue(const std::string& name, int mode)
{
    // The player who cut the show short hears no more of it.
    if (!Skipped)
        Host.Sound(name, mode, 100);
}

void TWinAnim::Refresh(const QRect& rect) { Canvas->update(rect); }

int TWinAnim::RandomBelow(int n) { return Random.Below(n); }

QPoint TWinAnim::TableOrigin() const { return Table.mapTo(Table.window(), QPoint(0, 0)) - Canvas->pos(); }

void TWinAnim::ShowCanvas()
{
    if (Canvas->isVisible())
        return;
    Canvas->setGeometry(ClientArea(*Table.window()));
    // The bars around the table as they look, the table from its own buffer.
    Still = Table.window()->grab(Canvas->geometry()).toImage().convertToFormat(QImage::Format_RGB32);
    if (Still.size() != Canvas->size())
        Still = QImage(Canvas->size(), QImage::Format_RGB32), Still.fill(Qt::black);
    QPainter(&Still).drawImage(TableOrigin(), Table.SurfaceImage());
    Canvas->Picture = Still.copy();
    Canvas->show();
    Canvas->raise();
}

void TWinAnim::RestoreTable()
{
    // The window was never drawn on: taking the view away shows it as it was.
    Canvas->hide();
    Canvas->Picture = QImage();
    Still = QImage();
    Table.update();
}

bool TWinAnim::eventFilter(QObject* watched, QEvent* event)
{
    switch (event->type()) {
    case QEvent::KeyPress:
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
        Skipped = true;
        return true;
    case QEvent::KeyRelease:
    case QEvent::MouseButtonRelease:
        return true;
    default:
        return QObject::eventFilter(watched, event);
    }
}

void TWinAnim::Run(const TWinShow& show)
{
    if (Running_)
        return;
    Running_ = true;
    Skipped = false;
    QCoreApplication::instance()->installEventFilter(this);
    Host.SetSoundBreak([this] { return Skipped; });

    ClockSprite(show);
    WaitForFlourish();
    if (show.Option == "None") {
        platform::Trace(" WinAim is None.");
        Cue(show.OpenGame ? "congrat.wav" : "explosion.wav", pmSync);
        platform::Trace("WinAnim exiting no animation set.");
    } else {
        ExplodeAndShake();
        if (show.Option == "Slide")
            SlideShow(show);
        else if (show.Option == "New")
            CoolColours(show);
        else if (show.Option == "Scribble")
            Scribble(show);
        else if (show.Option == "Stars")
            Stars(show);
        RestoreTable();
        if (show.OpenGame) {
            platform::Trace(" Congrat sound started.");
            Cue("congrat.wav", pmSync);
            platform::Trace(" Congrat sound finished.");
        }
        platform::Trace("WinAnim finished.");
    }
    if (Skipped) {
        // Cut short: nothing of the show may go on sounding.
        for (const char* loop : {"Crystal_Whoosh_01.wav", "beepspac.wav"})
            Host.SoundStop(loop, false);
        Host.SoundStop("New-5848.mp3", true);
    }
    RestoreTable();
    Host.SetSoundBreak({});
    QCoreApplication::instance()->removeEventFilter(this);
    Running_ = false;
}

void TWinAnim::ClockSprite(const TWinShow& show)
{
    if (show.SpriteCard == nullptr)
        return;
    if (show.OpenGame)
        Cue("spaced.wav", pmAsync);
    Table.Sprite.Zoom(show.SpriteCard, 600, 0.005f, false);
    if (show.OpenGame)
        Cue("spaced.wav", pmAsync);
    Table.Sprite.Spin(show.SpriteCard, 2000, float(-Pi / 24));
}

void TWinAnim::WaitForFlourish()
{
    PauseUntil(LongestFlourishWait, [this] { return !Host.FlourishRunning(); });
    platform::Trace(" No Flourish is animating.");
}

void TWinAnim::ExplodeAndShake()
{
    Cue("explosion.wav", pmAsync);
    const auto until = Clock::now() + 3s;
    if (Before(until))
        ShowCanvas();
    const QImage& table = Table.SurfaceImage();
    const QPoint origin = TableOrigin();
    while (Before(until)) {
        QPainter(&Canvas->Picture)
            .drawImage(origin + QPoint(5, 5), table, QRect(0, 0, table.width() - 5, table.height() - 5));
        Canvas->repaint();
        if (!Wait(50))
            break;
        Canvas->Picture = Still.copy();
        Canvas->repaint();
        Wait(50);
    }
    platform::Trace(" Explosion & shake finished.");
}

void TWinAnim::SlideShow(const TWinShow& show)
{
    platform::Trace(" Slide Show.");
    const std::optional<QImage> strip = ReadPicture(show.ProgramFolder, "Big.jpg");
    if (strip && !Over()) {
        ShowCanvas();
        MergePic.SetFrames(8);
        MergePic.SetBlendsPerFrame(10);
        MergePic.SetInterval(100);
        MergePic.SetPicture(*strip);
        const QSize area = Canvas->Picture.size();
        MergePic.Start(Canvas->Picture, area.height(), area.width(), 0, 0,
                       [this](const QRect& rect) { Refresh(rect); });
        int frame = MergePic.CurrentFrame();
        while (MergePic.Running() && Wait(10)) {
            if (MergePic.CurrentFrame() != frame && MergePic.Running()) {
                frame = MergePic.CurrentFrame();
                Cue("spaced.wav", pmAsync);
            }
        }
        MergePic.Stop();
        if (show.OpenGame)
            Pan(*strip);
    }
    RestoreTable();
}

void TWinAnim::Pan(const QImage& strip)
{
    // Across the strip from right to left, one pixel per step, a part of
    // 320 x 480 blown up to the whole window.
    const auto until = Clock::now() + 6s;
    const QRect target = Canvas->rect();
    for (int x = strip.width() * 7 / 8; x > 1 && Before(until); --x) {
        QPainter(&Canvas->Picture).drawImage(target, strip, QRect(x - 1, 0, 320, 480) & strip.rect());
        Canvas->repaint();
        Wait(1);
    }
}

void TWinAnim::Music()
{
    if (Skipped)
        return;
    if (!Host.Stream("New-5848.mp3", 1))
        Cue("spaced.wav", pmAsync);
}

void TWinAnim::CoolColours(const TWinShow& show)
{
    platform::Trace(" New.");
    const QSize area = ClientArea(*Table.window()).size();
    std::array<QImage, 2> pictures{Gradient(area, 0x968C6E, 0xFFFFFF), Gradient(area, 0xFFFFFF, 0xAAAAFF)};
    const std::optional<QImage> title = ReadPicture(show.ProgramFolder, "qx3.jpg");
    for (QImage& picture : pictures) {
        QPainter painter(&picture);
        if (!show.Picture.isNull())
            painter.drawImage(QPoint(400, 400), show.Picture);
        if (title)
            painter.drawImage(QPoint(100, 100), *title);
    }
    Music();
    const auto until = Clock::now() + 9s;
    if (Before(until))
        ShowCanvas();
    for (std::size_t i = 0; Before(until); ++i)
        Reveal(pictures[i % 2], until);
    RestoreTable();
    if (show.OpenGame && show.FirstCard != nullptr && !Over()) {
        // The sprite draws from the card's place: lend it the window's centre.
        TCard& card = const_cast<TCard&>(*show.FirstCard);
        const QPoint home(card.X, card.Y);
        card.X = Table.width() / 2 - card.Deck->CardWidth;
        card.Y = Table.height() / 2 - card.Deck->CardHeight;
        Cue("claps.wav", pmAsync);
        Table.Sprite.Zoom(&card, 2000, 0.01f, false);
        card.X = home.x();
        card.Y = home.y();
    }
}

// Opens `picture` from the centre outwards over what is shown.
void TWinAnim::Reveal(const QImage& picture, Clock::time_point until)
{
    const int width = picture.width();
    const int height = picture.height();
    QRect rect(width / 2 - 50, height / 2 - 20, 100, 60);
    while (Before(until)) {
        QPainter(&Canvas->Picture).drawImage(rect.topLeft(), picture, rect);
        Refresh(rect);
        if (rect.left() <= 0 && rect.top() <= 0 && rect.right() >= width - 1 && rect.bottom() >= height - 1)
            break;
        rect.adjust(-5, -5, 5, 5);
        if (rect.left() < 0 || rect.right() >= width)
            rect.setLeft(0), rect.setRight(width - 1);
        if (rect.top() < 0 || rect.bottom() >= height)
            rect.setTop(0), rect.setBottom(height - 1);
        Wait(1);
    }
}

void TWinAnim::Scribble(const TWinShow& show)
{
    platform::Trace(" Scribble.");
    Music();
    const auto until = Clock::now() + (show.OpenGame ? 7s : 2s);
    if (Before(until))
        ShowCanvas();
    const int width = Canvas->Picture.width();
    const int height = Canvas->Picture.height();
    while (Before(until)) {
        // Lines come in small batches so the window keeps up between them.
        QPainter painter(&Canvas->Picture);
        for (int i = 0; i < 8; ++i) {
            painter.setPen(QPen(QColor(RandomBelow(255), RandomBelow(255), RandomBelow(255)), 1));
            painter.drawLine(RandomBelow(width), RandomBelow(height), RandomBelow(width), RandomBelow(height));
        }
        painter.end();
        Canvas->update();
        Wait(1);
    }
    RestoreTable();
}

void TWinAnim::Stars(const TWinShow& show)
{
    platform::Trace(" I See Stars started.");
    if (show.OpenGame) {
        platform::Trace(" Full Stars started.");
        Cue("Crystal_Whoosh_01.wav", pmLoop);
        // The stars fly over the table as the shake left it.
        if (!Over()) {
            ShowCanvas();
            Starfield.Initialise(Canvas->Picture.width(), Canvas->Picture.height());
        }
        platform::Trace(" Stars initialised and started.");
        const auto start = Clock::now();
        StarFrames(start + 17s, false);
        platform::Trace(" Sound ufo.");
        Host.SoundStop("Crystal_Whoosh_01.wav", false);
        Cue("ufo_x.wav", pmAsync);
        platform::Trace(" Stars to whiteout.");
        StarFrames(start + 22s, true);
        platform::Trace(" Stars finished.");
    }
    CardFill(show);
}

bool TWinAnim::StarFrames(Clock::time_point until, bool whiteout)
{
    while (Before(until)) {
        Starfield.Step(Canvas->Picture, !whiteout);
        for (const QRect& rect : Starfield.Changed())
            Canvas->update(rect);
        Wait(1);
    }
    return !Over();
}

void TWinAnim::CardFill(const TWinShow& show)
{
    platform::Trace(" Card fill started.");
    Cue("beepspac.wav", pmLoop);
    if (!Over())
        ShowCanvas();
    for (int value = 1; value <= 13 && !Over(); ++value) {
        for (int suit = 0; suit < 4 && !Over(); ++suit) {
            const std::optional<QImage> face = CardFace(show.CardSetFolder, value, suit);
            if (face) {
                QPainter painter(&Canvas->Picture);
                const int stepX = std::max(1, face->width() / 2);
                const int stepY = std::max(1, face->height());
                const QPoint origin = TableOrigin();
                for (int y = origin.y(); y < Canvas->Picture.height(); y += stepY)
                    for (int x = origin.x(); x < Canvas->Picture.width(); x += stepX)
                        painter.drawImage(QPoint(x, y), *face);
                painter.end();
                Canvas->update();
            }
            Wait(100);
        }
    }
    platform::Trace(" Card fill ended.");
    Host.SoundStop("beepspac.wav", false);
    Cue("thunder_x.wav", pmSync);
    RestoreTable();
}
