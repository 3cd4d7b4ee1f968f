#pragma once

#include "generation/service/JsonValue.h"
#include "generation/service/PredictionStatus.h"
#include "generation/service/ServiceError.h"

#include <QDateTime>
#include <QJsonObject>
#include <QMap>
#include <QUrl>
#include <memory>
#include <optional>

namespace vornel {

enum class PredictionSource { web, api };
enum class ModelVisibility { publicModel, privateModel };

struct PredictionMetrics {
    std::optional<double> predictTime;
};

// A prediction as the service reports it.
struct PredictionRecord {
    QString id;
    QString model;
    QString version;
    std::optional<PredictionSource> source;
    JsonObject input;
    std::optional<JsonValue> output; // absent and null both leave this empty
    PredictionStatus status = PredictionStatus::starting;
    std::optional<QString> errorText; // "error" as a string, or its "detail"
    std::optional<QString> logs;
    std::optional<PredictionMetrics> metrics;
    QDateTime createdAt;
    std::optional<QDateTime> startedAt;
    std::optional<QDateTime> completedAt;
    QMap<QString, QUrl> urls;

    // Throws DecodingError when a required key is missing, a type is wrong,
    // an enumeration text is unknown, a timestamp or a URL does not parse.
    static PredictionRecord decode(const QJsonObject& object);
};

struct ModelVersionRecord {
    QString id;
    QDateTime createdAt;
    JsonObject openapiSchema;

    static ModelVersionRecord decode(const QJsonObject& object);
};

struct ModelRecord {
    QString owner;
    QString name;
    QUrl url;
    std::optional<QUrl> githubUrl;
    std::optional<QUrl> paperUrl;
    std::optional<QUrl> licenseUrl;
    std::optional<QUrl> coverImageUrl;
    std::optional<QString> description;
    ModelVisibility visibility = ModelVisibility::publicModel;
    std::optional<ModelVersionRecord> latestVersion;
    std::optional<qint64> runCount;
    // Held by pointer: a prediction record is large and rarely present here.
    std::shared_ptr<const PredictionRecord> defaultExample;

    static ModelRecord decode(const QJsonObject& object);
};

// Parses an RFC 3339 internet date-time, first with fractional seconds, then
// without. Throws DecodingError "Invalid date: " + text when neither fits.
QDateTime parseTimestamp(const QString& text);

// Parses a whole response body as a JSON object and decodes it with the
// record's decode(). Throws DecodingError on any failure.
template <typename Record> Record decodeBody(const QByteArray& body);

// Reads an error body: an object with a string "detail", or a bare JSON
// string. Returns nothing for any other body.
std::optional<QString> decodeErrorBody(const QByteArray& body);

} // namespace vornel
