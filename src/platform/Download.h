#pragma once

#include <QByteArray>
#include <QCoroTask>
#include <QUrl>
#include <chrono>
#include <optional>

namespace vornel {

// A plain GET of a portrait address, bounded in size and time. Only http and
// https addresses are fetched: an address from the service must never make
// the app copy a local file or anything else into the user's pictures.
struct DownloadLimits {
    qint64 maximumBytes = 64 * 1024 * 1024;
    std::chrono::milliseconds timeout{120'000};
};

bool isDownloadableAddress(const QUrl& url);

// Runs on the calling thread's event loop. Throws TransportError when the
// address is refused, the transfer fails, the status is not 2xx, the body is
// larger than the limit or the time runs out.
QCoro::Task<QByteArray> downloadBytes(QUrl url, DownloadLimits limits = {});

// The same, blocking the calling thread (which needs no event loop of its
// own) until it ends. Nothing, with the reason in *error, on failure.
std::optional<QByteArray> downloadBytesBlocking(const QUrl& url, DownloadLimits limits,
                                                QString* error = nullptr);

} // namespace vornel
