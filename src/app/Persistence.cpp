#include "app/Persistence.h"

#include "platform/Console.h"
#include "platform/Logging.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QStandardPaths>
#include <atomic>
#include <cstdio>
#include <cstdlib>

namespace vornel {

namespace {

std::atomic<int> g_connectionCounter{0};

PersistenceController::FatalHandler& fatalHandler()
{
    static PersistenceController::FatalHandler handler = [](int status) {
        // Leave in order: flush what was printed, run the exit handlers.
        std::fflush(stdout);
        std::exit(status);
    };
    return handler;
}

StoreError sqlError(const QSqlError& error, const QString& path, const QString& fallback)
{
    StoreError e;
    e.description = error.driverText().isEmpty() ? fallback : error.driverText();
    e.userInfo.insert(QStringLiteral("NSSQLiteErrorDomain"), error.nativeErrorCode());
    e.userInfo.insert(QStringLiteral("NSFilePath"), path);
    if (!error.databaseText().isEmpty())
        e.userInfo.insert(QStringLiteral("reason"), error.databaseText());
    return e;
}

// Creates the model's tables on first use and checks them afterwards.
std::optional<StoreError> prepareSchema(QSqlDatabase& db, const QString& path)
{
    QSqlQuery q(db);
    if (!q.exec(QStringLiteral("CREATE TABLE IF NOT EXISTS Item ("
                               "objectId INTEGER PRIMARY KEY AUTOINCREMENT, "
                               "timestamp TEXT NULL)")))
        return sqlError(q.lastError(), path, QStringLiteral("The store could not be created."));
    const QSqlRecord columns = db.record(QStringLiteral("Item"));
    if (columns.count() != 2 || columns.indexOf(QStringLiteral("objectId")) < 0 ||
        columns.indexOf(QStringLiteral("timestamp")) < 0) {
        StoreError e;
        e.description = QStringLiteral("The model used to open the store is incompatible with the "
                                       "one used to create the store.");
        e.userInfo.insert(QStringLiteral("NSFilePath"), path);
        return e;
    }
    return std::nullopt;
}

} // namespace

QString StoreError::userInfoDescription() const
{
    QStringList parts;
    for (auto it = userInfo.begin(); it != userInfo.end(); ++it)
        parts << it.key() + QStringLiteral(" = ") + it.value().toString();
    return u'{' + parts.join(QStringLiteral("; ")) + u'}';
}

PersistentContainer::PersistentContainer(QString name, QString storePath)
    : m_name(std::move(name)),
      m_storePath(storePath.isEmpty() ? defaultStorePath(m_name) : std::move(storePath)),
      m_viewContext(QStringLiteral("vornel-store-%1-%2").arg(m_name).arg(++g_connectionCounter))
{
}

PersistentContainer::~PersistentContainer()
{
    const QString connection = m_viewContext.connectionName();
    if (QSqlDatabase::contains(connection)) {
        QSqlDatabase::database(connection, false).close();
        QSqlDatabase::removeDatabase(connection);
    }
}

QString PersistentContainer::defaultStorePath(const QString& name)
{
    return QDir(QStandardPaths::writableLocation(QStandardPaths::AppDataLocation))
        .filePath(name + QStringLiteral(".sqlite"));
}

void PersistentContainer::loadPersistentStores(
    const std::function<void(const QString&, const std::optional<StoreError>&)>& done)
{
    const QFileInfo info(m_storePath);
    if (!QDir().mkpath(info.absolutePath())) {
        StoreError e;
        e.description = QStringLiteral("The folder of the store could not be created.");
        e.userInfo.insert(QStringLiteral("NSFilePath"), m_storePath);
        done(m_storePath, e);
        return;
    }
    QSqlDatabase db =
        QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_viewContext.connectionName());
    db.setDatabaseName(m_storePath);
    if (!db.open()) {
        done(m_storePath, sqlError(db.lastError(), m_storePath,
                                   QStringLiteral("The store could not be opened.")));
        return;
    }
    QFile::setPermissions(m_storePath, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    done(m_storePath, prepareSchema(db, m_storePath));
}

std::optional<Item> Item::insert(ObjectContext& context, std::optional<QDateTime> timestamp)
{
    QSqlQuery q(QSqlDatabase::database(context.connectionName()));
    q.prepare(QStringLiteral("INSERT INTO Item (timestamp) VALUES (?)"));
    q.addBindValue(timestamp ? QVariant(timestamp->toUTC().toString(Qt::ISODateWithMs))
                             : QVariant(QMetaType(QMetaType::QString)));
    if (!q.exec())
        return std::nullopt;
    return Item{q.lastInsertId().toLongLong(), timestamp};
}

QList<Item> Item::fetchAll(ObjectContext& context)
{
    QList<Item> items;
    QSqlQuery q(QSqlDatabase::database(context.connectionName()));
    if (!q.exec(QStringLiteral("SELECT objectId, timestamp FROM Item ORDER BY objectId")))
        return items;
    while (q.next()) {
        Item item;
        item.objectId = q.value(0).toLongLong();
        if (!q.value(1).isNull())
            item.timestamp = QDateTime::fromString(q.value(1).toString(), Qt::ISODateWithMs);
        items.append(item);
    }
    return items;
}

std::unique_ptr<PersistenceController> PersistenceController::load(const QString& storePath,
                                                                   std::optional<StoreError>* error)
{
    auto container = std::make_unique<PersistentContainer>(QStringLiteral("Vornel"), storePath);
    std::optional<StoreError> failure;
    container->loadPersistentStores(
        [&](const QString&, const std::optional<StoreError>& e) { failure = e; });
    if (failure) {
        if (error)
            *error = failure;
        return nullptr;
    }
    container->viewContext().automaticallyMergesChangesFromParent = true;
    return std::unique_ptr<PersistenceController>(new PersistenceController(std::move(container)));
}

PersistenceController& PersistenceController::shared()
{
    static PersistenceController* instance = [] {
        std::optional<StoreError> error;
        std::unique_ptr<PersistenceController> loaded =
            load(PersistentContainer::defaultStorePath(QStringLiteral("Vornel")), &error);
        if (!loaded) {
            consoleLine(QStringLiteral("Unresolved error ") + error->description +
                        QStringLiteral(", ") + error->userInfoDescription());
            fatalHandler()(EXIT_FAILURE);
            // A handler that returns (tests) leaves an unloaded controller.
            return new PersistenceController(std::make_unique<PersistentContainer>(
                QStringLiteral("Vornel"), QStringLiteral(":memory:")));
        }
        return loaded.release();
    }();
    return *instance;
}

void PersistenceController::setFatalHandler(FatalHandler handler)
{
    fatalHandler() = std::move(handler);
}

} // namespace vornel
