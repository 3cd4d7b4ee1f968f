#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <optional>

namespace vornel {

// The template portraits shipped as image assets, looked up by name.
namespace templateImages {

QStringList manNames();   // "m1" ... "m23"
QStringList womanNames(); // "f1" ... "f10"

// PNG bytes of the asset with this name, or nothing when there is no such
// asset or it does not decode. A PNG asset is returned as stored; assets in
// other formats are decoded and encoded as PNG.
std::optional<QByteArray> loadPng(const QString& name);

} // namespace templateImages
} // namespace vornel
