// A two-column list (label, value) whose value cells are edited in place: a borderless,
// right-aligned edit box sits on the cell being edited; Up and Down move it a row (writing the
// text into the cell it leaves), a click on another row's value cell moves it there, and losing
// the focus to anything but the list writes the text back. The header cannot be clicked or
// resized. The map scale dialog uses it.
#pragma once

#include "charts/DialogRules.h"

#include <QTableWidget>

class QLineEdit;

namespace zor::charts::qt {

class EditableValueList : public QTableWidget {
    Q_OBJECT
public:
    explicit EditableValueList(QWidget* parent = nullptr);

    // Replaces the rows and starts editing row 0's value.
    void SetRows(std::vector<std::pair<std::string, std::string>> rows);
    const EditableValues& Values() const { return model_; }
    QLineEdit* Editor() const { return editor_; }

    // For the owning dialog: write the edit box into the current cell; put the cell's text back
    // into the edit box; remove every row.
    void Commit();
    void Reload();
    void Clear();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Place();
    void Moved();

    EditableValues model_;
    QLineEdit* editor_;
};

} // namespace zor::charts::qt
