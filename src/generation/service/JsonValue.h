#pragma once

#include <QByteArray>
#include <QJsonValue>
#include <QList>
#include <QMap>
#include <QString>
#include <optional>
#include <variant>

namespace vornel {

class JsonValue;
using JsonArray = QList<JsonValue>;
using JsonObject = QMap<QString, JsonValue>;

// A data value read from a "data:" URI string.
struct JsonData {
    std::optional<QString> mimeType;
    QByteArray bytes;
    friend bool operator==(const JsonData&, const JsonData&) = default;
};

struct JsonNull {
    friend bool operator==(JsonNull, JsonNull) { return true; }
};

// Arbitrary JSON as prediction input and output carry it.
class JsonValue {
public:
    enum class Kind { Boolean, Integer, Floating, String, Data, Array, Object, Null };

    JsonValue() : m_value(JsonNull{}) {}
    JsonValue(bool v) : m_value(v) {}
    JsonValue(qint64 v) : m_value(v) {}
    JsonValue(int v) : m_value(qint64(v)) {}
    JsonValue(double v) : m_value(v) {}
    JsonValue(QString v) : m_value(std::move(v)) {}
    JsonValue(const char* v) : m_value(QString::fromUtf8(v)) {}
    JsonValue(JsonData v) : m_value(std::move(v)) {}
    JsonValue(JsonArray v) : m_value(std::move(v)) {}
    JsonValue(JsonObject v) : m_value(std::move(v)) {}
    JsonValue(JsonNull) : m_value(JsonNull{}) {}

    Kind kind() const { return Kind(m_value.index()); }
    bool isNull() const { return kind() == Kind::Null; }

    const bool* boolean() const { return std::get_if<bool>(&m_value); }
    const qint64* integer() const { return std::get_if<qint64>(&m_value); }
    const double* floating() const { return std::get_if<double>(&m_value); }
    const QString* string() const { return std::get_if<QString>(&m_value); }
    const JsonData* data() const { return std::get_if<JsonData>(&m_value); }
    const JsonArray* array() const { return std::get_if<JsonArray>(&m_value); }
    const JsonObject* object() const { return std::get_if<JsonObject>(&m_value); }

    // Reads a parsed JSON value, trying null, boolean, integer, floating,
    // string, array, object in that order. A "data:" string whose payload is
    // valid Base64 becomes a data value.
    static JsonValue fromJson(const QJsonValue& json);

    // Writes the value as JSON; a data value becomes its data-URI string.
    QJsonValue toJson() const;

    // Compact JSON text of the value. Data values are written straight into
    // the output, so a large image is not copied through QString.
    QByteArray toJsonText() const;
    void appendJsonText(QByteArray& out) const;

    // The text form: a string as itself, null as empty, numbers in their
    // shortest round-trip decimal form, data as its URI, arrays and objects
    // as compact JSON.
    QString textForm() const;

    // The data-URI text written for a data value.
    static QByteArray dataUri(const JsonData& data);

    friend bool operator==(const JsonValue&, const JsonValue&) = default;

private:
    std::variant<bool, qint64, double, QString, JsonData, JsonArray, JsonObject, JsonNull> m_value;
};

// Strict standard Base64: length a multiple of 4, only the standard alphabet,
// at most two '=' and only at the end. Returns nothing when the text is not so.
std::optional<QByteArray> decodeStrictBase64(QByteArrayView text);

// Shortest decimal text that reads back as the same double.
QString shortestDecimal(double value);

} // namespace vornel
