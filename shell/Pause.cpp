#include "shell/Pause.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>

#include <chrono>
#include <thread>

namespace {

constexpr int PollMilliseconds = 5;

} // namespace

void PauseUntil(int milliseconds, const std::function<bool()>& done, bool withInput)
{
    const auto finished = [&done] { return done && done(); };
    if (milliseconds <= 0 || finished())
        return;
    if (QCoreApplication::instance() == nullptr) {
        const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
        while (!finished() && std::chrono::steady_clock::now() < until)
            std::this_thread::sleep_for(std::chrono::milliseconds(PollMilliseconds));
        return;
    }
    QEventLoop loop;
    QTimer deadline;
    deadline.setSingleShot(true);
    deadline.setTimerType(Qt::PreciseTimer);
    QObject::connect(&deadline, &QTimer::timeout, &loop, &QEventLoop::quit);
    QTimer poll;
    if (done) {
        QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
            if (finished())
                loop.quit();
        });
        poll.start(PollMilliseconds);
    }
    deadline.start(milliseconds);
    loop.exec(withInput ? QEventLoop::AllEvents : QEventLoop::ExcludeUserInputEvents);
}

void SleepFor(int milliseconds)
{
    if (milliseconds > 0)
        std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}
