#include "QtTranslation.h"

#include "Lint.h"
#include "SuffixKeys.h"

#include <QtCore/QXmlStreamReader>
#include <utility>

namespace {

constexpr std::size_t None = static_cast<std::size_t>(-1);

enum class TTag : unsigned char
{
    Other,
    Ts,
    Context,
    Message,
};

bool PassedOver(const QStringView type)
{
    return type == u"unfinished" || type == u"vanished" || type == u"obsolete";
}

std::string ElementText(QXmlStreamReader& reader)
{
    return reader.readElementText(QXmlStreamReader::IncludeChildElements).toStdString();
}

bool HasKey(std::string_view text)
{
    return !ScanMarkers(text, '&').Singles.empty();
}

// The scopes of one context: the form's, or the whole context as one.
class TContextScoper
{
public:
    TContextScoper(RTranslationScopes& out, const RTsContext& context, bool keysInSuffixes)
        : FOut(out), FContext(context), FKeysInSuffixes(keysInSuffixes)
    {}

    void ByForm(const RQtForm& form)
    {
        std::map<std::pair<std::string_view, std::string_view>,
                 std::vector<std::pair<std::size_t, std::size_t>>>
            where;
        for (std::size_t s = 0; s < form.File.Scopes.size(); ++s)
            for (std::size_t c = 0; c < form.File.Scopes[s].Captions.size(); ++c)
                where[{form.File.Scopes[s].Captions[c].Text, form.Comments[s][c]}].emplace_back(s,
                                                                                                c);

        // The translation of each caption of the form, in the form's order.
        std::vector<std::vector<const RTsMessage*>> translated(form.File.Scopes.size());
        for (std::size_t s = 0; s < form.File.Scopes.size(); ++s)
            translated[s].resize(form.File.Scopes[s].Captions.size(), nullptr);
        for (const RTsMessage& message : FContext.Messages) {
            if (!message.Translated)
                continue;
            const auto found = where.find({message.Source, message.Comment});
            if (found == where.end())
                continue; // a tooltip, a window title, or a string the form no longer has
            for (const auto& [s, c] : found->second)
                translated[s][c] = &message;
        }
        std::vector<RCaptionScope> scopes(form.File.Scopes.size());
        for (std::size_t s = 0; s < form.File.Scopes.size(); ++s) {
            for (std::size_t c = 0; c < translated[s].size(); ++c) {
                if (!translated[s][c])
                    continue;
                const RFileCaption& original = form.File.Scopes[s].Captions[c];
                RFileCaption caption = CaptionOf(*translated[s][c]);
                caption.CanCarryKey = original.CanCarryKey;
                caption.KeyRequired = original.KeyRequired;
                scopes[s].Captions.push_back(std::move(caption));
            }
        }
        // Empty scopes are left out, and the enclosing ones renumbered to match.
        std::vector<std::size_t> index(scopes.size(), None);
        for (std::size_t s = 0; s < scopes.size(); ++s) {
            if (scopes[s].Captions.empty())
                continue;
            index[s] = FOut.File.Scopes.size();
            scopes[s].Name = FContext.Name + ": " + form.File.Scopes[s].Name;
            FOut.File.Scopes.push_back(std::move(scopes[s]));
        }
        for (std::size_t s = 0; s < scopes.size(); ++s) {
            if (index[s] == None)
                continue;
            for (const std::size_t outer : form.File.Scopes[s].Enclosing)
                if (index[outer] != None)
                    FOut.File.Scopes[index[s]].Enclosing.push_back(index[outer]);
        }
    }

    void AsWhole(std::string name)
    {
        RCaptionScope scope;
        scope.Name = std::move(name);
        for (const RTsMessage& message : FContext.Messages) {
            if (!message.Translated)
                continue;
            // Membership follows the source alone, which a fix never changes, so that a mended
            // file reads back as the same scopes.
            if (HasKey(message.Source))
                scope.Captions.push_back(CaptionOf(message));
        }
        if (!scope.Captions.empty())
            FOut.File.Scopes.push_back(std::move(scope));
    }

    // What a per-string checker finds: a key lost or gained in translation.
    void CompareKeys()
    {
        for (const RTsMessage& message : FContext.Messages) {
            if (!message.Translated)
                continue;
            const bool sourceKey = HasKey(message.Source);
            if (sourceKey == HasKey(message.Translation.Text))
                continue;
            FOut.File.Notes.push_back(
                {message.Translation.Start(),
                 sourceKey
                     ? "translation has no key, but its source \"" + message.Source + "\" has one"
                     : "translation has a key, but its source \"" + message.Source + "\" has none",
                 true, sourceKey ? "source-key-missing" : "key-not-in-source"});
        }
    }

private:
    RFileCaption CaptionOf(const RTsMessage& message) const
    {
        RFileCaption caption = message.Translation;
        caption.SourceKey = MarkedCharacterOf(message.Source, '&');
        if (FKeysInSuffixes)
            caption.PreferredSuffix = SuffixKeyOfSource(message.Source, '&');
        return caption;
    }

    RTranslationScopes& FOut;
    const RTsContext& FContext;
    bool FKeysInSuffixes = false;
};

} // namespace

RQtTranslation ReadQtTranslation(std::string_view bytes, const std::string& fileName)
{
    QXmlStreamReader reader(
        QByteArray::fromRawData(bytes.data(), static_cast<qsizetype>(bytes.size())));
    TXmlPlaces places(bytes);
    RQtTranslation result;
    std::vector<TTag> open;
    bool numerus = false;
    while (!reader.atEnd()) {
        switch (reader.readNext()) {
        case QXmlStreamReader::StartDocument:
            RequireUtf8(reader, bytes, fileName);
            break;
        case QXmlStreamReader::StartElement: {
            const TTag outer = open.empty() ? TTag::Other : open.back();
            const QStringView name = reader.name();
            TTag inner = TTag::Other;
            if (open.empty() && name == u"TS") {
                inner = TTag::Ts;
                result.Language = reader.attributes()
                                      .value(QLatin1StringView("language"))
                                      .toString()
                                      .toStdString();
            } else if (outer == TTag::Ts && name == u"context") {
                inner = TTag::Context;
                result.Contexts.push_back({{}, places.At(reader.characterOffset()), {}});
            } else if (outer == TTag::Context && name == u"name") {
                result.Contexts.back().Name = ElementText(reader);
                continue;
            } else if (outer == TTag::Context && name == u"message") {
                inner = TTag::Message;
                numerus = reader.attributes().value(QLatin1StringView("numerus")) == u"yes";
                result.Contexts.back().Messages.emplace_back();
            } else if (outer == TTag::Message && (name == u"source" || name == u"comment")) {
                RTsMessage& message = result.Contexts.back().Messages.back();
                if (name == u"source")
                    message.SourcePlace = places.At(reader.characterOffset());
                (name == u"source" ? message.Source : message.Comment) = ElementText(reader);
                continue;
            } else if (outer == TTag::Message && name == u"translation") {
                RTsMessage& message = result.Contexts.back().Messages.back();
                if (numerus || PassedOver(reader.attributes().value(QLatin1StringView("type")))) {
                    reader.skipCurrentElement();
                    continue;
                }
                if (std::optional<RXmlText> text = ReadElementContent(reader, bytes, places)) {
                    message.Translated = !text->Text.empty();
                    message.Translation = ToCaption(std::move(*text));
                }
                continue;
            }
            open.push_back(inner);
            break;
        }
        case QXmlStreamReader::EndElement:
            if (!open.empty())
                open.pop_back();
            break;
        default:
            break;
        }
    }
    if (reader.hasError())
        throw EFormatError(XmlErrorMessage(reader, fileName));
    return result;
}

RTranslationScopes ScopeTranslation(const RQtTranslation& translation, const TFormsByClass& forms)
{
    RTranslationScopes out;
    const bool keysInSuffixes = KeysInSuffixes(translation.Language);
    for (const RTsContext& context : translation.Contexts) {
        TContextScoper scoper(out, context, keysInSuffixes);
        if (const auto form = forms.find(context.Name); form != forms.end()) {
            scoper.ByForm(*form->second);
        } else if (forms.empty()) {
            scoper.AsWhole("context " + context.Name + " (whole context: no forms given)");
        } else {
            out.File.Notes.push_back({context.Place,
                                      "no form given has the class " + context.Name +
                                          "; its messages are checked as one scope",
                                      false, "context-without-form"});
            scoper.AsWhole("context " + context.Name + " (whole context: no form of that class)");
        }
        scoper.CompareKeys();
    }
    return out;
}
