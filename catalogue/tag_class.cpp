#include "catalogue/tag_class.h"

#include <algorithm>
#include <cstring>
#include <iterator>

const TagClass kTagClasses[kTagClassCount] = {
    {"Actor Variants", "actv", "vtca", "Actor Variant", "actv"},
    {"Animation Triggers", "antr", "rtna", "Animation Trigger", "antr"},
    {"Collision Models", "coll", "lloc", "Collision Model", "coll"},
    {"Damage Models", "jpt!", "!tpj", "Damage", "jpt!"},
    {"Effects", "effe", "effe", "Effect", "effe"},
    {"Equipments", "eqip", "piqe", "Equipment", "eqip"},
    {"Material Effects", "foot", "toof", "Material Effect", "foot"},
    {"Models", "mode", "edom", "Models", "mode"},
    {"Physics", "phys", "syhp", "Physics", "phys"},
    {"Projectiles", "proj", "jorp", "Projectile", "proj"},
    {"Shaders", "shdr", "rdhs", "Shader", "sotr"},
    {"Sounds", "snd!", "!dns", "Sound", "snd!"},
    {"Weapon HUD Interface", "wphi", "ihpw", "Weapon HUD", "wphi"},
};

namespace {

// Indices into kTagClasses in the order labels are tried.
constexpr int kLabelOrder[kTagClassCount] = {7, 1, 2, 8, 10, 6, 11, 4, 3, 0, 5, 9, 12};

}  // namespace

const TagClass* FindTagClassByStoredClass(std::string_view storedText) {
    const auto found = std::ranges::find(kTagClasses, storedText, &TagClass::storedBytes);
    return found == std::end(kTagClasses) ? nullptr : found;
}

const TagClass* FindTagClassByLabel(std::string_view text) {
    for (int index : kLabelOrder) {
        if (text.starts_with(kTagClasses[index].label)) {
            return &kTagClasses[index];
        }
    }
    return nullptr;
}

const TagClass* FindTagClassByCode(std::uint32_t classCode) {
    char classBytes[4];
    std::memcpy(classBytes, &classCode, sizeof classBytes);
    return FindTagClassByStoredClass(std::string_view(classBytes, strnlen(classBytes, 4)));
}
