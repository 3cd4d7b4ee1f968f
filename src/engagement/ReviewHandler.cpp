#include "engagement/ReviewHandler.h"

#include "platform/PlatformServices.h"
#include "vornel_config.h"

#include <QUrl>

namespace vornel {

namespace {
const QString kCount = QStringLiteral("reviewWorthyActionCount");
const QString kLastVersion = QStringLiteral("lastReviewRequestAppVersion");
} // namespace

void ReviewHandler::recordReviewWorthyAction()
{
    recordReviewWorthyAction(UserDefaults::standard());
}

void ReviewHandler::recordReviewWorthyAction(UserDefaults& store)
{
    // 1. Count first: every call counts, whatever follows. A value of another
    // type reads as 0, as an integer read of the platform's store would.
    const std::optional<QVariant> stored = store.value(kCount);
    qint64 count = 0;
    if (stored && (stored->typeId() == QMetaType::LongLong || stored->typeId() == QMetaType::Int))
        count = stored->toLongLong();
    if (count < std::numeric_limits<qint64>::max())
        ++count;
    store.setValue(kCount, count);
    // 2.
    if (count < requestThreshold)
        return;
    // 3, 4.
    const std::optional<QString> build = platform().buildNumber();
    const std::optional<QVariant> last = store.value(kLastVersion);
    const std::optional<QString> lastVersion = last && last->typeId() == QMetaType::QString
                                                   ? std::optional(last->toString())
                                                   : std::nullopt;
    // 5.
    if (lastVersion && build && *lastVersion == *build)
        return;
    // 6.
    SceneSystem& scenes = *platform().scenes;
    if (scenes.hasForegroundActiveWindowScene())
        scenes.requestReview();
    // 7, 8: also after an attempt without a scene.
    store.setValue(kCount, qint64(0));
    if (build)
        store.setValue(kLastVersion, *build);
    else
        store.remove(kLastVersion);
}

QString reviewPageAddress()
{
    return QStringLiteral("https://") + QString::fromUtf8(config::storeHost) +
           QStringLiteral("/app/id") + QString::fromUtf8(config::storeId) +
           QStringLiteral("?action=write-review");
}

void rateApp()
{
    const QUrl url(reviewPageAddress(), QUrl::StrictMode);
    if (!url.isValid())
        return;
    UrlOpener& opener = *platform().urls;
    if (!opener.canOpenURL(url))
        return;
    opener.openURL(url);
}

} // namespace vornel
