#include "GtkBuilder.h"

#include "SourceLines.h"
#include "Utf8.h"

#include <QString>
#include <QXmlStreamReader>
#include <algorithm>
#include <cstdint>
#include <limits>
#include <numeric>
#include <optional>

namespace {

constexpr std::size_t NoScope = std::numeric_limits<std::size_t>::max();

struct RDraftCaption
{
    RFileCaption Caption;
    RBuilderString String;
};

struct RDraftScope
{
    std::string Title;
    // The scope this one hangs from, named by a caption there (a submenu by its item, a page
    // by its tab); without that caption it is named by Title after its parent's name.
    std::size_t Parent = NoScope;
    std::size_t LabelCaption = NoScope; // in Parent
    std::vector<std::size_t> Enclosing;
    std::vector<RDraftCaption> Captions;
};

// Scopes that take their name from the next caption read where they are given.
using TNameWaiters = std::vector<std::size_t>;

// Where an object's captions go.
struct RPlacement
{
    std::size_t Scope = NoScope;
    bool Toplevel = false;
    // A page object (GtkNotebookPage, GtkStackPage): its title and tab stand in Outer, and
    // name Scope.
    std::size_t Outer = NoScope;
    TNameWaiters* NamedByFirstCaption = nullptr;
    // A GTK 3 menu hanging from a menu item: its scope joins the item's list to be named by
    // the item's label.
    TNameWaiters* SubmenuOf = nullptr;
};

bool IsTrue(QStringView value)
{
    const QString lowered = value.trimmed().toString().toLower();
    return lowered == u"true" || lowered == u"yes" || lowered == u"1" || lowered == u"t" ||
           lowered == u"y";
}

std::string Quoted(const std::string& text)
{
    return '"' + text + '"';
}

bool IsMenuShell(const QString& className)
{
    return className == u"GtkMenuBar" || className == u"GtkMenu" ||
           className == u"GtkRecentChooserMenu";
}

bool IsMenuItem(const QString& className)
{
    return className.endsWith(u"MenuItem");
}

std::string ToplevelTitle(const QString& className, const QString& id)
{
    std::string kind = className.toStdString();
    if (className.contains(u"Dialog"))
        kind = "dialog";
    else if (className.contains(u"Window"))
        kind = "window";
    else if (className.contains(u"Popover"))
        kind = "popover";
    else if (className.contains(u"Assistant"))
        kind = "assistant";
    return id.isEmpty() ? kind : kind + ' ' + Quoted(id.toStdString());
}

// Elements nested deeper than this are refused rather than read with a stack that deep.
constexpr int MaxDepth = 256;

class TBuilderReader
{
public:
    TBuilderReader(std::string_view bytes, const std::string& fileName)
        : FBytes(bytes), FFileName(fileName), FStart(bytes.substr(0, 3) == "\xEF\xBB\xBF" ? 3 : 0),
          FLines(bytes, FStart)
    {
        const std::size_t invalid = FirstInvalidUtf8(bytes);
        if (invalid != std::string_view::npos)
            Fail(FLines.LineOf(invalid), "not valid UTF-8");
        // One byte offset per UTF-16 unit, and one past the end, to turn the XML reader's
        // character offsets into bytes of the file.
        const std::string_view text = bytes.substr(FStart);
        FText = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
        FByteOf.reserve(static_cast<std::size_t>(FText.size()) + 1);
        for (std::size_t i = FStart; i < bytes.size();) {
            const std::size_t length = Utf8SequenceLength(static_cast<unsigned char>(bytes[i]));
            FByteOf.push_back(i);
            if (length == 4)
                FByteOf.push_back(i);
            i += length;
        }
        FByteOf.push_back(bytes.size());
        FXml.addData(FText);
    }

    RGtkBuilderFile Read()
    {
        while (!FXml.atEnd()) {
            const QXmlStreamReader::TokenType token = FXml.readNext();
            if (token == QXmlStreamReader::StartDocument) {
                const QString encoding = FXml.documentEncoding().toString();
                if (!encoding.isEmpty() && encoding.compare(u"UTF-8", Qt::CaseInsensitive) != 0)
                    Fail(Line(), "the file declares the encoding " + encoding.toStdString() +
                                     "; GtkBuilder files are UTF-8");
            } else if (token == QXmlStreamReader::StartElement) {
                if (FXml.name() != u"interface")
                    Fail(Line(), "the root element is <" + FXml.name().toString().toStdString() +
                                     ">, not <interface>: not a GtkBuilder file");
                ReadInterface();
            }
        }
        FailOnXmlError();
        if (!FSawRoot)
            Fail(Line(), "no root element");
        return Finish();
    }

private:
    [[noreturn]] void Fail(std::uint32_t line, const std::string& message) const
    {
        throw EFormatError(FFileName + ':' + std::to_string(line) + ": " + message);
    }

    // One level of nested reading for as long as it lives.
    class TDepth
    {
    public:
        explicit TDepth(TBuilderReader& reader) : FReader(reader)
        {
            if (++FReader.FDepth > MaxDepth)
                FReader.Fail(FReader.Line(), "elements nested too deeply");
        }
        ~TDepth() { --FReader.FDepth; }
        TDepth(const TDepth&) = delete;
        TDepth& operator=(const TDepth&) = delete;

    private:
        TBuilderReader& FReader;
    };

    std::uint32_t Line() const
    {
        return static_cast<std::uint32_t>(std::max<qint64>(FXml.lineNumber(), 1));
    }

    void FailOnXmlError() const
    {
        if (FXml.hasError())
            Fail(Line(), FXml.errorString().toStdString());
    }

    std::size_t ByteOf(qint64 characterOffset) const
    {
        const auto index = static_cast<std::size_t>(std::max<qint64>(characterOffset, 0));
        return FByteOf[std::min(index, FByteOf.size() - 1)];
    }

    QString Attribute(const char* name) const
    {
        return FXml.attributes().value(QLatin1String(name)).toString();
    }

    std::size_t NewScope(std::string title, std::size_t parent,
                         std::vector<std::size_t> enclosing = {})
    {
        FScopes.push_back(RDraftScope{std::move(title), parent, NoScope, std::move(enclosing), {}});
        return FScopes.size() - 1;
    }

    // A page scope avoids the keys of the scope it stands in and of every scope that one
    // avoids.
    std::size_t NewPage(std::size_t outer, std::string title)
    {
        std::vector<std::size_t> enclosing;
        if (outer != NoScope) {
            enclosing.push_back(outer);
            const std::vector<std::size_t>& further = FScopes[outer].Enclosing;
            enclosing.insert(enclosing.end(), further.begin(), further.end());
        }
        return NewScope(std::move(title), outer, std::move(enclosing));
    }

    void AddCaption(std::size_t scope, RDraftCaption caption, TNameWaiters* waiters)
    {
        if (scope == NoScope)
            return;
        FScopes[scope].Captions.push_back(std::move(caption));
        if (waiters == nullptr)
            return;
        for (const std::size_t waiter : *waiters) {
            if (FScopes[waiter].LabelCaption == NoScope) {
                FScopes[waiter].Parent = scope;
                FScopes[waiter].LabelCaption = FScopes[scope].Captions.size() - 1;
            }
        }
        waiters->clear();
    }

    // Skips the rest of the current element, which may hold objects and menus of its own.
    void ReadOtherElement(const RPlacement& at)
    {
        const TDepth depth(*this);
        while (FXml.readNextStartElement())
            ReadNestedElement(at);
    }

    void ReadNestedElement(const RPlacement& at)
    {
        if (FXml.name() == u"object")
            ReadObject(at, Attribute("class"), Attribute("id"));
        else if (FXml.name() == u"menu")
            ReadMenu();
        else
            ReadOtherElement(at);
    }

    void ReadInterface()
    {
        FSawRoot = true;
        while (FXml.readNextStartElement()) {
            RPlacement toplevel;
            toplevel.Toplevel = true;
            if (FXml.name() == u"object") {
                ReadObject(toplevel, Attribute("class"), Attribute("id"));
            } else if (FXml.name() == u"template") {
                toplevel.Scope =
                    NewScope("template " + Quoted(Attribute("class").toStdString()), NoScope);
                toplevel.Toplevel = false;
                ReadObject(toplevel, Attribute("parent"), {});
            } else if (FXml.name() == u"menu") {
                ReadMenu();
            } else {
                FXml.skipCurrentElement();
            }
        }
    }

    // At the start of an element whose content is a caption; reads to its end. The text is
    // decoded from the bytes of the file, so that every byte of it has its place, and compared
    // with what the XML reader made of it.
    std::optional<RDraftCaption> ReadText()
    {
        RDraftCaption draft;
        draft.String.Translatable = IsTrue(Attribute("translatable"));
        draft.String.Context = Attribute("context").toStdString();
        draft.String.Line = Line();
        const std::size_t begin = ByteOf(FXml.characterOffset());
        QString text;
        bool plain = true;
        while (!FXml.atEnd()) {
            const QXmlStreamReader::TokenType token = FXml.readNext();
            if (token == QXmlStreamReader::Characters) {
                text += FXml.text();
            } else if (token == QXmlStreamReader::StartElement) {
                plain = false;
                FXml.skipCurrentElement();
            } else if (token == QXmlStreamReader::EndElement) {
                break;
            }
        }
        FailOnXmlError();
        const qint64 after = FXml.characterOffset();
        const qint64 endTag = FText.lastIndexOf(u'<', std::max<qint64>(after - 1, 0));
        const std::size_t end = ByteOf(endTag);
        if (!plain || text.isEmpty() || endTag < 0 || end <= begin)
            return std::nullopt;
        DecodeContent(begin, end, draft.Caption);
        if (draft.Caption.Text != text.toStdString())
            Fail(draft.String.Line, "cannot tell where the text of this element comes from");
        return draft;
    }

    void DecodeContent(std::size_t begin, std::size_t end, RFileCaption& caption) const
    {
        std::string& out = caption.Text;
        std::vector<RSourcePlace>& places = caption.Places;
        RSourcePlace place = FLines.PlaceOf(begin);
        const auto put = [&](std::size_t at, std::string_view bytes) {
            place = FLines.Advance(place, at);
            out.append(bytes);
            places.insert(places.end(), bytes.size(), place);
        };
        const std::string_view source = FBytes.substr(0, end);
        std::size_t i = begin;
        while (i < end) {
            const char c = source[i];
            if (source.substr(i, 9) == "<![CDATA[") {
                const std::size_t close = source.find("]]>", i + 9);
                const std::size_t stop = close == std::string_view::npos ? end : close;
                for (std::size_t k = i + 9; k < stop;) {
                    const std::size_t length = DecodePlain(source, k, put);
                    k += length;
                }
                i = stop == end ? end : stop + 3;
            } else if (source.substr(i, 4) == "<!--") {
                const std::size_t close = source.find("-->", i + 4);
                i = close == std::string_view::npos ? end : close + 3;
            } else if (source.substr(i, 2) == "<?") {
                const std::size_t close = source.find("?>", i + 2);
                i = close == std::string_view::npos ? end : close + 2;
            } else if (c == '&') {
                const std::size_t semicolon = source.find(';', i);
                if (semicolon == std::string_view::npos)
                    Fail(FLines.LineOf(i), "an entity without its ';'");
                const std::string_view name = source.substr(i + 1, semicolon - i - 1);
                std::string decoded;
                if (name == "amp")
                    decoded = "&";
                else if (name == "lt")
                    decoded = "<";
                else if (name == "gt")
                    decoded = ">";
                else if (name == "quot")
                    decoded = "\"";
                else if (name == "apos")
                    decoded = "'";
                else if (name.size() > 1 && name[0] == '#')
                    AppendUtf8(decoded, CharacterReference(name, i));
                else
                    Fail(FLines.LineOf(i), "the entity &" + std::string(name) +
                                               "; is not one a GtkBuilder file can use");
                put(i, decoded);
                i = semicolon + 1;
            } else {
                i += DecodePlain(source, i, put);
            }
        }
        place = FLines.Advance(place, end);
        places.push_back(place);
    }

    // One character taken as it is, line ends made "\n" as XML makes them.
    template <typename TPut>
    static std::size_t DecodePlain(std::string_view source, std::size_t i, const TPut& put)
    {
        if (source[i] == '\r') {
            put(i, "\n");
            return i + 1 < source.size() && source[i + 1] == '\n' ? 2 : 1;
        }
        const std::size_t length =
            std::min(Utf8SequenceLength(static_cast<unsigned char>(source[i])), source.size() - i);
        put(i, source.substr(i, length));
        return length;
    }

    char32_t CharacterReference(std::string_view reference, std::size_t at) const
    {
        const std::optional<char32_t> value = XmlCharacterReference(reference);
        if (!value)
            Fail(FLines.LineOf(at), "a malformed character reference");
        return *value;
    }

    // The text of a property, reading any object it holds (GTK 4 puts widgets in properties).
    QString ReadPropertyContent(const RPlacement& at)
    {
        QString text;
        while (!FXml.atEnd()) {
            const QXmlStreamReader::TokenType token = FXml.readNext();
            if (token == QXmlStreamReader::Characters)
                text += FXml.text();
            else if (token == QXmlStreamReader::StartElement)
                ReadNestedElement(at);
            else if (token == QXmlStreamReader::EndElement)
                break;
        }
        return text;
    }

    void ReadObject(const RPlacement& at, const QString& className, const QString& id)
    {
        const TDepth depth(*this);
        std::size_t own = at.Scope;
        if (IsMenuShell(className)) {
            const std::string title = id.isEmpty() ? "menu " + className.toStdString()
                                                   : "menu " + Quoted(id.toStdString());
            own = NewScope(title, at.SubmenuOf != nullptr ? at.Scope : NoScope);
            if (at.SubmenuOf != nullptr)
                at.SubmenuOf->push_back(own);
        } else if (at.Toplevel) {
            own = NewScope(ToplevelTitle(className, id), NoScope);
        }
        const bool notebook = className == u"GtkNotebook";
        const bool stack = className == u"GtkStack";
        const bool page = className == u"GtkNotebookPage" || className == u"GtkStackPage";
        const bool label = className == u"GtkLabel";

        std::optional<RDraftCaption> caption;
        bool underline = false;
        bool mnemonicWidget = false;
        bool stock = false;
        bool markup = false;
        TNameWaiters submenus;
        TNameWaiters lastPage;
        int pages = 0;
        TNameWaiters pageName;
        if (page && own != NoScope)
            pageName.push_back(own);

        RPlacement inside;
        inside.Scope = own;
        inside.NamedByFirstCaption = at.NamedByFirstCaption;

        while (FXml.readNextStartElement()) {
            const QStringView element = FXml.name();
            if (element == u"property") {
                const QString name = Attribute("name").replace(u'_', u'-');
                if (name == u"label" || (page && (name == u"title" || name == u"tab-label"))) {
                    caption = ReadText();
                } else if (name == u"use-underline") {
                    underline = IsTrue(ReadPropertyContent(inside));
                } else if (name == u"use-stock") {
                    stock = IsTrue(ReadPropertyContent(inside));
                } else if (name == u"use-markup") {
                    markup = IsTrue(ReadPropertyContent(inside));
                } else if (name == u"mnemonic-widget") {
                    ReadPropertyContent(inside);
                    mnemonicWidget = true;
                } else if (page && name == u"tab") {
                    RPlacement tab;
                    tab.Scope = at.Outer;
                    tab.NamedByFirstCaption = &pageName;
                    ReadPropertyContent(tab);
                } else if (name == u"submenu") {
                    RPlacement submenu;
                    submenu.Scope = own;
                    submenu.SubmenuOf = &submenus;
                    ReadPropertyContent(submenu);
                } else {
                    ReadPropertyContent(inside);
                }
            } else if (element == u"child") {
                const QString type = Attribute("type");
                RPlacement child = inside;
                if ((notebook || stack) && type.isEmpty()) {
                    const std::size_t pageScope = NewPage(own, "page " + std::to_string(++pages));
                    lastPage = {pageScope};
                    child = RPlacement{};
                    child.Scope = pageScope;
                    child.Outer = own;
                } else if (notebook && type == u"tab") {
                    child.NamedByFirstCaption = &lastPage;
                } else if (IsMenuItem(className) && type == u"submenu") {
                    child.SubmenuOf = &submenus;
                }
                ReadOtherElement(child);
            } else {
                ReadOtherElement(inside);
            }
        }
        FailOnXmlError();

        if (!caption || stock)
            return;
        // A marker moved into Pango markup could land inside a tag: such labels are left
        // as they are.
        const bool key = (underline || (label && mnemonicWidget)) && !markup;
        caption->Caption.CanCarryKey = key;
        caption->Caption.KeyRequired = key;
        const std::size_t scope = page ? at.Outer : own;
        if (!submenus.empty()) {
            AddCaption(scope, std::move(*caption), &submenus);
        } else if (page) {
            AddCaption(scope, std::move(*caption), &pageName);
        } else {
            AddCaption(scope, std::move(*caption), at.NamedByFirstCaption);
        }
    }

    RDraftCaption MenuCaption(RDraftCaption caption) const
    {
        caption.Caption.CanCarryKey = true;
        caption.Caption.KeyRequired = true;
        return caption;
    }

    void ReadMenu()
    {
        const QString id = Attribute("id");
        const std::size_t scope =
            NewScope(id.isEmpty() ? "menu" : "menu " + Quoted(id.toStdString()), NoScope);
        ReadMenuContent(scope);
    }

    // The items, sections and submenus of one menu, all in one scope.
    void ReadMenuContent(std::size_t scope)
    {
        const TDepth depth(*this);
        while (FXml.readNextStartElement()) {
            const QStringView element = FXml.name();
            if (element == u"item") {
                ReadMenuItem(scope);
            } else if (element == u"section") {
                ReadMenuContent(scope);
            } else if (element == u"submenu") {
                ReadSubmenu(scope, NewScope("submenu", scope));
            } else if (element == u"link" && Attribute("name") == u"section") {
                ReadMenuContent(scope);
            } else if (element == u"link" && Attribute("name") == u"submenu") {
                ReadMenuContent(NewScope("submenu", scope));
            } else {
                FXml.skipCurrentElement();
            }
        }
        FailOnXmlError();
    }

    void ReadMenuItem(std::size_t scope)
    {
        const TDepth depth(*this);
        TNameWaiters submenus;
        std::optional<std::size_t> labelIndex;
        while (FXml.readNextStartElement()) {
            const QStringView element = FXml.name();
            const QString name = Attribute("name");
            if (element == u"attribute" && name == u"label") {
                if (std::optional<RDraftCaption> caption = ReadText()) {
                    AddCaption(scope, MenuCaption(std::move(*caption)), &submenus);
                    labelIndex = FScopes[scope].Captions.size() - 1;
                }
            } else if (element == u"link" && name == u"section") {
                ReadMenuContent(scope);
            } else if (element == u"link" && name == u"submenu") {
                const std::size_t submenu = NewScope("submenu", scope);
                if (labelIndex)
                    FScopes[submenu].LabelCaption = *labelIndex;
                else
                    submenus.push_back(submenu);
                ReadMenuContent(submenu);
            } else {
                FXml.skipCurrentElement();
            }
        }
        FailOnXmlError();
    }

    // A submenu's label stands in its parent's scope, its items in its own.
    void ReadSubmenu(std::size_t parent, std::size_t scope)
    {
        const TDepth depth(*this);
        TNameWaiters name{scope};
        while (FXml.readNextStartElement()) {
            const QStringView element = FXml.name();
            if (element == u"attribute" && Attribute("name") == u"label") {
                if (std::optional<RDraftCaption> caption = ReadText())
                    AddCaption(parent, MenuCaption(std::move(*caption)), &name);
            } else if (element == u"item") {
                ReadMenuItem(scope);
            } else if (element == u"section") {
                ReadMenuContent(scope);
            } else if (element == u"submenu") {
                ReadSubmenu(scope, NewScope("submenu", scope));
            } else if (element == u"link" && Attribute("name") == u"section") {
                ReadMenuContent(scope);
            } else {
                FXml.skipCurrentElement();
            }
        }
        FailOnXmlError();
    }

    std::string NameOf(std::size_t scope, int depth = 0) const
    {
        const RDraftScope& draft = FScopes[scope];
        if (draft.Parent == NoScope || depth > 64)
            return draft.Title;
        const std::string parent = NameOf(draft.Parent, depth + 1);
        if (draft.LabelCaption != NoScope)
            return parent + " > " +
                   Quoted(FScopes[draft.Parent].Captions[draft.LabelCaption].Caption.Text);
        return parent + " > " + draft.Title;
    }

    // Scopes with captions, in the order they begin, each with its captions in file order.
    RGtkBuilderFile Finish()
    {
        std::vector<std::string> names;
        names.reserve(FScopes.size());
        for (std::size_t s = 0; s < FScopes.size(); ++s)
            names.push_back(NameOf(s));

        std::vector<std::size_t> kept;
        for (std::size_t s = 0; s < FScopes.size(); ++s)
            if (!FScopes[s].Captions.empty())
                kept.push_back(s);
        const auto startOf = [this](std::size_t s) {
            std::size_t first = std::numeric_limits<std::size_t>::max();
            for (const RDraftCaption& caption : FScopes[s].Captions)
                first = std::min(first, caption.Caption.Start().Offset);
            return first;
        };
        std::stable_sort(kept.begin(), kept.end(),
                         [&](std::size_t a, std::size_t b) { return startOf(a) < startOf(b); });
        std::vector<std::size_t> newIndex(FScopes.size(), NoScope);
        for (std::size_t k = 0; k < kept.size(); ++k)
            newIndex[kept[k]] = k;

        RGtkBuilderFile result;
        for (const std::size_t s : kept) {
            RDraftScope& draft = FScopes[s];
            std::stable_sort(draft.Captions.begin(), draft.Captions.end(),
                             [](const RDraftCaption& a, const RDraftCaption& b) {
                                 return a.Caption.Start().Offset < b.Caption.Start().Offset;
                             });
            RCaptionScope scope;
            scope.Name = names[s];
            for (const std::size_t outer : draft.Enclosing)
                if (newIndex[outer] != NoScope)
                    scope.Enclosing.push_back(newIndex[outer]);
            std::vector<RBuilderString> strings;
            for (RDraftCaption& caption : draft.Captions) {
                scope.Captions.push_back(std::move(caption.Caption));
                strings.push_back(std::move(caption.String));
            }
            result.File.Scopes.push_back(std::move(scope));
            result.Strings.push_back(std::move(strings));
        }
        return result;
    }

    std::string_view FBytes;
    const std::string& FFileName;
    std::size_t FStart;
    TSourceLines FLines;
    QString FText;
    std::vector<std::size_t> FByteOf;
    QXmlStreamReader FXml;
    bool FSawRoot = false;
    int FDepth = 0;
    std::vector<RDraftScope> FScopes;
};

} // namespace

bool IsGtkBuilderFile(std::string_view bytes)
{
    QXmlStreamReader xml(
        QByteArray::fromRawData(bytes.data(), static_cast<qsizetype>(bytes.size())));
    while (!xml.atEnd()) {
        if (xml.readNext() == QXmlStreamReader::StartElement)
            return xml.name() == u"interface";
    }
    return false;
}

RGtkBuilderFile ReadGtkBuilderStrings(std::string_view bytes, const std::string& fileName)
{
    return TBuilderReader(bytes, fileName).Read();
}

std::string TGtkBuilderFormat::DecodedText(std::string_view bytes,
                                           const std::string& fileName) const
{
    ReadGtkBuilder(bytes, fileName);
    return std::string(bytes.substr(bytes.substr(0, 3) == "\xEF\xBB\xBF" ? 3 : 0));
}

std::string TGtkBuilderFormat::Encode(const RFileCaption&, std::string_view text) const
{
    return EscapeXmlText(text);
}
