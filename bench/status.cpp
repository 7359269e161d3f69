// Speed of the table's settings file: reading Status.Dat alone, and loading
// it into a 1280 x 971 table (the whole load: read, check, apply through the
// setters, one repaint). With the gradient, with a stretched texture, and
// with a change of card set, which adds that set's own load.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>

#include <QTemporaryDir>

#include "cardtable/CardTable.h"
#include "cardtable/TableStatus.h"

namespace fs = std::filesystem;

namespace {

const fs::path ProgramDir = TESSALYN_PROGRAM_DIR;

std::unique_ptr<TCardTable> MakeTable()
{
    auto table = std::make_unique<TCardTable>(nullptr, ProgramDir / "Cardsets");
    tablestatus::ApplyProgramSettings(*table);
    table->SetMinWidth(0);
    table->SetMinHeight(0);
    table->SetTableSize(1280, 971);
    return table;
}

// A Status.Dat as "Save Options" writes it after the given change.
template <typename TChange>
void WriteStatus(const QTemporaryDir& dir, TChange change)
{
    auto table = MakeTable();
    change(*table);
    table->SaveStatus(dir.path().toStdString());
}

void Gradient(TCardTable& table)
{
    TBackdrop& drop = table.BackDrop();
    drop.SetNewColorFrom(QColor(0, 200, 0));
    drop.SetNewColorTo(QColor(0, 60, 0));
    drop.SetNewType(gsDiagonalLeftRight);
    drop.SetNewMode(true);
    drop.SetEnabled(true);
    table.SetTag(11);
}

void BM_ReadStatus(benchmark::State& state)
{
    QTemporaryDir dir;
    WriteStatus(dir, Gradient);
    std::ifstream in(dir.path().toStdString() + "/Status.Dat", std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    for (auto _ : state)
        benchmark::DoNotOptimize(tablestatus::ReadStatus(bytes));
}
BENCHMARK(BM_ReadStatus);

void BM_LoadStatusGradient(benchmark::State& state)
{
    QTemporaryDir dir;
    WriteStatus(dir, Gradient);
    auto table = MakeTable();
    for (auto _ : state)
        table->LoadStatus(dir.path().toStdString());
}
BENCHMARK(BM_LoadStatusGradient)->Unit(benchmark::kMillisecond);

void BM_LoadStatusStretchedTexture(benchmark::State& state)
{
    QTemporaryDir dir;
    WriteStatus(dir, [](TCardTable& table) {
        table.SetStretchBackground(true);
        table.SetBackgroundPicture((ProgramDir / "Textures" / "Oak.jpg").string());
    });
    auto table = MakeTable();
    for (auto _ : state)
        table->LoadStatus(dir.path().toStdString());
}
BENCHMARK(BM_LoadStatusStretchedTexture)->Unit(benchmark::kMillisecond);

// Every load switches between two sets, so each one loads a set from disk.
void BM_LoadStatusOtherCardSet(benchmark::State& state)
{
    QTemporaryDir large, standard;
    WriteStatus(large, [](TCardTable& table) { table.CardDeck().SetDeckName("Large"); });
    WriteStatus(standard, [](TCardTable&) {});
    auto table = MakeTable();
    bool toLarge = true;
    for (auto _ : state) {
        table->LoadStatus((toLarge ? large : standard).path().toStdString());
        toLarge = !toLarge;
    }
}
BENCHMARK(BM_LoadStatusOtherCardSet)->Unit(benchmark::kMillisecond);

} // namespace
