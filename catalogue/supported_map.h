#pragma once

#include <cstdint>
#include <string_view>

// The one map this build supports, each fact of it stated once. The catalogue and its generator,
// the path-list rules, the map tools, the demo map and the tests all take them from here; the
// program itself never reads the map's own tag index.

// A pointer stored in the map is the file offset plus this constant, in unsigned 32-bit arithmetic.
inline constexpr std::uint32_t ADDRESS_MAGIC = 0x7E06AA00u;

inline constexpr int kTagCount = 1806;
// Searches stop one row short of the end: the last row is held but never matched or listed.
inline constexpr int kSearchedRowCount = kTagCount - 1;
inline constexpr std::uint32_t kNoTag = 0xFFFFFFFFu;

// The identifier rule: the low half is the row, the high half 0xE174 plus the row, skipping the
// high halves 0xE810 and 0xE812.
constexpr std::uint32_t TagIdentifier(int row) {
    const int skipped = row <= 1691 ? 0 : row == 1692 ? 1 : 2;
    return std::uint32_t(0xE174 + row + skipped) << 16 | std::uint32_t(row);
}

// Names lie packed from here in row order, each right after the previous one's terminator.
inline constexpr std::uint32_t kFirstNameOffset = 0x023497E4u;

// Rows whose values the program or its checks rely on. A row with a path has that path fixed;
// the others only their class.
struct TellingRow {
    int row;
    std::string_view classCode;
    std::string_view path;
    std::uint32_t nameOffset;
    std::uint32_t metaPointer;  // 0: the row has no meta data
};
inline constexpr int kNoMetaRow = 1764;
inline constexpr TellingRow kTellingRows[] = {
    {0, "scnr", "", kFirstNameOffset, 0x8068C318u},
    {122, "bitm", "", 0x0234AF65u, 0x80725514u},
    {1691, "metr", "", 0x0235A816u, 0x80A9AC88u},
    {1692, "metr", "", 0x0235A82Bu, 0x80A9D2DCu},
    {1693, "effe", "", 0x0235A83Eu, 0x80A9DD00u},
    {kNoMetaRow, "sbsp", "", 0x0235B26Eu, 0},
    {1804, "", "sound/sfx/ambience/multiplayer/countryday2.snd!", 0x0235B926u, 0x80AB0500u},
    {1805, "", "sound/sound environments/mountains.snde", 0x0235B951u, 0x80AB1018u},
};

// The name offset a row must have, or 0: the telling rows' and the assault rifle's.
constexpr std::uint32_t FixedNameOffset(int row) {
    if (row == 237) {
        return 0x0234C214u;
    }
    for (const TellingRow& telling : kTellingRows) {
        if (telling.row == row) {
            return telling.nameOffset;
        }
    }
    return 0;
}

// The fifteen weapon tags the editor loads, in the order their records are built at start-up.
// They are exactly the rows of class "weap"; each identifier follows from its row.
struct WeaponListEntry {
    int row;
    const char* path;
    std::uint32_t metaOffset;
    const char* displayName;  // nullptr: the tree does not show this weapon
    const char* updateName;   // the text by which the update finds the record
    std::uint32_t identifier = TagIdentifier(row);
};
inline constexpr int kWeaponCount = 15;
inline constexpr WeaponListEntry kWeaponList[kWeaponCount] = {
    {237, "weapons/assault rifle/assault rifle.weap", 0x027A2ED0u, "Assault Rifle",
     "Assault Rifle"},
    {476, "weapons/pistol/pistol.weap", 0x027EBA14u, "Pistol", "Pistol"},
    {918, "weapons/shotgun/shotgun.weap", 0x028A1C14u, "Shotgun", "Shotgun"},
    {1005, "weapons/plasma rifle/plasma rifle.weap", 0x028CBF18u, "Plasma Rifle", "Plasma Rifle"},
    {1100, "weapons/rocket launcher/rocket launcher.weap", 0x028F92BCu, "Rocket Launcher",
     "Rocket Launcher"},
    {1172, "weapons/sniper rifle/sniper rifle.weap", 0x02925C88u, "Sniper Rifle", "Sniper Rifle"},
    {1281, "weapons/plasma pistol/plasma pistol.weap", 0x0295E8A0u, "Plasma Pistol",
     "Plasma Pistol"},
    {1449, "weapons/flamethrower/flamethrower.weap", 0x029D183Cu, nullptr, "Flamethrower"},
    {1501, "weapons/gravity rifle/gravity rifle.weap", 0x029EE864u, nullptr, "Gravity Gun"},
    {1508, "weapons/needler/needler.weap", 0x029EFF18u, "Needler", "Needler"},
    {1587, "weapons/ball/ball.weap", 0x02A14430u, "Ball", "Ball"},
    {1601, "weapons/flag/flag.weap", 0x02A1F710u, "Flag", "Flag"},
    {658, "vehicles/warthog/warthog gun.weap", 0x02848980u, "Warthog", "Warthog"},
    {767, "vehicles/scorpion/scorpion cannon.weap", 0x0287646Cu, "Scorpion", "Scorpion"},
    {861, "vehicles/ghost/ghost gun.weap", 0x0288DEB4u, "Ghost", "Ghost"},
};

// Index into kWeaponList of the first entry that passes the test, or -1.
template <class Test>
constexpr int FindWeapon(Test test) {
    for (int i = 0; i < kWeaponCount; ++i) {
        if (test(kWeaponList[i])) {
            return i;
        }
    }
    return -1;
}

// The entry whose update name equals the text exactly, or the entry of a row.
constexpr int FindWeaponByUpdateName(std::string_view text) {
    return FindWeapon([text](const WeaponListEntry& weapon) { return text == weapon.updateName; });
}
constexpr int FindWeaponByRow(int row) {
    return FindWeapon([row](const WeaponListEntry& weapon) { return weapon.row == row; });
}

// The room a weapon's meta data takes, main block to second block and beyond, before the next
// tag's: the catalogue spreads the other rows' meta pointers around it, the demo map fills it.
inline constexpr std::uint32_t kWeaponDataSize = 0x800;

// How many rows each of the 57 class codes has.
struct ClassCount {
    std::string_view code;
    int rows;
};
inline constexpr ClassCount kClassCounts[] = {
    {"bitm", 368}, {"effe", 318}, {"snd!", 315}, {"soso", 106}, {"part", 96}, {"jpt!", 66},
    {"mode", 63},  {"deca", 39},  {"coll", 36},  {"ligh", 32},  {"DeLa", 30}, {"pphy", 30},
    {"sotr", 26},  {"lens", 22},  {"schi", 20},  {"antr", 19},  {"scen", 19}, {"wphi", 17},
    {"proj", 16},  {"weap", 15},  {"eqip", 14},  {"lsnd", 14},  {"senv", 14}, {"itmc", 12},
    {"cont", 8},   {"ustr", 8},   {"mgs2", 7},   {"pctl", 7},   {"smet", 7},  {"sgla", 6},
    {"foot", 5},   {"trak", 5},   {"unhi", 5},   {"colo", 4},   {"font", 4},  {"actv", 3},
    {"ant!", 3},   {"phys", 3},   {"vehi", 3},   {"bipd", 2},   {"grhi", 2},  {"metr", 2},
    {"Soul", 1},   {"flag", 1},   {"hm", 1},     {"hud#", 1},   {"hudg", 1},  {"matg", 1},
    {"sbsp", 1},   {"scnr", 1},   {"sky", 1},    {"snde", 1},   {"spla", 1},  {"ssce", 1},
    {"str#", 1},   {"udlg", 1},   {"wind", 1},
};

// Name lengths, terminator not counted: row 122's is the longest, every other one is shorter,
// and the shortest has exactly kShortestName characters.
inline constexpr int kLongestNameRow = 122;
inline constexpr int kLongestName = 85;
inline constexpr int kShortestName = 11;
