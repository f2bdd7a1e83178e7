#include "charts/qt/CGraphFrame.h"

#include "charts/qt/ChartDialogs.h"
#include "charts/qt/Clipboard.h"
#include "charts/qt/DialogRunners.h"
#include "charts/qt/FramePlacement.h"
#include "core/MenuCaptions.h"
#include "draw/NullContext.h"
#include "draw/qt/QtDeviceContext.h"
#include "draw/qt/QtTextMeasurer.h"
#include "draw/qt/Render.h"

#include <QActionGroup>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QKeyEvent>
#include <QMenuBar>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QRegularExpression>
#include <QScrollBar>
#include <QTimer>
#include <QToolTip>

#include <algorithm>

namespace zor::charts::qt {

namespace {

constexpr int TooltipMs = 10000;

draw::Rect ClientOf(const QWidget* w) {
    return {0, 0, w->width(), w->height()};
}

// A window title without the caption's mnemonic markers and trailing dots.
QString PlainCaption(const char* caption) {
    QString t = QString::fromUtf8(caption);
    t.remove(QRegularExpression(QStringLiteral("&(?!&)")));
    while (t.endsWith(u'.') || t.endsWith(u' ')) t.chop(1);
    return t;
}

} // namespace

CChartWidget::CChartWidget(CGraphView& view, const draw::TextMeasurer& measurer, QWidget* parent)
    : QWidget(parent), view_(view), measurer_(measurer) {
    setMouseTracking(true);
    setAutoFillBackground(true);
    setFocusPolicy(Qt::StrongFocus); // the arrow and page keys of scrolled views
    QPalette p = palette();
    p.setColor(QPalette::Window, p.color(QPalette::Button));
    setPalette(p);
    UpdateCursor();
    SyncScrollBar();
}

draw::Rect CChartWidget::Client() const {
    draw::Rect r = ClientOf(this);
    if (scroll_ && scroll_->isVisible()) r.right = std::max(1, r.right - scroll_->width());
    return r;
}

void CChartWidget::PlaceScrollBar() {
    if (!scroll_) return;
    const int w = scroll_->sizeHint().width();
    scroll_->setGeometry(width() - w, 0, w, height());
}

void CChartWidget::SyncScrollBar() {
    const std::optional<ViewScroll> range = view_.VerticalScroll();
    const bool show = range && range->maximum > 0;
    if (!show) {
        if (scroll_) scroll_->hide();
        return;
    }
    if (!scroll_) {
        scroll_ = new QScrollBar(Qt::Vertical, this);
        scroll_->setFocusPolicy(Qt::NoFocus);
        connect(scroll_, &QScrollBar::actionTriggered, this, [this](int action) {
            switch (action) {
            case QAbstractSlider::SliderSingleStepSub:
                Scroll(ScrollAction::LineUp, 0);
                break;
            case QAbstractSlider::SliderSingleStepAdd:
                Scroll(ScrollAction::LineDown, 0);
                break;
            case QAbstractSlider::SliderPageStepSub:
                Scroll(ScrollAction::PageUp, 0);
                break;
            case QAbstractSlider::SliderPageStepAdd:
                Scroll(ScrollAction::PageDown, 0);
                break;
            case QAbstractSlider::SliderMove:
                Scroll(ScrollAction::Thumb, scroll_->sliderPosition());
                break;
            default: // to the top or bottom: not a move of the view's
                if (const std::optional<ViewScroll> r = view_.VerticalScroll())
                    scroll_->setSliderPosition(r->position);
                break;
            }
        });
    }
    const QSignalBlocker block(scroll_);
    scroll_->setRange(0, range->maximum);
    scroll_->setPageStep(std::max(1, range->page - 1));
    scroll_->setSingleStep(1);
    // The view decides where an action leads: the bar shows where it is.
    scroll_->setSliderPosition(range->position);
    scroll_->setValue(range->position);
    PlaceScrollBar();
    scroll_->show();
}

void CChartWidget::Scroll(ScrollAction action, int thumb) {
    const draw::Rect client = Client();
    const bool moved = view_.OnScroll(action, thumb);
    const std::optional<ViewScroll> range = view_.VerticalScroll();
    if (scroll_ && range) scroll_->setSliderPosition(range->position);
    if (!moved) return;
    const std::optional<draw::Rect> area = view_.ScrollRepaintArea();
    if (area) {
        const draw::Rect d = view_.ToDevice(*area, client);
        update(QRect(d.left, d.top, d.Width() + 1, d.Height() + 1));
    } else {
        update();
    }
}

void CChartWidget::resizeEvent(QResizeEvent*) {
    PlaceScrollBar();
}

void CChartWidget::keyPressEvent(QKeyEvent* e) {
    switch (e->key()) {
    case Qt::Key_Up:
        Scroll(ScrollAction::LineUp, 0);
        break;
    case Qt::Key_Down:
        Scroll(ScrollAction::LineDown, 0);
        break;
    case Qt::Key_PageUp:
        Scroll(ScrollAction::PageUp, 0);
        break;
    case Qt::Key_PageDown:
        Scroll(ScrollAction::PageDown, 0);
        break;
    default:
        QWidget::keyPressEvent(e);
        break;
    }
}

void CChartWidget::paintEvent(QPaintEvent*) {
    ++paints_;
    QPainter painter(this);
    draw::QtDeviceContext dc(painter, measurer_);
    view_.Paint(dc, Client());
}

void CChartWidget::mouseMoveEvent(QMouseEvent* e) {
    const QPoint at = e->position().toPoint();
    const TipAction tip = view_.MouseMove({at.x(), at.y()}, Client());
    UpdateCursor();
    switch (tip) {
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

void CChartWidget::Click(QMouseEvent* e, MouseAction action) {
    const MouseButton button =
        e->button() == Qt::RightButton ? MouseButton::Right : MouseButton::Left;
    if (e->button() != Qt::LeftButton && e->button() != Qt::RightButton) return;
    const QPoint at = e->position().toPoint();
    view_.MouseClick(button, action, {at.x(), at.y()}, Client());
    UpdateCursor();
}

void CChartWidget::mousePressEvent(QMouseEvent* e) {
    Click(e, MouseAction::Down);
}
void CChartWidget::mouseReleaseEvent(QMouseEvent* e) {
    Click(e, MouseAction::Up);
}
void CChartWidget::mouseDoubleClickEvent(QMouseEvent* e) {
    Click(e, MouseAction::DoubleClick);
}

void CChartWidget::UpdateCursor() {
    switch (view_.Cursor()) {
    case ViewCursor::Arrow:
        setCursor(Qt::ArrowCursor);
        break;
    case ViewCursor::Cross:
        setCursor(Qt::CrossCursor);
        break;
    case ViewCursor::Select:
        setCursor(Qt::SizeAllCursor);
        break;
    }
}

void CChartWidget::leaveEvent(QEvent*) {
    if (view_.MouseMove({-1, -1}, Client()) == TipAction::Hide) QToolTip::hideText();
}

QWidget* MakeChartWidget(CView& view, CGraphFrame& frame) {
    auto* chart = dynamic_cast<CGraphView*>(&view);
    return chart ? new CChartWidget(*chart, frame.Measurer(), &frame) : nullptr;
}

CGraphFrame::CGraphFrame(const ViewEntry& entry, std::unique_ptr<CView> view,
                         const ViewWidgetFactory& makeWidget, UiServices ui, QWidget* owner)
    : QMainWindow(owner, OwnedWindowFlags(owner)), entry_(entry), view_(std::move(view)),
      makeWidget_(makeWidget), ui_(std::move(ui)), owner_(owner) {
    RegisterChartDialogs();
    setAttribute(Qt::WA_DeleteOnClose);
    baseTitle_ = ui_.Text(entry_.title);
    if (baseTitle_.isEmpty()) baseTitle_ = PlainCaption(CommandCaption(entry_.command));
    setWindowTitle(baseTitle_);
    widget_ = makeWidget ? makeWidget(*view_, *this) : nullptr;
    if (!widget_) widget_ = new QWidget(this);
    setCentralWidget(widget_);
    if (entry_.frameMenu) AddItems(nullptr, entry_.frameMenu());
    view_->Create(this);
    UpdateTitle();
    AddPopups();
    if (ui_.translateMenu) ui_.translateMenu(menuBar());
    UpdateCommands();
    resize(800, 600);
}

CGraphFrame::~CGraphFrame() {
    view_->Detach();
    if (owner_) owner_->activateWindow();
}

void CGraphFrame::AddPopups() {
    // The view's popups go into the menu bar at the positions it asked for.
    for (const PopupMenu& p : view_->Popups()) {
        auto* menu = new QMenu(QString::fromStdString(p.title), this);
        auto* group = new QActionGroup(menu);
        const bool commands = p.kind == PopupKind::Commands;
        for (int k = 0; k < static_cast<int>(p.items.size()); ++k) {
            const int id = p.ItemId(k);
            if (commands && id == 0) {
                menu->addSeparator();
                continue;
            }
            QAction* a = menu->addAction(QString::fromStdString(p.items[static_cast<size_t>(k)]));
            a->setCheckable(true);
            a->setChecked(k == p.checked);
            group->addAction(a);
            if (ui_.setCommandId) ui_.setCommandId(a, id);
            // Items of a list past the routed range are listed but do nothing; a view's own
            // commands are all routed.
            if (commands || k < MaxPopupChoices)
                connect(a, &QAction::triggered, this, [this, id] { OnCommand(id); });
            else
                a->setEnabled(false);
        }
        const QList<QAction*> bar = menuBar()->actions();
        QAction* before = p.position >= 0 && p.position < bar.size() ? bar[p.position] : nullptr;
        menuBar()->insertMenu(before, menu);
        popupMenus_.push_back(menu);
    }
}

void CGraphFrame::AddItems(QMenu* menu, const std::vector<MenuItem>& items) {
    for (const MenuItem& item : items) {
        switch (item.kind) {
        case MenuItem::Separator:
            if (menu) menu->addSeparator();
            break;
        case MenuItem::Popup: {
            const QString caption = QString::fromUtf8(item.caption);
            QMenu* popup = menu ? menu->addMenu(caption) : menuBar()->addMenu(caption);
            connect(popup, &QMenu::aboutToShow, this, &CGraphFrame::UpdateCommands);
            AddItems(popup, item.items);
            break;
        }
        case MenuItem::Command: {
            const QString caption = QString::fromUtf8(CommandCaption(item.id));
            QAction* a = menu ? menu->addAction(caption) : menuBar()->addAction(caption);
            if (ui_.setCommandId) ui_.setCommandId(a, item.id);
            if (item.id == CmdPrint) a->setShortcut(QKeySequence::Print);
            const int id = item.id;
            connect(a, &QAction::triggered, this, [this, id] { OnCommand(id); });
            commands_.emplace_back(a, id);
            break;
        }
        }
    }
}

bool CGraphFrame::OnCommand(int id) {
    if (id == CmdQuit) {
        close();
        return true;
    }
    if (id == CmdPrint) {
        Print();
        return true;
    }
    const bool handled = view_->OnCommand(id);
    UpdateCommands();
    return handled;
}

QAction* CGraphFrame::CommandAction(int id) const {
    for (const auto& [action, command] : commands_)
        if (command == id) return action;
    return nullptr;
}

void CGraphFrame::UpdateCommands() {
    for (const auto& [action, id] : commands_) {
        const CommandState state = view_->QueryCommand(id);
        action->setEnabled(state.enabled);
        action->setCheckable(state.checked.has_value());
        if (state.checked) action->setChecked(*state.checked);
    }
}

void CGraphFrame::showEvent(QShowEvent* e) {
    QMainWindow::showEvent(e);
    if (initialUpdateDone_) return;
    initialUpdateDone_ = true;
    // After the window is up, so that a no-data message box sits over it.
    QTimer::singleShot(0, this, [this] {
        view_->InitialUpdate();
        UpdateCommands();
        if (auto* chart = qobject_cast<CChartWidget*>(widget_)) chart->SyncScrollBar();
        ready_ = true;
    });
}

draw::Rect PrintPageRect(const QPrinter& printer) {
    if (!printer.fullPage()) return {0, 0, printer.width(), printer.height()};
    // Painting the full paper: the margins are left out here.
    const QPageLayout layout = printer.pageLayout();
    const QRect paper = layout.fullRectPixels(printer.resolution());
    const QMargins m = layout.marginsPixels(printer.resolution());
    return {m.left(), m.top(), paper.width() - m.right(), paper.height() - m.bottom()};
}

void SetDefaultPrintMargins(QPrinter& printer) {
    QPageLayout layout = printer.pageLayout();
    layout.setUnits(QPageLayout::Millimeter);
    const QMarginsF least = layout.minimumMargins();
    const double m = DefaultPrintMarginMm;
    printer.setPageMargins(QMarginsF(std::max(m, least.left()), std::max(m, least.top()),
                                     std::max(m, least.right()), std::max(m, least.bottom())),
                           QPageLayout::Millimeter);
}

int CGraphFrame::PageCount(QPrinter& printer) {
    const int dpm = static_cast<int>(printer.resolution() / 0.0254);
    draw::NullContext dc(draw::DeviceInfo{draw::Technology::Printer, printer.width(),
                                          printer.height(), dpm, dpm, 24},
                         Measurer());
    return std::max(1, view_->CountPages(dc, PrintPageRect(printer)));
}

void CGraphFrame::Print() {
    std::unique_ptr<QPrinter> own;
    QPrinter* printer = ui_.printer ? ui_.printer() : nullptr;
    if (!printer) {
        own = std::make_unique<QPrinter>(QPrinter::HighResolution);
        SetDefaultPrintMargins(*own);
        printer = own.get();
    }
    const int pages = PageCount(*printer);
    printer->setFromTo(1, pages);
    const PrintAnswer answer = RunPrintDialog(*printer, pages);
    if (answer == PrintAnswer::Export) {
        view_->ExportFile();
        return;
    }
    if (answer != PrintAnswer::Print) return;
    if (printer->printRange() == QPrinter::PageRange)
        PrintTo(*printer, printer->fromPage(), printer->toPage());
    else
        PrintTo(*printer);
}

PrintAnswer CGraphFrame::RunPrintDialog(QPrinter& printer, int pages) {
    const bool offersExport = view_->OffersFileExport();
    if (printAnswerHook) return printAnswerHook(printer, pages, offersExport);
    if (printDialogHook)
        return printDialogHook(printer, pages) ? PrintAnswer::Print : PrintAnswer::Cancel;
    QPrintDialog dialog(&printer, this);
    dialog.setMinMax(1, pages);
    // Views with file exports write their table to a file from the print dialog: an "Export"
    // button next to the dialog's own.
    constexpr int ExportCode = 2;
    if (offersExport)
        if (auto* buttons = dialog.findChild<QDialogButtonBox*>()) {
            QPushButton* button = buttons->addButton(ui_.Text(CmdExport, "Export") + "...",
                                                     QDialogButtonBox::ActionRole);
            connect(button, &QPushButton::clicked, &dialog, [&dialog] { dialog.done(ExportCode); });
        }
    const int result = dialog.exec();
    if (result == ExportCode) return PrintAnswer::Export;
    return result == QDialog::Accepted ? PrintAnswer::Print : PrintAnswer::Cancel;
}

void CGraphFrame::PrintTo(QPrinter& printer, int from, int to) {
    const int pages = PageCount(printer);
    if (from < 1 && to < 1) from = 1, to = pages;
    from = std::clamp(from, 1, pages);
    to = std::clamp(to < 1 ? pages : to, from, pages);
    QPainter painter;
    if (!painter.begin(&printer)) {
        ShowMessage("The printer could not be started.", MessageIcon::Stop);
        return;
    }
    const bool color = printer.colorMode() == QPrinter::Color;
    for (int page = from; page <= to; ++page) {
        if (page > from) printer.newPage();
        draw::QtDeviceContext dc(painter, Measurer(), draw::Technology::Printer);
        view_->PrintPage(dc, PrintPageRect(printer), page - 1, color);
    }
}

void CGraphFrame::ShowMessage(const std::string& text, MessageIcon icon) {
    const QString t = QString::fromStdString(text);
    if (messageHook) {
        messageHook(t, icon);
        return;
    }
    if (ui_.showMessage) {
        ui_.showMessage(this, t, icon == MessageIcon::Stop);
        return;
    }
    QMessageBox box(icon == MessageIcon::Stop ? QMessageBox::Critical : QMessageBox::NoIcon,
                    windowTitle(), t, QMessageBox::Ok, this);
    box.exec();
}

QString FrameTitle(const QString& kind, const std::string& subject) {
    if (subject.empty()) return kind;
    return kind + QStringLiteral(" - ") + QString::fromStdString(subject);
}

void CGraphFrame::UpdateTitle() {
    const QString title = FrameTitle(baseTitle_, view_->Subject());
    if (title != windowTitle()) setWindowTitle(title);
}

void CGraphFrame::Invalidate(bool now) {
    // What the view shows may have changed its scroll range and its commands.
    if (auto* chart = qobject_cast<CChartWidget*>(widget_)) chart->SyncScrollBar();
    UpdateCommands();
    if (auto* sync = dynamic_cast<ViewWidgetSync*>(widget_)) sync->SyncWithView();
    UpdateTitle();
    if (now)
        widget_->repaint();
    else
        widget_->update();
}

void CGraphFrame::PopupChanged(int index) {
    UpdateTitle();
    if (index < 0 || static_cast<size_t>(index) >= popupMenus_.size()) return;
    const QList<QAction*> actions = popupMenus_[static_cast<size_t>(index)]->actions();
    const int checked = view_->Popups()[static_cast<size_t>(index)].checked;
    for (int k = 0; k < actions.size(); ++k) actions[k]->setChecked(k == checked);
}

std::optional<ExportChoice> CGraphFrame::RunExportDialog(bool offerBlackAndWhite) {
    if (exportDialogHook) return exportDialogHook(offerBlackAndWhite);
    ExportDialog dialog(ui_, offerBlackAndWhite, this);
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    return dialog.Choice();
}

std::optional<SaveFileChoice> CGraphFrame::AskSaveFileName(const std::vector<FileType>& types) {
    if (fileDialogHook) return fileDialogHook(types);
    if (types.empty()) return std::nullopt;
    QStringList filters;
    for (const FileType& t : types)
        filters << QString::fromStdString(t.description + " (*." + t.suffix + ")");
    QFileDialog dialog(this);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(QString::fromStdString(types.front().suffix));
    dialog.setNameFilters(filters);
    // A name typed without an extension takes the one of the chosen file type.
    connect(&dialog, &QFileDialog::filterSelected, &dialog, [&](const QString& filter) {
        const auto i = filters.indexOf(filter);
        if (i >= 0)
            dialog.setDefaultSuffix(QString::fromStdString(types[static_cast<size_t>(i)].suffix));
    });
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
    // A name ending in another offered suffix chooses that type.
    const int type = std::max(0, static_cast<int>(filters.indexOf(dialog.selectedNameFilter())));
    return ChooseFileType(dialog.selectedFiles().front().toStdString(), type, types);
}

void CGraphFrame::PutPictureOnClipboard(const std::string& emf, const PictureFunction& draw,
                                        draw::Size size) {
    qt::PutPictureOnClipboard(emf, draw, size);
}

void CGraphFrame::PutHtmlOnClipboard(const std::string& fragment, const std::string& plainText) {
    qt::PutHtmlOnClipboard(fragment, plainText);
}

bool SavePictureFile(const std::string& path, PictureFormat format, const PictureFunction& draw,
                     draw::Size size, const std::string& title) {
    switch (format) {
    case PictureFormat::Png:
        return draw::SavePng(path, size, draw, draw::White, PngScale);
    case PictureFormat::Svg:
        return draw::SaveSvg(path, size, draw, title);
    case PictureFormat::Pdf:
        break;
    }
    return draw::SavePdf(path, size, draw);
}

bool CGraphFrame::SavePicture(const std::string& path, PictureFormat format,
                              const PictureFunction& draw, draw::Size size,
                              const std::string& title) {
    return SavePictureFile(path, format, draw, size, title);
}

std::optional<draw::Size> CGraphFrame::WindowSize() const {
    return draw::Size{widget_->width(), widget_->height()};
}

bool CGraphFrame::OpenView(std::unique_ptr<CView> view) {
    if (!view) return false;
    auto* frame = new CGraphFrame(entry_, std::move(view), makeWidget_, ui_, owner_);
    if (openedHook) {
        openedHook(frame);
        return true;
    }
    PlaceNewFrame(frame, owner_, this);
    frame->show();
    frame->raise();
    frame->activateWindow();
    return true;
}

bool CGraphFrame::RunDialog(DialogModel& model) {
    if (dialogHook) return dialogHook(model);
    return RunRegisteredDialog(model, ui_, this);
}

bool CGraphFrame::PaintBitmap(draw::Raster& raster, const PictureFunction& draw) {
    draw::PaintOnRaster(raster, draw);
    return true;
}

const draw::TextMeasurer& CGraphFrame::Measurer() const {
    return draw::QtTextMeasurer::Screen();
}

} // namespace zor::charts::qt
