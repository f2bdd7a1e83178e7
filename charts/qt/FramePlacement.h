// Where a new view frame opens: inside the screen's available area (no task bar, no panel),
// below the main frame's menu bar and toolbar, cascaded from the frame opened before it, and
// never partly off-screen: a frame that cannot have its wanted size gets the room there is.
//
// PlaceFrame is the rule as numbers; PlaceNewFrame reads them off the windows and moves the
// frame before it is shown.
#pragma once

#include <QMargins>
#include <QRect>
#include <QSize>
#include <Qt>

#include <optional>

class QWidget;

namespace zor::charts::qt {

// All rectangles are in the device-independent pixels Qt's window geometry uses, in global
// (virtual desktop) coordinates.
struct FramePlacementInput {
    QRect available;               // the screen's available area
    std::optional<QRect> mainArea; // the main frame's client area below its menu bar and toolbar
    std::optional<QRect> previous; // the outer rectangle of the frame opened before, if open
    QSize wanted{800, 600};        // the client size the frame asks for
    // The window manager's title bar and borders around a frame's client area; none when not
    // known yet (estimated: they are drawn in device pixels, unscaled).
    std::optional<QMargins> decoration;
    double devicePixelRatio = 1; // device pixels per device-independent pixel
};

// Frames never get a client area smaller than this (device-independent pixels), unless the
// screen itself is smaller.
inline constexpr int MinFrameWidth = 320;
inline constexpr int MinFrameHeight = 240;

// The decoration assumed before the window manager has decorated a frame, device pixels.
inline constexpr int AssumedTitleBar = 32;
inline constexpr int AssumedBorder = 6;

// The frame's client rectangle (what QWidget::setGeometry takes). Its outer rectangle (client
// plus decoration) lies inside the available area and, when the main frame's client area is
// on that screen and leaves room, starts below the main frame's toolbar. A frame opened while
// another is open starts one title bar lower and to the right of it, and starts again at the
// top left of the area when that would leave the area. With a fractional device pixel ratio
// position and size fall on whole device pixels.
QRect PlaceFrame(const FramePlacementInput& in);

// The decoration PlaceFrame assumes when none is known.
QMargins AssumedDecoration(double devicePixelRatio);

// The window flags of a top-level window that `owner` (the main window; may be null) owns, so
// that it stays in front of its owner when the owner is clicked. Windows keeps an owned window
// above its owner by itself; X11 window managers do so for a window marked transient for its
// owner, which Qt marks only for dialog-type windows: there it is a dialog-type window with the
// title-bar buttons of a normal one.
Qt::WindowFlags OwnedWindowFlags(const QWidget* owner);

// Places `frame` (not yet shown) for opening from `mainWindow` (may be null) after `previous`
// (the frame opened before it, may be null), at its current size as the wanted size, on the
// screen of the main window (else of the previous frame, else the primary screen).
void PlaceNewFrame(QWidget* frame, const QWidget* mainWindow, const QWidget* previous);

} // namespace zor::charts::qt
