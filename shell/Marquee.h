#pragma once

#include <QElapsedTimer>
#include <QImage>
#include <QStringList>
#include <QWidget>

#include <functional>

class QTimer;

enum TJustification { tjCenter, tjLeft, tjRight };

// A strip of text lines scrolling by one pixel per tick. Switching it on
// draws all lines once into a picture with one control height of empty
// space above and below; each tick then shows that picture one pixel
// further on, until the last line has left the strip and the run ends.
class TMarquee : public QWidget {
    Q_OBJECT

public:
    static constexpr int TickInterval = 50; // milliseconds per pixel

    explicit TMarquee(QWidget* parent = nullptr);
    ~TMarquee() override;

    QStringList Items;
    bool ScrollDown = false;
    TJustification Justify = tjCenter;
    // Raised when a run ends (also when it is switched off by the program).
    std::function<void()> OnDone;

    bool Active() const { return Active_; }
    // On only with lines to show; off raises OnDone.
    void SetActive(bool active);

    // A paused run keeps its place and stands still until it goes on.
    void SetPaused(bool paused);
    bool Paused() const { return Paused_; }

    // Text height + internal leading + 5 pixels of the current font.
    int LineHeight() const;
    int Offset() const { return Offset_; }

    // One timer step; public so a caller without an event loop can drive it.
    void Tick();

    // An owner that repaints often anyway may step the run itself, so that
    // both repaint in one pass: the strip's timer then stays off and Step()
    // ticks once for every interval passed since the last tick.
    void SetDriven(bool driven);
    void Step();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void SwitchOn();
    void RunTimer();
    void SwitchOff();
    QImage DrawLines(int lineHeight) const;
    int AlignmentFlag() const;

    bool Active_ = false;
    bool Paused_ = false;
    bool Driven_ = false;
    QElapsedTimer Since; // for a driven run: since the run (re)started
    qint64 Due = 0;      // when the next driven tick is due
    int Offset_ = 0;
    int LineHeight_ = 0;
    QImage Content;
    QTimer* Timer = nullptr;
};
