#include "platform/Download.h"

#include "generation/service/ServiceError.h"
#include "platform/Logging.h"

#include <QCoroNetworkReply>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QTimer>
#include <memory>

namespace vornel {

bool isDownloadableAddress(const QUrl& url)
{
    const QString scheme = url.scheme().toLower();
    return url.isValid() && (scheme == u"http" || scheme == u"https") && !url.host().isEmpty();
}

QCoro::Task<QByteArray> downloadBytes(QUrl url, DownloadLimits limits)
{
    if (!isDownloadableAddress(url))
        throw TransportError(
            QStringLiteral("Refused to download an address that is not http or https."));

    QNetworkAccessManager network;
    // The portrait host is not the service: no token goes there, and a
    // redirect may only stay on http(s).
    network.setRedirectPolicy(QNetworkRequest::NoLessSafeRedirectPolicy);
    QNetworkRequest request(url);
    request.setTransferTimeout(int(limits.timeout.count()));
    std::unique_ptr<QNetworkReply> reply(network.get(request));
    QNetworkReply* raw = reply.get();

    QByteArray received;
    bool tooLarge = false;
    auto checkSize = [&] {
        const QVariant length = raw->header(QNetworkRequest::ContentLengthHeader);
        if (length.isValid() && length.toLongLong() > limits.maximumBytes)
            tooLarge = true;
        if (received.size() + raw->bytesAvailable() > limits.maximumBytes)
            tooLarge = true;
        if (tooLarge)
            raw->abort();
        else
            received.append(raw->readAll());
    };
    QObject::connect(raw, &QNetworkReply::metaDataChanged, raw, checkSize);
    QObject::connect(raw, &QNetworkReply::readyRead, raw, checkSize);
    // setTransferTimeout only counts idle time; a slow trickle must end too.
    bool timedOut = false;
    QTimer overall;
    overall.setSingleShot(true);
    QObject::connect(&overall, &QTimer::timeout, raw, [&] {
        timedOut = true;
        raw->abort();
    });
    overall.start(limits.timeout);

    if (!raw->isFinished())
        co_await qCoro(raw).waitForFinished();
    overall.stop();
    if (!tooLarge && !timedOut)
        checkSize();

    if (tooLarge)
        throw TransportError(
            QStringLiteral("The download is larger than %1 bytes.").arg(limits.maximumBytes));
    if (timedOut)
        throw TransportError(QStringLiteral("The download took longer than %1 seconds.")
                                 .arg(limits.timeout.count() / 1000));
    if (raw->error() != QNetworkReply::NoError)
        throw TransportError(raw->errorString());
    const int status = raw->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    if (status < 200 || status > 299)
        throw TransportError(
            QStringLiteral("The download answered with HTTP status %1.").arg(status));
    co_return received;
}

namespace {

// QCoro::waitFor() never returns from a task that throws, so failures are
// caught inside the awaited coroutine.
QCoro::Task<std::optional<QByteArray>> downloadCatching(QUrl url, DownloadLimits limits,
                                                        QString* error)
{
    try {
        co_return co_await downloadBytes(std::move(url), limits);
    } catch (const Error& e) {
        if (error)
            *error = e.description();
    } catch (const std::exception& e) {
        if (error)
            *error = QString::fromUtf8(e.what());
    }
    co_return std::nullopt;
}

} // namespace

std::optional<QByteArray> downloadBytesBlocking(const QUrl& url, DownloadLimits limits,
                                                QString* error)
{
    return QCoro::waitFor(downloadCatching(url, limits, error));
}

} // namespace vornel
