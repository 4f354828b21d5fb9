#include "QuarnelCli.h"

#include "AtomicFile.h"
#include "Diagnosis.h"
#include "Engine.h"
#include "FindingReport.h"
#include "GettextCatalogueFormat.h"
#include "GtkBuilderSet.h"
#include "Lint.h"
#include "ListFile.h"
#include "Pinning.h"
#include "PreferredFix.h"
#include "QtFormSet.h"
#include "QualityReport.h"
#include "QuarnelError.h"
#include "Scope.h"
#include "ScopeFileCommands.h"
#include "SystemError.h"
#include "UnicodeKeyRule.h"
#include "UnifiedDiff.h"

#include <QCommandLineParser>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <bit>
#include <cerrno>
#include <chrono>
#include <functional>
#include <iostream>
#include <istream>
#include <memory>
#include <new>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <unistd.h>
#include <vector>

namespace {

constexpr const char* Usage =
    "Usage: quarnel-cli [--marker C] [--keys ascii|unicode] [--format tsv|lst] [--explain] "
    "[--keep] [--prefer first|guidelines] [--prefer-file FILE] [FILE|-]\n"
    "       quarnel-cli check [--marker C] [--keys ascii|unicode] [--strict] [--explain] "
    "[--quality] [--prefer-file FILE] [--forms DIR] [--builder DIR] [--format text|json|sarif] "
    "[FILE|DIR|-]...\n"
    "       quarnel-cli fix [--marker C] [--keys ascii|unicode] [--add-missing] [--diff] "
    "[--dry-run] [--prefer first|guidelines] [--prefer-file FILE] [--forms DIR] [--builder DIR] "
    "FILE|DIR...";

// Written out in full rather than generated: a reference page reads better in sections than
// Qt's one-line-per-option list.
constexpr const char* HelpPage =
    R"help(NAME
    quarnel-cli - give every caption of a list its own accelerator key

SYNOPSIS
    quarnel-cli [--marker C] [--keys ascii|unicode] [--format tsv|lst] [--explain]
                [--keep] [--prefer first|guidelines] [--prefer-file FILE] [FILE|-]
    quarnel-cli check [--marker C] [--keys ascii|unicode] [--strict] [--explain]
                [--quality] [--prefer-file FILE] [--forms DIR] [--builder DIR]
                [--format text|json|sarif] [FILE|DIR|-]...
    quarnel-cli fix [--marker C] [--keys ascii|unicode] [--add-missing] [--diff]
                [--dry-run] [--prefer first|guidelines] [--prefer-file FILE]
                [--forms DIR] [--builder DIR] FILE|DIR...
    quarnel-cli --help

DESCRIPTION
    Reads FILE, or standard input for "-" or no FILE, as a caption list file: one
    caption per line, lines ending at CR, LF or CR LF, the text ending at the first
    NUL byte. Inserts the marker before one character of every caption so that no two
    captions share an access key, and prints the result. Captions are taken in list
    order and characters from left to right; the first such assignment wins. A key is
    a letter (either case), a digit or one of ! $ < = > ? @. A doubled marker stands
    for a literal marker character.

    check and fix work on files whose captions already carry markers; several files
    may be given, and a folder stands for every .lst, .rc, .ui, .ts and .po file in
    it and below it.

    A Windows resource script (.rc) holds its captions in scopes: the top-level
    entries of a MENU or MENUEX, the entries of each POPUP, and the controls of a
    DIALOG or DIALOGEX. Keys differ within a scope and follow the unicode rule
    whatever --keys says; the marker is "&". A menu caption ends at its tab. A
    control with SS_NOPREFIX carries no key. The file may be UTF-8 (with or without
    BOM), UTF-16LE with BOM, or in the code pages its #pragma code_page lines name.

    A Qt Designer form (.ui) has a scope for its menu bar, one for each menu (its
    addaction entries in order), one for the form's buttons, check boxes, group boxes
    and labels with a buddy, and one for each tab or tool box page. A Qt Linguist file
    (.ts) is checked in its translations only, each context as one scope whose
    sources carry a key; unfinished, vanished and obsolete translations are passed
    over. Both are UTF-8 XML with the marker written "&amp;".

    A GtkBuilder file (.ui whose root element is <interface>) has a scope for each
    GMenu <menu> and <submenu> (the items of all its sections), each GtkMenuBar and
    GtkMenu, and each toplevel window or dialog (its labels, buttons, check and radio
    buttons, expanders and frames with use-underline); notebook and stack pages are
    scopes of their own that avoid the keys of their window. A gettext catalogue
    (.po) is checked in its translations only, each message alone, or with --builder
    in the scopes of the builder files; fuzzy and obsolete entries are passed over and
    every plural form is checked. Both take "_" as the marker ("__" for a literal
    underscore). A catalogue may be in any charset its header names that keeps ASCII
    bytes apart from its other characters (UTF-8, ISO-8859-1, KOI8-R, EUC-JP...); it
    is read through iconv and written back in that charset.

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

    --format text|json|sarif
        With check: how findings are printed. text (default): one line each, as
        described under COMMANDS. json: one array of objects with file, line,
        column (null for a caption list), scope (null for none), rule, message and
        severity (error, warning or note). sarif: a SARIF 2.1.0 log of one run,
        the rules listed in the driver, one result per finding with ruleId, level,
        message and location (uri, startLine, startColumn), the scope as its
        logical location. Rules: duplicate-key, key-taken-outside, no-key,
        marker-at-end, marker-before-non-key, several-markers, label-without-buddy,
        source-key-missing, key-not-in-source, string-passed-over,
        context-without-form, no-key-character, too-few-keys, file-note. Files that
        cannot be read are reported on standard error as with text. The exit
        status does not change.

    --keys ascii|unicode
        ascii (default): the keys above, bytes compared after ASCII upper-casing.
        unicode: captions are UTF-8; a key is a letter or decimal digit of any script
        or one of ! $ < = > ? @, keys compare by simple case folding ("ё" is "Ё") and
        show in upper case. Chinese, Japanese, Korean and Yi characters are no keys; a
        caption holding one is offered, after its own keys, a suffix "(&A)" to "(&Z)"
        then "(&0)" to "(&9)", placed before a trailing "...", "…", ":" or "：".
        Bytes that are not valid UTF-8 are never keys and stay as they are.

    --explain
        When no combination exists, also say why on standard error: every caption
        without a character that can be a key, or else a group of captions that
        share fewer keys than they are, none of which could be left out, and how
        many captions at most can get distinct keys. With check of .rc files: for a
        scope whose captions cannot all get distinct keys, the captions without any
        key or the smallest group of captions with fewer keys than members, as notes.

    --keep
        A caption that already carries exactly one marker keeps it and its key; the
        other captions are assigned around those keys. Markers that cannot be kept (a
        key marked twice, a marker before a character that cannot be a key, a marker
        at the end, several markers in one caption) are reported on standard error
        as FILE:LINE: message, and nothing is assigned. Combines with --explain.

    --check
        The same as the check command.

    --diff
        With fix: prints a unified diff of the changes instead of writing.

    --dry-run
        With fix: writes nothing and prints "FILE: N captions would change".

    --strict
        With check of .rc files: warnings count as findings for the exit status.

    --add-missing
        With fix of .rc files: dialog controls without a key get one too.

    --forms DIR
        With check and fix of .ts files: every translation takes the scope its
        source has in the Designer form (.ui, in DIR or below) whose class names
        its context; contexts without a form are checked each as one scope.

    --prefer first|guidelines
        first (default): the first assignment in list order, as described above.
        guidelines: every place of a caption costs, and each list or scope gets the
        complete assignment of distinct keys with the least total cost, decided
        exactly (ties go to the earlier caption's leftmost place). From cheapest:
        the first letter of the caption, the first letter of another word, a
        consonant, a vowel, a digit, a punctuation key or a "(&X)" suffix; narrow
        letters (i l I 1 !) and letters the underline cuts (g j p q y, and in other
        scripts the like) cost a little more. A common command takes its usual key
        whenever that key is free ("&File", "E&xit", "Cu&t", "Select &All"...). With
        fix, the fewest markers still move, and the captions mended take the
        cheapest keys around the others; a command keeps the key most of its
        captions end with in all files of the call, and a translation the key of
        its source. "OK" and "Cancel" among a
        dialog's controls get no key, with --add-missing too; in a caption list
        every caption gets one. The costs and the table of common commands are
        listed in the README and in docs/preferences.md.

    --prefer-file FILE
        Reads rules that change the costs, one a line ("#" starts a comment):
            weight NAME N          first-letter, word-start, consonant, vowel,
                                   digit, punctuation, narrow, descender,
                                   standard or consistency; N 0..1000000
            standard "TEXT" K      the usual key K (a character of TEXT) of a command
            nokey "TEXT"           a dialog caption that gets no key
            clear standard|nokey   forgets the built-in entries
        Implies --prefer guidelines. A bad line stops the tool with FILE:LINE:
        message and exit status 2. With check --quality, the standard keys and the
        word rules of the file are the ones counted.

    --quality
        With check: prints instead of findings, for every list and scope, how many
        captions and keys it has, how many keys sit on the first letter of a word,
        how many captions of common commands carry their usual key, and how many
        keys differ from the key most captions of the same command carry in all the
        files given; then the total, with the commands found on more than one key.

    --builder DIR
        With check and fix of .po files: every translation takes the scope its
        msgid has in the GtkBuilder files (.ui, in DIR or below) that its "#:"
        references name, found with its msgctxt; two translated entries of one menu
        or dialog on the same key are a finding. Messages no builder file holds are
        checked each alone.

    -h, --help
        Shows this help.

COMMANDS
    check [FILE|DIR|-]...
        Checks lists whose captions already carry markers and prints one
        FILE:LINE: message per finding: no marker, a marker at the end, a marker
        before a character that cannot be a key, several markers in one caption, a
        key used twice (naming both lines). Standard input is named <stdin> and is
        read when no FILE is given.

    fix FILE|DIR...
        Completes each list in place: captions with one sound marker keep it and the
        others get keys around them, as with --keep. Where markers clash (a key
        marked twice) or are malformed, as few as possible move: the largest set of
        markers that still lets every caption get a key stays, earlier captions first.
        Only the changed captions' bytes change; the file is replaced atomically, and
        left as it was when no combination exists (the reason goes to standard
        error). Prints "FILE: N captions changed" for every file it changes.

    check FILE.rc|DIR...
        One line per finding, FILE:LINE:COL: error|warning: message [scope]: a key
        used twice in a scope (naming every line), several markers in a caption, a
        marker before a character that cannot be a key or at the end (errors); a
        caption without a key (warnings, which count only with --strict).

    fix FILE.rc|DIR...
        Mends every scope with an error, and menu entries without a key, moving as
        few markers as possible: the most existing keys stay, the earlier captions
        first, and the mended captions take the first keys that fit. Only the bytes
        of the changed captions change; encoding, BOM and line breaks stay. A scope
        that cannot be mended is reported as check --explain reports it and left as
        it is.

EXIT STATUS
    0   Every caption got a key (an empty list succeeds with no output), or --check
        found nothing.
    1   No combination of distinct keys exists, --keep met markers it cannot keep,
        or check found something. The reason goes to standard error, apart from
        check, whose findings are its output. fix: a list could not be completed,
        or, with --dry-run, some file would change.
    2   Unreadable input, bad arguments, not enough memory, or output that could not
        be written. With several files the worst status counts.

EXAMPLES
    quarnel-cli menu.lst
    quarnel-cli --format lst --marker '~' menu.lst > accelerated.lst
    quarnel-cli --explain menu.lst
    quarnel-cli --check translated.lst
    quarnel-cli --keep --format lst translated.lst > completed.lst
    quarnel-cli --keys unicode --format lst russian.lst
    quarnel-cli check --keys unicode translations/
    quarnel-cli fix --diff translated.lst
    quarnel-cli fix --dry-run translations/ || echo "some lists need keys"
    quarnel-cli check --explain res/
    quarnel-cli fix --diff res/editor_de.rc
    quarnel-cli --prefer guidelines --format lst menu.lst
    quarnel-cli fix --prefer guidelines --add-missing res/ forms/
    quarnel-cli check --quality res/ forms/
)help";

constexpr const char* StdinName = "<stdin>";

class TSilentHost : public IProcessHost
{
public:
    void ProcessBusy() override {}
    void ProcessIdle() override {}
    void ProcessStage(const std::string&) override {}
};

enum class TCommand
{
    Process,
    Check,
    Fix,
};

struct TOptions
{
    TCommand Command = TCommand::Process;
    char Marker = DefaultAccChar;
    bool Unicode = false; // --keys unicode
    bool Lst = false;
    bool Explain = false;
    bool Keep = false;
    bool Diff = false;
    bool DryRun = false;
    bool Strict = false;                     // check of scope files
    bool AddMissing = false;                 // fix of scope files
    std::optional<std::string> Forms;        // check and fix of .ts files: --forms DIR
    std::optional<std::string> Builder;      // check and fix of .po files: --builder DIR
    std::optional<std::string> FileName;     // none: standard input
    std::shared_ptr<TKeyPreference> Prefer;  // --prefer guidelines; none: the first assignment
    std::shared_ptr<TKeyPreference> Quality; // check --quality, measured by these preferences
    // check: --format text|json|sarif
    TReportFormat Report = TReportFormat::Text;

    // How messages name the input.
    std::string InputName() const { return FileName ? *FileName : StdinName; }
    const IKeyRule& Rule() const { return Unicode ? UnicodeKeyRule() : AsciiKeyRule(); }
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

// One caption's answer: its accelerated form and the key as shown.
struct RRow
{
    std::string Caption;
    std::string Key;
};

// A finding or a conflict: the caption's index and the message.
struct RNote
{
    std::size_t Line = 0;
    std::string Text;
    std::string_view Rule = {}; // a check finding's
};

void WriteTsv(std::ostream& out, const std::vector<std::string>& captions,
              const std::vector<RRow>& results)
{
    std::string text;
    for (std::size_t i = 0; i < captions.size(); ++i) {
        text += EscapeField(captions[i]);
        text += '\t';
        if (i < results.size()) {
            text += EscapeField(results[i].Caption);
            text += '\t';
            text += EscapeField(results[i].Key);
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

void WriteLst(std::ostream& out, const std::vector<RRow>& results)
{
    std::vector<std::string_view> captions;
    captions.reserve(results.size());
    for (const RRow& result : results)
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

// Why a list fails, whichever rule found it.
struct RExplanation
{
    std::size_t MaxDistinct = 0;
    std::vector<std::size_t> WithoutKeys;
    std::vector<std::size_t> Group;
    int GroupKeyCount = 0;
    std::string GroupKeys; // "A, B, C"
};

RExplanation Explain(const TOptions& options, const std::vector<std::string>& captions,
                     bool keepPins)
{
    RExplanation explanation;
    if (!options.Unicode) {
        const RDiagnosis diagnosis =
            Diagnose(keepPins ? PinnedKeySets(captions, options.Marker) : KeySetsOf(captions));
        explanation = {diagnosis.MaxDistinct, diagnosis.WithoutKeys, diagnosis.Group,
                       std::popcount(diagnosis.GroupKeys), KeysText(diagnosis.GroupKeys)};
        return explanation;
    }
    const IKeyRule& rule = options.Rule();
    const RScopeDiagnosis diagnosis =
        ExplainScope(RScope{{}, captions, {}}, rule, options.Marker, keepPins);
    explanation = {diagnosis.MaxDistinct,
                   diagnosis.WithoutKeys,
                   diagnosis.Group,
                   static_cast<int>(diagnosis.GroupKeys.size()),
                   {}};
    // In the order of the keys as shown, which is alphabetical within each script.
    std::vector<std::string> shown;
    for (const TKey key : diagnosis.GroupKeys)
        shown.push_back(rule.KeyText(key));
    std::sort(shown.begin(), shown.end());
    for (const std::string& key : shown) {
        if (!explanation.GroupKeys.empty())
            explanation.GroupKeys += ", ";
        explanation.GroupKeys += key;
    }
    return explanation;
}

// On standard error after the failure message: what stops the list, and how far it gets.
void WriteExplanation(std::ostream& err, const std::string& name,
                      const std::vector<std::string>& captions, const RExplanation& diagnosis)
{
    std::string text;
    for (const std::size_t line : diagnosis.WithoutKeys)
        text += name + ':' + std::to_string(line + 1) + ": " + Quoted(captions[line]) +
                " has no character that can be a key\n";
    if (!diagnosis.Group.empty()) {
        const int keys = diagnosis.GroupKeyCount;
        text += name + ": " + std::to_string(diagnosis.Group.size()) + " captions share only " +
                std::to_string(keys) + (keys == 1 ? " key (" : " keys (") + diagnosis.GroupKeys +
                "):";
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

void WriteNotes(std::ostream& out, const std::string& name, const std::vector<RNote>& notes)
{
    std::string text;
    for (const RNote& note : notes) {
        text += name + ':' + std::to_string(note.Line + 1) + ": " + note.Text + '\n';
        if (text.size() >= 65536) {
            out << text;
            text.clear();
        }
    }
    out << text;
}

void WriteResults(std::ostream& out, const TOptions& options,
                  const std::vector<std::string>& captions, const std::vector<RRow>& results)
{
    if (options.Lst)
        WriteLst(out, results);
    else
        WriteTsv(out, captions, results);
    out.flush();
}

std::vector<RRow> RowsOf(const std::vector<RAccelerated>& results)
{
    std::vector<RRow> rows;
    rows.reserve(results.size());
    for (const RAccelerated& result : results)
        rows.push_back({result.Caption, std::string(1, result.Key)});
    return rows;
}

std::vector<RRow> RowsOf(const std::vector<RKeyed>& results, const IKeyRule& rule)
{
    std::vector<RRow> rows;
    rows.reserve(results.size());
    for (const RKeyed& result : results)
        rows.push_back({result.Caption, rule.KeyText(result.Key)});
    return rows;
}

std::vector<RNote> Check(const TOptions& options, const std::vector<std::string>& captions)
{
    std::vector<RNote> notes;
    if (!options.Unicode) {
        for (const RFinding& finding : LintCaptions(captions, options.Marker))
            notes.push_back(
                {finding.Line, DescribeFinding(finding, options.Marker), RuleOf(finding.Kind)});
        return notes;
    }
    for (const RScopeFinding& finding :
         CheckScope(RScope{{}, captions, {}}, options.Rule(), options.Marker))
        notes.push_back({finding.Caption,
                         DescribeScopeFinding(finding, options.Rule(), options.Marker),
                         RuleOf(finding.Kind, finding.TakenOutside)});
    return notes;
}

// What --keep and fix do with a list: the kept-marker assignment, or what stops it.
struct RKept
{
    bool Assigned = false;
    std::vector<RRow> Rows;
    std::vector<RNote> Conflicts;
};

RKept Keep(const TOptions& options, const std::vector<std::string>& captions)
{
    RKept kept;
    if (!options.Unicode) {
        const RPinnedAssignment assignment = AssignKeepingPins(captions, options.Marker);
        kept.Assigned = assignment.Assigned;
        kept.Rows = RowsOf(assignment.Results);
        for (const RFinding& finding : assignment.Conflicts)
            kept.Conflicts.push_back({finding.Line, DescribeFinding(finding, options.Marker)});
        return kept;
    }
    const RScopeKeeping keeping =
        AssignScopeKeepingPins(RScope{{}, captions, {}}, options.Rule(), options.Marker);
    kept.Assigned = keeping.Assigned;
    kept.Rows = RowsOf(keeping.Results, options.Rule());
    for (const RScopeFinding& finding : keeping.Conflicts)
        kept.Conflicts.push_back(
            {finding.Caption, DescribeScopeFinding(finding, options.Rule(), options.Marker)});
    return kept;
}

// Text goes out as it is found; the other formats gather every file's findings into one
// document.
int RunCheck(const TOptions& options, const std::vector<std::string>& captions, std::ostream& out,
             std::vector<RCheckFinding>& gathered)
{
    const std::vector<RNote> findings = Check(options, captions);
    if (options.Report != TReportFormat::Text) {
        for (const RNote& note : findings)
            gathered.push_back({options.InputName(),
                                static_cast<std::uint32_t>(note.Line + 1),
                                0,
                                {},
                                std::string(note.Rule),
                                note.Text,
                                TSeverity::Error});
        return findings.empty() ? CliExitSuccess : CliExitNoCombination;
    }
    WriteNotes(out, options.InputName(), findings);
    out.flush();
    return findings.empty() ? CliExitSuccess : CliExitNoCombination;
}

// The kept markers stay, the other captions take the cheapest keys around them.
std::vector<RRow> PreferredRows(const TOptions& options, const std::vector<std::string>& captions)
{
    const RScopeFix fix =
        FixListPreferring(captions, options.Rule(), options.Marker, *options.Prefer);
    std::vector<RRow> rows;
    for (std::size_t i = 0; i < fix.Captions.size(); ++i)
        rows.push_back({fix.Captions[i], options.Rule().KeyText(fix.Keys[i].value_or(0))});
    return rows;
}

int RunKeep(const TOptions& options, const std::vector<std::string>& captions, std::ostream& out,
            std::ostream& err)
{
    RKept kept = Keep(options, captions);
    if (kept.Assigned && options.Prefer)
        kept.Rows = PreferredRows(options, captions);
    WriteResults(out, options, captions, kept.Rows);
    if (kept.Assigned)
        return CliExitSuccess;
    if (!kept.Conflicts.empty()) {
        WriteNotes(err, options.InputName(), kept.Conflicts);
        return CliExitNoCombination;
    }
    err << MsgNoCombination << '\n';
    if (options.Explain)
        WriteExplanation(err, options.InputName(), captions, Explain(options, captions, true));
    return CliExitNoCombination;
}

// The window's own pass for the ASCII rule, so the two can never differ.
std::optional<std::vector<RRow>> Assign(const TOptions& options,
                                        const std::vector<std::string>& captions)
{
    if (options.Prefer || options.Unicode) {
        const std::optional<std::vector<RKeyed>> results =
            options.Prefer
                ? AssignListPreferring(captions, options.Rule(), options.Marker, *options.Prefer)
                : AssignScope(RScope{{}, captions, {}}, options.Rule(), options.Marker);
        if (!results && !captions.empty())
            return std::nullopt;
        return RowsOf(results.value_or(std::vector<RKeyed>{}), options.Rule());
    }
    TAccEngine engine;
    engine.FAccChar = options.Marker;
    TSilentHost host;
    try {
        return RowsOf(engine.Process(
            captions.size(),
            [&captions](std::size_t i) -> const std::string& { return captions[i]; }, host));
    } catch (const EQuarnelError&) {
        return std::nullopt;
    }
}

int RunProcess(const TOptions& options, const std::vector<std::string>& captions, std::ostream& out,
               std::ostream& err)
{
    const std::optional<std::vector<RRow>> results = Assign(options, captions);
    WriteResults(out, options, captions, results.value_or(std::vector<RRow>{}));
    if (results)
        return CliExitSuccess;
    err << MsgNoCombination << '\n';
    if (options.Explain)
        WriteExplanation(err, options.InputName(), captions, Explain(options, captions, false));
    return CliExitNoCombination;
}

// ---- Several files: check and fix ----------------------------------------------------------

// Arguments hold bytes, one character each (see RunCli).
std::string BytesOf(const QString& argument)
{
    return argument.toLatin1().toStdString();
}

// Whether a .ts file found in a folder is a Linguist translation: its start names the root.
bool IsLinguistFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) && file.read(1024).contains("<TS");
}

// Files as given, each folder replaced by the list files in it and below it, in name order.
std::vector<std::string> ExpandInputs(const QStringList& arguments)
{
    std::vector<std::string> files;
    for (const QString& argument : arguments) {
        const QString path = QFile::decodeName(QByteArray::fromStdString(BytesOf(argument)));
        if (!QFileInfo(path).isDir()) {
            files.push_back(BytesOf(argument));
            continue;
        }
        std::vector<std::string> found;
        QDirIterator walk(path,
                          {QStringLiteral("*.lst"), QStringLiteral("*.rc"), QStringLiteral("*.RC"),
                           QStringLiteral("*.ui"), QStringLiteral("*.ts"), QStringLiteral("*.po")},
                          QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
        while (walk.hasNext()) {
            const QString foundPath = walk.next();
            if (foundPath.endsWith(QLatin1StringView(".ts")) && !IsLinguistFile(foundPath))
                continue; // TypeScript, in a project that has both
            found.push_back(QFile::encodeName(foundPath).toStdString());
        }
        std::sort(found.begin(), found.end());
        files.insert(files.end(), found.begin(), found.end());
    }
    return files;
}

// The bytes of every caption of a list file, with where each lies in the text.
struct RCaptionSpans
{
    std::vector<std::string> Captions;
    std::vector<std::size_t> Starts;
};

RCaptionSpans CaptionSpans(const std::string& text)
{
    RCaptionSpans spans;
    ForEachCaptionLine(text, [&](std::string_view line) {
        spans.Captions.emplace_back(line);
        spans.Starts.push_back(static_cast<std::size_t>(line.data() - text.data()));
    });
    return spans;
}

// Replaces the file, or leaves it as it was on any failure.
void WriteFileAtomically(const std::string& fileName, const std::string& bytes)
{
    const std::optional<RReplaceFailure> failure = ReplaceFile(fileName, bytes);
    if (!failure)
        return;
    throw EQuarnelError((failure->Step == RReplaceFailure::EStep::Create ? "Cannot create file \""
                                                                         : "Cannot write file \"") +
                        fileName + "\". " + failure->Reason());
}

int FixFile(const TOptions& options, std::ostream& out, std::ostream& err)
{
    const std::string& name = *options.FileName;
    const std::string text = ReadCaptionFileText(name);
    const RCaptionSpans spans = CaptionSpans(text);
    // Every caption of a list wants a key.
    const RScopeFix fix =
        options.Prefer
            ? FixListPreferring(spans.Captions, options.Rule(), options.Marker, *options.Prefer)
            : FixScope(RScope{{}, spans.Captions, {}}, options.Rule(), options.Marker,
                       std::vector<bool>(spans.Captions.size(), true));
    if (!fix.Fixed) {
        err << name << ": " << MsgNoCombination << '\n';
        WriteExplanation(err, name, spans.Captions, Explain(options, spans.Captions, false));
        return CliExitNoCombination;
    }

    // Only the captions' bytes change: line breaks and anything after a NUL stay.
    std::string fixed;
    fixed.reserve(text.size() + fix.Captions.size());
    std::size_t copied = 0;
    std::size_t changed = 0;
    for (std::size_t i = 0; i < fix.Captions.size(); ++i) {
        fixed.append(text, copied, spans.Starts[i] - copied);
        fixed.append(fix.Captions[i]);
        copied = spans.Starts[i] + spans.Captions[i].size();
        changed += fix.Changed[i];
    }
    fixed.append(text, copied, std::string::npos);
    if (changed == 0)
        return CliExitSuccess;

    if (options.Diff) {
        // Each caption with the line break that follows it in the file.
        std::vector<std::string> before;
        std::vector<std::string> after;
        const std::string_view lines = std::string_view(text).substr(0, text.find('\0'));
        for (std::size_t i = 0; i < spans.Starts.size(); ++i) {
            const std::size_t end = spans.Starts[i] + spans.Captions[i].size();
            const std::size_t next =
                i + 1 < spans.Starts.size() ? spans.Starts[i + 1] : lines.size();
            const std::string_view lineBreak = lines.substr(end, next - end);
            before.push_back(spans.Captions[i] + std::string(lineBreak));
            after.push_back(fix.Captions[i] + std::string(lineBreak));
        }
        out << UnifiedDiff(name, before, after);
    } else if (options.DryRun) {
        out << name << ": " << changed << (changed == 1 ? " caption" : " captions")
            << " would change\n";
    } else {
        WriteFileAtomically(name, fixed);
        out << name << ": " << changed << (changed == 1 ? " caption" : " captions") << " changed\n";
    }
    return options.DryRun ? CliExitNoCombination : CliExitSuccess;
}

// A progress line on standard error when it is a terminal and the work takes a while.
std::function<void(std::size_t, std::size_t)> ProgressOn(std::ostream& err, std::size_t total)
{
    if (&err != &std::cerr || !isatty(STDERR_FILENO) || total < 2)
        return {};
    const auto start = std::chrono::steady_clock::now();
    return [start, shown = false](std::size_t done, std::size_t all) mutable {
        if (!shown && std::chrono::steady_clock::now() - start < std::chrono::seconds(1))
            return;
        shown = true;
        std::cerr << "\rchecked " << done << " of " << all << " files" << (done == all ? "\n" : "")
                  << std::flush;
    };
}

// The worst status of all files: unreadable beats findings beats clean.
int RunFiles(TOptions options, const std::vector<std::string>& files, std::istream& in,
             std::ostream& out, std::ostream& err)
{
    RScopeFileOptions scoped{options.Strict, options.Explain, options.AddMissing, options.Diff,
                             options.DryRun};
    std::optional<TQtFormSet> forms;
    std::optional<TQtTranslationFormat> translations;
    if (options.Forms) {
        try {
            forms.emplace(*options.Forms);
        } catch (const EFormatError& error) {
            err << error.what() << '\n';
            return CliExitBadInput;
        }
        translations.emplace(forms->ByClass());
        scoped.Translations = &*translations;
    }
    std::optional<TGtkBuilderSet> builders;
    std::optional<TGettextCatalogueFormat> catalogues;
    if (options.Builder) {
        try {
            builders.emplace(*options.Builder);
        } catch (const EFormatError& error) {
            err << error.what() << '\n';
            return CliExitBadInput;
        }
        catalogues.emplace(&builders->Sources());
        scoped.Catalogues = &*catalogues;
    }
    if (options.Prefer) {
        scoped.Prefer = options.Prefer.get();
        if (options.Command == TCommand::Fix)
            LearnKeysOfCall(*options.Prefer, files, options.Rule(), options.Marker, scoped);
    }
    if (options.Quality) {
        std::string errors;
        const std::vector<RQualityScope> scopes = QualityScopes(
            files, scoped, options.Rule(), options.Marker, *options.Quality,
            [&](const std::string& file) {
                TOptions list = options;
                list.FileName = file == "-" ? std::nullopt : std::optional<std::string>(file);
                return ReadInput(list, in);
            },
            errors);
        out << QualityText(scopes, *options.Quality);
        err << errors;
        return errors.empty() ? CliExitSuccess : CliExitBadInput;
    }
    // Scope files are checked in parallel first; their reports keep their place among the rest.
    std::vector<RFileReport> checked;
    if (options.Command == TCommand::Check)
        checked = CheckScopeFiles(files, scoped, ProgressOn(err, files.size()));
    std::vector<RCheckFinding> gathered;
    int status = CliExitSuccess;
    for (std::size_t i = 0; i < files.size(); ++i) {
        const std::string& file = files[i];
        if (const ICaptionFormat* format = ScopeFormatFor(file, scoped)) {
            const RFileReport report = options.Command == TCommand::Check
                                           ? checked[i]
                                           : FixScopeFile(file, *format, scoped);
            out << report.Out;
            err << report.Err;
            if (options.Report == TReportFormat::Text)
                out << FindingsAsText(report.Findings);
            else
                gathered.insert(gathered.end(), report.Findings.begin(), report.Findings.end());
            status = std::max(status, report.Status);
            continue;
        }
        options.FileName = file == "-" ? std::nullopt : std::optional<std::string>(file);
        int fileStatus = CliExitSuccess;
        try {
            if (options.Command == TCommand::Fix)
                fileStatus = FixFile(options, out, err);
            else
                fileStatus = RunCheck(options, ReadInput(options, in), out, gathered);
        } catch (const EQuarnelError& error) {
            err << error.what() << '\n';
            fileStatus = CliExitBadInput;
        }
        status = std::max(status, fileStatus);
    }
    if (options.Command == TCommand::Check && options.Report != TReportFormat::Text)
        out << FormatFindings(options.Report, gathered);
    out.flush();
    return status;
}

int RunUnguarded(const QStringList& arguments, std::istream& in, std::ostream& out,
                 std::ostream& err)
{
    // A command, when there is one, comes right after the program's name.
    QStringList optionArguments = arguments;
    TOptions options;
    if (optionArguments.size() > 1 && optionArguments[1] == QLatin1String("check")) {
        options.Command = TCommand::Check;
        optionArguments.removeAt(1);
    } else if (optionArguments.size() > 1 && optionArguments[1] == QLatin1String("fix")) {
        options.Command = TCommand::Fix;
        optionArguments.removeAt(1);
    }

    QCommandLineParser parser;
    // Qt's own help option would bring --help-all and its Qt options, which mean nothing here.
    const QCommandLineOption helpOption(QStringList{QStringLiteral("h"), QStringLiteral("help")});
    const QCommandLineOption markerOption(QStringLiteral("marker"), QString(), QStringLiteral("C"),
                                          QStringLiteral("&"));
    const QCommandLineOption keysOption(QStringLiteral("keys"), QString(),
                                        QStringLiteral("ascii|unicode"), QStringLiteral("ascii"));
    const QCommandLineOption formatOption(QStringLiteral("format"), QString(),
                                          QStringLiteral("tsv|lst"), QStringLiteral("tsv"));
    const QCommandLineOption explainOption(QStringLiteral("explain"));
    const QCommandLineOption keepOption(QStringLiteral("keep"));
    const QCommandLineOption checkOption(QStringLiteral("check"));
    const QCommandLineOption diffOption(QStringLiteral("diff"));
    const QCommandLineOption dryRunOption(QStringLiteral("dry-run"));
    const QCommandLineOption strictOption(QStringLiteral("strict"));
    const QCommandLineOption addMissingOption(QStringLiteral("add-missing"));
    const QCommandLineOption formsOption(QStringLiteral("forms"), QString(), QStringLiteral("DIR"));
    const QCommandLineOption preferOption(QStringLiteral("prefer"), QString(),
                                          QStringLiteral("first|guidelines"),
                                          QStringLiteral("first"));
    const QCommandLineOption preferFileOption(QStringLiteral("prefer-file"), QString(),
                                              QStringLiteral("FILE"));
    const QCommandLineOption qualityOption(QStringLiteral("quality"));
    const QCommandLineOption builderOption(QStringLiteral("builder"), QString(),
                                           QStringLiteral("DIR"));
    parser.addOptions({helpOption, markerOption, keysOption, formatOption, explainOption,
                       keepOption, checkOption, diffOption, dryRunOption, strictOption,
                       addMissingOption, formsOption, preferOption, preferFileOption, qualityOption,
                       builderOption});

    if (!parser.parse(optionArguments)) {
        err << BytesOf(parser.errorText()) << '\n' << Usage << '\n';
        return CliExitBadInput;
    }
    if (parser.isSet(helpOption)) {
        out << HelpPage;
        return CliExitSuccess;
    }

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
    const QString keys = parser.value(keysOption);
    if (keys != QLatin1String("ascii") && keys != QLatin1String("unicode")) {
        err << "Unknown keys \"" << keys.toStdString() << "\": use ascii or unicode.\n";
        return CliExitBadInput;
    }
    options.Unicode = keys == QLatin1String("unicode");
    const QString format = parser.value(formatOption);
    // A check prints findings, not lists: its formats are its own.
    const bool checking = options.Command == TCommand::Check || parser.isSet(checkOption);
    if (checking && parser.isSet(formatOption)) {
        const std::optional<TReportFormat> report = ReportFormatNamed(BytesOf(format));
        if (!report) {
            err << "Unknown format \"" << BytesOf(format)
                << "\" for check: use text, json or sarif.\n";
            return CliExitBadInput;
        }
        options.Report = *report;
    } else if (format != QLatin1String("tsv") && format != QLatin1String("lst")) {
        err << "Unknown format \"" << BytesOf(format) << "\": use tsv or lst.\n";
        return CliExitBadInput;
    }
    options.Lst = format == QLatin1String("lst");
    options.Explain = parser.isSet(explainOption);
    options.Keep = parser.isSet(keepOption);
    options.Diff = parser.isSet(diffOption);
    options.DryRun = parser.isSet(dryRunOption);
    options.Strict = parser.isSet(strictOption);
    options.AddMissing = parser.isSet(addMissingOption);
    if (parser.isSet(formsOption))
        options.Forms = BytesOf(parser.value(formsOption));
    const QString prefer = parser.value(preferOption);
    if (prefer != QLatin1String("first") && prefer != QLatin1String("guidelines")) {
        err << "Unknown preference \"" << BytesOf(prefer) << "\": use first or guidelines.\n";
        return CliExitBadInput;
    }
    // A rule file means guidelines unless --prefer says otherwise, and "first" uses no costs.
    const bool preferFile = parser.isSet(preferFileOption);
    const bool guidelines =
        prefer == QLatin1String("guidelines") || (preferFile && !parser.isSet(preferOption));
    if (preferFile && !guidelines) {
        err << "--prefer-file goes with --prefer guidelines.\n" << Usage << '\n';
        return CliExitBadInput;
    }
    const bool quality = parser.isSet(qualityOption);
    if (quality && options.Command != TCommand::Check) {
        err << "--quality goes with check.\n" << Usage << '\n';
        return CliExitBadInput;
    }
    if (options.Command == TCommand::Check && !quality &&
        (parser.isSet(preferOption) || preferFile)) {
        err << "--prefer and --prefer-file go with the default mode, fix and check --quality.\n"
            << Usage << '\n';
        return CliExitBadInput;
    }
    if (guidelines || quality) {
        std::shared_ptr<TKeyPreference> preference;
        try {
            preference = std::make_shared<TKeyPreference>(
                preferFile ? PreferencesFromFile(BytesOf(parser.value(preferFileOption)))
                           : DefaultPreferences());
        } catch (const EQuarnelError& error) {
            err << error.what() << '\n';
            return CliExitBadInput;
        }
        if (guidelines && !quality)
            options.Prefer = preference;
        if (quality)
            options.Quality = preference;
    }
    if (parser.isSet(builderOption))
        options.Builder = BytesOf(parser.value(builderOption));
    // The check command explains scopes of resource files; the older --check takes nothing.
    const bool checkCommand = options.Command == TCommand::Check;
    if (parser.isSet(checkOption)) {
        if (options.Command == TCommand::Fix) {
            err << "fix takes no --check.\n" << Usage << '\n';
            return CliExitBadInput;
        }
        options.Command = TCommand::Check;
    }
    // A check assigns nothing, so there is nothing to explain or keep; fix always keeps and
    // writes lists.
    if (options.Command != TCommand::Process &&
        ((options.Explain && !checkCommand) || options.Keep ||
         (options.Command == TCommand::Fix && parser.isSet(formatOption)))) {
        err << (options.Command == TCommand::Check ? "--check" : "fix")
            << " takes no --explain, --keep or --format.\n"
            << Usage << '\n';
        return CliExitBadInput;
    }
    if (options.Command != TCommand::Fix &&
        (options.Diff || options.DryRun || options.AddMissing)) {
        err << "--diff, --dry-run and --add-missing go with fix.\n" << Usage << '\n';
        return CliExitBadInput;
    }
    if (options.Command == TCommand::Process && (options.Forms || options.Builder)) {
        err << "--forms and --builder go with check and fix.\n" << Usage << '\n';
        return CliExitBadInput;
    }
    if (options.Command != TCommand::Check && options.Strict) {
        err << "--strict goes with check.\n" << Usage << '\n';
        return CliExitBadInput;
    }
    const QStringList positional = parser.positionalArguments();
    if (options.Command == TCommand::Check)
        return RunFiles(options,
                        positional.isEmpty() ? std::vector<std::string>{"-"}
                                             : ExpandInputs(positional),
                        in, out, err);
    if (options.Command == TCommand::Fix) {
        if (positional.isEmpty() || positional.contains(QStringLiteral("-"))) {
            err << "fix needs files to write back.\n" << Usage << '\n';
            return CliExitBadInput;
        }
        return RunFiles(options, ExpandInputs(positional), in, out, err);
    }
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
