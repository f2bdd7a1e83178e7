// The slide window: a frameless window over the map's frame that shows one map picture after
// another, 600 ms apart, with a progress bar and a frame counter in its status bar, once or in a
// loop. A right-click opens its menu: "Play" ("Single", "Continue"), "Stop", "Maximized",
// "Quit". The main window is disabled while it exists: its own controls (menu bar, tool bar,
// client, status bar), not the windows it owns, since disabling a Qt window disables every
// window it owns too (the view frames, and this one).
//
// Each timer tick asks the map view for the current frame at the client size (the renderer of
// SlideShowModel, in place of the window message 1027) and keeps the bitmap it returns (1029),
// dropping the previous one.
#pragma once

#include "charts/qt/UiServices.h"
#include "maps/SlideShow.h"

#include <QMainWindow>
#include <QPointer>
#include <QTimer>
#include <QWidget>

#include <memory>
#include <vector>

class QLabel;
class QMenu;
class QProgressBar;

namespace zor::maps::qt {

class CSlideFrame;

// The client of the slide window: paints the frame's current bitmap and passes right-button
// releases to the frame.
class CSlideView : public QWidget {
    Q_OBJECT
public:
    explicit CSlideView(CSlideFrame& frame, QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent*) override;
    void mouseReleaseEvent(QMouseEvent* e) override;

private:
    CSlideFrame& frame_;
};

class CSlideFrame : public QMainWindow {
    Q_OBJECT
public:
    // A window over `owner` (the map's frame; it gets the same screen rectangle) for `frameCount`
    // frames; `loop` plays in a loop, else once.
    CSlideFrame(int frameCount, bool loop, SlideRenderer render, charts::qt::UiServices ui,
                QWidget* owner);
    ~CSlideFrame() override;

    // Shows the window and starts playing from frame 0; disables the main window.
    void Start();

    // The commands of the popup menu: 2115 "Single", 2116 "Continue", 2117 "Stop",
    // 2118 "Maximized", 6000 "Quit". False for a command that is disabled or unknown.
    bool OnCommand(int id);
    // The menu, its items updated to the player's state.
    QMenu* Menu();
    void ShowMenu(const QPoint& global);

    const SlidePlayer& Player() const { return player_; }
    const draw::Raster* Bitmap() const { return bitmap_.get(); }
    int FramesShown() const { return shown_; }
    QProgressBar* Progress() const { return progress_; }
    QLabel* Counter() const { return counter_; }
    CSlideView* View() const { return view_; }
    const QTimer& Timer() const { return timer_; }

protected:
    void resizeEvent(QResizeEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;

private:
    void DisableMainWindow();
    void Tick();
    void Stopped();
    bool Render(int frame);
    QAction* Action(int id) const;

    SlidePlayer player_;
    SlideRenderer render_;
    charts::qt::UiServices ui_;
    QPointer<QWidget> owner_;
    QPointer<QWidget> mainWindow_;
    std::vector<QPointer<QWidget>> disabled_; // the main window's controls disabled here
    std::unique_ptr<draw::Raster> bitmap_;    // the frame shown; owned here
    QTimer timer_;
    CSlideView* view_;
    QProgressBar* progress_;
    QLabel* counter_;
    QMenu* menu_;
    int shown_ = 0;
    bool loop_ = true;
};

} // namespace zor::maps::qt
