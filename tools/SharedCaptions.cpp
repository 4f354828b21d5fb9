#include "SharedCaptions.h"

TSharedCaptions::TSpan TSharedCaptions::SpanOf(const RFileCaption& caption)
{
    return {caption.Places.front().Offset, caption.Places.back().Offset};
}

const RDecidedCaption* TSharedCaptions::Find(const RFileCaption& caption) const
{
    if (caption.Places.empty())
        return nullptr;
    const auto found = FDecided.find(SpanOf(caption));
    return found == FDecided.end() ? nullptr : &found->second;
}

void TSharedCaptions::Decide(const RFileCaption& caption, RDecidedCaption decided)
{
    if (!caption.Places.empty())
        FDecided.emplace(SpanOf(caption), std::move(decided));
}
