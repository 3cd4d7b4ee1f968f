#pragma once

#include <QImage>
#include <QList>
#include <QRectF>
#include <QString>
#include <memory>
#include <optional>

namespace vornel {

// One thing a detector reports about an image.
struct Observation {
    enum class Kind { face, other };
    Kind kind = Kind::face;
    QRectF boundingBox; // normalised to [0, 1], origin top left
};

// What one detection run gives: the list of observations (which may be
// missing altogether), or an error.
struct DetectionResult {
    std::optional<QList<Observation>> results;
    std::optional<QString> error;
};

// The stand-in for the platform's face-rectangle detector: given a bitmap,
// the faces it finds. Implementations are safe to call from several threads.
class FaceDetector {
public:
    virtual ~FaceDetector() = default;
    virtual DetectionResult detect(const QImage& bitmap) const = 0;

    // OpenCV's improved LBP frontal-face cascade with its own default
    // settings, run on a grey copy whose shorter side is at most 400 pixels.
    static std::shared_ptr<FaceDetector> standard();
};

// The cascade detector, exposed for the benchmark and the tests.
class CascadeFaceDetector : public FaceDetector {
public:
    static constexpr int defaultWorkingSide = 360;
    explicit CascadeFaceDetector(QString cascadePath = defaultCascadePath(),
                                 int workingSide = defaultWorkingSide);
    DetectionResult detect(const QImage& bitmap) const override;
    static QString defaultCascadePath();

private:
    QString m_cascadePath;
    int m_workingSide;
};

} // namespace vornel
