// The dialogs of the map view: 'Map Scale Parameters' (20003) with its "Sections", "All rangs"
// and "Min && Max" pages, and 'Slide view parameters' (20018). Their rules live in
// maps/MapScaleRules.h and maps/SlideShow.h; these are the widgets around them.
#pragma once

#include "charts/qt/UiServices.h"
#include "core/Ids.h"
#include "maps/MapScaleRules.h"
#include "maps/SlideShow.h"

#include <QDialog>
#include <QSpinBox>

class QCheckBox;
class QPushButton;
class QTabWidget;

namespace zor::charts::qt {
class EditableValueList;
}

namespace zor::maps::qt {

class CMapScaleDialog : public QDialog {
    Q_OBJECT
public:
    static constexpr int ResourceId = DialogMapScale;
    CMapScaleDialog(const charts::qt::UiServices& ui, MapScaleInput input,
                    QWidget* parent = nullptr);

    // Valid once the dialog was accepted.
    const MapScaleResult& Result() const { return result_; }
    const MapScaleRules& Rules() const { return rules_; }

    QTabWidget* tabs() const { return tabs_; }
    QSpinBox* sections() const { return sections_; }
    // The lists of the "All rangs" and "Min && Max" pages (none in Quintiles mode).
    charts::qt::EditableValueList* allRanges() const { return allRanges_; }
    charts::qt::EditableValueList* minMax() const { return minMax_; }
    QPushButton* okButton() const { return ok_; }
    QPushButton* defaultButton() const { return default_; }
    ScalePage CurrentPage() const;

private:
    charts::qt::EditableValueList* ListOf(ScalePage page) const;
    std::vector<std::string> ValuesOf(ScalePage page) const;
    void FillLists();
    void TabChanged(int index);
    void Ok();

    MapScaleRules rules_;
    std::vector<ScalePage> pages_;
    QTabWidget* tabs_;
    QSpinBox* sections_;
    charts::qt::EditableValueList* allRanges_ = nullptr;
    charts::qt::EditableValueList* minMax_ = nullptr;
    QPushButton *ok_, *default_;
    int shown_ = 0; // the page shown before a tab change
    bool reverting_ = false;
    MapScaleResult result_;
};

// The frames field of the slide dialog: an up-down control over 0..5 whose typed values
// outside the range are corrected at once.
class FramesSpinBox : public QSpinBox {
    Q_OBJECT
public:
    explicit FramesSpinBox(QWidget* parent = nullptr);

protected:
    QValidator::State validate(QString& text, int& pos) const override;
    int valueFromText(const QString& text) const override;
};

class CSlideParamsDialog : public QDialog {
    Q_OBJECT
public:
    static constexpr int ResourceId = DialogSlideParams;
    CSlideParamsDialog(const charts::qt::UiServices& ui, QWidget* parent = nullptr);

    int FramesBetween() const;
    bool Loop() const;
    QSpinBox* frames() const { return frames_; }
    QCheckBox* loop() const { return loop_; }
    QPushButton* okButton() const { return ok_; }

private:
    FramesSpinBox* frames_;
    QCheckBox* loop_;
    QPushButton* ok_;
};

// Registers the scale and slide dialogs and the slide window with the hosts' dialog runners.
// Safe to call more than once.
void RegisterMapDialogs();

} // namespace zor::maps::qt
