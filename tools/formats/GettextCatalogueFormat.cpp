#include "GettextCatalogueFormat.h"

RCaptionFile ScopeCatalogue(const RPoCatalogue& catalogue,
                            const std::vector<RBuilderSource>& builders)
{
    const RPoCaptionFile captions = CatalogueCaptions(catalogue, GtkMarker);
    const std::vector<RCaptionScope>& forms = captions.File.Scopes;
    RCaptionFile file;
    std::vector<bool> placed(forms.size(), false);
    for (const RCatalogueScope& found : CatalogueScopes(catalogue, captions, builders)) {
        RCaptionScope scope;
        scope.Name = found.Name;
        scope.Enclosing = found.Enclosing;
        scope.Others = found.Untranslated;
        for (const std::size_t form : found.Translations) {
            const RFileCaption& translation = forms[form].Captions.front();
            if (placed[form]) {
                scope.Others.push_back(translation.Text);
                continue;
            }
            placed[form] = true;
            scope.Captions.push_back(translation);
        }
        file.Scopes.push_back(std::move(scope));
    }
    for (std::size_t form = 0; form < forms.size(); ++form)
        if (!placed[form])
            file.Scopes.push_back(forms[form]);

    for (const RPoKeyMismatch& mismatch : KeyMismatches(catalogue, GtkMarker)) {
        const RPoMessage& message = catalogue.Messages[mismatch.Form.Message];
        const std::string& source = message.SourceOf(mismatch.Form.Form);
        file.Notes.push_back(
            {message.Translations[mismatch.Form.Form].Start(),
             mismatch.SourceHasKey
                 ? "translation has no key, but its source \"" + source + "\" has one"
                 : "translation has a key, but its source \"" + source + "\" has none",
             true, mismatch.SourceHasKey ? "source-key-missing" : "key-not-in-source"});
    }
    return file;
}

RCaptionFile TGettextCatalogueFormat::Read(std::string_view bytes,
                                           const std::string& fileName) const
{
    static const std::vector<RBuilderSource> None;
    return ScopeCatalogue(ReadPoCatalogue(bytes, fileName), FBuilders ? *FBuilders : None);
}
