#include "QtForm.h"

#include "Lint.h"

#include <QtCore/QXmlStreamReader>
#include <map>
#include <optional>

namespace {

constexpr std::size_t None = static_cast<std::size_t>(-1);
// Pages nested deeper than this share the scope of the page around them, and menu names show
// this many levels: real forms stay far below, and hostile ones cannot make every scope carry
// a list (or a name) as long as the file is deep.
constexpr std::size_t MaxPageDepth = 16;
constexpr std::size_t MaxNameDepth = 8;

enum class TTag : unsigned char
{
    Other,
    Ui,
    Widget,
    Action,
    Property,
    Attribute,
    String,
    CustomWidget,
};

// The properties and attributes whose strings can be captions.
enum class TSlot : unsigned char
{
    None,
    Text,
    Title,
    PageTitle,
    Buddy,
};

struct ROpen
{
    TTag Tag = TTag::Other;
    std::size_t Node = None; // the widget or action it belongs to
    TSlot Slot = TSlot::None;
};

// A widget or an action, as read; the tree is flat, parents before children, so that no step
// of the reading or the scoping recurses however deep the file nests.
// A string that can be a caption, with the comment that tells it apart for translation.
struct RXmlString
{
    RXmlText Text;
    std::string Comment;
};

struct RNode
{
    std::string Class;
    std::string Name;
    std::size_t Parent = None;
    bool IsAction = false;
    bool DirectChild = false; // a `<widget>` right inside its parent's `<widget>`: a page
    std::optional<RXmlString> Text;
    std::optional<RXmlString> Title;
    std::optional<RXmlString> PageTitle;
    bool HasBuddy = false;
    std::vector<std::string> AddActions;
};

std::string Attribute(const QXmlStreamReader& reader, const char* name)
{
    return reader.attributes().value(QLatin1StringView(name)).toString().toStdString();
}

TSlot SlotOf(TTag tag, const QStringView name)
{
    if (tag == TTag::Property) {
        if (name == u"text")
            return TSlot::Text;
        if (name == u"title")
            return TSlot::Title;
        if (name == u"buddy")
            return TSlot::Buddy;
    } else if (name == u"title" || name == u"label") {
        return TSlot::PageTitle;
    }
    return TSlot::None;
}

bool IsRichText(std::string_view text)
{
    const std::size_t start = text.find_first_not_of(" \t\n");
    if (start == std::string_view::npos || text[start] != '<')
        return false;
    const QString head = QString::fromUtf8(text.substr(start, 9)).toLower();
    return head.startsWith(u"<html") || head.startsWith(u"<!doctype") || head.startsWith(u"<qt");
}

// The `<string>` the reader has just started, or nullopt when it is no caption: empty, rich
// text, not to be translated, or spelt in a way we cannot write back (which gets a note).
std::optional<RXmlString> ReadCaptionString(QXmlStreamReader& reader, std::string_view bytes,
                                            TXmlPlaces& places, std::vector<RFileNote>& notes)
{
    const bool notr = reader.attributes().value(QLatin1StringView("notr")) == u"true";
    std::string comment = Attribute(reader, "comment");
    const RSourcePlace start = places.At(reader.characterOffset());
    std::optional<RXmlText> text = ReadElementContent(reader, bytes, places);
    if (!text) {
        if (!reader.hasError())
            notes.push_back({start, "string passed over: it holds markup or an entity of its own",
                             true, "string-passed-over"});
        return std::nullopt;
    }
    if (notr || text->Text.empty() || IsRichText(text->Text))
        return std::nullopt;
    return RXmlString{std::move(*text), std::move(comment)};
}

struct RForm
{
    std::string ClassName;
    std::vector<RNode> Nodes;
    std::map<std::string, std::string> Extends; // custom widget class -> its base
    std::vector<RFileNote> Notes;
};

void ReadCustomWidget(QXmlStreamReader& reader, RForm& form)
{
    std::string className;
    std::string base;
    while (reader.readNextStartElement()) {
        if (reader.name() == u"class")
            className =
                reader.readElementText(QXmlStreamReader::IncludeChildElements).toStdString();
        else if (reader.name() == u"extends")
            base = reader.readElementText(QXmlStreamReader::IncludeChildElements).toStdString();
        else
            reader.skipCurrentElement();
    }
    if (!className.empty() && !base.empty())
        form.Extends.emplace(className, base);
}

RForm ReadForm(std::string_view bytes, const std::string& fileName)
{
    QXmlStreamReader reader(
        QByteArray::fromRawData(bytes.data(), static_cast<qsizetype>(bytes.size())));
    TXmlPlaces places(bytes);
    RForm form;
    std::vector<ROpen> open;
    const auto enclosing = [&open]() { return open.empty() ? ROpen{} : open.back(); };
    while (!reader.atEnd()) {
        switch (reader.readNext()) {
        case QXmlStreamReader::StartDocument:
            RequireUtf8(reader, bytes, fileName);
            break;
        case QXmlStreamReader::StartElement: {
            const ROpen outer = enclosing();
            const QStringView name = reader.name();
            ROpen inner{TTag::Other, outer.Node, TSlot::None};
            if (open.empty() && name == u"ui") {
                inner.Tag = TTag::Ui;
            } else if (outer.Tag == TTag::Ui && name == u"class") {
                form.ClassName =
                    reader.readElementText(QXmlStreamReader::IncludeChildElements).toStdString();
                continue;
            } else if (name == u"customwidget") {
                ReadCustomWidget(reader, form);
                continue;
            } else if (name == u"widget" || name == u"action") {
                RNode node;
                node.IsAction = name == u"action";
                node.Class = Attribute(reader, "class");
                node.Name = Attribute(reader, "name");
                node.Parent = outer.Node;
                node.DirectChild = outer.Tag == TTag::Widget;
                inner = ROpen{node.IsAction ? TTag::Action : TTag::Widget, form.Nodes.size()};
                form.Nodes.push_back(std::move(node));
            } else if (name == u"addaction" && outer.Tag == TTag::Widget) {
                form.Nodes[outer.Node].AddActions.push_back(Attribute(reader, "name"));
            } else if ((name == u"property" || name == u"attribute") &&
                       (outer.Tag == TTag::Widget || outer.Tag == TTag::Action)) {
                inner.Tag = name == u"property" ? TTag::Property : TTag::Attribute;
                inner.Slot =
                    SlotOf(inner.Tag, reader.attributes().value(QLatin1StringView("name")));
            } else if (outer.Slot == TSlot::Buddy && name == u"cstring") {
                form.Nodes[outer.Node].HasBuddy =
                    !reader.readElementText(QXmlStreamReader::IncludeChildElements)
                         .trimmed()
                         .isEmpty();
                continue;
            } else if (outer.Slot != TSlot::None && outer.Slot != TSlot::Buddy &&
                       name == u"string") {
                std::optional<RXmlString> text =
                    ReadCaptionString(reader, bytes, places, form.Notes);
                RNode& node = form.Nodes[outer.Node];
                (outer.Slot == TSlot::Text    ? node.Text
                 : outer.Slot == TSlot::Title ? node.Title
                                              : node.PageTitle) = std::move(text);
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
    return form;
}

// Builds the scopes of a form read into nodes.
class TScoper
{
public:
    explicit TScoper(RForm& form) : FForm(form) {}

    RQtForm Build()
    {
        FResult.ClassName = FForm.ClassName;
        ScopeControls();
        ScopeMenus();
        DropEmptyScopes();
        FResult.File.Notes.insert(FResult.File.Notes.begin(), FForm.Notes.begin(),
                                  FForm.Notes.end());
        return std::move(FResult);
    }

private:
    // The Qt class a widget is, following custom widgets to what they extend.
    std::string QtClass(const RNode& node) const
    {
        std::string name = node.Class;
        for (int step = 0; step < 16; ++step) {
            const auto base = FForm.Extends.find(name);
            if (base == FForm.Extends.end())
                break;
            name = base->second;
        }
        return name;
    }

    std::size_t NewScope(std::string name, std::size_t outer)
    {
        RCaptionScope scope;
        scope.Name = std::move(name);
        if (outer != None) {
            scope.Enclosing.push_back(outer);
            const auto& further = FResult.File.Scopes[outer].Enclosing;
            scope.Enclosing.insert(scope.Enclosing.end(), further.begin(), further.end());
        }
        FResult.File.Scopes.push_back(std::move(scope));
        FResult.Comments.emplace_back();
        return FResult.File.Scopes.size() - 1;
    }

    void Add(std::size_t scope, const RXmlString& text, bool canCarryKey, bool keyRequired)
    {
        RFileCaption caption = ToCaption(text.Text);
        caption.CanCarryKey = canCarryKey;
        caption.KeyRequired = keyRequired;
        FResult.File.Scopes[scope].Captions.push_back(std::move(caption));
        FResult.Comments[scope].push_back(text.Comment);
    }

    void ScopeControls()
    {
        std::vector<std::size_t> scopeOf(FForm.Nodes.size(), None);
        std::vector<std::string> classes(FForm.Nodes.size());
        std::vector<std::size_t> pageDepth(FForm.Nodes.size(), 0);
        for (std::size_t i = 0; i < FForm.Nodes.size(); ++i) {
            const RNode& node = FForm.Nodes[i];
            classes[i] = QtClass(node);
            if (node.IsAction)
                continue;
            const std::string& cls = classes[i];
            if (cls == "QMenu" || cls == "QMenuBar" || cls == "QToolBar")
                continue;
            if (node.Parent == None) {
                scopeOf[i] =
                    NewScope("form " + (node.Name.empty() ? FForm.ClassName : node.Name), None);
            } else if (scopeOf[node.Parent] == None) {
                continue; // inside a menu or toolbar
            } else if (const std::string& parentClass = classes[node.Parent];
                       node.DirectChild && pageDepth[node.Parent] < MaxPageDepth &&
                       (parentClass == "QTabWidget" || parentClass == "QToolBox" ||
                        parentClass == "QStackedWidget")) {
                const std::size_t outer = scopeOf[node.Parent];
                std::string name = "page " + FForm.Nodes[node.Parent].Name + " > ";
                if (node.PageTitle) {
                    Add(outer, *node.PageTitle, true, false);
                    name += '"' + node.PageTitle->Text.Text + '"';
                } else {
                    name += node.Name;
                }
                scopeOf[i] = NewScope(std::move(name), outer);
                pageDepth[i] = pageDepth[node.Parent] + 1;
            } else {
                scopeOf[i] = scopeOf[node.Parent];
                pageDepth[i] = pageDepth[node.Parent];
            }
            AddControl(scopeOf[i], node, cls);
        }
    }

    void AddControl(std::size_t scope, const RNode& node, const std::string& cls)
    {
        if (cls == "QLabel" && node.Text) {
            if (!node.HasBuddy) {
                const RMarkers markers = ScanMarkers(node.Text->Text.Text, '&');
                if (!markers.Singles.empty() || markers.LoneAtEnd)
                    FResult.File.Notes.push_back(
                        {node.Text->Text.Places.front(),
                         "label " + node.Name + " has no buddy, so its marker shows as it stands",
                         true, "label-without-buddy"});
            }
            Add(scope, *node.Text, node.HasBuddy, node.HasBuddy);
        } else if ((cls == "QPushButton" || cls == "QToolButton" || cls == "QCheckBox" ||
                    cls == "QRadioButton" || cls == "QCommandLinkButton") &&
                   node.Text) {
            Add(scope, *node.Text, true, false);
        } else if (cls == "QGroupBox" && node.Title) {
            Add(scope, *node.Title, true, false);
        }
    }

    void ScopeMenus()
    {
        std::map<std::string, std::size_t> byName;
        for (std::size_t i = 0; i < FForm.Nodes.size(); ++i)
            byName.emplace(FForm.Nodes[i].Name, i);
        for (std::size_t i = 0; i < FForm.Nodes.size(); ++i) {
            const RNode& node = FForm.Nodes[i];
            const std::string cls = QtClass(node);
            if (node.IsAction || (cls != "QMenu" && cls != "QMenuBar") || node.AddActions.empty())
                continue;
            const std::size_t scope = NewScope(MenuName(i), None);
            for (const std::string& entry : node.AddActions) {
                const auto found = byName.find(entry);
                if (found == byName.end())
                    continue; // a separator, or a name the form does not define
                const RNode& item = FForm.Nodes[found->second];
                const std::optional<RXmlString>& text = item.IsAction ? item.Text : item.Title;
                if (text)
                    Add(scope, *text, true, true);
            }
        }
    }

    // `menu bar menubar`, `menu menubar > "&File" > "&Recent"`.
    std::string MenuName(std::size_t index) const
    {
        std::string path;
        for (std::size_t at = index, step = 0; at != None; at = FForm.Nodes[at].Parent, ++step) {
            if (step == MaxNameDepth)
                return "menu ..." + path;
            const RNode& node = FForm.Nodes[at];
            const std::string cls = QtClass(node);
            if (cls == "QMenuBar")
                return at == index ? "menu bar " + node.Name : "menu " + node.Name + path;
            if (cls != "QMenu")
                break;
            path = " > " + (node.Title ? '"' + node.Title->Text.Text + '"' : node.Name) + path;
        }
        return "menu" + path.substr(2);
    }

    // A form with no caption in a scope (a page of plain fields) reports nothing for it; the
    // scopes left are renumbered, and so are the ones they must avoid.
    void DropEmptyScopes()
    {
        std::vector<RCaptionScope>& scopes = FResult.File.Scopes;
        std::vector<std::size_t> index(scopes.size(), None);
        std::size_t kept = 0;
        for (std::size_t s = 0; s < scopes.size(); ++s) {
            if (scopes[s].Captions.empty())
                continue;
            index[s] = kept;
            if (kept != s) {
                scopes[kept] = std::move(scopes[s]);
                FResult.Comments[kept] = std::move(FResult.Comments[s]);
            }
            ++kept;
        }
        scopes.resize(kept);
        FResult.Comments.resize(kept);
        for (RCaptionScope& scope : scopes) {
            std::vector<std::size_t> enclosing;
            for (const std::size_t outer : scope.Enclosing)
                if (index[outer] != None)
                    enclosing.push_back(index[outer]);
            scope.Enclosing = std::move(enclosing);
        }
    }

    RForm& FForm;
    RQtForm FResult;
};

} // namespace

RQtForm ReadQtForm(std::string_view bytes, const std::string& fileName)
{
    RForm form = ReadForm(bytes, fileName);
    return TScoper(form).Build();
}
