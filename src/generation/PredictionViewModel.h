#pragma once

#include "generation/Gender.h"
#include "generation/service/Records.h"
#include "generation/service/WaitPolicy.h"

#include <QCoroTask>
#include <QImage>
#include <QObject>
#include <QStringList>
#include <QUrl>
#include <functional>
#include <memory>
#include <optional>

namespace vornel {

// Turns one picked photo and one template set into one finished prediction of
// the face-swap model, and publishes it for the result screen. It reports only
// through its properties and console lines; its operations never fail towards
// the caller.
class PredictionViewModel : public QObject {
    Q_OBJECT
    Q_PROPERTY(QString predictionId READ predictionId NOTIFY predictionIdChanged)
    Q_PROPERTY(QString imageURL READ imageURL NOTIFY imageURLChanged)
    // The status of the published prediction as its wire text; empty while
    // there is none.
    Q_PROPERTY(QString predictionStatus READ predictionStatus NOTIFY predictionChanged)
    Q_PROPERTY(bool hasPrediction READ hasPrediction NOTIFY predictionChanged)
    Q_PROPERTY(QUrl resultURL READ resultURLOrEmpty NOTIFY predictionChanged)

public:
    // What the model talks to. The defaults are the compiled-in configuration;
    // tests and the command-line tool point it at another service.
    struct Configuration {
        QString serviceUrl;
        QString token;
        QString modelName;
        QStringList manImages;
        QStringList womanImages;
        WaitPolicy waitPolicy;
        // Loads a template asset as PNG bytes; nothing when missing.
        std::function<std::optional<QByteArray>(const QString&)> loadTemplate;
        // Called on the UI thread after each poll of the prediction.
        std::function<void(const PredictionRecord&)> onPoll;
    };
    static Configuration defaultConfiguration();

    explicit PredictionViewModel(QObject* parent = nullptr);
    explicit PredictionViewModel(Configuration configuration, QObject* parent = nullptr);
    ~PredictionViewModel() override;

    const std::optional<PredictionRecord>& prediction() const { return m_prediction; }
    QString predictionId() const { return m_predictionId; }
    QString imageURL() const { return m_imageURL; }
    QString predictionStatus() const;
    bool hasPrediction() const { return m_prediction.has_value(); }

    // The address in the prediction's output, when it parses as a URL.
    std::optional<QUrl> resultURL() const;
    QUrl resultURLOrEmpty() const { return resultURL().value_or(QUrl()); }

    const QString replicateAPIKey;
    const QString modelName;
    const QStringList professionalManImages;
    const QStringList professionalWomanImages;

    // Runs one generation; a null image counts as absent. Call on the UI
    // thread; it resumes there after each network call.
    QCoro::Task<> startGeneration(QImage photo, Gender gender);
    // Asks the service to cancel the recorded prediction, from a background
    // thread. The returned task ends when the request has been answered.
    QCoro::Task<> cancelGeneration();

    // For QML: start the operations without awaiting them.
    Q_INVOKABLE void start(const QImage& photo, const QString& genderRawValue);
    Q_INVOKABLE void cancel();

    // PNG bytes of a random template of the set. Throws GeneralError with
    // domain "PredictionViewModel", code 0.
    QByteArray loadTemplateImageData(Gender gender) const;

signals:
    void predictionChanged();
    void imageURLChanged();
    void predictionIdChanged();

private:
    struct SharedId; // predictionId as the background thread reads it
    Configuration m_config;
    std::optional<PredictionRecord> m_prediction;
    QString m_predictionId;
    QString m_imageURL;
    std::shared_ptr<SharedId> m_sharedId;
};

} // namespace vornel
