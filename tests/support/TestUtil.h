#pragma once

#include <QCoroTask>
#include <QEventLoop>
#include <QTimer>
#include <QtTest>
#include <exception>
#include <optional>

namespace vornel::test {

// Runs a task on this thread's event loop until it ends, failing the test
// after timeoutMs. Exceptions thrown by the task are rethrown here.
template <typename T> T await(QCoro::Task<T>&& task, int timeoutMs = 20000)
{
    QEventLoop loop;
    std::optional<T> result;
    std::exception_ptr error;
    bool done = false;
    auto wrapper = [](QCoro::Task<T> t, std::optional<T>& out, std::exception_ptr& err,
                      bool& finished, QEventLoop& l) -> QCoro::Task<> {
        try {
            out.emplace(co_await std::move(t));
        } catch (...) {
            err = std::current_exception();
        }
        finished = true;
        l.quit();
    };
    auto running = wrapper(std::move(task), result, error, done, loop);
    QTimer::singleShot(timeoutMs, &loop, &QEventLoop::quit);
    if (!done)
        loop.exec();
    if (!done)
        qFatal("task did not finish within %d ms", timeoutMs);
    if (error)
        std::rethrow_exception(error);
    return std::move(*result);
}

inline void await(QCoro::Task<>&& task, int timeoutMs = 20000)
{
    auto wrap = [](QCoro::Task<> t) -> QCoro::Task<bool> {
        co_await std::move(t);
        co_return true;
    };
    await(wrap(std::move(task)), timeoutMs);
}

// The description of the error a task throws, or "no error".
template <typename T> QString errorOf(QCoro::Task<T>&& task, int timeoutMs = 20000)
{
    try {
        await(std::move(task), timeoutMs);
    } catch (const std::exception& e) {
        return QString::fromUtf8(e.what());
    }
    return QStringLiteral("no error");
}

} // namespace vornel::test
