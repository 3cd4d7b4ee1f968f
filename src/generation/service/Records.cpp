#include "generation/service/Records.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QRegularExpression>
#include <QTimeZone>

namespace vornel {

namespace {

[[noreturn]] void fail(const QString& message)
{
    throw DecodingError(message);
}

QString typeName(const QJsonValue& v)
{
    switch (v.type()) {
    case QJsonValue::Null:
        return QStringLiteral("null");
    case QJsonValue::Bool:
        return QStringLiteral("a boolean");
    case QJsonValue::Double:
        return QStringLiteral("a number");
    case QJsonValue::String:
        return QStringLiteral("a string");
    case QJsonValue::Array:
        return QStringLiteral("an array");
    case QJsonValue::Object:
        return QStringLiteral("an object");
    case QJsonValue::Undefined:
        break;
    }
    return QStringLiteral("nothing");
}

// Reads keys of one JSON object with the error messages decoding needs.
class Reader {
public:
    // Holds its own (shared) copy: callers pass temporaries.
    Reader(QJsonObject object, QString context)
        : m_object(std::move(object)), m_context(std::move(context))
    {
    }

    bool has(const QString& key) const
    {
        const auto it = m_object.constFind(key);
        return it != m_object.constEnd() && !it->isNull();
    }

    QJsonValue required(const QString& key) const
    {
        const auto it = m_object.constFind(key);
        if (it == m_object.constEnd() || it->isNull())
            fail(QStringLiteral("Missing required key \"%1\" in %2.").arg(key, m_context));
        return *it;
    }

    [[noreturn]] void wrongType(const QString& key, const QString& expected,
                                const QJsonValue& v) const
    {
        fail(QStringLiteral("Expected %1 for key \"%2\" in %3, found %4.")
                 .arg(expected, key, m_context, typeName(v)));
    }

    QString string(const QString& key) const
    {
        const QJsonValue v = required(key);
        if (!v.isString())
            wrongType(key, QStringLiteral("a string"), v);
        return v.toString();
    }

    std::optional<QString> optionalString(const QString& key) const
    {
        if (!has(key))
            return std::nullopt;
        return string(key);
    }

    QJsonObject object(const QString& key) const
    {
        const QJsonValue v = required(key);
        if (!v.isObject())
            wrongType(key, QStringLiteral("an object"), v);
        return v.toObject();
    }

    QUrl url(const QString& key) const { return parseUrl(key, string(key)); }

    std::optional<QUrl> optionalUrl(const QString& key) const
    {
        if (!has(key))
            return std::nullopt;
        return url(key);
    }

    QUrl parseUrl(const QString& key, const QString& text) const
    {
        const QUrl parsed(text, QUrl::StrictMode);
        if (text.isEmpty() || !parsed.isValid())
            fail(QStringLiteral("Invalid URL for key \"%1\" in %2: %3").arg(key, m_context, text));
        return parsed;
    }

    QDateTime timestamp(const QString& key) const { return parseTimestamp(string(key)); }

    std::optional<QDateTime> optionalTimestamp(const QString& key) const
    {
        if (!has(key))
            return std::nullopt;
        return timestamp(key);
    }

    JsonObject jsonObject(const QString& key) const
    {
        const QJsonObject o = object(key);
        JsonValue value = JsonValue::fromJson(o);
        return *value.object();
    }

    std::optional<qint64> optionalInteger(const QString& key) const
    {
        if (!has(key))
            return std::nullopt;
        const QJsonValue v = required(key);
        const qint64 a = v.toInteger(std::numeric_limits<qint64>::min());
        const qint64 b = v.toInteger(std::numeric_limits<qint64>::max());
        if (!v.isDouble() || a != b)
            wrongType(key, QStringLiteral("an integer"), v);
        return a;
    }

    const QString& context() const { return m_context; }

private:
    QJsonObject m_object;
    QString m_context;
};

QJsonValue parseSingleValue(const QByteArray& body, QJsonParseError* error)
{
    // QJsonDocument only takes an object or an array at the top, so a lone
    // value (the bare-string error body) is read inside an array.
    QByteArray wrapped;
    wrapped.reserve(body.size() + 2);
    wrapped.append('[').append(body).append(']');
    const QJsonDocument doc = QJsonDocument::fromJson(wrapped, error);
    if (error->error != QJsonParseError::NoError || !doc.isArray() || doc.array().size() != 1)
        return QJsonValue(QJsonValue::Undefined);
    return doc.array().at(0);
}

} // namespace

QDateTime parseTimestamp(const QString& text)
{
    // RFC 3339 date-time: full date, 'T', time, optional fraction, zone.
    static const QRegularExpression withFraction(QStringLiteral(
        R"(^(\d{4})-(\d{2})-(\d{2})[Tt](\d{2}):(\d{2}):(\d{2})\.(\d+)([Zz]|[+-]\d{2}:\d{2})$)"));
    static const QRegularExpression withoutFraction(QStringLiteral(
        R"(^(\d{4})-(\d{2})-(\d{2})[Tt](\d{2}):(\d{2}):(\d{2})()([Zz]|[+-]\d{2}:\d{2})$)"));

    for (const QRegularExpression* re : {&withFraction, &withoutFraction}) {
        const QRegularExpressionMatch m = re->match(text);
        if (!m.hasMatch())
            continue;
        const QDate date(m.captured(1).toInt(), m.captured(2).toInt(), m.captured(3).toInt());
        const int hour = m.captured(4).toInt();
        const int minute = m.captured(5).toInt();
        const int second = m.captured(6).toInt();
        const QString fraction = m.captured(7);
        const int msec = fraction.isEmpty() ? 0 : fraction.left(3).leftJustified(3, u'0').toInt();
        const QTime time(hour, minute, second, msec);
        if (!date.isValid() || !time.isValid())
            continue;
        const QString zone = m.captured(8);
        int offsetSeconds = 0;
        if (zone.compare(u"Z", Qt::CaseInsensitive) != 0) {
            const int hours = zone.mid(1, 2).toInt();
            const int minutes = zone.mid(4, 2).toInt();
            if (hours > 23 || minutes > 59)
                continue;
            offsetSeconds = (hours * 3600 + minutes * 60) * (zone.startsWith(u'-') ? -1 : 1);
        }
        QDateTime result(date, time, QTimeZone(offsetSeconds));
        if (result.isValid())
            return result.toUTC();
    }
    throw DecodingError(QStringLiteral("Invalid date: ") + text);
}

PredictionRecord PredictionRecord::decode(const QJsonObject& object)
{
    const Reader r(object, QStringLiteral("prediction"));
    PredictionRecord p;
    p.id = r.string(QStringLiteral("id"));
    p.model = r.string(QStringLiteral("model"));
    p.version = r.string(QStringLiteral("version"));
    if (auto source = r.optionalString(QStringLiteral("source"))) {
        if (*source == u"web")
            p.source = PredictionSource::web;
        else if (*source == u"api")
            p.source = PredictionSource::api;
        else
            fail(QStringLiteral("Unknown prediction source \"%1\".").arg(*source));
    }
    p.input = r.jsonObject(QStringLiteral("input"));
    if (r.has(QStringLiteral("output")))
        p.output = JsonValue::fromJson(object.value(QStringLiteral("output")));
    const QString status = r.string(QStringLiteral("status"));
    const auto parsedStatus = predictionStatusFromWire(status);
    if (!parsedStatus)
        fail(QStringLiteral("Unknown prediction status \"%1\".").arg(status));
    p.status = *parsedStatus;
    if (r.has(QStringLiteral("error"))) {
        const QJsonValue e = object.value(QStringLiteral("error"));
        if (e.isString()) {
            p.errorText = e.toString();
        } else if (e.isObject()) {
            const Reader er(e.toObject(), QStringLiteral("error"));
            p.errorText = er.string(QStringLiteral("detail"));
        } else {
            r.wrongType(QStringLiteral("error"), QStringLiteral("a string or an object"), e);
        }
    }
    p.logs = r.optionalString(QStringLiteral("logs"));
    if (r.has(QStringLiteral("metrics"))) {
        const QJsonObject m = r.object(QStringLiteral("metrics"));
        const Reader mr(m, QStringLiteral("metrics"));
        PredictionMetrics metrics;
        if (mr.has(QStringLiteral("predict_time"))) {
            const QJsonValue t = m.value(QStringLiteral("predict_time"));
            if (!t.isDouble())
                mr.wrongType(QStringLiteral("predict_time"), QStringLiteral("a number"), t);
            metrics.predictTime = t.toDouble();
        }
        p.metrics = metrics;
    }
    p.createdAt = r.timestamp(QStringLiteral("created_at"));
    p.startedAt = r.optionalTimestamp(QStringLiteral("started_at"));
    p.completedAt = r.optionalTimestamp(QStringLiteral("completed_at"));
    const QJsonObject urls = r.object(QStringLiteral("urls"));
    const Reader ur(urls, QStringLiteral("urls"));
    for (auto it = urls.begin(); it != urls.end(); ++it) {
        if (!it.value().isString())
            ur.wrongType(it.key(), QStringLiteral("a string"), it.value());
        p.urls.insert(it.key(), ur.parseUrl(it.key(), it.value().toString()));
    }
    return p;
}

ModelVersionRecord ModelVersionRecord::decode(const QJsonObject& object)
{
    const Reader r(object, QStringLiteral("model version"));
    ModelVersionRecord v;
    v.id = r.string(QStringLiteral("id"));
    v.createdAt = r.timestamp(QStringLiteral("created_at"));
    v.openapiSchema = r.jsonObject(QStringLiteral("openapi_schema"));
    return v;
}

ModelRecord ModelRecord::decode(const QJsonObject& object)
{
    const Reader r(object, QStringLiteral("model"));
    ModelRecord m;
    m.owner = r.string(QStringLiteral("owner"));
    m.name = r.string(QStringLiteral("name"));
    m.url = r.url(QStringLiteral("url"));
    m.githubUrl = r.optionalUrl(QStringLiteral("github_url"));
    m.paperUrl = r.optionalUrl(QStringLiteral("paper_url"));
    m.licenseUrl = r.optionalUrl(QStringLiteral("license_url"));
    m.coverImageUrl = r.optionalUrl(QStringLiteral("cover_image_url"));
    m.description = r.optionalString(QStringLiteral("description"));
    const QString visibility = r.string(QStringLiteral("visibility"));
    if (visibility == u"public")
        m.visibility = ModelVisibility::publicModel;
    else if (visibility == u"private")
        m.visibility = ModelVisibility::privateModel;
    else
        fail(QStringLiteral("Unknown model visibility \"%1\".").arg(visibility));
    if (r.has(QStringLiteral("latest_version")))
        m.latestVersion = ModelVersionRecord::decode(r.object(QStringLiteral("latest_version")));
    m.runCount = r.optionalInteger(QStringLiteral("run_count"));
    if (r.has(QStringLiteral("default_example")))
        m.defaultExample = std::make_shared<const PredictionRecord>(
            PredictionRecord::decode(r.object(QStringLiteral("default_example"))));
    return m;
}

template <typename Record> Record decodeBody(const QByteArray& body)
{
    QJsonParseError error{};
    const QJsonValue value = parseSingleValue(body, &error);
    if (value.isUndefined()) {
        if (error.error != QJsonParseError::NoError)
            fail(QStringLiteral("The response is not valid JSON: %1.").arg(error.errorString()));
        fail(QStringLiteral("The response is not a single JSON value."));
    }
    if (!value.isObject())
        fail(QStringLiteral("Expected a JSON object, found %1.").arg(typeName(value)));
    return Record::decode(value.toObject());
}

template PredictionRecord decodeBody<PredictionRecord>(const QByteArray&);
template ModelRecord decodeBody<ModelRecord>(const QByteArray&);
template ModelVersionRecord decodeBody<ModelVersionRecord>(const QByteArray&);

std::optional<QString> decodeErrorBody(const QByteArray& body)
{
    QJsonParseError error{};
    const QJsonValue value = parseSingleValue(body, &error);
    if (value.isString())
        return value.toString();
    if (value.isObject()) {
        const QJsonValue detail = value.toObject().value(QStringLiteral("detail"));
        if (detail.isString())
            return detail.toString();
    }
    return std::nullopt;
}

} // namespace vornel
