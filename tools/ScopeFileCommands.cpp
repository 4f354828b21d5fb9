#include "ScopeFileCommands.h"

#include "AtomicFile.h"
#include "FindingReport.h"
#include "GettextCatalogueFormat.h"
#include "GtkBuilderSet.h"
#include "Lint.h"
#include "MarkerEdits.h"
#include "PreferredFix.h"
#include "QtForm.h"
#include "QtTranslation.h"
#include "ResourceScript.h"
#include "Scope.h"
#include "SharedCaptions.h"
#include "UnicodeKeyRule.h"
#include "UnifiedDiff.h"

#include <QFile>
#include <QString>
#include <algorithm>
#include <atomic>
#include <chrono>
#include <thread>

namespace {

std::string Lowered(std::string text)
{
    for (char& c : text)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return text;
}

std::string ReadFileBytes(const std::string& fileName)
{
    QFile file(QFile::decodeName(QByteArray::fromStdString(fileName)));
    if (!file.open(QIODevice::ReadOnly))
        throw EFormatError(fileName + ": cannot read: " + file.errorString().toStdString());
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        throw EFormatError(fileName + ": cannot read: " + file.errorString().toStdString());
    return bytes.toStdString();
}

// Replaces the file, or leaves it as it was on any failure.
void WriteFileAtomically(const std::string& fileName, const std::string& bytes)
{
    if (const std::optional<RReplaceFailure> failure = ReplaceFile(fileName, bytes))
        throw EFormatError(fileName + ": cannot write: " + failure->Reason());
}

// One scope as the engine sees it: the captions that can carry a key, and where each is in
// the file's scope.
struct REngineScope
{
    RScope Scope;
    std::vector<std::size_t> Captions; // index in the file's scope, per engine caption
    std::vector<bool> NeedsKey;
    std::vector<char> PreferredSuffixes;
    std::vector<char32_t> SourceKeys;
    // Captions an earlier scope already decided (index in the file's scope): they stay out of
    // the engine's scope, and their keys count as taken from outside.
    std::vector<std::size_t> Decided;
};

// The keys the captions of a scope hold now: a caption with one sound marker gives its key.
std::vector<TKey> MarkedKeys(const RCaptionScope& scope, char marker)
{
    std::vector<TKey> keys;
    for (const RFileCaption& caption : scope.Captions)
        if (caption.CanCarryKey)
            if (const std::optional<TKey> key =
                    ScanScopeMarkers(caption.Text, UnicodeKeyRule(), marker).PinnedKey)
                keys.push_back(*key);
    return keys;
}

// The keys of the captions that stand in a scope without being its own.
void AddOthersKeys(const RCaptionScope& scope, char marker, std::vector<TKey>& keys)
{
    for (const std::string& other : scope.Others)
        if (const std::optional<TKey> key =
                ScanScopeMarkers(other, UnicodeKeyRule(), marker).PinnedKey)
            keys.push_back(*key);
}

// A scope inside others (a tab page in its dialog) must avoid their keys: keysOf(s) gives the
// keys scope s ends with.
template <typename KeysOf>
std::vector<TKey> OutsideKeys(const RCaptionFile& file, std::size_t s, const KeysOf& keysOf,
                              char marker)
{
    const RCaptionScope& scope = file.Scopes[s];
    std::vector<TKey> keys;
    AddOthersKeys(scope, marker, keys);
    for (const std::size_t outer : scope.Enclosing) {
        const std::vector<TKey>& taken = keysOf(outer);
        keys.insert(keys.end(), taken.begin(), taken.end());
        AddOthersKeys(file.Scopes[outer], marker, keys);
    }
    std::sort(keys.begin(), keys.end());
    keys.erase(std::unique(keys.begin(), keys.end()), keys.end());
    return keys;
}

// Enclosing scopes before the scopes inside them, so that a page is mended around the keys
// its dialog ends with. A reader lists every enclosing scope, not only the nearest, so the
// depth is the length of that list.
std::vector<std::size_t> OuterScopesFirst(const RCaptionFile& file)
{
    std::vector<std::size_t> order(file.Scopes.size());
    for (std::size_t s = 0; s < order.size(); ++s)
        order[s] = s;
    std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
        return file.Scopes[a].Enclosing.size() < file.Scopes[b].Enclosing.size();
    });
    return order;
}

REngineScope EngineScope(const RCaptionScope& scope, const RScopeFileOptions& options,
                         std::vector<TKey> outsideKeys, const TSharedCaptions* shared = nullptr)
{
    REngineScope engine{{scope.Name, {}, std::move(outsideKeys)}, {}, {}, {}, {}, {}};
    for (std::size_t c = 0; c < scope.Captions.size(); ++c) {
        const RFileCaption& caption = scope.Captions[c];
        if (!caption.CanCarryKey)
            continue;
        if (const RDecidedCaption* decided = shared ? shared->Find(caption) : nullptr) {
            engine.Decided.push_back(c);
            if (decided->Key)
                engine.Scope.OutsideKeys.push_back(*decided->Key);
            continue;
        }
        engine.Scope.Captions.push_back(caption.Text);
        engine.Captions.push_back(c);
        engine.NeedsKey.push_back(caption.KeyRequired || options.AddMissing);
        engine.PreferredSuffixes.push_back(caption.PreferredSuffix);
        engine.SourceKeys.push_back(caption.SourceKey);
    }
    return engine;
}

// Every finding of one file, with its place and scope, as check reports it and fix explains.
class TMessages
{
public:
    explicit TMessages(const std::string& fileName) : FFileName(fileName) {}

    void Add(const RSourcePlace& place, TSeverity severity, std::string_view rule, std::string text,
             const std::string& scope)
    {
        FFindings.push_back({FFileName, place.Line, place.Column, scope, std::string(rule),
                             std::move(text), severity});
    }
    // A reader's note, which belongs to no scope.
    void Add(const RFileNote& note)
    {
        FFindings.push_back({FFileName,
                             note.Place.Line,
                             note.Place.Column,
                             {},
                             note.Rule.empty() ? "file-note" : note.Rule,
                             note.Message,
                             note.Warning ? TSeverity::Warning : TSeverity::Note});
    }
    const std::vector<RCheckFinding>& Findings() const { return FFindings; }
    std::vector<RCheckFinding> TakeFindings() { return std::move(FFindings); }

private:
    const std::string& FFileName;
    std::vector<RCheckFinding> FFindings;
};

std::string Quoted(std::string_view text)
{
    std::string quoted(1, '"');
    quoted.append(text).push_back('"');
    return quoted;
}

std::string LineList(const std::vector<std::uint32_t>& lines)
{
    std::string text;
    for (const std::uint32_t line : lines) {
        if (!text.empty())
            text += ", ";
        text += std::to_string(line);
    }
    return text;
}

const RFileCaption& FileCaption(const RCaptionScope& scope, const REngineScope& engine,
                                std::size_t caption)
{
    return scope.Captions[engine.Captions[caption]];
}

// The place of a byte of the caption's text, the caption's start when it has none.
const RSourcePlace& PlaceOf(const RFileCaption& caption, std::size_t pos)
{
    return pos < caption.Places.size() ? caption.Places[pos] : caption.Start();
}

// The caption not the scope's own that holds the key, if one does.
const std::string* OtherWithKey(const RCaptionScope& scope, TKey key, char marker)
{
    for (const std::string& other : scope.Others)
        if (ScanScopeMarkers(other, UnicodeKeyRule(), marker).PinnedKey == key)
            return &other;
    return nullptr;
}

// Returns whether the finding is an error (not a warning).
bool AddFinding(TMessages& messages, const RCaptionScope& scope, const REngineScope& engine,
                const RScopeFinding& finding, char marker)
{
    const IKeyRule& rule = UnicodeKeyRule();
    const RFileCaption& caption = FileCaption(scope, engine, finding.Caption);
    std::string text;
    switch (finding.Kind) {
    case TFindingKind::NoMarker:
        messages.Add(caption.Start(), TSeverity::Warning, RuleOf(finding.Kind),
                     Quoted(caption.Text) + " has no key", scope.Name);
        return false;
    case TFindingKind::LoneMarkerAtEnd:
        text = "marker at the end of " + Quoted(caption.Text) + " marks nothing";
        break;
    case TFindingKind::MarkerBeforeNonKey:
        text = "marker before " + Quoted(finding.Char) + ", which cannot be a key";
        break;
    case TFindingKind::SeveralMarkers:
        text = std::to_string(finding.Count) + " markers in " + Quoted(caption.Text) +
               ", which takes one";
        break;
    case TFindingKind::DuplicateKey: {
        std::vector<std::uint32_t> lines;
        for (const std::size_t same : finding.SameKey)
            lines.push_back(FileCaption(scope, engine, same).Start().Line);
        text = "key '" + rule.KeyText(finding.Key) + '\'';
        if (!finding.TakenOutside)
            text += " is used on lines " + LineList(lines);
        else if (const std::string* other = OtherWithKey(scope, finding.Key, marker))
            text += " is taken by " + Quoted(*other);
        else
            text += " is taken by an enclosing scope";
        break;
    }
    }
    messages.Add(PlaceOf(caption, finding.Pos), TSeverity::Error,
                 RuleOf(finding.Kind, finding.TakenOutside), text, scope.Name);
    return true;
}

// For a scope that cannot give every caption that needs a key a distinct one: the captions
// without any key, or the smallest group with fewer keys than members. Returns whether it
// cannot.
bool ExplainIfImpossible(TMessages& messages, const RCaptionScope& scope,
                         const REngineScope& engine, char marker)
{
    REngineScope needing{{scope.Name, {}, engine.Scope.OutsideKeys}, {}, {}, {}, {}, {}};
    for (std::size_t c = 0; c < engine.Scope.Captions.size(); ++c) {
        const std::string& text = engine.Scope.Captions[c];
        const RMarkers markers = ScanMarkers(text, marker);
        if (!engine.NeedsKey[c] && markers.Singles.empty() && !markers.LoneAtEnd)
            continue;
        needing.Scope.Captions.push_back(WithoutMarkers(text, markers));
        needing.Captions.push_back(engine.Captions[c]);
    }
    const IKeyRule& rule = UnicodeKeyRule();
    const RScopeDiagnosis diagnosis = ExplainScope(needing.Scope, rule, marker, false);
    if (diagnosis.MaxDistinct == needing.Scope.Captions.size())
        return false;
    for (const std::size_t without : diagnosis.WithoutKeys) {
        const RFileCaption& caption = scope.Captions[needing.Captions[without]];
        messages.Add(caption.Start(), TSeverity::Note, "no-key-character",
                     Quoted(caption.Text) + " has no character that can be a key", scope.Name);
    }
    if (!diagnosis.Group.empty()) {
        std::vector<std::string> keys;
        for (const TKey key : diagnosis.GroupKeys)
            keys.push_back(rule.KeyText(key));
        std::sort(keys.begin(), keys.end());
        std::string keyList;
        for (const std::string& key : keys)
            keyList += (keyList.empty() ? "" : ", ") + key;
        std::string members;
        for (const std::size_t member : diagnosis.Group)
            members += (members.empty() ? "" : ", ") +
                       Quoted(scope.Captions[needing.Captions[member]].Text);
        const RFileCaption& first = scope.Captions[needing.Captions[diagnosis.Group.front()]];
        messages.Add(first.Start(), TSeverity::Note, "too-few-keys",
                     std::to_string(diagnosis.Group.size()) + " captions share only " +
                         std::to_string(keys.size()) + (keys.size() == 1 ? " key (" : " keys (") +
                         keyList + "): " + members,
                     scope.Name);
    }
    return true;
}

// Why fix leaves a scope as it is. When it could be mended but for the texts earlier scopes
// gave the captions it shares with them, those captions and scopes are named: mending it alone
// would edit them two ways.
void ReportUnmended(TMessages& messages, const RCaptionFile& file, std::size_t s,
                    const REngineScope& engine, const REngineScope& whole,
                    const TSharedCaptions& shared, char marker)
{
    const RCaptionScope& scope = file.Scopes[s];
    if (!engine.Decided.empty() &&
        FixScope(whole.Scope, UnicodeKeyRule(), marker, whole.NeedsKey).Fixed) {
        std::string kept;
        for (const std::size_t c : engine.Decided) {
            const RDecidedCaption& decided = *shared.Find(scope.Captions[c]);
            kept += (kept.empty() ? "" : " and ") + Quoted(decided.Text) + " as " +
                    file.Scopes[decided.Scope].Name + " has it";
        }
        messages.Add(
            scope.Captions[engine.Decided.front()].Start(), TSeverity::Error, "no-distinct-keys",
            "no distinct key for every caption around " + kept + "; left as it is", scope.Name);
        return;
    }
    messages.Add(FileCaption(scope, whole, 0).Start(), TSeverity::Error, "no-distinct-keys",
                 "no distinct key for every caption; left as it is", scope.Name);
    ExplainIfImpossible(messages, scope, whole, marker);
}

std::string Captions(std::size_t count)
{
    return std::to_string(count) + (count == 1 ? " caption" : " captions");
}

} // namespace

const ICaptionFormat* ScopeFormatFor(const std::string& fileName, const RScopeFileOptions& options)
{
    static const TResourceScriptFormat ResourceScripts;
    const std::string lowered = Lowered(fileName);
    if (lowered.size() > 3 && lowered.ends_with(".rc"))
        return &ResourceScripts;
    static const TQtFormFormat QtForms;
    static const TGtkBuilderFormat GtkBuilders;
    if (lowered.size() > 3 && lowered.ends_with(".ui"))
        return IsGtkBuilderFileAt(fileName) ? static_cast<const ICaptionFormat*>(&GtkBuilders)
                                            : &QtForms;
    static const TQtTranslationFormat QtTranslations{TFormsByClass{}};
    if (lowered.size() > 3 && lowered.ends_with(".ts"))
        return options.Translations ? options.Translations : &QtTranslations;
    static const TGettextCatalogueFormat Catalogues;
    if (lowered.size() > 3 && lowered.ends_with(".po"))
        return options.Catalogues ? options.Catalogues : &Catalogues;
    return nullptr;
}

RFileReport CheckScopeFile(const std::string& fileName, const ICaptionFormat& format,
                           const RScopeFileOptions& options)
{
    RFileReport report;
    RCaptionFile file;
    try {
        file = format.Read(ReadFileBytes(fileName), fileName);
    } catch (const EFormatError& error) {
        report.Err = std::string(error.what()) + '\n';
        report.Status = 2;
        return report;
    }
    const char marker = format.Marker();
    std::vector<std::vector<TKey>> marked;
    for (const RCaptionScope& scope : file.Scopes)
        marked.push_back(MarkedKeys(scope, marker));
    const auto markedKeys = [&](std::size_t s) -> const std::vector<TKey>& { return marked[s]; };
    TMessages messages(fileName);
    bool errors = false;
    bool warnings = false;
    for (std::size_t s = 0; s < file.Scopes.size(); ++s) {
        const RCaptionScope& scope = file.Scopes[s];
        const REngineScope engine =
            EngineScope(scope, options, OutsideKeys(file, s, markedKeys, marker));
        for (const RScopeFinding& finding : CheckScope(engine.Scope, UnicodeKeyRule(), marker, s)) {
            if (AddFinding(messages, scope, engine, finding, marker))
                errors = true;
            else
                warnings = true;
        }
        if (options.Explain && ExplainIfImpossible(messages, scope, engine, marker))
            errors = true;
    }
    for (const RFileNote& note : file.Notes) {
        messages.Add(note);
        warnings = warnings || note.Warning;
    }
    report.Findings = messages.TakeFindings();
    report.Status = errors || (options.Strict && warnings) ? 1 : 0;
    return report;
}

RFileReport FixScopeFile(const std::string& fileName, const ICaptionFormat& format,
                         const RScopeFileOptions& options)
{
    RFileReport report;
    try {
        const std::string bytes = ReadFileBytes(fileName);
        const RCaptionFile file = format.Read(bytes, fileName);
        const char marker = format.Marker();
        // The keys each scope ends with: as marked, or as mended once the scope is.
        std::vector<std::vector<TKey>> final;
        for (const RCaptionScope& scope : file.Scopes)
            final.push_back(MarkedKeys(scope, marker));
        const auto finalKeys = [&](std::size_t s) -> const std::vector<TKey>& { return final[s]; };
        TMessages messages(fileName);
        std::vector<RCaptionEdit> edits;
        std::size_t changed = 0;
        TSharedCaptions shared;
        bool unmended = false;
        for (const std::size_t s : OuterScopesFirst(file)) {
            const RCaptionScope& scope = file.Scopes[s];
            const std::vector<TKey> outside = OutsideKeys(file, s, finalKeys, marker);
            const REngineScope engine = EngineScope(scope, options, outside, &shared);
            // Per caption of the file's scope, the edits it ends with.
            std::vector<std::vector<RTextEdit>> changes(scope.Captions.size());
            for (std::size_t c = 0; c < scope.Captions.size(); ++c)
                if (const RDecidedCaption* decided = shared.Find(scope.Captions[c]))
                    changes[c] = decided->Edits;
            const std::vector<RScopeFinding> findings =
                CheckScope(engine.Scope, UnicodeKeyRule(), marker, s);
            const bool toMend = std::any_of(findings.begin(), findings.end(), [&](const auto& f) {
                return f.Kind != TFindingKind::NoMarker || engine.NeedsKey[f.Caption];
            });
            const RScopeFix fix =
                !toMend          ? RScopeFix{}
                : options.Prefer ? FixFileScopePreferring(engine.Scope, marker, engine.NeedsKey,
                                                          MayGoWithoutKey(scope, engine.Captions),
                                                          *options.Prefer, engine.SourceKeys)
                                 : FixScope(engine.Scope, UnicodeKeyRule(), marker, engine.NeedsKey,
                                            engine.PreferredSuffixes);
            if (toMend && !fix.Fixed) {
                unmended = true;
                ReportUnmended(messages, file, s, engine, EngineScope(scope, options, outside),
                               shared, marker);
            }
            for (std::size_t c = 0; c < fix.Captions.size(); ++c)
                if (fix.Changed[c]) {
                    changes[engine.Captions[c]] =
                        MarkerEdits(engine.Scope.Captions[c], fix.Captions[c], marker);
                    ++changed;
                }
            // The scope as it ends: the keys its inner scopes avoid, and the texts later scopes
            // keep.
            final[s].clear();
            for (std::size_t c = 0; c < scope.Captions.size(); ++c) {
                const RFileCaption& caption = scope.Captions[c];
                RDecidedCaption decided{
                    s, ApplyTextEdits(caption.Text, changes[c]), {}, changes[c]};
                if (caption.CanCarryKey)
                    decided.Key =
                        ScanScopeMarkers(decided.Text, UnicodeKeyRule(), marker).PinnedKey;
                if (decided.Key)
                    final[s].push_back(*decided.Key);
                if (!changes[c].empty())
                    edits.push_back({s, c, changes[c]});
                shared.Decide(caption, std::move(decided));
            }
        }
        report.Err = FindingsAsText(messages.Findings());
        report.Status = unmended ? 1 : 0;
        if (edits.empty())
            return report;

        const std::string mended = RewriteCaptions(bytes, fileName, file, edits, format);
        if (options.Diff) {
            report.Out = UnifiedDiff(fileName, SplitLinesAtLf(format.DecodedText(bytes, fileName)),
                                     SplitLinesAtLf(format.DecodedText(mended, fileName)));
        } else if (options.DryRun) {
            report.Out = fileName + ": " + Captions(changed) + " would change\n";
            report.Status = 1;
        } else {
            WriteFileAtomically(fileName, mended);
            report.Out = fileName + ": " + Captions(changed) + " changed\n";
        }
    } catch (const EFormatError& error) {
        report.Err += std::string(error.what()) + '\n';
        report.Status = 2;
    } catch (const std::exception& error) {
        report.Err += fileName + ": cannot write the mended captions: " + error.what() + '\n';
        report.Status = 2;
    }
    return report;
}

std::vector<RFileReport>
CheckScopeFiles(const std::vector<std::string>& fileNames, const RScopeFileOptions& options,
                const std::function<void(std::size_t, std::size_t)>& progress)
{
    std::vector<RFileReport> reports(fileNames.size());
    std::atomic<std::size_t> next{0};
    std::atomic<std::size_t> done{0};
    const auto work = [&](bool reporting) {
        for (std::size_t i = next++; i < fileNames.size(); i = next++) {
            if (const ICaptionFormat* format = ScopeFormatFor(fileNames[i], options))
                reports[i] = CheckScopeFile(fileNames[i], *format, options);
            ++done;
            if (reporting && progress)
                progress(done, fileNames.size());
        }
    };
    const std::size_t threads = std::min<std::size_t>(
        {std::max(1u, std::thread::hardware_concurrency()), 8, fileNames.size()});
    {
        std::vector<std::jthread> workers;
        for (std::size_t t = 1; t < threads; ++t)
            workers.emplace_back(work, false);
        work(true);
    }
    if (progress)
        progress(fileNames.size(), fileNames.size());
    return reports;
}
