// Speed of the card table: a drag step, a move step, a full rebuild, on a
// 1600 x 1000 table holding two packs. The table is shown (on whatever
// platform the benchmark runs, offscreen by default) so every step includes
// its copy to the screen.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <memory>

#include <QCoreApplication>
#include <QMouseEvent>

#include "cardtable/CardTable.h"
#include "support/FullTable.h"

namespace {

using benchtable::MakeFullTable;
using benchtable::Send;
using benchtable::TableHeight;
using benchtable::TableWidth;


void BM_DragPointerMove(benchmark::State& state)
{
    auto table = MakeFullTable();
    table->SetHQDragShade(state.range(0) != 0);
    table->OnCardDropEvent = [&](TCard*, int, int, int, int, int) { table->RestoreCard(); };
    // Pick up the top card of the last column and sweep it over the others.
    Send(*table, QEvent::MouseButtonPress, 20 + 12 * 120 + 30, 20 + 7 * 30 + 40);
    int step = 0;
    for (auto _ : state) {
        const int x = 40 + (step * 37) % (TableWidth - 200);
        const int y = 120 + (step * 11) % 400;
        Send(*table, QEvent::MouseMove, x, y);
        ++step;
    }
    Send(*table, QEvent::MouseButtonRelease, 100, 100);
}
BENCHMARK(BM_DragPointerMove)->Arg(1)->Arg(0)->ArgName("hqshade")->Unit(benchmark::kMicrosecond);

void BM_MoveCardStep(benchmark::State& state)
{
    auto table = MakeFullTable();
    table->SetFastMovementMode(state.range(0) != 0);
    table->SetCardSpeed(16);
    TCard* card = table->ZList().back();
    bool right = true;
    for (auto _ : state) {
        // A 16-pixel move at speed 16 is exactly one step.
        table->MoveCard(card, card->X + (right ? 16 : -16), card->Y);
        right = !right;
    }
}
BENCHMARK(BM_MoveCardStep)->Arg(1)->Arg(0)->ArgName("fast")->Unit(benchmark::kMicrosecond);

void BM_RedrawAll(benchmark::State& state)
{
    auto table = MakeFullTable();
    for (auto _ : state)
        table->RedrawAll();
}
BENCHMARK(BM_RedrawAll)->Unit(benchmark::kMillisecond);

void BM_RefreshBackground(benchmark::State& state)
{
    auto table = MakeFullTable();
    for (auto _ : state)
        table->RefreshBackground();
}
BENCHMARK(BM_RefreshBackground)->Unit(benchmark::kMillisecond);

// Turning one face-up card on a table that is not drawing, between two
// angles: its face is turned anew each time, the mask comes from the cache.
void BM_RotateCard(benchmark::State& state)
{
    auto table = std::make_unique<TCardTable>(nullptr, std::filesystem::path(TESSALYN_PROGRAM_DIR) / "Cardsets");
    table->SetTableSize(TableWidth, TableHeight);
    TCard* card = table->NextCard();
    card->FaceUp = true;
    table->PlaceCard(card, 400, 300);
    float angle = 0.5f;
    for (auto _ : state) {
        table->RotateCard(card, angle);
        angle = -angle;
    }
}
BENCHMARK(BM_RotateCard)->Unit(benchmark::kMicrosecond);

} // namespace

// A whole deal with the table not drawing, as the engine deals invisibly:
// stock, 52 animated moves and 52 flips.
void BM_InvisibleDeal(benchmark::State& state)
{
    auto table = std::make_unique<TCardTable>(nullptr, std::filesystem::path(TESSALYN_PROGRAM_DIR) / "Cardsets");
    table->SetTableSize(TableWidth, TableHeight);
    for (auto _ : state) {
        table->ResetTable();
        table->PlaceDeck(10, 10);
        for (int i = 0; i < 52; ++i) {
            TCard* card = table->NextCard();
            table->MoveCard(card, 100 + (i % 8) * 90, 150 + (i / 8) * 25);
            table->TurnCard(card);
        }
    }
}
BENCHMARK(BM_InvisibleDeal)->Unit(benchmark::kMillisecond);
