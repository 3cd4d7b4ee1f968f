#pragma once

#include <QByteArray>
#include <QImage>
#include <optional>

namespace vornel {

// Lossless PNG of the image at its full size, written with libspng at zlib
// level 1 and the "up" row filter: the upload is about a megabyte either way,
// and Qt's writer (adaptive filters, level 6) spends most of its time for a
// few per cent of size. See docs/benchmarks.md.
// Returns nothing for a null image or a failed encoding.
std::optional<QByteArray> encodePng(const QImage& image);

// The same through QImage::save with Qt's default settings: the baseline the
// benchmark compares against.
std::optional<QByteArray> encodePngDefault(const QImage& image);

} // namespace vornel
