// The main frame: menu and toolbar 25001, a status bar with the command prompts and a progress
// indicator, and an empty client view. It runs the commands of the command table.
#pragma once

#include "core/DataTable.h"
#include "shell/Commands.h"

#include <QMainWindow>
#include <QPointer>
#include <QProgressBar>

#include <map>
#include <vector>

class QToolBar;

namespace zor {

class Application;
class CParameterDialog;
class CStartupPicture;

// The client view of the main frame: draws nothing on the button-face colour.
class CZORView : public QWidget {
    Q_OBJECT
public:
    explicit CZORView(QWidget* parent = nullptr);
};

// Where the progress indicator goes in the status bar: from 2 below the top of its client
// rectangle to the bottom, `width` wide, ending 20 left of the right edge with fewer than two
// parts, else 5 left of the first part's right edge. It never starts left of the rectangle.
QRect ProgressPlacement(const QRect& client, int parts, int firstPartRight, int width = 250);

// The progress indicator in the status bar; table loads report to it.
class CProgressIndicator : public QProgressBar, public LoadProgress {
    Q_OBJECT
public:
    explicit CProgressIndicator(QWidget* parent = nullptr);
    void SetRange(int range) override;
    void SetPosition(int position) override;
};

class CMainFrame : public QMainWindow {
    Q_OBJECT
public:
    static constexpr int ResourceId = MenuMainFrame;

    explicit CMainFrame(Application& app, QWidget* parent = nullptr);
    ~CMainFrame() override;

    // What a command did.
    enum class Outcome {
        Done,
        Unknown,              // not a command of this frame
        Disabled,             // its view is not available
        MissingPrerequisites, // message 10151 shown
        MissingDefinitions,   // message 1079 shown
        NothingOpened,        // the view's factory opened nothing
    };
    Outcome ExecuteCommand(int id);
    // Runs a command once control returns to the event loop.
    void PostCommand(int id);

    // The menu item of a command (the toolbar button shares it); nullptr when none.
    QAction* Action(int id) const;
    QToolBar* ToolBar() const { return toolBar_; }
    CProgressIndicator* Progress() const { return progress_; }
    // The status-bar prompt of a command: text n + 10000.
    QString StatusPrompt(int id) const;

    // Opens the start-up picture, or runs "Select Parameters" at once when there is none.
    void ShowStartupPicture();
    // The parameter dialog while it is open.
    CParameterDialog* ParameterDialog() const;
    // The view frames opened from this frame that still exist.
    std::vector<QWidget*> ViewFrames() const;

Q_SIGNALS:
    void viewOpened(int commandId, QWidget* frame);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void BuildMenu();
    void BuildToolBar();
    void UpdateCommandStates();
    void UpdateToolTips();
    void PlaceProgress();
    void OpenParameterDialog();
    QMenu* BuildPopup(const charts::MenuItem& popup, QWidget* parent);

    Application& app_;
    std::map<int, QAction*> actions_;
    QToolBar* toolBar_ = nullptr;
    CProgressIndicator* progress_ = nullptr;
    QPointer<CParameterDialog> paramDialog_;
    std::vector<QPointer<QWidget>> views_;
};

} // namespace zor
