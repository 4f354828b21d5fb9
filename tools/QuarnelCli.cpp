#include "QuarnelCli.h"

#include "Engine.h"
#include "ListFile.h"
#include "QuarnelError.h"

#include <QCommandLineParser>
#include <istream>
#include <iterator>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

namespace {

constexpr const char* Usage = "Usage: quarnel-cli [--marker C] [--format tsv|lst] [FILE|-]";

constexpr const char* Description =
    "Gives every caption of a caption list its own accelerator and prints the result.\n"
    "\n"
    "Reads FILE (or standard input for \"-\" or no FILE) as a caption list file: one caption\n"
    "per line, lines ending at CR, LF or CR LF, the text ending at the first NUL byte.\n"
    "\n"
    "Output formats:\n"
    "  tsv  one line per caption: original TAB accelerated TAB key LF, with backslash, tab,\n"
    "       CR and LF inside a field written as \\\\, \\t, \\r and \\n. Every caption is\n"
    "       printed, with empty accelerated caption and key when no combination exists.\n"
    "  lst  the accelerated captions as a caption list file (CR LF after each); nothing\n"
    "       when no combination exists.\n"
    "\n"
    "Exit status: 0 success (an empty list succeeds with no output), 1 no combination of\n"
    "distinct keys exists, 2 unreadable input or bad arguments.";

class TSilentHost : public IProcessHost
{
public:
    void ProcessBusy() override {}
    void ProcessIdle() override {}
    void ProcessStage(const std::string&) override {}
};

struct TOptions
{
    char Marker = DefaultAccChar;
    bool Lst = false;
    std::optional<std::string> FileName; // none: standard input
};

std::string HelpText(const QCommandLineParser& parser)
{
    // Qt's own text starts with a usage line naming the executable as it was invoked and
    // listing no options; ours is fixed, and the rest (description, options) is kept.
    const QString text = parser.helpText();
    const qsizetype firstBreak = text.indexOf(QLatin1Char('\n'));
    return std::string(Usage) + '\n' +
           (firstBreak < 0 ? QString() : text.mid(firstBreak)).toStdString();
}

std::string EscapeField(std::string_view field)
{
    std::string escaped;
    escaped.reserve(field.size());
    for (const char c : field) {
        switch (c) {
        case '\\':
            escaped += "\\\\";
            break;
        case '\t':
            escaped += "\\t";
            break;
        case '\r':
            escaped += "\\r";
            break;
        case '\n':
            escaped += "\\n";
            break;
        default:
            escaped.push_back(c);
        }
    }
    return escaped;
}

std::vector<std::string> ReadInput(const TOptions& options, std::istream& in)
{
    if (options.FileName)
        return ReadCaptionFile(*options.FileName);
    std::string text{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    if (in.bad())
        throw EQuarnelError("Cannot read standard input.");
    return SplitCaptionLines(text);
}

void WriteTsv(std::ostream& out, const std::vector<std::string>& captions,
              const std::vector<RAccelerated>& results)
{
    std::string text;
    for (std::size_t i = 0; i < captions.size(); ++i) {
        text += EscapeField(captions[i]);
        text += '\t';
        if (i < results.size()) {
            text += EscapeField(results[i].Caption);
            text += '\t';
            text += EscapeField(std::string(1, results[i].Key));
        } else {
            text += '\t';
        }
        text += '\n';
        // Write in slices so that a long list never doubles in memory as text.
        if (text.size() >= 65536) {
            out << text;
            text.clear();
        }
    }
    out << text;
}

void WriteLst(std::ostream& out, const std::vector<RAccelerated>& results)
{
    std::vector<std::string_view> captions;
    captions.reserve(results.size());
    for (const RAccelerated& result : results)
        captions.emplace_back(result.Caption);
    out << JoinCaptionLines(captions);
}

} // namespace

int RunCli(const QStringList& arguments, std::istream& in, std::ostream& out, std::ostream& err)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(QString::fromLatin1(Description));
    // Qt's own help option would bring --help-all and its Qt options, which mean nothing here.
    const QCommandLineOption helpOption({QStringLiteral("h"), QStringLiteral("help")},
                                        QStringLiteral("Shows this help."));
    parser.addOption(helpOption);
    const QCommandLineOption markerOption(
        QStringLiteral("marker"),
        QStringLiteral("Accelerator marker, a single one-byte character (default \"&\")."),
        QStringLiteral("C"), QStringLiteral("&"));
    const QCommandLineOption formatOption(QStringLiteral("format"),
                                          QStringLiteral("Output format, tsv (default) or lst."),
                                          QStringLiteral("tsv|lst"), QStringLiteral("tsv"));
    parser.addOption(markerOption);
    parser.addOption(formatOption);
    parser.addPositionalArgument(QStringLiteral("FILE"),
                                 QStringLiteral("Caption list file; \"-\" or none reads standard "
                                                "input."),
                                 QStringLiteral("[FILE|-]"));

    if (!parser.parse(arguments)) {
        err << parser.errorText().toStdString() << '\n' << Usage << '\n';
        return CliExitBadInput;
    }
    if (parser.isSet(helpOption)) {
        out << HelpText(parser);
        return CliExitSuccess;
    }

    TOptions options;
    const std::string marker = parser.value(markerOption).toLocal8Bit().toStdString();
    if (marker.size() != 1 || marker[0] == '\0') {
        err << "Invalid marker \"" << marker << "\": give one character of one byte.\n";
        return CliExitBadInput;
    }
    options.Marker = marker[0];
    const QString format = parser.value(formatOption);
    if (format != QLatin1String("tsv") && format != QLatin1String("lst")) {
        err << "Unknown format \"" << format.toStdString() << "\": use tsv or lst.\n";
        return CliExitBadInput;
    }
    options.Lst = format == QLatin1String("lst");
    const QStringList positional = parser.positionalArguments();
    if (positional.size() > 1) {
        err << "Give at most one caption list file.\n" << Usage << '\n';
        return CliExitBadInput;
    }
    if (!positional.isEmpty() && positional.front() != QLatin1String("-"))
        options.FileName = positional.front().toLocal8Bit().toStdString();

    std::vector<std::string> captions;
    try {
        captions = ReadInput(options, in);
    } catch (const EQuarnelError& error) {
        err << error.what() << '\n';
        return CliExitBadInput;
    }

    TAccEngine engine;
    engine.FAccChar = options.Marker;
    TSilentHost host;
    std::vector<RAccelerated> results;
    std::string failure;
    try {
        results = engine.Process(
            captions.size(),
            [&captions](std::size_t i) -> const std::string& { return captions[i]; }, host);
    } catch (const EQuarnelError& error) {
        failure = error.what();
    }

    if (options.Lst)
        WriteLst(out, results);
    else
        WriteTsv(out, captions, results);
    out.flush();
    if (!failure.empty()) {
        err << failure << '\n';
        return CliExitNoCombination;
    }
    return CliExitSuccess;
}
