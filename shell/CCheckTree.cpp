#include "shell/CCheckTree.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>

namespace zor {

QRect CheckClickDelegate::CheckRect(const QStyleOptionViewItem& option,
                                    const QModelIndex& index) const {
    QStyleOptionViewItem opt(option);
    initStyleOption(&opt, index);
    const QWidget* w = option.widget;
    QStyle* style = w ? w->style() : QApplication::style();
    return style->subElementRect(QStyle::SE_ItemViewItemCheckIndicator, &opt, w);
}

bool CheckClickDelegate::editorEvent(QEvent* event, QAbstractItemModel*,
                                     const QStyleOptionViewItem& option, const QModelIndex& index) {
    if (!index.data(Qt::CheckStateRole).isValid()) return false;
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick: {
        auto* me = static_cast<QMouseEvent*>(event);
        if (me->button() != Qt::LeftButton) return false;
        if (!CheckRect(option, index).contains(me->position().toPoint())) return false;
        if (event->type() == QEvent::MouseButtonRelease)
            Q_EMIT checkClicked(index, me->modifiers());
        return true; // the box is ours: no selection change, no expansion on double click
    }
    case QEvent::KeyPress: {
        auto* ke = static_cast<QKeyEvent*>(event);
        if (ke->key() != Qt::Key_Space && ke->key() != Qt::Key_Select) return false;
        Q_EMIT checkClicked(index, ke->modifiers());
        return true;
    }
    default:
        return false;
    }
}

CCheckTree::CCheckTree(QWidget* parent)
    : QTreeWidget(parent), delegate_(new CheckClickDelegate(this)) {
    setItemDelegate(delegate_);
    setHeaderHidden(true);
    setColumnCount(1);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setUniformRowHeights(true);
    connect(delegate_, &CheckClickDelegate::checkClicked, this,
            [this](const QModelIndex& index, Qt::KeyboardModifiers mods) {
                if (QTreeWidgetItem* item = itemFromIndex(index)) Q_EMIT checkClicked(item, mods);
            });
}

QRect CCheckTree::CheckBoxRect(QTreeWidgetItem* item) {
    const QModelIndex index = indexFromItem(item);
    if (!index.isValid() || !index.data(Qt::CheckStateRole).isValid()) return {};
    QStyleOptionViewItem opt;
    initViewItemOption(&opt);
    opt.rect = visualRect(index);
    return delegate_->CheckRect(opt, index);
}

void CCheckTree::SetCheckBox(QTreeWidgetItem* item, bool hasBox, bool checked) {
    const QVariant want =
        hasBox ? QVariant(int(checked ? Qt::Checked : Qt::Unchecked)) : QVariant();
    if (item->data(0, Qt::CheckStateRole) != want) item->setData(0, Qt::CheckStateRole, want);
}

} // namespace zor
