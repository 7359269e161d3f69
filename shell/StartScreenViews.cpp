// The start screen's picture boxes and its field of stars.
#include "shell/StartScreen.h"

#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QRegion>

#include <vector>

namespace {

// The squares a frame touched, rounded out to tiles: a few dozen rectangles
// to repaint instead of a thousand, laid out in rows as a region wants them.
QRegion TileRegion(const std::vector<QRect>& squares, QSize area)
{
    constexpr int Tile = 32;
    const int columns = (area.width() + Tile - 1) / Tile;
    const int rows = (area.height() + Tile - 1) / Tile;
    std::vector<char> touched(std::size_t(columns) * std::size_t(rows), 0);
    for (const QRect& square : squares)
        for (int row = square.top() / Tile; row <= square.bottom() / Tile && row < rows; ++row)
            for (int column = square.left() / Tile; column <= square.right() / Tile && column < columns; ++column)
                touched[std::size_t(row * columns + column)] = 1;
    std::vector<QRect> bands;
    for (int row = 0; row < rows; ++row) {
        for (int column = 0; column < columns;) {
            if (touched[std::size_t(row * columns + column)] == 0) {
                ++column;
                continue;
            }
            const int first = column;
            while (column < columns && touched[std::size_t(row * columns + column)] != 0)
                ++column;
            bands.push_back(QRect(first * Tile, row * Tile, (column - first) * Tile, Tile));
        }
    }
    QRegion region;
    if (!bands.empty())
        region.setRects(bands.data(), int(bands.size()));
    return region & QRect(QPoint(0, 0), area);
}

} // namespace

TPictureBox::TPictureBox(QWidget* parent) : QWidget(parent) {}

void TPictureBox::SetPicture(const QImage& picture)
{
    Picture_ = picture;
    update();
}

void TPictureBox::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    if (Picture_.isNull())
        painter.fillRect(rect(), palette().color(QPalette::Window));
    else
        painter.drawImage(rect(), Picture_);
}

void TPictureBox::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton && OnDblClick)
        OnDblClick();
}

// ---------------------------------------------------------------------------

TStarView::TStarView(QWidget* parent) : QWidget(parent) { setAttribute(Qt::WA_OpaquePaintEvent); }

void TStarView::Restart()
{
    Surface_ = QImage(size().expandedTo(QSize(1, 1)), QImage::Format_RGB32);
    Surface_.fill(Qt::black);
    Field_.Initialise(width(), height());
    update();
}

void TStarView::Frame()
{
    if (Surface_.size() != size())
        Restart();
    Field_.NormalFrame(Surface_);
    FrameRegion = TileRegion(Field_.Changed(), Surface_.size());
    if (!FrameRegion.isEmpty())
        update(FrameRegion);
}

void TStarView::paintEvent(QPaintEvent* event)
{
    QPainter painter(this);
    // A paint of just the last frame copies only the squares it touched;
    // anything else (an exposure, frames run together) the whole region.
    if (event->region() == FrameRegion) {
        for (const QRect& square : Field_.Changed())
            painter.drawImage(square.topLeft(), Surface_, square);
        return;
    }
    for (const QRect& rect : event->region())
        painter.drawImage(rect.topLeft(), Surface_, rect);
}

void TStarView::resizeEvent(QResizeEvent*) { Restart(); }
