#include "shell/CMainFrame.h"

#include "charts/qt/FramePlacement.h"
#include "core/Bitmap.h"
#include "core/FileUtil.h"
#include "core/InddefReader.h"
#include "core/MenuCaptions.h"
#include "shell/Application.h"
#include "shell/CParameterDialog.h"
#include "shell/CStartupPicture.h"
#include "shell/Icons.h"
#include "shell/UiText.h"
#include "shell/ViewWindows.h"
#include "views/ViewTable.h"

#include <QCloseEvent>
#include <QMenuBar>
#include <QStatusBar>
#include <QToolBar>

#include <algorithm>

namespace zor {

CZORView::CZORView(QWidget* parent) : QWidget(parent) {
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, pal.color(QPalette::Button));
    setPalette(pal);
    setCursor(Qt::ArrowCursor);
}

QRect ProgressPlacement(const QRect& client, int parts, int firstPartRight, int width) {
    QRect r = client;
    r.setTop(r.top() + 2);
    const int right = parts < 2 ? client.right() - 20 : firstPartRight - 5;
    r.setRight(right);
    r.setLeft(std::max(client.left(), right - width + 1));
    return r;
}

CProgressIndicator::CProgressIndicator(QWidget* parent) : QProgressBar(parent) {
    setTextVisible(false);
    setRange(0, 1);
    setValue(0);
}

void CProgressIndicator::SetRange(int range) {
    setRange(0, std::max(range, 1));
    setValue(0);
}

void CProgressIndicator::SetPosition(int position) {
    setValue(std::clamp(position, minimum(), maximum()));
    // Loads run on the user-interface thread: draw now, not after the load.
    repaint();
}

CMainFrame::CMainFrame(Application& app, QWidget* parent) : QMainWindow(parent), app_(app) {
    setObjectName(QStringLiteral("CMainFrame"));
    setWindowIcon(ProgramIcon());
    setWindowTitle(app_.ProgramTitle());
    setFont(FontForCharset(font(), app_.Charset()));

    setCentralWidget(new CZORView(this));
    BuildMenu();
    BuildToolBar();

    QStatusBar* status = statusBar();
    status->setObjectName(QStringLiteral("StatusBar"));
    progress_ = new CProgressIndicator(status);
    progress_->setObjectName(QStringLiteral("Progress"));
    status->installEventFilter(this);
    PlaceProgress();

    app_.SetMainWindow(this, progress_);

    UpdateCommandStates();
    connect(&WindowRegistry::Instance(), &WindowRegistry::changed, this,
            [this](int) { UpdateCommandStates(); });
}

CMainFrame::~CMainFrame() {
    if (app_.MainWindow() == this) app_.SetMainWindow(nullptr, nullptr);
    for (auto& v : views_)
        if (v) delete v.data();
}

QMenu* CMainFrame::BuildPopup(const charts::MenuItem& popup, QWidget* parent) {
    auto* menu = new QMenu(QString::fromLatin1(popup.caption), parent);
    for (const charts::MenuItem& item : popup.items) {
        switch (item.kind) {
        case charts::MenuItem::Separator:
            menu->addSeparator();
            break;
        case charts::MenuItem::Popup:
            menu->addMenu(BuildPopup(item, menu));
            break;
        case charts::MenuItem::Command: {
            QAction* a = menu->addAction(QString::fromLatin1(CommandCaption(item.id)));
            SetCommandId(a, item.id);
            a->setStatusTip(StatusPrompt(item.id));
            const QIcon icon = CommandIcon(item.id);
            if (!icon.isNull()) {
                a->setIcon(icon);
                a->setIconVisibleInMenu(false); // the toolbar's pictures; menus stay text
            }
            const int id = item.id;
            connect(a, &QAction::triggered, this, [this, id] { ExecuteCommand(id); });
            actions_[id] = a;
            break;
        }
        }
    }
    return menu;
}

void CMainFrame::BuildMenu() {
    QMenuBar* bar = menuBar();
    for (const charts::MenuItem& popup : MainFrameMenu()) bar->addMenu(BuildPopup(popup, bar));
    TranslateMenu(bar, app_.Titles(), app_.Charset());
    ApplyStandardShortcuts(bar);
    UpdateToolTips();
}

void CMainFrame::UpdateToolTips() {
    // Toolbar tips name the command; an item of a sub-menu says which one ("Boxplots: By
    // value").
    for (auto& [id, a] : actions_) {
        QString tip = WithoutMnemonic(a->text()).trimmed();
        while (tip.endsWith(u'.')) tip.chop(1);
        tip = tip.trimmed();
        const auto widgets = a->associatedObjects();
        for (QObject* o : widgets) {
            auto* m = qobject_cast<QMenu*>(o);
            if (!m) continue;
            if (qobject_cast<QMenu*>(m->parent())) tip = WithoutMnemonic(m->title()) + ": " + tip;
            break;
        }
        a->setToolTip(tip);
    }
}

void CMainFrame::BuildToolBar() {
    toolBar_ = new QToolBar(this);
    toolBar_->setObjectName(QStringLiteral("ToolBar25001"));
    toolBar_->setWindowTitle(WithoutMnemonic(QStringLiteral("Toolbar")));
    toolBar_->setMovable(true);
    toolBar_->setFloatable(true);
    toolBar_->setAllowedAreas(Qt::AllToolBarAreas);
    for (int id : MainFrameToolbar()) {
        if (id == 0)
            toolBar_->addSeparator();
        else if (QAction* a = Action(id))
            toolBar_->addAction(a);
    }
    addToolBar(Qt::TopToolBarArea, toolBar_);
}

QAction* CMainFrame::Action(int id) const {
    auto it = actions_.find(id);
    return it != actions_.end() ? it->second : nullptr;
}

QString CMainFrame::StatusPrompt(int id) const {
    return app_.Text(id + PromptOffset);
}

void CMainFrame::UpdateCommandStates() {
    for (auto& [id, a] : actions_) {
        const CommandInfo* c = FindMainFrameCommand(id);
        a->setEnabled(c && (c->kind == CommandKind::Frame || WindowRegistry::Instance().Find(id) ||
                            views::FindViewByCommand(id)));
    }
}

CParameterDialog* CMainFrame::ParameterDialog() const {
    return paramDialog_.data();
}

std::vector<QWidget*> CMainFrame::ViewFrames() const {
    std::vector<QWidget*> out;
    for (const auto& v : views_)
        if (v) out.push_back(v.data());
    return out;
}

CMainFrame::Outcome CMainFrame::ExecuteCommand(int id) {
    const CommandInfo* c = FindMainFrameCommand(id);
    if (!c) return Outcome::Unknown;
    switch (id) {
    case CmdSelectParameters:
        OpenParameterDialog();
        return Outcome::Done;
    case CmdPrinterSetup:
        app_.PrinterSetup(this);
        return Outcome::Done;
    case CmdHelpContents:
        app_.OpenHelp(this);
        return Outcome::Done;
    case CmdAbout:
        app_.About(this);
        return Outcome::Done;
    case CmdQuit:
        close();
        return Outcome::Done;
    default:
        break;
    }
    // A registered window, else a view of the table.
    const WindowCommand* window = WindowRegistry::Instance().Find(id);
    const charts::ViewEntry* view = window ? nullptr : views::FindViewByCommand(id);
    if (!window && !view) return Outcome::Disabled;
    const unsigned needs = window ? window->needs : view->needs;
    if (needs & charts::NeedDefinitionsFile) {
        if (!FileExists(ResolvePath(DefinitionsFilePath(app_.Store().Settings())))) {
            app_.ShowMessage(this, MessageKind::Information, TextNoDefinitionsFile,
                             "Can not find definitions file!");
            return Outcome::MissingDefinitions;
        }
    }
    if (!charts::SelectionMeets(needs, app_.CurrentSelection())) {
        app_.ShowMessage(this, MessageKind::Warning, TextSelectFirst,
                         "Select required parameters first (Indicators, Regions, Time periods) !");
        return Outcome::MissingPrerequisites;
    }
    QWidget* frame = window ? window->open(app_) : MakeViewFrame(app_, *view);
    if (!frame) return Outcome::NothingOpened;
    views_.erase(std::remove_if(views_.begin(), views_.end(), [](const auto& v) { return !v; }),
                 views_.end());
    // Inside the screen below the toolbar, cascaded from the frame opened last.
    const QWidget* previous = views_.empty() ? nullptr : views_.back().data();
    charts::qt::PlaceNewFrame(frame, this, previous);
    views_.emplace_back(frame);
    frame->show();
    frame->raise();
    frame->activateWindow();
    Q_EMIT viewOpened(id, frame);
    return Outcome::Done;
}

void CMainFrame::PostCommand(int id) {
    QMetaObject::invokeMethod(
        this, [this, id] { ExecuteCommand(id); }, Qt::QueuedConnection);
}

void CMainFrame::OpenParameterDialog() {
    if (paramDialog_) {
        paramDialog_->raise();
        paramDialog_->activateWindow();
        return;
    }
    auto* dialog = new CParameterDialog(app_, this);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    connect(dialog, &QDialog::accepted, this,
            [this, dialog] { dialog->ApplyTo(app_.CurrentSelection()); });
    paramDialog_ = dialog;
    dialog->open();
}

void CMainFrame::ShowStartupPicture() {
    if (CStartupPicture::Current()) return;
    auto bmp = LoadBitmapFile(app_.DefinitionsDirectory() + "front.bmp");
    if (!bmp) {
        PostCommand(CmdSelectParameters);
        return;
    }
    auto* picture = new CStartupPicture(*bmp, this);
    connect(picture, &CStartupPicture::finished, this, [this] {
        update();
        PostCommand(CmdSelectParameters);
    });
    picture->CenterOverOwner();
    picture->show();
}

void CMainFrame::PlaceProgress() {
    QStatusBar* status = statusBar();
    progress_->setGeometry(ProgressPlacement(status->rect(), 1, 0));
    progress_->raise();
}

bool CMainFrame::eventFilter(QObject* watched, QEvent* event) {
    if (watched == statusBar() &&
        (event->type() == QEvent::Resize || event->type() == QEvent::Show))
        PlaceProgress();
    return QMainWindow::eventFilter(watched, event);
}

void CMainFrame::closeEvent(QCloseEvent* event) {
    // View frames are independent windows, but they go with the main frame.
    for (auto& v : views_)
        if (v) v->close();
    if (CStartupPicture* p = CStartupPicture::Current()) {
        disconnect(p, nullptr, this, nullptr);
        p->Finish();
    }
    event->accept();
}

} // namespace zor
