#include "editor/item_text.h"

#include <algorithm>
#include <array>
#include <cstring>

#include "editor/number_text.h"

namespace {

// The reader's walk: the main block, then the second block.
constexpr std::span<const LayoutRow> kWalkOrder[] = {kMainBlock, kSecondBlock};

constexpr bool IsLabelled(const LayoutRow& row) {
    return row.label != nullptr;
}

// The fields of a kind that the walk meets before the row, or in all without one.
constexpr int FieldsOfKindBefore(FieldKind kind, const LayoutRow* end) {
    int fields = 0;
    for (std::span<const LayoutRow> block : kWalkOrder) {
        for (const LayoutRow& row : block) {
            if (&row == end) {
                return fields;
            }
            fields += row.kind == kind ? row.count : 0;
        }
    }
    return fields;
}

constexpr std::size_t kNamedFieldCount =
    std::ranges::count_if(kMainBlock, IsLabelled) + std::ranges::count_if(kSecondBlock, IsLabelled);

// The reader numbers a kind's fields as the walk meets them.
constexpr std::array<NamedField, kNamedFieldCount> kNamedFields = [] {
    std::array<NamedField, kNamedFieldCount> fields{};
    std::size_t next = 0;
    for (std::span<const LayoutRow> block : kWalkOrder) {
        for (const LayoutRow& row : block) {
            if (IsLabelled(row)) {
                fields[next++] = {row.label, {row.kind, FieldsOfKindBefore(row.kind, &row)}};
            }
        }
    }
    return fields;
}();

// The index an unnamed value's text carries: from after its first blank to its first ":".
int IndexInItemText(std::string_view text) {
    const std::size_t blank = text.find(' ');
    const std::size_t start = blank == std::string_view::npos ? 0 : blank + 1;
    const std::size_t colon = text.find(':', start);
    return ParseInt(text.substr(start, colon == std::string_view::npos ? colon : colon - start));
}

const NamedField* NamedFieldBegun(std::string_view itemText) {
    const auto named = std::ranges::find_if(
        kNamedFields, [&](const NamedField& field) { return itemText.starts_with(field.label); });
    return named == kNamedFields.end() ? nullptr : &*named;
}

}  // namespace

std::span<const NamedField> NamedFields() {
    return kNamedFields;
}

std::optional<FieldRef> FieldOfItem(std::string_view itemText, std::string_view parentText) {
    if (const NamedField* named = NamedFieldBegun(itemText)) {
        return named->field;
    }
    for (const UnnamedCategory& category : kUnnamedCategories) {
        // The parent is recognised by the category's singular: "Unknown short" and so on.
        const std::string_view singular(category.text, std::strlen(category.text) - 1);
        if (parentText.starts_with(singular)) {
            return FieldRef{category.kind, IndexInItemText(itemText)};
        }
    }
    return std::nullopt;
}

bool TakesTypedValue(std::string_view itemText) {
    return itemText.starts_with("Unknown ") || NamedFieldBegun(itemText) != nullptr;
}

int FieldCount(FieldKind kind) {
    return FieldsOfKindBefore(kind, nullptr);
}

// 16-bit values show sign-extended, floats widened to double, as printf takes them.
std::string FieldText(FieldRef field, const WeaponStruct& record) {
    const int i = field.element;
    switch (field.kind) {
        case FieldKind::NamedShort:
            return Format("%s: %d", record.GetNamedShortLabel(i), int{record.GetNamedShort(i)});
        case FieldKind::NamedFloat:
            return Format("%s: %f", record.GetNamedFloatLabel(i), double{record.GetNamedFloat(i)});
        case FieldKind::UnknownShort:
            return Format("Unknown %d: %d", i, int{record.GetUnknownShort(i)});
        case FieldKind::UnknownLong:
            return Format("Unknown %d: %d", i, int{record.GetUnknownLong(i)});
        case FieldKind::UnknownFloat:
            return Format("Unknown %d: %f", i, double{record.GetUnknownFloat(i)});
        default:
            return {};
    }
}
