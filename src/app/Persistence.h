#pragma once

#include <QDateTime>
#include <QString>
#include <QVariantMap>
#include <functional>
#include <optional>

namespace vornel {

// The local object store "Vornel": a SQLite database in the app's data
// folder with one entity, Item, and one optional date attribute, timestamp.
// The app creates and loads it at start-up and writes nothing to it.

struct StoreError {
    QString description;
    QVariantMap userInfo;
    // "{key = value; ...}", sorted by key.
    QString userInfoDescription() const;
};

class ObjectContext {
public:
    explicit ObjectContext(QString connectionName = {}) : m_connection(std::move(connectionName)) {}
    QString connectionName() const { return m_connection; }
    bool automaticallyMergesChangesFromParent = false;

private:
    QString m_connection;
};

class PersistentContainer {
public:
    explicit PersistentContainer(QString name, QString storePath = {});
    ~PersistentContainer();
    PersistentContainer(const PersistentContainer&) = delete;
    PersistentContainer& operator=(const PersistentContainer&) = delete;

    const QString& name() const { return m_name; }
    const QString& storePath() const { return m_storePath; }
    // Opens (creating on first use) the store; synchronous.
    void loadPersistentStores(const std::function<void(const QString& storePath,
                                                       const std::optional<StoreError>&)>& done);
    ObjectContext& viewContext() { return m_viewContext; }

    // The platform's default location for a store of this name.
    static QString defaultStorePath(const QString& name);

private:
    QString m_name;
    QString m_storePath;
    ObjectContext m_viewContext;
};

// The one managed entity.
struct Item {
    qint64 objectId = 0;
    std::optional<QDateTime> timestamp;

    // Inserts a new item into the context's store.
    static std::optional<Item> insert(ObjectContext& context, std::optional<QDateTime> timestamp);
    // All items (the entity's fetch request).
    static QList<Item> fetchAll(ObjectContext& context);
    friend bool operator==(const Item& a, const Item& b) { return a.objectId == b.objectId; }
};

class PersistenceController {
public:
    // Created and loaded on first access. A failed load prints "Unresolved
    // error <description>, <user info>" and ends the app through the fatal
    // handler (by default: exit with status 1).
    static PersistenceController& shared();

    PersistentContainer& container() { return *m_container; }

    // Loads a controller for a given store path; nothing and the error when
    // the store cannot be loaded.
    static std::unique_ptr<PersistenceController> load(const QString& storePath,
                                                       std::optional<StoreError>* error);

    using FatalHandler = std::function<void(int status)>;
    static void setFatalHandler(FatalHandler handler);

private:
    explicit PersistenceController(std::unique_ptr<PersistentContainer> container)
        : m_container(std::move(container))
    {
    }
    std::unique_ptr<PersistentContainer> m_container;
};

} // namespace vornel
