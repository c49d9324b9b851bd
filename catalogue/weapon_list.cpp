#include "catalogue/weapon_list.h"

#include <cstring>

const WeaponListEntry kWeaponList[kWeaponCount] = {
    {237, 0xE26100EDu, "weapons/assault rifle/assault rifle.weap", 0x027A2ED0u, "Assault Rifle",
     "Assault Rifle"},
    {476, 0xE35001DCu, "weapons/pistol/pistol.weap", 0x027EBA14u, "Pistol", "Pistol"},
    {918, 0xE50A0396u, "weapons/shotgun/shotgun.weap", 0x028A1C14u, "Shotgun", "Shotgun"},
    {1005, 0xE56103EDu, "weapons/plasma rifle/plasma rifle.weap", 0x028CBF18u, "Plasma Rifle",
     "Plasma Rifle"},
    {1100, 0xE5C0044Cu, "weapons/rocket launcher/rocket launcher.weap", 0x028F92BCu,
     "Rocket Launcher", "Rocket Launcher"},
    {1172, 0xE6080494u, "weapons/sniper rifle/sniper rifle.weap", 0x02925C88u, "Sniper Rifle",
     "Sniper Rifle"},
    {1281, 0xE6750501u, "weapons/plasma pistol/plasma pistol.weap", 0x0295E8A0u, "Plasma Pistol",
     "Plasma Pistol"},
    {1449, 0xE71D05A9u, "weapons/flamethrower/flamethrower.weap", 0x029D183Cu, nullptr,
     "Flamethrower"},
    {1501, 0xE75105DDu, "weapons/gravity rifle/gravity rifle.weap", 0x029EE864u, nullptr,
     "Gravity Gun"},
    {1508, 0xE75805E4u, "weapons/needler/needler.weap", 0x029EFF18u, "Needler", "Needler"},
    {1587, 0xE7A70633u, "weapons/ball/ball.weap", 0x02A14430u, "Ball", "Ball"},
    {1601, 0xE7B50641u, "weapons/flag/flag.weap", 0x02A1F710u, "Flag", "Flag"},
    {658, 0xE4060292u, "vehicles/warthog/warthog gun.weap", 0x02848980u, "Warthog", "Warthog"},
    {767, 0xE47302FFu, "vehicles/scorpion/scorpion cannon.weap", 0x0287646Cu, "Scorpion",
     "Scorpion"},
    {861, 0xE4D1035Du, "vehicles/ghost/ghost gun.weap", 0x0288DEB4u, "Ghost", "Ghost"},
};

int FindWeaponByUpdateName(const char* text) {
    for (int i = 0; i < kWeaponCount; ++i) {
        if (std::strcmp(kWeaponList[i].updateName, text) == 0) {
            return i;
        }
    }
    return -1;
}
