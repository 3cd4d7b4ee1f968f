#include "platform/FaceDetector.h"

#include <QFile>
#include <algorithm>
#include <opencv2/core.hpp>
#include <opencv2/imgproc.hpp>
#include <opencv2/objdetect.hpp>

namespace vornel {

namespace {

// A grey working copy whose shorter side is at most `side` pixels: faces are
// a share of the shorter side, so a wide group photo keeps its faces large
// enough. Large photos are first halved quickly, then scaled smoothly, so a
// 12-megapixel photo costs little.
QImage workingCopy(const QImage& bitmap, int side)
{
    QImage image = bitmap;
    const int shorter = std::min(image.width(), image.height());
    if (shorter > side) {
        const double factor = double(side) / double(shorter);
        const QSize target(std::max(1, int(image.width() * factor)),
                           std::max(1, int(image.height() * factor)));
        while (image.width() >= 4 * target.width() && image.height() >= 4 * target.height())
            image = image.scaled(image.width() / 2, image.height() / 2, Qt::IgnoreAspectRatio,
                                 Qt::FastTransformation);
        image = image.scaled(target, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    }
    return image.convertToFormat(QImage::Format_Grayscale8);
}

} // namespace

CascadeFaceDetector::CascadeFaceDetector(QString cascadePath, int workingSide)
    : m_cascadePath(std::move(cascadePath)), m_workingSide(workingSide)
{
}

QString CascadeFaceDetector::defaultCascadePath()
{
    return QStringLiteral("/usr/share/opencv4/lbpcascades/lbpcascade_frontalface_improved.xml");
}

DetectionResult CascadeFaceDetector::detect(const QImage& bitmap) const
{
    if (bitmap.isNull())
        return {std::nullopt, QStringLiteral("The image has no bitmap.")};

    // A classifier is not safe to share between threads: one per thread.
    thread_local std::unique_ptr<cv::CascadeClassifier> classifier;
    thread_local QString loadedPath;
    if (!classifier || loadedPath != m_cascadePath) {
        auto next = std::make_unique<cv::CascadeClassifier>();
        bool loaded = false;
        try {
            loaded = QFile::exists(m_cascadePath) && next->load(m_cascadePath.toStdString());
        } catch (const cv::Exception&) {
            loaded = false;
        }
        if (!loaded)
            return {
                std::nullopt,
                QStringLiteral("The face model could not be loaded from %1.").arg(m_cascadePath)};
        classifier = std::move(next);
        loadedPath = m_cascadePath;
    }

    const QImage grey = workingCopy(bitmap, m_workingSide);
    try {
        const cv::Mat view(grey.height(), grey.width(), CV_8UC1,
                           const_cast<uchar*>(grey.constBits()), size_t(grey.bytesPerLine()));
        cv::Mat equalised;
        cv::equalizeHist(view, equalised);
        std::vector<cv::Rect> faces;
        classifier->detectMultiScale(equalised, faces);
        QList<Observation> observations;
        for (const cv::Rect& r : faces)
            observations.append(
                {Observation::Kind::face,
                 QRectF(double(r.x) / grey.width(), double(r.y) / grey.height(),
                        double(r.width) / grey.width(), double(r.height) / grey.height())});
        return {observations, std::nullopt};
    } catch (const cv::Exception& e) {
        return {std::nullopt, QString::fromStdString(e.what())};
    }
}

std::shared_ptr<FaceDetector> FaceDetector::standard()
{
    static const std::shared_ptr<FaceDetector> detector = std::make_shared<CascadeFaceDetector>();
    return detector;
}

} // namespace vornel
