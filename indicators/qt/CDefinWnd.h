// The definitions viewer (command 5020): a frame owned by the main window with the menu "Quit"
// and a splitter: the tree of the selected indicators on the left (CLeftView, 250 wide) and the
// chosen indicator's definition in a read-only text pane on the right. The tree and the texts
// come from DefinitionsTree (indicators/DefinitionsTree.h).
#pragma once

#include "charts/qt/UiServices.h"
#include "core/Catalogue.h"
#include "core/Ids.h"
#include "indicators/DefinitionsTree.h"

#include <QMainWindow>
#include <QTreeWidget>

#include <string>
#include <vector>

class QPlainTextEdit;

namespace zor::indicators::qt {

class CLeftView : public QTreeWidget {
    Q_OBJECT
public:
    explicit CLeftView(QWidget* parent = nullptr);
    QTreeWidgetItem* Root() const { return topLevelItem(0); }
};

class CDefinWnd : public QMainWindow {
    Q_OBJECT
public:
    static constexpr int ResourceId = MenuDefinitions;
    static constexpr int TreeWidth = 250;

    // `path` is the definitions file, `selected` the selection's indicators (codes and names in
    // the charset's single-byte text).
    CDefinWnd(const std::string& path, const std::vector<ListItem>& selected,
              charts::qt::UiServices ui, QWidget* owner);

    CLeftView* Tree() const { return tree_; }
    QPlainTextEdit* TextPane() const { return text_; }
    const DefinitionsTree& Definitions() const { return definitions_; }
    // Selects the item of the selection's indicator `index`.
    void SelectIndicator(int index);

private:
    void Show(QTreeWidgetItem* item);

    charts::qt::UiServices ui_;
    DefinitionsTree definitions_;
    std::string notFound_;
    CLeftView* tree_;
    QPlainTextEdit* text_;
};

} // namespace zor::indicators::qt
