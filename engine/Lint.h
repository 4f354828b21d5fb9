#pragma once

// Findings on captions that already carry accelerator markers, such as a translated list or a
// dump of a program's resources. A doubled marker stands for a literal marker character, as in
// the caption check.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Where the markers of one caption stand, pairs taken strictly left to right.
struct RMarkers
{
    std::vector<std::size_t> Singles; // positions of markers that mark the next character
    bool LoneAtEnd = false;           // a last marker with nothing after it
};

RMarkers ScanMarkers(std::string_view caption, char marker);

// The position of the marked character when the caption carries exactly one marker, nothing
// else is wrong with its markers, and the marked character can be a key.
std::optional<std::size_t> PinnedPosition(std::string_view caption, const RMarkers& markers);

enum class TFindingKind
{
    NoMarker,
    LoneMarkerAtEnd,
    MarkerBeforeNonKey, // Char: the marked character
    SeveralMarkers,     // Count: how many
    DuplicateKey,       // Char: the key; OtherLine: the first caption with it
};

struct RFinding
{
    std::size_t Line = 0; // index of the caption
    TFindingKind Kind = TFindingKind::NoMarker;
    char Char = 0;
    std::size_t Count = 0;
    std::size_t OtherLine = 0;

    bool operator==(const RFinding&) const = default;
};

// Every finding, ordered by caption and, within one caption, in the order of the enumeration.
std::vector<RFinding> LintCaptions(const std::vector<std::string>& captions, char marker);

// The same without NoMarker: what stops a caption's own marker from being kept as it is.
std::vector<RFinding> MarkerConflicts(const std::vector<std::string>& captions, char marker);

// One line of text for a finding, line numbers counted from 1.
std::string DescribeFinding(const RFinding& finding, char marker);
