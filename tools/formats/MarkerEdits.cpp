#include "MarkerEdits.h"

#include "Lint.h"

#include <algorithm>
#include <string_view>

std::vector<RTextEdit> MarkerEdits(const std::string& caption, const std::string& mended,
                                   char marker)
{
    const RMarkers markers = ScanMarkers(caption, marker);
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
    for (const std::size_t removedAt : removed) {
        if (!kept && inserted == std::string(1, marker) && removedAt + 1 == place) {
            kept = true; // this marker already stands where the new one goes
            continue;
        }
        edits.push_back({removedAt, 1, ""});
    }
    if (!kept && !inserted.empty())
        edits.push_back({place, 0, inserted});
    return edits;
}
