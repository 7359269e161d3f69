#pragma once

#include <QImage>
#include <QRect>
#include <QWidget>

// The hint drawn over the table: the cards to move lifted a little and
// outlined, and the place they go to outlined. It is a widget of its own on
// top of the table, so the table's picture is never touched: hiding it
// leaves the table exactly as it was.
class THintOverlay : public QWidget {
public:
    explicit THintOverlay(QWidget* table);

    // `lifted`: the picture of the cards to move as they lie at `from`.
    void ShowHint(const QRect& from, const QImage& lifted, const QRect& to);
    void HideHint();
    bool Showing() const { return isVisible(); }
    QRect From() const { return FromRect; }
    QRect To() const { return ToRect; }

    static constexpr int LiftBy = 4;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QRect FromRect;
    QRect ToRect;
    QImage Lifted;
};
