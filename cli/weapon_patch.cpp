#include "cli/weapon_patch.h"

#include <cstring>
#include <fstream>
#include <map>
#include <nlohmann/json.hpp>
#include <optional>
#include <ostream>
#include <sstream>
#include <variant>
#include <vector>

#include "app/weapon_records.h"
#include "catalogue/tag_catalogue.h"
#include "catalogue/tag_class.h"
#include "editor/item_text.h"
#include "editor/reference_slots.h"
#include "tools/map_reader.h"
#include "weapon/map_file.h"
#include "weapon/weapon_layout.h"

namespace cli {

namespace {

using Json = nlohmann::ordered_json;

// The format's own number, so that a later format can tell an old patch.
constexpr int kPatchFormat = 1;

std::string Hex(const void* data, std::size_t size) {
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string text;
    for (std::size_t i = 0; i < size; ++i) {
        const unsigned byte = static_cast<const unsigned char*>(data)[i];
        text += kDigits[byte >> 4];
        text += kDigits[byte & 15];
    }
    return text;
}

std::optional<std::string> Unhex(const std::string& text) {
    auto digit = [](char c) {
        return c >= '0' && c <= '9'   ? c - '0'
               : c >= 'a' && c <= 'f' ? c - 'a' + 10
               : c >= 'A' && c <= 'F' ? c - 'A' + 10
                                      : -1;
    };
    std::string bytes;
    for (std::size_t i = 0; i + 1 < text.size(); i += 2) {
        if (digit(text[i]) < 0 || digit(text[i + 1]) < 0) {
            return std::nullopt;
        }
        bytes += static_cast<char>(digit(text[i]) * 16 + digit(text[i + 1]));
    }
    return text.size() % 2 == 0 ? std::optional(bytes) : std::nullopt;
}

// A value's bytes as the map holds them: the record keeps the file's own bytes.
std::string ValueBytes(FieldRef field, const WeaponStruct& record) {
    const int i = field.element;
    switch (field.kind) {
        case FieldKind::NamedShort: {
            const std::int16_t v = record.GetNamedShort(i);
            return std::string(reinterpret_cast<const char*>(&v), sizeof v);
        }
        case FieldKind::UnknownShort: {
            const std::int16_t v = record.GetUnknownShort(i);
            return std::string(reinterpret_cast<const char*>(&v), sizeof v);
        }
        case FieldKind::UnknownLong: {
            const std::int32_t v = record.GetUnknownLong(i);
            return std::string(reinterpret_cast<const char*>(&v), sizeof v);
        }
        case FieldKind::NamedFloat: {
            const float v = record.GetNamedFloat(i);
            return std::string(reinterpret_cast<const char*>(&v), sizeof v);
        }
        case FieldKind::UnknownFloat: {
            const float v = record.GetUnknownFloat(i);
            return std::string(reinterpret_cast<const char*>(&v), sizeof v);
        }
        default:
            return {};
    }
}

template <class T>
T FromBytes(const std::string& bytes) {
    T value;
    std::memcpy(&value, bytes.data(), sizeof value);
    return value;
}

void SetValueBytes(FieldRef field, const std::string& bytes, WeaponStruct& record) {
    const int i = field.element;
    switch (field.kind) {
        case FieldKind::NamedShort:
            return record.SetNamedShort(FromBytes<std::int16_t>(bytes), i);
        case FieldKind::UnknownShort:
            return record.SetUnknownShort(FromBytes<std::int16_t>(bytes), i);
        case FieldKind::UnknownLong:
            return record.SetUnknownLong(FromBytes<std::int32_t>(bytes), i);
        case FieldKind::NamedFloat:
            return record.SetNamedFloat(FromBytes<float>(bytes), i);
        case FieldKind::UnknownFloat:
            return record.SetUnknownFloat(FromBytes<float>(bytes), i);
        default:
            return;
    }
}

// The catalogue row a reference's tag names, -1 for no tag; nothing for a tag outside it.
std::optional<int> RowOfReference(const TagReference& ref) {
    if (ref.tagId == kNoTag) {
        return -1;
    }
    const int row = FindRowById(ref.tagId);
    return row < 0 ? std::nullopt : std::optional(row);
}

const char* ShownName(int entry) {
    return kWeaponList[entry].displayName;
}

// ---- diff -----------------------------------------------------------------------------------

class Differ {
  public:
    Differ(std::ostream& err) : err_(err) {}

    void Weapon(int entry, const WeaponStruct& edited, const WeaponStruct& original) {
        entry_ = entry;
        const std::size_t before = changes_.size();
        if (edited.GetBlockPointer() != original.GetBlockPointer()) {
            Note("its second block's pointer differs");
        }
        for (const NamedField& named : NamedFields()) {
            Value(edited, original, named.field, {{"label", named.label}});
        }
        for (const UnnamedCategory& category : kUnnamedCategories) {
            for (int i = 0; i < FieldCount(category.kind); ++i) {
                Value(edited, original, {category.kind, i},
                      {{"group", category.text}, {"index", i}});
            }
        }
        for (int slot = 0; slot < edited.GetTagRefCount(); ++slot) {
            Reference(edited, slot, *original.GetTagRef(slot));
        }
        if (ShownName(entry) == nullptr && changes_.size() > before) {
            changes_.erase(changes_.begin() + static_cast<std::ptrdiff_t>(before), changes_.end());
            Note("the tree does not show this weapon, and its values or references differ");
        }
    }

    Json Changes() const { return changes_; }

  private:
    // Changes of a weapon the tree does not show are dropped, so any name serves it here.
    const char* Name() const {
        return ShownName(entry_) ? ShownName(entry_) : kWeaponList[entry_].updateName;
    }

    void Note(const std::string& what) {
        err_ << "torvex-cli: " << kWeaponList[entry_].updateName << ": " << what
             << "; not in the patch, the editor cannot change it\n";
    }

    void Value(const WeaponStruct& edited, const WeaponStruct& original, FieldRef field,
               Json address) {
        const std::string bytes = ValueBytes(field, edited);
        if (bytes == ValueBytes(field, original)) {
            return;
        }
        Json change = {{"weapon", Name()}};
        change.update(address);
        change["text"] = FieldText(field, edited);
        change["bytes"] = Hex(bytes.data(), bytes.size());
        changes_.push_back(change);
    }

    void Reference(const WeaponStruct& edited, int slot, const TagReference& was) {
        const TagReference& now = *edited.GetTagRef(slot);
        if (std::memcmp(&now, &was, sizeof now) == 0) {
            return;
        }
        const std::string where = "reference slot " + std::to_string(slot);
        const TagClass* tagClass = ClassOfReference(now);
        if (now.classCode != was.classCode || now.reserved != was.reserved) {
            return Note(where + "'s class or reserved bytes differ");
        }
        if (tagClass == nullptr) {
            return Note(where + " is of a class the tree does not show");
        }
        const std::optional<int> row = RowOfReference(now);
        if (!row || (*row < 0 ? 0 : NamePointerOfRow(*row)) != now.namePointer) {
            return Note(where + " points at no catalogue tag by both identifier and name");
        }
        Json change = {{"weapon", Name()},
                       {"group", tagClass->categoryName},
                       {"index", PositionOfSlot(edited, slot)},
                       {"text", WeaponStruct::ReadTagName(now.namePointer)}};
        change["tag"] = *row < 0 ? Json() : Json(std::string(TagNameOfRow(*row)));
        change["class"] = *row < 0 ? Json() : Json(std::string(ClassOfRow(*row)));
        change["bytes"] = Hex(&now, sizeof now);
        changes_.push_back(change);
    }

    std::ostream& err_;
    int entry_ = 0;
    Json changes_ = Json::array();
};

// ---- apply ----------------------------------------------------------------------------------

struct ValueChange {
    FieldRef field;
    std::string bytes;
};
struct ReferenceChange {
    const TagClass* tagClass;
    int position;
    int row;  // -1: no tag
};
struct Change {
    int entry;
    std::variant<ValueChange, ReferenceChange> what;
};

int FindShownWeapon(const std::string& name) {
    for (int entry = 0; entry < kWeaponCount; ++entry) {
        if (ShownName(entry) != nullptr && name == ShownName(entry)) {
            return entry;
        }
    }
    return -1;
}

const TagClass* FindCategory(const std::string& text) {
    for (const TagClass& row : kTagClasses) {
        if (text == row.categoryName) {
            return &row;
        }
    }
    return nullptr;
}

std::optional<int> FindSearchedRow(const std::string& name, const std::string& tagClass) {
    for (int row = 0; row < kSearchedRowCount; ++row) {
        if (TagNameOfRow(row) == name && ClassOfRow(row) == tagClass) {
            return row;
        }
    }
    return std::nullopt;
}

std::string StringOr(const Json& entry, const char* key) {
    const auto it = entry.find(key);
    return it != entry.end() && it->is_string() ? it->get<std::string>() : std::string();
}

// The entry as a change of the records, or why it cannot be one.
Result<Change> ReadChange(const Json& entry, const WeaponRecords& records) {
    if (!entry.is_object()) {
        return Failure{"not an object"};
    }
    const std::string weapon = StringOr(entry, "weapon");
    const int index = FindShownWeapon(weapon);
    if (index < 0) {
        return Failure{"unknown weapon '" + weapon + "'"};
    }
    const auto bytes = Unhex(StringOr(entry, "bytes"));
    if (!bytes) {
        return Failure{"bytes are not a string of hexadecimal digit pairs"};
    }
    const auto sized = [&](std::size_t want) -> Status {
        if (bytes->size() == want) {
            return {};
        }
        return Failure{"bytes hold " + std::to_string(bytes->size()) + " bytes, the field takes " +
                       std::to_string(want)};
    };
    const Json* position = entry.contains("index") ? &entry["index"] : nullptr;
    const auto indexBelow = [&](int count) -> Result<int> {
        if (position == nullptr || !position->is_number_integer() ||
            position->get<long long>() < 0 || position->get<long long>() >= count) {
            return Failure{"index out of range: the group holds " + std::to_string(count)};
        }
        return position->get<int>();
    };

    if (entry.contains("label")) {
        const std::string label = StringOr(entry, "label");
        for (const NamedField& named : NamedFields()) {
            if (label == named.label) {
                if (Status s = sized(FieldSize(named.field.kind)); !s) {
                    return Failure{s.Error()};
                }
                return Change{index, ValueChange{named.field, *bytes}};
            }
        }
        return Failure{"unknown label '" + label + "'"};
    }
    const std::string group = StringOr(entry, "group");
    for (const UnnamedCategory& category : kUnnamedCategories) {
        if (group == category.text) {
            const Result<int> i = indexBelow(FieldCount(category.kind));
            if (!i) {
                return Failure{i.Error()};
            }
            if (Status s = sized(FieldSize(category.kind)); !s) {
                return Failure{s.Error()};
            }
            return Change{index, ValueChange{{category.kind, *i}, *bytes}};
        }
    }
    const TagClass* tagClass = FindCategory(group);
    if (tagClass == nullptr) {
        return Failure{"unknown group '" + group + "'"};
    }
    const Result<int> i = indexBelow(ReferencesOfClass(records[index], *tagClass));
    if (!i) {
        return Failure{i.Error()};
    }
    if (Status s = sized(sizeof(TagReference)); !s) {
        return Failure{s.Error()};
    }
    if (entry.contains("tag") && entry["tag"].is_null()) {
        return Change{index, ReferenceChange{tagClass, *i, -1}};
    }
    const std::string tag = StringOr(entry, "tag"), code = StringOr(entry, "class");
    const std::optional<int> row = FindSearchedRow(tag, code);
    if (!row) {
        return Failure{"the tag '" + tag + "." + code + "' is not in the catalogue"};
    }
    return Change{index, ReferenceChange{tagClass, *i, *row}};
}

Result<std::vector<Change>> ReadPatch(const std::string& path, const WeaponRecords& records) {
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        return Failure{path + ": cannot be read\n"};
    }
    std::stringstream text;
    text << file.rdbuf();
    const Json patch = Json::parse(text.str(), nullptr, false);
    if (patch.is_discarded()) {
        return Failure{path + ": not valid JSON\n"};
    }
    if (!patch.is_object() || !patch.contains("torvex_patch") ||
        patch["torvex_patch"] != kPatchFormat || !patch.contains("changes") ||
        !patch["changes"].is_array()) {
        return Failure{path + ": not a Torvex patch (format " + std::to_string(kPatchFormat) +
                       ") with a list of changes\n"};
    }
    std::vector<Change> changes;
    std::string errors;
    for (std::size_t n = 0; n < patch["changes"].size(); ++n) {
        Result<Change> change = ReadChange(patch["changes"][n], records);
        if (change) {
            changes.push_back(*change);
        } else {
            errors += path + ": entry " + std::to_string(n + 1) + ": " + change.Error() + "\n";
        }
    }
    if (!errors.empty()) {
        return Failure{errors};
    }
    return changes;
}

struct Made {
    std::string before;  // the item's text before and after, as the tree would show it
    std::string after;
    bool changed;  // whether any byte of the record changed
};

Made Make(const Change& change, WeaponStruct& record) {
    if (const auto* value = std::get_if<ValueChange>(&change.what)) {
        Made made{
            FieldText(value->field, record), {}, ValueBytes(value->field, record) != value->bytes};
        SetValueBytes(value->field, value->bytes, record);
        made.after = FieldText(value->field, record);
        return made;
    }
    const auto& ref = std::get<ReferenceChange>(change.what);
    TagReference* slot = NthReferenceOfClass(record, *ref.tagClass, ref.position);
    const TagReference before = *slot;
    slot->tagId = ref.row < 0 ? kNoTag : kTagIdentifiers[ref.row];
    slot->namePointer = ref.row < 0 ? 0 : NamePointerOfRow(ref.row);
    return {WeaponStruct::ReadTagName(before.namePointer),
            WeaponStruct::ReadTagName(slot->namePointer),
            std::memcmp(&before, slot, sizeof before) != 0};
}

Status ReadableMap(const std::string& path) {
    tools::MapReader reader;
    return reader.Open(path);
}

}  // namespace

int RunDiff(const std::string& originalPath, const WeaponRecords& edited, std::ostream& out,
            std::ostream& err) {
    for (const std::string& path : {std::string(kMapFileName), originalPath}) {
        if (Status readable = ReadableMap(path); !readable) {
            err << "torvex-cli: " << readable.Error() << '\n';
            return 2;
        }
    }
    Differ differ(err);
    for (int entry = 0; entry < kWeaponCount; ++entry) {
        WeaponStruct original(kWeaponList[entry].metaOffset);
        original.ReadFromFile(originalPath.c_str());
        differ.Weapon(entry, edited[entry], original);
    }
    out << Json{{"torvex_patch", kPatchFormat}, {"changes", differ.Changes()}}.dump(2) << '\n';
    return 0;
}

int RunApply(const std::string& patchPath, WeaponRecords& records, std::ostream& out,
             std::ostream& err) {
    const Result<std::vector<Change>> changes = ReadPatch(patchPath, records);
    if (!changes) {
        std::istringstream errors(changes.Error());
        for (std::string line; std::getline(errors, line);) {
            err << "torvex-cli: " << line << '\n';
        }
        return 2;
    }
    if (!MapFile(kMapFileName, MapFile::Mode::Update).Good()) {
        err << "torvex-cli: " << kMapFileName << " cannot be opened for writing\n";
        return 2;
    }
    bool changed[kWeaponCount] = {};
    int fields = 0;
    for (const Change& change : *changes) {
        const Made made = Make(change, records[change.entry]);
        if (made.changed) {
            out << ShownName(change.entry) << ": " << made.before << " -> " << made.after << '\n';
            changed[change.entry] = true;
            ++fields;
        }
    }
    int weapons = 0;
    for (int entry = 0; entry < kWeaponCount; ++entry) {
        if (changed[entry]) {
            records[entry].WriteToMap();  // the writer of Update: the whole weapon, once
            ++weapons;
        }
    }
    out << fields << " fields changed in " << weapons << " weapons\n";
    return 0;
}

}  // namespace cli
