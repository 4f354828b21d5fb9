// Move, sort, select all and the command-state query on 1,000,000 entries with 100,000
// scattered selected rows, once on the document alone and once with the window's list view
// attached and visible, so the view's own reaction to each change is part of the figure.
#include "FormMain.h"
#include "QtBenchmarkMain.h"
#include "ScatteredRows.h"

#include <QApplication>
#include <algorithm>
#include <benchmark/benchmark.h>
#include <iterator>
#include <memory>
#include <numeric>
#include <random>

namespace {

constexpr int EntryCount = 1'000'000;
constexpr int SelectedCount = 100'000;

std::vector<TEntry> MakeEntries()
{
    std::mt19937 random(7);
    std::uniform_int_distribution<int> letter('a', 'z');
    std::vector<TEntry> entries;
    entries.reserve(EntryCount);
    for (int i = 0; i < EntryCount; ++i) {
        std::string caption(8, ' ');
        for (char& c : caption)
            c = static_cast<char>(letter(random));
        entries.push_back({std::move(caption), {}, 0});
    }
    return entries;
}

// The document, optionally shown in the real window.
class TFixture
{
public:
    explicit TFixture(bool withView)
    {
        if (withView) {
            FForm = std::make_unique<TFormMain>(std::string());
            FForm->resize(600, 400);
            FForm->show();
            Settle();
        }
        Document().Model().ReplaceAll(MakeEntries());
        Settle();
    }

    TCaptionDocument& Document()
    {
        return FForm ? *FForm->findChild<TCaptionDocument*>(QStringLiteral("Document")) : FBare;
    }

    // Lets the view lay out and paint what the last change asks for.
    void Settle() const
    {
        if (FForm)
            QCoreApplication::processEvents();
    }

private:
    TCaptionDocument FBare;
    std::unique_ptr<TFormMain> FForm;
};

// Times one move of the scattered selection; the opposite move puts the rows back untimed so
// that every iteration starts from the same list.
void MoveThenUndo(benchmark::State& state, void (TCaptionDocument::*move)(),
                  void (TCaptionDocument::*undo)())
{
    TFixture fixture(state.range(0) != 0);
    TCaptionDocument& document = fixture.Document();
    document.SelectOnlyRows(ScatteredRows(EntryCount, SelectedCount));
    for (auto _ : state) {
        (document.*move)();
        fixture.Settle();
        state.PauseTiming();
        (document.*undo)();
        fixture.Settle();
        state.ResumeTiming();
    }
}

void BM_MoveUp(benchmark::State& state)
{
    MoveThenUndo(state, &TCaptionDocument::MoveSelectedUp, &TCaptionDocument::MoveSelectedDown);
}

void BM_MoveDown(benchmark::State& state)
{
    MoveThenUndo(state, &TCaptionDocument::MoveSelectedDown, &TCaptionDocument::MoveSelectedUp);
}

void BM_SortByOriginal(benchmark::State& state)
{
    TFixture fixture(state.range(0) != 0);
    TCaptionDocument& document = fixture.Document();
    const std::vector<TEntry> shuffled = MakeEntries();
    const std::vector<int> scattered = ScatteredRows(EntryCount, SelectedCount);
    for (auto _ : state) {
        state.PauseTiming();
        document.Model().ReplaceAll(shuffled);
        document.SelectOnlyRows(scattered);
        fixture.Settle();
        state.ResumeTiming();
        document.SortByColumn(TEntryModel::ColOriginal);
        fixture.Settle();
    }
}

void BM_SelectAllAfterScattered(benchmark::State& state)
{
    TFixture fixture(state.range(0) != 0);
    TCaptionDocument& document = fixture.Document();
    const std::vector<int> scattered = ScatteredRows(EntryCount, SelectedCount);
    for (auto _ : state) {
        state.PauseTiming();
        document.Selection().clearSelection();
        document.SelectOnlyRows(scattered);
        fixture.Settle();
        state.ResumeTiming();
        document.SelectAll();
        fixture.Settle();
    }
}

// The query every idle pass makes, the first time after the selection changed.
void BM_SelectionFactsAfterScattered(benchmark::State& state)
{
    TFixture fixture(state.range(0) != 0);
    TCaptionDocument& document = fixture.Document();
    document.SelectOnlyRows(ScatteredRows(EntryCount, SelectedCount));
    const QModelIndex last = document.Model().index(EntryCount - 1, 0);
    for (auto _ : state) {
        state.PauseTiming();
        document.Selection().select(last, QItemSelectionModel::Toggle | QItemSelectionModel::Rows);
        fixture.Settle();
        state.ResumeTiming();
        benchmark::DoNotOptimize(document.SelectionFacts());
    }
}

void Views(benchmark::internal::Benchmark* bench)
{
    bench->ArgName("view")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
}

BENCHMARK(BM_MoveUp)->Apply(Views);
BENCHMARK(BM_MoveDown)->Apply(Views);
BENCHMARK(BM_SortByOriginal)->Apply(Views);
BENCHMARK(BM_SelectAllAfterScattered)->Apply(Views);
BENCHMARK(BM_SelectionFactsAfterScattered)->Apply(Views)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv)
{
    return RunQtBenchmarks(argc, argv);
}
