#pragma once

#include "app/UserSettings.h"
#include "generation/FaceCheck.h"
#include "generation/PredictionViewModel.h"
#include "screens/ScreenState.h"

#include <QImage>
#include <QObject>
#include <QPointer>
#include <QUrl>
#include <QtQml/qqmlregistration.h>
#include <memory>
#include <optional>

namespace vornel {

// The root screen: the picked photo, the face check, and the flags of every
// cover, sheet and popup it presents.
class HomeView : public QObject {
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(vornel::UserSettings* userSettings READ userSettings CONSTANT)
    Q_PROPERTY(bool showUploadView READ showUploadView WRITE setShowUploadView NOTIFY
                   showUploadViewChanged)
    Q_PROPERTY(bool showImagePicker READ showImagePicker WRITE setShowImagePicker NOTIFY
                   showImagePickerChanged)
    Q_PROPERTY(bool comfirmUploadStatus READ comfirmUploadStatus WRITE setComfirmUploadStatus NOTIFY
                   comfirmUploadStatusChanged)
    Q_PROPERTY(QString failedImagePickText READ failedImagePickText WRITE setFailedImagePickText
                   NOTIFY failedImagePickTextChanged)
    Q_PROPERTY(
        bool showFailedImagePickPopupBottomView READ showFailedImagePickPopupBottomView WRITE
            setShowFailedImagePickPopupBottomView NOTIFY showFailedImagePickPopupBottomViewChanged)
    Q_PROPERTY(bool showSettingView READ showSettingView WRITE setShowSettingView NOTIFY
                   showSettingViewChanged)
    Q_PROPERTY(bool showOnboarding READ showOnboarding WRITE setShowOnboarding NOTIFY
                   showOnboardingChanged)
    Q_PROPERTY(bool showResultView READ showResultView WRITE setShowResultView NOTIFY
                   showResultViewChanged)
    Q_PROPERTY(QString selectedGender READ selectedGender WRITE setSelectedGender NOTIFY
                   selectedGenderChanged)
    Q_PROPERTY(int profileImageWidth READ profileImageWidth NOTIFY profileImageChanged)
    Q_PROPERTY(QString profileImageSource READ profileImageSource NOTIFY profileImageChanged)

    VORNEL_FLAG(showUploadView, ShowUploadView)
    VORNEL_FLAG(showImagePicker, ShowImagePicker)
    VORNEL_FLAG(showFailedImagePickPopupBottomView, ShowFailedImagePickPopupBottomView)
    VORNEL_FLAG(showSettingView, ShowSettingView)
    VORNEL_FLAG(showOnboarding, ShowOnboarding)
    VORNEL_FLAG(showResultView, ShowResultView)

public:
    explicit HomeView(QObject* parent = nullptr);
    ~HomeView() override;

    UserSettings* userSettings() { return &m_userSettings; }
    bool comfirmUploadStatus() const { return m_comfirmUploadStatus; }
    void setComfirmUploadStatus(bool v);
    QString failedImagePickText() const { return m_failedImagePickText; }
    void setFailedImagePickText(const QString& text);
    QString selectedGender() const { return m_selectedGender; }
    void setSelectedGender(const QString& g);

    const QImage& profileImage() const { return m_profileImage; }
    // Applies a face-check outcome to this screen's state (on the UI thread).
    void applyFaceCheck(const FaceCheckOutcome& outcome);
    // The picker's binding: a changed image with a width starts the face check.
    void setProfileImage(const QImage& image);
    int profileImageWidth() const { return m_profileImage.width(); }
    QString profileImageSource() const;

    // Handlers the QML calls.
    Q_INVOKABLE void gearTapped() { toggleShowSettingView(); }
    Q_INVOKABLE void uploadPhotoTapped() { toggleShowImagePicker(); }
    // Every appearance: count a review-worthy action, apply the appearance,
    // and the first time, the once-per-installation onboarding.
    Q_INVOKABLE void onAppear();
    // The upload cover's content went away.
    Q_INVOKABLE void uploadViewDismissed();
    // The result cover's content went away.
    Q_INVOKABLE void resultViewDismissed();

    // Tests and the end-to-end run point these elsewhere.
    void setFaceDetector(std::shared_ptr<const FaceDetector> detector)
    {
        m_detector = std::move(detector);
    }
    void setPredictionConfiguration(PredictionViewModel::Configuration c)
    {
        m_predictionConfig = std::move(c);
    }
    // A new generation model for one presentation of the result screen.
    PredictionViewModel* newPredictionViewModel(QObject* owner) const;

    // The home screen shown in the app's window, for the image provider.
    static HomeView* current();

signals:
    void showUploadViewChanged();
    void showImagePickerChanged();
    void comfirmUploadStatusChanged();
    void failedImagePickTextChanged();
    void showFailedImagePickPopupBottomViewChanged();
    void showSettingViewChanged();
    void showOnboardingChanged();
    void showResultViewChanged();
    void selectedGenderChanged();
    void profileImageChanged();

private:
    UserSettings m_userSettings;
    bool m_comfirmUploadStatus = false;
    QString m_failedImagePickText;
    QString m_selectedGender = QStringLiteral("man");
    QImage m_profileImage;
    int m_imageGeneration = 0;
    bool m_onboardingChecked = false;
    std::shared_ptr<const FaceDetector> m_detector = FaceDetector::standard();
    std::optional<PredictionViewModel::Configuration> m_predictionConfig;
};

// The confirmation step: the photo, the criteria, the template set.
class UploadView : public QObject {
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(vornel::HomeView* home READ home WRITE setHome NOTIFY homeChanged)
    Q_PROPERTY(QStringList genders READ genders CONSTANT)
    Q_PROPERTY(QString selectedGender MEMBER m_selectedGender NOTIFY selectedGenderChanged)
    Q_PROPERTY(bool hasPhoto READ hasPhoto NOTIFY homeChanged)
public:
    explicit UploadView(QObject* parent = nullptr) : QObject(parent) {}

    HomeView* home() const { return m_home; }
    void setHome(HomeView* home);
    QStringList genders() const { return {QStringLiteral("man"), QStringLiteral("woman")}; }
    bool hasPhoto() const { return m_home && m_home->profileImageWidth() != 0; }
    QString selectedGender() const { return m_selectedGender; }
    void setSelectedGender(const QString& g);
    // "man" shows as Man.
    Q_INVOKABLE static QString genderLabel(const QString& gender);

    // Closes the screen, then reports the confirmation and the choice.
    Q_INVOKABLE void confirm();
    Q_INVOKABLE void close() { emit dismissRequested(); }

signals:
    void homeChanged();
    void selectedGenderChanged();
    void dismissRequested();

private:
    QPointer<HomeView> m_home;
    QString m_selectedGender = QStringLiteral("man");
};

// The page on which one portrait is generated, shown and saved.
class ResultView : public QObject {
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(vornel::HomeView* home READ home WRITE setHome NOTIFY homeChanged)
    Q_PROPERTY(vornel::PredictionViewModel* predictionViewModel READ predictionViewModel NOTIFY
                   homeChanged)
    Q_PROPERTY(bool showProcessingError READ showProcessingError WRITE setShowProcessingError NOTIFY
                   showProcessingErrorChanged)
    Q_PROPERTY(bool showNoOutputAlert READ showNoOutputAlert WRITE setShowNoOutputAlert NOTIFY
                   showNoOutputAlertChanged)
    Q_PROPERTY(bool showFloatBottomImageSaveAlert READ showFloatBottomImageSaveAlert WRITE
                   setShowFloatBottomImageSaveAlert NOTIFY showFloatBottomImageSaveAlertChanged)
    Q_PROPERTY(bool showReviewToFirstTimeDownload READ showReviewToFirstTimeDownload WRITE
                   setShowReviewToFirstTimeDownload NOTIFY showReviewToFirstTimeDownloadChanged)
    Q_PROPERTY(
        bool showLoadingIndicator READ showLoadingIndicator NOTIFY showLoadingIndicatorChanged)
    Q_PROPERTY(int showConfetti READ showConfetti NOTIFY showConfettiChanged)
    Q_PROPERTY(bool didLike READ didLike NOTIFY likeChanged)
    Q_PROPERTY(bool didDislike READ didDislike NOTIFY likeChanged)
    Q_PROPERTY(bool resultPresent READ resultPresent NOTIFY resultChanged)
    Q_PROPERTY(QUrl resultURL READ resultURLOrEmpty NOTIFY resultChanged)
    Q_PROPERTY(QString title READ title NOTIFY showLoadingIndicatorChanged)

    VORNEL_FLAG(showProcessingError, ShowProcessingError)
    VORNEL_FLAG(showNoOutputAlert, ShowNoOutputAlert)
    VORNEL_FLAG(showFloatBottomImageSaveAlert, ShowFloatBottomImageSaveAlert)
    VORNEL_FLAG(showReviewToFirstTimeDownload, ShowReviewToFirstTimeDownload)

public:
    explicit ResultView(QObject* parent = nullptr) : QObject(parent) {}

    HomeView* home() const { return m_home; }
    // The presenter: its photo, gender and settings; a new model is made here.
    void setHome(HomeView* home);
    PredictionViewModel* predictionViewModel() const { return m_model; }
    bool showLoadingIndicator() const { return m_showLoadingIndicator; }
    int showConfetti() const { return m_showConfetti; }
    bool didLike() const { return m_didLike; }
    bool didDislike() const { return m_didDislike; }
    bool resultPresent() const;
    std::optional<QUrl> resultURL() const;
    QUrl resultURLOrEmpty() const { return resultURL().value_or(QUrl()); }
    QString title() const;

    Q_INVOKABLE void startOnAppear();
    void handleStatusChange(const std::optional<QString>& status);
    Q_INVOKABLE void handleResultAppeared();
    Q_INVOKABLE void downloadResult();
    Q_INVOKABLE void likeResult();
    Q_INVOKABLE void dislikeResult();
    Q_INVOKABLE void closeAndCancel();
    // "Yes" in the review-request alert.
    Q_INVOKABLE void reviewAccepted();

signals:
    void homeChanged();
    void showProcessingErrorChanged();
    void showNoOutputAlertChanged();
    void showFloatBottomImageSaveAlertChanged();
    void showReviewToFirstTimeDownloadChanged();
    void showLoadingIndicatorChanged();
    void showConfettiChanged();
    void likeChanged();
    void resultChanged();
    void dismissRequested();

private:
    void setShowLoadingIndicator(bool v);

    QPointer<HomeView> m_home;
    PredictionViewModel* m_model = nullptr;
    std::optional<QString> m_lastStatus;
    bool m_showLoadingIndicator = false;
    int m_showConfetti = 0;
    bool m_didLike = false;
    bool m_didDislike = false;
};

} // namespace vornel
