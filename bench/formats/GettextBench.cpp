// Reading 100 builder files, then 80 catalogues of 3,000 messages each laid over their menus
// and every translated menu checked: what check of a translated GTK application does apart
// from reading files.
#include "GettextScopes.h"
#include "Scope.h"
#include "UnicodeKeyRule.h"

#include <benchmark/benchmark.h>
#include <string>
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

} // namespace

BENCHMARK_MAIN();
