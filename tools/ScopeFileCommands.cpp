#include "ScopeFileCommands.h"

#include "Lint.h"
#include "ResourceScript.h"
#include "Scope.h"
#include "UnicodeKeyRule.h"

#include <QFile>
#include <QSaveFile>
#include <QString>
#include <algorithm>
#include <atomic>
#include <chrono>
#include <thread>

namespace {

constexpr char Marker = '&';

std::string Lowered(std::string text)
{
    for (char& c : text)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return text;
}

std::string ReadFileBytes(const std::string& fileName)
{
    QFile file(QString::fromLocal8Bit(fileName));
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
    QSaveFile file(QString::fromLocal8Bit(fileName));
    if (!file.open(QIODevice::WriteOnly) ||
        file.write(bytes.data(), static_cast<qint64>(bytes.size())) !=
            static_cast<qint64>(bytes.size()) ||
        !file.commit())
        throw EFormatError(fileName + ": cannot write: " + file.errorString().toStdString());
}

// One scope as the engine sees it: the captions that can carry a key, and where each is in
// the file's scope.
struct REngineScope
{
    RScope Scope;
    std::vector<std::size_t> Captions; // index in the file's scope, per engine caption
    std::vector<bool> NeedsKey;
};

REngineScope EngineScope(const RCaptionScope& scope, const RScopeFileOptions& options)
{
    REngineScope engine{{scope.Name, {}, {}}, {}, {}};
    for (std::size_t c = 0; c < scope.Captions.size(); ++c) {
        const RFileCaption& caption = scope.Captions[c];
        if (!caption.CanCarryKey)
            continue;
        engine.Scope.Captions.push_back(caption.Text);
        engine.Captions.push_back(c);
        engine.NeedsKey.push_back(caption.KeyRequired || options.AddMissing);
    }
    return engine;
}

// Every finding line starts with the place and ends with the scope.
class TMessages
{
public:
    explicit TMessages(const std::string& fileName) : FFileName(fileName) {}

    void Add(const RSourcePlace& place, std::string_view severity, const std::string& text,
             const std::string& scope)
    {
        FText += FFileName + ':' + std::to_string(place.Line) + ':' + std::to_string(place.Column) +
                 ": ";
        FText.append(severity).append(": ").append(text).append(" [").append(scope).append("]\n");
    }
    const std::string& Text() const { return FText; }

private:
    const std::string& FFileName;
    std::string FText;
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

// Returns whether the finding is an error (not a warning).
bool AddFinding(TMessages& messages, const RCaptionScope& scope, const REngineScope& engine,
                const RScopeFinding& finding)
{
    const IKeyRule& rule = UnicodeKeyRule();
    const RFileCaption& caption = FileCaption(scope, engine, finding.Caption);
    std::string text;
    switch (finding.Kind) {
    case TFindingKind::NoMarker:
        messages.Add(caption.Start(), "warning", Quoted(caption.Text) + " has no key", scope.Name);
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
        text += finding.TakenOutside ? " is taken by an enclosing scope"
                                     : " is used on lines " + LineList(lines);
        break;
    }
    }
    messages.Add(PlaceOf(caption, finding.Pos), "error", text, scope.Name);
    return true;
}

// For a scope that cannot give every caption that needs a key a distinct one: the captions
// without any key, or the smallest group with fewer keys than members. Returns whether it
// cannot.
bool ExplainIfImpossible(TMessages& messages, const RCaptionScope& scope,
                         const REngineScope& engine)
{
    REngineScope needing{{scope.Name, {}, {}}, {}, {}};
    for (std::size_t c = 0; c < engine.Scope.Captions.size(); ++c) {
        const std::string& text = engine.Scope.Captions[c];
        const RMarkers markers = ScanMarkers(text, Marker);
        if (!engine.NeedsKey[c] && markers.Singles.empty() && !markers.LoneAtEnd)
            continue;
        needing.Scope.Captions.push_back(WithoutMarkers(text, markers));
        needing.Captions.push_back(engine.Captions[c]);
    }
    const IKeyRule& rule = UnicodeKeyRule();
    const RScopeDiagnosis diagnosis = ExplainScope(needing.Scope, rule, Marker, false);
    if (diagnosis.MaxDistinct == needing.Scope.Captions.size())
        return false;
    for (const std::size_t without : diagnosis.WithoutKeys) {
        const RFileCaption& caption = scope.Captions[needing.Captions[without]];
        messages.Add(caption.Start(), "note",
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
        messages.Add(first.Start(), "note",
                     std::to_string(diagnosis.Group.size()) + " captions share only " +
                         std::to_string(keys.size()) + (keys.size() == 1 ? " key (" : " keys (") +
                         keyList + "): " + members,
                     scope.Name);
    }
    return true;
}

// The text edits that turn a caption into its mended form: its markers out, the new marker or
// suffix in, and a marker that would go out and come back at the same place left alone.
std::vector<RTextEdit> MendEdits(const std::string& caption, const std::string& mended)
{
    const RMarkers markers = ScanMarkers(caption, Marker);
    std::vector<std::size_t> removed = markers.Singles;
    if (markers.LoneAtEnd)
        removed.push_back(caption.size() - 1);
    // Where each byte of the caption without its markers stands in the caption.
    std::string stripped;
    std::vector<std::size_t> origins;
    for (std::size_t i = 0, next = 0; i < caption.size(); ++i) {
        if (next < removed.size() && removed[next] == i) {
            ++next;
            continue;
        }
        stripped.push_back(caption[i]);
        origins.push_back(i);
    }
    origins.push_back(caption.size());

    // The mended caption is the stripped one with one insertion.
    std::size_t at = 0;
    while (at < stripped.size() && at < mended.size() && stripped[at] == mended[at])
        ++at;
    const std::size_t grown = mended.size() - std::min(mended.size(), stripped.size());
    if (mended.size() < stripped.size() ||
        std::string_view(mended).substr(at + grown) != std::string_view(stripped).substr(at))
        return TextEditsBetween(caption, mended);
    const std::string inserted = mended.substr(at, grown);
    const std::size_t place = origins[at];
    std::vector<RTextEdit> edits;
    bool kept = false;
    for (const std::size_t marker : removed) {
        if (!kept && inserted == std::string(1, Marker) && marker + 1 == place) {
            kept = true; // this marker already stands where the new one goes
            continue;
        }
        edits.push_back({marker, 1, ""});
    }
    if (!kept && !inserted.empty())
        edits.push_back({place, 0, inserted});
    return edits;
}

std::vector<std::string> SplitLines(const std::string& text)
{
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t end = text.find('\n', start);
        const std::size_t stop = end == std::string::npos ? text.size() : end + 1;
        lines.push_back(text.substr(start, stop - start));
        start = stop;
    }
    return lines;
}

// A unified diff with three lines of context. Mending never adds or removes a line, so line i
// of one is line i of the other.
std::string LineDiff(const std::string& name, const std::string& before, const std::string& after)
{
    constexpr std::size_t Context = 3;
    const std::vector<std::string> old = SplitLines(before);
    const std::vector<std::string> now = SplitLines(after);
    if (old.size() != now.size())
        return {};
    const auto line = [](char prefix, const std::string& text) {
        std::string out(1, prefix);
        out += text;
        if (text.empty() || text.back() != '\n')
            out += "\n\\ No newline at end of file\n";
        return out;
    };
    std::string text = "--- " + name + "\n+++ " + name + "\n";
    for (std::size_t i = 0; i < old.size();) {
        if (old[i] == now[i]) {
            ++i;
            continue;
        }
        const std::size_t start = i > Context ? i - Context : 0;
        std::size_t last = i;
        for (std::size_t j = i; j < old.size() && j <= last + 2 * Context; ++j)
            if (old[j] != now[j])
                last = j;
        const std::size_t stop = std::min(old.size(), last + Context + 1);
        const std::string range = std::to_string(start + 1) + ',' + std::to_string(stop - start);
        text += "@@ -" + range + " +" + range + " @@\n";
        for (std::size_t j = start; j < stop;) {
            if (old[j] == now[j]) {
                text += line(' ', old[j++]);
                continue;
            }
            std::size_t runEnd = j;
            while (runEnd < stop && old[runEnd] != now[runEnd])
                ++runEnd;
            for (std::size_t k = j; k < runEnd; ++k)
                text += line('-', old[k]);
            for (std::size_t k = j; k < runEnd; ++k)
                text += line('+', now[k]);
            j = runEnd;
        }
        i = stop;
    }
    return text;
}

std::string Captions(std::size_t count)
{
    return std::to_string(count) + (count == 1 ? " caption" : " captions");
}

} // namespace

const ICaptionFormat* ScopeFormatFor(const std::string& fileName)
{
    static const TResourceScriptFormat ResourceScripts;
    const std::string lowered = Lowered(fileName);
    if (lowered.size() > 3 && lowered.ends_with(".rc"))
        return &ResourceScripts;
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
    TMessages messages(fileName);
    bool errors = false;
    bool warnings = false;
    for (std::size_t s = 0; s < file.Scopes.size(); ++s) {
        const RCaptionScope& scope = file.Scopes[s];
        const REngineScope engine = EngineScope(scope, options);
        for (const RScopeFinding& finding : CheckScope(engine.Scope, UnicodeKeyRule(), Marker, s)) {
            if (AddFinding(messages, scope, engine, finding))
                errors = true;
            else
                warnings = true;
        }
        if (options.Explain && ExplainIfImpossible(messages, scope, engine))
            errors = true;
    }
    report.Out = messages.Text();
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
        TMessages messages(fileName);
        std::vector<RCaptionEdit> edits;
        bool unmended = false;
        for (std::size_t s = 0; s < file.Scopes.size(); ++s) {
            const RCaptionScope& scope = file.Scopes[s];
            const REngineScope engine = EngineScope(scope, options);
            const std::vector<RScopeFinding> findings =
                CheckScope(engine.Scope, UnicodeKeyRule(), Marker, s);
            const bool toMend = std::any_of(findings.begin(), findings.end(), [&](const auto& f) {
                return f.Kind != TFindingKind::NoMarker || engine.NeedsKey[f.Caption];
            });
            if (!toMend)
                continue;
            const RScopeFix fix = FixScope(engine.Scope, UnicodeKeyRule(), Marker, engine.NeedsKey);
            if (!fix.Fixed) {
                unmended = true;
                messages.Add(FileCaption(scope, engine, 0).Start(), "error",
                             "no distinct key for every caption; left as it is", scope.Name);
                ExplainIfImpossible(messages, scope, engine);
                continue;
            }
            for (std::size_t c = 0; c < fix.Captions.size(); ++c)
                if (fix.Changed[c])
                    edits.push_back({s, engine.Captions[c],
                                     MendEdits(engine.Scope.Captions[c], fix.Captions[c])});
        }
        report.Err = messages.Text();
        report.Status = unmended ? 1 : 0;
        if (edits.empty())
            return report;

        const std::string mended = RewriteCaptions(bytes, fileName, file, edits, format);
        if (options.Diff) {
            report.Out = LineDiff(fileName, format.DecodedText(bytes, fileName),
                                  format.DecodedText(mended, fileName));
        } else if (options.DryRun) {
            report.Out = fileName + ": " + Captions(edits.size()) + " would change\n";
            report.Status = 1;
        } else {
            WriteFileAtomically(fileName, mended);
            report.Out = fileName + ": " + Captions(edits.size()) + " changed\n";
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
            if (const ICaptionFormat* format = ScopeFormatFor(fileNames[i]))
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
