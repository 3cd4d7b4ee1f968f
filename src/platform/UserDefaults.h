#pragma once

#include <QMutex>
#include <QString>
#include <QVariant>
#include <optional>

namespace vornel {

// The app's one typed key-value store (the phone platform's user defaults).
// Values keep their type: QString, bool, qint64, double, QDateTime,
// QVariantList and QVariantMap of those. Every write is persisted at once and
// atomically: a new file is written, synced, renamed over the old one, and
// the folder is synced, so a crash leaves the old or the new content. A file
// that cannot be read is moved aside (never deleted) and the store starts
// empty. Safe to use from any thread.
class UserDefaults {
public:
    explicit UserDefaults(QString filePath);

    // The store in the app's data folder. Tests replace it with their own.
    static UserDefaults& standard();
    static void setStandard(UserDefaults* store); // nullptr restores the default

    // The raw stored value, with its stored type; nothing when absent.
    std::optional<QVariant> value(const QString& key) const;
    // Stores a value; false when the value has no storable type or the file
    // could not be written (the last good file then stays on disk).
    bool setValue(const QString& key, const QVariant& value);
    bool remove(const QString& key);

    QString filePath() const { return m_path; }
    // Where an unreadable file was moved at load, if one was.
    QString movedAsidePath() const;

    // Whether a value can be stored with its type kept.
    static bool isStorable(const QVariant& value);

private:
    void load();
    bool persist(const QVariantMap& values);

    QString m_path;
    mutable QMutex m_mutex;
    QVariantMap m_values;
    QString m_movedAside;
};

// Parsing and writing of the store's file, exposed for tests and fuzzing.
namespace userDefaultsFormat {
QByteArray write(const QVariantMap& values);
// Nothing when the bytes are not a complete store file.
std::optional<QVariantMap> read(const QByteArray& bytes);
} // namespace userDefaultsFormat

} // namespace vornel
