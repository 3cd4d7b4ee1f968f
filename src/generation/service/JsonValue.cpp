#include "generation/service/JsonValue.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>

namespace vornel {

namespace {

constexpr QLatin1StringView kDataPrefix("data:");

bool isBase64Char(char c)
{
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '+' ||
           c == '/';
}

// Escapes one string as JSON, with QJsonDocument doing the escaping.
void appendJsonString(QByteArray& out, const QString& text)
{
    const QByteArray wrapped = QJsonDocument(QJsonArray{text}).toJson(QJsonDocument::Compact);
    // wrapped is ["..."]: drop the brackets.
    out.append(QByteArrayView(wrapped).sliced(1, wrapped.size() - 2));
}

// Base64 in slices whose length is a multiple of 3, so no padding appears
// mid-stream and no full-size temporary copy is made.
void appendBase64(QByteArray& out, const QByteArray& bytes)
{
    constexpr qsizetype slice = 3 * 16 * 1024;
    for (qsizetype offset = 0; offset < bytes.size(); offset += slice)
        out.append(QByteArray::fromRawData(bytes.constData() + offset,
                                           std::min(slice, bytes.size() - offset))
                       .toBase64());
}

bool isPlainAscii(const QString& text)
{
    for (QChar c : text) {
        const char16_t u = c.unicode();
        if (u < 0x20 || u > 0x7e || u == '"' || u == '\\')
            return false;
    }
    return true;
}

} // namespace

std::optional<QByteArray> decodeStrictBase64(QByteArrayView text)
{
    const qsizetype n = text.size();
    if (n % 4 != 0)
        return std::nullopt;
    qsizetype padding = 0;
    if (n > 0 && text[n - 1] == '=')
        padding = (n > 1 && text[n - 2] == '=') ? 2 : 1;
    for (qsizetype i = 0; i < n - padding; ++i) {
        if (!isBase64Char(text[i]))
            return std::nullopt;
    }
    auto result =
        QByteArray::fromBase64Encoding(text.toByteArray(), QByteArray::AbortOnBase64DecodingErrors);
    if (!result)
        return std::nullopt;
    return std::move(result.decoded);
}

QString shortestDecimal(double value)
{
    char buffer[64];
    const auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, value);
    if (ec != std::errc())
        return QString::number(value, 'g', 17);
    return QString::fromLatin1(buffer, end - buffer);
}

JsonValue JsonValue::fromJson(const QJsonValue& json)
{
    switch (json.type()) {
    case QJsonValue::Null:
    case QJsonValue::Undefined:
        return JsonValue(JsonNull{});
    case QJsonValue::Bool:
        return JsonValue(json.toBool());
    case QJsonValue::Double: {
        // A whole number that fits in 64 bits reads as an integer.
        const qint64 a = json.toInteger(std::numeric_limits<qint64>::min());
        const qint64 b = json.toInteger(std::numeric_limits<qint64>::max());
        if (a == b)
            return JsonValue(a);
        return JsonValue(json.toDouble());
    }
    case QJsonValue::String: {
        QString text = json.toString();
        if (text.startsWith(kDataPrefix)) {
            const QStringView rest = QStringView(text).mid(kDataPrefix.size());
            const qsizetype comma = rest.indexOf(u',');
            if (comma >= 0 && rest.indexOf(u',', comma + 1) < 0) {
                const QStringView header = rest.first(comma);
                const QByteArray payload = rest.mid(comma + 1).toLatin1();
                // toLatin1 maps non-Latin-1 characters to '?', which the strict
                // check rejects, so nothing outside the alphabet slips through.
                if (auto bytes = decodeStrictBase64(payload)) {
                    const qsizetype semicolon = header.indexOf(u';');
                    JsonData data;
                    data.mimeType = (semicolon >= 0 ? header.first(semicolon) : header).toString();
                    data.bytes = std::move(*bytes);
                    return JsonValue(std::move(data));
                }
            }
        }
        return JsonValue(std::move(text));
    }
    case QJsonValue::Array: {
        JsonArray items;
        const QJsonArray array = json.toArray();
        items.reserve(array.size());
        for (const QJsonValue& item : array)
            items.append(fromJson(item));
        return JsonValue(std::move(items));
    }
    case QJsonValue::Object: {
        JsonObject members;
        const QJsonObject object = json.toObject();
        for (auto it = object.begin(); it != object.end(); ++it)
            members.insert(it.key(), fromJson(it.value()));
        return JsonValue(std::move(members));
    }
    }
    return JsonValue(JsonNull{});
}

QByteArray JsonValue::dataUri(const JsonData& data)
{
    const QByteArray mime = data.mimeType.value_or(QString()).toUtf8();
    const qsizetype encodedSize = (data.bytes.size() + 2) / 3 * 4;
    QByteArray out;
    out.reserve(kDataPrefix.size() + mime.size() + 8 + encodedSize);
    out.append("data:").append(mime).append(";base64,").append(data.bytes.toBase64());
    return out;
}

QJsonValue JsonValue::toJson() const
{
    switch (kind()) {
    case Kind::Boolean:
        return *boolean();
    case Kind::Integer:
        return *integer();
    case Kind::Floating:
        return *floating();
    case Kind::String:
        return *string();
    case Kind::Data:
        return QString::fromLatin1(dataUri(*data()));
    case Kind::Array: {
        QJsonArray out;
        for (const JsonValue& item : *array())
            out.append(item.toJson());
        return out;
    }
    case Kind::Object: {
        QJsonObject out;
        for (auto it = object()->begin(); it != object()->end(); ++it)
            out.insert(it.key(), it.value().toJson());
        return out;
    }
    case Kind::Null:
        break;
    }
    return QJsonValue(QJsonValue::Null);
}

void JsonValue::appendJsonText(QByteArray& out) const
{
    switch (kind()) {
    case Kind::Boolean:
        out.append(*boolean() ? "true" : "false");
        return;
    case Kind::Integer:
        out.append(QByteArray::number(*integer()));
        return;
    case Kind::Floating: {
        const double v = *floating();
        // JSON has no infinities or NaN; QJsonDocument writes them as null.
        if (std::isfinite(v))
            out.append(shortestDecimal(v).toLatin1());
        else
            out.append("null");
        return;
    }
    case Kind::String:
        appendJsonString(out, *string());
        return;
    case Kind::Data: {
        const JsonData& d = *data();
        if (!isPlainAscii(d.mimeType.value_or(QString()))) {
            appendJsonString(out, QString::fromUtf8(dataUri(d)));
            return;
        }
        // Base64 and a plain MIME type need no escaping: write the URI in place.
        const QByteArray mime = d.mimeType.value_or(QString()).toLatin1();
        out.reserve(out.size() + mime.size() + 16 + (d.bytes.size() + 2) / 3 * 4);
        out.append("\"data:").append(mime).append(";base64,");
        appendBase64(out, d.bytes);
        out.append('"');
        return;
    }
    case Kind::Array: {
        out.append('[');
        bool first = true;
        for (const JsonValue& item : *array()) {
            if (!first)
                out.append(',');
            first = false;
            item.appendJsonText(out);
        }
        out.append(']');
        return;
    }
    case Kind::Object: {
        out.append('{');
        bool first = true;
        for (auto it = object()->begin(); it != object()->end(); ++it) {
            if (!first)
                out.append(',');
            first = false;
            appendJsonString(out, it.key());
            out.append(':');
            it.value().appendJsonText(out);
        }
        out.append('}');
        return;
    }
    case Kind::Null:
        out.append("null");
        return;
    }
}

QByteArray JsonValue::toJsonText() const
{
    QByteArray out;
    appendJsonText(out);
    return out;
}

QString JsonValue::textForm() const
{
    switch (kind()) {
    case Kind::String:
        return *string();
    case Kind::Null:
        return QString();
    case Kind::Boolean:
        return *boolean() ? QStringLiteral("true") : QStringLiteral("false");
    case Kind::Integer:
        return QString::number(*integer());
    case Kind::Floating:
        return shortestDecimal(*floating());
    case Kind::Data:
        return QString::fromUtf8(dataUri(*data()));
    case Kind::Array:
    case Kind::Object:
        return QString::fromUtf8(toJsonText());
    }
    return QString();
}

} // namespace vornel
