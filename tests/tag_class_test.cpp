#include "catalogue/tag_class.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

const char* LabelOf(const TagClass* row) {
    return row ? row->label : "none";
}

TEST(TagClass, FindByStoredClass) {
    const std::pair<const char*, const char*> cases[] = {
        {"edom", "Models"}, {"!tpj", "Damage"},     {"effe", "Effect"},
        {"rdhs", "Shader"}, {"ihpw", "Weapon HUD"}, {"vtca", "Actor Variant"},
        {"rtos", "none"},  // sotr belongs to no row
        {"EDOM", "none"},  // comparisons are case-sensitive
        {"mode", "none"},  // reading order is not the stored order
        {"edo", "none"},    {"", "none"},           {"\xFF\xFF\xFF\xFF", "none"},
    };
    for (const auto& [stored, label] : cases) {
        EXPECT_STREQ(LabelOf(FindTagClassByStoredClass(stored)), label) << stored;
    }
}

TEST(TagClass, StoredClassTextStopsAtZeroAndFourBytes) {
    const char withZero[4] = {'e', 'd', '\0', 'm'};
    EXPECT_EQ(StoredClassText(withZero), "ed");
    EXPECT_EQ(FindTagClassByStoredClass(StoredClassText(withZero)), nullptr);
    const char full[4] = {'e', 'd', 'o', 'm'};
    EXPECT_EQ(StoredClassText(full), "edom");
}

TEST(TagClass, FindByLabelInItsOrder) {
    const std::pair<const char*, const char*> cases[] = {
        {"Damage Models", "Damage"},
        {"Weapon HUD Interface", "Weapon HUD"},
        {"Projectiles", "Projectile"},
        {"Effects", "Effect"},
        {"Models", "Models"},
        {"Physics", "Physics"},
        {"Material Effects", "Material Effect"},
        {"Shaders", "Shader"},
        {"Sounds", "Sound"},
        {"Actor Variants", "Actor Variant"},
        {"Equipments", "Equipment"},
        {"Animation Triggers", "Animation Trigger"},
        {"Collision Models", "Collision Model"},
        {"Pistol", "none"},
        {"Unknown shorts", "none"},
        {"Unknown longs", "none"},
        {"Unknown floats", "none"},
        {"models", "none"},
        {"", "none"},
    };
    for (const auto& [text, label] : cases) {
        EXPECT_STREQ(LabelOf(FindTagClassByLabel(text)), label) << text;
    }
}

TEST(TagClass, TableRowsAndCodes) {
    for (const TagClass& row : kTagClasses) {
        SCOPED_TRACE(row.categoryName);
        EXPECT_EQ(std::strncmp(row.categoryName, row.label, std::strlen(row.label)), 0);
        char reversed[5] = {row.referenceClass[3], row.referenceClass[2], row.referenceClass[1],
                            row.referenceClass[0], '\0'};
        EXPECT_STREQ(row.storedBytes, reversed);
        if (std::strcmp(row.categoryName, "Shaders") != 0) {
            EXPECT_STREQ(row.listClass, row.referenceClass);
        }
    }
    EXPECT_STREQ(kTagClasses[10].listClass, "sotr");
    EXPECT_STREQ(kTagClasses[0].categoryName, "Actor Variants");
    EXPECT_STREQ(kTagClasses[12].categoryName, "Weapon HUD Interface");
}

}  // namespace
