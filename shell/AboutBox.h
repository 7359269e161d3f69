#pragma once

#include "shell/Starfield.h"

#include <QDialog>
#include <QImage>
#include <QString>
#include <QStringList>

class QPushButton;
class QTimer;
class TMarquee;

// The about box: a black box where stars fly out of the middle leaving
// trails, while the program's name, version and a few lines of verse scroll
// up over them.
class TAboutBox : public QDialog {
    Q_OBJECT

public:
    static constexpr int ClientWidth = 278;
    static constexpr int ClientHeight = 299;
    static constexpr int FrameInterval = 20; // milliseconds per star-field frame

    TAboutBox(const QString& caption, const QString& versionText, int number, QWidget* owner = nullptr);
    ~TAboutBox() override;

    // The lines the marquee scrolls.
    static QStringList Lines(const QString& caption, const QString& versionText, int number);

    // One star-field frame; the box's timer calls it, tests may too.
    void Frame();

    TMarquee* Marquee() const { return Marquee_; }
    QPushButton* OkButton() const { return OkButton_; }
    const QImage& Surface() const { return Surface_; }
    const TStarfield& Field() const { return Field_; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    TMarquee* Marquee_ = nullptr;
    QPushButton* OkButton_ = nullptr;
    QTimer* FrameTimer = nullptr;
    QImage Surface_;
    QImage Text;
    TStarfield Field_;
};
