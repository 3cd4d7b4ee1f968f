#pragma once

#include <QImage>
#include <QObject>
#include <QRectF>
#include <QString>
#include <QVariantMap>
#include <functional>
#include <optional>

namespace vornel {

// The keys of the information a finished pick delivers.
inline constexpr char kEditedImageKey[] = "UIImagePickerControllerEditedImage";
inline constexpr char kOriginalImageKey[] = "UIImagePickerControllerOriginalImage";

// The modal photo picker with its crop step, as the home screen presents it
// in a sheet. `selectedImage` writes the caller's image; `dismiss` closes the
// sheet (the presenter writes its flag back to false).
class ImagePicker {
public:
    enum class SourceType { photoLibrary = 0 };

    using Binding = std::function<void(const QImage&)>;
    using Dismiss = std::function<void()>;

    ImagePicker(SourceType sourceType, Binding selectedImage, Dismiss presentationMode)
        : sourceType(sourceType), selectedImage(std::move(selectedImage)),
          presentationMode(std::move(presentationMode))
    {
    }

    SourceType sourceType;
    Binding selectedImage;
    Dismiss presentationMode;
};

// The picker's delegate: hands back only the edited (cropped) image.
class Coordinator {
public:
    explicit Coordinator(ImagePicker parent) : parent(std::move(parent)) {}

    // Assigns the edited image when the information holds one, and closes
    // the sheet in every case. The unedited image is never read.
    void didFinishPickingMedia(const QVariantMap& info);

    ImagePicker parent;
};

// Opening a picked file safely: every format Qt reads, with the EXIF
// orientation applied; the first frame of an animation. Refuses what cannot
// be decoded within Qt's image allocation limit.
struct LoadedPhoto {
    QImage image;
    QString error; // for the user, when image is null
};
LoadedPhoto loadPhoto(const QString& path);
LoadedPhoto loadPhoto(const QByteArray& bytes);

// The edited image: the square `crop` (in source pixels, clamped to the
// image) scaled down to at most maxSide pixels a side.
inline constexpr int kMaxCropSide = 1080;
QImage cropToSquare(const QImage& source, const QRectF& crop, int maxSide = kMaxCropSide);

// The largest centred square of an image, the crop the sheet starts with.
QRectF centredSquare(const QSize& size);

} // namespace vornel
