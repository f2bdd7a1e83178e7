// The application object: the data store, the current selection, the pseudo-period labels, the
// views' drawing resources and the printer, plus the few platform services the windows share
// (message boxes, opening help, printer setup). One per process, reached through App().
#pragma once

#include "charts/ChartResources.h"
#include "core/DataStore.h"
#include "core/DataTable.h"
#include "core/Selection.h"

#include <QString>
#include <QUrl>

#include <functional>
#include <memory>
#include <string>
#include <vector>

class QPrinter;
class QWidget;

namespace zor {

enum class MessageKind { Information, Warning, Stop };

class Application {
public:
    Application();
    ~Application();
    Application(const Application&) = delete;
    Application& operator=(const Application&) = delete;

    // The one instance (nullptr before it is made).
    static Application* Instance();

    // Runs the data store's start-up; on success sets the pseudo-period labels and creates the
    // chart fonts. The reason of a failure is in Store().StartupError().
    bool StartUp(const PlatformInfo& platform);

    DataStore& Store() { return store_; }
    const DataStore& Store() const { return store_; }
    Selection& CurrentSelection() { return selection_; }
    const Selection& CurrentSelection() const { return selection_; }
    const TitlesTable& Titles() const { return store_.Titles(); }
    int Charset() const { return store_.Charset(); }

    // Labels of the pseudo periods -1 and -2 (single-byte text of the charset).
    const std::string& FirstAvailableLabel() const { return firstAvailable_; }
    const std::string& LastAvailableLabel() const { return lastAvailable_; }

    // The drawing resources every view draws with, for the configured charset (made at
    // start-up).
    const charts::ChartResources& ChartResources() const { return *chartResources_; }

    // The printer chosen in printer setup; made on first use with the platform's defaults.
    QPrinter& Printer();

    // A user-interface text through the titles table, decoded for display.
    QString Text(int id, std::string_view fallback = {}) const;
    // Data text (names) of the configured charset for display, and back.
    QString Decode(std::string_view bytes) const;
    std::string Encode(const QString& text) const;

    // The program's title: string 25001 or its titles-table text.
    QString ProgramTitle() const;

    // Where the definitions file, the help files and the start-up picture are: the data source
    // with the built-in provider, else the data directory.
    std::string DefinitionsDirectory() const;
    // Where help is looked for, in this order: zor2.hlp and zor2.chm in the definitions
    // directory, then the HTML manual (manual/index.html) there and beside the programs
    // (share/zorgui2/manual/index.html next to the programs' bin directory).
    std::vector<std::string> HelpLocations() const;
    // The help file to open: the first of HelpLocations that can be read, else empty.
    std::string HelpFile() const;

    // Shows the text of a string id in a message box over `parent`.
    void ShowMessage(QWidget* parent, MessageKind kind, int textId, std::string_view fallback = {});
    // Shows a text in a message box over `parent`.
    void ShowText(QWidget* parent, MessageKind kind, const QString& text);
    // Opens the help file with the desktop's viewer (the manual with the browser); when there
    // is none, a message box over `parent` says where help is looked for. False when nothing
    // was opened.
    bool OpenHelp(QWidget* parent = nullptr);
    // Runs the platform's page-setup dialog on the program's printer.
    void PrinterSetup(QWidget* parent);
    // Shows the About box.
    void About(QWidget* parent);

    // The main frame and its progress indicator, which table loads report to (nullptr while
    // there is no main frame).
    QWidget* MainWindow() const { return mainWindow_; }
    LoadProgress* Progress() const { return progress_; }
    void SetMainWindow(QWidget* window, LoadProgress* progress) {
        mainWindow_ = window;
        progress_ = progress;
    }

    // Replaceable platform services (tests record instead of showing or opening).
    using MessageHandler = std::function<void(QWidget* parent, MessageKind, const QString& text)>;
    void SetMessageHandler(MessageHandler h) { messageHandler_ = std::move(h); }
    using UrlOpener = std::function<bool(const QUrl&)>;
    void SetUrlOpener(UrlOpener o) { urlOpener_ = std::move(o); }

private:
    DataStore store_;
    std::string programDirectory_; // the executable's, with a trailing '/'
    Selection selection_;
    std::string firstAvailable_ = "First Available";
    std::string lastAvailable_ = "Last Available";
    std::unique_ptr<charts::ChartResources> chartResources_;
    std::unique_ptr<QPrinter> printer_;
    QWidget* mainWindow_ = nullptr;
    LoadProgress* progress_ = nullptr;
    MessageHandler messageHandler_;
    UrlOpener urlOpener_;
};

// The application object.
inline Application& App() {
    return *Application::Instance();
}

} // namespace zor
