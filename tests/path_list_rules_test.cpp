#include "catalogue/path_list_rules.h"

#include <gtest/gtest.h>

#include <functional>

#include "catalogue/supported_map.h"
#include "catalogue/tag_catalogue.h"

namespace {

using Paths = std::vector<std::string>;

// The build's own list, which its generator checked; each case breaks it where the rules, not
// the list's names, say so, so the cases hold for any valid list.
Paths BuildsList() {
    return Paths(kTagPaths, kTagPaths + kTagCount);
}

std::string Text(const Paths& paths) {
    std::string text;
    for (const std::string& path : paths) {
        text += path + '\n';
    }
    return text;
}

std::string ErrorOf(const Status& status) {
    return status ? "" : status.Error();
}

void Rename(Paths& paths, int row, const std::string& name) {
    paths[row] = name + "." + std::string(ClassOfPath(paths[row]));
}

// Two rows between the fixed name offsets of rows 237 and 1691, of one class and one name length:
// making the second a copy of the first keeps every rule but uniqueness.
void SamePathTwice(Paths& paths) {
    for (int a = 238; a < 1691; ++a) {
        for (int b = a + 1; b < 1691; ++b) {
            if (FindWeaponByRow(a) < 0 && FindWeaponByRow(b) < 0 &&
                ClassOfPath(paths[a]) == ClassOfPath(paths[b]) &&
                NameOfPath(paths[a]).size() == NameOfPath(paths[b]).size()) {
                paths[b] = paths[a];
                return;
            }
        }
    }
}

TEST(PathListRules, TheBuildsListKeepsThemAsAListAndAsAFile) {
    const Paths paths = BuildsList();
    EXPECT_EQ(ErrorOf(CheckPathList(paths)), "");
    const Result<Paths> read = ReadPathList(Text(paths));
    ASSERT_TRUE(read) << read.Error();
    EXPECT_EQ(*read, paths);
}

TEST(PathListRules, EachBrokenRuleIsNamed) {
    const struct {
        const char* rule;
        std::function<void(Paths&)> breakIt;
    } cases[] = {
        {"row-count", [](Paths& p) { p.pop_back(); }},
        {"path-syntax", [](Paths& p) { p[300] += ".bitm"; }},
        {"path-syntax", [](Paths& p) { p[300] = std::string(NameOfPath(p[300])) + ".abcde"; }},
        {"characters", [](Paths& p) { p[300].insert(2, "\t"); }},
        {"characters", [](Paths& p) { p[300][1] = '\\'; }},
        {"characters", [](Paths& p) { p[300].insert(0, " "); }},
        {"class-counts", [](Paths& p) { p[300] = std::string(NameOfPath(p[300])) + ".zzzz"; }},
        {"fixed-rows", [](Paths& p) { std::swap(p[0], p[1]); }},
        {"fixed-rows", [](Paths& p) { std::swap(p[1804], p[1803]); }},
        {"weapons", [](Paths& p) { std::swap(p[237], p[238]); }},
        {"name-packing", [](Paths& p) { Rename(p, 300, std::string(NameOfPath(p[300])) + "q"); }},
        {"name-lengths",
         [](Paths& p) {
             const std::size_t length = NameOfPath(p[300]).size();
             Rename(p, 300, std::string(kShortestName - 1, 'q'));
             Rename(
                 p, 301,
                 std::string(NameOfPath(p[301])) + std::string(length - (kShortestName - 1), 'q'));
         }},
        {"unique", SamePathTwice},
        // The earlier of two broken rules is the one named.
        {"row-count", [](Paths& p) { p.pop_back(), p[0] = "no full stop"; }},
    };
    for (const auto& c : cases) {
        Paths paths = BuildsList();
        c.breakIt(paths);
        const std::string error = ErrorOf(CheckPathList(paths));
        EXPECT_EQ(error.substr(0, error.find(": ")), c.rule) << error;
        const Result<Paths> read = ReadPathList(Text(paths));
        EXPECT_EQ(read ? "" : read.Error(), error);
    }
}

TEST(PathListRules, DetailsSayWhereAndWhat) {
    Paths paths = BuildsList();
    Rename(paths, 300, std::string(NameOfPath(paths[300])) + "q");
    EXPECT_EQ(ErrorOf(CheckPathList(paths)),
              "name-packing: row 1691 name lies at 0x0235A817, expected 0x0235A816");
    paths = BuildsList();
    std::swap(paths[237], paths[238]);
    EXPECT_EQ(ErrorOf(CheckPathList(paths)),
              "weapons: row 237 is '" + paths[237] +
                  "', expected 'weapons/assault rifle/assault rifle.weap'");
}

TEST(PathListRules, AFileIsPlainAsciiWithBareLineFeeds) {
    const std::string text = Text(BuildsList());
    std::string latin1 = text;
    latin1[10] = '\xE4';
    std::string crlf = text;
    crlf.insert(crlf.find('\n'), "\r");
    const struct {
        std::string text;
        const char* error;
    } cases[] = {
        {latin1, "encoding: byte 0xE4 at 10 is not ASCII"},
        {crlf, "line-ends: carriage return found; lines must end in a bare line feed"},
        {text.substr(0, text.size() - 1), "line-ends: the last line does not end in a line feed"},
        {"", "line-ends: the last line does not end in a line feed"},
        {text + "\n", "row-count: 1807 rows, expected 1806"},
    };
    for (const auto& c : cases) {
        const Result<Paths> read = ReadPathList(c.text);
        EXPECT_EQ(read ? "" : read.Error(), c.error);
    }
}

}  // namespace
