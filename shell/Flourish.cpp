#include "shell/Flourish.h"

#include "shell/PictureView.h"

#include "cardtable/CardTable.h"
#include "cardtable/MyGrphx.h"

#include <QCoreApplication>
#include <QTimer>

namespace {

constexpr int SpotIntensity = 80;

QColor FromWindowsColour(unsigned colour)
{
    return QColor(int(colour & 0xFF), int((colour >> 8) & 0xFF), int((colour >> 16) & 0xFF));
}

} // namespace

// The burst's view lies over the table. Whenever the table repaints under it
// (a card dragged or sliding through), the view is repainted too and takes
// the table's fresh pixels, so nothing moving is hidden behind old ones.
class TSpotView : public TPictureView {
public:
    TSpotView(TCardTable* table, const TFlourish& flourish) : TPictureView(table, true), Flourish(flourish) {}

protected:
    void paintEvent(QPaintEvent* event) override
    {
        Picture = Flourish.Compose();
        TPictureView::paintEvent(event);
    }

private:
    const TFlourish& Flourish;
};

TFlourish::TFlourish(TCardTable* table)
    : QObject(table),
      Table(table),
      View(new TSpotView(table, *this)),
      Timer(new QTimer(this))
{
    View->setObjectName(QStringLiteral("FlourishView"));
    connect(Timer, &QTimer::timeout, this, &TFlourish::Step);
}

TFlourish::~TFlourish() = default;

void TFlourish::SetInterval(int milliseconds)
{
    if (milliseconds > 0)
        Interval_ = milliseconds;
}

void TFlourish::SetSteps(int steps)
{
    if (steps > 0)
        Steps_ = steps;
}

void TFlourish::SetSpots(int spots)
{
    if (spots > 0)
        Spots_ = spots;
}

void TFlourish::SetMaxRadius(int radius)
{
    if (radius > 0)
        MaxRadius_ = radius;
}

int TFlourish::RandomBelow(int n) { return Random.Below(n); }

void TFlourish::Start(const QRect& area)
{
    if (!Enabled_)
        return;
    if (Running_) {
        Finish();
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    }
    // Near the table's edge the widened area is cut to what can be seen.
    Rect = area & Table->rect();
    if (!Table->IsDrawing() || Rect.isEmpty())
        return;
    StepCount_ = 0;
    Running_ = true;
    View->setGeometry(Rect);
    Timer->start(Interval_);
}

void TFlourish::Step()
{
    if (!Running_)
        return;
    if (StepCount_ >= Steps_ || !Table->IsDrawing()) {
        Finish();
        return;
    }
    ++StepCount_;
    const QSize size = Rect.size();
    SpotsShown.clear();
    for (int i = 0; i < Spots_; ++i) {
        const int r = 3 + RandomBelow(MaxRadius_);
        // A spot wider than the area still lands inside it as far as it can.
        const int x = r + RandomBelow(std::max(1, size.width() - 2 * r));
        const int y = r + RandomBelow(std::max(1, size.height() - 2 * r));
        SpotsShown.push_back({x, y, r});
    }
    View->Picture = Compose();
    if (!View->isVisible()) {
        View->show();
        View->raise();
    }
    View->update();
}

QImage TFlourish::Compose() const
{
    QImage work = Table->SurfaceImage().copy(Rect);
    const QColor colour = FromWindowsColour(Colour);
    for (const TSpot& spot : SpotsShown)
        RadialBlend(spot.X, spot.Y, work, DistanceTable(spot.Radius), SpotIntensity, colour);
    return work;
}

void TFlourish::Finish()
{
    Timer->stop();
    const bool was = Running_;
    Running_ = false;
    View->hide();
    if (was)
        emit Finished();
}

void TFlourish::SetEnabled(bool enabled)
{
    if (!enabled && Running_)
        Finish();
    Enabled_ = enabled;
}
