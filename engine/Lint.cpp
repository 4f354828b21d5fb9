#include "Lint.h"

#include "Engine.h"

#include <array>

namespace {

// A character between single quotes; bytes a reader cannot see are written in hexadecimal.
// Built by appending: GCC 12 warns falsely about "'" + std::string at -O2.
std::string Quoted(char c)
{
    static constexpr char Digits[] = "0123456789ABCDEF";
    const auto byte = static_cast<unsigned char>(c);
    std::string text(1, '\'');
    if (byte >= 0x20 && byte < 0x7F) {
        text.push_back(c);
    } else {
        text.append("\\x");
        text.push_back(Digits[byte >> 4]);
        text.push_back(Digits[byte & 0xF]);
    }
    text.push_back('\'');
    return text;
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
    std::string text;
    switch (finding.Kind) {
    case TFindingKind::NoMarker:
        text.append("no accelerator marker");
        break;
    case TFindingKind::LoneMarkerAtEnd:
        text.append("marker ").append(Quoted(marker)).append(" at the end marks nothing");
        break;
    case TFindingKind::MarkerBeforeNonKey:
        text.append("marker ")
            .append(Quoted(marker))
            .append(" before ")
            .append(Quoted(finding.Char))
            .append(", which cannot be a key");
        break;
    case TFindingKind::SeveralMarkers:
        text.append(std::to_string(finding.Count))
            .append(" markers ")
            .append(Quoted(marker))
            .append(" where a caption takes one");
        break;
    case TFindingKind::DuplicateKey:
        text.append("key ")
            .append(Quoted(finding.Char))
            .append(" is also used on line ")
            .append(std::to_string(finding.OtherLine + 1));
        break;
    }
    return text;
}
