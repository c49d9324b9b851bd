#include <cstring>
#include <ostream>

#include "app/weapon_records.h"
#include "catalogue/tag_catalogue.h"
#include "cli/patch_fields.h"
#include "cli/weapon_patch.h"
#include "editor/reference_slots.h"
#include "tools/map_reader.h"
#include "weapon/map_file.h"

namespace cli {

namespace {

// Collects the changes of one weapon after another; what the editor cannot change goes to err.
class Differ {
  public:
    explicit Differ(std::ostream& err) : err_(err) {}

    void Weapon(int entry, const WeaponStruct& edited, const WeaponStruct& original) {
        entry_ = entry;
        const std::size_t before = changes_.size();
        if (edited.GetBlockPointer() != original.GetBlockPointer()) {
            Note("the pointer to its second block differs");
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
        if (kWeaponList[entry].displayName == nullptr && changes_.size() > before) {
            changes_.erase(changes_.begin() + static_cast<std::ptrdiff_t>(before), changes_.end());
            Note("the tree does not show this weapon, and its values or references differ");
        }
    }

    const Json& Changes() const { return changes_; }

  private:
    void Note(const std::string& what) {
        err_ << "torvex-cli: " << PatchName(entry_) << ": " << what
             << "; left out of the patch, as the editor cannot change it\n";
    }

    void Value(const WeaponStruct& edited, const WeaponStruct& original, FieldRef field,
               const Json& address) {
        const std::string bytes = ValueBytes(field, edited);
        if (bytes != ValueBytes(field, original)) {
            Add(address, FieldText(field, edited), bytes.data(), bytes.size());
        }
    }

    void Reference(const WeaponStruct& edited, int slot, const TagReference& was) {
        const TagReference& now = *edited.GetTagRef(slot);
        const std::string where = "reference slot " + std::to_string(slot);
        if (now.classCode != was.classCode || now.reserved != was.reserved) {
            return Note(where + ": its class or reserved bytes differ");
        }
        if (now.tagId == was.tagId && now.namePointer == was.namePointer) {
            return;
        }
        const TagClass* tagClass = ClassOfReference(now);
        const int row = now.tagId == kNoTag ? -1 : FindRowById(now.tagId);
        const std::uint32_t pointer = row < 0 ? 0 : NamePointerOfRow(row);
        if (tagClass == nullptr || (row < 0 && now.tagId != kNoTag) || now.namePointer != pointer) {
            return Note(where + ": it is not a shown reference to a catalogue tag, or to none");
        }
        Json address = {{"group", tagClass->categoryName}, {"index", PositionOfSlot(edited, slot)}};
        address["tag"] = row < 0 ? Json() : Json(std::string(TagNameOfRow(row)));
        address["class"] = row < 0 ? Json() : Json(std::string(ClassOfRow(row)));
        Add(address, WeaponStruct::ReadTagName(now.namePointer), &now, sizeof now);
    }

    void Add(const Json& address, const std::string& text, const void* bytes, std::size_t size) {
        Json change = {{"weapon", PatchName(entry_)}};
        change.update(address);
        change["text"] = text;
        change["bytes"] = HexOfBytes(bytes, size);
        changes_.push_back(change);
    }

    std::ostream& err_;
    int entry_ = 0;
    Json changes_ = Json::array();
};

}  // namespace

int RunDiff(const std::string& originalPath, const WeaponRecords& edited, std::ostream& out,
            std::ostream& err) {
    for (const std::string& path : {std::string(kMapFileName), originalPath}) {
        tools::MapReader reader;
        if (const Status readable = reader.Open(path); !readable) {
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

}  // namespace cli
