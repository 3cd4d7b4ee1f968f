// Face check latency from a decoded image to the outcome, for the detector
// the app uses (OpenCV's LBP cascade on a working copy of at most 512x512
// pixels) and, measured in the same run, dlib's HOG frontal face detector
// with its defaults on the full image.
//
// Run pinned to one core: taskset -c 0 build/bench/bench/bench_facecheck
#include "generation/FaceCheck.h"

#include <QGuiApplication>
#include <QImage>
#include <benchmark/benchmark.h>
#include <dlib/image_processing/frontal_face_detector.h>
#include <opencv2/core/utility.hpp>

using namespace vornel;

namespace {

QImage astronaut(QSize size)
{
    static const QImage base(QStringLiteral(VORNEL_TEST_PHOTOS "/astronaut.png"));
    return base.scaled(size, Qt::KeepAspectRatioByExpanding, Qt::SmoothTransformation)
        .copy(QRect(QPoint(0, 0), size))
        .convertToFormat(QImage::Format_RGB32);
}

const QImage& photo(int which)
{
    static const QImage small = astronaut(QSize(1080, 1080));
    static const QImage large = astronaut(QSize(4032, 3024));
    return which == 0 ? small : large;
}

void BM_FaceCheck_Cascade(benchmark::State& state)
{
    const QImage& image = photo(int(state.range(0)));
    auto detector = FaceDetector::standard();
    qsizetype faces = -1;
    for (auto _ : state) {
        const DetectionResult r = detector->detect(image);
        const FaceCheckOutcome outcome = faceCheckOutcome(r);
        benchmark::DoNotOptimize(outcome);
        faces = r.results ? r.results->size() : -1;
    }
    state.counters["faces"] = double(faces);
}
BENCHMARK(BM_FaceCheck_Cascade)
    ->Arg(0)
    ->Arg(1)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(9)
    ->ReportAggregatesOnly(true);

void BM_FaceCheck_DlibHog(benchmark::State& state)
{
    const QImage& image = photo(int(state.range(0)));
    static dlib::frontal_face_detector detector = dlib::get_frontal_face_detector();
    size_t faces = 0;
    for (auto _ : state) {
        const QImage grey = image.convertToFormat(QImage::Format_Grayscale8);
        dlib::array2d<unsigned char> img(grey.height(), grey.width());
        for (int y = 0; y < grey.height(); ++y)
            std::memcpy(&img[y][0], grey.constScanLine(y), size_t(grey.width()));
        faces = detector(img).size();
        benchmark::DoNotOptimize(faces);
    }
    state.counters["faces"] = double(faces);
}
BENCHMARK(BM_FaceCheck_DlibHog)
    ->Arg(0)
    ->Arg(1)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

} // namespace

int main(int argc, char** argv)
{
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    cv::setNumThreads(1); // one core, as the goal is stated
    photo(0);
    photo(1);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
