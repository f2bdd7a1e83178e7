// Texts and fonts of every window: single-byte texts of the configured charset on screen, the
// titles table applied to menus and dialogs, and fonts that cover the charset's script.
#pragma once

#include "core/Texts.h"

#include <QFont>
#include <QString>

#include <string>
#include <string_view>

class QAction;
class QDialog;
class QMenu;
class QMenuBar;
class QWidget;

namespace zor {

// Single-byte text of the charset (names from the data, titles-table texts) for display.
QString FromCharset(std::string_view bytes, int charset);
// Text typed by the user as single-byte text of the charset; characters the code page cannot
// hold become "?".
std::string ToCharset(const QString& text, int charset);

// A font for the charset: the same font when its family covers the charset's script, else the
// same font with a family that covers it as fallback behind its own.
QFont FontForCharset(const QFont& font, int charset);

// Menu items and controls remember the id they have in the menu and dialog resources.
void SetCommandId(QAction* action, int id);
int CommandIdOf(const QAction* action); // 0 when none
void SetControlId(QWidget* control, int id);
int ControlIdOf(const QWidget* control); // 0 when none

// Applies the titles table to a menu: a command item whose id has a replacement takes it
// (keeping its check state); a popup whose default caption has a replacement takes it, and
// its items are walked in any case. Separators stay. Captions are remembered, so translating
// again starts from the default texts. Nothing happens with an empty table.
void TranslateMenu(QMenuBar* bar, const TitlesTable& titles, int charset);
void TranslateMenu(QMenu* menu, const TitlesTable& titles, int charset);

// Shortcuts every frame gives its commands: Ctrl+P for "Print" (1098, and the main frame's
// indicator-list printing 1040) and Ctrl+Q for "Quit" (6000), wherever they are in the menu.
void ApplyStandardShortcuts(QMenuBar* bar);

// What every dialog does on opening: gives itself a font that covers the charset (its
// controls inherit it), replaces each control's caption by the titles-table text of the
// control's id, and its own caption by the text of its resource id, where those exist.
void PrepareDialog(QDialog* dialog, int resourceId, const TitlesTable& titles, int charset);

// A caption without its "&" mnemonic markers ("&&" stays one "&").
QString WithoutMnemonic(const QString& caption);

} // namespace zor
