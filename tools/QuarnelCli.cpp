#include "QuarnelCli.h"

#include "Diagnosis.h"
#include "Engine.h"
#include "Lint.h"
#include "ListFile.h"
#include "Pinning.h"
#include "QuarnelError.h"
#include "SystemError.h"

#include <QCommandLineParser>
#include <bit>
#include <cerrno>
#include <istream>
#include <new>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

namespace {

constexpr const char* Usage =
    "Usage: quarnel-cli [--marker C] [--format tsv|lst] [--explain] [--keep] [FILE|-]\n"
    "       quarnel-cli --check [--marker C] [FILE|-]";

// Written out in full rather than generated: a reference page reads better in sections than
// Qt's one-line-per-option list.
constexpr const char* HelpPage =
    R"(NAME
    quarnel-cli - give every caption of a list its own accelerator key

SYNOPSIS
    quarnel-cli [--marker C] [--format tsv|lst] [--explain] [--keep] [FILE|-]
    quarnel-cli --check [--marker C] [FILE|-]
    quarnel-cli --help

DESCRIPTION
    Reads FILE, or standard input for "-" or no FILE, as a caption list file: one
    caption per line, lines ending at CR, LF or CR LF, the text ending at the first
    NUL byte. Inserts the marker before one character of every caption so that no two
    captions share an access key, and prints the result. Captions are taken in list
    order and characters from left to right; the first such assignment wins. A key is
    a letter (either case), a digit or one of ! $ < = > ? @. A doubled marker stands
    for a literal marker character.

OPTIONS
    --marker C
        The accelerator marker, one character of one byte, code 32 or above
        (default "&").

    --format tsv|lst
        tsv (default): one line per caption, original TAB accelerated TAB key LF,
        with backslash, tab, CR and LF inside a field written as \\, \t, \r and \n.
        Every caption is printed, with empty accelerated caption and key when no
        combination exists.
        lst: the accelerated captions as a caption list file, CR LF after each;
        nothing when no combination exists.

    --explain
        When no combination exists, also say why on standard error: every caption
        without a character that can be a key, or else a group of captions that
        share fewer keys than they are, none of which could be left out, and how
        many captions at most can get distinct keys.

    --keep
        A caption that already carries exactly one marker keeps it and its key; the
        other captions are assigned around those keys. Markers that cannot be kept (a
        key marked twice, a marker before a character that cannot be a key, a marker
        at the end, several markers in one caption) are reported on standard error
        as FILE:LINE: message, and nothing is assigned. Combines with --explain.

    --check
        Checks a list whose captions already carry markers and prints one
        FILE:LINE: message per finding: no marker, a marker at the end, a marker
        before a character that cannot be a key, several markers in one caption, a
        key used twice (naming both lines). Standard input is named <stdin>.

    -h, --help
        Shows this help.

EXIT STATUS
    0   Every caption got a key (an empty list succeeds with no output), or --check
        found nothing.
    1   No combination of distinct keys exists, --keep met markers it cannot keep,
        or --check found something. The reason goes to standard error, apart from
        --check, whose findings are its output.
    2   Unreadable input, bad arguments, not enough memory, or output that could not
        be written.

EXAMPLES
    quarnel-cli menu.lst
    quarnel-cli --format lst --marker '~' menu.lst > accelerated.lst
    quarnel-cli --explain menu.lst
    quarnel-cli --check translated.lst
    quarnel-cli --keep --format lst translated.lst > completed.lst
)";

constexpr const char* StdinName = "<stdin>";

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
    bool Explain = false;
    bool Keep = false;
    bool Check = false;
    std::optional<std::string> FileName; // none: standard input

    // How messages name the input.
    std::string InputName() const { return FileName ? *FileName : StdinName; }
};

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
    // The text ends at the first NUL, as in a file, so nothing after it is read: /dev/zero is
    // an empty list at once.
    std::string text;
    std::string chunk(65536, '\0');
    while (in.read(chunk.data(), static_cast<std::streamsize>(chunk.size())) || in.gcount() > 0) {
        const std::string_view got(chunk.data(), static_cast<std::size_t>(in.gcount()));
        const std::size_t nul = got.find('\0');
        text.append(got.substr(0, nul));
        if (nul != std::string_view::npos)
            return SplitCaptionLines(text);
    }
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

// Appended rather than "'" + text: GCC 12 warns falsely about the latter at -O2.
std::string Quoted(std::string_view caption)
{
    std::string quoted(1, '\'');
    quoted.append(EscapeField(caption)).push_back('\'');
    return quoted;
}

// On standard error after the failure message: what stops the list, and how far it gets.
void WriteExplanation(std::ostream& err, const std::string& name,
                      const std::vector<std::string>& captions, const std::vector<TKeySet>& keySets)
{
    const RDiagnosis diagnosis = Diagnose(keySets);
    std::string text;
    for (const std::size_t line : diagnosis.WithoutKeys)
        text += name + ':' + std::to_string(line + 1) + ": " + Quoted(captions[line]) +
                " has no character that can be a key\n";
    if (!diagnosis.Group.empty()) {
        const int keys = std::popcount(diagnosis.GroupKeys);
        text += name + ": " + std::to_string(diagnosis.Group.size()) + " captions share only " +
                std::to_string(keys) + (keys == 1 ? " key (" : " keys (") +
                KeysText(diagnosis.GroupKeys) + "):";
        const char* separator = " ";
        for (const std::size_t line : diagnosis.Group) {
            text += separator + ("line " + std::to_string(line + 1)) + ' ' + Quoted(captions[line]);
            separator = ", ";
        }
        text += '\n';
    }
    text += name + ": at most " + std::to_string(diagnosis.MaxDistinct) + " of " +
            std::to_string(captions.size()) + " captions can get distinct keys\n";
    err << text;
}

void WriteFindings(std::ostream& out, const std::string& name,
                   const std::vector<RFinding>& findings, char marker)
{
    std::string text;
    for (const RFinding& finding : findings) {
        text += name + ':' + std::to_string(finding.Line + 1) + ": " +
                DescribeFinding(finding, marker) + '\n';
        if (text.size() >= 65536) {
            out << text;
            text.clear();
        }
    }
    out << text;
}

void WriteResults(std::ostream& out, const TOptions& options,
                  const std::vector<std::string>& captions,
                  const std::vector<RAccelerated>& results)
{
    if (options.Lst)
        WriteLst(out, results);
    else
        WriteTsv(out, captions, results);
    out.flush();
}

int RunCheck(const TOptions& options, const std::vector<std::string>& captions, std::ostream& out)
{
    const std::vector<RFinding> findings = LintCaptions(captions, options.Marker);
    WriteFindings(out, options.InputName(), findings, options.Marker);
    out.flush();
    return findings.empty() ? CliExitSuccess : CliExitNoCombination;
}

int RunKeep(const TOptions& options, const std::vector<std::string>& captions, std::ostream& out,
            std::ostream& err)
{
    const RPinnedAssignment assignment = AssignKeepingPins(captions, options.Marker);
    WriteResults(out, options, captions, assignment.Results);
    if (assignment.Assigned)
        return CliExitSuccess;
    if (!assignment.Conflicts.empty()) {
        WriteFindings(err, options.InputName(), assignment.Conflicts, options.Marker);
        return CliExitNoCombination;
    }
    err << MsgNoCombination << '\n';
    if (options.Explain)
        WriteExplanation(err, options.InputName(), captions,
                         PinnedKeySets(captions, options.Marker));
    return CliExitNoCombination;
}

int RunProcess(const TOptions& options, const std::vector<std::string>& captions, std::ostream& out,
               std::ostream& err)
{
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

    WriteResults(out, options, captions, results);
    if (failure.empty())
        return CliExitSuccess;
    err << failure << '\n';
    if (options.Explain)
        WriteExplanation(err, options.InputName(), captions, KeySetsOf(captions));
    return CliExitNoCombination;
}

// Arguments hold bytes, one character each (see RunCli).
std::string BytesOf(const QString& argument)
{
    return argument.toLatin1().toStdString();
}

int RunUnguarded(const QStringList& arguments, std::istream& in, std::ostream& out,
                 std::ostream& err)
{
    QCommandLineParser parser;
    // Qt's own help option would bring --help-all and its Qt options, which mean nothing here.
    const QCommandLineOption helpOption(QStringList{QStringLiteral("h"), QStringLiteral("help")});
    const QCommandLineOption markerOption(QStringLiteral("marker"), QString(), QStringLiteral("C"),
                                          QStringLiteral("&"));
    const QCommandLineOption formatOption(QStringLiteral("format"), QString(),
                                          QStringLiteral("tsv|lst"), QStringLiteral("tsv"));
    const QCommandLineOption explainOption(QStringLiteral("explain"));
    const QCommandLineOption keepOption(QStringLiteral("keep"));
    const QCommandLineOption checkOption(QStringLiteral("check"));
    parser.addOptions(
        {helpOption, markerOption, formatOption, explainOption, keepOption, checkOption});

    if (!parser.parse(arguments)) {
        err << BytesOf(parser.errorText()) << '\n' << Usage << '\n';
        return CliExitBadInput;
    }
    if (parser.isSet(helpOption)) {
        out << HelpPage;
        return CliExitSuccess;
    }

    TOptions options;
    const std::string marker = BytesOf(parser.value(markerOption));
    if (marker.size() != 1) {
        err << "Invalid marker \"" << marker << "\": give one character of one byte.\n";
        return CliExitBadInput;
    }
    // A line break as marker would split the lines it is inserted into.
    if (static_cast<unsigned char>(marker[0]) < ' ') {
        err << "Invalid marker: code " << static_cast<int>(marker[0])
            << " is a control character; give a character of code 32 or above.\n";
        return CliExitBadInput;
    }
    options.Marker = marker[0];
    const QString format = parser.value(formatOption);
    if (format != QLatin1String("tsv") && format != QLatin1String("lst")) {
        err << "Unknown format \"" << BytesOf(format) << "\": use tsv or lst.\n";
        return CliExitBadInput;
    }
    options.Lst = format == QLatin1String("lst");
    options.Explain = parser.isSet(explainOption);
    options.Keep = parser.isSet(keepOption);
    options.Check = parser.isSet(checkOption);
    // A check assigns nothing, so there is nothing to explain, keep or format.
    if (options.Check && (options.Explain || options.Keep || parser.isSet(formatOption))) {
        err << "--check takes no --explain, --keep or --format.\n" << Usage << '\n';
        return CliExitBadInput;
    }
    const QStringList positional = parser.positionalArguments();
    if (positional.size() > 1) {
        err << "Give at most one caption list file.\n" << Usage << '\n';
        return CliExitBadInput;
    }
    if (!positional.isEmpty() && positional.front() != QLatin1String("-"))
        options.FileName = BytesOf(positional.front());

    std::vector<std::string> captions;
    try {
        captions = ReadInput(options, in);
    } catch (const EQuarnelError& error) {
        err << error.what() << '\n';
        return CliExitBadInput;
    }

    if (options.Check)
        return RunCheck(options, captions, out);
    if (options.Keep)
        return RunKeep(options, captions, out, err);
    return RunProcess(options, captions, out, err);
}

} // namespace

int RunCli(const QStringList& arguments, std::istream& in, std::ostream& out, std::ostream& err)
{
    int status = CliExitBadInput;
    try {
        status = RunUnguarded(arguments, in, out, err);
    } catch (const std::bad_alloc&) {
        // What failed was large; unwinding gave its memory back, so the message can be written.
        err << SystemErrorText(ENOMEM) << '\n';
        return CliExitBadInput;
    }
    // A full disk or a file size limit behind standard output: the output is incomplete.
    if (!out.flush()) {
        err << "Stream write error\n";
        return CliExitBadInput;
    }
    return status;
}
