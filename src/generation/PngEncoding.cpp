#include "generation/PngEncoding.h"

#include <QBuffer>
#include <algorithm>
#include <memory>
#include <spng.h>
#include <zlib.h>

namespace vornel {

namespace {

int appendToByteArray(spng_ctx*, void* user, void* data, size_t length)
{
    static_cast<QByteArray*>(user)->append(static_cast<const char*>(data), qsizetype(length));
    return 0;
}

// Packs one line of a 32-bit RGB image as PNG's 8-bit RGB, so the whole image
// is never converted at once.
void packRgb(const QRgb* in, int width, uchar* out)
{
    for (int x = 0; x < width; ++x) {
        const QRgb p = in[x];
        out[3 * x] = uchar(qRed(p));
        out[3 * x + 1] = uchar(qGreen(p));
        out[3 * x + 2] = uchar(qBlue(p));
    }
}

} // namespace

std::optional<QByteArray> encodePng(const QImage& source)
{
    if (source.isNull())
        return std::nullopt;
    const bool alpha = source.hasAlphaChannel();
    // Opaque 32-bit images (every decoded JPEG) are packed line by line;
    // anything else is converted once to unpremultiplied 8-bit RGB(A).
    const bool packLines = !alpha && source.format() == QImage::Format_RGB32;
    const QImage image =
        packLines ? source
                  : source.convertToFormat(alpha ? QImage::Format_RGBA8888 : QImage::Format_RGB888);
    if (image.isNull())
        return std::nullopt;

    std::unique_ptr<spng_ctx, void (*)(spng_ctx*)> ctx(spng_ctx_new(SPNG_CTX_ENCODER),
                                                       &spng_ctx_free);
    if (!ctx)
        return std::nullopt;
    QByteArray bytes;
    // Reserved pages that are never written stay out of resident memory, so
    // room for the worst case costs nothing and saves the regrowth copies.
    const size_t rowBytes = size_t(image.width()) * (alpha ? 4 : 3);
    bytes.reserve(qsizetype(
        std::min<size_t>((rowBytes + 1) * size_t(image.height()) + 4096, size_t(1) << 30)));
    spng_set_png_stream(ctx.get(), &appendToByteArray, &bytes);
    spng_set_option(ctx.get(), SPNG_IMG_COMPRESSION_LEVEL, 1);
    spng_set_option(ctx.get(), SPNG_FILTER_CHOICE, SPNG_FILTER_CHOICE_UP);

    spng_ihdr ihdr{};
    ihdr.width = uint32_t(image.width());
    ihdr.height = uint32_t(image.height());
    ihdr.bit_depth = 8;
    ihdr.color_type = alpha ? SPNG_COLOR_TYPE_TRUECOLOR_ALPHA : SPNG_COLOR_TYPE_TRUECOLOR;
    if (spng_set_ihdr(ctx.get(), &ihdr) != 0)
        return std::nullopt;

    if (spng_encode_image(ctx.get(), nullptr, 0, SPNG_FMT_PNG,
                          SPNG_ENCODE_PROGRESSIVE | SPNG_ENCODE_FINALIZE) != 0)
        return std::nullopt;
    // Row by row: QImage pads its lines to four bytes, PNG rows are packed.
    QByteArray line(qsizetype(rowBytes), Qt::Uninitialized);
    for (int y = 0; y < image.height(); ++y) {
        const void* row = image.constScanLine(y);
        if (packLines) {
            packRgb(reinterpret_cast<const QRgb*>(row), image.width(),
                    reinterpret_cast<uchar*>(line.data()));
            row = line.constData();
        }
        const int rc = spng_encode_row(ctx.get(), row, rowBytes);
        if (rc != 0 && rc != SPNG_EOI)
            return std::nullopt;
    }
    bytes.squeeze();
    return bytes;
}

std::optional<QByteArray> encodePngDefault(const QImage& image)
{
    if (image.isNull())
        return std::nullopt;
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (!image.save(&buffer, "PNG"))
        return std::nullopt;
    return bytes;
}

} // namespace vornel
