// The indicator windows on the offscreen platform: the temporary-indicator editor (its tree,
// form, type list, 'Select indicator', Save list, blocking the main window), the indicator-list
// window (printing to PDF, exporting), the definitions viewer, and the main frame's commands
// 1020, 1040 and 5020 from defining a temporary indicator to seeing it in a table.
#include "shell/IndicatorWindows.h"
#include "charts/qt/CGraphFrame.h"
#include "core/DataStore.h"
#include "core/Formats.h"
#include "core/Selection.h"
#include "grids/CTables.h"
#include "indicators/qt/CDefinWnd.h"
#include "indicators/qt/CPrintInds.h"
#include "indicators/qt/CSelectIndicator.h"
#include "indicators/qt/CTempIndSetup.h"
#include "shell/CMainFrame.h"
#include "tests/shell/ShellTestDb.h"
#include "tests/support/StartedStore.h"

#include <QApplication>
#include <QGroupBox>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPrinter>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QStackedWidget>
#include <QTest>

#include <gtest/gtest.h>

namespace zor::indicators::qt {
namespace {

// One set (North, South and the total); group 0 "Population" (Inhabitants with Men and Women,
// Density), group 1 "Health" (Life expectancy), group 2 "Economy" (GDP per person); 2000.
// Slot 5 holds "Ratio of men".
void Catalogue(test::Fixture& f) {
    f.Set(10000, "Country", {"North", "South", "Total"});
    f.Group(0, "Population").Indicator(0, "Inhabitants", {"Men", "Women"}).Indicator(10, "Density");
    f.Group(1, "Health").Indicator(1000, "Life expectancy");
    f.Group(2, "Economy").Indicator(2010, "GDP per person");
    f.Periods({2000});
    f.Values(10000, 2000, 1000, {50, 60, 55});
    f.Values(10000, 2000, 2010, {1000, 3000, 2000});
    TempIndicatorDef t;
    t.code = 10005;
    t.name = "Ratio of men";
    t.operation = Ratio;
    t.operandA = 1;
    t.operandB = 0;
    t.parameters[0] = 100;
    f.Temp(t);
}

charts::qt::UiServices Ui(const DataStore& store, std::vector<QString>* messages = nullptr) {
    charts::qt::UiServices ui;
    ui.titles = &store.Titles();
    ui.charset = store.Charset();
    if (messages)
        ui.showMessage = [messages](QWidget*, const QString& text, bool) {
            messages->push_back(text);
        };
    return ui;
}

Selection WithTemporary() {
    Selection s;
    s.Confirm(10000, {{10, "Density"}, {10005, " Ratio of men"}},
              {{MakeRegionKey(10000, 1), "North"}}, {{2000, "2000"}});
    return s;
}

// --- The editor ----------------------------------------------------------------------------------

struct Editor {
    test::StartedStore db{Catalogue};
    Selection selection = WithTemporary();
    QWidget main;
    std::vector<QString> messages;
    QPointer<CTempIndSetup> window;
    Editor() {
        main.show();
        window = CTempIndSetup::Open(db.store, selection, Ui(db.store), &main);
        EXPECT_TRUE(window);
        window->messageHook = [this](const QString& t) { messages.push_back(t); };
        window->show();
    }
    ~Editor() {
        if (window) window->close();
    }
    CTmpDlgView& Form() { return *window->Form(); }
    const TempPage& Page(int dialog) { return Form().Page(dialog); }
};

TEST(TempIndSetupWindow, OpensOnTheFirstDefinedSlotAndBlocksTheMainWindow) {
    Editor e;
    QTRY_VERIFY(e.window->isVisible());
    EXPECT_EQ(e.window->windowTitle(), "Setup temporary indicators");
    EXPECT_EQ(QApplication::activeModalWidget(), e.window.data());
    EXPECT_EQ(e.window->windowModality(), Qt::WindowModal);
    EXPECT_EQ(e.window->parentWidget(), &e.main);

    CTmpIndsTree* tree = e.window->Tree();
    EXPECT_EQ(tree->Root()->text(0), "Temporary indicators");
    ASSERT_EQ(tree->Root()->childCount(), 100);
    EXPECT_EQ(tree->SlotItem(0)->text(0), "10000 *");
    EXPECT_EQ(tree->SlotItem(5)->text(0), "10005 Ratio of men");
    EXPECT_EQ(tree->currentItem(), tree->SlotItem(5));

    EXPECT_EQ(e.Form().Code()->text(), "10005");
    EXPECT_EQ(e.Form().Title()->text(), "Ratio of men");
    EXPECT_EQ(e.Form().Type()->TypeAt(e.Form().Type()->currentIndex()), Ratio);
    EXPECT_EQ(e.Form().Pages()->currentIndex(), 1);
    EXPECT_EQ(e.Page(1).first->text(), "0001");
    EXPECT_EQ(e.Page(1).second->text(), "0000");
    EXPECT_EQ(e.Page(1).coefficient->text(), "100.000000");
    EXPECT_EQ(e.Page(5).first->text(), "0001"); // every page is filled
    EXPECT_TRUE(e.Form().DeleteButton()->isEnabled());
    EXPECT_FALSE(e.Form().InsertButton()->isEnabled());

    // Quit closes the window and gives the main window back.
    QAction* quit = e.window->menuBar()->actions().value(0);
    ASSERT_TRUE(quit);
    EXPECT_EQ(quit->text(), "Quit");
    quit->trigger();
    QTRY_VERIFY(!e.window);
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

TEST(TempIndSetupWindow, DefineAnIndicatorAndSaveTheList) {
    Editor e;
    CTmpIndsTree* tree = e.window->Tree();
    tree->setCurrentItem(tree->SlotItem(7));
    EXPECT_TRUE(e.Form().InsertButton()->isEnabled());
    EXPECT_FALSE(e.Form().Title()->isEnabled());
    EXPECT_FALSE(e.Form().Pages()->isVisible());

    QTest::mouseClick(e.Form().InsertButton(), Qt::LeftButton);
    EXPECT_EQ(tree->SlotItem(7)->text(0), "10007 10007");
    EXPECT_EQ(e.Form().Title()->text(), "10007");
    EXPECT_EQ(e.Form().Title()->selectedText(), "10007");
    EXPECT_EQ(e.Page(1).first->text(), "0000"); // D1 and D2
    EXPECT_EQ(e.Page(1).second->text(), "0010");
    EXPECT_TRUE(e.Form().Pages()->isVisible());

    QTest::keyClicks(e.Form().Title(), "GDP per person / life expectancy");
    e.window->pickHook = [](int field) -> std::optional<QString> {
        return field == 1 ? "2010 GDP per person" : "1000 Life expectancy";
    };
    QTest::mouseClick(e.Page(1).pickFirst, Qt::LeftButton);
    QTest::mouseClick(e.Page(1).pickSecond, Qt::LeftButton);
    EXPECT_EQ(e.Page(1).first->text(), "2010 GDP per person");
    EXPECT_EQ(e.Page(3).first->text(), "2010 GDP per person"); // all pages
    EXPECT_EQ(e.Page(2).second->text(), "1000 Life expectancy");
    e.Page(1).coefficient->selectAll();
    QTest::keyClicks(e.Page(1).coefficient, "1");
    EXPECT_EQ(e.Page(4).coefficient->text(), "1");

    QSignalSpy saved(e.window.data(), &CTempIndSetup::listSaved);
    QTest::mouseClick(e.Form().SaveListButton(), Qt::LeftButton);
    EXPECT_EQ(saved.count(), 1);
    EXPECT_TRUE(e.messages.empty()) << e.messages.front().toStdString();
    EXPECT_EQ(tree->SlotItem(7)->text(0), "10007 GDP per person / life expectancy");
    // The selection lost its temporary indicator; the catalogue reads the new list.
    ASSERT_EQ(e.selection.Indicators().size(), 1u);
    const IndicatorGroup& temps = e.db.store.Groups().back();
    ASSERT_EQ(temps.indicators.size(), 2u);
    EXPECT_EQ(temps.indicators[1].name, "GDP per person / life expectancy");
    const auto slots = ParseTempList(test::ReadFile(e.db.store.TempListPath()));
    ASSERT_TRUE(slots);
    const TempIndicatorDef& d = (*slots)[7];
    EXPECT_EQ(d.operation, Ratio);
    EXPECT_EQ(d.operandA, 2010);
    EXPECT_EQ(d.operandB, 1000);
    EXPECT_EQ(d.parameters[0], 1.0f);
}

TEST(TempIndSetupWindow, AWrongFieldKeepsTheSlotCurrentWithItsMessage) {
    Editor e;
    CTmpIndsTree* tree = e.window->Tree();
    e.Form().Title()->selectAll();
    QTest::keyClick(e.Form().Title(), Qt::Key_Delete);
    tree->setCurrentItem(tree->SlotItem(8));
    ASSERT_EQ(e.messages.size(), 1u);
    EXPECT_EQ(e.messages[0], "10005: Type a title.");
    EXPECT_EQ(tree->currentItem(), tree->SlotItem(5));
    EXPECT_EQ(e.window->Editor().Current(), 5);

    // The type list shows the page of the type chosen; type 7 wants the years.
    QTest::keyClicks(e.Form().Title(), "Average");
    CFormulaCombo* type = e.Form().Type();
    type->setCurrentIndex(type->IndexOf(MovingAverage));
    Q_EMIT type->activated(type->currentIndex());
    EXPECT_EQ(e.Form().Pages()->currentIndex(), 5);
    EXPECT_EQ(e.Page(5).box->title(), "Parameters");
    QTest::mouseClick(e.Form().SaveItemButton(), Qt::LeftButton);
    ASSERT_EQ(e.messages.size(), 2u);
    EXPECT_EQ(e.messages[1], "10005: The number of years must be a whole number from 1 to 99.");
    QTest::keyClicks(e.Page(5).years, "5");
    QTest::mouseClick(e.Form().SaveItemButton(), Qt::LeftButton);
    EXPECT_EQ(e.messages.size(), 2u);
    EXPECT_EQ(tree->SlotItem(5)->text(0), "10005 Average");
    EXPECT_EQ(e.window->Editor().Slots()[5].parameters[1], 5.0f);

    // Delete empties the slot at once.
    QTest::mouseClick(e.Form().DeleteButton(), Qt::LeftButton);
    EXPECT_EQ(tree->SlotItem(5)->text(0), "10005 *");
    EXPECT_TRUE(e.Form().InsertButton()->isEnabled());
    EXPECT_FALSE(e.Form().Type()->isEnabled());
}

TEST(TempIndSetupWindow, AFailedWriteSaysSoAndKeepsTheFile) {
    Editor e;
    const std::string before = test::ReadFile(e.db.store.TempListPath());
    e.window->writer = [](const std::string&, std::string_view) { return false; };
    QTest::mouseClick(e.Form().DeleteButton(), Qt::LeftButton);
    EXPECT_FALSE(e.window->SaveList());
    ASSERT_EQ(e.messages.size(), 1u);
    EXPECT_TRUE(e.messages[0].contains("could not be written")) << e.messages[0].toStdString();
    EXPECT_EQ(test::ReadFile(e.db.store.TempListPath()), before);
    EXPECT_EQ(e.selection.Indicators().size(), 2u);
}

TEST(TempIndSetupWindow, AFileThatIsNoListOpensNothing) {
    test::StartedStore db(Catalogue);
    test::WriteFile(db.store.TempListPath(), "not a list");
    Selection selection;
    std::vector<QString> messages;
    EXPECT_EQ(CTempIndSetup::Open(db.store, selection, Ui(db.store, &messages), nullptr), nullptr);
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_TRUE(messages[0].endsWith("tmplist.ind is not a temporary indicator list."));
}

TEST(TempIndSetupWindow, TheTypeListDrawsEachFormula) {
    CFormulaCombo combo(QStringLiteral("Moving average"));
    ASSERT_EQ(combo.count(), 7);
    EXPECT_EQ(combo.Delegate()->sizeHint({}, {}).height(), 47);
    // Each picture: ink on white, and no two alike.
    std::vector<QImage> pictures;
    for (int type = Ratio; type <= MovingAverage; ++type) {
        QImage image(240, 47, QImage::Format_RGB32);
        image.fill(Qt::white);
        QPainter painter(&image);
        combo.Delegate()->PaintFormula(painter, image.rect(), type, Qt::black);
        painter.end();
        int ink = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x) ink += image.pixel(x, y) != qRgb(255, 255, 255);
        EXPECT_GT(ink, 40) << type;
        for (const QImage& other : pictures) EXPECT_NE(other, image) << type;
        pictures.push_back(image);
    }
}

// --- 'Select indicator' --------------------------------------------------------------------------

TEST(SelectIndicatorDialog, GroupsAreReadWhenOpenedAndOnlyIndicatorsAreChosen) {
    test::StartedStore db(Catalogue);
    CSelectIndicator dialog(db.store, Ui(db.store));
    dialog.show();
    EXPECT_EQ(dialog.windowTitle(), "Select indicator");
    QTreeWidget* tree = dialog.Tree();
    ASSERT_EQ(tree->topLevelItemCount(), 3);
    QTreeWidgetItem* population = dialog.GroupItem(0);
    ASSERT_TRUE(population);
    EXPECT_EQ(population->text(0), "Population");
    EXPECT_EQ(population->childCount(), 0);
    EXPECT_TRUE(db.store.Groups()[0].indicators.empty());
    population->setExpanded(true);
    ASSERT_EQ(population->childCount(), 2);
    EXPECT_EQ(population->child(0)->text(0), "0000 Inhabitants");
    EXPECT_EQ(population->child(0)->child(1)->text(0), "0002 Women");
    EXPECT_EQ(population->child(1)->text(0), "0010 Density");

    // OK on a group does nothing.
    tree->setCurrentItem(population);
    QTest::mouseClick(dialog.OkButton(), Qt::LeftButton);
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(dialog.result(), 0);
    // OK on a variant chooses it.
    tree->setCurrentItem(population->child(0)->child(1));
    QTest::mouseClick(dialog.OkButton(), Qt::LeftButton);
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.Chosen(), "0002 Women");

    // A group read already is filled at once; a double click chooses.
    CSelectIndicator again(db.store, Ui(db.store));
    again.show();
    ASSERT_EQ(again.GroupItem(0)->childCount(), 2);
    Q_EMIT again.Tree()->itemDoubleClicked(again.GroupItem(0)->child(1), 0);
    EXPECT_EQ(again.result(), QDialog::Accepted);
    EXPECT_EQ(again.Chosen(), "0010 Density");
}

// --- The indicator list --------------------------------------------------------------------------

struct ListWindow {
    test::StartedStore db{Catalogue};
    QWidget main;
    QPrinter printer{QPrinter::HighResolution};
    QPointer<CPrintIndsFrame> window;
    ListWindow() {
        main.show();
        printer.setPageSize(QPageSize(QPageSize::A4));
        charts::qt::UiServices ui = Ui(db.store);
        ui.printer = [this] { return &printer; };
        window = new CPrintIndsFrame(db.store, ui, &main);
        window->show();
    }
    ~ListWindow() {
        if (window) window->close();
    }
};

TEST(PrintIndsWindow, GroupsModeAndThePrintButton) {
    ListWindow w;
    EXPECT_EQ(w.window->windowTitle(), "Print indicator list");
    EXPECT_EQ(QApplication::activeModalWidget(), w.window.data());
    QListWidget* groups = w.window->Groups();
    ASSERT_EQ(groups->count(), 3);
    EXPECT_EQ(groups->item(0)->text(), "Population");
    for (int i = 0; i < 3; ++i) EXPECT_EQ(groups->item(i)->checkState(), Qt::Checked);
    EXPECT_TRUE(w.window->FirstLevel()->isChecked());
    // Three headings, four indicators, two separators.
    EXPECT_EQ(w.window->ChosenLines().size(), 9u);

    for (int i = 0; i < 3; ++i) groups->item(i)->setCheckState(Qt::Unchecked);
    EXPECT_FALSE(w.window->PrintButton()->isEnabled());
    groups->item(0)->setCheckState(Qt::Checked);
    EXPECT_TRUE(w.window->PrintButton()->isEnabled());
    w.window->All()->setChecked(true);
    const auto lines = w.window->ChosenLines();
    ASSERT_EQ(lines.size(), 5u);
    EXPECT_EQ(lines[2].name, "Men");

    QTest::mouseClick(w.window->CancelButton(), Qt::LeftButton);
    QTRY_VERIFY(!w.window);
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

TEST(PrintIndsWindow, EscapeCancelsAsInADialog) {
    ListWindow w;
    w.window->activateWindow();
    QTest::keyClick(w.window->Groups(), Qt::Key_Escape);
    QTRY_VERIFY(!w.window);
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

TEST(PrintIndsWindow, PrintsToPdf) {
    ListWindow w;
    test::TempDir out;
    int offered = 0;
    bool hiddenWhileAsking = false;
    w.window->printAnswerHook = [&](QPrinter& p, int pages) {
        offered = pages;
        hiddenWhileAsking = !w.window->isVisible();
        p.setOutputFormat(QPrinter::PdfFormat);
        p.setOutputFileName(QString::fromStdString(out.file("list.pdf")));
        return charts::qt::PrintAnswer::Print;
    };
    QTest::mouseClick(w.window->PrintButton(), Qt::LeftButton);
    EXPECT_EQ(offered, 1);
    EXPECT_TRUE(hiddenWhileAsking);
    QTRY_VERIFY(!w.window);
    const std::string pdf = test::ReadFile(out.file("list.pdf"));
    ASSERT_EQ(pdf.substr(0, 4), "%PDF");
    const QString text = QString::fromLatin1(pdf.data(), static_cast<qsizetype>(pdf.size()));
    EXPECT_EQ(text.count(QRegularExpression("/Type\\s*/Page[^s]")), 1);
}

TEST(PrintIndsWindow, ExportsHtmlOrText) {
    for (const char* name : {"list.html", "list.TXT", "list.doc"}) {
        ListWindow w;
        test::TempDir out;
        const std::string path = out.file(name);
        const auto lines = w.window->ChosenLines();
        w.window->printAnswerHook = [](QPrinter&, int) { return charts::qt::PrintAnswer::Export; };
        w.window->fileDialogHook = [&] { return std::optional<std::string>(path); };
        QTest::mouseClick(w.window->PrintButton(), Qt::LeftButton);
        QTRY_VERIFY(!w.window);
        const std::string expected = std::string(name) == "list.html"
                                         ? ExportListHtml(lines, 1252, "Indicators")
                                     : std::string(name) == "list.TXT" ? ExportListText(lines)
                                                                       : "";
        EXPECT_EQ(test::ReadFile(path), expected) << name; // nothing at all for ".doc"
    }
}

// --- The definitions viewer ----------------------------------------------------------------------

TEST(DefinWnd, TreeAndTexts) {
    test::TempDir dir;
    test::WriteFile(dir.file("inddef.bin"),
                    test::DefinitionsFileBytes({{1010, "Income per head.\nIn dollars.\n"}}));
    QWidget main;
    charts::qt::UiServices ui;
    CDefinWnd window(dir.file("inddef.bin"), {{1010, "Income"}, {1011, "Income, men"}, {30, "X"}},
                     ui, &main);
    window.show();
    EXPECT_EQ(window.windowTitle(), "Indicator definitions");
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr); // the main window stays usable
    QTreeWidgetItem* root = window.Tree()->Root();
    ASSERT_TRUE(root);
    EXPECT_EQ(root->text(0), "Selected indicators");
    EXPECT_TRUE(root->isExpanded());
    EXPECT_EQ(window.Tree()->currentItem(), root);
    ASSERT_EQ(root->childCount(), 3);
    EXPECT_EQ(root->child(1)->text(0), "1011 Income, men");
    EXPECT_TRUE(window.TextPane()->toPlainText().isEmpty());
    EXPECT_TRUE(window.TextPane()->isReadOnly());
    EXPECT_TRUE(QFontInfo(window.TextPane()->font()).fixedPitch());
    EXPECT_EQ(window.TextPane()->font().pixelSize(), 16);

    window.SelectIndicator(1); // a variant shows its main indicator's definition
    EXPECT_EQ(window.TextPane()->toPlainText(), " Income per head.\n In dollars.\n ");
    window.SelectIndicator(2);
    EXPECT_EQ(window.TextPane()->toPlainText(), "\n\tDefinition is not found!\n");
    window.Tree()->setCurrentItem(root); // the root shows nothing new
    EXPECT_EQ(window.TextPane()->toPlainText(), "\n\tDefinition is not found!\n");
}

// --- From the main frame -------------------------------------------------------------------------

TEST(IndicatorCommands, DefineAnIndicatorThenSeeItInATableAndReadDefinitions) {
    RegisterIndicatorWindows();
    test::StartedApp app([](const std::string& dir) {
        test::Fixture f(dir);
        Catalogue(f);
        return f;
    });
    Application& a = *app.app;
    CMainFrame frame(a);
    frame.show();
    for (int id : {CmdTemporaryIndicators, CmdPrintIndicatorList, CmdDefinitions})
        EXPECT_TRUE(frame.Action(id)->isEnabled()) << id;

    // 1020: the editor, blocking the main frame.
    QWidget* opened = nullptr;
    QObject::connect(&frame, &CMainFrame::viewOpened, [&](int, QWidget* w) { opened = w; });
    ASSERT_EQ(frame.ExecuteCommand(CmdTemporaryIndicators), CMainFrame::Outcome::Done);
    QPointer<CTempIndSetup> editor = qobject_cast<CTempIndSetup*>(opened);
    ASSERT_TRUE(editor);
    EXPECT_EQ(QApplication::activeModalWidget(), editor.data());
    editor->SelectSlot(0);
    editor->Insert();
    TempEditor& rules = editor->Editor();
    rules.SetTitle("GDP per person / life expectancy");
    rules.SetFirst("2010");
    rules.SetSecond("1000");
    rules.SetCoefficient("1");
    ASSERT_TRUE(editor->SaveList());
    editor->close();
    QTRY_VERIFY(!editor);

    // A table opened afterwards computes it.
    a.CurrentSelection().Confirm(10000, {{10000, " GDP per person / life expectancy"}},
                                 {{MakeRegionKey(10000, 1), "North"}}, {{2000, "2000"}});
    ASSERT_EQ(frame.ExecuteCommand(CmdTableA), CMainFrame::Outcome::Done);
    auto* table = qobject_cast<charts::qt::CGraphFrame*>(opened);
    ASSERT_TRUE(table);
    QTRY_VERIFY(table->Ready());
    auto& view = dynamic_cast<grids::CTableA&>(table->View());
    ASSERT_GE(view.RowCount(), 2);
    EXPECT_EQ(view.ShownCell(0, 1), "20");
    EXPECT_EQ(view.ShownCell(1, 1), "50");
    table->close();

    // 1040: the list window.
    ASSERT_EQ(frame.ExecuteCommand(CmdPrintIndicatorList), CMainFrame::Outcome::Done);
    QPointer<QWidget> list = qobject_cast<CPrintIndsFrame*>(opened);
    ASSERT_TRUE(list);
    list->close();
    QTRY_VERIFY(!list);

    // 5020: the definitions file is needed, then indicators.
    EXPECT_EQ(frame.ExecuteCommand(CmdDefinitions), CMainFrame::Outcome::MissingDefinitions);
    test::WriteFile(app.dir.file("inddef.bin"),
                    test::DefinitionsFileBytes({{2010, "GDP divided by population.\n"}}));
    a.CurrentSelection().Confirm(10000, {}, {}, {});
    EXPECT_EQ(frame.ExecuteCommand(CmdDefinitions), CMainFrame::Outcome::MissingPrerequisites);
    a.CurrentSelection().Confirm(10000, {{2010, "GDP per person"}}, {}, {});
    ASSERT_EQ(frame.ExecuteCommand(CmdDefinitions), CMainFrame::Outcome::Done);
    auto* definitions = qobject_cast<CDefinWnd*>(opened);
    ASSERT_TRUE(definitions);
    definitions->SelectIndicator(0);
    EXPECT_EQ(definitions->TextPane()->toPlainText(), " GDP divided by population.\n ");
    definitions->close();
}

} // namespace
} // namespace zor::indicators::qt
