#include "CliRunner.h"

#include "generation/FaceCheck.h"
#include "generation/ImagePicker.h"
#include "generation/PredictionViewModel.h"
#include "platform/Download.h"
#include "vornel_config.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFileInfo>
#include <QImageReader>
#include <QSaveFile>
#include <QTimer>
#include <cstdio>
#include <unistd.h>

namespace vornel::cli {

namespace {

void printErr(const QString& text)
{
    const QByteArray bytes = text.toUtf8() + '\n';
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stderr);
    std::fflush(stderr);
}

// Runs a task to its end on this thread's event loop.
template <typename T> T runToEnd(QCoro::Task<T>&& task)
{
    QEventLoop loop;
    std::optional<T> result;
    QCoro::connect(std::move(task), &loop, [&](auto&& value) {
        result.emplace(std::move(value));
        loop.quit();
    });
    if (!result)
        loop.exec();
    return std::move(*result);
}

void runToEnd(QCoro::Task<>&& task)
{
    QEventLoop loop;
    bool done = false;
    QCoro::connect(std::move(task), &loop, [&] {
        done = true;
        loop.quit();
    });
    if (!done)
        loop.exec();
}

QCoro::Task<std::optional<QByteArray>> tryDownload(QUrl url, QString* error)
{
    try {
        co_return co_await downloadBytes(url);
    } catch (const Error& e) {
        *error = e.description();
        co_return std::nullopt;
    }
}

QString defaultOutputName(const QString& predictionId, const QUrl& url)
{
    QString suffix = QFileInfo(url.path()).suffix().toLower();
    static const QStringList known{"png", "jpg", "jpeg", "webp", "gif"};
    if (!known.contains(suffix))
        suffix = QStringLiteral("png");
    const QString id = predictionId.isEmpty() ? QStringLiteral("portrait") : predictionId;
    QString safe;
    for (QChar c : id)
        safe.append(c.isLetterOrNumber() || c == u'-' || c == u'_' ? c : u'_');
    return QStringLiteral("vornel-%1.%2").arg(safe, suffix);
}

int checkFace(const QCommandLineParser& parser)
{
    const QStringList positional = parser.positionalArguments();
    if (positional.size() != 2) {
        printErr(QStringLiteral("usage: vornel-cli check-face PHOTO"));
        return exitBadInput;
    }
    const LoadedPhoto loaded = loadPhoto(positional.at(1));
    if (loaded.image.isNull()) {
        printErr(
            QStringLiteral("Cannot read the photo %1: %2").arg(positional.at(1), loaded.error));
        return exitBadInput;
    }
    const FaceCheckOutcome outcome =
        faceCheckOutcome(FaceDetector::standard()->detect(loaded.image));
    switch (outcome.kind) {
    case FaceCheckOutcome::Kind::accepted:
        std::fputs("accepted\n", stdout);
        return exitOk;
    case FaceCheckOutcome::Kind::rejected:
        std::fputs((outcome.title + u'\n').toUtf8().constData(), stdout);
        return exitNoPortrait;
    case FaceCheckOutcome::Kind::ignored:
        std::fputs("ignored\n", stdout);
        return exitNoPortrait;
    }
    return exitNoPortrait;
}

int generate(const QCommandLineParser& parser)
{
    const QStringList positional = parser.positionalArguments();
    if (positional.size() != 2) {
        printErr(QStringLiteral("usage: vornel-cli generate PHOTO [--set man|woman] [--out FILE]"));
        return exitBadInput;
    }
    const QString photoPath = positional.at(1);
    const QString set = parser.value(QStringLiteral("set"));
    const std::optional<Gender> gender = genderFromRawValue(set);
    if (!gender) {
        printErr(QStringLiteral("--set takes man or woman, not \"%1\".").arg(set));
        return exitBadInput;
    }

    const LoadedPhoto loaded = loadPhoto(photoPath);
    if (loaded.image.isNull()) {
        printErr(QStringLiteral("Cannot read the photo %1: %2").arg(photoPath, loaded.error));
        return exitBadInput;
    }
    const QImage& photo = loaded.image;
    // The same check the app makes before a photo may be uploaded.
    const FaceCheckOutcome check = faceCheckOutcome(FaceDetector::standard()->detect(photo));
    if (check.kind != FaceCheckOutcome::Kind::accepted) {
        printErr(check.kind == FaceCheckOutcome::Kind::rejected
                     ? check.title
                     : QStringLiteral("The face check gave no result."));
        return exitNoPortrait;
    }

    PredictionViewModel::Configuration configuration = PredictionViewModel::defaultConfiguration();
    if (qEnvironmentVariableIsSet("REPLICATE_API_TOKEN"))
        configuration.token = qEnvironmentVariable("REPLICATE_API_TOKEN");
    if (parser.isSet(QStringLiteral("service-url")))
        configuration.serviceUrl = parser.value(QStringLiteral("service-url"));
    if (parser.isSet(QStringLiteral("poll-delay"))) {
        bool ok = false;
        const double delay = parser.value(QStringLiteral("poll-delay")).toDouble(&ok);
        if (!ok || delay < 0) {
            printErr(QStringLiteral("--poll-delay takes a number of seconds."));
            return exitBadInput;
        }
        configuration.waitPolicy.baseDelay = delay;
        configuration.waitPolicy.jitterWidth = 0;
    }

    // One live progress line on a terminal: elapsed seconds, last status, polls.
    const bool live = isatty(fileno(stderr));
    QElapsedTimer elapsed;
    elapsed.start();
    QString lastStatus = QStringLiteral("submitting");
    int polls = 0;
    auto showProgress = [&] {
        if (!live)
            return;
        const QString line = QStringLiteral("\r\033[K%1 s  %2  polls: %3")
                                 .arg(elapsed.elapsed() / 1000)
                                 .arg(lastStatus)
                                 .arg(polls);
        std::fputs(line.toUtf8().constData(), stderr);
        std::fflush(stderr);
    };
    configuration.onPoll = [&](const PredictionRecord& record) {
        ++polls;
        lastStatus = wireText(record.status);
        showProgress();
    };
    QTimer ticker;
    QObject::connect(&ticker, &QTimer::timeout, showProgress);
    ticker.start(1000);
    showProgress();

    PredictionViewModel model(configuration);
    runToEnd(model.startGeneration(photo, *gender));
    ticker.stop();
    if (live)
        std::fputs("\r\033[K", stderr);

    if (!model.prediction()) {
        printErr(QStringLiteral("No prediction was made; see the line above."));
        return exitNoPortrait;
    }
    const PredictionRecord& record = *model.prediction();
    switch (record.status) {
    case PredictionStatus::failed:
        printErr(QStringLiteral("The prediction failed: %1")
                     .arg(record.errorText.value_or(QStringLiteral("no reason given"))));
        return exitNoPortrait;
    case PredictionStatus::canceled:
        printErr(QStringLiteral("The prediction was canceled."));
        return exitNoPortrait;
    default:
        break;
    }
    const std::optional<QUrl> url = model.resultURL();
    if (model.imageURL().isEmpty() || !url) {
        printErr(QStringLiteral("The prediction has no output."));
        return exitNoPortrait;
    }

    QString error;
    const std::optional<QByteArray> bytes = runToEnd(tryDownload(*url, &error));
    if (!bytes) {
        printErr(QStringLiteral("Cannot download the portrait: %1").arg(error));
        return exitDownloadFailed;
    }
    const QString out = parser.isSet(QStringLiteral("out"))
                            ? parser.value(QStringLiteral("out"))
                            : defaultOutputName(model.predictionId(), *url);
    QSaveFile file(out);
    if (!file.open(QIODevice::WriteOnly) || file.write(*bytes) != bytes->size() || !file.commit()) {
        printErr(QStringLiteral("Cannot write %1: %2").arg(out, file.errorString()));
        return exitDownloadFailed;
    }
    const QByteArray path = QFileInfo(out).absoluteFilePath().toUtf8() + '\n';
    std::fputs(path.constData(), stdout);
    std::fflush(stdout);
    return exitOk;
}

} // namespace

int run(const QStringList& arguments)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Vornel on the command line.\n\n"
        "Commands:\n"
        "  check-face PHOTO Check that PHOTO shows exactly one face; prints\n"
        "                   \"accepted\" or the rejection (\"No face detected\",\n"
        "                   \"<n> faces detected\", \"Problem processing image\").\n"
        "  generate PHOTO   Check PHOTO as above, then turn it into a portrait with\n"
        "                   the face-swap model and download it. Prints the model's\n"
        "                   console lines, a live progress line on a terminal, and\n"
        "                   the saved file's path.\n\n"
        "The token comes from REPLICATE_API_TOKEN when it is set, otherwise the one\n"
        "compiled in.\n\n"
        "Exit status: 0 portrait saved (check-face: accepted); 1 no portrait (the\n"
        "photo was rejected, the prediction failed, was canceled, had no output,\n"
        "or none was made); 2 bad usage or unreadable photo; 3 the portrait could\n"
        "not be downloaded or written."));
    parser.addHelpOption();
    parser.addPositionalArgument(QStringLiteral("command"),
                                 QStringLiteral("check-face or generate"));
    parser.addOption({QStringLiteral("set"), QStringLiteral("Template set: man or woman."),
                      QStringLiteral("man|woman"), QStringLiteral("man")});
    parser.addOption({QStringLiteral("out"),
                      QStringLiteral("Where to save the portrait (default: vornel-<id>.<ext> "
                                     "in the current folder)."),
                      QStringLiteral("FILE")});
    parser.addOption({QStringLiteral("service-url"),
                      QStringLiteral("Base address of the prediction service (default: %1).")
                          .arg(QString::fromUtf8(config::serviceUrl)),
                      QStringLiteral("URL")});
    parser.addOption({QStringLiteral("poll-delay"),
                      QStringLiteral("First delay between polls in seconds, without jitter "
                                     "(default: 2 with jitter)."),
                      QStringLiteral("SECONDS")});
    if (!parser.parse(arguments)) {
        printErr(parser.errorText());
        return exitBadInput;
    }
    if (parser.isSet(QStringLiteral("help"))) {
        std::fputs(parser.helpText().toUtf8().constData(), stdout);
        return exitOk;
    }
    const QStringList positional = parser.positionalArguments();
    if (positional.isEmpty()) {
        printErr(parser.helpText());
        return exitBadInput;
    }
    if (positional.first() == u"generate")
        return generate(parser);
    if (positional.first() == u"check-face")
        return checkFace(parser);
    printErr(QStringLiteral("Unknown command \"%1\"; see --help.").arg(positional.first()));
    return exitBadInput;
}

} // namespace vornel::cli
