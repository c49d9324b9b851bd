#include <gtest/gtest.h>

#include <functional>

#include "catalogue/path_list_rules.h"
#include "catalogue/supported_map.h"
#include "catalogue/tag_catalogue.h"
#include "tests/support/map_folder.h"
#include "weapon/weapon_struct.h"

namespace {

using Paths = std::vector<std::string>;

// The identifier rule's turning points: the row number in the low half, and a high half that
// skips a step after row 1691.
static_assert(TagIdentifier(0) == 0xE1740000u && TagIdentifier(1691) == 0xE80F069Bu &&
              TagIdentifier(1692) == 0xE811069Cu && TagIdentifier(1693) == 0xE813069Du &&
              TagIdentifier(1805) == 0xE883070Du);

TEST(PathForId, AnswersAtItsEdges) {
    const std::pair<std::uint32_t, std::string> cases[] = {
        {0xFFFFFFFF, "NULL"},
        {0x00000000, "Unknown Path"},
        {0xE26100ED, kTagPaths[237]},
        {0xE1740000, kTagPaths[0]},
        {0xE882070C, kTagPaths[1804]},
        {0xE883070D, "Unknown Path"},  // the last row is never matched
        {0xE810069C, "Unknown Path"},  // a high half the rule skips
        {0xE1750000, "Unknown Path"},
    };
    for (const auto& [id, path] : cases) {
        EXPECT_EQ(PathForId(id), path) << std::hex << id;
    }
}

// The tree names a reference by the row whose name its pointer leads to. The lookup stops a row
// short of the end, as PathForId does, so a reference to the last row shows "NULL", though the
// map holds that row's name too; so does any pointer that starts no row's name.
TEST(ReadTagName, NamesEveryRowButTheLast) {
    testing_support::MapFolder folder;
    for (int row = 0; row < kTagCount; ++row) {
        const std::string name(row == kTagCount - 1 ? "NULL" : TagNameOfRow(row));
        ASSERT_EQ(WeaponStruct::ReadTagName(NamePointerOfRow(row)), name) << "row " << row;
    }
    for (const std::uint32_t pointer : {0u, NamePointerOfRow(237) + 1, 0x10u}) {
        EXPECT_EQ(WeaponStruct::ReadTagName(pointer), "NULL") << std::hex << pointer;
    }
}

// A name is read as the file holds it, as far as its length: a lost terminator lets the next
// byte in, and a map cut inside the name gives what is left of it.
TEST(ReadTagName, ReadsADamagedNameAsTheFileHoldsIt) {
    testing_support::MapFolder folder;
    const std::string name(TagNameOfRow(237));
    folder.Patch(kTagNameOffsets[237] + name.size(), "s", 1);
    EXPECT_EQ(WeaponStruct::ReadTagName(NamePointerOfRow(237)), name + "s");
    folder.CutMap(kTagNameOffsets[237] + 7);
    EXPECT_EQ(WeaponStruct::ReadTagName(NamePointerOfRow(237)), name.substr(0, 7));
}

std::string Text(const Paths& paths) {
    std::string text;
    for (const std::string& path : paths) {
        text += path + '\n';
    }
    return text;
}

// Names only the rule that broke: each case breaks the build's own list where the rules, not
// the list's names, say so, so the cases hold for any valid list.
TEST(PathListRules, EachBrokenRuleIsNamedAsAListAndAsAFile) {
    const auto rename = [](Paths& p, int row, const std::string& name) {
        p[row] = name + "." + std::string(ClassOfPath(p[row]));
    };
    const struct {
        const char* rule;
        std::function<void(Paths&)> breakIt;
    } cases[] = {
        {"", [](Paths&) {}},
        {"row-count", [](Paths& p) { p.pop_back(); }},
        {"path-syntax", [](Paths& p) { p[300] += ".bitm"; }},
        {"characters", [](Paths& p) { p[300].insert(0, " "); }},
        {"class-counts", [](Paths& p) { p[300] = std::string(NameOfPath(p[300])) + ".zzzz"; }},
        {"fixed-rows", [](Paths& p) { std::swap(p[1804], p[1803]); }},
        {"weapons", [](Paths& p) { std::swap(p[237], p[238]); }},
        {"name-packing",
         [rename](Paths& p) { rename(p, 300, std::string(NameOfPath(p[300])) + "q"); }},
        {"name-lengths",
         [rename](Paths& p) {
             const std::size_t length = NameOfPath(p[300]).size();
             rename(p, 300, std::string(kShortestName - 1, 'q'));
             rename(p, 301,
                    std::string(NameOfPath(p[301])) + std::string(length - kShortestName + 1, 'q'));
         }},
        {"row-count", [](Paths& p) { p.pop_back(), p[0] = "no full stop"; }},  // the earlier rule
    };
    for (const auto& c : cases) {
        Paths paths(kTagPaths, kTagPaths + kTagCount);
        c.breakIt(paths);
        const Status checked = CheckPathList(paths);
        const std::string error = checked ? "" : checked.Error();
        EXPECT_EQ(error.substr(0, error.find(':')), c.rule) << error;
        const Result<Paths> read = ReadPathList(Text(paths));
        EXPECT_EQ(read ? "" : read.Error(), error);
    }
    const std::string text = Text(Paths(kTagPaths, kTagPaths + kTagCount));
    for (const auto& [file, rule] : std::vector<std::pair<std::string, std::string>>{
             {"\xE4" + text.substr(1), "encoding"},
             {text.substr(0, text.find('\n')) + "\r" + text.substr(text.find('\n')), "line-ends"},
             {text.substr(0, text.size() - 1), "line-ends"}}) {
        const Result<Paths> read = ReadPathList(file);
        EXPECT_EQ(read ? "" : read.Error().substr(0, rule.size()), rule);
    }
}

}  // namespace
