// The main frame: command table, menu and toolbar, prerequisites, titles table, status prompts,
// progress indicator, help, the start-up picture and quitting; and the program's start.
#include "charts/CBarChart.h"
#include "charts/qt/CGraphFrame.h"
#include "core/Bytes.h"
#include "core/MenuCaptions.h"
#include "grids/CTables.h"
#include "grids/qt/CGridWidget.h"
#include "shell/CAboutDialog.h"
#include "shell/CMainFrame.h"
#include "shell/CParameterDialog.h"
#include "shell/CStartupPicture.h"
#include "shell/UiText.h"
#include "tests/shell/ShellTestDb.h"
#include "views/ViewTable.h"

#include <QApplication>
#include <QLabel>
#include <QListWidget>
#include <QMenuBar>
#include <QProcess>
#include <QStatusBar>
#include <QTest>
#include <QToolBar>

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <set>

namespace zor {
namespace {

using test::StartedApp;

// Whether a command is an item of some view's frame menu (the map frame's "Slide view" opens the
// slide show), rather than of the main frame.
bool InAViewFrameMenu(int id) {
    std::function<bool(const std::vector<charts::MenuItem>&)> has = [&](const auto& items) {
        for (const charts::MenuItem& item : items)
            if ((item.kind == charts::MenuItem::Command && item.id == id) || has(item.items))
                return true;
        return false;
    };
    for (const charts::ViewEntry& v : views::AllViews())
        if (v.frameMenu && has(v.frameMenu())) return true;
    return false;
}

// What each command that opens a window needs of the selection.
unsigned ExpectedNeeds(int id) {
    using namespace charts;
    constexpr unsigned I = NeedIndicators, R = NeedRegions, P = NeedPeriods;
    switch (id) {
    case CmdMap:
    case CmdRankedBarChart:
    case CmdHorizontalRankedBarChart:
    case CmdScattergram:
    case CmdHistogram:
    case CmdTableA:
    case CmdTableE:
        return I | P;
    case CmdBarChart:
    case CmdLineChartC:
    case CmdBoxplotByValue:
    case CmdBoxplotByRank:
        return I | R | P;
    case CmdLineChartA:
    case CmdLineChartB:
    case CmdTableB:
    case CmdTableC:
        return I | R;
    case CmdRegionProfile:
        return R | P;
    case CmdTableD:
        return I;
    case CmdDefinitions:
        return NeedDefinitionsFile | I;
    default:
        return NeedNothing;
    }
}

// Every command that opens a window gets a registered window that records the call (standing
// in for views of the view table too), with the command's prerequisites.
struct RecordingViews {
    std::vector<int> opened;
    std::vector<int> ids;
    RecordingViews() {
        for (const CommandInfo& c : MainFrameCommands()) {
            if (c.kind != CommandKind::Opens) continue;
            ids.push_back(c.id);
            const int id = c.id;
            WindowRegistry::Instance().Register(id, {ExpectedNeeds(id), [this, id](Application&) {
                                                         opened.push_back(id);
                                                         return new QWidget;
                                                     }});
        }
    }
    ~RecordingViews() {
        for (int id : ids) WindowRegistry::Instance().Unregister(id);
    }
};

void CollectMenu(const QList<QAction*>& actions, std::vector<int>& ids,
                 std::vector<QString>& popups) {
    for (QAction* a : actions) {
        if (a->menu()) {
            popups.push_back(a->text());
            CollectMenu(a->menu()->actions(), ids, popups);
        } else if (!a->isSeparator()) {
            ids.push_back(CommandIdOf(a));
        }
    }
}

// A one-pixel bitmap file.
std::string TinyBmp() {
    ByteWriter w;
    w.bytes("BM");
    w.u32(14 + 40 + 4);
    w.u32(0);
    w.u32(14 + 40);
    w.u32(40);
    w.i32(1);
    w.i32(1);
    w.u16(1);
    w.u16(24);
    w.u32(0);
    w.u32(4);
    w.zeros(16);
    w.bytes(std::string("\x10\x20\x30\x00", 4));
    return w.data();
}

TEST(MainFrame, MenuAndToolbarHoldTheCommandTable) {
    StartedApp s(test::ThreeSets);
    CMainFrame frame(*s.app);
    std::vector<int> ids;
    std::vector<QString> popups;
    CollectMenu(frame.menuBar()->actions(), ids, popups);

    // Every command exactly once, with the caption of the menu resource and its prompt.
    std::set<int> unique(ids.begin(), ids.end());
    EXPECT_EQ(unique.size(), ids.size());
    ASSERT_EQ(ids.size(), MainFrameCommands().size());
    for (const CommandInfo& c : MainFrameCommands()) {
        QAction* a = frame.Action(c.id);
        ASSERT_NE(a, nullptr) << c.id;
        EXPECT_EQ(a->text(), QString::fromLatin1(CommandCaption(c.id))) << c.id;
        EXPECT_FALSE(a->statusTip().isEmpty()) << c.id;
        EXPECT_EQ(a->statusTip(), frame.StatusPrompt(c.id));
    }
    EXPECT_EQ(frame.Action(1010)->text(), "Select &Parameters");
    EXPECT_EQ(frame.Action(3022)->statusTip(), "To view Horizontical Ranked Bar Chart...");
    EXPECT_EQ(frame.Action(6000)->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_Q));
    EXPECT_EQ(frame.Action(1040)->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_P));
    EXPECT_EQ(s.app->MainWindow(), &frame);
    EXPECT_EQ(s.app->Progress(), frame.Progress());

    const auto bar = frame.menuBar()->actions();
    ASSERT_EQ(bar.size(), 4);
    EXPECT_EQ(bar[0]->text(), "&Parameters");
    EXPECT_EQ(bar[1]->text(), "&Graphs");
    EXPECT_EQ(bar[2]->text(), "&Tables");
    EXPECT_EQ(bar[3]->text(), "&Help");

    // Toolbar: 1010 | 2000 | eight charts | five tables.
    std::vector<int> tools;
    for (QAction* a : frame.ToolBar()->actions())
        tools.push_back(a->isSeparator() ? 0 : CommandIdOf(a));
    EXPECT_EQ(tools, MainFrameToolbar());
    for (int id : tools) {
        if (id == 0) continue;
        EXPECT_FALSE(frame.Action(id)->icon().isNull()) << id;
    }
    EXPECT_EQ(frame.Action(3061)->toolTip(), "Boxplots: By value");
    EXPECT_EQ(frame.windowTitle(), "zorgui2");
}

TEST(MainFrame, ViewMenusGetPrintAndQuitShortcuts) {
    QMenuBar bar;
    QMenu* file = bar.addMenu("Print");
    QAction* print = file->addAction("Print");
    SetCommandId(print, 1098);
    QMenu* sub = file->addMenu("More");
    QAction* quit = sub->addAction("Quit");
    SetCommandId(quit, 6000);
    QAction* other = file->addAction("Scale");
    SetCommandId(other, 1094);
    ApplyStandardShortcuts(&bar);
    EXPECT_EQ(print->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_P));
    EXPECT_EQ(quit->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_Q));
    EXPECT_TRUE(other->shortcut().isEmpty());
}

TEST(MainFrame, CommandsAreEnabledByTheViewTableOrARegisteredWindow) {
    StartedApp s(test::ThreeSets);
    CMainFrame frame(*s.app);
    for (int id : {1010, 1030, 5010, 5030, 6000}) EXPECT_TRUE(frame.Action(id)->isEnabled()) << id;
    // Views of the table are enabled, with the prerequisites of the command table; a view
    // opened from another view's frame is not in the main frame's menu.
    for (const charts::ViewEntry& v : views::AllViews()) {
        if (InAViewFrameMenu(v.command)) {
            EXPECT_EQ(frame.Action(v.command), nullptr) << v.command;
            continue;
        }
        ASSERT_NE(frame.Action(v.command), nullptr) << v.command;
        EXPECT_TRUE(frame.Action(v.command)->isEnabled()) << v.command;
        EXPECT_EQ(v.needs, ExpectedNeeds(v.command)) << v.command;
    }
    EXPECT_TRUE(frame.Action(3010)->isEnabled());
    EXPECT_EQ(frame.ExecuteCommand(1234), CMainFrame::Outcome::Unknown);

    // Commands without a view or window are disabled until a window is registered.
    for (const CommandInfo& c : MainFrameCommands()) {
        if (c.kind != CommandKind::Opens || views::FindViewByCommand(c.id)) continue;
        EXPECT_FALSE(frame.Action(c.id)->isEnabled()) << c.id;
        EXPECT_EQ(frame.ExecuteCommand(c.id), CMainFrame::Outcome::Disabled) << c.id;
    }
    int calls = 0;
    WindowRegistry::Instance().Register(1040, {charts::NeedNothing, [&](Application&) {
                                                   ++calls;
                                                   return nullptr;
                                               }});
    EXPECT_TRUE(frame.Action(1040)->isEnabled());
    EXPECT_EQ(frame.ExecuteCommand(1040), CMainFrame::Outcome::NothingOpened);
    WindowRegistry::Instance().Unregister(1040);
    EXPECT_EQ(frame.Action(1040)->isEnabled(), views::FindViewByCommand(1040) != nullptr);
    EXPECT_EQ(calls, 1);
}

TEST(MainFrame, TablesOpenInTheirFramesWithTheGridWidget) {
    StartedApp s(test::ThreeSets);
    CMainFrame frame(*s.app);
    s.app->CurrentSelection().Confirm(10000, {{0, "Inhabitants"}},
                                      {{MakeRegionKey(10000, 1), "North"}}, {{2000, "2000"}});
    ASSERT_EQ(frame.ExecuteCommand(CmdTableA), CMainFrame::Outcome::Done);
    ASSERT_EQ(frame.ViewFrames().size(), 1u);
    auto* opened = qobject_cast<charts::qt::CGraphFrame*>(frame.ViewFrames().front());
    ASSERT_NE(opened, nullptr);
    EXPECT_EQ(opened->windowTitle(), "Table A - Inhabitants");
    EXPECT_NE(dynamic_cast<grids::CTableA*>(&opened->View()), nullptr);
    EXPECT_NE(qobject_cast<grids::qt::CGridWidget*>(opened->ViewWidget()), nullptr);
    EXPECT_TRUE(QTest::qWaitFor([&] { return opened->Ready(); }));
    // Tables show missing values instead of reporting them.
    EXPECT_TRUE(s.messages.empty());
}

TEST(MainFrame, BarChartOpensInItsFrame) {
    StartedApp s(test::ThreeSets);
    CMainFrame frame(*s.app);
    s.app->CurrentSelection().Confirm(10000, {{0, "Inhabitants"}},
                                      {{MakeRegionKey(10000, 1), "North"}}, {{2000, "2000"}});
    ASSERT_EQ(frame.ExecuteCommand(CmdBarChart), CMainFrame::Outcome::Done);
    ASSERT_EQ(frame.ViewFrames().size(), 1u);
    auto* opened = qobject_cast<charts::qt::CGraphFrame*>(frame.ViewFrames().front());
    ASSERT_NE(opened, nullptr);
    EXPECT_EQ(opened->ResourceId(), MenuBarChart);
    EXPECT_EQ(opened->windowTitle(), "Bar Chart - Inhabitants");
    // A window of its own, owned by the main frame (so it stays in front of it).
    EXPECT_TRUE(opened->isWindow());
    EXPECT_EQ(opened->parentWidget(), &frame);
    EXPECT_NE(dynamic_cast<charts::CBarChart*>(&opened->View()), nullptr);
    EXPECT_TRUE(QTest::qWaitFor([&] { return opened->Ready(); }));
    // No values in the test database: the report goes through the program's message boxes.
    EXPECT_EQ(s.messages, std::vector<QString>{"Sorry, no data!"});
}

TEST(MainFrame, PrerequisitesOfTheViewCommands) {
    StartedApp s(test::ThreeSets);
    RecordingViews views;
    CMainFrame frame(*s.app);
    const QString needParams =
        "Select required parameters first (Indicators, Regions, Time periods) !";

    // Empty selection: only the commands without prerequisites open.
    for (int id : views.ids) {
        const auto outcome = frame.ExecuteCommand(id);
        const bool free = id == 1020 || id == 1040 || id == 3090;
        const auto expected = id == 5020 ? CMainFrame::Outcome::MissingDefinitions
                              : free     ? CMainFrame::Outcome::Done
                                         : CMainFrame::Outcome::MissingPrerequisites;
        EXPECT_EQ(outcome, expected) << id;
    }
    EXPECT_EQ(views.opened, (std::vector<int>{1020, 1040, 3090}));
    ASSERT_FALSE(s.messages.empty());
    EXPECT_EQ(s.messages.front(), needParams);
    EXPECT_EQ(frame.ViewFrames().size(), 3u);

    Selection& sel = s.app->CurrentSelection();
    const ListItem ind{0, "Inhabitants"}, reg{MakeRegionKey(10000, 1), "North"}, per{2000, "2000"};
    views.opened.clear();
    sel.Confirm(10000, {ind}, {}, {});
    EXPECT_EQ(frame.ExecuteCommand(4040), CMainFrame::Outcome::Done); // indicators only
    EXPECT_EQ(frame.ExecuteCommand(4020), CMainFrame::Outcome::MissingPrerequisites);
    sel.Confirm(10000, {}, {reg}, {per});
    EXPECT_EQ(frame.ExecuteCommand(3082), CMainFrame::Outcome::Done); // no indicators needed
    EXPECT_EQ(frame.ExecuteCommand(2000), CMainFrame::Outcome::MissingPrerequisites);
    sel.Confirm(10000, {ind}, {}, {per});
    EXPECT_EQ(frame.ExecuteCommand(2000), CMainFrame::Outcome::Done);
    EXPECT_EQ(frame.ExecuteCommand(3010), CMainFrame::Outcome::MissingPrerequisites);
    EXPECT_EQ(frame.ExecuteCommand(3031), CMainFrame::Outcome::MissingPrerequisites);
    sel.Confirm(10000, {ind}, {reg}, {per});
    EXPECT_EQ(frame.ExecuteCommand(3010), CMainFrame::Outcome::Done);
    EXPECT_EQ(views.opened, (std::vector<int>{4040, 3082, 2000, 3010}));

    // Definitions: the file first, then the indicators.
    s.messages.clear();
    EXPECT_EQ(frame.ExecuteCommand(5020), CMainFrame::Outcome::MissingDefinitions);
    ASSERT_EQ(s.messages.size(), 1u);
    EXPECT_EQ(s.messages[0], "Can not find definitions file!");
    test::WriteFile(s.dir.file("inddef.bin"), "x");
    sel.Confirm(10000, {}, {reg}, {per});
    EXPECT_EQ(frame.ExecuteCommand(5020), CMainFrame::Outcome::MissingPrerequisites);
    sel.Confirm(10000, {ind}, {}, {});
    EXPECT_EQ(frame.ExecuteCommand(5020), CMainFrame::Outcome::Done);

    // Closing the main frame closes the views opened from it.
    frame.show();
    QWidget* view = frame.ViewFrames().front();
    ASSERT_TRUE(view->isVisible());
    frame.ExecuteCommand(6000);
    EXPECT_FALSE(frame.isVisible());
    EXPECT_FALSE(view->isVisible());
}

TEST(MainFrame, TitlesTableReplacesMenuTextsAndPrompts) {
    StartedApp s([](const std::string& dir) {
        auto f = test::ThreeSets(dir);
        f.Title(1010, "Select &Parameters", "Choose &data")
            .Title(11010, "To select parameters: indicators, regions and time periods...",
                   "Choose what to look at")
            .Title(2, "&Graphs", "&Charts")
            .Title(3, "Boxplots", "Box diagrams") // found without the mnemonic marker
            .Title(4040, "Table &D", "")          // empty replacement: keeps the default
            .Title(25001, "zorgui2", "ZOR Viewer")
            .Title(13050, "To view Scattergram...", "Scatter \xE9t\xE9"); // Windows-1252
        return f;
    });
    CMainFrame frame(*s.app);
    EXPECT_EQ(frame.Action(1010)->text(), "Choose &data");
    EXPECT_EQ(frame.Action(1010)->statusTip(), "Choose what to look at");
    EXPECT_EQ(frame.Action(1020)->text(), "Setup &Temporary Indicators");
    EXPECT_EQ(frame.Action(4040)->text(), "Table &D");
    EXPECT_EQ(frame.Action(3050)->statusTip(), QString::fromUtf8("Scatter \u00e9t\u00e9"));
    EXPECT_EQ(frame.menuBar()->actions()[1]->text(), "&Charts");
    EXPECT_EQ(frame.Action(3061)->toolTip(), "Box diagrams: By value");
    EXPECT_EQ(frame.windowTitle(), "ZOR Viewer");

    // The prompt reaches the status bar when the item is hovered.
    frame.show();
    frame.Action(1010)->showStatusText(&frame);
    EXPECT_EQ(frame.statusBar()->currentMessage(), "Choose what to look at");

    // Translating again starts from the default texts.
    TranslateMenu(frame.menuBar(), s.app->Titles(), s.app->Charset());
    EXPECT_EQ(frame.Action(1010)->text(), "Choose &data");
}

TEST(MainFrame, ProgressIndicatorPlacement) {
    const QRect client(0, 0, 800, 22);
    EXPECT_EQ(ProgressPlacement(client, 1, 0), QRect(QPoint(530, 2), QPoint(779, 21)));
    EXPECT_EQ(ProgressPlacement(client, 2, 600), QRect(QPoint(346, 2), QPoint(595, 21)));
    EXPECT_EQ(ProgressPlacement(QRect(0, 0, 100, 22), 1, 0).left(), 0); // narrow window

    StartedApp s(test::ThreeSets);
    CMainFrame frame(*s.app);
    frame.resize(900, 600);
    frame.show();
    QApplication::processEvents();
    const QRect bar = frame.statusBar()->rect();
    const QRect p = frame.Progress()->geometry();
    EXPECT_EQ(p.right(), bar.right() - 20);
    EXPECT_EQ(p.width(), 250);
    EXPECT_EQ(p.top(), 2);
    frame.resize(700, 500);
    QApplication::processEvents();
    EXPECT_EQ(frame.Progress()->geometry().right(), frame.statusBar()->rect().right() - 20);

    // What a table load reports.
    LoadProgress& sink = *frame.Progress();
    sink.SetRange(12);
    sink.SetPosition(5);
    EXPECT_EQ(frame.Progress()->maximum(), 12);
    EXPECT_EQ(frame.Progress()->value(), 5);
    sink.SetPosition(0);
    EXPECT_EQ(frame.Progress()->value(), 0);
}

TEST(MainFrame, HelpFallsBackFromHlpToChmToTheManualToAMessage) {
    StartedApp s(test::ThreeSets);
    std::vector<QUrl> opened;
    s.app->SetUrlOpener([&](const QUrl& u) {
        opened.push_back(u);
        return true;
    });
    CMainFrame frame(*s.app);
    // Nothing there: a message says where help is looked for, in order.
    frame.ExecuteCommand(CmdHelpContents);
    EXPECT_TRUE(opened.empty());
    ASSERT_EQ(s.messages.size(), 1u);
    const QStringList lines = s.messages[0].split(u'\n');
    ASSERT_EQ(lines.size(), 5);
    EXPECT_EQ(lines[1], QString::fromStdString(s.dir.file("zor2.hlp")));
    EXPECT_EQ(lines[2], QString::fromStdString(s.dir.file("zor2.chm")));
    EXPECT_EQ(lines[3], QString::fromStdString(s.dir.file("manual/index.html")));
    EXPECT_EQ(lines[4], "/share/zorgui2/manual/index.html"); // beside /nonexistent-exe-dir/

    // Our manual, then a .chm, then a .hlp file: each is preferred to the ones before.
    std::filesystem::create_directories(s.dir.file("manual"));
    test::WriteFile(s.dir.file("manual/index.html"), "<html></html>");
    frame.ExecuteCommand(CmdHelpContents);
    ASSERT_EQ(opened.size(), 1u);
    EXPECT_EQ(opened[0].toLocalFile(), QString::fromStdString(s.dir.file("manual/index.html")));

    test::WriteFile(s.dir.file("ZOR2.CHM"), "chm");
    frame.ExecuteCommand(CmdHelpContents);
    ASSERT_EQ(opened.size(), 2u);
    EXPECT_EQ(opened[1].toLocalFile(), QString::fromStdString(s.dir.file("ZOR2.CHM")));

    test::WriteFile(s.dir.file("zor2.hlp"), "hlp");
    frame.ExecuteCommand(CmdHelpContents);
    ASSERT_EQ(opened.size(), 3u);
    EXPECT_EQ(opened[2].toLocalFile(), QString::fromStdString(s.dir.file("zor2.hlp")));
    EXPECT_EQ(s.messages.size(), 1u);

    // A desktop without a viewer for the file: a message says so instead of nothing happening.
    s.app->SetUrlOpener([](const QUrl&) { return false; });
    frame.ExecuteCommand(CmdHelpContents);
    ASSERT_EQ(s.messages.size(), 2u);
    EXPECT_TRUE(s.messages[1].contains(QString::fromStdString(s.dir.file("zor2.hlp"))));
    EXPECT_TRUE(s.messages[1].contains("could not be opened"));
}

TEST(MainFrame, HelpFindsTheManualInstalledBesideTheProgram) {
    test::TempDir dir;
    std::filesystem::create_directories(dir.file("data"));
    std::filesystem::create_directories(dir.file("share/zorgui2/manual"));
    test::ThreeSets(dir.file("data/")).Write();
    test::WriteFile(dir.file("share/zorgui2/manual/index.html"), "<html></html>");
    Application app;
    PlatformInfo platform = test::PlatformFor(dir.file("data/"));
    platform.executableDirectory = dir.file("bin/");
    ASSERT_TRUE(app.StartUp(platform)) << app.Store().StartupError();
    EXPECT_EQ(app.HelpFile(), dir.file("share/zorgui2/manual/index.html"));
}

TEST(MainFrame, AboutBoxListsTheDescription) {
    EXPECT_EQ(DescriptionLines("one\r\ntwo\rthree\r\n\r\nfour"),
              (std::vector<std::string>{" one", " two", " three", " ", " four"}));

    StartedApp s(test::ThreeSets);
    CMainFrame frame(*s.app);
    frame.show();
    ASSERT_EQ(frame.ExecuteCommand(5030), CMainFrame::Outcome::Done);
    auto* about = frame.findChild<CAboutDialog*>();
    ASSERT_NE(about, nullptr);
    EXPECT_EQ(about->windowTitle(), "About zorgui2");
    auto* list = about->findChild<QListWidget*>();
    ASSERT_NE(list, nullptr);
    const auto lines = DescriptionLines(AboutDescription());
    ASSERT_EQ(list->count(), int(lines.size()));
    EXPECT_EQ(list->item(0)->text().toStdString(), lines[0]);
    EXPECT_TRUE(list->font().fixedPitch());
    bool titled = false;
    for (auto* l : about->findChildren<QLabel*>())
        titled = titled || l->text() == "zorgui2 Version 2.0";
    EXPECT_TRUE(titled);
    about->accept();
}

TEST(MainFrame, WithoutPictureTheDialogOpensAtOnce) {
    StartedApp s(test::ThreeSets);
    CMainFrame frame(*s.app);
    frame.show();
    frame.ShowStartupPicture();
    EXPECT_EQ(CStartupPicture::Current(), nullptr);
    QApplication::processEvents();
    ASSERT_NE(frame.ParameterDialog(), nullptr);
    EXPECT_TRUE(frame.ParameterDialog()->isVisible());
    // A second "Select Parameters" raises the same dialog.
    CParameterDialog* first = frame.ParameterDialog();
    frame.ExecuteCommand(1010);
    EXPECT_EQ(frame.ParameterDialog(), first);
    first->reject();
}

TEST(MainFrame, PictureClosesOnFirstInputThenTheDialogOpens) {
    StartedApp s(test::ThreeSets);
    test::WriteFile(s.dir.file("front.bmp"), TinyBmp());
    CMainFrame frame(*s.app);
    frame.show();
    frame.ShowStartupPicture();
    CStartupPicture* picture = CStartupPicture::Current();
    ASSERT_NE(picture, nullptr);
    EXPECT_EQ(picture->Image().size(), QSize(1, 1));
    EXPECT_LE((picture->geometry().center() - frame.geometry().center()).manhattanLength(), 4);
    EXPECT_EQ(picture->Image().pixelColor(0, 0), QColor(0x30, 0x20, 0x10));
    EXPECT_TRUE(picture->Timer().isActive());
    EXPECT_EQ(picture->Timer().interval(), 6000);
    frame.ShowStartupPicture(); // one picture at a time
    EXPECT_EQ(CStartupPicture::Current(), picture);
    QApplication::processEvents();
    EXPECT_EQ(frame.ParameterDialog(), nullptr);

    // A key press anywhere closes it and is not passed on.
    QTest::keyClick(&frame, Qt::Key_Q, Qt::ControlModifier);
    EXPECT_EQ(CStartupPicture::Current(), nullptr);
    EXPECT_TRUE(frame.isVisible()); // Ctrl+Q did not quit
    QApplication::processEvents();
    ASSERT_NE(frame.ParameterDialog(), nullptr);
    frame.ParameterDialog()->reject();
}

TEST(MainFrame, PictureClosesWhenItsTimeIsUp) {
    StartedApp s(test::ThreeSets);
    test::WriteFile(s.dir.file("FRONT.BMP"), TinyBmp());
    CMainFrame frame(*s.app);
    frame.show();
    frame.ShowStartupPicture();
    CStartupPicture* picture = CStartupPicture::Current();
    ASSERT_NE(picture, nullptr);
    QMetaObject::invokeMethod(const_cast<QTimer*>(&picture->Timer()), "timeout");
    EXPECT_EQ(CStartupPicture::Current(), nullptr);
    QApplication::processEvents();
    ASSERT_NE(frame.ParameterDialog(), nullptr);
    frame.ParameterDialog()->reject();
}

TEST(MainFrame, BrokenPictureCountsAsMissing) {
    StartedApp s(test::ThreeSets);
    std::string bmp = TinyBmp();
    bmp.resize(bmp.size() - 2);
    test::WriteFile(s.dir.file("front.bmp"), bmp);
    CMainFrame frame(*s.app);
    frame.show();
    frame.ShowStartupPicture();
    EXPECT_EQ(CStartupPicture::Current(), nullptr);
    QApplication::processEvents();
    ASSERT_NE(frame.ParameterDialog(), nullptr);
    frame.ParameterDialog()->reject();
}

TEST(Program, StartupFailureEndsWithoutWindowAndNamesTheFile) {
    test::TempDir dir;
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QT_QPA_PLATFORM", "offscreen");
    env.insert("ASAN_OPTIONS", "detect_leaks=0");
    env.insert("XDG_RUNTIME_DIR", QString::fromStdString(dir.path()));
    p.setProcessEnvironment(env);
    p.start(QStringLiteral(ZOR_BIN_DIR "/zorgui2"),
            {QStringLiteral("-style"), QStringLiteral("fusion"),
             QString::fromStdString("DIR=" + dir.path())});
    ASSERT_TRUE(p.waitForFinished(60000));
    EXPECT_EQ(p.exitCode(), 2);
    const QString err = QString::fromLocal8Bit(p.readAllStandardError()).trimmed();
    EXPECT_EQ(err.count(u'\n'), 0) << err.toStdString();
    EXPECT_TRUE(err.contains(QString::fromStdString(dir.path() + "zorgui.cfg")))
        << err.toStdString();
    EXPECT_TRUE(p.readAllStandardOutput().isEmpty());
}

} // namespace
} // namespace zor
