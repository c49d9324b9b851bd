#include <gtest/gtest.h>

#include "catalogue/tag_catalogue.h"
#include "editor/number_text.h"
#include "res/resource.h"
#include "tests/support/editor_run.h"
#include "tests/support/map_folder.h"

namespace {

using namespace testing_support;

// Index of a category under every weapon node.
constexpr int kModels = 7;
constexpr int kDamage = 3;
constexpr int kShaders = 10;

std::string Category(int weapon, int category) {
    return std::to_string(weapon) + "." + std::to_string(category);
}

// The entries the class filter should give: rows whose path ends with the code, then NULL.
std::vector<std::string> FilteredEntries(const char* code) {
    std::vector<std::string> entries;
    for (int row = 0; row < kSearchedRowCount; ++row) {
        const std::string entry = Format("%d: %s", row, kTagPaths[row]);
        if (entry.ends_with(code)) {
            entries.push_back(entry);
        }
    }
    entries.push_back("-1: NULL");
    return entries;
}

TEST(Panel, ValueItemsOfferACustomValueAndEmptyTheEditBox) {
    MapFolder folder;
    RunEditor([](HeadlessWindow& w) {
        for (const char* path :
             {"0.16", "0.17", "0.20", "2.13.5", "2.14.25", "2.15.35", "4.13", "4.14", "4.15"}) {
            SCOPED_TRACE(path);
            w.UserType(IDC_VALUE_EDIT, "77");
            Select(w, path);
            EXPECT_EQ(Entries(w), std::vector<std::string>{"Custom Value:"});
            EXPECT_EQ(SelectedEntry(w), 0);
            EXPECT_EQ(EditText(w), "");
        }
    });
}

TEST(Panel, WeaponAndCategoryItemsEmptyTheListAndKeepTheEditBox) {
    MapFolder folder;
    RunEditor([](HeadlessWindow& w) {
        Select(w, Category(0, kModels) + ".0");
        ASSERT_FALSE(Entries(w).empty());
        for (const std::string& path :
             {std::string("0"), Category(0, kModels), Category(1, 0), std::string("12")}) {
            SCOPED_TRACE(path);
            w.UserType(IDC_VALUE_EDIT, "1234");
            Select(w, path);
            EXPECT_TRUE(Entries(w).empty());
            EXPECT_EQ(SelectedEntry(w), platform::kComboError);
            EXPECT_EQ(EditText(w), "1234");
        }
    });
}

TEST(Panel, ReferenceItemsOfferTheirClassAndShowTheFirstIdentifier) {
    MapFolder folder;
    struct Case {
        int category;
        const char* code;
    };
    const Case cases[] = {{kModels, "mode"}, {kDamage, "jpt!"}, {kShaders, "sotr"}};
    RunEditor([&](HeadlessWindow& w) {
        for (const Case& c : cases) {
            SCOPED_TRACE(c.code);
            Select(w, Category(0, c.category) + ".0");
            const std::vector<std::string> expected = FilteredEntries(c.code);
            EXPECT_EQ(Entries(w), expected);
            EXPECT_EQ(SelectedEntry(w), 0);
            const int row = std::stoi(expected.front());
            EXPECT_EQ(EditText(w), Format("%X", kTagIdentifiers[row]));
        }
    });
}

TEST(Panel, ShowAllListsEveryRowButTheLastAndStaysSetAcrossSelections) {
    MapFolder folder;
    RunEditor([](HeadlessWindow& w) {
        Select(w, Category(0, kModels) + ".0");
        w.UserClick(IDC_SHOW_ALL_CHECK);
        std::vector<std::string> entries = Entries(w);
        ASSERT_EQ(entries.size(), 1806u);
        EXPECT_EQ(entries[0], Format("0: %s", kTagPaths[0]));
        EXPECT_EQ(entries[1804], Format("1804: %s", kTagPaths[1804]));
        EXPECT_EQ(entries[1805], "-1: NULL");
        EXPECT_EQ(EditText(w), "E1740000");

        Select(w, Category(1, kDamage) + ".0");  // the check box is still set
        EXPECT_EQ(Entries(w).size(), 1806u);
        Select(w, "1.17");
        EXPECT_EQ(w.GetCheck(IDC_SHOW_ALL_CHECK), 1);

        Select(w, Category(1, kDamage) + ".0");
        w.UserClick(IDC_SHOW_ALL_CHECK);  // cleared: the filter is back
        EXPECT_EQ(Entries(w), FilteredEntries("jpt!"));
        EXPECT_EQ(SelectedEntry(w), 0);
    });
}

TEST(Panel, RowsWithShortClassCodesAppearOnlyUnderShowAll) {
    MapFolder folder;
    RunEditor([](HeadlessWindow& w) {
        Select(w, Category(0, kModels) + ".0");
        w.UserClick(IDC_SHOW_ALL_CHECK);
        int shortCodes = 0;
        for (const std::string& entry : Entries(w)) {
            shortCodes += entry.ends_with(".sky") || entry.ends_with(".hm");
        }
        EXPECT_EQ(shortCodes, 2);
        w.UserClick(IDC_SHOW_ALL_CHECK);
        for (const std::string& entry : Entries(w)) {
            EXPECT_FALSE(entry.ends_with(".sky")) << entry;
        }
    });
}

TEST(Panel, CheckBoxOnAValueItemEmptiesTheEditBox) {
    MapFolder folder;
    RunEditor([](HeadlessWindow& w) {
        Select(w, "3.18");
        w.UserType(IDC_VALUE_EDIT, "55");
        w.UserClick(IDC_SHOW_ALL_CHECK);
        EXPECT_EQ(Entries(w), std::vector<std::string>{"Custom Value:"});
        EXPECT_EQ(EditText(w), "");
        EXPECT_EQ(w.GetCheck(IDC_SHOW_ALL_CHECK), 1);
    });
}

TEST(Panel, ChoosingAnEntryShowsItsIdentifier) {
    MapFolder folder;
    RunEditor([](HeadlessWindow& w) {
        Select(w, Category(0, kModels) + ".1");
        const std::vector<std::string> entries = Entries(w);
        const int pick = 5;
        ASSERT_TRUE(w.UserChooseEntry(IDC_VALUE_COMBO, pick));
        EXPECT_EQ(EditText(w), Format("%X", kTagIdentifiers[std::stoi(entries[pick])]));
        ASSERT_TRUE(w.UserChooseEntry(IDC_VALUE_COMBO, static_cast<int>(entries.size()) - 1));
        EXPECT_EQ(EditText(w), "FFFFFFFF");

        // A value item's "Custom Value:" names no row: the typed number stays.
        Select(w, "0.17");
        w.UserType(IDC_VALUE_EDIT, "42");
        ASSERT_TRUE(w.UserChooseEntry(IDC_VALUE_COMBO, 0));
        EXPECT_EQ(EditText(w), "42");
    });
}

TEST(Panel, ProgrammaticSelectionOfTheSameItemNotifiesNobody) {
    MapFolder folder;
    RunEditor([](HeadlessWindow& w) {
        Select(w, "0.17");
        w.UserType(IDC_VALUE_EDIT, "9");
        Select(w, "0.17");  // no change of selection, so the panel is not rerun
        EXPECT_EQ(EditText(w), "9");
    });
}

}  // namespace
