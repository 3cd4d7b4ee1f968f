#include "generation/TemplateImages.h"

#include "generation/PngEncoding.h"

#include <QBuffer>
#include <QFile>
#include <QImage>
#include <QImageReader>

namespace vornel::templateImages {

namespace {
QStringList numbered(QChar prefix, int count)
{
    QStringList names;
    for (int i = 1; i <= count; ++i)
        names.append(prefix + QString::number(i));
    return names;
}
} // namespace

QStringList manNames()
{
    return numbered(u'm', 23);
}
QStringList womanNames()
{
    return numbered(u'f', 10);
}

std::optional<QByteArray> loadPng(const QString& name)
{
    const QString base = QStringLiteral(":/templates/") + name;
    if (QFile png(base + QStringLiteral(".png")); png.open(QIODevice::ReadOnly)) {
        QByteArray bytes = png.readAll();
        // Check the header only: decoding the whole portrait would cost more
        // than the rest of building the request.
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::ReadOnly);
        QImageReader reader(&buffer, "png");
        if (!reader.canRead() || !reader.size().isValid())
            return std::nullopt;
        return bytes;
    }
    for (const char* ext : {".jpg", ".jpeg", ".webp", ".svg"}) {
        const QString path = base + QLatin1StringView(ext);
        if (!QFile::exists(path))
            continue;
        QImageReader reader(path);
        reader.setAutoTransform(true);
        const QImage image = reader.read();
        if (image.isNull())
            return std::nullopt;
        return encodePng(image);
    }
    return std::nullopt;
}

} // namespace vornel::templateImages
