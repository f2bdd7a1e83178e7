#include "shell/Application.h"

#include "charts/qt/CGraphFrame.h"
#include "core/FileUtil.h"
#include "core/Ids.h"
#include "shell/CAboutDialog.h"
#include "shell/UiText.h"

#include <QDesktopServices>
#include <QMessageBox>
#include <QPageSetupDialog>
#include <QPrinter>

#include <filesystem>

namespace zor {

namespace {

Application* g_instance = nullptr;

constexpr char ProgramTitleDefault[] = "zorgui2";

bool Readable(const std::string& path) {
    RandomAccessFile f;
    return f.Open(path);
}

} // namespace

Application::Application() {
    g_instance = this;
}

Application::~Application() {
    if (g_instance == this) g_instance = nullptr;
}

Application* Application::Instance() {
    return g_instance;
}

bool Application::StartUp(const PlatformInfo& platform) {
    programDirectory_ = WithTrailingSeparator(platform.executableDirectory);
    if (!store_.StartUp(platform)) return false;
    firstAvailable_ = store_.LoadTextOr(TextFirstAvailable, "First Available");
    lastAvailable_ = store_.LoadTextOr(TextLastAvailable, "Last Available");
    chartResources_ = std::make_unique<charts::ChartResources>(store_.Charset());
    selection_ = Selection();
    return true;
}

QPrinter& Application::Printer() {
    if (!printer_) {
        printer_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
        charts::qt::SetDefaultPrintMargins(*printer_);
    }
    return *printer_;
}

QString Application::Text(int id, std::string_view fallback) const {
    return QString::fromStdString(store_.UiText(id, fallback));
}

QString Application::Decode(std::string_view bytes) const {
    return FromCharset(bytes, store_.Charset());
}

std::string Application::Encode(const QString& text) const {
    return ToCharset(text, store_.Charset());
}

QString Application::ProgramTitle() const {
    return Text(TextProgramTitle, ProgramTitleDefault);
}

std::string Application::DefinitionsDirectory() const {
    return zor::DefinitionsDirectory(store_.Settings());
}

std::vector<std::string> Application::HelpLocations() const {
    const std::string dir = DefinitionsDirectory();
    std::vector<std::string> out = {ResolvePath(dir + "zor2.hlp"), ResolvePath(dir + "zor2.chm"),
                                    dir + "manual/index.html"};
    // Installed: <prefix>/bin/zorgui2 and <prefix>/share/zorgui2/manual.
    const std::filesystem::path beside =
        std::filesystem::path(programDirectory_ + "../share/zorgui2/manual/index.html")
            .lexically_normal();
    out.push_back(beside.string());
    return out;
}

std::string Application::HelpFile() const {
    for (const std::string& path : HelpLocations())
        if (Readable(path)) return path;
    return {};
}

void Application::ShowMessage(QWidget* parent, MessageKind kind, int textId,
                              std::string_view fallback) {
    ShowText(parent, kind, Text(textId, fallback));
}

void Application::ShowText(QWidget* parent, MessageKind kind, const QString& text) {
    if (messageHandler_) {
        messageHandler_(parent, kind, text);
        return;
    }
    const QMessageBox::Icon icon = kind == MessageKind::Warning ? QMessageBox::Warning
                                   : kind == MessageKind::Stop  ? QMessageBox::Critical
                                                                : QMessageBox::Information;
    QMessageBox box(icon, parent ? parent->windowTitle() : ProgramTitle(), text, QMessageBox::Ok,
                    parent);
    box.setFont(FontForCharset(box.font(), Charset()));
    box.exec();
}

bool Application::OpenHelp(QWidget* parent) {
    const std::string path = HelpFile();
    if (path.empty()) {
        QString where;
        for (const std::string& p : HelpLocations()) where += "\n" + QString::fromStdString(p);
        ShowText(parent, MessageKind::Information,
                 QStringLiteral("No help was found. Help is looked for in this order:") + where);
        return false;
    }
    const QUrl url = QUrl::fromLocalFile(QString::fromStdString(path));
    if (urlOpener_ ? urlOpener_(url) : QDesktopServices::openUrl(url)) return true;
    ShowText(parent, MessageKind::Warning,
             QStringLiteral("The help file %1 could not be opened: the desktop has no program "
                            "set up to show it.")
                 .arg(QString::fromStdString(path)));
    return false;
}

void Application::PrinterSetup(QWidget* parent) {
    QPageSetupDialog dialog(&Printer(), parent);
    dialog.setFont(FontForCharset(dialog.font(), Charset()));
    dialog.exec();
}

void Application::About(QWidget* parent) {
    auto* box = new CAboutDialog(*this, parent);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->open();
}

} // namespace zor
