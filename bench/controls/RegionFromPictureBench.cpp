// How long a full-screen skin takes to become a window shape. Skins are built once per window
// load; the goal is well under 50 ms for 1920 x 1080.
#include "MakeSk.h"

#include <QImage>
#include <QPainter>
#include <benchmark/benchmark.h>

using namespace controls;

namespace {

// A realistic skin: a rounded body with a few holes (buttons, a display window) on a key colour,
// so every row has several runs.
QImage Skin(QImage::Format format)
{
    QImage image(1920, 1080, QImage::Format_RGB32);
    image.fill(qRgb(255, 0, 255));
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(40, 44, 52));
    painter.drawRoundedRect(QRect(10, 10, 1900, 1060), 80, 80);
    painter.setBrush(QColor(255, 0, 255));
    for (int i = 0; i < 12; ++i)
        painter.drawEllipse(QRect(100 + i * 150, 200 + (i % 3) * 250, 90, 90));
    painter.drawRect(QRect(400, 850, 1100, 120));
    painter.end();
    return image.convertToFormat(format);
}

void BM_RegionFromPicture(benchmark::State& state, QImage::Format format)
{
    const QImage image = Skin(format);
    int rects = 0;
    for (auto _ : state) {
        const QRegion region = RegionFromPicture(image);
        rects = region.rectCount();
        benchmark::DoNotOptimize(rects);
    }
    state.counters["rects"] = rects;
    state.SetLabel("1920x1080");
}

// Worst case: every other pixel is a hole, so every row has 960 runs.
void BM_RegionFromPictureCheckerboard(benchmark::State& state)
{
    QImage image(1920, 1080, QImage::Format_RGB32);
    for (int y = 0; y < image.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x)
            line[x] = ((x + y) % 2) ? qRgb(0, 0, 0) : qRgb(255, 255, 255);
    }
    for (auto _ : state)
        benchmark::DoNotOptimize(RegionFromPicture(image).rectCount());
    state.SetLabel("1920x1080, 1M runs");
}

} // namespace

BENCHMARK_CAPTURE(BM_RegionFromPicture, rgb32, QImage::Format_RGB32)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_RegionFromPicture, indexed8, QImage::Format_Indexed8)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RegionFromPictureCheckerboard)->Unit(benchmark::kMillisecond);
