#include "generation/ImagePicker.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QVariant>
#include <algorithm>
#include <cmath>

namespace vornel {

void Coordinator::didFinishPickingMedia(const QVariantMap& info)
{
    if (!info.isEmpty()) {
        const QVariant edited = info.value(QLatin1StringView(kEditedImageKey));
        if (edited.typeId() == QMetaType::QImage) {
            const QImage image = edited.value<QImage>();
            if (parent.selectedImage)
                parent.selectedImage(image);
        }
    }
    if (parent.presentationMode)
        parent.presentationMode();
}

namespace {

LoadedPhoto readWith(QImageReader& reader)
{
    reader.setAutoTransform(true); // EXIF orientation
    if (!reader.canRead())
        return {QImage(), QObject::tr("This file is not a picture Vornel can open.")};
    const QSize size = reader.size();
    const qint64 limitBytes = qint64(QImageReader::allocationLimit()) * 1024 * 1024;
    if (size.isValid() && limitBytes > 0 && qint64(size.width()) * size.height() * 4 > limitBytes)
        return {QImage(), QObject::tr("This picture is too large to open.")};
    QImage image = reader.read(); // the first frame of an animation
    if (image.isNull()) {
        if (reader.error() == QImageReader::InvalidDataError && size.isValid() &&
            qint64(size.width()) * size.height() * 4 > limitBytes)
            return {QImage(), QObject::tr("This picture is too large to open.")};
        return {QImage(), QObject::tr("This picture is damaged or incomplete.")};
    }
    return {image, QString()};
}

} // namespace

LoadedPhoto loadPhoto(const QString& path)
{
    const QFileInfo info(path);
    if (!info.exists() || !info.isFile() || !info.isReadable())
        return {QImage(), QObject::tr("The file could not be read.")};
    if (info.size() == 0)
        return {QImage(), QObject::tr("The file is empty.")};
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {QImage(), QObject::tr("The file could not be read.")};
    QImageReader reader(&file);
    reader.setDecideFormatFromContent(true);
    return readWith(reader);
}

LoadedPhoto loadPhoto(const QByteArray& bytes)
{
    if (bytes.isEmpty())
        return {QImage(), QObject::tr("The file is empty.")};
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    reader.setDecideFormatFromContent(true);
    return readWith(reader);
}

QRectF centredSquare(const QSize& size)
{
    const double side = std::min(size.width(), size.height());
    return QRectF((size.width() - side) / 2, (size.height() - side) / 2, side, side);
}

QImage cropToSquare(const QImage& source, const QRectF& crop, int maxSide)
{
    if (source.isNull())
        return QImage();
    // A square inside the image: shrink to fit, then move inside.
    double side =
        std::min({crop.width(), crop.height(), double(source.width()), double(source.height())});
    side = std::max(1.0, std::floor(side));
    const double x = std::clamp(crop.x(), 0.0, source.width() - side);
    const double y = std::clamp(crop.y(), 0.0, source.height() - side);
    const QRect rect(int(std::lround(x)), int(std::lround(y)), int(side), int(side));
    QImage square = source.copy(rect.intersected(source.rect()));
    if (square.width() > maxSide)
        square = square.scaled(maxSide, maxSide, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    return square;
}

} // namespace vornel
