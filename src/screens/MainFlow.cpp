#include "screens/MainFlow.h"

#include "engagement/ReviewHandler.h"
#include "generation/CompletionNotification.h"
#include "generation/HistoryManager.h"
#include "platform/PlatformServices.h"

#include <QCoreApplication>
#include <QDateTime>

namespace vornel {

namespace {

QPointer<HomeView> g_current;

// Forwards the face check's state changes to the home screen.
class HomeTarget : public FaceCheckTarget {
public:
    explicit HomeTarget(HomeView& home) : m_home(home) {}
    void setFailedImagePickText(const QString& title) override
    {
        m_home.setFailedImagePickText(title);
    }
    void toggleShowFailedImagePickPopupBottomView() override
    {
        m_home.toggleShowFailedImagePickPopupBottomView();
    }
    void toggleShowUploadView() override { m_home.toggleShowUploadView(); }

private:
    HomeView& m_home;
};

} // namespace

HomeView::HomeView(QObject* parent) : QObject(parent)
{
    g_current = this;
}

HomeView::~HomeView() = default;

HomeView* HomeView::current()
{
    return g_current.data();
}

void HomeView::setComfirmUploadStatus(bool v)
{
    if (m_comfirmUploadStatus == v)
        return;
    m_comfirmUploadStatus = v;
    emit comfirmUploadStatusChanged();
}

void HomeView::setFailedImagePickText(const QString& text)
{
    if (m_failedImagePickText == text)
        return;
    m_failedImagePickText = text;
    emit failedImagePickTextChanged();
}

void HomeView::setSelectedGender(const QString& g)
{
    if (m_selectedGender == g)
        return;
    m_selectedGender = g;
    emit selectedGenderChanged();
}

void HomeView::setProfileImage(const QImage& image)
{
    if (image.cacheKey() == m_profileImage.cacheKey() && !image.isNull())
        return;
    m_profileImage = image;
    ++m_imageGeneration;
    emit profileImageChanged();
    // The initial empty image (width 0) never starts a check.
    if (m_profileImage.width() != 0)
        detectFaces(
            m_profileImage, this, [this](const FaceCheckOutcome& o) { applyFaceCheck(o); },
            m_detector);
}

void HomeView::applyFaceCheck(const FaceCheckOutcome& outcome)
{
    HomeTarget target(*this);
    applyFaceCheckOutcome(outcome, target);
}

QString HomeView::profileImageSource() const
{
    return QStringLiteral("image://vornel/profile/%1").arg(m_imageGeneration);
}

void HomeView::onAppear()
{
    ReviewHandler::recordReviewWorthyAction();
    applyAppearance(m_userSettings.selectedAppearance());
    if (!m_onboardingChecked) {
        m_onboardingChecked = true;
        if (!m_userSettings.showOnboarding()) {
            toggleShowOnboarding();
            m_userSettings.setShowOnboarding(true);
        }
    }
}

void HomeView::uploadViewDismissed()
{
    if (m_comfirmUploadStatus)
        toggleShowResultView();
}

void HomeView::resultViewDismissed()
{
    setComfirmUploadStatus(false);
}

PredictionViewModel* HomeView::newPredictionViewModel(QObject* owner) const
{
    if (m_predictionConfig)
        return new PredictionViewModel(*m_predictionConfig, owner);
    return new PredictionViewModel(owner);
}

void UploadView::setHome(HomeView* home)
{
    if (m_home == home)
        return;
    m_home = home;
    emit homeChanged();
}

void UploadView::setSelectedGender(const QString& g)
{
    if (m_selectedGender == g)
        return;
    m_selectedGender = g;
    emit selectedGenderChanged();
}

QString UploadView::genderLabel(const QString& gender)
{
    if (gender.isEmpty())
        return gender;
    return gender.left(1).toUpper() + gender.mid(1);
}

void UploadView::confirm()
{
    emit dismissRequested();
    if (m_home) {
        m_home->setComfirmUploadStatus(true);
        m_home->setSelectedGender(m_selectedGender);
    }
}

void ResultView::setHome(HomeView* home)
{
    if (m_home == home)
        return;
    m_home = home;
    if (m_home && !m_model) {
        m_model = m_home->newPredictionViewModel(this);
        connect(m_model, &PredictionViewModel::predictionChanged, this, [this] {
            emit resultChanged();
            const QString status = m_model->predictionStatus();
            const std::optional<QString> next =
                status.isEmpty() ? std::nullopt : std::optional<QString>(status);
            if (next != m_lastStatus) {
                m_lastStatus = next;
                // Evaluated at the next update, when the model has published
                // the record, the address and the identifier together.
                QMetaObject::invokeMethod(
                    this, [this, next] { handleStatusChange(next); }, Qt::QueuedConnection);
            }
        });
        connect(m_model, &PredictionViewModel::imageURLChanged, this, &ResultView::resultChanged);
    }
    emit homeChanged();
}

bool ResultView::resultPresent() const
{
    return m_model && m_model->resultURL() && !m_model->imageURL().isEmpty();
}

std::optional<QUrl> ResultView::resultURL() const
{
    return m_model ? m_model->resultURL() : std::nullopt;
}

QString ResultView::title() const
{
    return m_showLoadingIndicator ? tr("We're creating your profile picture")
                                  : tr("Congratulations! Here's your outcome");
}

void ResultView::setShowLoadingIndicator(bool v)
{
    if (m_showLoadingIndicator == v)
        return;
    m_showLoadingIndicator = v;
    emit showLoadingIndicatorChanged();
}

void ResultView::startOnAppear()
{
    setShowLoadingIndicator(true);
    if (!m_model || !m_home)
        return;
    m_model->start(m_home->profileImage(), m_home->selectedGender());
}

void ResultView::handleStatusChange(const std::optional<QString>& status)
{
    if (!status)
        return;
    if (*status == u"failed")
        toggleShowProcessingError();
    else if (*status == u"succeeded" && m_model && m_model->imageURL().isEmpty())
        toggleShowNoOutputAlert();
}

void ResultView::handleResultAppeared()
{
    setShowLoadingIndicator(false);
    if (m_showConfetti != 1) {
        m_showConfetti = 1;
        emit showConfettiChanged();
    }
    if (const std::optional<QUrl> url = resultURL()) {
        HistoryManager::shared().addImage(*url, QDateTime::currentDateTime());
        scheduleCompletionNotification();
    }
}

void ResultView::downloadResult()
{
    if (m_showLoadingIndicator)
        return;
    if (m_home && !m_home->userSettings()->firstTimeDownload()) {
        m_home->userSettings()->setFirstTimeDownload(true);
        toggleShowReviewToFirstTimeDownload();
    }
    const std::optional<QUrl> url = resultURL();
    if (!url)
        return;
    QPointer<ResultView> self(this);
    saveToPhotoLibrary(*url, [self] {
        // The continuation runs on the library's thread: hand the toggle over.
        QMetaObject::invokeMethod(QCoreApplication::instance(), [self] {
            if (self)
                self->toggleShowFloatBottomImageSaveAlert();
        });
    });
}

void ResultView::likeResult()
{
    m_didDislike = false;
    m_didLike = true;
    emit likeChanged();
    platform().scenes->requestReview();
}

void ResultView::dislikeResult()
{
    m_didLike = false;
    m_didDislike = true;
    emit likeChanged();
}

void ResultView::closeAndCancel()
{
    if (m_model)
        m_model->cancel();
    emit dismissRequested();
}

void ResultView::reviewAccepted()
{
    rateApp();
}

} // namespace vornel
