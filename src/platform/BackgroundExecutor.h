#pragma once

#include <QCoroTask>
#include <QFuture>
#include <functional>

namespace vornel {

// A background thread with its own event loop, where network work that must
// not run on the UI thread (cancel requests) is done. Coroutines started here
// resume here.
class BackgroundExecutor {
public:
    using Job = std::function<QCoro::Task<>()>;

    // Starts the job on the background thread and returns at once. The future
    // finishes when the job's coroutine has ended.
    static QFuture<void> run(Job job);

    // Stops the thread after the jobs it has; called when the app quits.
    static void shutdown();
};

} // namespace vornel
