#include "shell/PictureView.h"

#include <QPaintEvent>
#include <QPainter>

TPictureView::TPictureView(QWidget* parent, bool passClicks) : QWidget(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAttribute(Qt::WA_NoSystemBackground);
    setAttribute(Qt::WA_TransparentForMouseEvents, passClicks);
    setFocusPolicy(Qt::NoFocus);
    hide();
}

void TPictureView::paintEvent(QPaintEvent* event)
{
    QPainter painter(this);
    for (const QRect& rect : event->region())
        painter.drawImage(rect, Picture, rect);
}
