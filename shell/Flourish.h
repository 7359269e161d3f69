#pragma once

#include "shell/ShowRandom.h"

#include <QObject>
#include <QRect>

#include <vector>

class QTimer;
class TCardTable;
class TSpotView;

// The short burst of light spots drawn round a foundation when a card lands
// on it. Each step takes the table's current pixels of the area afresh and
// sprinkles spots over them, so cards that move meanwhile show through; the
// table itself is never drawn on, and the burst vanishes without a trace.
class TFlourish : public QObject {
    Q_OBJECT

public:
    explicit TFlourish(TCardTable* table);
    ~TFlourish() override;

    // Starts a burst over `area` (table pixels); nothing while disabled or
    // while the table is not drawing. A burst under way is cut short first.
    void Start(const QRect& area);
    // Disabling cuts a running burst short; undo and loading use a
    // false-then-true pair for that.
    void SetEnabled(bool enabled);
    bool Enabled() const { return Enabled_; }
    bool Running() const { return Running_; }

    // Each ignores values of 0 or below.
    void SetInterval(int milliseconds);
    void SetSteps(int steps);
    void SetSpots(int spots);
    void SetMaxRadius(int radius);
    // A colour given the Windows way, 0x00BBGGRR.
    void SetColour(unsigned colour) { Colour = colour; }
    unsigned ColourValue() const { return Colour; }
    int Interval() const { return Interval_; }
    int Steps() const { return Steps_; }
    int Spots() const { return Spots_; }
    int MaxRadius() const { return MaxRadius_; }
    int StepCount() const { return StepCount_; }
    QRect Area() const { return Rect; }

    // One timer step; public so that tests can drive a burst.
    void Step();

signals:
    void Finished();

private:
    friend class TSpotView;
    struct TSpot {
        int X;
        int Y;
        int Radius;
    };

    void Finish();
    int RandomBelow(int n);
    // The table's pixels of the area as they are now, with this step's spots.
    QImage Compose() const;

    TCardTable* Table;
    TSpotView* View;
    std::vector<TSpot> SpotsShown;
    QTimer* Timer;
    // The spots' own generator: a burst must not disturb the deals' sequence.
    TShowRandom Random;
    QRect Rect;
    int Interval_ = 100;
    int Steps_ = 10;
    int Spots_ = 3;
    int MaxRadius_ = 20;
    int StepCount_ = 0;
    unsigned Colour = 0x00FFFF;
    bool Enabled_ = true;
    bool Running_ = false;
};
