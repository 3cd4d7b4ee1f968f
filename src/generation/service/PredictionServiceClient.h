#pragma once

#include "generation/service/JsonValue.h"
#include "generation/service/Records.h"
#include "generation/service/WaitPolicy.h"

#include <QCoroTask>
#include <QNetworkRequest>
#include <QString>
#include <chrono>
#include <functional>
#include <memory>
#include <optional>

class QNetworkAccessManager;

namespace vornel {

// Speaks the prediction service's HTTP API. A client is cheap: the app makes
// one per generation and one per cancel request. Every operation runs on the
// event loop of the thread that created the client and never blocks it.
// Failures are thrown: ServiceError, TransportError, DecodingError,
// CancellationError.
class PredictionServiceClient {
public:
    enum class Method { get, post };

    struct Webhook {
        QString address;
        QStringList eventsFilter; // "start", "output", "logs", "completed"
    };

    // Largest response body read; a larger one fails the request.
    static constexpr qint64 maximumBodyBytes = 32 * 1024 * 1024;
    static constexpr std::chrono::milliseconds requestTimeout{60'000};

    PredictionServiceClient(QString baseAddress, QString token,
                            std::optional<QString> userAgent = std::nullopt,
                            WaitPolicy policy = WaitPolicy());
    ~PredictionServiceClient();
    PredictionServiceClient(const PredictionServiceClient&) = delete;
    PredictionServiceClient& operator=(const PredictionServiceClient&) = delete;

    const QString& baseAddress() const { return m_baseAddress; }
    const WaitPolicy& waitPolicy() const { return m_policy; }

    // Told of every record a poll fetched (for progress display).
    void setPollObserver(std::function<void(const PredictionRecord&)> observer)
    {
        m_pollObserver = std::move(observer);
    }

    QCoro::Task<ModelRecord> fetchModel(QString identifier);
    QCoro::Task<PredictionRecord> submitPrediction(QString version, JsonObject input,
                                                   std::optional<Webhook> webhook, bool wait);
    QCoro::Task<PredictionRecord> fetchPrediction(QString identifier);
    QCoro::Task<PredictionRecord> requestCancel(QString identifier);

    // Polls until the prediction's status is terminal. Throws
    // CancellationError when the poll limit or the deadline ends the wait.
    QCoro::Task<PredictionRecord> awaitCompletion(PredictionRecord record);

    // Builds the request for one call; throws ServiceError "invalid request
    // <method> <path>" when the address does not parse.
    QNetworkRequest buildRequest(Method method, const QString& path, bool hasBody) const;

    // The submit body as sent: compact JSON with "version" and "input".
    static QByteArray submitBody(const QString& version, const JsonObject& input,
                                 const std::optional<Webhook>& webhook);

private:
    // Sends one request and returns the body of a 2xx answer; any other answer
    // or failure is thrown. With a deadline, the request is aborted at that
    // instant and CancellationError is thrown.
    QCoro::Task<QByteArray> send(Method method, QString path, std::optional<QByteArray> body,
                                 std::optional<MonotonicClock::time_point> deadline = {});

    QCoro::Task<PredictionRecord>
    fetchPredictionBefore(QString identifier, std::optional<MonotonicClock::time_point> deadline);

    QString m_baseAddress;
    QString m_token;
    std::optional<QString> m_userAgent;
    WaitPolicy m_policy;
    std::function<void(const PredictionRecord&)> m_pollObserver;
    std::unique_ptr<QNetworkAccessManager> m_network;
};

} // namespace vornel
