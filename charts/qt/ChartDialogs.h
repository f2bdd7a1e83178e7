// The dialogs the charts share: Export (DialogExport), "Change scale" for one axis (DialogScale)
// and for two axes (DialogXYScale), and "Available regions" (DialogRegionList). Their rules live in
// charts/DialogRules.h; these are the widgets around them.
#pragma once

#include "charts/DialogRules.h"
#include "charts/ViewHost.h"
#include "charts/qt/UiServices.h"
#include "core/Ids.h"

#include <QDialog>

#include <optional>

class QAbstractButton;
class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QRadioButton;

namespace zor::charts::qt {

class ExportDialog : public QDialog {
    Q_OBJECT
public:
    static constexpr int ResourceId = DialogExport;
    ExportDialog(const UiServices& ui, bool pictureChoice, QWidget* parent = nullptr);

    // The choice once the dialog was closed with "Export".
    ExportChoice Choice() const { return choice_; }

    QRadioButton* clipboard() const { return clipboard_; }
    QRadioButton* metafile() const { return metafile_; }
    QGroupBox* pictureGroup() const { return picture_; }
    QRadioButton* blackAndWhite() const { return blackAndWhite_; }
    QRadioButton* colored() const { return colored_; }
    QPushButton* exportButton() const { return export_; }

private:
    QRadioButton *clipboard_, *metafile_, *blackAndWhite_, *colored_;
    QGroupBox* picture_;
    QPushButton* export_;
    ExportChoice choice_;
};

// An edit of a float value; a text that is not a number gets "Please enter a number." when read.
class FloatEdit;

class ScaleDialog : public QDialog {
    Q_OBJECT
public:
    static constexpr int ResourceId = DialogScale;
    ScaleDialog(const UiServices& ui, const ScaleDialogInput& input, QWidget* parent = nullptr);

    // Valid once the dialog was accepted.
    const ScaleResult& Result() const { return result_; }

    QLineEdit* minEdit() const;
    QLineEdit* maxEdit() const;
    QLineEdit* sectionEdit() const;
    QCheckBox* logBox() const { return log_; }
    QPushButton* okButton() const { return ok_; }
    QPushButton* defaultButton() const { return default_; }

    void done(int r) override;

private:
    void Apply(const ScaleDialogControls& c);

    ScaleDialogInput input_;
    FloatEdit *min_, *max_, *section_;
    QLabel *minLabel_, *maxLabel_;
    QCheckBox* log_;
    QPushButton *ok_, *default_;
    ScaleResult result_;
};

class XYScaleDialog : public QDialog {
    Q_OBJECT
public:
    static constexpr int ResourceId = DialogXYScale;
    XYScaleDialog(const UiServices& ui, const XYScaleInput& input, QWidget* parent = nullptr);

    const XYScaleResult& Result() const { return result_; }
    // Edits in the order x min, x max, x section, y min, y max, y section.
    QLineEdit* edit(int i) const;
    QCheckBox* logBox() const { return log_; }
    QPushButton* okButton() const { return ok_; }

    void done(int r) override;

private:
    XYScaleInput input_;
    FloatEdit* edits_[6];
    QCheckBox* log_;
    QPushButton *ok_, *default_;
    XYScaleResult result_;
};

class RegionListDialog : public QDialog {
    Q_OBJECT
public:
    static constexpr int ResourceId = DialogRegionList;
    // `flags` (n entries) is written on OK only; it must outlive the dialog.
    RegionListDialog(const UiServices& ui, int n, int* flags, const std::vector<std::string>* names,
                     QWidget* parent = nullptr);

    QListWidget* list() const { return list_; }
    QPushButton* okButton() const { return ok_; }
    QPushButton* selectAllButton() const { return selectAll_; }
    QPushButton* unselectAllButton() const { return unselectAll_; }

    void done(int r) override;

private:
    void Refresh();

    RegionChecklist model_;
    int* flags_;
    QListWidget* list_;
    QPushButton *ok_, *selectAll_, *unselectAll_;
};

} // namespace zor::charts::qt
