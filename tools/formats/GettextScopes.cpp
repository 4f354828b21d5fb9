#include "GettextScopes.h"

#include <limits>
#include <unordered_map>

namespace {

constexpr std::size_t NoScope = std::numeric_limits<std::size_t>::max();

std::vector<std::string> PathParts(const std::string& path)
{
    std::vector<std::string> parts;
    std::size_t begin = 0;
    while (begin <= path.size()) {
        std::size_t end = path.find('/', begin);
        if (end == std::string::npos)
            end = path.size();
        std::string part = path.substr(begin, end - begin);
        if (!part.empty() && part != "." && !(part == ".." && parts.empty()))
            parts.push_back(std::move(part));
        begin = end + 1;
    }
    return parts;
}

std::string MessageKey(std::string_view context, std::string_view id)
{
    std::string key(context);
    key += '\x04'; // as gettext joins msgctxt and msgid
    key += id;
    return key;
}

} // namespace

bool ReferenceNamesPath(const std::string& reference, const std::string& path)
{
    const std::vector<std::string> a = PathParts(reference);
    const std::vector<std::string> b = PathParts(path);
    if (a.empty() || b.empty())
        return false;
    const std::size_t common = std::min(a.size(), b.size());
    for (std::size_t k = 1; k <= common; ++k)
        if (a[a.size() - k] != b[b.size() - k])
            return false;
    return true;
}

std::vector<RCatalogueScope> CatalogueScopes(const RPoCatalogue& catalogue,
                                             const RPoCaptionFile& captions,
                                             const std::vector<RBuilderSource>& builders)
{
    std::unordered_map<std::string, std::vector<std::size_t>> messagesByKey;
    for (std::size_t m = 0; m < catalogue.Messages.size(); ++m) {
        const RPoMessage& message = catalogue.Messages[m];
        messagesByKey[MessageKey(message.Context.value_or(""), message.Id)].push_back(m);
    }
    std::vector<std::size_t> firstFormScope(catalogue.Messages.size(), NoScope);
    for (std::size_t s = 0; s < captions.Forms.size(); ++s)
        if (captions.Forms[s].Form == 0)
            firstFormScope[captions.Forms[s].Message] = s;

    std::vector<RCatalogueScope> all;
    for (const RBuilderSource& builder : builders) {
        const std::size_t base = all.size();
        const std::vector<RCaptionScope>& scopes = builder.File.File.Scopes;
        for (std::size_t s = 0; s < scopes.size(); ++s) {
            RCatalogueScope scope;
            scope.Name = builder.Path + ": " + scopes[s].Name;
            for (const std::size_t outer : scopes[s].Enclosing)
                scope.Enclosing.push_back(base + outer);
            for (std::size_t c = 0; c < scopes[s].Captions.size(); ++c) {
                const RFileCaption& caption = scopes[s].Captions[c];
                const RBuilderString& string = builder.File.Strings[s][c];
                if (!caption.CanCarryKey)
                    continue;
                std::size_t translation = NoScope;
                const auto found = messagesByKey.find(MessageKey(string.Context, caption.Text));
                if (string.Translatable && found != messagesByKey.end()) {
                    for (const std::size_t m : found->second) {
                        const std::vector<RPoReference>& references =
                            catalogue.Messages[m].References;
                        bool named = references.empty();
                        for (const RPoReference& reference : references)
                            named = named || ReferenceNamesPath(reference.File, builder.Path);
                        if (named) {
                            translation = firstFormScope[m];
                            break;
                        }
                    }
                }
                if (translation == NoScope)
                    scope.Untranslated.push_back(caption.Text);
                else
                    scope.Translations.push_back(translation);
            }
            all.push_back(std::move(scope));
        }
    }

    std::vector<bool> keep(all.size(), false);
    for (std::size_t s = 0; s < all.size(); ++s) {
        if (all[s].Translations.empty())
            continue;
        keep[s] = true;
        for (const std::size_t outer : all[s].Enclosing)
            keep[outer] = true;
    }
    std::vector<std::size_t> newIndex(all.size(), NoScope);
    std::vector<RCatalogueScope> kept;
    for (std::size_t s = 0; s < all.size(); ++s) {
        if (keep[s]) {
            newIndex[s] = kept.size();
            kept.push_back(std::move(all[s]));
        }
    }
    for (RCatalogueScope& scope : kept)
        for (std::size_t& outer : scope.Enclosing)
            outer = newIndex[outer];
    return kept;
}
