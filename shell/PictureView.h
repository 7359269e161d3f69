#pragma once

#include <QImage>
#include <QWidget>

// A child widget that shows one picture over its parent, pixel for pixel.
// Effects draw into Picture and ask for a repaint of what they changed; the
// parent underneath is never touched, so hiding the view restores it.
class TPictureView : public QWidget {
public:
    // A view that mouse clicks pass through (the player keeps playing under it).
    TPictureView(QWidget* parent, bool passClicks);

    QImage Picture;

protected:
    void paintEvent(QPaintEvent* event) override;
};
