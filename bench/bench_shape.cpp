// Building the outlines of the two shaped windows from their background pictures, as their load
// steps do: a hidden picture box holding the picture, key colour from the top left pixel.
#include "platform/Controls.h"
#include "platform/Picture.h"
#include "platform/Twips.h"
#include "shape/WindowRegion.h"

#if __has_include("art/Art.h")
#include "art/Art.h"
#define QXO_BENCH_HAVE_ART 1
#endif

#include "BenchSupport.h"

#include <QApplication>
#include <QImage>
#include <QWidget>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdint>
#include <vector>

namespace {

// The trainer's outline drawn by hand: key 0x00330000 with eight key pixels in each corner. Serves
// as a stand-in of the same size and run count when the real picture is missing.
QImage trainerLikeImage()
{
    const int width = 783;
    const int height = 590;
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y) {
        const int fromEdge = std::min(y, height - 1 - y);
        const int inset = fromEdge == 0 ? 4 : fromEdge == 1 ? 2 : fromEdge <= 3 ? 1 : 0;
        for (int x = 0; x < width; ++x) {
            const bool key = x < inset || x >= width - inset;
            image.setPixelColor(x, y, key ? QColor(0, 0, 51) : QColor(x % 256, y % 256, 120));
        }
    }
    return image;
}

void buildRegion(benchmark::State &state, const platform::Picture &picture)
{
    QWidget window;
    platform::PictureBox box(&window);
    box.setAutoSize(true);
    box.setPicture(picture);
    box.hide();
    int rects = 0;
    for (auto _ : state) {
        std::int32_t keyColor = 0;
        const QRegion region = shape::BuildWindowRegion(box, keyColor);
        rects = region.rectCount();
        benchmark::DoNotOptimize(rects);
    }
    state.counters["pixels"] = picture.size().width() * picture.size().height();
    state.counters["rects"] = rects;
}

} // namespace

void registerRegion(const char *name, const platform::Picture &picture)
{
    benchmark::RegisterBenchmark(name, [picture](benchmark::State &state) { buildRegion(state, picture); })
        ->Unit(benchmark::kMillisecond)
        ->Repetitions(15)
        ->ReportAggregatesOnly(true)
        ->ComputeStatistics("p99", percentile99);
}

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
#ifdef QXO_BENCH_HAVE_ART
    art::initResources();
#endif
    const struct
    {
        const char *name;
        QString resource;
    } windows[] = {
        {"BM_BuildRegion_Trainer", QStringLiteral(":/art/trainer-background.png")},
        {"BM_BuildRegion_Splash", QStringLiteral(":/art/splash.png")},
    };
    for (const auto &window : windows) {
        const platform::Picture picture = platform::Picture::fromResource(window.resource);
        if (picture.isNull())
            qWarning("%s: %s is not built into this program; skipped", window.name,
                     qPrintable(window.resource));
        else
            registerRegion(window.name, picture);
    }
    registerRegion("BM_BuildRegion_TrainerLikePattern", platform::Picture(trainerLikeImage()));
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
