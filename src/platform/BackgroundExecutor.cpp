#include "platform/BackgroundExecutor.h"

#include <QCoreApplication>
#include <QMutex>
#include <QPromise>
#include <QThread>
#include <memory>

namespace vornel {

namespace {

struct Worker {
    QThread thread;
    QObject* context = nullptr;

    Worker()
    {
        thread.setObjectName(QStringLiteral("vornel-background"));
        context = new QObject;
        context->moveToThread(&thread);
        QObject::connect(&thread, &QThread::finished, context, &QObject::deleteLater);
        thread.start();
    }
    ~Worker()
    {
        thread.quit();
        thread.wait();
    }
};

QMutex g_mutex;
std::unique_ptr<Worker> g_worker;

QObject* workerContext()
{
    QMutexLocker lock(&g_mutex);
    if (!g_worker) {
        g_worker = std::make_unique<Worker>();
        if (QCoreApplication* app = QCoreApplication::instance())
            QObject::connect(app, &QCoreApplication::aboutToQuit,
                             [] { BackgroundExecutor::shutdown(); });
    }
    return g_worker->context;
}

} // namespace

QFuture<void> BackgroundExecutor::run(Job job)
{
    auto promise = std::make_shared<QPromise<void>>();
    promise->start();
    QFuture<void> future = promise->future();
    QObject* context = workerContext();
    QMetaObject::invokeMethod(context, [context, promise, job = std::move(job)]() mutable {
        QCoro::connect(job(), context, [promise] { promise->finish(); });
    });
    return future;
}

void BackgroundExecutor::shutdown()
{
    std::unique_ptr<Worker> worker;
    {
        QMutexLocker lock(&g_mutex);
        worker = std::move(g_worker);
    }
}

} // namespace vornel
