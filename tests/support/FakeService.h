#pragma once

#include <QByteArray>
#include <QList>
#include <QObject>
#include <QPair>
#include <QTcpServer>
#include <QUrl>
#include <functional>

class QTcpSocket;

namespace vornel::test {

struct RecordedRequest {
    QByteArray method;
    QByteArray path; // request target as sent, e.g. "/v1/models/a/b"
    QList<QPair<QByteArray, QByteArray>> headers;
    QByteArray body;

    // Value of a header by case-insensitive name; empty when absent.
    QByteArray header(const QByteArray& name) const;
    bool hasHeader(const QByteArray& name) const;
};

struct FakeResponse {
    enum class Behaviour {
        normal,
        stall,        // read the request, never answer
        drop,         // close the connection without answering
        resetMidBody, // send headers and half the body, then abort the connection
        shortBody,    // declare the full Content-Length, send half, then close
        trickle,      // send the answer one byte every trickleIntervalMs
    };
    int status = 200;
    QByteArray reason = "OK";
    QList<QPair<QByteArray, QByteArray>> headers;
    QByteArray body;
    Behaviour behaviour = Behaviour::normal;
    int delayMs = 0; // wait before answering
    int trickleIntervalMs = 50;

    void addHeader(const QByteArray& name, const QByteArray& value)
    {
        headers.append(qMakePair(name, value));
    }

    static FakeResponse json(const QByteArray& body, int status = 200);
};

// A small HTTP/1.1 server on a free loopback port, scripted per test by a
// handler, recording every request it receives.
class FakeService : public QObject {
    Q_OBJECT
public:
    using Handler = std::function<FakeResponse(const RecordedRequest&)>;

    explicit FakeService(Handler handler = {}, QObject* parent = nullptr);
    ~FakeService() override;

    void setHandler(Handler handler) { m_handler = std::move(handler); }
    quint16 port() const { return m_server.serverPort(); }
    // "http://127.0.0.1:<port>" + path
    QString url(const QString& path = QString()) const;
    const QList<RecordedRequest>& requests() const { return m_requests; }
    QList<QByteArray> requestLines() const; // "GET /v1/models/a/b"

signals:
    void requestReceived();

private:
    void onConnection();
    void onReadable(QTcpSocket* socket);
    void respond(QTcpSocket* socket, const RecordedRequest& request);

    QTcpServer m_server;
    Handler m_handler;
    QList<RecordedRequest> m_requests;
    QHash<QTcpSocket*, QByteArray> m_buffers;
};

// JSON bodies the service answers with.
QByteArray modelJson(bool withLatestVersion, const QString& versionId = QStringLiteral("v1"));
QByteArray predictionJson(const QString& id, const QString& status,
                          const QByteArray& outputJson = QByteArrayLiteral("null"));

} // namespace vornel::test
