#include "FakeService.h"
#include "generation/service/Records.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QtTest>

using namespace vornel;
using namespace vornel::test;

namespace {

QJsonObject validPrediction()
{
    return QJsonDocument::fromJson(predictionJson("p1", "succeeded", "\"https://x.test/o.png\""))
        .object();
}

QString decodeError(const QByteArray& body)
{
    try {
        decodeBody<PredictionRecord>(body);
    } catch (const DecodingError& e) {
        return e.description();
    }
    return QStringLiteral("decoded");
}

} // namespace

class TestRecords : public QObject {
    Q_OBJECT
private slots:
    void decodesFullPrediction()
    {
        const PredictionRecord p = decodeBody<PredictionRecord>(
            predictionJson("p1", "processing", "\"https://x.test/o.png\""));
        QCOMPARE(p.id, "p1");
        QCOMPARE(p.status, PredictionStatus::processing);
        QCOMPARE(p.source, PredictionSource::api);
        QCOMPARE(p.output->textForm(), "https://x.test/o.png");
        QVERIFY(!p.errorText);
        QCOMPARE(p.metrics->predictTime, 1.5);
        QCOMPARE(p.createdAt, QDateTime(QDate(2024, 1, 2), QTime(3, 4, 5, 123), Qt::UTC));
        QCOMPARE(p.startedAt, QDateTime(QDate(2024, 1, 2), QTime(3, 4, 6), Qt::UTC));
        QVERIFY(!p.completedAt);
        QCOMPARE(p.urls.value("cancel").path(), "/v1/predictions/p1/cancel");
    }

    void outputAbsentOrNullIsNoOutput()
    {
        QJsonObject o = validPrediction();
        o.insert("output", QJsonValue::Null);
        QVERIFY(!PredictionRecord::decode(o).output);
        o.remove("output");
        QVERIFY(!PredictionRecord::decode(o).output);
    }

    void errorField_data()
    {
        QTest::addColumn<QJsonValue>("error");
        QTest::addColumn<QString>("expected");
        QTest::newRow("string") << QJsonValue("boom") << "boom";
        QTest::newRow("object with detail")
            << QJsonValue(QJsonObject{{"detail", "GPU fell over"}}) << "GPU fell over";
        QTest::newRow("null") << QJsonValue(QJsonValue::Null) << "<none>";
    }
    void errorField()
    {
        QFETCH(QJsonValue, error);
        QFETCH(QString, expected);
        QJsonObject o = validPrediction();
        o.insert("error", error);
        QCOMPARE(PredictionRecord::decode(o).errorText.value_or("<none>"), expected);
    }

    // Every mutation makes the whole record fail to decode.
    void rejectsBadPredictions_data()
    {
        QTest::addColumn<QString>("key");
        QTest::addColumn<QJsonValue>("value"); // Undefined removes the key
        QTest::addColumn<QString>("messageStart");
        const QJsonValue remove(QJsonValue::Undefined);
        QTest::newRow("no id") << "id" << remove << "Missing required key \"id\"";
        QTest::newRow("no model") << "model" << remove << "Missing required key \"model\"";
        QTest::newRow("no version") << "version" << remove << "Missing required key";
        QTest::newRow("no input") << "input" << remove << "Missing required key \"input\"";
        QTest::newRow("no status") << "status" << remove << "Missing required key \"status\"";
        QTest::newRow("no created_at")
            << "created_at" << remove << "Missing required key \"created_at\"";
        QTest::newRow("no urls") << "urls" << remove << "Missing required key \"urls\"";
        QTest::newRow("null id") << "id" << QJsonValue(QJsonValue::Null) << "Missing required key";
        QTest::newRow("id is a number")
            << "id" << QJsonValue(5) << "Expected a string for key \"id\"";
        QTest::newRow("input is a list")
            << "input" << QJsonValue(QJsonArray{1}) << "Expected an object";
        QTest::newRow("unknown status")
            << "status" << QJsonValue("queued") << "Unknown prediction status \"queued\"";
        QTest::newRow("status in capitals")
            << "status" << QJsonValue("SUCCEEDED") << "Unknown prediction status";
        QTest::newRow("unknown source")
            << "source" << QJsonValue("cli") << "Unknown prediction source";
        QTest::newRow("error is a number")
            << "error" << QJsonValue(3) << "Expected a string or an object";
        QTest::newRow("error object without detail")
            << "error" << QJsonValue(QJsonObject{{"x", 1}}) << "Missing required key \"detail\"";
        QTest::newRow("logs is a number") << "logs" << QJsonValue(1) << "Expected a string";
        QTest::newRow("predict_time is text")
            << "metrics" << QJsonValue(QJsonObject{{"predict_time", "1"}}) << "Expected a number";
        QTest::newRow("date without zone") << "created_at" << QJsonValue("2024-01-02T03:04:05")
                                           << "Invalid date: 2024-01-02T03:04:05";
        QTest::newRow("date only")
            << "created_at" << QJsonValue("2024-01-02") << "Invalid date: 2024-01-02";
        QTest::newRow("impossible date") << "started_at" << QJsonValue("2024-02-30T00:00:00Z")
                                         << "Invalid date: 2024-02-30T00:00:00Z";
        QTest::newRow("hour 24") << "completed_at" << QJsonValue("2024-01-01T24:00:00Z")
                                 << "Invalid date: ";
        QTest::newRow("url with space") << "urls" << QJsonValue(QJsonObject{{"get", "http://a b/"}})
                                        << "Invalid URL for key \"get\"";
        QTest::newRow("empty url")
            << "urls" << QJsonValue(QJsonObject{{"get", ""}}) << "Invalid URL";
        QTest::newRow("url not a string")
            << "urls" << QJsonValue(QJsonObject{{"get", 1}}) << "Expected a string";
    }
    void rejectsBadPredictions()
    {
        QFETCH(QString, key);
        QFETCH(QJsonValue, value);
        QFETCH(QString, messageStart);
        QJsonObject o = validPrediction();
        if (value.isUndefined())
            o.remove(key);
        else
            o.insert(key, value);
        const QString message = decodeError(QJsonDocument(o).toJson());
        QVERIFY2(message.startsWith(messageStart), qPrintable(message));
    }

    void rejectsBadBodies_data()
    {
        QTest::addColumn<QByteArray>("body");
        QTest::newRow("empty") << QByteArray();
        QTest::newRow("html") << QByteArray("<html>502</html>");
        QTest::newRow("truncated") << predictionJson("p1", "succeeded").chopped(10);
        QTest::newRow("array") << QByteArray("[]");
        QTest::newRow("bare string") << QByteArray("\"x\"");
        QTest::newRow("two values") << QByteArray("{},{}");
        QTest::newRow("invalid utf-8") << QByteArray("{\"id\":\"\xff\xfe\"}");
    }
    void rejectsBadBodies()
    {
        QFETCH(QByteArray, body);
        QVERIFY(decodeError(body) != "decoded");
    }

    void timestamps_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QDateTime>("expected");
        const QDateTime base(QDate(2024, 5, 6), QTime(7, 8, 9), Qt::UTC);
        QTest::newRow("Z") << "2024-05-06T07:08:09Z" << base;
        QTest::newRow("fraction") << "2024-05-06T07:08:09.5Z" << base.addMSecs(500);
        QTest::newRow("microseconds") << "2024-05-06T07:08:09.123456Z" << base.addMSecs(123);
        QTest::newRow("offset") << "2024-05-06T09:08:09+02:00" << base;
        QTest::newRow("negative offset with fraction")
            << "2024-05-06T06:38:09.250-00:30" << base.addMSecs(250);
    }
    void timestamps()
    {
        QFETCH(QString, text);
        QFETCH(QDateTime, expected);
        QCOMPARE(parseTimestamp(text), expected);
    }

    void modelRecord()
    {
        const ModelRecord with = decodeBody<ModelRecord>(modelJson(true, "abc"));
        QCOMPARE(with.owner, "codeplugtech");
        QCOMPARE(with.latestVersion->id, "abc");
        QCOMPARE(with.runCount, 42);
        QCOMPARE(with.visibility, ModelVisibility::publicModel);
        QVERIFY(!decodeBody<ModelRecord>(modelJson(false)).latestVersion);

        QJsonObject o = QJsonDocument::fromJson(modelJson(true)).object();
        o.insert("default_example", validPrediction());
        QCOMPARE(ModelRecord::decode(o).defaultExample->id, "p1");

        for (auto [key, value] : {std::pair<QString, QJsonValue>{"visibility", "secret"},
                                  {"url", "no scheme here"},
                                  {"run_count", 1.5},
                                  {"latest_version", QJsonObject{{"id", "x"}}},
                                  {"cover_image_url", "http://[bad"}}) {
            QJsonObject bad = QJsonDocument::fromJson(modelJson(true)).object();
            bad.insert(key, value);
            QVERIFY_THROWS_EXCEPTION(DecodingError, ModelRecord::decode(bad));
        }
    }

    void errorBodies_data()
    {
        QTest::addColumn<QByteArray>("body");
        QTest::addColumn<QString>("detail");
        QTest::newRow("detail object")
            << QByteArray("{\"detail\":\"Invalid token.\",\"status\":401}") << "Invalid token.";
        QTest::newRow("bare string") << QByteArray("\"Not found\"") << "Not found";
        QTest::newRow("detail not a string") << QByteArray("{\"detail\":{\"x\":1}}") << "<none>";
        QTest::newRow("html") << QByteArray("<h1>Bad gateway</h1>") << "<none>";
        QTest::newRow("empty") << QByteArray() << "<none>";
    }
    void errorBodies()
    {
        QFETCH(QByteArray, body);
        QFETCH(QString, detail);
        QCOMPARE(decodeErrorBody(body).value_or("<none>"), detail);
    }
};

QTEST_GUILESS_MAIN(TestRecords)
#include "tst_records.moc"
