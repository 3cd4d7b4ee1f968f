// Building the prediction submit body (two PNG data URIs in compact JSON) and
// decoding a prediction record, against the straightforward Qt baseline.
//
//   bench_submit_body                 Google Benchmark timings
//   bench_submit_body --memory        peak extra resident memory of one build
//
// Run pinned to one core: taskset -c 0 build/bench/bench/bench_submit_body
#include "generation/PngEncoding.h"
#include "generation/TemplateImages.h"
#include "generation/service/PredictionServiceClient.h"
#include "generation/service/Records.h"

#include <QBuffer>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRandomGenerator>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <cstring>

using namespace vornel;

namespace {

// A photo-like frame: smooth gradients with sensor-like noise of a few
// levels, which is what makes real photos expensive to deflate.
QImage syntheticPhoto(int w, int h)
{
    QImage img(w, h, QImage::Format_RGB32);
    QRandomGenerator rng(42);
    for (int y = 0; y < h; ++y) {
        auto* line = reinterpret_cast<QRgb*>(img.scanLine(y));
        for (int x = 0; x < w; ++x) {
            const int n = int(rng.bounded(6));
            line[x] = qRgb(qMin(255, x * 200 / w + n), qMin(255, y * 180 / h + n),
                           qMin(255, (x + y) * 100 / (w + h) + 40 + n));
        }
    }
    return img;
}

const QImage& photo()
{
    static const QImage image = syntheticPhoto(1080, 1080);
    return image;
}

const QImage& templateImage()
{
    // The real shipped template m1, 1024x1536, plus the same noise so it is
    // as costly as a photographed template.
    static const QImage image = [] {
        QImage t = QImage::fromData(*templateImages::loadPng(QStringLiteral("m1")), "png")
                       .convertToFormat(QImage::Format_RGB32);
        QRandomGenerator rng(7);
        for (int y = 0; y < t.height(); ++y) {
            auto* line = reinterpret_cast<QRgb*>(t.scanLine(y));
            for (int x = 0; x < t.width(); ++x) {
                const int n = int(rng.bounded(6));
                const QRgb p = line[x];
                line[x] =
                    qRgb(qMin(255, qRed(p) + n), qMin(255, qGreen(p) + n), qMin(255, qBlue(p) + n));
            }
        }
        return t;
    }();
    return image;
}

QByteArray baselineBody(const QImage& a, const QImage& b)
{
    auto png = [](const QImage& image) {
        QByteArray bytes;
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        image.save(&buffer, "PNG");
        return bytes;
    };
    QJsonObject input;
    input.insert("swap_image", QString("data:image/png;base64," + png(a).toBase64()));
    input.insert("input_image", QString("data:image/png;base64," + png(b).toBase64()));
    QJsonObject top;
    top.insert("version", "0123456789abcdef");
    top.insert("input", input);
    return QJsonDocument(top).toJson(QJsonDocument::Compact);
}

JsonValue dataValue(QByteArray png)
{
    return JsonValue(JsonData{QStringLiteral("image/png"), std::move(png)});
}

QByteArray fastBody(const QImage& a, const QImage& b)
{
    JsonObject input;
    input.insert("swap_image", dataValue(*encodePng(a)));
    input.insert("input_image", dataValue(*encodePng(b)));
    return PredictionServiceClient::submitBody("0123456789abcdef", input, std::nullopt);
}

QByteArray fastBodyStoredTemplate(const QImage& a, const QByteArray& templatePng)
{
    JsonObject input;
    input.insert("swap_image", dataValue(*encodePng(a)));
    input.insert("input_image", dataValue(templatePng));
    return PredictionServiceClient::submitBody("0123456789abcdef", input, std::nullopt);
}

void BM_SubmitBody_QtBaseline(benchmark::State& state)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(baselineBody(photo(), templateImage()));
    state.counters["body_MB"] = double(baselineBody(photo(), templateImage()).size()) / 1e6;
}
BENCHMARK(BM_SubmitBody_QtBaseline)->Unit(benchmark::kMillisecond)->MinTime(3);

void BM_SubmitBody_Vornel(benchmark::State& state)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(fastBody(photo(), templateImage()));
    state.counters["body_MB"] = double(fastBody(photo(), templateImage()).size()) / 1e6;
}
BENCHMARK(BM_SubmitBody_Vornel)->Unit(benchmark::kMillisecond)->MinTime(3);

// Templates shipped as PNG files are sent as stored: only the photo is encoded.
void BM_SubmitBody_Vornel_StoredTemplatePng(benchmark::State& state)
{
    const QByteArray stored = *encodePng(templateImage());
    for (auto _ : state)
        benchmark::DoNotOptimize(fastBodyStoredTemplate(photo(), stored));
}
BENCHMARK(BM_SubmitBody_Vornel_StoredTemplatePng)->Unit(benchmark::kMillisecond)->MinTime(3);

void BM_EncodePng_Photo_QtDefault(benchmark::State& state)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(encodePngDefault(photo()));
}
BENCHMARK(BM_EncodePng_Photo_QtDefault)->Unit(benchmark::kMillisecond)->MinTime(2);

void BM_EncodePng_Photo_Vornel(benchmark::State& state)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(encodePng(photo()));
}
BENCHMARK(BM_EncodePng_Photo_Vornel)->Unit(benchmark::kMillisecond)->MinTime(2);

const QByteArray kPrediction =
    R"({"id":"ufawqhfynnddngldkgtslldrkq","model":"codeplugtech/face-swap","version":"278a81e7ebb22db98bcba54de985d22cc1abeead2754eb1f2af717247be69b34",)"
    R"("source":"api","input":{"swap_image":"data:image/png;base64,iVBORw0KGgo=","input_image":"data:image/png;base64,iVBORw0KGgo="},)"
    R"("output":"https:\/\/replicate.delivery\/pbxt\/abc\/out.png","status":"succeeded","error":null,"logs":"swapping\ndone\n",)"
    R"("metrics":{"predict_time":2.71},"created_at":"2024-01-02T03:04:05.123456Z","started_at":"2024-01-02T03:04:06.5Z",)"
    R"("completed_at":"2024-01-02T03:04:09Z","urls":{"get":"https:\/\/api.replicate.com\/v1\/predictions\/ufaw",)"
    R"("cancel":"https:\/\/api.replicate.com\/v1\/predictions\/ufaw\/cancel","stream":"https:\/\/stream.replicate.com\/v1\/files\/x"}})";

void BM_DecodePredictionRecord(benchmark::State& state)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(decodeBody<PredictionRecord>(kPrediction));
}
BENCHMARK(BM_DecodePredictionRecord)->Unit(benchmark::kMicrosecond);

long readKb(const char* field)
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith(field))
            return line.mid(qstrlen(field)).trimmed().split(' ').first().toLong();
    }
    return -1;
}

// Peak resident memory above the starting point while one body is built:
// writing 5 to clear_refs resets the high-water mark.
template <typename F> void measurePeak(const char* name, F build)
{
    QFile clear(QStringLiteral("/proc/self/clear_refs"));
    if (!clear.open(QIODevice::WriteOnly) || clear.write("5") != 1) {
        std::printf("%s: cannot reset the peak (needs /proc/self/clear_refs)\n", name);
        return;
    }
    clear.close();
    const long before = readKb("VmRSS:");
    const QByteArray body = build();
    const long peak = readKb("VmHWM:");
    const double extra = double(peak - before) * 1024.0;
    std::printf("%-34s body %8.2f MB  peak extra %8.2f MB  ratio %.2fx\n", name,
                double(body.size()) / 1e6, extra / 1e6, extra / double(body.size()));
}

} // namespace

int main(int argc, char** argv)
{
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    photo();
    templateImage();
    if (argc > 1 && std::strcmp(argv[1], "--memory") == 0) {
        // Warm up once so lazily loaded plugins and pools are not counted.
        baselineBody(photo(), templateImage());
        fastBody(photo(), templateImage());
        measurePeak("Qt baseline", [] { return baselineBody(photo(), templateImage()); });
        measurePeak("Vornel", [] { return fastBody(photo(), templateImage()); });
        // The decoded bodies must carry the same pixels.
        const QJsonObject a = QJsonDocument::fromJson(fastBody(photo(), templateImage())).object();
        const QString swap = a["input"].toObject()["swap_image"].toString().mid(22);
        const QImage back = QImage::fromData(QByteArray::fromBase64(swap.toLatin1()), "png");
        std::printf("photo decodes to the same pixels: %s\n",
                    back.convertToFormat(QImage::Format_RGB32) == photo() ? "yes" : "NO");
        return 0;
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
