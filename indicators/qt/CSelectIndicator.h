// 'Select indicator' (dialog 20014): the main indicator groups (ids below 10) with their
// indicators and sub-indicators as "%4.4d %s". A group is read from the catalogue when it is
// first expanded (a group read already is filled at once). Double-clicking an indicator or
// sub-indicator, or OK with one selected, chooses its text; OK on a group does nothing.
#pragma once

#include "charts/qt/UiServices.h"
#include "core/Ids.h"

#include <QDialog>

#include <optional>

class QTreeWidget;
class QTreeWidgetItem;
class QPushButton;

namespace zor {
class DataStore;
}

namespace zor::indicators::qt {

class CSelectIndicator : public QDialog {
    Q_OBJECT
public:
    static constexpr int ResourceId = DialogSelectIndicator;
    static constexpr int TreeId = CtlIndicatorTree;

    CSelectIndicator(DataStore& store, const charts::qt::UiServices& ui, QWidget* parent = nullptr);

    // The chosen text ("%4.4d %s", UTF-8) once the dialog was accepted.
    const QString& Chosen() const { return chosen_; }

    QTreeWidget* Tree() const { return tree_; }
    QPushButton* OkButton() const { return ok_; }
    // The tree item of a group (by its position in the catalogue); nullptr when not listed.
    QTreeWidgetItem* GroupItem(int groupIndex) const;

    // Runs the dialog; the chosen text, none when cancelled.
    static std::optional<QString> Ask(DataStore& store, const charts::qt::UiServices& ui,
                                      QWidget* parent);

private:
    void Fill(QTreeWidgetItem* group);
    void Choose(QTreeWidgetItem* item);

    DataStore& store_;
    QTreeWidget* tree_;
    QPushButton* ok_;
    QString chosen_;
};

} // namespace zor::indicators::qt
