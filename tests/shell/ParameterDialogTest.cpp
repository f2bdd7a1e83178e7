// The "Select Parameters" window driven like a user: clicks on check boxes, Space, Shift-click,
// expansion, the mode controls, Load and Save, OK through the main frame; and the "Save
// selection" dialog.
#include "core/SavedSelections.h"
#include "shell/CCheckTree.h"
#include "shell/CMainFrame.h"
#include "shell/CParameterDialog.h"
#include "shell/CSaveSelectionDialog.h"
#include "tests/shell/ShellTestDb.h"

#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QTest>

#include <gtest/gtest.h>

namespace zor {
namespace {

using test::StartedApp;

void ClickBox(CCheckTree* tree, QTreeWidgetItem* item, Qt::KeyboardModifiers mods = {}) {
    tree->scrollToItem(item);
    const QRect box = tree->CheckBoxRect(item);
    ASSERT_FALSE(box.isEmpty());
    QTest::mouseClick(tree->viewport(), Qt::LeftButton, mods, box.center());
}

QStringList Texts(QListWidget* list) {
    QStringList out;
    for (int i = 0; i < list->count(); ++i) out << list->item(i)->text();
    return out;
}

bool Checked(QTreeWidgetItem* item) {
    return item->data(0, Qt::CheckStateRole).toInt() == Qt::Checked;
}

bool HasBox(QTreeWidgetItem* item) {
    return item->data(0, Qt::CheckStateRole).isValid();
}

struct OpenDialog {
    StartedApp s;
    std::unique_ptr<CParameterDialog> d;
    template <class Make> explicit OpenDialog(Make make) : s(make) {
        d = std::make_unique<CParameterDialog>(*s.app);
        d->show();
        QApplication::processEvents();
    }
    ParameterModel& m() { return d->Model(); }
};

TEST(ParameterDialog, ControlsAndTitles) {
    OpenDialog o([](const std::string& dir) {
        auto f = test::ThreeSets(dir);
        f.Title(10104, "Clear", "Wipe").Title(20001, "Select Parameters", "Choose");
        return f;
    });
    EXPECT_EQ(o.d->windowTitle(), "Choose");
    EXPECT_EQ(o.d->Button(10104)->text(), "Wipe");
    EXPECT_EQ(o.d->Button(10109)->text(), "Clear");
    EXPECT_EQ(o.d->Button(10117)->text(), " Clear");
    EXPECT_TRUE(o.d->ModeBox()->isVisible());
    EXPECT_EQ(o.d->ModeButton(2)->text(), "Small regions");
    EXPECT_TRUE(o.d->ModeButton(0)->isChecked());
    EXPECT_FALSE(o.d->SetCombo()->isEnabled());
    EXPECT_EQ(o.d->SetCombo()->count(), 2);
    EXPECT_EQ(o.d->SetCombo()->currentIndex(), -1);
    EXPECT_EQ(o.d->PeriodItem(0)->text(0), "First Available");
    EXPECT_EQ(o.d->IndicatorItem(0)->text(0), "01 Population");
    EXPECT_FALSE(HasBox(o.d->IndicatorItem(0)));
    EXPECT_EQ(o.d->IndicatorItem(0)->childIndicatorPolicy(), QTreeWidgetItem::ShowIndicator);
}

TEST(ParameterDialog, ShrinksBelowItsControlsAndScrollsToThem) {
    // On a screen smaller than the controls need (a large scale factor) the dialog fits and
    // scrolls, so that OK stays reachable.
    OpenDialog o(test::ThreeSets);
    const QSize least = o.d->minimumSizeHint();
    auto* scroll = o.d->findChild<QScrollArea*>();
    ASSERT_NE(scroll, nullptr);
    const QSize controls = scroll->widget()->minimumSizeHint();
    EXPECT_LT(least.width(), controls.width());
    EXPECT_LT(least.height(), controls.height());
    o.d->resize(controls / 2);
    QApplication::processEvents();
    EXPECT_LT(o.d->width(), controls.width());
    QPushButton* ok = o.d->Button(CtlOk);
    ASSERT_NE(ok, nullptr);
    EXPECT_TRUE(scroll->widget()->isAncestorOf(ok));
    EXPECT_GT(scroll->horizontalScrollBar()->maximum(), 0);
    scroll->ensureWidgetVisible(ok);
    const QPoint inView = ok->mapTo(scroll->viewport(), QPoint(0, 0));
    EXPECT_TRUE(scroll->viewport()->rect().contains(inView));
}

TEST(ParameterDialog, OneRegionSetHidesTheModes) {
    OpenDialog o(test::OneSet);
    EXPECT_FALSE(o.d->ModeBox()->isVisible());
    ClickBox(o.d->RegionTree(), o.d->RegionItem(0));
    EXPECT_EQ(Texts(o.d->SelectedRegionList()), QStringList{"001 East"});
    EXPECT_EQ(o.m().SetCode(), 10000);
}

TEST(ParameterDialog, ClickingAndSpaceCheckIndicators) {
    OpenDialog o(test::ThreeSets);
    CCheckTree* tree = o.d->IndicatorTree();
    QTreeWidgetItem* population = o.d->IndicatorItem(0);
    population->setExpanded(true); // the user opens the group: it loads
    QApplication::processEvents();
    ASSERT_EQ(population->childCount(), 2);
    QTreeWidgetItem* inhabitants = population->child(0);
    EXPECT_EQ(inhabitants->text(0), "0000 Inhabitants");
    EXPECT_FALSE(Checked(inhabitants));

    ClickBox(tree, inhabitants);
    EXPECT_TRUE(Checked(inhabitants));
    EXPECT_EQ(Texts(o.d->SelectedIndicatorList()), QStringList{"0000 Inhabitants"});

    // A click on the label, not the box, only selects.
    tree->scrollToItem(population->child(1));
    QTest::mouseClick(tree->viewport(), Qt::LeftButton, {},
                      tree->visualItemRect(population->child(1)).center() + QPoint(30, 0));
    EXPECT_FALSE(Checked(population->child(1)));

    // Space on the current item toggles it.
    tree->setFocus();
    tree->setCurrentItem(population->child(1));
    QTest::keyClick(tree, Qt::Key_Space);
    EXPECT_TRUE(Checked(population->child(1)));
    QTest::keyClick(tree, Qt::Key_Space);
    EXPECT_FALSE(Checked(population->child(1)));
    // Space on a group (no box) checks nothing.
    tree->setCurrentItem(population);
    QTest::keyClick(tree, Qt::Key_Space);
    EXPECT_EQ(o.m().CheckedIndicatorCodes(), (std::vector<int32_t>{0}));

    ClickBox(tree, inhabitants);
    EXPECT_TRUE(Texts(o.d->SelectedIndicatorList()).isEmpty());

    ClickBox(tree, inhabitants);
    o.d->Button(10104)->click(); // Clear
    EXPECT_FALSE(Checked(inhabitants));
    EXPECT_FALSE(population->isExpanded());
    EXPECT_EQ(o.d->SelectedIndicatorList()->count(), 0);
}

TEST(ParameterDialog, LimitHoldsForClicks) {
    OpenDialog o(test::Many);
    QTreeWidgetItem* group = o.d->IndicatorItem(0);
    group->setExpanded(true);
    QApplication::processEvents();
    ASSERT_EQ(group->childCount(), 35);
    for (int i = 0; i < 31; ++i) ClickBox(o.d->IndicatorTree(), group->child(i));
    EXPECT_EQ(o.d->SelectedIndicatorList()->count(), 30);
    EXPECT_FALSE(Checked(group->child(30)));
}

TEST(ParameterDialog, ShiftClickInThePeriodTree) {
    OpenDialog o(test::Many);
    CCheckTree* tree = o.d->PeriodTree();
    ClickBox(tree, o.d->PeriodItem(2));
    ClickBox(tree, o.d->PeriodItem(40), Qt::ShiftModifier);
    EXPECT_EQ(o.m().CheckedPeriodCount(), 39);
    EXPECT_FALSE(Checked(o.d->PeriodItem(1)));
    EXPECT_TRUE(Checked(o.d->PeriodItem(2)));
    EXPECT_TRUE(Checked(o.d->PeriodItem(40)));
    EXPECT_FALSE(Checked(o.d->PeriodItem(41)));
    o.d->Button(10117)->click();
    EXPECT_EQ(o.m().CheckedPeriodCount(), 0);
    EXPECT_FALSE(Checked(o.d->PeriodItem(2)));
}

TEST(ParameterDialog, RegionModesFromTheControls) {
    OpenDialog o(test::ThreeSets);
    CCheckTree* tree = o.d->RegionTree();
    QTreeWidgetItem* north = o.d->RegionItem(0);
    ASSERT_EQ(north->text(0), "001 North");
    // The user cannot open a top-level region in this mode.
    EXPECT_FALSE(tree->itemsExpandable());
    EXPECT_FALSE(tree->rootIsDecorated());
    north->setExpanded(true);
    QApplication::processEvents();
    EXPECT_FALSE(north->isExpanded());
    ClickBox(tree, north);
    EXPECT_EQ(Texts(o.d->SelectedRegionList()), QStringList{"001 North"});
    EXPECT_EQ(o.d->SelectedRegionList()->item(0)->data(Qt::UserRole).toInt(),
              MakeRegionKey(10000, 1));

    o.d->ModeButton(1)->click();
    EXPECT_EQ(o.m().Mode(), ParameterModel::SpecificRegion);
    EXPECT_TRUE(o.d->SetCombo()->isEnabled());
    EXPECT_EQ(o.d->SetCombo()->currentIndex(), 0);
    EXPECT_TRUE(north->isExpanded());
    EXPECT_FALSE(HasBox(north));
    EXPECT_TRUE(o.d->SelectedRegionList()->count() == 0);
    ClickBox(tree, north->child(3));
    EXPECT_EQ(Texts(o.d->SelectedRegionList()), QStringList{"104 Village"});

    // Choosing South in the box.
    o.d->SetCombo()->setFocus();
    QTest::keyClick(o.d->SetCombo(), Qt::Key_Down);
    EXPECT_EQ(o.d->SetCombo()->currentIndex(), 1);
    EXPECT_FALSE(north->isExpanded());
    EXPECT_TRUE(o.d->RegionItem(5)->isExpanded()); // South's root
    EXPECT_EQ(o.d->SelectedRegionList()->count(), 0);

    o.d->ModeButton(2)->click();
    EXPECT_FALSE(o.d->SetCombo()->isEnabled());
    EXPECT_TRUE(tree->itemsExpandable());
    EXPECT_TRUE(tree->rootIsDecorated());
    EXPECT_FALSE(HasBox(north));
    EXPECT_TRUE(HasBox(o.d->RegionItem(8))); // the grand total
    EXPECT_FALSE(HasBox(north->child(2)));   // North's own total
    north->setExpanded(true);                // allowed here
    QApplication::processEvents();
    EXPECT_TRUE(north->isExpanded());

    o.d->ModeButton(0)->click();
    EXPECT_TRUE(Checked(north));
    EXPECT_EQ(Texts(o.d->SelectedRegionList()), QStringList{"001 North"});
}

TEST(ParameterDialog, OkThroughTheMainFrameReplacesTheSelection) {
    StartedApp s(test::ThreeSets);
    CMainFrame frame(*s.app);
    frame.show();
    ASSERT_EQ(frame.ExecuteCommand(1010), CMainFrame::Outcome::Done);
    CParameterDialog* d = frame.ParameterDialog();
    ASSERT_NE(d, nullptr);
    QApplication::processEvents();
    QTreeWidgetItem* temp = d->IndicatorItem(2);
    temp->setExpanded(true);
    QApplication::processEvents();
    ASSERT_EQ(temp->childCount(), 1);
    EXPECT_EQ(temp->child(0)->text(0), "10005 Ratio of men");
    ClickBox(d->IndicatorTree(), temp->child(0));
    ClickBox(d->RegionTree(), d->RegionItem(8));
    ClickBox(d->PeriodTree(), d->PeriodItem(4));

    // Cancel first: nothing changes.
    d->Button(10002)->click();
    EXPECT_TRUE(s.app->CurrentSelection().Indicators().empty());
    QApplication::processEvents();
    EXPECT_EQ(frame.ParameterDialog(), nullptr);

    frame.ExecuteCommand(1010);
    d = frame.ParameterDialog();
    ASSERT_NE(d, nullptr);
    d->IndicatorItem(2)->setExpanded(true);
    QApplication::processEvents();
    ClickBox(d->IndicatorTree(), d->IndicatorItem(2)->child(0));
    ClickBox(d->PeriodTree(), d->PeriodItem(4));
    d->Button(10001)->click();
    const Selection& sel = s.app->CurrentSelection();
    ASSERT_EQ(sel.Indicators().size(), 1u);
    EXPECT_EQ(sel.Indicators()[0].name, " Ratio of men");
    ASSERT_EQ(sel.Periods().size(), 1u);
    EXPECT_EQ(sel.Periods()[0], (ListItem{-2, "Last Available"}));
    EXPECT_EQ(sel.SetCode(), 10000);
}

TEST(ParameterDialog, SaveAndLoadButtons) {
    OpenDialog o(test::ThreeSets);
    QTreeWidgetItem* health = o.d->IndicatorItem(1);
    health->setExpanded(true);
    QApplication::processEvents();
    ClickBox(o.d->IndicatorTree(), health->child(0));

    int dialogs = 0;
    o.d->SetSaveDialog([&](SaveSelectionModel& m) {
        ++dialogs;
        const int row = m.Insert();
        m.Rename(row, "Doctors only");
        return true;
    });
    o.d->Button(10105)->click();
    EXPECT_EQ(dialogs, 1);
    auto saved = ReadIndicatorListFile(o.s.dir.file("ind.sav"));
    ASSERT_TRUE(saved && saved->size() == 1);
    EXPECT_EQ((*saved)[0].codes, (std::vector<int16_t>{2050}));

    // Nothing checked: the file of regions is created, the dialog does not open.
    o.d->Button(10110)->click();
    EXPECT_EQ(dialogs, 1);
    auto regions = ReadRegionListFile(o.s.dir.file("reg.sav"));
    ASSERT_TRUE(regions.has_value());
    EXPECT_TRUE(regions->empty());

    o.d->Button(10104)->click();
    EXPECT_EQ(o.d->SelectedIndicatorList()->count(), 0);
    std::vector<std::pair<int, QString>> offered;
    o.d->SetLoadChooser([&](QPushButton* b, const std::vector<std::pair<int, QString>>& names) {
        EXPECT_EQ(b, o.d->Button(10103));
        offered = names;
        return names.front().first;
    });
    o.d->Button(10103)->click();
    ASSERT_EQ(offered.size(), 1u);
    EXPECT_EQ(offered[0].second, "Doctors only");
    EXPECT_EQ(Texts(o.d->SelectedIndicatorList()), QStringList{"2050 Doctors"});
    EXPECT_TRUE(Checked(health->child(0)));
    EXPECT_TRUE(health->isExpanded());
}

TEST(SaveSelectionDialog, InsertRenameDelete) {
    StartedApp s(test::ThreeSets);
    SaveSelectionModel model({"First", "Second"});
    CSaveSelectionDialog d(model, s.app->Titles(), s.app->Charset());
    d.show();
    QApplication::processEvents();
    ASSERT_EQ(d.Rows()->topLevelItemCount(), 2);
    EXPECT_EQ(d.Rows()->topLevelItem(1)->text(0), "2");
    EXPECT_EQ(d.Rows()->topLevelItem(1)->text(1), "Second");

    d.InsertButton()->click();
    EXPECT_FALSE(d.InsertButton()->isEnabled());
    ASSERT_EQ(d.Rows()->topLevelItemCount(), 3);
    EXPECT_EQ(d.Rows()->topLevelItem(2)->text(0), "3");
    EXPECT_EQ(model.Selected(), 2);
    // The in-place editor is open on the new title and takes at most 32 characters.
    auto* editor = d.Rows()->findChild<QLineEdit*>();
    ASSERT_NE(editor, nullptr);
    EXPECT_EQ(editor->maxLength(), 32);
    QTest::keyClicks(editor, "Mine");
    QTest::keyClick(editor, Qt::Key_Return);
    QApplication::processEvents();
    EXPECT_EQ(model.Title(2), "Mine");
    EXPECT_EQ(d.Rows()->topLevelItem(2)->text(1), "Mine");
    auto editing = [&] {
        for (auto* e : d.Rows()->findChildren<QLineEdit*>())
            if (e->isVisible()) return true;
        return false;
    };
    EXPECT_FALSE(editing()); // Enter in the editor only commits

    // Space on the selected row opens the editor again.
    d.Rows()->setFocus();
    QTest::keyClick(d.Rows(), Qt::Key_Space);
    EXPECT_TRUE(editing());
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
    QApplication::processEvents();
    EXPECT_FALSE(editing());
    EXPECT_EQ(model.Title(2), "Mine");

    // Delete the first: positions renumber, Insert comes back.
    d.Rows()->setCurrentItem(d.Rows()->topLevelItem(0));
    EXPECT_EQ(model.Selected(), 0);
    d.DeleteButton()->click();
    ASSERT_EQ(d.Rows()->topLevelItemCount(), 2);
    EXPECT_EQ(d.Rows()->topLevelItem(1)->text(0), "2");
    EXPECT_EQ(d.Rows()->topLevelItem(1)->text(1), "Mine");
    EXPECT_TRUE(d.InsertButton()->isEnabled());
    EXPECT_EQ(model.Selected(), SaveSelectionModel::None);
    EXPECT_EQ(model.Ok(), SaveSelectionModel::None);

    // A title that would mark the slot free is refused and the old one shown again.
    d.Rows()->setCurrentItem(d.Rows()->topLevelItem(0));
    d.Rows()->topLevelItem(0)->setText(1, ".hidden");
    EXPECT_EQ(model.Title(0), "Second");
    EXPECT_EQ(d.Rows()->topLevelItem(0)->text(1), "Second");
    EXPECT_EQ(model.Ok(), 10);
}

TEST(SaveSelectionDialog, InsertIsDisabledAtFiftyEntries) {
    StartedApp s(test::ThreeSets);
    std::vector<std::string> titles;
    for (int i = 0; i < 50; ++i) titles.push_back("List " + std::to_string(i));
    SaveSelectionModel model(titles);
    CSaveSelectionDialog d(model, s.app->Titles(), s.app->Charset());
    EXPECT_FALSE(d.InsertButton()->isEnabled());
    EXPECT_EQ(d.Rows()->topLevelItemCount(), 50);
    EXPECT_EQ(d.Rows()->topLevelItem(49)->text(0), "50");
}

} // namespace
} // namespace zor
