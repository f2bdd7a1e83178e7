// "Print indicator list" (command 1040): a window owned by the main window, which it blocks
// while it is open, with the form of dialog 20016: the groups to list (checked at start), "Only
// first level indicators" or "All indicators", "Print" and "Cancel". "Print" reads the chosen
// groups, hides the window, runs the print dialog with the page count of the list (its
// "Export..." writes the list as HTML or text instead) and closes the window.
#pragma once

#include "charts/qt/CGraphFrame.h"
#include "charts/qt/UiServices.h"
#include "core/Ids.h"
#include "indicators/IndicatorList.h"

#include <QWidget>

#include <functional>
#include <optional>
#include <string>
#include <vector>

class QListWidget;
class QPrinter;
class QPushButton;
class QRadioButton;

namespace zor {
class DataStore;
}

namespace zor::indicators::qt {

class CPrintIndsFrame : public QWidget {
    Q_OBJECT
public:
    static constexpr int ResourceId = MenuIndicatorList;
    static constexpr int FormId = DialogIndicatorList;

    CPrintIndsFrame(DataStore& store, charts::qt::UiServices ui, QWidget* owner);

    QListWidget* Groups() const { return groups_; }
    QRadioButton* FirstLevel() const { return firstLevel_; }
    QRadioButton* All() const { return all_; }
    QPushButton* PrintButton() const { return print_; }
    QPushButton* CancelButton() const { return cancel_; }

    // The lines of the groups checked now, in the mode chosen (reads their indicators).
    std::vector<ListLine> ChosenLines();
    // The "Print" button: the print dialog, then printing or the export; the window closes.
    void Print();
    // The list's pages on a printer, and printing them (1-based, 0, 0: all).
    static int PageCount(IndicatorListPrint& list, QPrinter& printer);
    static bool PrintTo(IndicatorListPrint& list, QPrinter& printer, int from = 0, int to = 0);
    // Writes the export file chosen; false (after a message) when it could not be written.
    bool ExportTo(const std::string& path, const std::vector<ListLine>& lines);

    // Replaceable platform steps for tests: the print dialog (its answer; it may set the
    // printer's output and page range), the export's save-file dialog and the message boxes.
    std::function<charts::qt::PrintAnswer(QPrinter&, int pages)> printAnswerHook;
    std::function<std::optional<std::string>()> fileDialogHook;
    std::function<void(const QString&)> messageHook;

private:
    charts::qt::PrintAnswer RunPrintDialog(QPrinter& printer, int pages);
    std::optional<std::string> AskExportFile();
    void Message(const QString& text);
    void UpdatePrintButton();

    DataStore& store_;
    charts::qt::UiServices ui_;
    QListWidget* groups_;
    QRadioButton *firstLevel_, *all_;
    QPushButton *print_, *cancel_;
};

} // namespace zor::indicators::qt
