#include "charts/qt/FramePlacement.h"

#include <QGuiApplication>
#include <QMainWindow>
#include <QScreen>
#include <QWidget>

#include <algorithm>
#include <cmath>

namespace zor::charts::qt {

namespace {

// The least number of device-independent pixels that is a whole number of device pixels
// (1 at ratios 1 and 2, 2 at 1.5, 4 at 1.25).
int PixelGrid(double ratio) {
    if (!(ratio > 0)) return 1;
    for (int n = 1; n <= 8; ++n) {
        const double device = n * ratio;
        if (std::abs(device - std::round(device)) < 1e-6) return n;
    }
    return 1;
}

// Rounds a coordinate up and a size down to a multiple of `grid`.
int SnapUp(int v, int grid) {
    const int r = ((v % grid) + grid) % grid;
    return r ? v + grid - r : v;
}
int SnapDown(int v, int grid) {
    return v / grid * grid;
}

} // namespace

QMargins AssumedDecoration(double devicePixelRatio) {
    const double r = devicePixelRatio > 0 ? devicePixelRatio : 1;
    auto scaled = [r](int device) { return static_cast<int>(std::ceil(device / r)); };
    return {scaled(AssumedBorder), scaled(AssumedTitleBar), scaled(AssumedBorder),
            scaled(AssumedBorder)};
}

QRect PlaceFrame(const FramePlacementInput& in) {
    const QMargins deco = in.decoration.value_or(AssumedDecoration(in.devicePixelRatio));
    const int grid = PixelGrid(in.devicePixelRatio);

    // The area frames may cover: the screen's available area, below the main frame's toolbar
    // when that is on this screen and leaves room for a frame.
    QRect area = in.available;
    if (in.mainArea && in.mainArea->intersects(area)) {
        const int top = std::max(area.top(), in.mainArea->top());
        const int room = area.bottom() - top + 1;
        if (room >= MinFrameHeight + deco.top() + deco.bottom()) area.setTop(top);
    }

    // The outer size: the wanted client size plus the decoration, no larger than the area.
    const int decoW = deco.left() + deco.right();
    const int decoH = deco.top() + deco.bottom();
    const int maxW = std::max(1, area.width() - decoW);
    const int maxH = std::max(1, area.height() - decoH);
    int w = std::min(std::max(in.wanted.width(), std::min(MinFrameWidth, maxW)), maxW);
    int h = std::min(std::max(in.wanted.height(), std::min(MinFrameHeight, maxH)), maxH);

    // Cascade: one title bar down and right of the previous frame while it stays inside the
    // area; else back to the area's top left (each direction on its own). A frame that is larger
    // than the area anyway gives up the cascade's step of its size instead, as long as it keeps
    // the minimum, so that frames on a small screen do not lie exactly on one another.
    int x = area.left();
    int y = area.top();
    if (in.previous && in.previous->intersects(area)) {
        const int step = std::max(deco.top(), 8);
        x = std::max(area.left(), in.previous->left() + step);
        y = std::max(area.top(), in.previous->top() + step);
        const bool clampedW = in.wanted.width() > maxW;
        const bool clampedH = in.wanted.height() > maxH;
        if (x + w + decoW > area.right() + 1) {
            const int room = area.right() + 1 - x - decoW;
            if (clampedW && room >= std::min(MinFrameWidth, maxW))
                w = room;
            else
                x = area.left();
        }
        if (y + h + decoH > area.bottom() + 1) {
            const int room = area.bottom() + 1 - y - decoH;
            if (clampedH && room >= std::min(MinFrameHeight, maxH))
                h = room;
            else
                y = area.top();
        }
    }
    // The client on whole device pixels; a size that then reaches past the area gives way.
    if (grid > 1) {
        w = std::max(grid, SnapDown(w, grid));
        h = std::max(grid, SnapDown(h, grid));
    }
    const int cx = SnapUp(x + deco.left(), grid);
    const int cy = SnapUp(y + deco.top(), grid);
    while (w > grid && cx + w + deco.right() > area.right() + 1) w -= grid;
    while (h > grid && cy + h + deco.bottom() > area.bottom() + 1) h -= grid;
    return {cx, cy, w, h};
}

Qt::WindowFlags OwnedWindowFlags(const QWidget* owner) {
#ifdef Q_OS_WIN
    const bool ownerKeepsItInFront = true;
#else
    const bool ownerKeepsItInFront = false;
#endif
    if (!owner || ownerKeepsItInFront) return Qt::Window;
    return Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
           Qt::WindowMinMaxButtonsHint | Qt::WindowCloseButtonHint;
}

void PlaceNewFrame(QWidget* frame, const QWidget* mainWindow, const QWidget* previous) {
    if (!frame) return;
    QScreen* screen = nullptr;
    if (mainWindow) screen = mainWindow->screen();
    if (!screen && previous) screen = previous->screen();
    if (!screen) screen = QGuiApplication::primaryScreen();
    if (!screen) return;

    FramePlacementInput in;
    in.available = screen->availableGeometry();
    in.devicePixelRatio = screen->devicePixelRatio();
    in.wanted = frame->size();
    if (mainWindow && mainWindow->isVisible() && !mainWindow->isMinimized()) {
        // Below the menu bar and the toolbars at the top: where the main frame's client starts.
        const auto* main = qobject_cast<const QMainWindow*>(mainWindow);
        const QWidget* client = main && main->centralWidget() ? main->centralWidget() : nullptr;
        if (client)
            in.mainArea = QRect(client->mapToGlobal(QPoint(0, 0)), client->size());
        else
            in.mainArea = mainWindow->geometry();
    }
    if (previous && previous->isVisible()) {
        in.previous = previous->frameGeometry();
        // A decorated frame tells what the window manager adds around a client area.
        const QRect outer = previous->frameGeometry();
        const QRect inner = previous->geometry();
        if (outer != inner)
            in.decoration =
                QMargins(inner.left() - outer.left(), inner.top() - outer.top(),
                         outer.right() - inner.right(), outer.bottom() - inner.bottom());
    }
    frame->setGeometry(PlaceFrame(in));
}

} // namespace zor::charts::qt
