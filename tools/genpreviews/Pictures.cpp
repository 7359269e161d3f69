#include "Pictures.h"

#include <QFont>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

#include <algorithm>

namespace {

const QString ProgramName = QStringLiteral("Tessalyn.");

QPainterPath NamePath(const QRect& frame, int pixelSize, const char* family)
{
    QFont font(QString::fromLatin1(family));
    font.setPixelSize(pixelSize);
    font.setBold(true);
    font.setItalic(true);
    QPainterPath path;
    path.addText(0, 0, font, ProgramName);
    const QRectF bounds = path.boundingRect();
    path.translate(frame.center().x() - bounds.center().x(), frame.center().y() - bounds.center().y());
    return path;
}

// Gold lettering with a soft dark shadow on green baize.
void DrawBaizeLook(QPainter& painter, const QRect& frame)
{
    QRadialGradient baize(frame.center(), frame.width() * 0.6);
    baize.setColorAt(0.0, QColor(30, 120, 60));
    baize.setColorAt(1.0, QColor(8, 52, 24));
    painter.fillRect(frame, baize);
    painter.setPen(QPen(QColor(200, 170, 80), 3));
    painter.drawRect(frame.adjusted(5, 5, -6, -6));

    const QPainterPath name = NamePath(frame, 74, "DejaVu Serif");
    painter.setPen(Qt::NoPen);
    for (int blur = 6; blur >= 1; --blur) {
        painter.setBrush(QColor(0, 0, 0, 28));
        painter.drawPath(name.translated(blur, blur));
    }
    QLinearGradient gold(0, frame.top() + 30, 0, frame.bottom() - 30);
    gold.setColorAt(0.0, QColor(255, 240, 170));
    gold.setColorAt(0.5, QColor(225, 170, 40));
    gold.setColorAt(1.0, QColor(150, 95, 20));
    painter.setBrush(gold);
    painter.setPen(QPen(QColor(90, 55, 10), 1.5));
    painter.drawPath(name);
}

// Silver outlined lettering over a deep blue sky with a few fixed stars.
void DrawNightLook(QPainter& painter, const QRect& frame)
{
    QLinearGradient sky(frame.topLeft(), frame.bottomLeft());
    sky.setColorAt(0.0, QColor(4, 6, 30));
    sky.setColorAt(1.0, QColor(20, 30, 90));
    painter.fillRect(frame, sky);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(255, 255, 255, 200));
    // A fixed scatter: the same sky on every build.
    unsigned step = 12345;
    for (int i = 0; i < 60; ++i) {
        step = step * 1103515245u + 12345u;
        const int x = frame.left() + int((step >> 8) % unsigned(frame.width()));
        step = step * 1103515245u + 12345u;
        const int y = frame.top() + int((step >> 8) % unsigned(frame.height()));
        const double r = (i % 7 == 0) ? 1.6 : 0.8;
        painter.drawEllipse(QPointF(x, y), r, r);
    }
    const QPainterPath name = NamePath(frame, 70, "DejaVu Sans");
    QLinearGradient silver(0, frame.top() + 30, 0, frame.bottom() - 30);
    silver.setColorAt(0.0, QColor(255, 255, 255));
    silver.setColorAt(0.6, QColor(170, 190, 230));
    silver.setColorAt(1.0, QColor(110, 130, 190));
    painter.setBrush(silver);
    painter.setPen(QPen(QColor(80, 160, 255), 3));
    painter.drawPath(name);
}

} // namespace

QImage TitleStrip()
{
    QImage strip(2 * TitleFrameWidth, TitleFrameHeight, QImage::Format_RGB32);
    QPainter painter(&strip);
    painter.setRenderHint(QPainter::Antialiasing);
    DrawBaizeLook(painter, QRect(0, 0, TitleFrameWidth, TitleFrameHeight));
    DrawNightLook(painter, QRect(TitleFrameWidth, 0, TitleFrameWidth, TitleFrameHeight));
    return strip;
}

QImage Backdrop()
{
    constexpr int Width = 800;
    constexpr int Height = 600;
    QImage picture(Width, Height, QImage::Format_RGB32);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    QRadialGradient felt(QPointF(Width * 0.4, Height * 0.35), Width * 0.8);
    felt.setColorAt(0.0, QColor(46, 110, 78));
    felt.setColorAt(1.0, QColor(14, 48, 34));
    painter.fillRect(picture.rect(), felt);
    // Faint suit signs in a lattice, as if woven into the cloth.
    const QString suits = QStringLiteral("\u2663\u2666\u2665\u2660");
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(28);
    painter.setFont(font);
    painter.setPen(QColor(255, 255, 255, 14));
    for (int row = 0; row * 60 < Height + 60; ++row)
        for (int column = 0; column * 60 < Width + 60; ++column) {
            const int x = column * 60 + (row % 2) * 30;
            painter.drawText(QPoint(x, row * 60), suits.at((row + column) % 4));
        }
    return picture;
}

QImage PreviewFromTable(const QImage& table)
{
    // Whatever differs from the cloth in the far corner is the game.
    const QRgb cloth = table.pixel(table.width() - 1, table.height() - 1);
    int left = table.width();
    int top = table.height();
    int right = -1;
    int bottom = -1;
    for (int y = 0; y < table.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(table.constScanLine(y));
        for (int x = 0; x < table.width(); ++x) {
            if ((line[x] & 0xFFFFFFu) == (cloth & 0xFFFFFFu))
                continue;
            left = std::min(left, x);
            right = std::max(right, x);
            top = std::min(top, y);
            bottom = std::max(bottom, y);
        }
    }
    QRect used = right < 0 ? table.rect() : QRect(QPoint(left, top), QPoint(right, bottom));
    used.adjust(-12, -12, 12, 12);
    // Widen the short side so the cut has the preview's proportions.
    if (used.width() * PreviewHeight < used.height() * PreviewWidth) {
        const int width = used.height() * PreviewWidth / PreviewHeight;
        used.adjust(-(width - used.width()) / 2, 0, (width - used.width() + 1) / 2, 0);
    } else {
        const int height = used.width() * PreviewHeight / PreviewWidth;
        used.adjust(0, -(height - used.height()) / 2, 0, (height - used.height() + 1) / 2);
    }
    QImage cut(used.size(), QImage::Format_RGB32);
    cut.fill(cloth);
    {
        QPainter painter(&cut);
        painter.drawImage(QPoint(0, 0), table, used);
    }
    return cut.scaled(PreviewWidth, PreviewHeight, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}
