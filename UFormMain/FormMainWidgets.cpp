// Building the window's widgets from the command table and the form's figures.
#include "CaptionEditor.h"
#include "DisplayText.h"
#include "FormMain.h"
#include "ListView.h"

#include <QAction>
#include <QFileDialog>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>
#include <QToolBar>
#include <QTreeView>
#include <algorithm>

namespace {

QIcon ThemeIcon(const TIconInfo& icon)
{
    if (icon.IsNull())
        return {};
    return QIcon::fromTheme(ToDisplayText(icon.ThemeName), QIcon(ToDisplayText(icon.Resource)));
}

// The position display: its design width, or wider when a long list's numbers need it.
class TPositionPanel : public QLabel
{
public:
    using QLabel::QLabel;

    QSize sizeHint() const override
    {
        QSize size = QLabel::sizeHint();
        size.setWidth(std::max(size.width(), PositionPanelWidth));
        return size;
    }
    QSize minimumSizeHint() const override { return sizeHint(); }
};

} // namespace

void TFormMain::SetUpForm()
{
    QFont font(ToDisplayText(FormFontFamily));
    font.setPixelSize(FormFontPixelHeight);
    font.setStyleHint(QFont::SansSerif);
    setFont(font);
    setWindowIcon(ThemeIcon(ProgramIcon));
    setStatusTip(ToDisplayText(LongHint(FormHint)));
    setWindowTitle(ToDisplayText(FormCaption));
}

void TFormMain::CreateActions()
{
    for (const TCommandInfo& command : CommandTable) {
        auto* action = new QAction(ToDisplayText(command.Caption), this);
        action->setObjectName(ToDisplayText(command.Name));
        action->setIcon(ThemeIcon(command.Icon));
        action->setIconVisibleInMenu(true);
        action->setToolTip(ToDisplayText(ShortHint(command.Hint)));
        action->setStatusTip(ToDisplayText(LongHint(command.Hint)));
        action->setShortcut(QKeySequence(ToDisplayText(command.Shortcut)));
        action->setShortcutContext(Qt::WindowShortcut);
        const TCommandId id = command.Id;
        connect(action, &QAction::triggered, this,
                [this, id] { RunHandler([this, id] { FController.Execute(id); }); });
        FActions[CommandIndex(id)] = action;
        addAction(action); // shortcuts work whether or not a bar shows the action
    }
}

void TFormMain::CreateMenus()
{
    for (const TMenuInfo& info : MainMenu) {
        QMenu* menu = menuBar()->addMenu(ToDisplayText(info.Caption));
        for (const TMenuItem& item : info.Items) {
            if (!item.Command) {
                menu->addSeparator();
                continue;
            }
            // One action serves menu and toolbar; the toolbar shows no text, so the action's
            // text is the menu's wording.
            QAction* action = Action(*item.Command);
            if (!item.Caption.empty())
                action->setText(ToDisplayText(item.Caption));
            menu->addAction(action);
        }
        // A menu is a window of its own and would not inherit the form's font.
        menu->setFont(font());
        // Menus report the hints of enabled items only; the filter adds the others.
        menu->installEventFilter(this);
    }
}

void TFormMain::CreateToolBar()
{
    QToolBar* toolBar = addToolBar(QStringLiteral("ActionToolBar1"));
    FToolBar = toolBar;
    toolBar->setObjectName(QStringLiteral("ActionToolBar1"));
    toolBar->setMovable(false);
    toolBar->setFloatable(false);
    toolBar->setToolButtonStyle(Qt::ToolButtonIconOnly);
    toolBar->setMinimumHeight(ToolBarMinHeight);
    toolBar->setIconSize(QSize(ToolBarIconSize, ToolBarIconSize));
    toolBar->setContextMenuPolicy(Qt::PreventContextMenu);
    for (const std::optional<TCommandId>& item : ToolBarItems) {
        if (item)
            toolBar->addAction(Action(*item));
        else
            toolBar->addSeparator();
    }
}

void TFormMain::CreateListView()
{
    FListView1 = new TListView(this);
    FListView1->setObjectName(QStringLiteral("ListView1"));
    FListView1->setRootIsDecorated(false);
    FListView1->setItemsExpandable(false);
    FListView1->setUniformRowHeights(true); // keeps a million rows cheap to lay out
    FListView1->setAllColumnsShowFocus(true);
    FListView1->setSelectionMode(QAbstractItemView::ExtendedSelection);
    FListView1->setSelectionBehavior(QAbstractItemView::SelectRows);
    FListView1->setEditTriggers(QAbstractItemView::SelectedClicked);
    FListView1->setItemDelegate(new TCaptionDelegate(FListView1));
    FListView1->setModel(&FController.Document().Model());
    FListView1->setSelectionModel(&FController.Document().Selection());
    FController.Document().SetViewBytesPerRow(TListView::LayoutBytesPerRow);

    // The selection stays visible when the list loses the focus.
    QPalette palette = FListView1->palette();
    for (const QPalette::ColorRole role : {QPalette::Highlight, QPalette::HighlightedText})
        palette.setColor(QPalette::Inactive, role, palette.color(QPalette::Active, role));
    FListView1->setPalette(palette);

    QHeaderView* header = FListView1->header();
    header->setStretchLastSection(false);
    header->setSectionsMovable(false);
    header->setSectionsClickable(true);
    header->setSortIndicatorShown(false);
    for (int column = 0; column < static_cast<int>(DesignColumnWidths.size()); ++column)
        header->resizeSection(column, DesignColumnWidths[column]);
    connect(header, &QHeaderView::sectionClicked, this, [this](int column) {
        RunHandler([this, column] { FController.ListView1ColumnClick(column); });
    });
    setCentralWidget(FListView1);
}

void TFormMain::CreateStatusBar()
{
    QStatusBar* bar = statusBar();
    bar->setObjectName(QStringLiteral("StatusBar1"));
    bar->setFixedHeight(StatusBarHeight);
    bar->setSizeGripEnabled(true);
    FPositionPanel = new TPositionPanel(bar);
    FPositionPanel->setObjectName(QStringLiteral("Panel0"));
    FPositionPanel->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Preferred);
    FPositionPanel->setAlignment(Qt::AlignCenter);
    FStatusPanel = new QLabel(bar);
    FStatusPanel->setObjectName(QStringLiteral("Panel1"));
    // A long hint is cut off at the window's edge instead of widening the window.
    FStatusPanel->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    bar->addWidget(FPositionPanel);
    bar->addWidget(FStatusPanel, 1);
}

void TFormMain::CreateDialogs()
{
    const QString filter = QStringLiteral("Caption list files (*.lst)");
    FOpenDialog = new QFileDialog(this);
    FOpenDialog->setObjectName(QStringLiteral("OpenDialog"));
    FOpenDialog->setAcceptMode(QFileDialog::AcceptOpen);
    FOpenDialog->setFileMode(QFileDialog::ExistingFile);
    FSaveDialog = new QFileDialog(this);
    FSaveDialog->setObjectName(QStringLiteral("SaveDialog"));
    FSaveDialog->setAcceptMode(QFileDialog::AcceptSave);
    FSaveDialog->setFileMode(QFileDialog::AnyFile);
    for (QFileDialog* dialog : {FOpenDialog, FSaveDialog}) {
        dialog->setNameFilter(filter);
        dialog->setDefaultSuffix(QStringLiteral("lst"));
        dialog->setOption(QFileDialog::DontUseNativeDialog);
        dialog->setSizeGripEnabled(true);
    }
}

void TFormMain::StyleBars()
{
    // Flat bars: no gradients and no extra spacing; the item under the mouse or with an open
    // menu lights up in the bars' highlight colour, a pressed button shows the button face.
    const QString highlight = QStringLiteral("rgb(%1, %2, %3)")
                                  .arg(BarHighlightColour.Red)
                                  .arg(BarHighlightColour.Green)
                                  .arg(BarHighlightColour.Blue);
    menuBar()->setStyleSheet(
        QStringLiteral("QMenuBar { background: palette(button); border: none; spacing: 0px; }"
                       "QMenuBar::item { background: transparent; padding: 2px 6px; }"
                       "QMenuBar::item:selected, QMenuBar::item:pressed { background: %1; }")
            .arg(highlight));
    FToolBar->setStyleSheet(
        QStringLiteral("QToolBar { background: palette(button); border: none; spacing: 0px;"
                       " padding: 0px; }"
                       "QToolButton { border: 1px solid transparent; padding: 2px; }"
                       "QToolButton:hover { background: %1; border-color: palette(mid); }"
                       "QToolButton:pressed { background: palette(button); }")
            .arg(highlight));
    // The menus keep their style's look and take only the colour: a style sheet would redraw
    // their icons, check marks and shortcut column from scratch.
    const QColor highlightColour(BarHighlightColour.Red, BarHighlightColour.Green,
                                 BarHighlightColour.Blue);
    for (QMenu* menu : menuBar()->findChildren<QMenu*>()) {
        QPalette palette = menu->palette();
        palette.setColor(QPalette::Highlight, highlightColour);
        palette.setColor(QPalette::HighlightedText, palette.color(QPalette::Text));
        menu->setPalette(palette);
    }
}
