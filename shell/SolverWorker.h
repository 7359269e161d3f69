#pragma once

#include <QEvent>
#include <QObject>

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>

// The one thread the solver runs on. Work is handed over as a function that
// runs there and a function that runs on the window's thread afterwards.
// A new job cancels the one running, and a cancelled or superseded job never
// reaches its second half: whoever reads a result reads the newest. Nothing
// here waits on the window's thread except the destructor, which cancels
// first (the search looks at the flag at every position).
class TSolverWorker : public QObject {
public:
    // Runs on the worker; `cancel` turns true when the job is no longer wanted.
    using TWork = std::function<void(const std::atomic<bool>& cancel)>;
    // Runs on the window's thread once the work is done (and still wanted).
    using TDone = std::function<void()>;

    explicit TSolverWorker(QObject* parent = nullptr);
    ~TSolverWorker() override;
    TSolverWorker(const TSolverWorker&) = delete;
    TSolverWorker& operator=(const TSolverWorker&) = delete;

    // Cancels whatever runs or waits and queues this job.
    void Submit(TWork work, TDone done);
    // Cancels whatever runs or waits.
    void Cancel();
    // True from Submit until the job's second half has run or it was cancelled.
    bool Busy() const { return Pending; }

private:
    struct TJob {
        TWork Work;
        TDone Done;
        std::uint64_t Generation = 0;
    };

    void Loop();
    struct TFinished {
        std::uint64_t Generation = 0;
        TDone Done;
    };
    static constexpr QEvent::Type FinishedEvent = QEvent::User;

    void customEvent(QEvent* event) override;
    void PostFinish(std::uint64_t generation, TDone done);
    void Finish(std::uint64_t generation, const TDone& done);

    std::mutex Lock;
    std::condition_variable Wake;
    std::unique_ptr<TJob> Waiting;              // guarded by Lock
    std::shared_ptr<std::atomic<bool>> Running; // the running job's flag, guarded by Lock
    bool Stopping = false;                      // guarded by Lock
    std::optional<TFinished> Finished;          // a done job's second half, guarded by Lock
    std::atomic<std::uint64_t> Generation{0};
    bool Pending = false; // the window's thread only
    std::thread Thread;   // last: starts once the rest exists
};
