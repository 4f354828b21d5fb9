#pragma once

// gettext catalogues as the batch tool checks and mends them: each translated menu and dialog
// of the builder files given is one scope of the translations found for it, and every message
// no builder file holds is a scope of its own, as a per-string checker sees it. A translation
// that two builder scopes share stands in the first of them and is taken as fixed in the
// others, so that it is never mended twice. Notes carry what per-string checkers report: a key
// lost or gained in translation.

#include "GettextScopes.h"
#include "PoCatalogue.h"

#include <vector>

RCaptionFile ScopeCatalogue(const RPoCatalogue& catalogue,
                            const std::vector<RBuilderSource>& builders);

// The format for catalogues of the given builder files (which must outlive it; none: every
// message alone), with "_" as the marker and msgstr literals written as TPoCatalogueFormat
// writes them.
class TGettextCatalogueFormat : public ICaptionFormat
{
public:
    explicit TGettextCatalogueFormat(const std::vector<RBuilderSource>* builders = nullptr)
        : FBuilders(builders)
    {}
    char Marker() const override { return GtkMarker; }
    RCaptionFile Read(std::string_view bytes, const std::string& fileName) const override;
    std::string DecodedText(std::string_view bytes, const std::string& fileName) const override
    {
        return FCatalogues.DecodedText(bytes, fileName);
    }
    std::string Encode(const RFileCaption& caption, std::string_view text) const override
    {
        return FCatalogues.Encode(caption, text);
    }

private:
    const std::vector<RBuilderSource>* FBuilders;
    TPoCatalogueFormat FCatalogues{GtkMarker};
};
