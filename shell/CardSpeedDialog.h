#pragma once

#include <QDialog>
#include <QImage>

#include <array>
#include <functional>

class QCheckBox;
class QLabel;
class QRadioButton;
class TCardTable;

// "Card Movement Mode.": how fast cards slide and turn over and which
// movement effects the table uses. The speeds are shown as text and only
// stepped by the up-down buttons, through the steps below.
class TCardSpeedDialog : public QDialog { // TForm2
public:
    // In this order: fast display mode, movement slowdown, lift offset off,
    // turn-over lift off, animation mode (0 vertical, 1 horizontal, 2 no
    // flip), turn-over speed, movement speed.
    TCardSpeedDialog(bool fastDisplay, bool slowdown, bool liftOffsetOff, bool turnoverLiftOff, int modeIndex,
                     int turnoverSpeed, int movementSpeed, QWidget* parent = nullptr);

    // The dialog for the table's present state. While "No Flip" is in force
    // the table's turn-over speed is 0, so `savedTurnoverSpeed` is offered;
    // otherwise it takes the table's speed.
    static TCardSpeedDialog* ForTable(const TCardTable& table, int& savedTurnoverSpeed, QWidget* parent);
    // OK: the dialog's values go into the table's properties.
    void ApplyTo(TCardTable& table, int& savedTurnoverSpeed) const;

    // The steps: 1, 2, 3, 4, 8 … 128 and 2 … 16, 32; a step past either end
    // keeps the value.
    static int MovementSpeedUp(int speed);
    static int MovementSpeedDown(int speed);
    static int TurnoverSpeedUp(int speed);
    static int TurnoverSpeedDown(int speed);

    void UpDown1Click(bool up);
    void UpDown2Click(bool up);

    int MovementSpeed() const;
    int TurnoverSpeed() const;
    int ModeIndex() const;
    void SetModeIndex(int index);
    QCheckBox* CheckBox(int number) const; // 1 lift offset, 2 turn-over lift, 3 slowdown, 4 fast display

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void BuildControls();
    QWidget* SpeedRow(const QString& caption, const QString& hint, QLabel*& value, int top,
                      const std::function<void(bool)>& step);

    QImage Background;
    QLabel* MovementSpeedLabel = nullptr; // Label3
    QLabel* TurnoverSpeedLabel = nullptr; // Label4
    std::array<QRadioButton*, 3> Modes{};
    std::array<QCheckBox*, 4> Checks{};
};
