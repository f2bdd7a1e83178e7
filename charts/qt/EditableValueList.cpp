#include "charts/qt/EditableValueList.h"

#include <QApplication>
#include <QFocusEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>

namespace zor::charts::qt {

EditableValueList::EditableValueList(QWidget* parent) : QTableWidget(0, 2, parent) {
    editor_ = new QLineEdit(viewport());
    editor_->setFrame(false);
    editor_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    editor_->setFont(font());
    editor_->hide();
    editor_->installEventFilter(this);
    setEditTriggers(NoEditTriggers);
    setSelectionMode(NoSelection);
    setGridStyle(Qt::SolidLine);
    setStyleSheet(QStringLiteral("QTableWidget { gridline-color: rgb(128, 128, 128); }"));
    verticalHeader()->hide();
    horizontalHeader()->setSectionsClickable(false);
    horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    horizontalHeader()->setStretchLastSection(true);
    horizontalHeader()->viewport()->installEventFilter(this);
    connect(this, &QTableWidget::cellClicked, this, [this](int row, int column) {
        if (column == 1 && model_.MoveTo(row, editor_->text().toStdString())) Moved();
    });
}

void EditableValueList::SetRows(std::vector<std::pair<std::string, std::string>> rows) {
    model_.SetRows(std::move(rows));
    setRowCount(model_.RowCount());
    for (int r = 0; r < model_.RowCount(); ++r) {
        setItem(r, 0, new QTableWidgetItem(QString::fromStdString(model_.Label(r))));
        auto* value = new QTableWidgetItem(QString::fromStdString(model_.Value(r)));
        value->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
        setItem(r, 1, value);
    }
    if (model_.Begin()) Moved();
}

void EditableValueList::Place() {
    if (model_.EditRow() < 0) {
        editor_->hide();
        return;
    }
    // One pixel narrower and lower than the cell, so the grid lines stay visible.
    const QRect cell = visualItemRect(item(model_.EditRow(), 1));
    editor_->setGeometry(cell.adjusted(0, 0, -1, -1));
    editor_->show();
}

void EditableValueList::Moved() {
    for (int r = 0; r < model_.RowCount(); ++r)
        item(r, 1)->setText(QString::fromStdString(model_.Value(r)));
    scrollToItem(item(model_.EditRow(), 1));
    Place();
    editor_->setText(QString::fromStdString(model_.Reload()));
    editor_->selectAll();
    editor_->setFocus();
}

void EditableValueList::Commit() {
    model_.Commit(editor_->text().toStdString());
    if (model_.EditRow() >= 0)
        item(model_.EditRow(), 1)->setText(QString::fromStdString(model_.Reload()));
}

void EditableValueList::Reload() {
    editor_->setText(QString::fromStdString(model_.Reload()));
}

void EditableValueList::Clear() {
    model_.Clear();
    setRowCount(0);
    editor_->hide();
}

bool EditableValueList::eventFilter(QObject* watched, QEvent* event) {
    if (watched == horizontalHeader()->viewport()) {
        switch (event->type()) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
        case QEvent::MouseMove:
            return true;
        default:
            return false;
        }
    }
    if (watched == editor_) {
        if (event->type() == QEvent::KeyPress) {
            const int key = static_cast<QKeyEvent*>(event)->key();
            if (key == Qt::Key_Up || key == Qt::Key_Down) {
                if (model_.Move(key == Qt::Key_Up ? -1 : 1, editor_->text().toStdString())) Moved();
                return true;
            }
        } else if (event->type() == QEvent::FocusOut) {
            // Moving within the list keeps the text for the move itself to write.
            QWidget* to = QApplication::focusWidget();
            if (to != this && to != viewport()) Commit();
        }
    }
    return QTableWidget::eventFilter(watched, event);
}

} // namespace zor::charts::qt
