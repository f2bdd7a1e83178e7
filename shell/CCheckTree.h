// A tree view whose check boxes belong to the owner: a click on a box (or Space on the current
// item) is reported with the keyboard modifiers instead of toggling the box, so that the owner
// can apply its rules (limits, ranges) and set the state itself. Items without check-state
// data have no box and ignore clicks.
#pragma once

#include <QStyledItemDelegate>
#include <QTreeWidget>

namespace zor {

class CheckClickDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    // The check box of an item drawn with `option`.
    QRect CheckRect(const QStyleOptionViewItem& option, const QModelIndex& index) const;

Q_SIGNALS:
    void checkClicked(const QModelIndex& index, Qt::KeyboardModifiers modifiers);

protected:
    bool editorEvent(QEvent* event, QAbstractItemModel* model, const QStyleOptionViewItem& option,
                     const QModelIndex& index) override;
};

class CCheckTree : public QTreeWidget {
    Q_OBJECT
public:
    explicit CCheckTree(QWidget* parent = nullptr);

    // Where the item's check box is, in viewport coordinates (empty when it has none).
    QRect CheckBoxRect(QTreeWidgetItem* item);
    // Shows a check box in the given state, or none.
    static void SetCheckBox(QTreeWidgetItem* item, bool hasBox, bool checked);

Q_SIGNALS:
    void checkClicked(QTreeWidgetItem* item, Qt::KeyboardModifiers modifiers);

private:
    CheckClickDelegate* delegate_;
};

} // namespace zor
