#include "generation/HistoryManager.h"

#include "platform/Logging.h"
#include "platform/PlatformServices.h"

namespace vornel {

namespace {
const QString kHistory = QStringLiteral("imageHistory");
} // namespace

HistoryManager& HistoryManager::shared()
{
    static HistoryManager* instance = new HistoryManager;
    return *instance;
}

void HistoryManager::addImage(const QUrl& url, const QDateTime& date)
{
    addImage(url, date, UserDefaults::standard());
}

void HistoryManager::addImage(const QUrl& url, const QDateTime& date, UserDefaults& store)
{
    QVariantList records;
    const std::optional<QVariant> stored = store.value(kHistory);
    if (stored && stored->typeId() == QMetaType::QVariantList) {
        records = stored->toList();
        // One foreign element discards the whole stored history.
        for (const QVariant& element : records) {
            if (element.typeId() != QMetaType::QVariantMap) {
                records.clear();
                break;
            }
        }
    }
    QVariantMap record;
    record.insert(QStringLiteral("imageURL"), url.toString(QUrl::FullyEncoded));
    record.insert(QStringLiteral("date"), date);
    records.append(record);
    store.setValue(kHistory, records);
}

void saveToPhotoLibrary(const QUrl& url, std::function<void()> then, DownloadLimits limits)
{
    platform().photos->performChanges(
        [url, then = std::move(then), limits](AssetCreationRequest& request) {
            // The change step reads the whole portrait synchronously, on the
            // library's worker thread, with an event loop of its own.
            QString error;
            if (std::optional<QByteArray> bytes = downloadBytesBlocking(url, limits, &error))
                request.addPhotoResource(*std::move(bytes));
            else
                qCInfo(lcPlatform).noquote() << "Portrait not saved:" << error;
            if (then)
                then();
        });
}

} // namespace vornel
