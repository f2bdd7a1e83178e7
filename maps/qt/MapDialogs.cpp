#include "maps/qt/MapDialogs.h"

#include "charts/qt/DialogRunners.h"
#include "charts/qt/EditableValueList.h"
#include "maps/qt/CSlideFrame.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

namespace zor::maps::qt {

using charts::qt::EditableValueList;
using charts::qt::UiServices;

namespace {

// A limit list: "Section" (80 wide, right-aligned) and "Value" (70 wide, centred).
EditableValueList* MakeList(const UiServices& ui) {
    auto* list = ui.Control(new EditableValueList, CtlScaleList);
    auto* section = new QTableWidgetItem(ui.Text(TextSectionColumn, "Section"));
    section->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
    auto* value = new QTableWidgetItem(ui.Text(TextValueColumn, "Value"));
    value->setTextAlignment(Qt::AlignCenter);
    list->setHorizontalHeaderItem(0, section);
    list->setHorizontalHeaderItem(1, value);
    list->setColumnWidth(0, 80);
    list->setColumnWidth(1, 70);
    return list;
}

void SetListRows(EditableValueList* list, const ScaleRows& rows) {
    list->SetRows(rows);
    for (int r = 0; r < list->rowCount(); ++r)
        list->item(r, 0)->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
}

} // namespace

CMapScaleDialog::CMapScaleDialog(const UiServices& ui, MapScaleInput input, QWidget* parent)
    : QDialog(parent), rules_(std::move(input)), pages_(rules_.Pages()) {
    tabs_ = ui.Control(new QTabWidget, CtlScaleTabs);
    auto* sectionsPage = new QWidget;
    auto* s = new QHBoxLayout(sectionsPage);
    s->addWidget(ui.Control(new QLabel(ui.Text(CtlNumberOfSections, "Number of sections")),
                            CtlNumberOfSections));
    sections_ = ui.Control(new QSpinBox, CtlSpin);
    ui.Control(sections_->findChild<QLineEdit*>(), CtlSpinEdit);
    sections_->setRange(MinSections, MaxSections);
    sections_->setWrapping(true);
    sections_->setValue(rules_.Sections());
    s->addWidget(sections_);
    tabs_->addTab(sectionsPage, ui.Text(TextSectionsTab, "Sections"));
    for (ScalePage page : pages_) {
        if (page == ScalePage::AllRanges) {
            allRanges_ = MakeList(ui);
            tabs_->addTab(allRanges_, ui.Text(TextAllRangesTab, "All rangs"));
        } else if (page == ScalePage::MinMax) {
            minMax_ = MakeList(ui);
            tabs_->addTab(minMax_, ui.Text(TextMinMaxTab, "Min && Max"));
        }
    }
    FillLists();

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(ok_ = ui.Control(new QPushButton(ui.Text(CtlOk, "OK")), CtlOk));
    auto* cancel = ui.Control(new QPushButton(ui.Text(CtlCancel, "Cancel")), CtlCancel);
    buttons->addWidget(cancel);
    buttons->addWidget(default_ =
                           ui.Control(new QPushButton(ui.Text(CtlDefault, "Default")), CtlDefault));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(tabs_);
    layout->addLayout(buttons);

    default_->setEnabled(rules_.DefaultEnabled());
    ok_->setDefault(true);
    connect(sections_, &QSpinBox::valueChanged, this, [this](int m) { rules_.SetSections(m); });
    connect(tabs_, &QTabWidget::currentChanged, this, &CMapScaleDialog::TabChanged);
    connect(default_, &QPushButton::clicked, this, [this] {
        rules_.Default();
        FillLists();
    });
    connect(ok_, &QPushButton::clicked, this, &CMapScaleDialog::Ok);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    ui.PrepareDialog(this, ResourceId, "Map Scale Parameters");
}

ScalePage CMapScaleDialog::CurrentPage() const {
    const int i = tabs_->currentIndex();
    return i >= 0 && static_cast<size_t>(i) < pages_.size() ? pages_[static_cast<size_t>(i)]
                                                            : ScalePage::Sections;
}

EditableValueList* CMapScaleDialog::ListOf(ScalePage page) const {
    return page == ScalePage::AllRanges ? allRanges_
           : page == ScalePage::MinMax  ? minMax_
                                        : nullptr;
}

std::vector<std::string> CMapScaleDialog::ValuesOf(ScalePage page) const {
    std::vector<std::string> values;
    EditableValueList* list = ListOf(page);
    if (!list) return values;
    list->Commit();
    for (int r = 0; r < list->Values().RowCount(); ++r) values.push_back(list->Values().Value(r));
    return values;
}

void CMapScaleDialog::FillLists() {
    if (allRanges_) SetListRows(allRanges_, rules_.AllRangesRows());
    if (minMax_) SetListRows(minMax_, rules_.MinMaxRows());
}

void CMapScaleDialog::TabChanged(int index) {
    if (reverting_) return;
    const auto page = [this](int i) {
        return i >= 0 && static_cast<size_t>(i) < pages_.size() ? pages_[static_cast<size_t>(i)]
                                                                : ScalePage::Sections;
    };
    // A list page is left only with strictly decreasing numbers.
    if (!MapScaleRules::CanLeave(page(shown_), ValuesOf(page(shown_)))) {
        reverting_ = true;
        tabs_->setCurrentIndex(shown_);
        reverting_ = false;
        return;
    }
    shown_ = index;
    if (rules_.Enter(page(index))) FillLists();
}

void CMapScaleDialog::Ok() {
    const ScalePage page = CurrentPage();
    const std::optional<MapScaleResult> result = rules_.Ok(page, ValuesOf(page));
    if (!result) {
        QMessageBox::warning(this, windowTitle(), QStringLiteral("Please enter a number."));
        return;
    }
    result_ = *result;
    accept();
}

FramesSpinBox::FramesSpinBox(QWidget* parent) : QSpinBox(parent) {
    setRange(0, MaxFramesBetween);
    // A typed number outside the range becomes the nearest end at once.
    connect(lineEdit(), &QLineEdit::textEdited, this, [this](const QString& text) {
        bool ok = false;
        const int typed = text.trimmed().toInt(&ok);
        if (!ok) return;
        const int value = ClampFramesBetween(typed);
        setValue(value);
        if (value != typed) lineEdit()->setText(QString::number(value));
    });
}

int FramesSpinBox::valueFromText(const QString& text) const {
    bool ok = false;
    const int typed = text.trimmed().toInt(&ok);
    return ok ? ClampFramesBetween(typed) : value();
}

QValidator::State FramesSpinBox::validate(QString& text, int&) const {
    const QString t = text.trimmed();
    if (t.isEmpty() || t == QStringLiteral("-")) return QValidator::Intermediate;
    bool ok = false;
    t.toInt(&ok);
    return ok ? QValidator::Acceptable : QValidator::Invalid;
}

CSlideParamsDialog::CSlideParamsDialog(const UiServices& ui, QWidget* parent) : QDialog(parent) {
    auto* row = new QHBoxLayout;
    row->addWidget(
        ui.Control(new QLabel(ui.Text(CtlFramesBetween, "Frames between\neach time point ")),
                   CtlFramesBetween));
    frames_ = ui.Control(new FramesSpinBox, CtlSpin);
    ui.Control(frames_->findChild<QLineEdit*>(), CtlSpinEdit);
    frames_->setValue(0);
    row->addWidget(frames_);
    loop_ = ui.Control(new QCheckBox(ui.Text(CtlContinuePlay, "Continue play")), CtlContinuePlay);
    loop_->setChecked(true);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(ok_ = ui.Control(new QPushButton(ui.Text(CtlOk, "OK")), CtlOk));
    auto* cancel = ui.Control(new QPushButton(ui.Text(CtlCancel, "Cancel")), CtlCancel);
    buttons->addWidget(cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(row);
    layout->addWidget(loop_);
    layout->addLayout(buttons);
    ok_->setDefault(true);
    connect(ok_, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    ui.PrepareDialog(this, ResourceId, "Slide view parameters");
}

int CSlideParamsDialog::FramesBetween() const {
    return ClampFramesBetween(frames_->value());
}

bool CSlideParamsDialog::Loop() const {
    return loop_->isChecked();
}

void RegisterMapDialogs() {
    using charts::qt::RegisterDialog;
    RegisterDialog<MapScaleModel>([](MapScaleModel& m, const UiServices& ui, QWidget* p) {
        CMapScaleDialog dialog(ui, m.input, p);
        if (dialog.exec() != QDialog::Accepted) return false;
        m.result = dialog.Result();
        return true;
    });
    RegisterDialog<SlideParamsModel>([](SlideParamsModel& m, const UiServices& ui, QWidget* p) {
        CSlideParamsDialog dialog(ui, p);
        if (dialog.exec() != QDialog::Accepted) return false;
        m.between = dialog.FramesBetween();
        m.loop = dialog.Loop();
        return true;
    });
    // The slide window stays open after the call; it belongs to the map's frame.
    RegisterDialog<SlideShowModel>([](SlideShowModel& m, const UiServices& ui, QWidget* p) {
        auto* frame = new CSlideFrame(m.frameCount, m.loop, m.render, ui, p);
        frame->Start();
        return true;
    });
}

} // namespace zor::maps::qt
