#include "generation/service/JsonValue.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QtTest>

using namespace vornel;
Q_DECLARE_METATYPE(JsonValue::Kind)

namespace {
JsonValue read(const QByteArray& json)
{
    const QJsonDocument doc = QJsonDocument::fromJson("[" + json + "]");
    return JsonValue::fromJson(doc.array().at(0));
}
} // namespace

class TestJsonValue : public QObject {
    Q_OBJECT
private slots:
    void readsEachCase_data()
    {
        QTest::addColumn<QByteArray>("json");
        QTest::addColumn<JsonValue::Kind>("kind");
        QTest::addColumn<QString>("text");
        using K = JsonValue::Kind;
        QTest::newRow("null") << QByteArray("null") << K::Null << "";
        QTest::newRow("true") << QByteArray("true") << K::Boolean << "true";
        QTest::newRow("false") << QByteArray("false") << K::Boolean << "false";
        QTest::newRow("integer") << QByteArray("42") << K::Integer << "42";
        QTest::newRow("negative integer") << QByteArray("-7") << K::Integer << "-7";
        QTest::newRow("whole floating reads as integer") << QByteArray("3.0") << K::Integer << "3";
        QTest::newRow("large integer")
            << QByteArray("9007199254740993") << K::Integer << "9007199254740993";
        QTest::newRow("floating") << QByteArray("0.1") << K::Floating << "0.1";
        QTest::newRow("floating shortest") << QByteArray("1.5e300") << K::Floating << "1.5e+300";
        QTest::newRow("past int64") << QByteArray("1e19") << K::Floating << "1e+19";
        QTest::newRow("string") << QByteArray("\"https://x.test/a.png\"") << K::String
                                << "https://x.test/a.png";
        QTest::newRow("array") << QByteArray("[1,\"a\",null]") << K::Array << "[1,\"a\",null]";
        QTest::newRow("object") << QByteArray("{\"b\":true,\"a\":1}") << K::Object
                                << "{\"a\":1,\"b\":true}";
    }
    void readsEachCase()
    {
        QFETCH(QByteArray, json);
        QFETCH(JsonValue::Kind, kind);
        QFETCH(QString, text);
        const JsonValue v = read(json);
        QCOMPARE(v.kind(), kind);
        QCOMPARE(v.textForm(), text);
    }

    // Floating text forms read back as the same number.
    void floatingTextRoundTrips()
    {
        for (double d : {0.1, 1.0 / 3.0, 2.5e-310, 123456.789, -0.000123, 1.7976931348623157e308}) {
            const QString text = JsonValue(d).textForm();
            QCOMPARE(text.toDouble(), d);
        }
    }

    void dataUriRule_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("isData");
        QTest::addColumn<QString>("mime");
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("png") << "data:image/png;base64,aGVsbG8=" << true << "image/png"
                             << QByteArray("hello");
        QTest::newRow("no semicolon: whole header is the type")
            << "data:text/plain,aGk=" << true << "text/plain" << QByteArray("hi");
        QTest::newRow("empty type") << "data:;base64,aGk=" << true << "" << QByteArray("hi");
        QTest::newRow("missing padding")
            << "data:image/png;base64,aGVsbG8" << false << "" << QByteArray();
        QTest::newRow("bad character")
            << "data:image/png;base64,aGV*bG8=" << false << "" << QByteArray();
        QTest::newRow("url-safe alphabet")
            << "data:image/png;base64,a-_z" << false << "" << QByteArray();
        QTest::newRow("padding inside")
            << "data:image/png;base64,aG=sbG8=" << false << "" << QByteArray();
        QTest::newRow("line break")
            << "data:image/png;base64,aGVs\nbG8=" << false << "" << QByteArray();
        QTest::newRow("no comma") << "data:image/png;base64" << false << "" << QByteArray();
        QTest::newRow("two commas") << "data:a,aGk=,aGk=" << false << "" << QByteArray();
        QTest::newRow("non-Latin-1 payload")
            << QString::fromUtf8("data:a,aGk\u4e00") << false << "" << QByteArray();
        QTest::newRow("prefix is case sensitive") << "DATA:a,aGk=" << false << "" << QByteArray();
    }
    void dataUriRule()
    {
        QFETCH(QString, text);
        QFETCH(bool, isData);
        QFETCH(QString, mime);
        QFETCH(QByteArray, bytes);
        const JsonValue v = JsonValue::fromJson(text);
        QCOMPARE(v.kind() == JsonValue::Kind::Data, isData);
        if (isData) {
            QCOMPARE(v.data()->mimeType.value_or(QString()), mime);
            QCOMPARE(v.data()->bytes, bytes);
        } else {
            QCOMPARE(*v.string(), text);
        }
    }

    // A data output gives back the same text in its text form.
    void dataTextFormMatchesWriting()
    {
        const QString uri = QStringLiteral("data:image/png;base64,iVBORw0KGgo=");
        const JsonValue v = JsonValue::fromJson(uri);
        QCOMPARE(v.kind(), JsonValue::Kind::Data);
        QCOMPARE(v.textForm(), uri);
        QCOMPARE(v.toJson().toString(), uri);
        QCOMPARE(v.toJsonText(), QByteArray("\"") + uri.toLatin1() + "\"");
    }

    // Writing then reading gives the same value, and the fast text writer
    // agrees with QJsonDocument.
    void writeReadRoundTrip()
    {
        JsonObject input;
        input.insert("swap_image",
                     JsonData{QStringLiteral("image/png"), QByteArray("\x89PNG\0\1", 6)});
        input.insert("quote\"key", QStringLiteral("line\nbreak \"q\" \\ \u00e9"));
        input.insert("n", qint64(-5));
        input.insert("f", 2.25);
        input.insert("list", JsonArray{true, JsonNull{}, JsonObject{{"k", "v"}}});
        input.insert("odd mime", JsonData{QStringLiteral("a\"b"), QByteArray("x")});
        const JsonValue original(input);

        const QByteArray text = original.toJsonText();
        const QJsonDocument parsed = QJsonDocument::fromJson(text);
        QVERIFY(parsed.isObject());
        QCOMPARE(JsonValue::fromJson(parsed.object()), original);
        QCOMPARE(JsonValue::fromJson(original.toJson()), original);
    }

    void nonFiniteFloatingWritesNull()
    {
        QCOMPARE(JsonValue(std::numeric_limits<double>::infinity()).toJsonText(),
                 QByteArray("null"));
    }
};

QTEST_GUILESS_MAIN(TestJsonValue)
#include "tst_jsonvalue.moc"
