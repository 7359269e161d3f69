// The start screen's running costs: one star-field frame (50 a second while
// the screen idles), a preview picture read when a row is looked at, and
// the list filled with every game's counters.
#include <filesystem>

#include <QImage>
#include <benchmark/benchmark.h>

#include "cardtable/ImageIO.h"
#include "cardtable/Random.h"
#include "shell/StartScreen.h"
#include "shell/Starfield.h"
#include "catalogue/MenuTree.h"

namespace {

namespace fs = std::filesystem;

// The star panel of a 1280 x 1024 screen.
void StarfieldFrame(benchmark::State& state)
{
    SetRandSeed(1);
    TStarfield field;
    QImage surface(460, 890, QImage::Format_RGB32);
    surface.fill(Qt::black);
    field.Initialise(surface.width(), surface.height());
    for (auto _ : state) {
        field.NormalFrame(surface);
        benchmark::DoNotOptimize(surface.constBits());
    }
}
BENCHMARK(StarfieldFrame);

void StarViewFrame(benchmark::State& state)
{
    SetRandSeed(1);
    TStarView view;
    view.resize(460, 890);
    view.Restart();
    for (auto _ : state)
        view.Frame();
}
BENCHMARK(StarViewFrame);

void PreviewRead(benchmark::State& state)
{
    const fs::path file = fs::path(TESSALYN_PROGRAM_DIR) / "GameImages" / "1.jpg";
    if (!fs::exists(file)) {
        state.SkipWithError("no previews generated");
        return;
    }
    for (auto _ : state)
        benchmark::DoNotOptimize(ReadJpegFile(file, jpBestSpeed));
}
BENCHMARK(PreviewRead);

void ListFill(benchmark::State& state)
{
    TStartScreen screen;
    screen.resize(1280, 971);
    const TMenuItem& menu = StandardGameTypeMenu();
    screen.GameTypeMenu = [&menu]() -> const TMenuItem& { return menu; };
    screen.GameCounts = [](const std::string&) { return TGameCounts{3, 1}; };
    QStringList categories;
    for (const TMenuItem& item : menu.Items)
        if (!item.IsSeparator())
            categories << QString::fromStdString(item.Caption);
    screen.SetCategories(categories);
    for (auto _ : state)
        screen.CategoryChange();
}
BENCHMARK(ListFill);

} // namespace
