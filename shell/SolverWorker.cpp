#include "shell/SolverWorker.h"

#include <QCoreApplication>
#include <QEvent>

#include <sys/resource.h>
#include <unistd.h>

namespace {

// The search is the least urgent thing on the machine: the window and the
// drag it draws come first.
void LowerPriority() { setpriority(PRIO_PROCESS, static_cast<id_t>(gettid()), 10); }

} // namespace

TSolverWorker::TSolverWorker(QObject* parent) : QObject(parent), Thread([this] { Loop(); }) {}

TSolverWorker::~TSolverWorker()
{
    {
        const std::lock_guard<std::mutex> guard(Lock);
        Stopping = true;
        Waiting.reset();
        if (Running)
            Running->store(true);
    }
    Wake.notify_all();
    Thread.join();
}

void TSolverWorker::Submit(TWork work, TDone done)
{
    const std::uint64_t generation = ++Generation;
    {
        const std::lock_guard<std::mutex> guard(Lock);
        if (Running)
            Running->store(true);
        Waiting = std::make_unique<TJob>(TJob{std::move(work), std::move(done), generation});
    }
    Pending = true;
    Wake.notify_one();
}

void TSolverWorker::Cancel()
{
    ++Generation;
    {
        const std::lock_guard<std::mutex> guard(Lock);
        if (Running)
            Running->store(true);
        Waiting.reset();
    }
    Pending = false;
}

void TSolverWorker::Loop()
{
    LowerPriority();
    for (;;) {
        std::unique_ptr<TJob> job;
        std::shared_ptr<std::atomic<bool>> cancel;
        {
            std::unique_lock<std::mutex> guard(Lock);
            Wake.wait(guard, [this] { return Stopping || Waiting != nullptr; });
            if (Stopping)
                return;
            job = std::move(Waiting);
            cancel = std::make_shared<std::atomic<bool>>(false);
            Running = cancel;
        }
        job->Work(*cancel);
        {
            const std::lock_guard<std::mutex> guard(Lock);
            Running.reset();
        }
        if (cancel->load())
            continue;
        PostFinish(job->Generation, std::move(job->Done));
    }
}

void TSolverWorker::PostFinish(std::uint64_t generation, TDone done)
{
    // The second half goes to the window's thread through Finished, and the
    // event only says "look". The event is posted under Lock and read under
    // Lock: Qt's own queue orders the two threads as well, but with a lock
    // the thread checker cannot see, and everything that crosses over goes
    // through this one it can see. A newer job's half replaces an older one
    // still waiting: the older one would be stale when it arrived.
    const std::lock_guard<std::mutex> guard(Lock);
    Finished = TFinished{generation, std::move(done)};
    QCoreApplication::postEvent(this, new QEvent(FinishedEvent));
}

void TSolverWorker::customEvent(QEvent* event)
{
    std::optional<TFinished> finished;
    {
        const std::lock_guard<std::mutex> guard(Lock);
        if (event->type() != FinishedEvent)
            return;
        finished.swap(Finished);
    }
    if (finished)
        Finish(finished->Generation, finished->Done);
}

void TSolverWorker::Finish(std::uint64_t generation, const TDone& done)
{
    if (generation != Generation.load())
        return;
    Pending = false;
    if (done)
        done();
}
