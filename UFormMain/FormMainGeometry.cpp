// The window's bounds as the settings file keeps them (the outer frame), edge snapping, and
// the list's column widths.
#include "FormMain.h"

#include <QGuiApplication>
#include <QHeaderView>
#include <QMoveEvent>
#include <QScreen>
#include <QTreeView>
#include <QWindow>
#include <algorithm>
#include <limits>

namespace {

TBounds ToBounds(const QRect& rect)
{
    return {rect.x(), rect.y(), rect.width(), rect.height()};
}

} // namespace

void TFormMain::moveEvent(QMoveEvent* event)
{
    QMainWindow::moveEvent(event);
    if (FSnapping || !isVisible() || !screen())
        return;
    // While the window manager maximises the window, the frame it reports may still carry the
    // old frame's margins and so lie a pixel or two off the screen's edge; pulling it onto the
    // edge then would undo the maximising and leave the window larger than the screen.
    if (windowState() & (Qt::WindowMinimized | Qt::WindowMaximized | Qt::WindowFullScreen))
        return;
    const QRect frame = frameGeometry();
    const TBounds bounds{frame.x(), frame.y(), frame.width(), frame.height()};
    const TBounds area = ToBounds(screen()->availableGeometry());
    if (!MaySnap(bounds, area))
        return;
    const TBounds snapped = SnapToEdges(bounds, area, SnapDistance);
    if (snapped.Left != frame.x() || snapped.Top != frame.y()) {
        FSnapping = true;
        move(snapped.Left, snapped.Top);
        FSnapping = false;
    }
}

TBounds TFormMain::WindowBounds() const
{
    if (FPendingBounds)
        return *FPendingBounds;
    const QRect frame = frameGeometry();
    return {frame.x(), frame.y(), frame.width(), frame.height()};
}

void TFormMain::SetWindowBounds(const TBounds& bounds)
{
    FPendingBounds = bounds;
    FUnframedBounds.reset();
    FAppliedBounds = bounds;
    ApplyWindowBounds();
}

TBounds TFormMain::AvailableArea(const TBounds& bounds) const
{
    // In 64 bits: bounds read from the settings file may lie near the ends of int.
    const auto middle = [](int start, int size) {
        return static_cast<int>(std::clamp<long long>(static_cast<long long>(start) + size / 2,
                                                      std::numeric_limits<int>::min(),
                                                      std::numeric_limits<int>::max()));
    };
    const QPoint centre(middle(bounds.Left, bounds.Width), middle(bounds.Top, bounds.Height));
    const QScreen* holder = QGuiApplication::screenAt(centre);
    if (holder == nullptr)
        holder = screen() != nullptr ? screen() : QGuiApplication::primaryScreen();
    // Without any screen there is nothing to keep the window on.
    return holder != nullptr ? ToBounds(holder->availableGeometry()) : bounds;
}

TFrameMargins TFormMain::FrameMargins() const
{
    const QRect frame = frameGeometry();
    const QRect inside = geometry();
    return {inside.left() - frame.left(), inside.top() - frame.top(),
            frame.right() - inside.right(), frame.bottom() - inside.bottom()};
}

// Bounds are the outer frame, but Qt sizes the inside, and the frame's size is known only
// once the window manager has framed the shown window.
void TFormMain::ApplyWindowBounds()
{
    const TBounds bounds = *FPendingBounds;
    if (!windowHandle() || !windowHandle()->isExposed()) {
        move(bounds.Left, bounds.Top); // places the frame, whatever its size turns out to be
        resize(bounds.Width, bounds.Height);
        return;
    }
    const TFrameMargins margins = FrameMargins();
    const TBounds inside = InsideFrame(bounds, margins);
    setGeometry(inside.Left, inside.Top, inside.Width, inside.Height);
    FPendingBounds.reset();
    // On a busy machine the window manager may frame the window only after it is first
    // exposed; the frame would then reach beyond the bounds, its title bar perhaps off the
    // screen. The bounds are applied again once the frame is there.
    if (margins == TFrameMargins{})
        FUnframedBounds = bounds;
}

bool TFormMain::IsWindowNormal() const
{
    if (windowState() & (Qt::WindowMinimized | Qt::WindowMaximized | Qt::WindowFullScreen))
        return false;
    // The window manager gives a window the whole screen before it reports it maximised: until
    // then such a window is being maximised, unless those are the bounds we gave it ourselves.
    const TBounds frame = WindowBounds();
    return !CoversArea(frame, AvailableArea(frame)) || frame == FAppliedBounds;
}

int TFormMain::ColumnWidth(int column) const
{
    return FListView1->header()->sectionSize(column);
}

void TFormMain::SetColumnWidth(int column, int width)
{
    FListView1->header()->resizeSection(column, width);
}
