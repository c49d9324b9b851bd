#include "editor/item_text.h"

#include <cstring>
#include <vector>

#include "editor/number_text.h"

namespace {

// The reader's walk: the main block, then the second block.
constexpr std::span<const LayoutRow> kWalkOrder[] = {kMainBlock, kSecondBlock};

// The fields of a kind that the walk meets before the row, or in all without one.
int FieldsOfKind(FieldKind kind, const LayoutRow* before = nullptr) {
    int fields = 0;
    for (std::span<const LayoutRow> block : kWalkOrder) {
        for (const LayoutRow& row : block) {
            if (&row == before) {
                return fields;
            }
            fields += row.kind == kind ? row.count : 0;
        }
    }
    return fields;
}

// The index an unnamed value's text carries after its first blank, up to the ":".
int IndexInItemText(std::string_view text) {
    const std::size_t blank = text.find(' ');
    return ParseInt(blank == std::string_view::npos ? text : text.substr(blank + 1));
}

}  // namespace

std::span<const NamedField> NamedFields() {
    static const std::vector<NamedField> fields = [] {
        std::vector<NamedField> named;
        for (std::span<const LayoutRow> block : kWalkOrder) {
            for (const LayoutRow& row : block) {
                if (row.label != nullptr) {
                    named.push_back({row.label, {row.kind, FieldsOfKind(row.kind, &row)}});
                }
            }
        }
        return named;
    }();
    return fields;
}

std::optional<FieldRef> FieldOfItem(std::string_view itemText, std::string_view parentText) {
    for (const NamedField& named : NamedFields()) {
        if (itemText.starts_with(named.label)) {
            return named.field;
        }
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
    // A named value is recognised by its own text alone.
    return itemText.starts_with("Unknown ") || FieldOfItem(itemText, "").has_value();
}

int FieldCount(FieldKind kind) {
    return FieldsOfKind(kind);
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
