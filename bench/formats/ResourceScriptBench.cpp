// check over a tree of resource scripts against reading the same files with cat, and fix of
// one script with many scopes.
#include "GeneratedScripts.h"
#include "ScopeFileCommands.h"

#include <QCoreApplication>
#include <QDir>
#include <QProcess>
#include <QStringList>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

namespace {

constexpr std::size_t TreeFiles = 5000;
constexpr std::size_t FileSize = 10 * 1024;

void WriteFile(const std::string& path, const std::string& bytes)
{
    std::ofstream(path, std::ios::binary) << bytes;
}

// 5,000 scripts of 10 KB in 40 language folders, made once for all benchmarks.
class TTree
{
public:
    TTree()
    {
        TScriptGenerator generator(13);
        for (std::size_t i = 0; i < TreeFiles; ++i) {
            const QString folder = FDir.filePath(QStringLiteral("lang%1").arg(i % 40));
            if (i < 40)
                QDir().mkpath(folder);
            const std::string path =
                (folder + QStringLiteral("/dialogs%1.rc").arg(i)).toStdString();
            WriteFile(path, generator.Script(FileSize));
            FFiles.push_back(path);
            FArguments.push_back(QString::fromStdString(path));
        }
    }
    const std::vector<std::string>& Files() const { return FFiles; }
    const QStringList& Arguments() const { return FArguments; }

private:
    QTemporaryDir FDir;
    std::vector<std::string> FFiles;
    QStringList FArguments;
};

const TTree& Tree()
{
    static const TTree tree;
    return tree;
}

void BM_CatResourceTree(benchmark::State& state)
{
    const QStringList& files = Tree().Arguments();
    for (auto _ : state) {
        QProcess cat;
        cat.setStandardOutputFile(QProcess::nullDevice());
        cat.start(QStringLiteral("cat"), files);
        cat.waitForFinished(-1);
        if (cat.exitCode() != 0)
            state.SkipWithError("cat failed");
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * TreeFiles * FileSize));
}
BENCHMARK(BM_CatResourceTree)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_CheckResourceTree(benchmark::State& state)
{
    for (auto _ : state) {
        const std::vector<RFileReport> reports = CheckScopeFiles(Tree().Files(), {});
        benchmark::DoNotOptimize(reports.data());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * TreeFiles * FileSize));
}
BENCHMARK(BM_CheckResourceTree)->Unit(benchmark::kMillisecond)->UseRealTime();

// 20 menus of 9 popups: 200 scopes, every one with something to mend now and then.
void BM_FixScriptOf200Scopes(benchmark::State& state)
{
    QTemporaryDir dir;
    const std::string path = dir.filePath(QStringLiteral("menus.rc")).toStdString();
    const std::string script = TScriptGenerator(200).ManyScopes(20, 9);
    const ICaptionFormat& format = *ScopeFormatFor(path);
    for (auto _ : state) {
        state.PauseTiming();
        WriteFile(path, script);
        state.ResumeTiming();
        const RFileReport report = FixScopeFile(path, format, {});
        if (report.Status != 0)
            state.SkipWithError(report.Err.c_str());
    }
    state.counters["bytes"] = static_cast<double>(script.size());
}
BENCHMARK(BM_FixScriptOf200Scopes)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
