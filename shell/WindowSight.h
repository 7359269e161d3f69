#pragma once

#include <QAbstractNativeEventFilter>
#include <QObject>
#include <QPointer>
#include <QWidget>

#include <functional>

class QWindow;

// Whether anybody can see a top-level window: it must be shown, not
// minimised, mapped, and not lying wholly under other windows. Animations
// that nobody sees then stand still instead of costing processor time.
// Qt tells the first three; the last the X server tells when asked.
class TWindowSight : public QObject, public QAbstractNativeEventFilter {
public:
    explicit TWindowSight(QWidget& window);
    ~TWindowSight() override;

    bool Seen() const;
    // Called whenever Seen() changes.
    std::function<void(bool seen)> OnChange;

    bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr* result) override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Watch();
    void AskForCoverNews();
    void Recheck();

    QPointer<QWidget> Window;
    QPointer<QWindow> Handle;
    unsigned NativeId = 0;
    bool Covered = false;
    bool LastSeen = false;
};
