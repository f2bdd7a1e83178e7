// The "Save selection" dialog: the saved lists as rows {position, title}; Insert adds a row and
// opens its title for editing, Delete removes the selected row, OK names the row that takes
// the current items. The rows and rules are those of SaveSelectionModel.
#pragma once

#include "core/Ids.h"
#include "core/SavedSelections.h"

#include <QDialog>

class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;

namespace zor {

class TitlesTable;

class CSaveSelectionDialog : public QDialog {
    Q_OBJECT
public:
    static constexpr int ResourceId = DialogSaveSelection;

    CSaveSelectionDialog(SaveSelectionModel& model, const TitlesTable& titles, int charset,
                         QWidget* parent = nullptr);

    QTreeWidget* Rows() const { return rows_; }
    QPushButton* InsertButton() const { return insert_; }
    QPushButton* DeleteButton() const { return delete_; }
    QPushButton* OkButton() const { return ok_; }

    // Opens the in-place editor on a row's title.
    void EditTitle(int row);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Fill();
    void UpdateButtons();
    void OnInsert();
    void OnDelete();
    void OnTitleEdited(QTreeWidgetItem* item, int column);

    SaveSelectionModel& model_;
    int charset_;
    QTreeWidget* rows_;
    QPushButton* ok_;
    QPushButton* cancel_;
    QPushButton* insert_;
    QPushButton* delete_;
    bool filling_ = false;
};

} // namespace zor
