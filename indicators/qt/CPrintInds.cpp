#include "indicators/qt/CPrintInds.h"

#include "core/Charset.h"
#include "core/DataStore.h"
#include "core/FileUtil.h"
#include "draw/NullContext.h"
#include "draw/qt/QtDeviceContext.h"
#include "draw/qt/QtTextMeasurer.h"

#include <QDialogButtonBox>
#include <QFileDialog>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QMessageBox>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QRadioButton>
#include <QShortcut>
#include <QVBoxLayout>

#include <algorithm>
#include <memory>

namespace zor::indicators::qt {

using charts::qt::PrintAnswer;

namespace {

constexpr int GroupRole = Qt::UserRole;

draw::Rect PageRect(const QPrinter& printer) {
    return {0, 0, printer.width(), printer.height()};
}

} // namespace

CPrintIndsFrame::CPrintIndsFrame(DataStore& store, charts::qt::UiServices ui, QWidget* owner)
    : QWidget(owner, Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                         Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint),
      store_(store), ui_(std::move(ui)) {
    setObjectName(QStringLiteral("CPrintIndsFrame"));
    setAttribute(Qt::WA_DeleteOnClose);
    // The main window takes no input while the window is open.
    setWindowModality(Qt::WindowModal);
    setWindowTitle(ui_.Text(ResourceId, "Print indicator list"));

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(ui_.Control(
        new QLabel(ui_.Text(CtlSelectGroups, "Select indicator groups:"), this), CtlSelectGroups));
    groups_ = ui_.Control(new QListWidget(this), CtlIndicatorTree);
    const auto& groups = store_.Groups();
    for (const int g : ListedGroups(groups)) {
        auto* item =
            new QListWidgetItem(QString::fromStdString(DecodeToUtf8(
                                    groups[static_cast<size_t>(g)].name, store_.Charset())),
                                groups_);
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsUserCheckable | Qt::ItemIsSelectable);
        item->setCheckState(Qt::Checked);
        item->setData(GroupRole, g);
    }
    groups_->setMinimumWidth(std::max(260, groups_->sizeHintForColumn(0) + 40));
    layout->addWidget(groups_);

    auto* box =
        ui_.Control(new QGroupBox(ui_.Text(CtlParameters, "Parameters"), this), CtlParameters);
    auto* radios = new QVBoxLayout(box);
    firstLevel_ = ui_.Control(
        new QRadioButton(ui_.Text(CtlFirstLevelOnly, "Only first level indicators"), box),
        CtlFirstLevelOnly);
    all_ = ui_.Control(new QRadioButton(ui_.Text(CtlAllIndicators, "All indicators"), box),
                       CtlAllIndicators);
    firstLevel_->setChecked(true);
    radios->addWidget(firstLevel_);
    radios->addWidget(all_);
    layout->addWidget(box);

    auto* buttons = new QHBoxLayout;
    print_ = ui_.Control(new QPushButton(ui_.Text(CtlPrintList, "Print"), this), CtlPrintList);
    cancel_ = ui_.Control(new QPushButton(ui_.Text(CtlCancel, "Cancel"), this), CtlCancel);
    print_->setDefault(true);
    buttons->addStretch(1);
    buttons->addWidget(print_);
    buttons->addWidget(cancel_);
    layout->addLayout(buttons);

    connect(print_, &QPushButton::clicked, this, [this] { Print(); });
    connect(cancel_, &QPushButton::clicked, this, &QWidget::close);
    // Escape cancels, as in a dialog.
    connect(new QShortcut(QKeySequence(Qt::Key_Escape), this), &QShortcut::activated, this,
            &QWidget::close);
    connect(groups_, &QListWidget::itemChanged, this, [this] { UpdatePrintButton(); });
    UpdatePrintButton();
    setFixedSize(sizeHint());
}

void CPrintIndsFrame::UpdatePrintButton() {
    bool any = false;
    for (int i = 0; i < groups_->count(); ++i) any |= groups_->item(i)->checkState() == Qt::Checked;
    print_->setEnabled(any);
}

std::vector<ListLine> CPrintIndsFrame::ChosenLines() {
    std::vector<int> chosen;
    for (int i = 0; i < groups_->count(); ++i) {
        const QListWidgetItem* item = groups_->item(i);
        if (item->checkState() != Qt::Checked) continue;
        const int g = item->data(GroupRole).toInt();
        store_.LoadGroupIndicators(g); // nothing when read already
        chosen.push_back(g);
    }
    return BuildListLines(store_.Groups(), chosen, all_->isChecked());
}

int CPrintIndsFrame::PageCount(IndicatorListPrint& list, QPrinter& printer) {
    const int dpm = static_cast<int>(printer.resolution() / 0.0254);
    const draw::NullContext dc(draw::DeviceInfo{draw::Technology::Printer, printer.width(),
                                                printer.height(), dpm, dpm, 24},
                               draw::QtTextMeasurer::Screen());
    return list.CountPages(dc, PageRect(printer));
}

bool CPrintIndsFrame::PrintTo(IndicatorListPrint& list, QPrinter& printer, int from, int to) {
    const int pages = PageCount(list, printer);
    if (pages < 1) return true;
    if (from < 1 && to < 1) from = 1, to = pages;
    from = std::clamp(from, 1, pages);
    to = std::clamp(to < 1 ? pages : to, from, pages);
    QPainter painter;
    if (!painter.begin(&printer)) return false;
    for (int page = from; page <= to; ++page) {
        if (page > from) printer.newPage();
        draw::QtDeviceContext dc(painter, draw::QtTextMeasurer::Screen(),
                                 draw::Technology::Printer);
        list.PrintPage(dc, PageRect(printer), page - 1);
    }
    return painter.end();
}

void CPrintIndsFrame::Print() {
    const std::vector<ListLine> lines = ChosenLines();
    if (lines.empty()) return;
    IndicatorListPrint list(lines, store_.Charset(),
                            ui_.Text(TextPageNumber, "Page %d").toStdString());
    hide();
    std::unique_ptr<QPrinter> own;
    QPrinter* printer = ui_.printer ? ui_.printer() : nullptr;
    if (!printer) {
        own = std::make_unique<QPrinter>(QPrinter::HighResolution);
        printer = own.get();
    }
    const int pages = PageCount(list, *printer);
    printer->setFromTo(1, std::max(1, pages));
    const PrintAnswer answer = RunPrintDialog(*printer, pages);
    if (answer == PrintAnswer::Print) {
        const bool range = printer->printRange() == QPrinter::PageRange;
        if (!PrintTo(list, *printer, range ? printer->fromPage() : 0,
                     range ? printer->toPage() : 0))
            Message(QStringLiteral("The printer could not be started."));
    } else if (answer == PrintAnswer::Export) {
        if (const std::optional<std::string> path = AskExportFile()) ExportTo(*path, lines);
    }
    close();
}

PrintAnswer CPrintIndsFrame::RunPrintDialog(QPrinter& printer, int pages) {
    if (printAnswerHook) return printAnswerHook(printer, pages);
    QPrintDialog dialog(&printer, parentWidget());
    dialog.setMinMax(1, std::max(1, pages));
    // "Export..." writes the list to an HTML or text file instead of printing it.
    constexpr int ExportCode = 2;
    if (auto* buttons = dialog.findChild<QDialogButtonBox*>()) {
        QPushButton* button =
            buttons->addButton(ui_.Text(CmdExport, "Export") + "...", QDialogButtonBox::ActionRole);
        connect(button, &QPushButton::clicked, &dialog, [&dialog] { dialog.done(ExportCode); });
    }
    const int result = dialog.exec();
    if (result == ExportCode) return PrintAnswer::Export;
    return result == QDialog::Accepted ? PrintAnswer::Print : PrintAnswer::Cancel;
}

std::optional<std::string> CPrintIndsFrame::AskExportFile() {
    if (fileDialogHook) return fileDialogHook();
    QFileDialog dialog(parentWidget());
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(QStringLiteral("html"));
    const QStringList filters = {QStringLiteral("HTML file (*.html)"),
                                 QStringLiteral("Text file (*.txt)")};
    dialog.setNameFilters(filters);
    connect(&dialog, &QFileDialog::filterSelected, &dialog, [&dialog, filters](const QString& f) {
        dialog.setDefaultSuffix(f == filters[1] ? QStringLiteral("txt") : QStringLiteral("html"));
    });
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
    return dialog.selectedFiles().front().toStdString();
}

bool CPrintIndsFrame::ExportTo(const std::string& path, const std::vector<ListLine>& lines) {
    const std::optional<std::string> text = ExportListFor(
        path, lines, store_.Charset(), store_.LoadTextOr(ListTitleTextId, "Indicators"));
    if (!text) return true; // another extension: nothing to write
    if (WriteFileAtomic(path, *text)) return true;
    Message(QStringLiteral("%1 could not be written.").arg(QString::fromStdString(path)));
    return false;
}

void CPrintIndsFrame::Message(const QString& text) {
    if (messageHook)
        messageHook(text);
    else if (ui_.showMessage)
        ui_.showMessage(parentWidget(), text, true);
    else
        QMessageBox::warning(parentWidget(), windowTitle(), text);
}

} // namespace zor::indicators::qt
