#pragma once

#include <cstdint>
#include <functional>

#include <QColor>
#include <QImage>

enum TFillDirection { drLeftRight, drRightLeft, drUpDown, drDownUp };
enum TGradientStyle { gsHorizontal, gsVertical, gsDiagonalLeftRight, gsDiagonalRightLeft };

// Called when a setting that affects the current gradient changes.
using TRefreshEvent = std::function<void()>;

// The table's gradient fill: either 256 bands where chosen channels run from
// 0 to 255 ("band" mode), or a blend between two colours (NewMode).
//
// Setters notify only for settings that matter to the current mode, and
// never when the value does not change: the table repaints on every call.
class TBackdrop {
public:
    void Paint(QImage& target) const;  // fills the whole picture when Enabled

    bool Enabled() const { return Enabled_; }
    bool NewMode() const { return NewMode_; }
    bool ChangeRColour() const { return ChangeR; }
    bool ChangeGColour() const { return ChangeG; }
    bool ChangeBColour() const { return ChangeB; }
    TFillDirection Direction() const { return Direction_; }
    std::uint8_t StartR() const { return StartR_; }
    std::uint8_t StartG() const { return StartG_; }
    std::uint8_t StartB() const { return StartB_; }
    QColor NewColorFrom() const { return From; }
    QColor NewColorTo() const { return To; }
    TGradientStyle NewType() const { return Type; }

    void SetEnabled(bool value);
    void SetNewMode(bool value);
    void SetChangeRColour(bool value);
    void SetChangeGColour(bool value);
    void SetChangeBColour(bool value);
    void SetDirection(TFillDirection value);
    void SetStartR(std::uint8_t value);
    void SetStartG(std::uint8_t value);
    void SetStartB(std::uint8_t value);
    void SetNewColorFrom(QColor value);
    void SetNewColorTo(QColor value);
    void SetNewType(TGradientStyle value);

    TRefreshEvent RefreshEvent;

    // Either gradient on its own, whatever Enabled says.
    void PaintBands(QImage& target) const;
    void PaintTwoColour(QImage& target) const;

private:
    void Notify() const;
    template <typename T> void SetBand(T& field, T value);
    template <typename T> void SetTwoColour(T& field, T value);

    bool Enabled_ = false;
    bool NewMode_ = false;
    bool ChangeR = true, ChangeG = true, ChangeB = true;
    TFillDirection Direction_ = drLeftRight;
    std::uint8_t StartR_ = 0, StartG_ = 0, StartB_ = 0;
    QColor From = Qt::black;
    QColor To = Qt::black;
    TGradientStyle Type = gsHorizontal;
};
