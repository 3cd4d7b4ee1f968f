#include "generation/PngEncoding.h"

#include <QBuffer>
#include <QImageWriter>

namespace vornel {

namespace {

// Qt maps PNG quality q to zlib level (100 - q) / 10, roughly; see the benchmark.
constexpr int kFastPngQuality = 80;

std::optional<QByteArray> encode(const QImage& image, int quality)
{
    if (image.isNull())
        return std::nullopt;
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "png");
    if (quality >= 0)
        writer.setQuality(quality);
    if (!writer.write(image))
        return std::nullopt;
    return bytes;
}

} // namespace

std::optional<QByteArray> encodePng(const QImage& image)
{
    return encode(image, kFastPngQuality);
}

std::optional<QByteArray> encodePngDefault(const QImage& image)
{
    return encode(image, -1);
}

} // namespace vornel
