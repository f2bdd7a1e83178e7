// "Setup temporary indicators" (command 1020): a frame owned by the main window, which it blocks
// while it is open, with the menu "Quit" and a splitter: the tree of the 100 slots on the left
// (CTmpIndsTree), the form of the current slot on the right (CTmpDlgView: code, title, the type
// list with the formula pictures, the parameter page of the type, Save current item, Insert,
// Delete, Save list). The rules are TempEditor's (indicators/TempEditor.h); this is their window.
#pragma once

#include "charts/qt/UiServices.h"
#include "core/Ids.h"
#include "indicators/TempEditor.h"

#include <QAbstractItemDelegate>
#include <QComboBox>
#include <QMainWindow>
#include <QTreeWidget>

#include <array>
#include <functional>
#include <memory>
#include <optional>

class QGroupBox;
class QLineEdit;
class QPushButton;
class QStackedWidget;

namespace zor {
class DataStore;
class Selection;
} // namespace zor

namespace zor::indicators::qt {

// Draws the formula of a type (item data: the type) in a 47-pixel item.
class CFormulaDelegate : public QAbstractItemDelegate {
    Q_OBJECT
public:
    CFormulaDelegate(QString movingAverage, QObject* parent = nullptr);
    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    // Draws type `type` into `rect` of a painter.
    void PaintFormula(QPainter& painter, const QRect& rect, int type, const QColor& color) const;

private:
    std::string movingAverage_;
};

// The type list: seven formula pictures; the closed box shows the chosen one.
class CFormulaCombo : public QComboBox {
    Q_OBJECT
public:
    CFormulaCombo(QString movingAverage, QWidget* parent = nullptr);
    CFormulaDelegate* Delegate() const { return delegate_; }
    // The type at a position of the list, and the position of a type (-1: none).
    int TypeAt(int index) const;
    int IndexOf(int type) const;
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* e) override;

private:
    CFormulaDelegate* delegate_;
};

class CTmpIndsTree : public QTreeWidget {
    Q_OBJECT
public:
    explicit CTmpIndsTree(QWidget* parent = nullptr);
    QTreeWidgetItem* Root() const { return topLevelItem(0); }
    // The item of slot s, nullptr outside 0..99.
    QTreeWidgetItem* SlotItem(int slot) const;
    // The slot of an item; TempEditor::Root for the root.
    static int SlotOf(const QTreeWidgetItem* item);
};

// The fields of one parameter page (the widgets it does not have are nullptr).
struct TempPage {
    QGroupBox* box = nullptr;
    QLineEdit* first = nullptr;
    QPushButton* pickFirst = nullptr;
    QLineEdit* second = nullptr;
    QPushButton* pickSecond = nullptr;
    QLineEdit* coefficient = nullptr;
    QLineEdit* years = nullptr;
};

class CTmpDlgView : public QWidget {
    Q_OBJECT
public:
    CTmpDlgView(const charts::qt::UiServices& ui, int nameLength, QWidget* parent = nullptr);

    QLineEdit* Code() const { return code_; }
    QLineEdit* Title() const { return title_; }
    CFormulaCombo* Type() const { return type_; }
    QStackedWidget* Pages() const { return pages_; }
    // Page 1..5 (dialogs 1 to 5); page 0 is the blank one of "no type".
    const TempPage& Page(int dialog) const { return page_[static_cast<size_t>(dialog)]; }
    QPushButton* SaveItemButton() const { return saveItem_; }
    QPushButton* InsertButton() const { return insert_; }
    QPushButton* DeleteButton() const { return delete_; }
    QPushButton* SaveListButton() const { return saveList_; }

    // Shows the editor's form (texts, enabled states, the type's page).
    void Show(const TempForm& form);
    // Shows the fields of every page from the form, except `keep`, which is being typed into.
    void ShowFields(const TempForm& form, const QLineEdit* keep = nullptr);

private:
    QLineEdit *code_, *title_;
    CFormulaCombo* type_;
    QStackedWidget* pages_;
    std::array<TempPage, 6> page_{};
    QPushButton *saveItem_, *insert_, *delete_, *saveList_;
};

class CTempIndSetup : public QMainWindow {
    Q_OBJECT
public:
    static constexpr int ResourceId = MenuTemporaryIndicators;
    static constexpr int TreeWidth = 300;

    // Opens the editor on the data directory's tmplist.ind; nullptr (after a message) when the
    // file is not a temporary-indicator list. The window is made, not shown.
    static CTempIndSetup* Open(DataStore& store, Selection& selection,
                               const charts::qt::UiServices& ui, QWidget* owner);

    CTempIndSetup(std::unique_ptr<TempEditor> editor, DataStore& store, Selection& selection,
                  charts::qt::UiServices ui, QWidget* owner);

    TempEditor& Editor() { return *editor_; }
    CTmpIndsTree* Tree() const { return tree_; }
    CTmpDlgView* Form() const { return form_; }

    // The buttons and the tree's selection, as the user runs them. SelectSlot returns false
    // when the slot left could not be stored (its message is shown and it stays current).
    bool SelectSlot(int slot);
    void SaveCurrentItem();
    void Insert();
    void Delete();
    // True when the list was written.
    bool SaveList();
    // A ". . ." button: 1 for I1 / I, 2 for I2.
    void Pick(int field);

    // Replaceable platform steps for tests: the message boxes, the 'Select indicator' dialog
    // (its answer) and the file writer (none: WriteFileAtomic).
    std::function<void(const QString&)> messageHook;
    std::function<std::optional<QString>(int field)> pickHook;
    FileWriter writer;

Q_SIGNALS:
    // The list was written; `selection` no longer holds temporary indicators.
    void listSaved();

private:
    void Message(const std::string& text);
    void ShowForm();
    void UpdateItemText(int slot);
    void UpdateAllItems();
    void Connect();

    std::unique_ptr<TempEditor> editor_;
    DataStore& store_;
    Selection& selection_;
    charts::qt::UiServices ui_;
    CTmpIndsTree* tree_;
    CTmpDlgView* form_;
    bool moving_ = false;
};

} // namespace zor::indicators::qt
