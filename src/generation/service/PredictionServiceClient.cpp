#include "generation/service/PredictionServiceClient.h"

#include "platform/Logging.h"

#include <QCoroNetworkReply>
#include <QCoroTimer>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QPointer>
#include <QStringDecoder>
#include <QTimer>

namespace vornel {

namespace {

QString methodName(PredictionServiceClient::Method method)
{
    return method == PredictionServiceClient::Method::get ? QStringLiteral("get")
                                                          : QStringLiteral("post");
}

bool isValidUtf8(const QByteArray& bytes)
{
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString text = decoder(bytes);
    return !decoder.hasError();
}

std::chrono::milliseconds untilInstant(MonotonicClock::time_point instant)
{
    const auto remaining = instant - MonotonicClock::now();
    if (remaining <= MonotonicClock::duration::zero())
        return std::chrono::milliseconds(0);
    return std::chrono::ceil<std::chrono::milliseconds>(remaining);
}

} // namespace

PredictionServiceClient::PredictionServiceClient(QString baseAddress, QString token,
                                                 std::optional<QString> userAgent,
                                                 WaitPolicy policy)
    : m_baseAddress(std::move(baseAddress)), m_token(std::move(token)),
      m_userAgent(std::move(userAgent)), m_policy(policy),
      m_network(std::make_unique<QNetworkAccessManager>())
{
    if (!m_baseAddress.endsWith(u'/'))
        m_baseAddress.append(u'/');
    // Requests carry the token: never follow a redirect to another origin.
    m_network->setRedirectPolicy(QNetworkRequest::SameOriginRedirectPolicy);
}

PredictionServiceClient::~PredictionServiceClient() = default;

QNetworkRequest PredictionServiceClient::buildRequest(Method method, const QString& path,
                                                      bool hasBody) const
{
    const QString text = m_baseAddress + path;
    const QUrl url(text, QUrl::StrictMode);
    if (!url.isValid() || url.isRelative() || url.host().isEmpty())
        throw ServiceError(QStringLiteral("invalid request ") + methodName(method) + u' ' + path);

    QNetworkRequest request(url);
    request.setTransferTimeout(int(requestTimeout.count()));
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute,
                         QNetworkRequest::SameOriginRedirectPolicy);
    if (!m_token.isEmpty())
        request.setRawHeader("Authorization", "Bearer " + m_token.toUtf8());
    request.setRawHeader("Accept", "application/json");
    if (hasBody)
        request.setRawHeader("Content-Type", "application/json");
    if (m_userAgent)
        request.setRawHeader("User-Agent", m_userAgent->toUtf8());
    else
        // Qt would otherwise add a User-Agent of its own.
        request.setHeader(QNetworkRequest::UserAgentHeader, QVariant());
    return request;
}

QByteArray PredictionServiceClient::submitBody(const QString& version, const JsonObject& input,
                                               const std::optional<Webhook>& webhook)
{
    JsonObject top;
    top.insert(QStringLiteral("version"), version);
    if (webhook) {
        top.insert(QStringLiteral("webhook"), webhook->address);
        JsonArray events;
        for (const QString& e : webhook->eventsFilter)
            events.append(e);
        top.insert(QStringLiteral("webhook_events_filter"), events);
    }
    // Maps and byte arrays are shared, not copied, so the images are not
    // duplicated here; the body is sized once and written in one pass.
    top.insert(QStringLiteral("input"), input);
    qsizetype expected = 256;
    for (const JsonValue& v : input) {
        if (const JsonData* d = v.data())
            expected += (d->bytes.size() + 2) / 3 * 4 + 64;
    }
    QByteArray out;
    out.reserve(expected);
    JsonValue(top).appendJsonText(out);
    return out;
}

QCoro::Task<QByteArray>
PredictionServiceClient::send(Method method, QString path, std::optional<QByteArray> body,
                              std::optional<MonotonicClock::time_point> deadline)
{
    const QNetworkRequest request = buildRequest(method, path, body.has_value());

    QNetworkReply* raw = nullptr;
    if (method == Method::get)
        raw = m_network->get(request);
    else if (body)
        raw = m_network->post(request, *body);
    else
        raw = m_network->sendCustomRequest(request, "POST");
    std::unique_ptr<QNetworkReply, void (*)(QNetworkReply*)> reply(
        raw, [](QNetworkReply* r) { r->deleteLater(); });
    body.reset(); // Qt keeps its own copy while sending

    QByteArray received;
    bool tooLarge = false;
    QObject::connect(raw, &QNetworkReply::readyRead, raw, [raw, &received, &tooLarge] {
        if (tooLarge)
            return;
        if (received.size() + raw->bytesAvailable() > maximumBodyBytes) {
            tooLarge = true;
            raw->abort();
            return;
        }
        received.append(raw->readAll());
    });
    // A declared length past the cap fails before any of the body is read.
    QObject::connect(raw, &QNetworkReply::metaDataChanged, raw, [raw, &tooLarge] {
        const QVariant length = raw->header(QNetworkRequest::ContentLengthHeader);
        if (length.isValid() && length.toLongLong() > maximumBodyBytes) {
            tooLarge = true;
            raw->abort();
        }
    });

    bool deadlinePassed = false;
    QTimer deadlineTimer;
    if (deadline) {
        deadlineTimer.setSingleShot(true);
        QObject::connect(&deadlineTimer, &QTimer::timeout, raw, [raw, &deadlinePassed] {
            deadlinePassed = true;
            raw->abort();
        });
        deadlineTimer.start(untilInstant(*deadline));
    }

    if (!raw->isFinished())
        co_await qCoro(raw).waitForFinished();
    deadlineTimer.stop();

    if (deadlinePassed)
        throw CancellationError();
    if (tooLarge)
        throw TransportError(QStringLiteral("The response is larger than %1 MiB.")
                                 .arg(maximumBodyBytes / (1024 * 1024)));
    if (!tooLarge && raw->bytesAvailable() > 0) {
        if (received.size() + raw->bytesAvailable() > maximumBodyBytes)
            throw TransportError(QStringLiteral("The response is larger than %1 MiB.")
                                     .arg(maximumBodyBytes / (1024 * 1024)));
        received.append(raw->readAll());
    }

    const QVariant statusAttribute = raw->attribute(QNetworkRequest::HttpStatusCodeAttribute);
    if (!statusAttribute.isValid()) {
        qCWarning(lcService) << "transport failure for" << methodName(method) << path << ":"
                             << raw->errorString();
        throw TransportError(raw->errorString());
    }
    // A reply cut short (connection reset mid-body, fewer bytes than its
    // Content-Length) is a transport failure even though a status arrived.
    switch (raw->error()) {
    case QNetworkReply::RemoteHostClosedError:
    case QNetworkReply::TimeoutError:
    case QNetworkReply::OperationCanceledError:
    case QNetworkReply::TemporaryNetworkFailureError:
    case QNetworkReply::NetworkSessionFailedError:
    case QNetworkReply::ConnectionRefusedError:
    case QNetworkReply::HostNotFoundError:
    case QNetworkReply::SslHandshakeFailedError:
    case QNetworkReply::ProxyConnectionClosedError:
    case QNetworkReply::UnknownNetworkError:
        throw TransportError(raw->errorString());
    default:
        break;
    }

    // Qt does not always flag a connection that closed before the declared
    // length arrived; a body shorter than its Content-Length is cut short.
    const QVariant declared = raw->header(QNetworkRequest::ContentLengthHeader);
    if (declared.isValid() && raw->rawHeader("Content-Encoding").isEmpty() &&
        received.size() < declared.toLongLong())
        throw TransportError(QStringLiteral("The connection closed after %1 of %2 bytes.")
                                 .arg(received.size())
                                 .arg(declared.toLongLong()));

    const int status = statusAttribute.toInt();
    if (status >= 200 && status <= 299)
        co_return received;

    if (auto detail = decodeErrorBody(received))
        throw ServiceError(*detail);
    const QString reason = raw->attribute(QNetworkRequest::HttpReasonPhraseAttribute).toString();
    QString description = QStringLiteral("HTTP %1 %2 (%3 %4)")
                              .arg(status)
                              .arg(reason, method == Method::get ? u"GET" : u"POST",
                                   raw->url().toString(QUrl::RemoveUserInfo));
    QString detail = QStringLiteral("invalid response: ") + description;
    if (isValidUtf8(received))
        detail += QStringLiteral(" \n ") + QString::fromUtf8(received);
    throw ServiceError(detail);
}

QCoro::Task<ModelRecord> PredictionServiceClient::fetchModel(QString identifier)
{
    const QByteArray body =
        co_await send(Method::get, QStringLiteral("models/") + identifier, std::nullopt);
    co_return decodeBody<ModelRecord>(body);
}

QCoro::Task<PredictionRecord>
PredictionServiceClient::submitPrediction(QString version, JsonObject input,
                                          std::optional<Webhook> webhook, bool wait)
{
    QByteArray body = submitBody(version, input, webhook);
    input = JsonObject(); // the body holds the images now
    const QByteArray answer =
        co_await send(Method::post, QStringLiteral("predictions"), std::move(body));
    PredictionRecord record = decodeBody<PredictionRecord>(answer);
    if (!wait)
        co_return record;
    co_return co_await awaitCompletion(std::move(record));
}

QCoro::Task<PredictionRecord> PredictionServiceClient::fetchPrediction(QString identifier)
{
    co_return co_await fetchPredictionBefore(std::move(identifier), std::nullopt);
}

QCoro::Task<PredictionRecord>
PredictionServiceClient::fetchPredictionBefore(QString identifier,
                                               std::optional<MonotonicClock::time_point> deadline)
{
    const QByteArray body = co_await send(Method::get, QStringLiteral("predictions/") + identifier,
                                          std::nullopt, deadline);
    co_return decodeBody<PredictionRecord>(body);
}

QCoro::Task<PredictionRecord> PredictionServiceClient::requestCancel(QString identifier)
{
    const QByteArray body = co_await send(
        Method::post, QStringLiteral("predictions/") + identifier + QStringLiteral("/cancel"),
        std::nullopt);
    co_return decodeBody<PredictionRecord>(body);
}

QCoro::Task<PredictionRecord> PredictionServiceClient::awaitCompletion(PredictionRecord record)
{
    WaitSchedule schedule(m_policy);
    const auto deadline = schedule.deadlineInstant();
    for (;;) {
        if (isTerminal(record.status))
            co_return record;
        const std::optional<double> delay = schedule.nextDelay();
        if (!delay)
            throw CancellationError();
        // The poll (sleep, then fetch) races the deadline; whichever ends
        // first wins and the other is stopped: a sleep that would outlast the
        // deadline is cut to it, and a fetch still under way at the deadline
        // is aborted.
        const auto delayDuration =
            std::chrono::ceil<std::chrono::milliseconds>(std::chrono::duration<double>(*delay));
        if (deadline) {
            const auto remaining = untilInstant(*deadline);
            if (delayDuration >= remaining) {
                co_await QCoro::sleepFor(remaining);
                throw CancellationError();
            }
        }
        co_await QCoro::sleepFor(delayDuration);
        qCDebug(lcService) << "poll" << schedule.pollsDone() << "of prediction" << record.id;
        record = co_await fetchPredictionBefore(record.id, deadline);
        if (m_pollObserver)
            m_pollObserver(record);
    }
}

} // namespace vornel
