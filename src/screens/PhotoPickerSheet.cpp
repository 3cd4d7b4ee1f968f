#include "screens/PhotoPickerSheet.h"

#include "screens/MainFlow.h"

#include <QDir>
#include <QPointer>
#include <QStandardPaths>

namespace vornel {

namespace {
QPointer<PhotoPickerSheet> g_currentPicker;
} // namespace

PhotoPickerSheet::PhotoPickerSheet(QObject* parent) : QObject(parent)
{
    g_currentPicker = this;
}

PhotoPickerSheet::~PhotoPickerSheet() = default;

PhotoPickerSheet* PhotoPickerSheet::current()
{
    return g_currentPicker.data();
}

void PhotoPickerSheet::setHome(HomeView* home)
{
    if (m_home == home)
        return;
    m_home = home;
    emit homeChanged();
}

QString PhotoPickerSheet::photoSource() const
{
    return QStringLiteral("image://vornel/picker/%1").arg(m_generation);
}

QUrl PhotoPickerSheet::picturesFolder()
{
    return QUrl::fromLocalFile(QStandardPaths::writableLocation(QStandardPaths::PicturesLocation));
}

bool PhotoPickerSheet::choose(const QUrl& file)
{
    const LoadedPhoto loaded = loadPhoto(file.isLocalFile() ? file.toLocalFile() : file.toString());
    m_photo = loaded.image;
    m_error = loaded.error;
    ++m_generation;
    emit photoChanged();
    return !m_photo.isNull();
}

void PhotoPickerSheet::confirm(double x, double y, double side)
{
    QPointer<PhotoPickerSheet> self(this);
    Coordinator coordinator(ImagePicker(
        ImagePicker::SourceType::photoLibrary,
        [this](const QImage& image) {
            if (m_home)
                m_home->setProfileImage(image);
        },
        [self] {
            if (self)
                emit self->dismissRequested();
        }));
    QVariantMap info;
    if (!m_photo.isNull()) {
        info.insert(QLatin1StringView(kEditedImageKey),
                    cropToSquare(m_photo, QRectF(x, y, side, side)));
        info.insert(QLatin1StringView(kOriginalImageKey), m_photo);
    }
    coordinator.didFinishPickingMedia(info);
}

void PhotoPickerSheet::cancel()
{
    emit dismissRequested();
}

QImage VornelImageProvider::requestImage(const QString& id, QSize* size, const QSize& requestedSize)
{
    QImage image;
    if (id.startsWith(u"profile/")) {
        if (HomeView* home = HomeView::current())
            image = home->profileImage();
    } else if (id.startsWith(u"picker/")) {
        if (PhotoPickerSheet* picker = PhotoPickerSheet::current())
            image = picker->photo();
    }
    if (size)
        *size = image.size();
    if (!image.isNull() && requestedSize.isValid() && !requestedSize.isEmpty())
        image = image.scaled(requestedSize, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    return image;
}

} // namespace vornel
