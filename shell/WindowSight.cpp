#include "shell/WindowSight.h"

#include <QCoreApplication>
#include <QEvent>
#include <QGuiApplication>
#include <QWindow>
#include <QtGui/qguiapplication_platform.h>

#include <xcb/xcb.h>

#include <cstdlib>

TWindowSight::TWindowSight(QWidget& window) : QObject(&window), Window(&window)
{
    window.installEventFilter(this);
    QCoreApplication::instance()->installNativeEventFilter(this);
    Watch();
    LastSeen = Seen();
}

TWindowSight::~TWindowSight()
{
    if (QCoreApplication::instance() != nullptr)
        QCoreApplication::instance()->removeNativeEventFilter(this);
}

bool TWindowSight::Seen() const
{
    return Window != nullptr && Window->isVisible() && !Window->isMinimized() && Handle != nullptr
        && Handle->isExposed() && !Covered;
}

// The native window comes and goes with showing; each new one is watched.
void TWindowSight::Watch()
{
    QWindow* handle = Window != nullptr ? Window->windowHandle() : nullptr;
    if (handle == Handle)
        return;
    if (Handle != nullptr)
        Handle->removeEventFilter(this);
    Handle = handle;
    Covered = false;
    NativeId = 0;
    if (Handle == nullptr)
        return;
    Handle->installEventFilter(this);
    AskForCoverNews();
}

// Qt does not ask the X server to tell when a window lies wholly under
// others; the window's event mask gets that one more bit, keeping Qt's.
void TWindowSight::AskForCoverNews()
{
    if (QGuiApplication::platformName() != QLatin1String("xcb"))
        return;
    auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    xcb_connection_t* connection = x11 != nullptr ? x11->connection() : nullptr;
    if (connection == nullptr)
        return;
    NativeId = unsigned(Handle->winId());
    const xcb_get_window_attributes_cookie_t cookie = xcb_get_window_attributes(connection, NativeId);
    xcb_get_window_attributes_reply_t* reply = xcb_get_window_attributes_reply(connection, cookie, nullptr);
    if (reply == nullptr)
        return;
    const uint32_t mask = reply->your_event_mask | XCB_EVENT_MASK_VISIBILITY_CHANGE;
    std::free(reply);
    xcb_change_window_attributes(connection, NativeId, XCB_CW_EVENT_MASK, &mask);
    xcb_flush(connection);
}

bool TWindowSight::nativeEventFilter(const QByteArray& eventType, void* message, qintptr*)
{
    if (NativeId == 0 || eventType != "xcb_generic_event_t")
        return false;
    const auto* event = static_cast<const xcb_generic_event_t*>(message);
    if ((event->response_type & 0x7F) != XCB_VISIBILITY_NOTIFY)
        return false;
    const auto* visibility = static_cast<const xcb_visibility_notify_event_t*>(message);
    if (visibility->window != NativeId)
        return false;
    Covered = visibility->state == XCB_VISIBILITY_FULLY_OBSCURED;
    Recheck();
    return false;
}

bool TWindowSight::eventFilter(QObject* watched, QEvent* event)
{
    switch (event->type()) {
    case QEvent::Show:
    case QEvent::Hide:
    case QEvent::WindowStateChange:
    case QEvent::Expose:
    case QEvent::PlatformSurface:
        if (watched == Window)
            Watch();
        Recheck();
        break;
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}

void TWindowSight::Recheck()
{
    const bool seen = Seen();
    if (seen == LastSeen)
        return;
    LastSeen = seen;
    if (OnChange)
        OnChange(seen);
}
