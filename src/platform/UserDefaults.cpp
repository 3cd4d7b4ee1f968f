#include "platform/UserDefaults.h"

#include "platform/Logging.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSaveFile>
#include <QStandardPaths>
#include <fcntl.h>
#include <unistd.h>

namespace vornel {

// The file is JSON; each value is an object with one key naming its type, so
// a Boolean never reads back as a string or a number:
//   {"format":"vornel-defaults","version":1,"values":{"key":{"bool":true}}}
namespace userDefaultsFormat {

namespace {

constexpr int kMaxDepth = 32;

std::optional<QJsonValue> encode(const QVariant& v, int depth)
{
    if (depth > kMaxDepth)
        return std::nullopt;
    switch (v.typeId()) {
    case QMetaType::QString:
        return QJsonObject{{"string", v.toString()}};
    case QMetaType::Bool:
        return QJsonObject{{"bool", v.toBool()}};
    case QMetaType::Int:
    case QMetaType::LongLong:
    case QMetaType::UInt:
        // As text: a JSON number would lose 64-bit precision.
        return QJsonObject{{"int", QString::number(v.toLongLong())}};
    case QMetaType::Double:
        return QJsonObject{{"double", v.toDouble()}};
    case QMetaType::QDateTime: {
        const QDateTime dt = v.toDateTime();
        if (!dt.isValid())
            return std::nullopt;
        return QJsonObject{{"date", dt.toUTC().toString(Qt::ISODateWithMs)}};
    }
    case QMetaType::QVariantList:
    case QMetaType::QStringList: {
        QJsonArray items;
        for (const QVariant& item : v.toList()) {
            auto e = encode(item, depth + 1);
            if (!e)
                return std::nullopt;
            items.append(*e);
        }
        return QJsonObject{{"array", items}};
    }
    case QMetaType::QVariantMap: {
        QJsonObject members;
        const QVariantMap map = v.toMap();
        for (auto it = map.begin(); it != map.end(); ++it) {
            auto e = encode(it.value(), depth + 1);
            if (!e)
                return std::nullopt;
            members.insert(it.key(), *e);
        }
        return QJsonObject{{"dict", members}};
    }
    default:
        return std::nullopt;
    }
}

std::optional<QVariant> decode(const QJsonValue& j, int depth)
{
    if (depth > kMaxDepth || !j.isObject())
        return std::nullopt;
    const QJsonObject o = j.toObject();
    if (o.size() != 1)
        return std::nullopt;
    const QString type = o.begin().key();
    const QJsonValue v = o.begin().value();
    if (type == u"string" && v.isString())
        return QVariant(v.toString());
    if (type == u"bool" && v.isBool())
        return QVariant(v.toBool());
    if (type == u"int" && v.isString()) {
        bool ok = false;
        const qint64 n = v.toString().toLongLong(&ok);
        if (!ok)
            return std::nullopt;
        return QVariant(n);
    }
    if (type == u"double" && v.isDouble())
        return QVariant(v.toDouble());
    if (type == u"date" && v.isString()) {
        QDateTime dt = QDateTime::fromString(v.toString(), Qt::ISODateWithMs);
        if (!dt.isValid())
            return std::nullopt;
        return QVariant(dt.toUTC());
    }
    if (type == u"array" && v.isArray()) {
        QVariantList items;
        for (const QJsonValue& item : v.toArray()) {
            auto d = decode(item, depth + 1);
            if (!d)
                return std::nullopt;
            items.append(*d);
        }
        return QVariant(items);
    }
    if (type == u"dict" && v.isObject()) {
        QVariantMap members;
        const QJsonObject m = v.toObject();
        for (auto it = m.begin(); it != m.end(); ++it) {
            auto d = decode(it.value(), depth + 1);
            if (!d)
                return std::nullopt;
            members.insert(it.key(), *d);
        }
        return QVariant(members);
    }
    return std::nullopt;
}

} // namespace

QByteArray write(const QVariantMap& values)
{
    QJsonObject encoded;
    for (auto it = values.begin(); it != values.end(); ++it) {
        if (auto e = encode(it.value(), 0))
            encoded.insert(it.key(), *e);
    }
    const QJsonObject top{{"format", "vornel-defaults"}, {"version", 1}, {"values", encoded}};
    return QJsonDocument(top).toJson(QJsonDocument::Indented);
}

std::optional<QVariantMap> read(const QByteArray& bytes)
{
    QJsonParseError error{};
    const QJsonDocument doc = QJsonDocument::fromJson(bytes, &error);
    if (error.error != QJsonParseError::NoError || !doc.isObject())
        return std::nullopt;
    const QJsonObject top = doc.object();
    if (top.value("format").toString() != u"vornel-defaults" || top.value("version").toInt() != 1 ||
        !top.value("values").isObject())
        return std::nullopt;
    QVariantMap values;
    const QJsonObject encoded = top.value("values").toObject();
    for (auto it = encoded.begin(); it != encoded.end(); ++it) {
        auto d = decode(it.value(), 0);
        if (!d)
            return std::nullopt;
        values.insert(it.key(), *d);
    }
    return values;
}

} // namespace userDefaultsFormat

namespace {

QMutex g_standardMutex;
UserDefaults* g_standardOverride = nullptr;

void syncFolder(const QString& folder)
{
    const int fd = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

} // namespace

UserDefaults::UserDefaults(QString filePath) : m_path(std::move(filePath))
{
    load();
}

UserDefaults& UserDefaults::standard()
{
    QMutexLocker lock(&g_standardMutex);
    if (g_standardOverride)
        return *g_standardOverride;
    static UserDefaults store(
        QDir(QStandardPaths::writableLocation(QStandardPaths::AppDataLocation))
            .filePath(QStringLiteral("defaults.json")));
    return store;
}

void UserDefaults::setStandard(UserDefaults* store)
{
    QMutexLocker lock(&g_standardMutex);
    g_standardOverride = store;
}

bool UserDefaults::isStorable(const QVariant& value)
{
    return userDefaultsFormat::read(userDefaultsFormat::write({{"k", value}}))
        .value_or(QVariantMap())
        .contains("k");
}

void UserDefaults::load()
{
    QFile file(m_path);
    if (!file.exists())
        return;
    std::optional<QVariantMap> values;
    if (file.open(QIODevice::ReadOnly))
        values = userDefaultsFormat::read(file.readAll());
    file.close();
    if (values) {
        m_values = *values;
        return;
    }
    // Keep the unreadable file for inspection and start from empty defaults.
    const QString aside = m_path + QStringLiteral(".unreadable-") +
                          QDateTime::currentDateTimeUtc().toString("yyyyMMdd-hhmmss-zzz");
    if (QFile::rename(m_path, aside)) {
        m_movedAside = aside;
        qCWarning(lcStore).noquote()
            << "The user defaults file could not be read; moved it to" << aside;
    } else {
        qCWarning(lcStore).noquote() << "The user defaults file" << m_path
                                     << "could not be read nor moved aside; starting empty";
    }
}

QString UserDefaults::movedAsidePath() const
{
    QMutexLocker lock(&m_mutex);
    return m_movedAside;
}

std::optional<QVariant> UserDefaults::value(const QString& key) const
{
    QMutexLocker lock(&m_mutex);
    const auto it = m_values.constFind(key);
    if (it == m_values.constEnd())
        return std::nullopt;
    return *it;
}

bool UserDefaults::persist(const QVariantMap& values)
{
    const QFileInfo info(m_path);
    if (!QDir().mkpath(info.absolutePath())) {
        qCWarning(lcStore).noquote() << "Cannot create" << info.absolutePath();
        return false;
    }
    QSaveFile file(m_path);
    if (!file.open(QIODevice::WriteOnly)) {
        qCWarning(lcStore).noquote() << "Cannot write" << m_path << ":" << file.errorString();
        return false;
    }
    file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    const QByteArray bytes = userDefaultsFormat::write(values);
    // QSaveFile writes a temporary file, syncs it and renames it over the old.
    if (file.write(bytes) != bytes.size() || !file.commit()) {
        qCWarning(lcStore).noquote() << "Cannot write" << m_path << ":" << file.errorString();
        file.cancelWriting();
        return false;
    }
    syncFolder(info.absolutePath());
    return true;
}

bool UserDefaults::setValue(const QString& key, const QVariant& value)
{
    if (!isStorable(value))
        return false;
    QMutexLocker lock(&m_mutex);
    m_values.insert(key, value);
    // The session goes on with the new value even when the disk refuses it;
    // the file keeps its last good content.
    return persist(m_values);
}

bool UserDefaults::remove(const QString& key)
{
    QMutexLocker lock(&m_mutex);
    if (!m_values.contains(key))
        return true;
    m_values.remove(key);
    return persist(m_values);
}

} // namespace vornel
