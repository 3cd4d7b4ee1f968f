#include "FakeService.h"

#include <QPointer>
#include <QTcpSocket>
#include <QTimer>

namespace vornel::test {

QByteArray RecordedRequest::header(const QByteArray& name) const
{
    for (const auto& [key, value] : headers) {
        if (key.compare(name, Qt::CaseInsensitive) == 0)
            return value;
    }
    return {};
}

bool RecordedRequest::hasHeader(const QByteArray& name) const
{
    for (const auto& h : headers) {
        if (h.first.compare(name, Qt::CaseInsensitive) == 0)
            return true;
    }
    return false;
}

FakeResponse FakeResponse::json(const QByteArray& body, int status)
{
    FakeResponse r;
    r.status = status;
    r.reason = status == 200 ? "OK" : status == 201 ? "Created" : "Error";
    r.addHeader("Content-Type", "application/json");
    r.body = body;
    return r;
}

FakeService::FakeService(Handler handler, QObject* parent)
    : QObject(parent), m_handler(std::move(handler))
{
    connect(&m_server, &QTcpServer::newConnection, this, &FakeService::onConnection);
    if (!m_server.listen(QHostAddress::LocalHost, 0))
        qFatal("FakeService cannot listen on loopback: %s", qPrintable(m_server.errorString()));
}

FakeService::~FakeService() = default;

QString FakeService::url(const QString& path) const
{
    return QStringLiteral("http://127.0.0.1:%1%2").arg(port()).arg(path);
}

QList<QByteArray> FakeService::requestLines() const
{
    QList<QByteArray> lines;
    for (const RecordedRequest& r : m_requests)
        lines.append(r.method + ' ' + r.path);
    return lines;
}

void FakeService::onConnection()
{
    while (QTcpSocket* socket = m_server.nextPendingConnection()) {
        socket->setParent(this);
        connect(socket, &QTcpSocket::readyRead, this, [this, socket] { onReadable(socket); });
        connect(socket, &QTcpSocket::disconnected, this, [this, socket] {
            m_buffers.remove(socket);
            socket->deleteLater();
        });
    }
}

void FakeService::onReadable(QTcpSocket* socket)
{
    QByteArray& buffer = m_buffers[socket];
    buffer.append(socket->readAll());
    for (;;) {
        const qsizetype end = buffer.indexOf("\r\n\r\n");
        if (end < 0)
            return;
        const QList<QByteArray> lines = buffer.left(end).split('\n');
        RecordedRequest request;
        const QList<QByteArray> first = lines.value(0).trimmed().split(' ');
        request.method = first.value(0);
        request.path = first.value(1);
        qsizetype length = 0;
        for (qsizetype i = 1; i < lines.size(); ++i) {
            const QByteArray line = lines[i].trimmed();
            const qsizetype colon = line.indexOf(':');
            if (colon <= 0)
                continue;
            const QByteArray key = line.left(colon).trimmed();
            const QByteArray value = line.mid(colon + 1).trimmed();
            request.headers.append(qMakePair(key, value));
            if (key.compare("Content-Length", Qt::CaseInsensitive) == 0)
                length = value.toLongLong();
        }
        if (buffer.size() < end + 4 + length)
            return; // wait for the rest of the body
        request.body = buffer.mid(end + 4, length);
        buffer.remove(0, end + 4 + length);
        m_requests.append(request);
        emit requestReceived();
        respond(socket, request);
    }
}

void FakeService::respond(QTcpSocket* socket, const RecordedRequest& request)
{
    FakeResponse response = m_handler ? m_handler(request) : FakeResponse::json("{}", 404);
    QPointer<QTcpSocket> guard(socket);
    auto send = [this, guard, response] {
        if (!guard)
            return;
        QTcpSocket* s = guard.data();
        using B = FakeResponse::Behaviour;
        if (response.behaviour == B::stall)
            return;
        if (response.behaviour == B::drop) {
            s->disconnectFromHost();
            return;
        }
        QByteArray head =
            "HTTP/1.1 " + QByteArray::number(response.status) + ' ' + response.reason + "\r\n";
        bool hasLength = false;
        for (const auto& [k, v] : response.headers) {
            head += k + ": " + v + "\r\n";
            if (k.compare("Content-Length", Qt::CaseInsensitive) == 0)
                hasLength = true;
        }
        if (!hasLength)
            head += "Content-Length: " + QByteArray::number(response.body.size()) + "\r\n";
        head += "\r\n";
        const QByteArray all = head + response.body;
        switch (response.behaviour) {
        case B::resetMidBody:
            s->write(head + response.body.left(response.body.size() / 2));
            s->flush();
            QTimer::singleShot(50, s, [s] { s->abort(); });
            return;
        case B::shortBody:
            s->write(head + response.body.left(response.body.size() / 2));
            s->flush();
            QTimer::singleShot(50, s, [s] { s->disconnectFromHost(); });
            return;
        case B::trickle: {
            auto* timer = new QTimer(s);
            auto offset = std::make_shared<qsizetype>(0);
            connect(timer, &QTimer::timeout, s, [s, timer, all, offset] {
                if (*offset >= all.size()) {
                    timer->stop();
                    return;
                }
                s->write(all.mid(*offset, 1));
                ++*offset;
            });
            timer->start(response.trickleIntervalMs);
            return;
        }
        default:
            s->write(all);
            return;
        }
    };
    if (response.delayMs > 0)
        QTimer::singleShot(response.delayMs, this, send);
    else
        send();
}

QByteArray modelJson(bool withLatestVersion, const QString& versionId)
{
    QByteArray json = R"({"owner":"codeplugtech","name":"face-swap",)"
                      R"("url":"https://example.invalid/codeplugtech/face-swap",)"
                      R"("visibility":"public","run_count":42,"description":"swaps faces")";
    if (withLatestVersion) {
        json += R"(,"latest_version":{"id":")" + versionId.toUtf8() +
                R"(","created_at":"2024-01-02T03:04:05.678Z","openapi_schema":{"type":"object"}})";
    }
    json += '}';
    return json;
}

QByteArray predictionJson(const QString& id, const QString& status, const QByteArray& outputJson)
{
    return R"({"id":")" + id.toUtf8() +
           R"(","model":"codeplugtech/face-swap","version":"v1",)"
           R"("source":"api","input":{},"output":)" +
           outputJson + R"(,"status":")" + status.toUtf8() +
           R"(","error":null,"logs":"","metrics":{"predict_time":1.5},)"
           R"("created_at":"2024-01-02T03:04:05.123456Z","started_at":"2024-01-02T03:04:06Z",)"
           R"("urls":{"get":"https://example.invalid/v1/predictions/)" +
           id.toUtf8() + R"(","cancel":"https://example.invalid/v1/predictions/)" + id.toUtf8() +
           R"(/cancel"}})";
}

} // namespace vornel::test
