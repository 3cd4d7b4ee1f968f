#pragma once

#include <QByteArray>
#include <QImage>
#include <optional>

namespace vornel {

// Lossless PNG of the image at its full size, with fast deflate settings:
// the upload is a few megabytes either way, and the default level spends
// most of the encoding time for a few per cent of size.
// Returns nothing for a null image or a failed encoding.
std::optional<QByteArray> encodePng(const QImage& image);

// The same through QImage::save with Qt's default settings (the baseline the
// benchmark compares against).
std::optional<QByteArray> encodePngDefault(const QImage& image);

} // namespace vornel
