#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "weapon/weapon_layout.h"
#include "weapon/weapon_struct.h"

// Tree items carry text only, so the value an item stands for is read back from the texts the
// tree wrote: the words here are both what the tree shows and what the update recognises.

// One value of a record: a named or unnamed 16-bit, 32-bit or float field, and its index among
// the record's values of that kind.
struct FieldRef {
    FieldKind kind;
    int element;
    bool operator==(const FieldRef&) const = default;
};

struct NamedField {
    const char* label;
    FieldRef field;
};

// The layout's labelled fields in walk order, the order their labels are tried. A field's
// element is its rank among the fields of its kind in that order: where the reader stores it.
std::span<const NamedField> NamedFields();

// The categories of the unnamed values, in the tree's order.
struct UnnamedCategory {
    FieldKind kind;
    const char* text;
};
inline constexpr UnnamedCategory kUnnamedCategories[] = {
    {FieldKind::UnknownShort, "Unknown shorts"},
    {FieldKind::UnknownLong, "Unknown longs"},
    {FieldKind::UnknownFloat, "Unknown floats"},
};

// The field an item stands for: a named value by the label its own text begins with, an
// unnamed value by its parent's text and the index in its own. None for any other item.
std::optional<FieldRef> FieldOfItem(std::string_view itemText, std::string_view parentText);

// Whether the panel takes a typed number for the item: a named or unnamed value, or an unnamed
// category, which reads like one.
bool TakesTypedValue(std::string_view itemText);

// A record holds as many values of a kind as the layout has fields of it: the reader counts
// every field, whether its bytes could be read or not.
int FieldCount(FieldKind kind);

// The item text that shows the field's value in the record.
std::string FieldText(FieldRef field, const WeaponStruct& record);
