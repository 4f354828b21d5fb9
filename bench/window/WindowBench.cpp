// What the user waits for in the real window with 1,000,000 entries: each figure includes the
// events the step leaves behind (layout, repaint of the list), handled before the clock stops,
// because a freeze is the time until the window answers again, not until the model is done.
#include "FormMain.h"
#include "QtBenchmarkMain.h"
#include "QuarnelError.h"
#include "ScatteredRows.h"

#include <QAction>
#include <QApplication>
#include <QScrollBar>
#include <QTreeView>
#include <algorithm>
#include <benchmark/benchmark.h>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <numeric>
#include <random>
#include <unistd.h>

namespace {

constexpr int EntryCount = 1'000'000;
constexpr int SelectedCount = 100'000;

std::string RandomCaption(std::mt19937& random)
{
    std::uniform_int_distribution<int> letter('a', 'z');
    std::string caption(8, ' ');
    for (char& c : caption)
        c = static_cast<char>(letter(random));
    return caption;
}

// A list file of random captions, removed again when the benchmarks end.
class TListFile
{
public:
    TListFile()
        : FPath(std::filesystem::temp_directory_path() /
                ("quarnel_window_bench_" + std::to_string(::getpid()) + ".lst"))
    {
        std::mt19937 random(7);
        std::ofstream out(FPath, std::ios::binary);
        for (int i = 0; i < EntryCount; ++i)
            out << RandomCaption(random) << "\r\n";
    }
    ~TListFile()
    {
        std::error_code ignored;
        std::filesystem::remove(FPath, ignored);
    }
    TListFile(const TListFile&) = delete;
    TListFile& operator=(const TListFile&) = delete;

    std::string Path() const { return FPath.string(); }

private:
    std::filesystem::path FPath;
};

const TListFile& ListFile()
{
    static const TListFile file;
    return file;
}

// The shown window, optionally with the million-line list opened through the controller.
class TWindow
{
public:
    explicit TWindow(bool withList)
    {
        FForm.resize(600, 400);
        FForm.show();
        Settle();
        if (withList)
            Open();
    }

    TFormMain& Form() { return FForm; }
    TMainController& Controller() { return FForm.Controller(); }
    TCaptionDocument& Document() { return Controller().Document(); }
    QTreeView& List() { return *FForm.findChild<QTreeView*>(QStringLiteral("ListView1")); }

    void Open()
    {
        Controller().ActFileOpenAccept(ListFile().Path());
        Settle();
    }

    // The window has answered once the queued layout has run and the list has been painted.
    // The forced repaint comes first: it runs the pending layout and takes the pending updates
    // with it, so the events that follow do not paint the list a second time.
    void Settle()
    {
        List().viewport()->repaint();
        QCoreApplication::processEvents();
    }

    // No save prompt may stop the next step on a modal box.
    void ForgetChanges() { Document().MarkUnmodified(); }

private:
    TFormMain FForm{std::string()};
};

void BM_OpenFile(benchmark::State& state)
{
    TWindow window(false);
    for (auto _ : state) {
        state.PauseTiming();
        window.Document().NewDocument();
        window.Settle();
        state.ResumeTiming();
        window.Open();
    }
}

void BM_ProcessFailsFast(benchmark::State& state)
{
    TWindow window(true);
    for (auto _ : state) {
        try {
            window.Controller().Execute(TCommandId::FileProcess);
            state.SkipWithError("the pass was expected to fail");
        } catch (const EQuarnelError&) {
        }
        window.Settle();
    }
}

// range(0): 0 = one row selected before, 1 = 100,000 scattered rows.
void BM_SelectAllAction(benchmark::State& state)
{
    TWindow window(true);
    const std::vector<int> before =
        state.range(0) != 0 ? ScatteredRows(EntryCount, SelectedCount) : std::vector<int>{1};
    QAction* const action = window.Form().Action(TCommandId::EditSelectAll);
    for (auto _ : state) {
        state.PauseTiming();
        window.Document().SelectOnlyRows(before);
        window.Settle();
        state.ResumeTiming();
        action->trigger();
        window.Settle();
    }
}

void BM_SortHeaderClick(benchmark::State& state)
{
    TWindow window(true);
    TCaptionDocument& document = window.Document();
    const std::vector<TEntry> unsorted = document.Model().Entries();
    for (auto _ : state) {
        state.PauseTiming();
        document.Model().ReplaceAll(unsorted);
        document.SelectAll();
        window.Settle();
        state.ResumeTiming();
        window.Controller().ListView1ColumnClick(TEntryModel::ColOriginal);
        window.Settle();
    }
    window.ForgetChanges();
}

// Everything selected but the row that would stop the move, so one run of 999,999 rows moves.
void MoveAllButOne(benchmark::State& state, TCommandId forth, TCommandId back, int keptRow)
{
    TWindow window(true);
    TCaptionDocument& document = window.Document();
    if (keptRow == 0)
        document.SelectRows(1, EntryCount - 1);
    else
        document.SelectRows(0, EntryCount - 2);
    window.Settle();
    for (auto _ : state) {
        window.Controller().Execute(forth);
        window.Settle();
        state.PauseTiming();
        window.Controller().Execute(back);
        window.Settle();
        state.ResumeTiming();
    }
    window.ForgetChanges();
}

void BM_MoveUpAllButFirst(benchmark::State& state)
{
    MoveAllButOne(state, TCommandId::EditMoveUp, TCommandId::EditMoveDown, 0);
}

void BM_MoveDownAllButLast(benchmark::State& state)
{
    MoveAllButOne(state, TCommandId::EditMoveDown, TCommandId::EditMoveUp, EntryCount - 1);
}

void SelectScatteredIf(TWindow& window, bool scattered)
{
    if (scattered)
        window.Document().SelectOnlyRows(ScatteredRows(EntryCount, SelectedCount));
    window.Settle();
}

// range(0): 1 = with 100,000 scattered selected rows.
void BM_ScrollToBottom(benchmark::State& state)
{
    TWindow window(true);
    SelectScatteredIf(window, state.range(0) != 0);
    for (auto _ : state) {
        state.PauseTiming();
        window.List().scrollToTop();
        window.Settle();
        state.ResumeTiming();
        window.List().scrollToBottom();
        window.Settle();
    }
}

void BM_PageDown(benchmark::State& state)
{
    TWindow window(true);
    SelectScatteredIf(window, state.range(0) != 0);
    QScrollBar* const bar = window.List().verticalScrollBar();
    for (auto _ : state) {
        if (bar->value() == bar->maximum()) {
            state.PauseTiming();
            window.List().scrollToTop();
            window.Settle();
            state.ResumeTiming();
        }
        bar->triggerAction(QAbstractSlider::SliderPageStepAdd);
        window.Settle();
    }
}

void BM_Repaint(benchmark::State& state)
{
    TWindow window(true);
    SelectScatteredIf(window, state.range(0) != 0);
    // Halfway down, where the scattered ranges before and after the visible rows are many.
    window.List().verticalScrollBar()->setValue(window.List().verticalScrollBar()->maximum() / 2);
    window.Settle();
    for (auto _ : state)
        window.List().viewport()->repaint();
}

void Milliseconds(benchmark::internal::Benchmark* bench)
{
    bench->Unit(benchmark::kMillisecond)->UseRealTime();
}

void Scattered(benchmark::internal::Benchmark* bench)
{
    Milliseconds(bench);
    bench->ArgName("scattered")->Arg(0)->Arg(1);
}

BENCHMARK(BM_OpenFile)->Apply(Milliseconds)->MinTime(2.0);
BENCHMARK(BM_ProcessFailsFast)->Apply(Milliseconds);
BENCHMARK(BM_SelectAllAction)->Apply(Scattered);
BENCHMARK(BM_SortHeaderClick)->Apply(Milliseconds);
BENCHMARK(BM_MoveUpAllButFirst)->Apply(Milliseconds);
BENCHMARK(BM_MoveDownAllButLast)->Apply(Milliseconds);
BENCHMARK(BM_ScrollToBottom)->Apply(Scattered);
BENCHMARK(BM_PageDown)->Apply(Scattered);
BENCHMARK(BM_Repaint)->Apply(Scattered);

} // namespace

int main(int argc, char** argv)
{
    return RunQtBenchmarks(argc, argv);
}
