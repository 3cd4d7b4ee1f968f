#include "generation/FaceCheck.h"

#include "platform/Console.h"

#include <QThreadPool>

namespace vornel {

FaceCheckOutcome faceCheckOutcome(const DetectionResult& result)
{
    if (result.error) {
        consoleLine(QStringLiteral("Failed to perform image request: ") + *result.error);
        return FaceCheckOutcome::rejected(QStringLiteral("Problem processing image"));
    }
    if (!result.results)
        return FaceCheckOutcome::ignored();
    for (const Observation& o : *result.results) {
        if (o.kind != Observation::Kind::face)
            return FaceCheckOutcome::ignored(); // discarded whole, not filtered
    }
    const qsizetype n = result.results->size();
    if (n == 1)
        return FaceCheckOutcome::accepted();
    if (n == 0)
        return FaceCheckOutcome::rejected(QStringLiteral("No face detected"));
    return FaceCheckOutcome::rejected(QString::number(n) + QStringLiteral(" faces detected"));
}

void applyFaceCheckOutcome(const FaceCheckOutcome& outcome, FaceCheckTarget& target)
{
    switch (outcome.kind) {
    case FaceCheckOutcome::Kind::rejected:
        target.setFailedImagePickText(outcome.title);
        target.toggleShowFailedImagePickPopupBottomView();
        return;
    case FaceCheckOutcome::Kind::accepted:
        target.toggleShowUploadView();
        return;
    case FaceCheckOutcome::Kind::ignored:
        return;
    }
}

void detectFaces(const QImage& image, QObject* context,
                 std::function<void(const FaceCheckOutcome&)> apply,
                 std::shared_ptr<const FaceDetector> detector)
{
    QPointer<QObject> guard(context);
    QThreadPool::globalInstance()->start(
        [image, guard, apply = std::move(apply), detector = std::move(detector)] {
            // An image without a bitmap is a detection failure.
            const DetectionResult result =
                image.isNull()
                    ? DetectionResult{std::nullopt, QStringLiteral("The image has no bitmap.")}
                    : detector->detect(image);
            const FaceCheckOutcome outcome = faceCheckOutcome(result);
            if (!guard)
                return;
            QMetaObject::invokeMethod(guard.data(), [guard, apply, outcome] {
                if (guard)
                    apply(outcome);
            });
        });
}

} // namespace vornel
