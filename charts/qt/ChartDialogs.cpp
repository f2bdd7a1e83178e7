#include "charts/qt/ChartDialogs.h"

#include "core/Numeric.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace zor::charts::qt {

class FloatEdit : public QLineEdit {
public:
    explicit FloatEdit(float value, bool formatted, QWidget* parent = nullptr) : QLineEdit(parent) {
        SetValue(value, formatted);
        setAlignment(Qt::AlignRight);
    }
    void SetValue(float v, bool formatted) {
        setText(formatted ? QString::fromStdString(FormatValue(v)) : QString::number(v));
    }
    // The number typed; none (after the standard message) when it is not one.
    std::optional<float> Read() {
        bool ok = false;
        const float v = text().trimmed().toFloat(&ok);
        if (ok) return v;
        QMessageBox::warning(this, window()->windowTitle(),
                             QStringLiteral("Please enter a number."));
        setFocus();
        selectAll();
        return std::nullopt;
    }
};

ExportDialog::ExportDialog(const UiServices& ui, bool pictureChoice, QWidget* parent)
    : QDialog(parent) {
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(ui.Control(new QLabel(ui.Text(CtlParameters, "Parameters")), CtlParameters));
    auto* destination =
        ui.Control(new QGroupBox(ui.Text(CtlDestination, "Destination")), CtlDestination);
    auto* d = new QVBoxLayout(destination);
    d->addWidget(clipboard_ = ui.Control(new QRadioButton(ui.Text(CtlClipboard, "Clipboard")),
                                         CtlClipboard));
    d->addWidget(metafile_ =
                     ui.Control(new QRadioButton(ui.Text(CtlMetafile, "Metafile")), CtlMetafile));
    layout->addWidget(destination);
    picture_ = ui.Control(new QGroupBox(ui.Text(CtlPicture, "Picture")), CtlPicture);
    auto* p = new QVBoxLayout(picture_);
    p->addWidget(blackAndWhite_ =
                     ui.Control(new QRadioButton(ui.Text(CtlBlackAndWhite, "Black && White")),
                                CtlBlackAndWhite));
    p->addWidget(colored_ =
                     ui.Control(new QRadioButton(ui.Text(CtlColored, "Colored")), CtlColored));
    layout->addWidget(picture_);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(export_ =
                           ui.Control(new QPushButton(ui.Text(CtlExport, "Export")), CtlExport));
    auto* cancel = ui.Control(new QPushButton(ui.Text(CtlCancel, "Cancel")), CtlCancel);
    buttons->addWidget(cancel);
    layout->addLayout(buttons);

    const ExportDialogState s = InitialExportState(pictureChoice);
    clipboard_->setChecked(s.clipboardChecked);
    metafile_->setChecked(!s.clipboardChecked);
    blackAndWhite_->setChecked(s.blackAndWhiteChecked);
    colored_->setChecked(!s.blackAndWhiteChecked);
    picture_->setEnabled(s.pictureGroupEnabled);
    export_->setDefault(true);
    connect(export_, &QPushButton::clicked, this, [this] {
        choice_.toClipboard = clipboard_->isChecked();
        choice_.blackAndWhite = blackAndWhite_->isChecked();
        accept();
    });
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    ui.PrepareDialog(this, ResourceId, "Export");
}

ScaleDialog::ScaleDialog(const UiServices& ui, const ScaleDialogInput& input, QWidget* parent)
    : QDialog(parent), input_(input) {
    const ScaleValues shown = input.current.value_or(ScaleValues{});
    auto* form = new QFormLayout;
    max_ = ui.Control(new FloatEdit(shown.max, true), CtlMaxEdit);
    min_ = ui.Control(new FloatEdit(shown.min, true), CtlMinEdit);
    section_ = ui.Control(new FloatEdit(shown.section, false), CtlSectionEdit);
    maxLabel_ = ui.Control(new QLabel(ui.Text(CtlMaxLabel, "Max:")), CtlMaxLabel);
    minLabel_ = ui.Control(new QLabel(ui.Text(CtlMinLabel, "Min:")), CtlMinLabel);
    form->addRow(maxLabel_, max_);
    form->addRow(minLabel_, min_);
    form->addRow(ui.Control(new QLabel(ui.Text(CtlSectionLabel, "Section:")), CtlSectionLabel),
                 section_);
    log_ =
        ui.Control(new QCheckBox(ui.Text(CtlLogarithmic, "Use logarithmic scale")), CtlLogarithmic);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(default_ =
                           ui.Control(new QPushButton(ui.Text(CtlDefault, "Default")), CtlDefault));
    buttons->addWidget(ok_ = ui.Control(new QPushButton(ui.Text(CtlOk, "OK")), CtlOk));
    auto* cancel = ui.Control(new QPushButton(ui.Text(CtlCancel, "Cancel")), CtlCancel);
    buttons->addWidget(cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(log_);
    layout->addLayout(buttons);

    Apply(ScaleInitialControls(input_));
    connect(log_, &QCheckBox::toggled, this,
            [this](bool on) { Apply(ScaleToggledControls(input_, on)); });
    connect(default_, &QPushButton::clicked, this, [this] {
        if (!input_.defaults) return;
        max_->SetValue(input_.defaults->max, true);
        min_->SetValue(input_.defaults->min, true);
        section_->SetValue(input_.defaults->section, false);
    });
    ok_->setDefault(true);
    connect(ok_, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    ui.PrepareDialog(this, ResourceId, "Change scale");
}

QLineEdit* ScaleDialog::minEdit() const {
    return min_;
}
QLineEdit* ScaleDialog::maxEdit() const {
    return max_;
}
QLineEdit* ScaleDialog::sectionEdit() const {
    return section_;
}

void ScaleDialog::Apply(const ScaleDialogControls& c) {
    for (QWidget* w : {static_cast<QWidget*>(min_), static_cast<QWidget*>(max_),
                       static_cast<QWidget*>(minLabel_), static_cast<QWidget*>(maxLabel_)})
        w->setEnabled(c.minMaxEnabled);
    section_->setEnabled(c.sectionEnabled);
    default_->setEnabled(c.defaultEnabled);
    ok_->setEnabled(c.okEnabled);
    log_->setVisible(c.logVisible);
    QSignalBlocker block(log_);
    log_->setChecked(c.logChecked);
}

void ScaleDialog::done(int r) {
    if (r == Accepted) {
        const bool log = log_->isChecked();
        std::optional<float> min, max, section;
        if (!(log && input_.logOffered)) {
            min = min_->Read();
            max = max_->Read();
            section = section_->Read();
        }
        result_ = ScaleAccept(input_, min, max, section, log);
        if (!result_.accepted) return; // refused: stays open without a message
    }
    QDialog::done(r);
}

XYScaleDialog::XYScaleDialog(const UiServices& ui, const XYScaleInput& input, QWidget* parent)
    : QDialog(parent), input_(input) {
    const int ids[6] = {CtlXMinEdit, CtlXMaxEdit, CtlXSectionEdit,
                        CtlMinEdit,  CtlMaxEdit,  CtlSectionEdit};
    const float values[6] = {input.x.min, input.x.max, input.x.section,
                             input.y.min, input.y.max, input.y.section};
    for (int i = 0; i < 6; ++i) edits_[i] = ui.Control(new FloatEdit(values[i], false), ids[i]);
    auto group = [&](int id, std::string_view title, int first, const int labels[3]) {
        auto* box = ui.Control(new QGroupBox(ui.Text(id, title)), id);
        auto* form = new QFormLayout(box);
        form->addRow(ui.Control(new QLabel(ui.Text(labels[0], "Max:")), labels[0]),
                     edits_[first + 1]);
        form->addRow(ui.Control(new QLabel(ui.Text(labels[1], "Min:")), labels[1]), edits_[first]);
        form->addRow(ui.Control(new QLabel(ui.Text(labels[2], "Section:")), labels[2]),
                     edits_[first + 2]);
        return box;
    };
    const int xLabels[3] = {CtlXMaxLabel, CtlXMinLabel, CtlXSectionLabel},
              yLabels[3] = {CtlMaxLabel, CtlMinLabel, CtlSectionLabel};
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(group(CtlXScaleGroup, "X Scale", 0, xLabels));
    layout->addWidget(group(CtlYScaleGroup, "Y Scale", 3, yLabels));
    layout->addWidget(
        log_ = ui.Control(new QCheckBox(ui.Text(CtlLogarithmic, "Use logarithmic scale")),
                          CtlLogarithmic));
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(default_ =
                           ui.Control(new QPushButton(ui.Text(CtlDefault, "Default")), CtlDefault));
    buttons->addWidget(ok_ = ui.Control(new QPushButton(ui.Text(CtlOk, "Ok")), CtlOk));
    auto* cancel = ui.Control(new QPushButton(ui.Text(CtlCancel, "Cancel")), CtlCancel);
    buttons->addWidget(cancel);
    layout->addLayout(buttons);

    auto apply = [this](bool checked) {
        const bool on = XYEditsEnabled(input_, checked);
        for (FloatEdit* e : edits_) e->setEnabled(on);
        default_->setEnabled(on);
    };
    log_->setEnabled(input.logOffered);
    log_->setChecked(input.logOffered && input.logChosen);
    apply(log_->isChecked());
    connect(log_, &QCheckBox::toggled, this, apply);
    connect(default_, &QPushButton::clicked, this, [this] {
        const float d[6] = {input_.xDefault.min, input_.xDefault.max, input_.xDefault.section,
                            input_.yDefault.min, input_.yDefault.max, input_.yDefault.section};
        for (int i = 0; i < 6; ++i) edits_[i]->SetValue(d[i], false);
    });
    ok_->setDefault(true);
    connect(ok_, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    ui.PrepareDialog(this, ResourceId, "Change scale");
}

QLineEdit* XYScaleDialog::edit(int i) const {
    return edits_[i];
}

void XYScaleDialog::done(int r) {
    if (r == Accepted) {
        const bool log = log_->isChecked();
        float v[6] = {input_.x.min, input_.x.max, input_.x.section,
                      input_.y.min, input_.y.max, input_.y.section};
        if (!(log && input_.logOffered))
            for (int i = 0; i < 6; ++i)
                if (auto read = edits_[i]->Read()) v[i] = *read;
        result_ = XYScaleAccept(input_, {v[0], v[1], v[2]}, {v[3], v[4], v[5]}, log);
        if (!result_.accepted) return;
    }
    QDialog::done(r);
}

RegionListDialog::RegionListDialog(const UiServices& ui, int n, int* flags,
                                   const std::vector<std::string>* names, QWidget* parent)
    : QDialog(parent), model_(n, flags, names), flags_(flags) {
    auto* layout = new QVBoxLayout(this);
    list_ = ui.Control(new QListWidget, CtlRegionList);
    for (int i = 0; i < model_.Count(); ++i) {
        auto* item = new QListWidgetItem(QString::fromStdString(model_.Name(i)), list_);
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsUserCheckable);
    }
    list_->setSizeAdjustPolicy(QAbstractScrollArea::AdjustToContents);
    layout->addWidget(list_);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(selectAll_ = ui.Control(new QPushButton(ui.Text(CtlSelectAll, "Select all")),
                                               CtlSelectAll));
    buttons->addWidget(
        unselectAll_ =
            ui.Control(new QPushButton(ui.Text(CtlUnselectAll, "Unselect all")), CtlUnselectAll));
    buttons->addWidget(ok_ = ui.Control(new QPushButton(ui.Text(CtlOk, "OK")), CtlOk));
    auto* cancel = ui.Control(new QPushButton(ui.Text(CtlCancel, "Cancel")), CtlCancel);
    buttons->addWidget(cancel);
    layout->addLayout(buttons);
    for (QPushButton* b : {ok_, selectAll_, unselectAll_}) b->setEnabled(model_.Usable());
    Refresh();
    connect(list_, &QListWidget::itemChanged, this, [this](QListWidgetItem* item) {
        const int i = list_->row(item);
        if (model_.Checked(i) != (item->checkState() == Qt::Checked)) model_.Toggle(i);
    });
    connect(selectAll_, &QPushButton::clicked, this, [this] {
        model_.SetAll(true);
        Refresh();
    });
    connect(unselectAll_, &QPushButton::clicked, this, [this] {
        model_.SetAll(false);
        Refresh();
    });
    connect(ok_, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    ui.PrepareDialog(this, ResourceId, "Available regions");
}

void RegionListDialog::Refresh() {
    QSignalBlocker block(list_);
    for (int i = 0; i < model_.Count(); ++i)
        list_->item(i)->setCheckState(model_.Checked(i) ? Qt::Checked : Qt::Unchecked);
}

void RegionListDialog::done(int r) {
    if (r == Accepted) model_.WriteBack(flags_);
    QDialog::done(r);
}

} // namespace zor::charts::qt
