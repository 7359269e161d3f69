#include "shell/HintOverlay.h"

#include <QPainter>
#include <QPen>

namespace {

const QColor OutlineColour(255, 215, 0);

void Outline(QPainter& painter, const QRect& rect)
{
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(QColor(0, 0, 0, 140), 5));
    painter.drawRoundedRect(rect.adjusted(-3, -3, 3, 3), 5, 5);
    painter.setPen(QPen(OutlineColour, 3));
    painter.drawRoundedRect(rect.adjusted(-3, -3, 3, 3), 5, 5);
}

} // namespace

THintOverlay::THintOverlay(QWidget* table) : QWidget(table)
{
    setObjectName(QStringLiteral("HintOverlay"));
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_NoSystemBackground);
    setAttribute(Qt::WA_TranslucentBackground);
    hide();
}

void THintOverlay::ShowHint(const QRect& from, const QImage& lifted, const QRect& to)
{
    FromRect = from;
    ToRect = to;
    Lifted = lifted;
    setGeometry(parentWidget()->rect());
    show();
    raise();
    update();
}

void THintOverlay::HideHint()
{
    hide();
    Lifted = QImage();
}

void THintOverlay::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    if (!ToRect.isNull())
        Outline(painter, ToRect);
    if (FromRect.isNull())
        return;
    const QRect raised = FromRect.translated(-LiftBy, -LiftBy);
    if (!Lifted.isNull()) {
        // The shadow where the cards lay, then the cards a little higher.
        painter.fillRect(FromRect.translated(2, 2), QColor(0, 0, 0, 90));
        painter.drawImage(raised.topLeft(), Lifted);
    }
    Outline(painter, raised);
}
