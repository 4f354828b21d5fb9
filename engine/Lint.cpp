#include "Lint.h"

#include "Engine.h"

#include <array>

namespace {

// Bytes a reader cannot see in a message are written in hexadecimal.
std::string Shown(char c)
{
    const auto byte = static_cast<unsigned char>(c);
    if (byte >= 0x20 && byte < 0x7F)
        return std::string(1, c);
    static constexpr char Digits[] = "0123456789ABCDEF";
    return std::string("\\x") + Digits[byte >> 4] + Digits[byte & 0xF];
}

std::vector<RFinding> Lint(const std::vector<std::string>& captions, char marker,
                           bool reportNoMarker);

} // namespace

RMarkers ScanMarkers(std::string_view caption, char marker)
{
    RMarkers markers;
    std::size_t pos = 0;
    while (pos < caption.size()) {
        if (caption[pos] != marker) {
            ++pos;
        } else if (pos + 1 == caption.size()) {
            markers.LoneAtEnd = true;
            ++pos;
        } else {
            if (caption[pos + 1] != marker)
                markers.Singles.push_back(pos);
            pos += 2;
        }
    }
    return markers;
}

std::optional<std::size_t> PinnedPosition(std::string_view caption, const RMarkers& markers)
{
    if (markers.Singles.size() != 1 || markers.LoneAtEnd)
        return std::nullopt;
    const std::size_t marked = markers.Singles.front() + 1;
    if (!IsEligibleChar(caption[marked]))
        return std::nullopt;
    return marked;
}

std::vector<RFinding> LintCaptions(const std::vector<std::string>& captions, char marker)
{
    return Lint(captions, marker, true);
}

std::vector<RFinding> MarkerConflicts(const std::vector<std::string>& captions, char marker)
{
    return Lint(captions, marker, false);
}

namespace {

std::vector<RFinding> Lint(const std::vector<std::string>& captions, char marker,
                           bool reportNoMarker)
{
    std::vector<RFinding> findings;
    // Per key, the first caption marked with it, plus one; zero while none is.
    std::array<std::size_t, KeyCount> firstWithKey{};
    for (std::size_t line = 0; line < captions.size(); ++line) {
        const std::string& caption = captions[line];
        const RMarkers markers = ScanMarkers(caption, marker);
        if (reportNoMarker && markers.Singles.empty() && !markers.LoneAtEnd)
            findings.push_back({.Line = line, .Kind = TFindingKind::NoMarker});
        if (markers.LoneAtEnd)
            findings.push_back({.Line = line, .Kind = TFindingKind::LoneMarkerAtEnd});
        for (const std::size_t single : markers.Singles)
            if (!IsEligibleChar(caption[single + 1]))
                findings.push_back({.Line = line,
                                    .Kind = TFindingKind::MarkerBeforeNonKey,
                                    .Char = caption[single + 1]});
        if (markers.Singles.size() > 1)
            findings.push_back({.Line = line,
                                .Kind = TFindingKind::SeveralMarkers,
                                .Count = markers.Singles.size()});
        const std::optional<std::size_t> pinned = PinnedPosition(caption, markers);
        if (!pinned)
            continue;
        const char key = KeyOf(caption[*pinned]);
        std::size_t& first = firstWithKey[static_cast<std::size_t>(KeyIndex(key))];
        if (first == 0)
            first = line + 1;
        else
            findings.push_back({.Line = line,
                                .Kind = TFindingKind::DuplicateKey,
                                .Char = key,
                                .OtherLine = first - 1});
    }
    return findings;
}

} // namespace

std::string DescribeFinding(const RFinding& finding, char marker)
{
    const std::string shownMarker = "'" + Shown(marker) + "'";
    switch (finding.Kind) {
    case TFindingKind::NoMarker:
        return "no accelerator marker";
    case TFindingKind::LoneMarkerAtEnd:
        return "marker " + shownMarker + " at the end marks nothing";
    case TFindingKind::MarkerBeforeNonKey:
        return "marker " + shownMarker + " before '" + Shown(finding.Char) +
               "', which cannot be a key";
    case TFindingKind::SeveralMarkers:
        return std::to_string(finding.Count) + " markers " + shownMarker +
               " where a caption takes one";
    case TFindingKind::DuplicateKey:
        return "key '" + Shown(finding.Char) + "' is also used on line " +
               std::to_string(finding.OtherLine + 1);
    }
    return {};
}
