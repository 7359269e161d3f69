#include "shell/AboutBox.h"

#include "shell/Marquee.h"

#include <QPainter>
#include <QPushButton>
#include <QTimer>

namespace {

const QColor SkyBlue(166, 202, 240);

} // namespace

QStringList TAboutBox::Lines(const QString& caption, const QString& versionText, int number)
{
    return {caption,
            versionText,
            QStringLiteral("Prog ID: %1").arg(number),
            QString(),
            QStringLiteral("Dealt from a kitchen table"),
            QStringLiteral("Free to play and to share."),
            QStringLiteral("tessalyn.org"),
            QString(),
            QStringLiteral("Four suits of thirteen,"),
            QStringLiteral("shuffled, dealt in rows;"),
            QStringLiteral("Aces climb, Kings fall,"),
            QStringLiteral("patience holds them all."),
            QStringLiteral("Turn the stock and look:"),
            QStringLiteral("some come fast, some slow;"),
            QStringLiteral("and when the last is home"),
            QStringLiteral("the stars begin to glow."),
            QStringLiteral("So gather, shuffle, deal:"),
            QStringLiteral("another game is due.")};
}

TAboutBox::TAboutBox(const QString& caption, const QString& versionText, int number, QWidget* owner)
    : QDialog(owner,
              Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                  | Qt::WindowCloseButtonHint | Qt::WindowStaysOnTopHint),
      Surface_(ClientWidth, ClientHeight, QImage::Format_RGB32)
{
    setWindowTitle(caption);
    setFixedSize(ClientWidth, ClientHeight);
    setAttribute(Qt::WA_OpaquePaintEvent);
    Surface_.fill(Qt::black);

    // The marquee keeps the text and its scrolling; the box draws it over
    // the stars itself, so the stars show between the lines.
    Marquee_ = new TMarquee(this);
    Marquee_->setObjectName(QStringLiteral("Marquee"));
    Marquee_->setGeometry(rect());
    QFont font = Marquee_->font();
    font.setPointSize(12);
    Marquee_->setFont(font);
    QPalette colours = Marquee_->palette();
    colours.setColor(QPalette::Window, Qt::black);
    colours.setColor(QPalette::WindowText, SkyBlue);
    Marquee_->setPalette(colours);
    Marquee_->Items = Lines(caption, versionText, number);
    Marquee_->hide();
    Text = QImage(size(), QImage::Format_RGB32);

    OkButton_ = new QPushButton(QStringLiteral("OK"), this);
    OkButton_->setGeometry(192, 264, 75, 25);
    OkButton_->setDefault(true);
    connect(OkButton_, &QPushButton::clicked, this, &QDialog::accept);

    Field_.Initialise(ClientWidth, ClientHeight);
    Field_.SetRadius((Field_.CentreX() + Field_.CentreY()) / 4);

    FrameTimer = new QTimer(this);
    FrameTimer->setInterval(FrameInterval);
    connect(FrameTimer, &QTimer::timeout, this, &TAboutBox::Frame);
}

TAboutBox::~TAboutBox()
{
    FrameTimer->stop();
    Marquee_->SetActive(false);
}

void TAboutBox::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (parentWidget() != nullptr) {
        const QRect owner = parentWidget()->window()->frameGeometry();
        move(owner.center() - rect().center());
    }
    Marquee_->SetActive(true);
    FrameTimer->start();
}

void TAboutBox::Frame()
{
    // Stars are never erased: each leaves its trail on the black.
    Field_.WhiteoutFrame(Surface_);
    if (!Marquee_->Active())
        Marquee_->SetActive(true);
    update();
}

void TAboutBox::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.drawImage(QPoint(0, 0), Surface_);
    // The text lies on black: "lighten" lets the stars through everywhere
    // but where a letter is brighter.
    Marquee_->render(&Text);
    painter.setCompositionMode(QPainter::CompositionMode_Lighten);
    painter.drawImage(QPoint(0, 0), Text);
}
