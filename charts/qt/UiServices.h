// What the chart windows take from the program's shell: the titles table and charset for
// their texts, the menu and dialog translation, the program's printer and the main window.
// The shell fills it in; tests may leave the functions empty.
#pragma once

#include "core/Texts.h"

#include <QString>

#include <functional>
#include <string_view>

class QAction;
class QDialog;
class QMenuBar;
class QPrinter;
class QWidget;

namespace zor::charts::qt {

struct UiServices {
    const TitlesTable* titles = nullptr;
    int charset = 0;
    // Applies the titles table to a frame's menu bar.
    std::function<void(QMenuBar*)> translateMenu;
    // What every dialog does on opening (font for the charset, captions by control id).
    std::function<void(QDialog*, int resourceId)> prepareDialog;
    // Remember a menu item's command id and a control's resource id (for the two above).
    std::function<void(QAction*, int id)> setCommandId;
    std::function<void(QWidget*, int id)> setControlId;
    // The printer chosen in printer setup; none: each print makes its own.
    std::function<QPrinter*()> printer;
    // Shows a message box over `parent` (none: a plain message box).
    std::function<void(QWidget* parent, const QString& text, bool stop)> showMessage;
    // The owner of the frames; gets the focus back when one closes.
    QWidget* mainWindow = nullptr;

    // A user-interface text through the titles table.
    QString Text(int id, std::string_view fallback = {}) const;
    // A dialog's control, its resource id remembered through setControlId.
    template <class W> W* Control(W* w, int id) const {
        if (setControlId) setControlId(w, id);
        return w;
    }
    // A dialog's title through the titles table, then what every dialog does on opening.
    void PrepareDialog(QDialog* dialog, int resourceId, std::string_view title) const;
};

} // namespace zor::charts::qt
