// The screens' state and handlers, driven without a window.
#include "FakeService.h"
#include "Fakes.h"
#include "TestUtil.h"
#include "platform/Console.h"
#include "screens/MainFlow.h"
#include "screens/Onboarding.h"
#include "screens/StaticScreens.h"

#include <QSignalSpy>
#include <QtTest>

using namespace vornel;
using namespace vornel::test;

namespace {

struct CountingDetector : FaceDetector {
    int faces;
    explicit CountingDetector(int n) : faces(n) {}
    DetectionResult detect(const QImage&) const override
    {
        return {QList<Observation>(faces, Observation{}), std::nullopt};
    }
};

QImage selfie()
{
    QImage image(32, 32, QImage::Format_RGB32);
    image.fill(Qt::darkYellow);
    return image;
}

// A fake service whose prediction ends with `status` and `output`.
FakeService::Handler serviceFor(QString status, QByteArray output)
{
    return [=](const RecordedRequest& r) {
        if (r.path.startsWith("/v1/models/"))
            return FakeResponse::json(modelJson(true));
        if (r.path.endsWith("/cancel"))
            return FakeResponse::json(predictionJson("p1", "canceled"));
        return FakeResponse::json(predictionJson("p1", status, output),
                                  r.method == "POST" ? 201 : 200);
    };
}

PredictionViewModel::Configuration configFor(const FakeService& service)
{
    auto c = PredictionViewModel::defaultConfiguration();
    c.serviceUrl = service.url("/v1/");
    c.token = QStringLiteral("t");
    c.loadTemplate = [](const QString&) { return std::optional<QByteArray>("PNG"); };
    return c;
}

} // namespace

class TestScreens : public QObject {
    Q_OBJECT

    std::shared_ptr<FakeScenes> m_scenes = std::make_shared<FakeScenes>();
    std::shared_ptr<FakePasteboard> m_pasteboard = std::make_shared<FakePasteboard>();
    std::shared_ptr<FakeUrls> m_urls = std::make_shared<FakeUrls>();
    std::shared_ptr<FakeWindows> m_windows = std::make_shared<FakeWindows>();
    std::shared_ptr<FakeNotifications> m_notifications = std::make_shared<FakeNotifications>();
    std::shared_ptr<FakePhotos> m_photos = std::make_shared<FakePhotos>();
    std::unique_ptr<ScopedPlatform> m_platform;
    std::unique_ptr<TempDefaults> m_defaults;

private slots:
    void init()
    {
        m_scenes = std::make_shared<FakeScenes>();
        m_pasteboard = std::make_shared<FakePasteboard>();
        m_urls = std::make_shared<FakeUrls>();
        m_windows = std::make_shared<FakeWindows>();
        m_notifications = std::make_shared<FakeNotifications>();
        m_photos = std::make_shared<FakePhotos>();
        m_platform.reset();
        m_platform =
            std::make_unique<ScopedPlatform>(PlatformServices{.windows = m_windows,
                                                              .scenes = m_scenes,
                                                              .urls = m_urls,
                                                              .photos = m_photos,
                                                              .notifications = m_notifications,
                                                              .pasteboard = m_pasteboard});
        m_defaults = std::make_unique<TempDefaults>();
    }
    void cleanup()
    {
        m_platform.reset();
        m_defaults.reset();
    }

    void settingsFeedback()
    {
        SettingView view;
        QCOMPARE(view.showMessageAlert(), false);
        view.sendFeedback();
        QCOMPARE(view.showMessageAlert(), true);
        QCOMPARE(m_pasteboard->strings, QStringList{supportEmail()});
        QCOMPARE(view.alertMessage(), "Send feedback by email to " + supportEmail() +
                                          " The address is saved on your clipboard.");
        view.setShowMessageAlert(false); // "Got it!" closes the alert
        view.rateApp();
        QCOMPARE(m_urls->opened.size(), 1);
        QVERIFY(!m_defaults->store->value("reviewWorthyActionCount"));
    }

    void helpPages_data()
    {
        QTest::addColumn<QString>("page");
        QTest::addColumn<QStringList>("titles");
        QTest::addColumn<QString>("messageStart");
        QTest::newRow("everything else")
            << "EverythingElseView"
            << QStringList{"Will uploaded photos be deleted?", "I can't save the GIF on my iPhone",
                           "Still have questions?"}
            << "Send your feedback via email to ";
        QTest::newRow("don't like the result")
            << "DontLikeResultView"
            << QStringList{"I Don't Like the Results", "Tips for Satisfying Results",
                           "Still Have Questions?"}
            << "Send feedback via email to ";
    }
    void helpPages()
    {
        QFETCH(QString, page);
        QFETCH(QStringList, titles);
        QFETCH(QString, messageStart);
        std::unique_ptr<HelpPage> view;
        if (page == "EverythingElseView")
            view = std::make_unique<EverythingElseView>();
        else
            view = std::make_unique<DontLikeResultView>();
        QStringList actual;
        for (const FAQSection& e : view->entries())
            actual << e.title;
        QCOMPARE(actual, titles);
        QCOMPARE(view->alertMessage(),
                 messageStart + supportEmail() +
                     ". The email address has been copied to your clipboard for your convenience.");
        for (int round = 0; round < 2; ++round) {
            view->sendMessage();
            QCOMPARE(view->showMessageAlert(), true);
            view->setShowMessageAlert(false);
        }
        QCOMPARE(m_pasteboard->strings, (QStringList{supportEmail(), supportEmail()}));
    }

    void tipsAnswerLines()
    {
        DontLikeResultView view;
        const QStringList lines = view.entries().at(1).content.split('\n');
        QCOMPARE(lines.size(), 5);
        QCOMPARE(lines[1], QString());
        for (int i = 2; i < 5; ++i)
            QVERIFY(lines[i].startsWith(QString::fromUtf8("\u2022 ")));
    }

    void onboardingPages()
    {
        const auto& pages = OnboardingDataModel::pages();
        QCOMPARE(pages.size(), 3);
        QCOMPARE(pages[0].step.image, "ic_onboarding_1");
        QCOMPARE(pages[1].step.heading, "Elevate Your Selfies");
        QCOMPARE(pages[2].step.text,
                 "Unlock the potential of your selfies with AI-powered photo perfection");
    }

    void onboardingContinue()
    {
        OnboardingContentView container;
        QSignalSpy dismissed(&container, &OnboardingContentView::dismissRequested);
        OnboardingViewPure& pager = *container.pager();
        QList<int> requests;
        for (int tap = 0; tap < 3; ++tap) {
            pager.continueTapped();
            const int before = m_scenes->reviewRequests;
            QCoreApplication::processEvents(); // the requests are posted to the UI loop
            requests << m_scenes->reviewRequests - before;
        }
        QCOMPARE(requests, (QList<int>{0, 1, 1}));
        QCOMPARE(pager.curSlideIndex(), 2);
        QVERIFY(container.onboardingDone());
        QCOMPARE(dismissed.count(), 1);
    }

    void onboardingDrag_data()
    {
        QTest::addColumn<int>("start");
        QTest::addColumn<double>("width");
        QTest::addColumn<int>("end");
        QTest::newRow("-50 stays") << 1 << -50.0 << 1;
        QTest::newRow("50 stays") << 1 << 50.0 << 1;
        QTest::newRow("-51 forward") << 1 << -51.0 << 2;
        QTest::newRow("51 back") << 1 << 51.0 << 0;
        QTest::newRow("right on the first page") << 0 << 200.0 << 0;
        QTest::newRow("left on the last page") << 2 << -200.0 << 2;
    }
    void onboardingDrag()
    {
        QFETCH(int, start);
        QFETCH(double, width);
        QFETCH(int, end);
        OnboardingViewPure pager;
        pager.setDistance(390);
        for (int i = 0; i < start; ++i)
            pager.dragChanged(-100, 0), pager.dragEnded();
        QCOMPARE(pager.curSlideIndex(), start);
        const int before = m_scenes->reviewRequests;
        pager.dragChanged(width, 30);
        QCOMPARE(pager.pageOffset(pager.curSlideIndex()), width); // follows the finger
        pager.dragEnded();
        QCoreApplication::processEvents();
        QCOMPARE(pager.curSlideIndex(), end);
        QCOMPARE(pager.slideGestureWidth(), 0.0);
        QCOMPARE(pager.pageOffset(end + 1), 390.0);
        QCOMPARE(m_scenes->reviewRequests, before); // swiping never asks for a review
        QCOMPARE(pager.dotIsBlue(end), true);
        QCOMPARE(pager.dotIsBlue(end + 1), false);
    }

    void rejectedPhotoPopup()
    {
        PopupBottomFailedImagePickView popup;
        popup.setIsPresented(true);
        popup.understood();
        QCOMPARE(popup.isPresented(), false);
        QVERIFY(PopupBottomFailedImagePickView::closesOnOutsideTap);
        QVERIFY(!FloatBottomImageSaved::closesOnOutsideTap);
        QCOMPARE(FloatBottomImageSaved::autoCloseMs, 2000);
    }

    void homeFaceCheck_data()
    {
        QTest::addColumn<int>("faces");
        QTest::addColumn<bool>("upload");
        QTest::addColumn<bool>("popup");
        QTest::addColumn<QString>("title");
        QTest::newRow("one face") << 1 << true << false << "";
        QTest::newRow("no face") << 0 << false << true << "No face detected";
        QTest::newRow("two faces") << 2 << false << true << "2 faces detected";
    }
    void homeFaceCheck()
    {
        QFETCH(int, faces);
        QFETCH(bool, upload);
        QFETCH(bool, popup);
        QFETCH(QString, title);
        HomeView home;
        home.setFaceDetector(std::make_shared<CountingDetector>(faces));
        QSignalSpy changes(&home, &HomeView::failedImagePickTextChanged);
        home.setProfileImage(QImage()); // the initial empty image never starts a check
        QTest::qWait(50);
        QVERIFY(!home.showUploadView() && !home.showFailedImagePickPopupBottomView());
        home.setProfileImage(selfie());
        QTRY_VERIFY(home.showUploadView() || home.showFailedImagePickPopupBottomView());
        QCOMPARE(home.showUploadView(), upload);
        QCOMPARE(home.showFailedImagePickPopupBottomView(), popup);
        QCOMPARE(home.failedImagePickText(), title);
    }

    void homeAppearanceAndOnboarding()
    {
        {
            HomeView first;
            first.onAppear();
            QCOMPARE(*m_defaults->store->value("reviewWorthyActionCount"), QVariant(qint64(1)));
            QCOMPARE(m_windows->styles, QList<InterfaceStyle>{InterfaceStyle::dark});
            QVERIFY(first.showOnboarding());
            QCOMPARE(*m_defaults->store->value("showOnboarding"), QVariant(true));
            first.setShowOnboarding(false); // the cover closed
            first.onAppear();
            QVERIFY(!first.showOnboarding());
        }
        HomeView nextLaunch;
        nextLaunch.onAppear();
        QVERIFY(!nextLaunch.showOnboarding());
        QCOMPARE(*m_defaults->store->value("reviewWorthyActionCount"),
                 QVariant(qint64(0))); // third: asked
        QCOMPARE(m_scenes->reviewRequests, 1);
    }

    void uploadScreen_data()
    {
        QTest::addColumn<QString>("choice"); // empty: change nothing
        QTest::addColumn<bool>("confirm");
        QTest::addColumn<bool>("status");
        QTest::addColumn<QString>("gender");
        QTest::newRow("confirm unchanged") << "" << true << true << "man";
        QTest::newRow("choose Woman") << "woman" << true << true << "woman";
        QTest::newRow("close button") << "woman" << false << false << "man";
    }
    void uploadScreen()
    {
        QFETCH(QString, choice);
        QFETCH(bool, confirm);
        QFETCH(bool, status);
        QFETCH(QString, gender);
        HomeView home;
        home.setSelectedGender("woman");
        home.setSelectedGender("man");
        UploadView upload;
        upload.setHome(&home);
        QCOMPARE(upload.selectedGender(), "man");
        QCOMPARE(upload.hasPhoto(), false);
        QCOMPARE(UploadView::genderLabel("woman"), "Woman");
        QStringList order;
        connect(&upload, &UploadView::dismissRequested, this, [&] { order << "dismiss"; });
        connect(&home, &HomeView::comfirmUploadStatusChanged, this, [&] { order << "status"; });
        if (!choice.isEmpty())
            upload.setSelectedGender(choice);
        if (confirm)
            upload.confirm();
        else
            upload.close();
        QCOMPARE(home.comfirmUploadStatus(), status);
        QCOMPARE(home.selectedGender(), gender);
        QCOMPARE(order.first(), "dismiss"); // closes first
        home.uploadViewDismissed();
        QCOMPARE(home.showResultView(), status);
        home.resultViewDismissed();
        QCOMPARE(home.comfirmUploadStatus(), false);
    }

    // The result page from each outcome of the service.
    void resultPage_data()
    {
        QTest::addColumn<QString>("status");
        QTest::addColumn<QByteArray>("output");
        QTest::addColumn<bool>("present");
        QTest::addColumn<bool>("processingError");
        QTest::addColumn<bool>("noOutput");
        QTest::newRow("result") << "succeeded" << QByteArray("\"https://img.test/p.png\"") << true
                                << false << false;
        QTest::newRow("failed") << "failed" << QByteArray("null") << false << true << false;
        QTest::newRow("no output") << "succeeded" << QByteArray("null") << false << false << true;
        QTest::newRow("canceled stays waiting")
            << "canceled" << QByteArray("null") << false << false << false;
        QTest::newRow("address that does not parse")
            << "succeeded" << QByteArray("\"not a url\"") << false << false << false;
    }
    void resultPage()
    {
        QFETCH(QString, status);
        QFETCH(QByteArray, output);
        QFETCH(bool, present);
        QFETCH(bool, processingError);
        QFETCH(bool, noOutput);
        FakeService service(serviceFor(status, output));
        HomeView home;
        home.setPredictionConfiguration(configFor(service));
        home.setProfileImage(selfie());
        ResultView page;
        page.setHome(&home);
        ConsoleCapture console;
        page.startOnAppear();
        QVERIFY(page.showLoadingIndicator());
        QCOMPARE(page.title(), "We're creating your profile picture");
        QTRY_VERIFY(!console.lines().isEmpty());
        QCOMPARE(page.resultPresent(), present);
        QCOMPARE(page.showProcessingError(), processingError);
        QCOMPARE(page.showNoOutputAlert(), noOutput);
        page.downloadResult(); // while waiting: nothing
        QVERIFY(!page.showReviewToFirstTimeDownload());
        QVERIFY(!home.userSettings()->firstTimeDownload());
        if (present) {
            page.handleResultAppeared(); // the portrait view came on screen
            page.handleResultAppeared(); // again: the same value, no second burst
            QCOMPARE(page.showConfetti(), 1);
            QCOMPARE(page.title(), "Congratulations! Here's your outcome");
            QCOMPARE(m_defaults->store->value("imageHistory")->toList().size(), 2);
            QCOMPARE(m_notifications->requests.size(), 2);
        } else {
            QVERIFY(!m_defaults->store->value("imageHistory"));
            QVERIFY(m_notifications->requests.isEmpty());
        }
        QSignalSpy dismissed(&page, &ResultView::dismissRequested);
        page.closeAndCancel();
        QCOMPARE(dismissed.count(), 1);
        QTRY_COMPARE(service.requestLines().last(), "POST /v1/predictions/p1/cancel");
    }

    void firstDownloadAsksForAReview()
    {
        FakeService service;
        service.setHandler(serviceFor("succeeded", "\"" + service.url("/p.png").toUtf8() + "\""));
        HomeView home;
        home.setPredictionConfiguration(configFor(service));
        home.setProfileImage(selfie());
        ResultView page;
        page.setHome(&home);
        page.startOnAppear();
        QTRY_VERIFY(page.resultPresent());
        page.handleResultAppeared();

        page.downloadResult();
        QVERIFY(page.showReviewToFirstTimeDownload());
        QVERIFY(home.userSettings()->firstTimeDownload());
        QTRY_VERIFY(page.showFloatBottomImageSaveAlert()); // after the continuation
        QCOMPARE(m_photos->committed.size(), 1);
        page.setShowReviewToFirstTimeDownload(false);
        // A second save while the popup is open flips it closed.
        page.downloadResult();
        QTRY_VERIFY(!page.showFloatBottomImageSaveAlert());
        QVERIFY(!page.showReviewToFirstTimeDownload()); // asked only once
        page.reviewAccepted();
        QCOMPARE(m_urls->opened.size(), 1);
    }

    void likeAndDislike()
    {
        HomeView home;
        ResultView page;
        page.setHome(&home);
        page.likeResult();
        QVERIFY(page.didLike() && !page.didDislike());
        page.dislikeResult();
        QVERIFY(!page.didLike() && page.didDislike());
        page.likeResult();
        QVERIFY(page.didLike() && !page.didDislike());
        QCOMPARE(m_scenes->reviewRequests, 2); // every like asks
    }
};

QTEST_MAIN(TestScreens)
#include "tst_screens.moc"
