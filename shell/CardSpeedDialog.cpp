#include "shell/CardSpeedDialog.h"

#include "cardtable/Backdrop.h"
#include "cardtable/CardTable.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

constexpr int ClientWidth = 304;
constexpr int ClientHeight = 452;

constexpr int MovementMin = 1, MovementMax = 128;
constexpr int TurnoverMin = 2, TurnoverMax = 32;

QImage GradientBackground()
{
    QImage image(ClientWidth, ClientHeight, QImage::Format_RGB32);
    TBackdrop gradient;
    gradient.SetNewColorFrom(QColor(100, 100, 150));
    gradient.SetNewColorTo(QColor(200, 200, 250));
    gradient.SetNewType(gsDiagonalLeftRight);
    gradient.PaintTwoColour(image);
    return image;
}

int LabelNumber(const QLabel* label) { return label->text().toInt(); }

QGroupBox* CheckGroup(QWidget* parent, const QString& title, const QString& hint, QCheckBox*& box, const QRect& at)
{
    auto* group = new QGroupBox(title, parent);
    group->setToolTip(hint);
    group->setGeometry(at);
    box = new QCheckBox(QStringLiteral("Enabled"), group);
    box->setToolTip(hint);
    box->move(16, 24);
    return group;
}

} // namespace

TCardSpeedDialog::TCardSpeedDialog(bool fastDisplay, bool slowdown, bool liftOffsetOff, bool turnoverLiftOff,
                                   int modeIndex, int turnoverSpeed, int movementSpeed, QWidget* parent)
    : QDialog(parent,
              Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                  | Qt::WindowCloseButtonHint),
      Background(GradientBackground())
{
    setObjectName(QStringLiteral("Form2"));
    setWindowTitle(QStringLiteral("Card Movement Mode."));
    setFixedSize(ClientWidth, ClientHeight);
    BuildControls();
    MovementSpeedLabel->setText(QString::number(movementSpeed));
    TurnoverSpeedLabel->setText(QString::number(turnoverSpeed));
    SetModeIndex(modeIndex);
    Checks[0]->setChecked(!liftOffsetOff);
    Checks[1]->setChecked(!turnoverLiftOff);
    Checks[2]->setChecked(slowdown);
    Checks[3]->setChecked(fastDisplay);
}

QWidget* TCardSpeedDialog::SpeedRow(const QString& caption, const QString& hint, QLabel*& value, int top,
                                    const std::function<void(bool)>& step)
{
    auto* title = new QLabel(caption, this);
    title->setToolTip(hint);
    title->setGeometry(24, top, 150, 28);
    value = new QLabel(this);
    value->setToolTip(hint);
    value->setAlignment(Qt::AlignCenter);
    value->setFrameShape(QFrame::Panel);
    value->setFrameShadow(QFrame::Sunken);
    value->setAutoFillBackground(true);
    value->setGeometry(180, top, 56, 28);
    auto* upDown = new QWidget(this);
    upDown->setToolTip(hint);
    upDown->setGeometry(238, top, 18, 28);
    auto* layout = new QVBoxLayout(upDown);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    for (const bool up : {true, false}) {
        auto* button = new QToolButton(upDown);
        button->setArrowType(up ? Qt::UpArrow : Qt::DownArrow);
        button->setFixedSize(18, 14);
        button->setAutoRepeat(true);
        button->setObjectName(up ? QStringLiteral("Up") : QStringLiteral("Down"));
        connect(button, &QToolButton::clicked, this, [step, up] { step(up); });
        layout->addWidget(button);
    }
    return upDown;
}

void TCardSpeedDialog::BuildControls()
{
    SpeedRow(QStringLiteral("Movement Speed"), QStringLiteral("Card movement speed."), MovementSpeedLabel, 16,
             [this](bool up) { UpDown1Click(up); })
        ->setObjectName(QStringLiteral("UpDown1"));
    SpeedRow(QStringLiteral("Turnover Speed"), QStringLiteral("The speed at which cards are flipped."),
             TurnoverSpeedLabel, 54, [this](bool up) { UpDown2Click(up); })
        ->setObjectName(QStringLiteral("UpDown2"));
    MovementSpeedLabel->setObjectName(QStringLiteral("MovementSpeedLabel"));
    TurnoverSpeedLabel->setObjectName(QStringLiteral("TurnoverSpeedLabel"));

    auto* radioGroup = new QGroupBox(QStringLiteral("TurnOver Animation Mode"), this);
    radioGroup->setObjectName(QStringLiteral("RadioGroup1"));
    radioGroup->setToolTip(QStringLiteral("Cards are turned over with this animation"));
    radioGroup->setGeometry(0, 96, ClientWidth, 104);
    const std::array<QString, 3> modes{QStringLiteral("Vertical Flip"), QStringLiteral("Horizontal Flip"),
                                       QStringLiteral("No Flip")};
    for (std::size_t i = 0; i < modes.size(); ++i) {
        Modes[i] = new QRadioButton(modes[i], radioGroup);
        Modes[i]->move(24, 24 + int(i) * 24);
    }

    CheckGroup(this, QStringLiteral("Lift Card Offset"), QStringLiteral("Lifts cards offset to the mouse"), Checks[0],
               QRect(0, 208, ClientWidth, 56))
        ->setObjectName(QStringLiteral("GroupBox1"));
    CheckGroup(this, QStringLiteral("TurnOver Lift Card Animation"),
               QStringLiteral("Turned over cards display a shadow"), Checks[1], QRect(0, 270, ClientWidth, 56))
        ->setObjectName(QStringLiteral("GroupBox2"));
    CheckGroup(this, QStringLiteral("Movement Slowdown"), QStringLiteral("Cards slow down at the end of moves"),
               Checks[2], QRect(0, 332, 148, 56))
        ->setObjectName(QStringLiteral("GroupBox3"));
    CheckGroup(this, QStringLiteral("Fast Display Mode"),
               QStringLiteral("The fastest card display speed - can cause display artifacts."), Checks[3],
               QRect(156, 332, 148, 56))
        ->setObjectName(QStringLiteral("GroupBox4"));
    for (std::size_t i = 0; i < Checks.size(); ++i)
        Checks[i]->setObjectName(QStringLiteral("CheckBox%1").arg(i + 1));

    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("BitBtn2"));
    ok->setDefault(true);
    ok->setGeometry(56, 406, 88, 30);
    auto* cancel = new QPushButton(QStringLiteral("Cancel"), this);
    cancel->setObjectName(QStringLiteral("BitBtn1"));
    cancel->setGeometry(160, 406, 88, 30);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}

TCardSpeedDialog* TCardSpeedDialog::ForTable(const TCardTable& table, int& savedTurnoverSpeed, QWidget* parent)
{
    int mode = 2;
    if (table.TurnOverAnimationSpeed() != 0) {
        savedTurnoverSpeed = table.TurnOverAnimationSpeed();
        mode = table.TurnOverAnimationVertical() ? 0 : 1;
    }
    const int turnover = savedTurnoverSpeed == 0 ? TurnoverMin : savedTurnoverSpeed;
    return new TCardSpeedDialog(table.FastMovementMode(), table.SlowMoveRegion(), !table.LiftOffset(),
                                !table.TurnOverAnimationLift(), mode, turnover, table.CardSpeed(), parent);
}

void TCardSpeedDialog::ApplyTo(TCardTable& table, int& savedTurnoverSpeed) const
{
    table.SetCardSpeed(MovementSpeed());
    table.SetTurnOverAnimationSpeed(TurnoverSpeed());
    switch (ModeIndex()) {
    case 0:
        table.SetTurnOverAnimationVertical(true);
        break;
    case 1:
        table.SetTurnOverAnimationVertical(false);
        break;
    default:
        savedTurnoverSpeed = table.TurnOverAnimationSpeed();
        table.SetTurnOverAnimationSpeed(0);
        break;
    }
    table.SetTurnOverAnimationLift(Checks[1]->isChecked());
    table.SetLiftOffset(Checks[0]->isChecked());
    table.SetSlowMoveRegion(Checks[2]->isChecked());
    table.SetFastMovementMode(Checks[3]->isChecked());
}

int TCardSpeedDialog::MovementSpeedUp(int speed)
{
    const int next = speed < 4 ? speed + 1 : speed * 2;
    return next <= MovementMax ? next : speed;
}

int TCardSpeedDialog::MovementSpeedDown(int speed)
{
    const int next = speed < 8 ? speed - 1 : speed / 2;
    return next >= MovementMin ? next : speed;
}

int TCardSpeedDialog::TurnoverSpeedUp(int speed)
{
    const int next = speed < 16 ? speed + 1 : speed * 2;
    return next <= TurnoverMax ? next : speed;
}

int TCardSpeedDialog::TurnoverSpeedDown(int speed)
{
    const int next = speed < 32 ? speed - 1 : speed / 2;
    return next >= TurnoverMin ? next : speed;
}

void TCardSpeedDialog::UpDown1Click(bool up)
{
    const int speed = LabelNumber(MovementSpeedLabel);
    MovementSpeedLabel->setText(QString::number(up ? MovementSpeedUp(speed) : MovementSpeedDown(speed)));
}

void TCardSpeedDialog::UpDown2Click(bool up)
{
    const int speed = LabelNumber(TurnoverSpeedLabel);
    TurnoverSpeedLabel->setText(QString::number(up ? TurnoverSpeedUp(speed) : TurnoverSpeedDown(speed)));
}

int TCardSpeedDialog::MovementSpeed() const { return LabelNumber(MovementSpeedLabel); }
int TCardSpeedDialog::TurnoverSpeed() const { return LabelNumber(TurnoverSpeedLabel); }

int TCardSpeedDialog::ModeIndex() const
{
    for (std::size_t i = 0; i < Modes.size(); ++i)
        if (Modes[i]->isChecked())
            return int(i);
    return 0;
}

void TCardSpeedDialog::SetModeIndex(int index)
{
    if (index >= 0 && index < int(Modes.size()))
        Modes[std::size_t(index)]->setChecked(true);
}

QCheckBox* TCardSpeedDialog::CheckBox(int number) const
{
    return number >= 1 && number <= int(Checks.size()) ? Checks[std::size_t(number - 1)] : nullptr;
}

void TCardSpeedDialog::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.drawImage(0, 0, Background);
}
