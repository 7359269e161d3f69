// Loading a card set and rescaling it to each size step.
#include <filesystem>
#include <memory>

#include <QImage>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include "cardtable/Card.h"
#include "cardtable/CardSet.h"
#include "cardtable/ImageIO.h"

namespace {

namespace fs = std::filesystem;

// Writes a plain 71 x 96 set when the build has not generated one.
void WriteFallbackSet(const fs::path& folder)
{
    fs::create_directories(folder);
    QImage card(71, 96, QImage::Format_RGB32);
    card.fill(qRgb(240, 240, 240));
    for (int suit = 0; suit < 4; ++suit)
        for (int value = 0; value < 13; ++value)
            WriteBitmapFile(card, folder / FaceFileName(suit, value));
    for (const char* name : {"01joker.bmp", "02joker.bmp", "CardMask.bmp", "Bottom01.bmp", "Bottom02.bmp",
                             "Bottom04.bmp", "Bottom05.bmp", "Bottom06.bmp", "Bottom07.bmp", "Shade.bmp"})
        WriteBitmapFile(card, folder / name);
    for (int n = 1; n <= 6; ++n)
        WriteBitmapFile(card, folder / BackFileName(n));
    QImage strip(71, 6, QImage::Format_RGB32);
    strip.fill(qRgb(128, 128, 128));
    for (const char* name : {"Shadow00.bmp", "Shadow00M.bmp", "Shadow00IM.bmp"})
        WriteBitmapFile(strip, folder / name);
    const QImage side = strip.transformed(QTransform().rotate(90));
    for (const char* name : {"Shadow01.bmp", "Shadow01M.bmp", "Shadow01IM.bmp"})
        WriteBitmapFile(side, folder / name);
}

const fs::path& CardsetsFolder()
{
    static QTemporaryDir fallback;
    static const fs::path folder = [] {
        const fs::path generated = fs::path(TESSALYN_PROGRAM_DIR) / "Cardsets";
        if (HoldsStandardSet(generated))
            return generated;
        const fs::path made = fs::path(fallback.path().toStdString()) / "Cardsets";
        WriteFallbackSet(made / "Standard");
        return made;
    }();
    return folder;
}

void BM_LoadStandard(benchmark::State& state)
{
    for (auto _ : state) {
        TCardDeck deck(nullptr, CardsetsFolder());
        benchmark::DoNotOptimize(deck.CardWidth);
    }
    state.SetLabel(CardsetsFolder().string());
}
BENCHMARK(BM_LoadStandard)->Unit(benchmark::kMillisecond);

// Reloading the set at the size of one step (from a different size each time).
void BM_RescaleToStep(benchmark::State& state)
{
    TCardDeck deck(nullptr, CardsetsFolder());
    const int step = int(state.range(0));
    for (auto _ : state) {
        deck.SetScaleStep(step);
        benchmark::DoNotOptimize(deck.CardWidth);
        state.PauseTiming();
        deck.SetScaleStep(step == 2 ? 3 : 2);
        state.ResumeTiming();
    }
    deck.SetScaleStep(step);
    state.SetLabel(std::to_string(deck.CardWidth) + "x" + std::to_string(deck.CardHeight));
}
BENCHMARK(BM_RescaleToStep)->DenseRange(-2, 5)->Unit(benchmark::kMillisecond);

} // namespace
