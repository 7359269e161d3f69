#include "shell/Marquee.h"

#include <QFontInfo>
#include <QFontMetrics>
#include <QPainter>
#include <QTimer>

TMarquee::TMarquee(QWidget* parent) : QWidget(parent), Timer(new QTimer(this))
{
    resize(100, 75);
    Timer->setInterval(TickInterval);
    connect(Timer, &QTimer::timeout, this, &TMarquee::Tick);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

TMarquee::~TMarquee()
{
    // Whoever listens must hear that the run ended, even at destruction.
    SetActive(false);
}

int TMarquee::LineHeight() const
{
    const QFontMetrics metrics(font());
    // The internal leading is the part of the cell above the glyphs' em square.
    const int internalLeading = std::max(0, metrics.height() - QFontInfo(font()).pixelSize());
    return metrics.height() + internalLeading + 5;
}

void TMarquee::SetActive(bool active)
{
    if (active && !Active_ && !Items.isEmpty())
        SwitchOn();
    else if (!active && Active_)
        SwitchOff();
}

void TMarquee::SetPaused(bool paused)
{
    Paused_ = paused;
    RunTimer();
}

void TMarquee::SetDriven(bool driven)
{
    Driven_ = driven;
    RunTimer();
}

// The own timer runs only for an active run that nobody paused or drives.
void TMarquee::RunTimer()
{
    if (Active_ && !Paused_ && !Driven_) {
        if (!Timer->isActive())
            Timer->start();
    } else {
        Timer->stop();
    }
    Since.start();
    Due = TickInterval;
}

void TMarquee::Step()
{
    if (!Active_ || Paused_ || !Driven_)
        return;
    const qint64 now = Since.elapsed();
    // After a long stall the run goes on from here rather than racing to catch up.
    if (now - Due > 4 * TickInterval)
        Due = now;
    while (Active_ && now >= Due) {
        Tick();
        Due += TickInterval;
    }
}

int TMarquee::AlignmentFlag() const
{
    switch (Justify) {
    case tjLeft:
        return Qt::AlignLeft;
    case tjRight:
        return Qt::AlignRight;
    case tjCenter:
        break;
    }
    return Qt::AlignHCenter;
}

QImage TMarquee::DrawLines(int lineHeight) const
{
    const int controlHeight = height();
    QImage content(std::max(1, width()), int(Items.size()) * lineHeight + 2 * controlHeight, QImage::Format_RGB32);
    content.fill(palette().color(backgroundRole()));
    QPainter painter(&content);
    painter.setFont(font());
    painter.setPen(palette().color(foregroundRole()));
    for (int i = 0; i < Items.size(); ++i) {
        const QRect line(0, controlHeight + i * lineHeight, width(), lineHeight);
        painter.drawText(line, AlignmentFlag() | Qt::AlignTop | Qt::TextSingleLine, Items[i]);
    }
    return content;
}

void TMarquee::SwitchOn()
{
    Active_ = true;
    LineHeight_ = LineHeight();
    Content = DrawLines(LineHeight_);
    Offset_ = ScrollDown ? Content.height() - height() : 0;
    RunTimer();
    update();
}

void TMarquee::SwitchOff()
{
    Timer->stop();
    if (OnDone)
        OnDone();
    Active_ = false;
    Content = QImage();
    update();
}

void TMarquee::Tick()
{
    if (!Active_)
        return;
    const bool more = ScrollDown ? Offset_ > 0 : height() + int(Items.size()) * LineHeight_ - 1 >= Offset_;
    if (!more) {
        SwitchOff();
        return;
    }
    Offset_ += ScrollDown ? -1 : 1;
    update();
}

// A run keeps its place when the strip changes size; the lines are drawn
// again for the new width.
void TMarquee::resizeEvent(QResizeEvent*)
{
    if (Active_)
        Content = DrawLines(LineHeight_);
}

void TMarquee::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    if (Active_ && !Content.isNull())
        painter.drawImage(QPoint(0, 0), Content, QRect(0, Offset_, width(), height()));
    else
        painter.fillRect(rect(), palette().color(backgroundRole()));
}
