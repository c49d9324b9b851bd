// torvex.exe under Wine, driven through its native controls as a user drives them. Each test
// runs one script of user actions; where it can, it runs the same script on the headless editor
// (torvex-cli session), and the two must print the same and leave the same map, byte for byte.
// Values read back from the map, and texts the dialog must show, are checked as well.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <sstream>

#include "catalogue/weapon_list.h"
#include "tests/support/map_folder.h"
#include "tests/win32/process.h"
#include "weapon/weapon_struct.h"

namespace {

using testing::HasSubstr;
using testing_support::Bytes;
using testing_support::MapFolder;
using testing_support::RunProcess;

constexpr char kMapMessage[] = "Can't open map, make sure cache003.map is in this directory";

// A file of this machine as a Windows program under Wine names it.
std::string WindowsPath(std::string path) {
    for (char& c : path) {
        if (c == '/') {
            c = '\\';
        }
    }
    return "Z:" + path;
}

struct Session {
    int status = -1;
    std::string out;
    std::string report;  // the driver's stderr: errors and its closing "driver: ..." lines
};

Session OnWindows(const std::string& folder, const std::string& script) {
    const std::string bin = TORVEX_WIN64_DIR "/bin/";
    const auto r = RunProcess({TORVEX_WITH_WINE, TORVEX_WINE_PREFIX, "run",
                               WindowsPath(bin + "ui_driver.exe"), WindowsPath(bin + "torvex.exe")},
                              folder, script);
    return {r.status, r.out, r.err};
}

Session Headless(const std::string& folder, const std::string& script) {
    const auto r = RunProcess({TORVEX_CLI, "session"}, folder, script);
    return {r.status, r.out, r.err};
}

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        lines.push_back(line);
    }
    return lines;
}

bool HasLine(const std::string& text, const std::string& line) {
    const auto lines = Lines(text);
    return std::find(lines.begin(), lines.end(), line) != lines.end();
}

const WeaponListEntry& Weapon(const std::string& displayName) {
    for (const WeaponListEntry& entry : kWeaponList) {
        if (entry.displayName != nullptr && displayName == entry.displayName) {
            return entry;
        }
    }
    ADD_FAILURE() << "no weapon " << displayName;
    return kWeaponList[0];
}

// One script on both backends, each on a fresh demo map, and what each left behind.
struct Both {
    Session windows;
    Session headless;
    Bytes before;
    Bytes windowsMap;
    Bytes headlessMap;
};

Both RunBoth(const std::string& script) {
    Both both;
    {
        MapFolder folder;
        both.before = folder.ReadMap();
        both.headless = Headless(folder.Path(), script);
        both.headlessMap = folder.ReadMap();
    }
    {
        MapFolder folder;
        both.windows = OnWindows(folder.Path(), script);
        both.windowsMap = folder.ReadMap();
    }
    return both;
}

void ExpectSameAsHeadless(const Both& both) {
    EXPECT_EQ(both.windows.status, both.headless.status) << both.windows.report;
    EXPECT_EQ(both.windows.out, both.headless.out) << both.windows.report;
    const auto ranges = testing_support::DiffRanges(both.headlessMap, both.windowsMap);
    EXPECT_TRUE(ranges.empty()) << ranges.size() << " runs of bytes differ, the first at "
                                << (ranges.empty() ? 0 : ranges.front().begin);
}

// The record as the map holds it now: read from a scratch folder holding those bytes.
WeaponStruct RecordIn(const Bytes& map, const std::string& weapon) {
    MapFolder folder(false);
    folder.WriteMap(map);
    return WeaponStruct(Weapon(weapon).metaOffset);
}

TEST(WindowsProgramUnderWine, WithoutAMapShowsOneMessageAndEndsWithStatusOne) {
    MapFolder folder(false);
    const Session run = OnWindows(folder.Path(), "");
    EXPECT_EQ(run.status, 1) << run.report;
    EXPECT_EQ(run.out, std::string("message ") + kMapMessage + "\n");
    EXPECT_THAT(run.report, HasSubstr("driver: exit status 1\n"));
    EXPECT_THAT(run.report, HasSubstr("driver: dialog shown no\n"));
    EXPECT_THAT(run.report, HasSubstr("driver: message boxes 1\n"));
    // Captioned with the program's name, an OK button and nothing else.
    EXPECT_THAT(run.report, HasSubstr(std::string("driver: box caption 'torvex' text '") +
                                      kMapMessage + "' buttons 'OK'\n"));
}

TEST(WindowsProgramUnderWine, ShowsTheHeadlessEditorsTreeWithTheFocusOnExit) {
    const Both both = RunBoth("tree\npanel\nfocus\nexit\n");
    EXPECT_EQ(both.windows.status, 0) << both.windows.report;
    EXPECT_EQ(both.windows.out, both.headless.out + "focus 2\n") << both.windows.report;
    EXPECT_EQ(both.windowsMap, both.before);

    std::vector<std::string> weapons;
    std::vector<std::string> pistol;
    std::string current;
    for (const std::string& line : Lines(both.windows.out)) {
        if (!line.empty() && line[0] != ' ') {
            current = line;
            weapons.push_back(line);
        } else if (current == "Pistol" && line.rfind("  ", 0) == 0 && line[2] != ' ') {
            pistol.push_back(line.substr(2));
        }
    }
    const std::vector<std::string> thirteen = {
        "Assault Rifle", "Pistol",        "Shotgun", "Plasma Rifle", "Rocket Launcher",
        "Sniper Rifle",  "Plasma Pistol", "Needler", "Ball",         "Flag",
        "Warthog",       "Scorpion",      "Ghost",   "entries 0",    "selected -1 ",
        "edit ",         "check 0",       "focus 2"};
    EXPECT_EQ(weapons, thirteen);  // the panel's lines follow the tree: all empty at start

    const std::vector<std::string> categories = {"Actor Variants",
                                                 "Animation Triggers",
                                                 "Collision Models",
                                                 "Damage Models",
                                                 "Effects",
                                                 "Equipments",
                                                 "Material Effects",
                                                 "Models",
                                                 "Physics",
                                                 "Projectiles",
                                                 "Shaders",
                                                 "Sounds",
                                                 "Weapon HUD Interface",
                                                 "Unknown shorts",
                                                 "Unknown longs",
                                                 "Unknown floats"};
    const std::vector<std::string> labels = {"Number of zooms: ",      "Max ammo: ", "Clip size: ",
                                             "Projectiles per shot: ", "Zoom 1: ",   "Zoom 2: "};
    ASSERT_EQ(pistol.size(), 22u);
    EXPECT_EQ(std::vector<std::string>(pistol.begin(), pistol.begin() + 16), categories);
    for (std::size_t i = 0; i < labels.size(); ++i) {
        EXPECT_THAT(pistol[16 + i], testing::StartsWith(labels[i]));
    }
}

TEST(WindowsProgramUnderWine, ValuesTypedAndUpdatedReachTheMap) {
    const Both both = RunBoth(
        "select 1.17\ntype 40000\nupdate\nitem 1.17\n"
        "select 1.20\ntype 0.1\nupdate\nitem 1.20\n"
        "select 1.14.25\ntype -1\nupdate\nitem 1.14.25\n"
        "select 2.16\ntype 7abc\nupdate\nitem 2.16\n"
        "exit\n");
    ExpectSameAsHeadless(both);
    EXPECT_EQ(Lines(both.windows.out),
              (std::vector<std::string>{"Max ammo: -25536", "Zoom 1: 0.100000", "Unknown 25: -1",
                                        "Number of zooms: 7"}));
    EXPECT_NE(both.windowsMap, both.before);
    const WeaponStruct pistol = RecordIn(both.windowsMap, "Pistol");
    EXPECT_EQ(static_cast<std::uint16_t>(pistol.GetNamedShort(1)), 0x9C40);
    EXPECT_EQ(pistol.GetNamedFloat(0), 0.1f);
    EXPECT_EQ(pistol.GetUnknownLong(25), -1);
    EXPECT_EQ(RecordIn(both.windowsMap, "Shotgun").GetNamedShort(0), 7);
}

TEST(WindowsProgramUnderWine, TagsChosenInTheListAndUpdatedReachTheMap) {
    // How many entries the list offers for the Pistol's models, "-1: NULL" being the last.
    int entries = 0;
    {
        MapFolder folder;
        const Session probe = Headless(folder.Path(), "select 1.7.1\npanel\n");
        ASSERT_EQ(std::sscanf(probe.out.c_str(), "entries %d", &entries), 1) << probe.out;
    }
    ASSERT_GT(entries, 4);
    const Both both = RunBoth(
        "select 1.7.0\npanel\nchoose 3\npanel\nupdate\nitem 1.7.0\n"
        "select 1.7.1\nchoose " +
        std::to_string(entries - 1) + "\npanel\nupdate\nitem 1.7.1\nexit\n");
    ExpectSameAsHeadless(both);
    EXPECT_TRUE(HasLine(both.windows.out, "selected " + std::to_string(entries - 1) + " -1: NULL"))
        << both.windows.out;
    EXPECT_TRUE(HasLine(both.windows.out, "edit FFFFFFFF")) << both.windows.out;
    EXPECT_EQ(Lines(both.windows.out).back(), "NULL");

    // The second models reference holds no tag now: identifier FFFFFFFF, name pointer 0.
    const WeaponStruct pistol = RecordIn(both.windowsMap, "Pistol");
    int models = 0;
    for (int slot = 0; slot < pistol.GetTagRefCount(); ++slot) {
        const TagReference* ref = pistol.GetTagRef(slot);
        if (std::string(reinterpret_cast<const char*>(&ref->classCode), 4) == "edom" &&
            ++models == 2) {
            EXPECT_EQ(ref->tagId, 0xFFFFFFFFu);
            EXPECT_EQ(ref->namePointer, 0u);
        }
    }
    EXPECT_GE(models, 2);
}

TEST(WindowsProgramUnderWine, EditBoxRefusesANinthTypedCharacter) {
    const Both both = RunBoth("select 1.17\ntype 123456789\npanel\nupdate\nitem 1.17\nexit\n");
    ExpectSameAsHeadless(both);
    EXPECT_TRUE(HasLine(both.windows.out, "edit 12345678")) << both.windows.out;
    EXPECT_EQ(Lines(both.windows.out).back(), "Max ammo: 24910");  // 12345678's low 16 bits
}

TEST(WindowsProgramUnderWine, CheckBoxRefillsTheListForTheSelectedReference) {
    const Both both =
        RunBoth("select 1.7.0\npanel\ncheck\npanel\nselect 1.7.1\npanel\ncheck\npanel\nexit\n");
    ExpectSameAsHeadless(both);
    const auto lines = Lines(both.windows.out);
    ASSERT_EQ(lines.size(), 16u) << both.windows.out;
    EXPECT_EQ(lines[4], "entries 1806");  // every searched row and "-1: NULL"
    EXPECT_EQ(lines[7], "check 1");
    EXPECT_EQ(lines[8], "entries 1806");  // the check box holds across selections
    EXPECT_EQ(lines[12], lines[0]);       // cleared: the class's rows again
    EXPECT_EQ(lines[15], "check 0");
    EXPECT_NE(lines[0], "entries 1806");
}

TEST(WindowsProgramUnderWine, UpdateWithNothingSelectedShowsTheMessage) {
    const Both both = RunBoth("update\nexit\n");
    ExpectSameAsHeadless(both);
    EXPECT_EQ(both.windows.out, "message Error seeking weapon struct\n");
    EXPECT_THAT(both.windows.report,
                HasSubstr("driver: box caption 'torvex' text 'Error seeking weapon struct' "
                          "buttons 'OK'\n"));
    EXPECT_EQ(both.windowsMap, both.before);
}

TEST(WindowsProgramUnderWine, ExitEscapeCloseAndEnterEndTheProgram) {
    const std::pair<const char*, const char*> ways[] = {
        {"the Exit button", "exit\n"},
        {"Escape", "escape\n"},
        {"the close box", "close\n"},
        {"Enter on the tree", "select 1\nenter\n"},
        {"Enter in the edit box", "select 1.17\ntype 5\nenter\n"},
    };
    for (const auto& [way, script] : ways) {
        SCOPED_TRACE(way);
        MapFolder folder;
        const Bytes before = folder.ReadMap();
        const Session run = OnWindows(folder.Path(), script);
        EXPECT_EQ(run.status, 0) << run.report;
        EXPECT_EQ(run.out, "");
        EXPECT_THAT(run.report, HasSubstr("driver: exit status 0\n"));
        EXPECT_THAT(run.report, HasSubstr("driver: message boxes 0\n"));
        EXPECT_EQ(folder.ReadMap(), before);
    }
}

// The dialog as Wine draws it, for people to look at: build/screenshots/torvex-dialog.png.
TEST(WindowsProgramUnderWine, ScreenshotOfTheDialog) {
    MapFolder folder;
    const Session run = OnWindows(folder.Path(), "select 1.7.0\nscreenshot dialog.bmp\nexit\n");
    ASSERT_EQ(run.status, 0) << run.report;
    const std::string bmp = folder.Path() + "/dialog.bmp";
    std::ifstream in(bmp, std::ios::binary);
    const Bytes image((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    ASSERT_GT(image.size(), 54u);
    std::int32_t width = 0, height = 0;
    std::memcpy(&width, &image[18], 4);
    std::memcpy(&height, &image[22], 4);
    // 388 by 141 dialog units with an 8-point font, plus the frame.
    EXPECT_GT(width, 388);
    EXPECT_GT(height, 141);
    EXPECT_GT(width, 2 * height);
    std::set<std::uint32_t> colours;
    for (std::size_t i = 54; i + 2 < image.size(); i += 3) {
        colours.insert(image[i] | image[i + 1] << 8 | image[i + 2] << 16);
    }
    EXPECT_GT(colours.size(), 4u) << "the capture shows no dialog";

    const std::string png = TORVEX_SCREENSHOTS "/torvex-dialog.png";
    std::filesystem::create_directories(TORVEX_SCREENSHOTS);
    const auto converted = RunProcess({"convert", bmp, png}, folder.Path());
    EXPECT_EQ(converted.status, 0) << converted.err;
}

}  // namespace
