#include "generation/PredictionViewModel.h"

#include "generation/PngEncoding.h"
#include "generation/TemplateImages.h"
#include "generation/service/PredictionServiceClient.h"
#include "platform/BackgroundExecutor.h"
#include "platform/Console.h"
#include "platform/Logging.h"
#include "platform/SecureRandom.h"
#include "vornel_config.h"

#include <QCoroFuture>
#include <QMutex>
#include <QPointer>

namespace vornel {

struct PredictionViewModel::SharedId {
    QMutex mutex;
    QString value;
};

namespace {

JsonValue pngDataUri(const QByteArray& png)
{
    JsonData data;
    data.mimeType = QStringLiteral("image/png");
    data.bytes = png;
    return JsonValue(std::move(data));
}

} // namespace

PredictionViewModel::Configuration PredictionViewModel::defaultConfiguration()
{
    Configuration c;
    c.serviceUrl = QString::fromUtf8(config::serviceUrl);
    c.token = QString::fromUtf8(config::serviceToken);
    c.modelName = QString::fromUtf8(config::modelName);
    c.manImages = templateImages::manNames();
    c.womanImages = templateImages::womanNames();
    c.loadTemplate = &templateImages::loadPng;
    return c;
}

PredictionViewModel::PredictionViewModel(QObject* parent)
    : PredictionViewModel(defaultConfiguration(), parent)
{
}

PredictionViewModel::PredictionViewModel(Configuration configuration, QObject* parent)
    : QObject(parent), replicateAPIKey(configuration.token), modelName(configuration.modelName),
      professionalManImages(configuration.manImages),
      professionalWomanImages(configuration.womanImages), m_config(std::move(configuration)),
      m_sharedId(std::make_shared<SharedId>())
{
    if (!m_config.loadTemplate)
        m_config.loadTemplate = &templateImages::loadPng;
}

PredictionViewModel::~PredictionViewModel() = default;

QString PredictionViewModel::predictionStatus() const
{
    return m_prediction ? wireText(m_prediction->status) : QString();
}

std::optional<QUrl> PredictionViewModel::resultURL() const
{
    if (!m_prediction || !m_prediction->output || m_prediction->output->isNull())
        return std::nullopt;
    const QString text = m_prediction->output->textForm();
    const QUrl url(text, QUrl::StrictMode);
    if (text.isEmpty() || !url.isValid() || url.isRelative())
        return std::nullopt;
    return url;
}

QByteArray PredictionViewModel::loadTemplateImageData(Gender gender) const
{
    const QStringList& names =
        gender == Gender::man ? professionalManImages : professionalWomanImages;
    if (names.isEmpty())
        throw GeneralError(QStringLiteral("PredictionViewModel"), 0,
                           QStringLiteral("No images available for the selected gender."));
    const QString name = names.at(qsizetype(secureRandom::uniformBelow(quint64(names.size()))));
    std::optional<QByteArray> png = m_config.loadTemplate(name);
    if (!png || png->isEmpty())
        throw GeneralError(QStringLiteral("PredictionViewModel"), 0,
                           QStringLiteral("Failed to load image data for ") + name +
                               QStringLiteral("."));
    return *std::move(png);
}

QCoro::Task<> PredictionViewModel::startGeneration(QImage photo, Gender gender)
{
    // The model may go away while a request is under way (the result screen
    // closed): every resumption checks before touching it.
    QPointer<PredictionViewModel> self(this);

    std::optional<QByteArray> photoPng = encodePng(photo);
    photo = QImage();
    if (!photoPng) {
        consoleLine(QStringLiteral("Error: Invalid or missing input image."));
        co_return;
    }

    WaitPolicy policy = m_config.waitPolicy;
    PredictionServiceClient client(m_config.serviceUrl, replicateAPIKey, std::nullopt, policy);
    if (m_config.onPoll)
        client.setPollObserver(m_config.onPoll);

    try {
        const QString model = modelName;
        const ModelRecord record = co_await client.fetchModel(model);
        if (!self)
            co_return;
        if (!record.latestVersion) {
            consoleLine(QStringLiteral("Error: Latest model version not found."));
            co_return;
        }
        const QByteArray templatePng = loadTemplateImageData(gender);

        JsonObject input;
        input.insert(QStringLiteral("swap_image"), pngDataUri(*photoPng));
        input.insert(QStringLiteral("input_image"), pngDataUri(templatePng));
        photoPng.reset();

        PredictionRecord finished = co_await client.submitPrediction(
            record.latestVersion->id, std::move(input), std::nullopt, true);
        if (!self)
            co_return;

        const QString url =
            finished.output && !finished.output->isNull() ? finished.output->textForm() : QString();
        const QString id = finished.id;
        m_prediction = std::move(finished);
        emit predictionChanged();
        if (m_imageURL != url) {
            m_imageURL = url;
            emit imageURLChanged();
        } else {
            m_imageURL = url;
        }
        {
            QMutexLocker lock(&m_sharedId->mutex);
            m_sharedId->value = id;
        }
        if (m_predictionId != id) {
            m_predictionId = id;
            emit predictionIdChanged();
        }
        consoleLine(QStringLiteral("Prediction successful. Image URL: ") + m_imageURL);
    } catch (const Error& error) {
        consoleLine(QStringLiteral("Error during prediction: ") + error.description());
    } catch (const std::exception& error) {
        consoleLine(QStringLiteral("Error during prediction: ") + QString::fromUtf8(error.what()));
    }
}

QCoro::Task<> PredictionViewModel::cancelGeneration()
{
    std::shared_ptr<SharedId> shared = m_sharedId;
    const QString serviceUrl = m_config.serviceUrl;
    const QString token = replicateAPIKey;
    QFuture<void> done = BackgroundExecutor::run([shared, serviceUrl, token]() -> QCoro::Task<> {
        QString id;
        {
            QMutexLocker lock(&shared->mutex);
            id = shared->value;
        }
        if (id.isEmpty()) {
            consoleLine(QStringLiteral("Error: No active prediction to cancel."));
            co_return;
        }
        PredictionServiceClient client(serviceUrl, token);
        try {
            const PredictionRecord record = co_await client.requestCancel(id);
            consoleLine(QStringLiteral("Prediction canceled: ") + wireText(record.status));
        } catch (const Error& error) {
            consoleLine(QStringLiteral("Error during cancellation: ") + error.description());
        } catch (const std::exception& error) {
            consoleLine(QStringLiteral("Error during cancellation: ") +
                        QString::fromUtf8(error.what()));
        }
    });
    co_await done;
}

void PredictionViewModel::start(const QImage& photo, const QString& genderRawValue)
{
    startGeneration(photo, genderFromChoice(genderRawValue));
}

void PredictionViewModel::cancel()
{
    cancelGeneration();
}

} // namespace vornel
