// check over a Qt application's interface files: 300 Designer forms and 40 Linguist
// translations of 2,000 messages each, as the batch tool reads them; and the readers alone.
#include "QtForm.h"
#include "QtTranslation.h"
#include "ScopeFileCommands.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <string>
#include <string_view>
#include <vector>

namespace {

constexpr int Forms = 300;
constexpr int Translations = 40;
constexpr int Messages = 2000;

std::string Caption(int form, int item)
{
    // Distinct words, so that scopes mostly keep their keys and check has little to say.
    static const char* const Words[] = {"Open",   "Save",   "Print", "Undo",  "Redo",
                                        "Find",   "Zoom",   "Help",  "Quit",  "Copy",
                                        "Window", "Layout", "Blank", "Merge", "Jump"};
    return "&amp;" + std::string(Words[item % 15]) + ' ' + std::to_string(form);
}

std::string Property(const std::string& name, const std::string& text)
{
    return "<property name=\"" + name + "\">\n     <string>" + text +
           "</string>\n    </property>\n";
}

// A main window: a menu bar of five menus of eight actions, and a tab widget of two pages of
// ten check boxes each.
std::string Form(int n)
{
    std::string ui =
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<ui version=\"4.0\">\n <class>Form" +
        std::to_string(n) + "</class>\n <widget class=\"QMainWindow\" name=\"w\">\n";
    ui += "  <widget class=\"QTabWidget\" name=\"tabs\">\n";
    for (int page = 0; page < 2; ++page) {
        ui += "   <widget class=\"QWidget\" name=\"p\">\n    <attribute name=\"title\">\n"
              "     <string>" +
              Caption(n, 10 + page) + "</string>\n    </attribute>\n";
        for (int box = 0; box < 10; ++box)
            ui += "    <widget class=\"QCheckBox\" name=\"c\">\n    " +
                  Property("text", Caption(n, box)) + "    </widget>\n";
        ui += "   </widget>\n";
    }
    ui += "  </widget>\n  <widget class=\"QMenuBar\" name=\"bar\">\n";
    for (int menu = 0; menu < 5; ++menu) {
        ui += "   <widget class=\"QMenu\" name=\"m" + std::to_string(menu) + "\">\n    " +
              Property("title", Caption(n, menu));
        for (int action = 0; action < 8; ++action)
            ui += "    <addaction name=\"a" + std::to_string(menu * 8 + action) + "\"/>\n";
        ui += "   </widget>\n";
    }
    for (int menu = 0; menu < 5; ++menu)
        ui += "   <addaction name=\"m" + std::to_string(menu) + "\"/>\n";
    ui += "  </widget>\n";
    for (int action = 0; action < 40; ++action)
        ui += "  <action name=\"a" + std::to_string(action) + "\">\n   " +
              Property("text", Caption(n, action)) + "  </action>\n";
    return ui + " </widget>\n</ui>\n";
}

std::string Translation(int n)
{
    std::string ts =
        "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<!DOCTYPE TS>\n<TS version=\"2.1\" "
        "language=\"de_DE\">\n";
    for (int context = 0; context < Messages / 50; ++context) {
        ts += "<context>\n    <name>Form" + std::to_string(context) + "</name>\n";
        for (int m = 0; m < 50; ++m) {
            ts += "    <message>\n        <location filename=\"form.ui\" line=\"" +
                  std::to_string(m + 10) + "\"/>\n        <source>" + Caption(context, m) +
                  "</source>\n        <translation>" + Caption(context + n, m) +
                  "</translation>\n    </message>\n";
        }
        ts += "</context>\n";
    }
    return ts + "</TS>\n";
}

class TQtFiles
{
public:
    TQtFiles() { Fill(FTemporary.path()); }
    // In a folder that stays, to run other tools on the same files.
    explicit TQtFiles(const QString& folder) { Fill(folder); }
    const std::vector<std::string>& Names() const { return FNames; }
    std::size_t Bytes() const { return FBytes; }

private:
    void Fill(const QString& folder)
    {
        FDir.setPath(folder);
        for (int n = 0; n < Forms; ++n)
            FNames.push_back(Write("form" + std::to_string(n) + ".ui", Form(n)));
        for (int n = 0; n < Translations; ++n)
            FNames.push_back(Write("app_" + std::to_string(n) + ".ts", Translation(n)));
    }
    std::string Write(const std::string& name, const std::string& bytes)
    {
        const QString path = FDir.filePath(QString::fromStdString(name));
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly) ||
            file.write(bytes.data(), static_cast<qint64>(bytes.size())) !=
                static_cast<qint64>(bytes.size()))
            std::abort();
        FBytes += bytes.size();
        return path.toStdString();
    }

    QTemporaryDir FTemporary;
    QDir FDir;
    std::vector<std::string> FNames;
    std::size_t FBytes = 0;
};

void BM_CheckQtApplication(benchmark::State& state)
{
    const TQtFiles files;
    for (auto _ : state) {
        const std::vector<RFileReport> reports = CheckScopeFiles(files.Names(), {});
        benchmark::DoNotOptimize(reports.data());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * files.Bytes()));
    state.counters["files"] = static_cast<double>(files.Names().size());
}
BENCHMARK(BM_CheckQtApplication)->Unit(benchmark::kMillisecond);

void BM_ReadForm(benchmark::State& state)
{
    const std::string form = Form(7);
    for (auto _ : state)
        benchmark::DoNotOptimize(ReadQtForm(form, "form.ui").File.Scopes.data());
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * form.size()));
}
BENCHMARK(BM_ReadForm)->Unit(benchmark::kMicrosecond);

void BM_ReadTranslation(benchmark::State& state)
{
    const std::string ts = Translation(3);
    for (auto _ : state) {
        const RQtTranslation translation = ReadQtTranslation(ts, "app.ts");
        benchmark::DoNotOptimize(ScopeTranslation(translation, {}).File.Scopes.data());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * ts.size()));
}
BENCHMARK(BM_ReadTranslation)->Unit(benchmark::kMillisecond);

} // namespace

// --write-files=DIR writes the files the check runs over into DIR, for a side-by-side run of
// other checkers, and runs nothing.
int main(int argc, char** argv)
{
    constexpr std::string_view WriteFiles = "--write-files=";
    for (int i = 1; i < argc; ++i)
        if (const std::string_view argument = argv[i]; argument.starts_with(WriteFiles)) {
            const QString folder = QString::fromLocal8Bit(argument.substr(WriteFiles.size()));
            if (!QDir().mkpath(folder))
                return 1;
            const TQtFiles files(folder);
            return 0;
        }
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
