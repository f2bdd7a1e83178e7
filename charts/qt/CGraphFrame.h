// The chart frame: a top-level window per open chart, owned by the main window, with the
// frame's menu (translated through the titles table), the view's popup menus in the menu bar,
// the view widget that paints through the Qt device context and shows tooltips, printing with
// the source line and the Export command. It is the view's ViewHost.
#pragma once

#include "charts/CGraphView.h"
#include "charts/qt/UiServices.h"

#include <QMainWindow>
#include <QWidget>

#include <functional>
#include <memory>
#include <vector>

class QMenu;
class QPrinter;

namespace zor::charts::qt {

// The view's window: paints the view, tracks the mouse for tooltips, counts its paints.
class CChartWidget : public QWidget {
    Q_OBJECT
public:
    CChartWidget(CGraphView& view, QWidget* parent = nullptr);
    int PaintCount() const { return paints_; }

protected:
    void paintEvent(QPaintEvent*) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void leaveEvent(QEvent*) override;

private:
    CGraphView& view_;
    int paints_ = 0;
};

// A frame menu item: a command, or a popup of commands (for the line charts' "Options").
struct FrameMenuItem {
    int id = 0;
    const char* caption = "";
    std::vector<FrameMenuItem> items; // a popup when not empty
};
// The menu of a chart frame resource (25003 ... 25018); empty for an unknown one.
const std::vector<FrameMenuItem>& FrameMenu(int resourceId);
// The window title's default text of a resource.
const char* FrameTitle(int resourceId);

class CGraphFrame : public QMainWindow, public ViewHost {
    Q_OBJECT
public:
    CGraphFrame(int resourceId, std::unique_ptr<CGraphView> view, UiServices ui,
                QWidget* owner = nullptr);
    ~CGraphFrame() override;

    CGraphView& View() { return *view_; }
    CChartWidget* ChartWidget() const { return widget_; }
    int ResourceId() const { return resourceId_; }
    // The popup menus of the view, in Popups() order.
    const std::vector<QMenu*>& PopupMenus() const { return popupMenus_; }

    // Menu commands (also what the menu items trigger).
    void OnCommand(int id);
    // The print command: the print dialog, then one page.
    void Print();
    // One page onto a printer, coloured unless the printer is set to greyscale.
    void PrintTo(QPrinter& printer);

    // Replaceable platform steps for tests: message boxes, the Export dialog, the save-file
    // dialog and the print dialog (true: print).
    std::function<void(const QString&, MessageIcon)> messageHook;
    std::function<std::optional<ExportChoice>(bool offer)> exportDialogHook;
    std::function<std::optional<std::string>()> fileDialogHook;
    std::function<bool(QPrinter&)> printDialogHook;

    // ViewHost
    void ShowMessage(const std::string& text, MessageIcon icon) override;
    void Invalidate(bool now) override;
    void PopupChanged(int index) override;
    std::optional<ExportChoice> RunExportDialog(bool offerBlackAndWhite) override;
    std::optional<std::string> AskMetafileName() override;
    void PutPictureOnClipboard(const std::string& emf, const PictureFunction& draw,
                               draw::Size size) override;
    const draw::TextMeasurer& Measurer() const override;

protected:
    void showEvent(QShowEvent* e) override;

private:
    void BuildMenu();
    QMenu* AddItems(QMenu* menu, const std::vector<FrameMenuItem>& items);

    int resourceId_;
    std::unique_ptr<CGraphView> view_;
    UiServices ui_;
    QWidget* owner_;
    CChartWidget* widget_;
    std::vector<QMenu*> popupMenus_;
    bool initialUpdateDone_ = false;
};

} // namespace zor::charts::qt
