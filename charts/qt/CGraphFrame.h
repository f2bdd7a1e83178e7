// The view frame: a top-level window per open view (chart, map or grid), owned by the main
// window, with the frame's menu of the view's registry entry (translated through the titles
// table), the view's popup menus in the menu bar, the view's widget as client, printing in
// pages and the Export command. It is the view's ViewHost.
#pragma once

#include "charts/CGraphView.h"
#include "charts/ViewRegistry.h"
#include "charts/qt/UiServices.h"

#include <QMainWindow>
#include <QWidget>

#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

class QAction;
class QMenu;
class QPrinter;
class QScrollBar;

namespace zor::charts::qt {

class CGraphFrame;

// Makes the client widget that shows a view in its frame.
using ViewWidgetFactory = std::function<QWidget*(CView& view, CGraphFrame& frame)>;

// A frame's window title: the kind of view ("Bar Chart"), then " - " and what it shows when the
// view names that (its Subject).
QString FrameTitle(const QString& kind, const std::string& subject);

// The printable area of a printer's page inside its margins, in the coordinates a painter on
// the printer draws in (device pixels): from the painter's origin unless the printer paints
// the full paper, where it starts at the margins.
draw::Rect PrintPageRect(const QPrinter& printer);
// Gives a printer the program's page margins (DefaultPrintMarginMm on each side; the printer's
// own least margins where they are larger).
void SetDefaultPrintMargins(QPrinter& printer);

// Picture files through the Qt backends, as "Special" writes them: a PNG at PngScale times the
// pixels of `size`, an SVG, a one-page PDF. False when the file could not be written.
inline constexpr int PngScale = 2;
bool SavePictureFile(const std::string& path, PictureFormat format, const PictureFunction& draw,
                     draw::Size size, const std::string& title);

// The client widget of a chart or map view: paints the view, tracks the mouse for tooltips,
// counts its paints. A view that reports a vertical scroll range gets a scroll bar at the right
// (its client area is then the rest) and the arrow and page keys.
class CChartWidget : public QWidget {
    Q_OBJECT
public:
    CChartWidget(CGraphView& view, const draw::TextMeasurer& measurer, QWidget* parent = nullptr);
    int PaintCount() const { return paints_; }
    // The view's client area in pixels (without the scroll bar).
    draw::Rect Client() const;
    // Shows, hides and sets the scroll bar from the view's scroll range.
    void SyncScrollBar();
    // The scroll bar; null until the view first reported a range.
    QScrollBar* ScrollBar() const { return scroll_; }

protected:
    void paintEvent(QPaintEvent*) override;
    void resizeEvent(QResizeEvent*) override;
    void keyPressEvent(QKeyEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void mouseDoubleClickEvent(QMouseEvent* e) override;
    void leaveEvent(QEvent*) override;

private:
    void Click(QMouseEvent* e, MouseAction action);
    void UpdateCursor();
    void Scroll(ScrollAction action, int thumb);
    void PlaceScrollBar();

    CGraphView& view_;
    const draw::TextMeasurer& measurer_;
    QScrollBar* scroll_ = nullptr;
    int paints_ = 0;
};

// A client widget with state of its own to keep in step with the view (a grid's scroll bars):
// the frame calls it before it repaints the view.
class ViewWidgetSync {
public:
    virtual ~ViewWidgetSync() = default;
    virtual void SyncWithView() = 0;
};

// What the print dialog was closed with: cancelled, print, or (for views with file exports)
// "Export", which writes the view's table to a file instead of printing it.
enum class PrintAnswer { Cancel, Print, Export };

// The chart widget for a CGraphView; nullptr for other views.
QWidget* MakeChartWidget(CView& view, CGraphFrame& frame);

class CGraphFrame : public QMainWindow, public ViewHost {
    Q_OBJECT
public:
    // Creates the view's window (the view's Create step) with its menu and popups; the initial
    // update follows when the frame is first shown. `entry` must outlive the frame.
    CGraphFrame(const ViewEntry& entry, std::unique_ptr<CView> view,
                const ViewWidgetFactory& makeWidget, UiServices ui, QWidget* owner = nullptr);
    ~CGraphFrame() override;

    CView& View() { return *view_; }
    QWidget* ViewWidget() const { return widget_; }
    const ViewEntry& Entry() const { return entry_; }
    int ResourceId() const { return entry_.menu; }
    const UiServices& Ui() const { return ui_; }
    // Whether the view's initial update (after the first showing) has run.
    bool Ready() const { return ready_; }
    // The popup menus of the view, in Popups() order.
    const std::vector<QMenu*>& PopupMenus() const { return popupMenus_; }

    // Menu commands (also what the menu items trigger): "Quit" and "Print" here, the rest to
    // the view. False when nobody handled it.
    bool OnCommand(int id);
    // The print command: the page count, the print dialog, then the chosen pages (or, when the
    // dialog's "Export" was chosen, the view's export file dialog).
    void Print();
    // Pages `from` to `to` (1-based, clamped to the view's page count; 0, 0: all) onto a
    // printer, coloured unless the printer is set to greyscale.
    void PrintTo(QPrinter& printer, int from = 0, int to = 0);
    // The view's page count on a printer.
    int PageCount(QPrinter& printer);
    // Greys out the menu commands the view does not take now and sets the check marks of its
    // check items (CView::QueryCommand). Runs after the initial update, every command and every
    // repaint the view asks for.
    void UpdateCommands();

    // Replaceable platform steps for tests: message boxes, the Export dialog, the save-file
    // dialog, the print dialog (true: print; it may set the printer's page range) and the
    // views' dialogs (none: the registered dialog runs).
    std::function<void(const QString&, MessageIcon)> messageHook;
    std::function<std::optional<ExportChoice>(bool offer)> exportDialogHook;
    std::function<std::optional<SaveFileChoice>(const std::vector<FileType>&)> fileDialogHook;
    std::function<bool(QPrinter&, int pages)> printDialogHook;
    // The print dialog of a view with file exports (its "Export" button): used before
    // printDialogHook when set.
    std::function<PrintAnswer(QPrinter&, int pages, bool offersExport)> printAnswerHook;
    std::function<bool(DialogModel&)> dialogHook;
    // Frames opened by the view (OpenView) are reported here; none: they are shown.
    std::function<void(CGraphFrame*)> openedHook;

    // The menu item of a command of the frame's menu; null when it has none.
    QAction* CommandAction(int id) const;

    // ViewHost
    void ShowMessage(const std::string& text, MessageIcon icon) override;
    void Invalidate(bool now) override;
    void PopupChanged(int index) override;
    std::optional<ExportChoice> RunExportDialog(bool offerBlackAndWhite) override;
    std::optional<SaveFileChoice> AskSaveFileName(const std::vector<FileType>& types) override;
    void PutPictureOnClipboard(const std::string& emf, const PictureFunction& draw,
                               draw::Size size) override;
    void PutHtmlOnClipboard(const std::string& fragment, const std::string& plainText) override;
    bool SavePicture(const std::string& path, PictureFormat format, const PictureFunction& draw,
                     draw::Size size, const std::string& title) override;
    std::optional<draw::Size> WindowSize() const override;
    bool RunDialog(DialogModel& model) override;
    bool OpenView(std::unique_ptr<CView> view) override;
    const draw::TextMeasurer& Measurer() const override;
    bool PaintBitmap(draw::Raster& raster, const PictureFunction& draw) override;

protected:
    void showEvent(QShowEvent* e) override;

private:
    void AddItems(QMenu* menu, const std::vector<MenuItem>& items);
    PrintAnswer RunPrintDialog(QPrinter& printer, int pages);
    void AddPopups();
    // The title names the view's kind and its subject.
    void UpdateTitle();

    const ViewEntry& entry_;
    std::unique_ptr<CView> view_;
    ViewWidgetFactory makeWidget_;
    UiServices ui_;
    QString baseTitle_; // the kind: the entry's title through the titles table
    QWidget* owner_;
    QWidget* widget_ = nullptr;
    std::vector<QMenu*> popupMenus_;
    std::vector<std::pair<QAction*, int>> commands_; // the frame menu's commands and their ids
    bool initialUpdateDone_ = false;
    bool ready_ = false;
};

} // namespace zor::charts::qt
