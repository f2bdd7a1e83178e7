#include "charts/qt/CGraphFrame.h"

#include "charts/qt/ChartDialogs.h"
#include "charts/qt/Clipboard.h"
#include "draw/qt/QtDeviceContext.h"
#include "draw/qt/QtTextMeasurer.h"

#include <QActionGroup>
#include <QFileDialog>
#include <QMenuBar>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QTimer>

#include <QToolTip>
#include <map>

namespace zor::charts::qt {

namespace {

constexpr int TooltipMs = 10000;

draw::Rect ClientOf(const QWidget* w) {
    return {0, 0, w->width(), w->height()};
}

} // namespace

const std::vector<FrameMenuItem>& FrameMenu(int resourceId) {
    static const std::vector<FrameMenuItem> none;
    static const FrameMenuItem print{CmdPrint, "Print", {}}, special{CmdSpecial, "Special", {}},
        quit{CmdQuit, "Quit", {}}, scale{1094, "Scale", {}}, regions{1300, "Regions", {}},
        average{1075, "Use 3-year average ", {}};
    static const std::map<int, std::vector<FrameMenuItem>> menus = {
        {25003, {print, special, quit}},
        {25004, {scale, regions, print, special, quit}},
        {25005, {{1400, "Select", {}}, scale, regions, print, special, quit}},
        {25006, {{0, "Options", {average}}, {1800, "Regions", {}}, scale, print, special, quit}},
        {25007, {{0, "Options", {average}}, scale, print, special, quit}},
        {25018, {scale, print, special, quit}},
    };
    const auto it = menus.find(resourceId);
    return it == menus.end() ? none : it->second;
}

const char* FrameTitle(int resourceId) {
    switch (resourceId) {
    case 25003:
        return "Bar Chart";
    case 25004:
        return "Ranked Bar Chart";
    case 25005:
        return "Horizontal Ranked Bar Chart";
    case 25006:
        return "Line Chart A";
    case 25007:
        return "Line Chart B";
    case 25018:
        return "Line Chart C";
    default:
        return "";
    }
}

CChartWidget::CChartWidget(CGraphView& view, QWidget* parent) : QWidget(parent), view_(view) {
    setMouseTracking(true);
    setAutoFillBackground(true);
    QPalette p = palette();
    p.setColor(QPalette::Window, p.color(QPalette::Button));
    setPalette(p);
    setCursor(Qt::ArrowCursor);
}

void CChartWidget::paintEvent(QPaintEvent*) {
    ++paints_;
    QPainter painter(this);
    draw::QtDeviceContext dc(painter, draw::QtTextMeasurer::Screen());
    view_.Paint(dc, ClientOf(this));
}

void CChartWidget::mouseMoveEvent(QMouseEvent* e) {
    const QPoint at = e->position().toPoint();
    switch (view_.MouseMove({at.x(), at.y()}, ClientOf(this))) {
    case TipAction::Hide:
        QToolTip::hideText();
        break;
    case TipAction::Show:
    case TipAction::Refresh: {
        const QString text = QString::fromStdString(view_.TipText());
        if (text.isEmpty())
            QToolTip::hideText();
        else
            QToolTip::showText(e->globalPosition().toPoint(), text, this, rect(), TooltipMs);
        break;
    }
    case TipAction::None:
        break;
    }
}

void CChartWidget::leaveEvent(QEvent*) {
    if (view_.MouseMove({-1, -1}, ClientOf(this)) == TipAction::Hide) QToolTip::hideText();
}

CGraphFrame::CGraphFrame(int resourceId, std::unique_ptr<CGraphView> view, UiServices ui,
                         QWidget* owner)
    : QMainWindow(owner, Qt::Window), resourceId_(resourceId), view_(std::move(view)),
      ui_(std::move(ui)), owner_(owner) {
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(ui_.Text(resourceId_, FrameTitle(resourceId_)));
    widget_ = new CChartWidget(*view_, this);
    setCentralWidget(widget_);
    view_->Attach(this);
    BuildMenu();
    view_->OnCreate();
    // The view's popups go into the menu bar at the positions it asked for.
    QList<QAction*> bar = menuBar()->actions();
    for (size_t i = 0; i < view_->Popups().size(); ++i) {
        const PopupMenu& p = view_->Popups()[i];
        auto* menu = new QMenu(QString::fromStdString(p.title), this);
        auto* group = new QActionGroup(menu);
        for (int k = 0; k < int(p.items.size()); ++k) {
            QAction* a = menu->addAction(QString::fromStdString(p.items[size_t(k)]));
            a->setCheckable(true);
            a->setChecked(k == p.checked);
            group->addAction(a);
            const int id = p.firstId + k;
            if (ui_.setCommandId) ui_.setCommandId(a, id);
            // Items past the routed range are listed but do nothing.
            if (k < MaxPopupChoices)
                connect(a, &QAction::triggered, this, [this, id] { OnCommand(id); });
            else
                a->setEnabled(false);
        }
        bar = menuBar()->actions();
        QAction* before = p.position >= 0 && p.position < bar.size() ? bar[p.position] : nullptr;
        menuBar()->insertMenu(before, menu);
        popupMenus_.push_back(menu);
    }
    if (ui_.translateMenu) ui_.translateMenu(menuBar());
    resize(800, 600);
}

CGraphFrame::~CGraphFrame() {
    view_->Attach(nullptr);
    if (owner_) owner_->activateWindow();
}

QMenu* CGraphFrame::AddItems(QMenu* menu, const std::vector<FrameMenuItem>& items) {
    for (const FrameMenuItem& item : items) {
        const QString caption = QString::fromUtf8(item.caption);
        if (!item.items.empty()) {
            AddItems(menu ? menu->addMenu(caption) : menuBar()->addMenu(caption), item.items);
            continue;
        }
        QAction* a = menu ? menu->addAction(caption) : menuBar()->addAction(caption);
        if (ui_.setCommandId) ui_.setCommandId(a, item.id);
        if (item.id == CmdPrint) a->setShortcut(QKeySequence::Print);
        const int id = item.id;
        connect(a, &QAction::triggered, this, [this, id] { OnCommand(id); });
    }
    return menu;
}

void CGraphFrame::BuildMenu() {
    AddItems(nullptr, FrameMenu(resourceId_));
}

void CGraphFrame::OnCommand(int id) {
    if (id == CmdQuit) {
        close();
        return;
    }
    if (id == CmdPrint) {
        Print();
        return;
    }
    view_->OnCommand(id);
}

void CGraphFrame::showEvent(QShowEvent* e) {
    QMainWindow::showEvent(e);
    if (initialUpdateDone_) return;
    initialUpdateDone_ = true;
    // After the window is up, so that a no-data message box sits over it.
    QTimer::singleShot(0, this, [this] { view_->OnInitialUpdate(); });
}

void CGraphFrame::Print() {
    std::unique_ptr<QPrinter> own;
    QPrinter* printer = ui_.printer ? ui_.printer() : nullptr;
    if (!printer) {
        own = std::make_unique<QPrinter>(QPrinter::HighResolution);
        printer = own.get();
    }
    printer->setFromTo(1, 1);
    bool go = false;
    if (printDialogHook) {
        go = printDialogHook(*printer);
    } else {
        QPrintDialog dialog(printer, this);
        dialog.setMinMax(1, 1);
        go = dialog.exec() == QDialog::Accepted;
    }
    if (go) PrintTo(*printer);
}

void CGraphFrame::PrintTo(QPrinter& printer) {
    QPainter painter;
    if (!painter.begin(&printer)) return;
    draw::QtDeviceContext dc(painter, draw::QtTextMeasurer::Screen(), draw::Technology::Printer);
    const bool color = printer.colorMode() == QPrinter::Color;
    view_->PrintPage(dc, {0, 0, printer.width(), printer.height()}, color);
}

void CGraphFrame::ShowMessage(const std::string& text, MessageIcon icon) {
    const QString t = QString::fromStdString(text);
    if (messageHook) {
        messageHook(t, icon);
        return;
    }
    QMessageBox box(icon == MessageIcon::Stop ? QMessageBox::Critical : QMessageBox::NoIcon,
                    windowTitle(), t, QMessageBox::Ok, this);
    box.exec();
}

void CGraphFrame::Invalidate(bool now) {
    if (now)
        widget_->repaint();
    else
        widget_->update();
}

void CGraphFrame::PopupChanged(int index) {
    if (index < 0 || size_t(index) >= popupMenus_.size()) return;
    const QList<QAction*> actions = popupMenus_[size_t(index)]->actions();
    const int checked = view_->Popups()[size_t(index)].checked;
    for (int k = 0; k < actions.size(); ++k) actions[k]->setChecked(k == checked);
}

std::optional<ExportChoice> CGraphFrame::RunExportDialog(bool offerBlackAndWhite) {
    if (exportDialogHook) return exportDialogHook(offerBlackAndWhite);
    ExportDialog dialog(ui_, offerBlackAndWhite, this);
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    return dialog.Choice();
}

std::optional<std::string> CGraphFrame::AskMetafileName() {
    if (fileDialogHook) return fileDialogHook();
    QFileDialog dialog(this);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(QStringLiteral("emf"));
    dialog.setNameFilter(QStringLiteral("Enhanced metafile (*.emf)"));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
    return dialog.selectedFiles().front().toStdString();
}

void CGraphFrame::PutPictureOnClipboard(const std::string& emf, const PictureFunction& draw,
                                        draw::Size size) {
    qt::PutPictureOnClipboard(emf, draw, size);
}

const draw::TextMeasurer& CGraphFrame::Measurer() const {
    return draw::QtTextMeasurer::Screen();
}

} // namespace zor::charts::qt
