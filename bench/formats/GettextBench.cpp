// Reading 100 builder files, then 80 catalogues of 3,000 messages each laid over their menus
// and every translated menu checked: what check of a translated GTK application does apart
// from reading files. Then the same files on disk, checked by quarnel-cli, by msgfmt
// --check-accelerators (one process per catalogue, as a build runs it) and by pofilter -t
// accelerators (one process for the folder), each as a process of its own in the same run.
#include "GettextScopes.h"
#include "Scope.h"
#include "UnicodeKeyRule.h"

#include <QCoreApplication>
#include <QDir>
#include <QProcess>
#include <QStandardPaths>
#include <QStringList>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <fstream>
#include <string>
#include <sys/resource.h>
#include <vector>

namespace {

constexpr int BuilderFiles = 100;
constexpr int ItemsPerMenu = 30;
constexpr int Catalogues = 80;

std::string BuilderFile(int file)
{
    std::string ui = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<interface>\n"
                     "  <menu id=\"menu\">\n    <section>\n";
    for (int i = 0; i < ItemsPerMenu; ++i)
        ui += "      <item>\n        <attribute name=\"label\" translatable=\"yes\">_Item " +
              std::to_string(file) + '.' + std::to_string(i) + "</attribute>\n      </item>\n";
    return ui + "    </section>\n  </menu>\n</interface>\n";
}

// Every message of every builder file, its translation wrapped over two lines.
std::string Catalogue()
{
    std::string po = "msgid \"\"\nmsgstr \"\"\n\"Content-Type: text/plain; charset=UTF-8\\n\"\n\n";
    for (int file = 0; file < BuilderFiles; ++file) {
        for (int i = 0; i < ItemsPerMenu; ++i) {
            const std::string number = std::to_string(file) + '.' + std::to_string(i);
            po += "#: data/window" + std::to_string(file) + ".ui:" + std::to_string(5 + 3 * i) +
                  "\nmsgid \"_Item " + number + "\"\nmsgstr \"\"\n\"_Élément \"\n\"" + number +
                  "\"\n\n";
        }
    }
    return po;
}

void CheckTranslatedMenus(benchmark::State& state)
{
    std::vector<std::string> builderBytes;
    for (int file = 0; file < BuilderFiles; ++file)
        builderBytes.push_back(BuilderFile(file));
    const std::string catalogue = Catalogue();
    std::size_t findings = 0;
    for (auto _ : state) {
        std::vector<RBuilderSource> builders;
        for (int file = 0; file < BuilderFiles; ++file)
            builders.push_back(RBuilderSource{"data/window" + std::to_string(file) + ".ui",
                                              ReadGtkBuilderStrings(builderBytes[file], "w.ui")});
        for (int c = 0; c < Catalogues; ++c) {
            const RPoCatalogue read = ReadPoCatalogue(catalogue, "de.po");
            const RPoCaptionFile captions = CatalogueCaptions(read, GtkMarker);
            for (const RCatalogueScope& scope : CatalogueScopes(read, captions, builders)) {
                RScope engine{scope.Name, {}, {}};
                for (const std::size_t s : scope.Translations)
                    engine.Captions.push_back(captions.File.Scopes[s].Captions.front().Text);
                findings += CheckScope(engine, UnicodeKeyRule(), GtkMarker, 0).size();
            }
        }
    }
    benchmark::DoNotOptimize(findings);
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(catalogue.size()) *
                            Catalogues);
}
BENCHMARK(CheckTranslatedMenus)->Unit(benchmark::kMillisecond)->MinTime(2.0);

// data/window0.ui... and po/de0.po..., written once for the process benchmarks.
class TTree
{
public:
    TTree()
    {
        QDir(FDir.path()).mkpath(QStringLiteral("data"));
        QDir(FDir.path()).mkpath(QStringLiteral("po"));
        for (int file = 0; file < BuilderFiles; ++file)
            Write(QStringLiteral("data/window%1.ui").arg(file), BuilderFile(file));
        const std::string catalogue = Catalogue();
        for (int c = 0; c < Catalogues; ++c) {
            const QString name = QStringLiteral("po/de%1.po").arg(c);
            Write(name, catalogue);
            FCatalogues.append(FDir.filePath(name));
        }
    }
    QString Path(const QString& name) const { return FDir.filePath(name); }
    const QStringList& CatalogueFiles() const { return FCatalogues; }

private:
    void Write(const QString& name, const std::string& bytes)
    {
        std::ofstream(FDir.filePath(name).toStdString(), std::ios::binary) << bytes;
    }

    QTemporaryDir FDir;
    QStringList FCatalogues;
};

const TTree& Tree()
{
    static const TTree tree;
    return tree;
}

// The processor time, user and system, that the children this process waited for have used.
double ChildSeconds()
{
    rusage usage{};
    getrusage(RUSAGE_CHILDREN, &usage);
    const auto seconds = [](const timeval& time) {
        return static_cast<double>(time.tv_sec) + static_cast<double>(time.tv_usec) / 1e6;
    };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

// The children's processor time per iteration, as a counter beside the wall-clock time (the
// benchmark's own CPU column is this process's alone).
class TChildTime
{
public:
    explicit TChildTime(benchmark::State& state) : FState(state), FStart(ChildSeconds()) {}
    ~TChildTime()
    {
        if (FState.iterations() > 0)
            FState.counters["child_cpu_ms"] =
                (ChildSeconds() - FStart) * 1000 / static_cast<double>(FState.iterations());
    }

private:
    benchmark::State& FState;
    double FStart;
};

// Runs a program to its end, its output thrown away; false when it could not run or failed
// worse than by reporting findings.
bool Run(const QString& program, const QStringList& arguments, int worstStatus)
{
    QProcess process;
    process.setStandardOutputFile(QProcess::nullDevice());
    process.setStandardErrorFile(QProcess::nullDevice());
    process.start(program, arguments);
    return process.waitForFinished(-1) && process.exitStatus() == QProcess::NormalExit &&
           process.exitCode() <= worstStatus;
}

void BM_QuarnelCheckCatalogues(benchmark::State& state)
{
    const QStringList arguments = QStringList{QStringLiteral("check"), QStringLiteral("--builder"),
                                              Tree().Path(QStringLiteral("data"))} +
                                  Tree().CatalogueFiles();
    const TChildTime childTime(state);
    for (auto _ : state)
        if (!Run(QStringLiteral(QUARNEL_CLI), arguments, 1))
            state.SkipWithError("quarnel-cli failed");
}
BENCHMARK(BM_QuarnelCheckCatalogues)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_MsgfmtCheckAccelerators(benchmark::State& state)
{
    const QString msgfmt = QStandardPaths::findExecutable(QStringLiteral("msgfmt"));
    if (msgfmt.isEmpty()) {
        state.SkipWithError("msgfmt is not installed");
        return;
    }
    const TChildTime childTime(state);
    for (auto _ : state)
        for (const QString& catalogue : Tree().CatalogueFiles())
            if (!Run(msgfmt,
                     {QStringLiteral("--check-accelerators=_"), QStringLiteral("-o"),
                      QStringLiteral("/dev/null"), catalogue},
                     1))
                state.SkipWithError("msgfmt failed");
}
BENCHMARK(BM_MsgfmtCheckAccelerators)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_PofilterAccelerators(benchmark::State& state)
{
    const QString pofilter = QStandardPaths::findExecutable(QStringLiteral("pofilter"));
    if (pofilter.isEmpty()) {
        state.SkipWithError("pofilter is not installed");
        return;
    }
    QTemporaryDir out;
    const TChildTime childTime(state);
    for (auto _ : state)
        if (!Run(pofilter,
                 {QStringLiteral("--gnome"), QStringLiteral("--nofuzzy"),
                  QStringLiteral("--progress=none"), QStringLiteral("-t"),
                  QStringLiteral("accelerators"), QStringLiteral("-i"),
                  Tree().Path(QStringLiteral("po")), QStringLiteral("-o"), out.path()},
                 1))
            state.SkipWithError("pofilter failed");
}
BENCHMARK(BM_PofilterAccelerators)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
