#pragma once

#include "platform/FaceDetector.h"

#include <QImage>
#include <QObject>
#include <QPointer>
#include <functional>
#include <memory>

namespace vornel {

// The outcome of checking that a picked photo shows exactly one face.
struct FaceCheckOutcome {
    enum class Kind { accepted, rejected, ignored };
    Kind kind = Kind::ignored;
    QString
        title; // for rejected: "No face detected", "<n> faces detected", "Problem processing image"

    static FaceCheckOutcome accepted() { return {Kind::accepted, {}}; }
    static FaceCheckOutcome rejected(QString title) { return {Kind::rejected, std::move(title)}; }
    static FaceCheckOutcome ignored() { return {Kind::ignored, {}}; }
    friend bool operator==(const FaceCheckOutcome&, const FaceCheckOutcome&) = default;
};

// The outcome for one detection result. A detector error prints
// "Failed to perform image request: " + its description.
FaceCheckOutcome faceCheckOutcome(const DetectionResult& result);

// Where an outcome lands: the home screen's state.
class FaceCheckTarget {
public:
    virtual ~FaceCheckTarget() = default;
    virtual void setFailedImagePickText(const QString& title) = 0;
    virtual void toggleShowFailedImagePickPopupBottomView() = 0;
    virtual void toggleShowUploadView() = 0;
};

// Applies an outcome in order: for a rejection the title first, then the
// popup toggle; for an acceptance the upload toggle.
void applyFaceCheckOutcome(const FaceCheckOutcome& outcome, FaceCheckTarget& target);

// Runs the detector on the global thread pool and returns at once. The
// outcome is handed to the thread of `context` and passed to `apply` there,
// unless `context` is gone by then.
void detectFaces(const QImage& image, QObject* context,
                 std::function<void(const FaceCheckOutcome&)> apply,
                 std::shared_ptr<const FaceDetector> detector = FaceDetector::standard());

} // namespace vornel
