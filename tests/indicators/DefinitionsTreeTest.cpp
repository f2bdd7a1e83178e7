// The definitions viewer's tree: labels, the definition each selected indicator shows (its own,
// its main indicator's for a variant, the later of two entries), and the texts of the pane.
#include "indicators/DefinitionsTree.h"

#include "tests/support/Fixture.h"

#include <gtest/gtest.h>

namespace zor::indicators {
namespace {

const std::string NotFound = "\r\n\tDefinition is not found!\r\n";

struct Tree {
    test::TempDir dir;
    DefinitionsTree tree;
    Tree(const test::Definitions& defs, const std::vector<ListItem>& selected) {
        test::WriteFile(dir.file("inddef.bin"), test::DefinitionsFileBytes(defs));
        tree.Build(dir.file("inddef.bin"), selected, 0);
    }
    std::string Text(size_t i) const { return tree.TextOf(i, NotFound); }
};

TEST(DefinitionsTree, LabelsAndTheDefinitionEachItemShows) {
    Tree t({{1010, "Income per head.\n"},
            {2000, "GDP, all of it.\n"},
            {2050, "First.\n"},
            {2050, "Second.\n"},
            {1011, "A variant of its own.\n"}},
           {{1010, "Income"},
            {2001, "GDP growth"}, // a variant without a definition: its main indicator's
            {1011, "Income, men"},
            {2050, "Doctors"},      // two entries: the later
            {30, "Caf\xE9"},        // a main indicator without one
            {31, "Caf\xE9, men"}}); // nor its main indicator
    const auto& items = t.tree.Items();
    ASSERT_EQ(items.size(), 6u);
    EXPECT_EQ(items[0].label, "1010 Income");
    EXPECT_EQ(items[4].label, "0030 Caf\xC3\xA9");
    EXPECT_EQ(t.Text(0), " Income per head.\r\n ");
    EXPECT_EQ(t.Text(1), " GDP, all of it.\r\n ");
    EXPECT_EQ(t.Text(2), " A variant of its own.\r\n ");
    EXPECT_EQ(t.Text(3), " Second.\r\n ");
    EXPECT_EQ(t.Text(4), NotFound);
    EXPECT_EQ(t.Text(5), NotFound);
    EXPECT_EQ(t.Text(6), NotFound); // past the items
}

TEST(DefinitionsTree, AThreeLineTextIsIndentedLineByLine) {
    Tree t({{10, "One\nTwo two\nThree\n"}}, {{10, "Density"}});
    EXPECT_EQ(t.Text(0), " One\r\n Two two\r\n Three\r\n ");
}

TEST(DefinitionsTree, AFileThatCannotBeReadShowsNotFoundEverywhere) {
    test::TempDir dir;
    DefinitionsTree tree;
    tree.Build(dir.file("missing.bin"), {{10, "Density"}, {11, "Density, men"}}, 0);
    ASSERT_EQ(tree.Items().size(), 2u);
    EXPECT_EQ(tree.TextOf(0, NotFound), NotFound);
    EXPECT_EQ(tree.TextOf(1, NotFound), NotFound);
    // A record that lies past the end of the file is no definition.
    std::string bytes = test::DefinitionsFileBytes({{10, "Cut short"}});
    test::WriteFile(dir.file("cut.bin"), bytes.substr(0, bytes.size() - 3));
    tree.Build(dir.file("cut.bin"), {{10, "Density"}}, 0);
    EXPECT_EQ(tree.TextOf(0, NotFound), NotFound);
    // The file changed after the tree was built: what is read now counts.
    test::WriteFile(dir.file("late.bin"), test::DefinitionsFileBytes({{10, "Then\n"}}));
    tree.Build(dir.file("late.bin"), {{10, "Density"}}, 0);
    test::WriteFile(dir.file("late.bin"), "");
    EXPECT_EQ(tree.TextOf(0, NotFound), NotFound);
}

} // namespace
} // namespace zor::indicators
