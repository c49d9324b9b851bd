#include <cstring>
#include <ostream>

#include "app/weapon_records.h"
#include "catalogue/tag_catalogue.h"
#include "core/program_voice.h"
#include "editor/reference_slots.h"
#include "mods/field_steps.h"
#include "mods/messages.h"
#include "mods/mods.h"
#include "mods/patch_fields.h"
#include "tools/map_reader.h"
#include "weapon/map_file.h"

namespace mods {

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
            Reference(edited, original, slot);
        }
        if (kWeaponList[entry].displayName == nullptr && changes_.size() > before) {
            changes_.erase(changes_.begin() + static_cast<std::ptrdiff_t>(before), changes_.end());
            Note("the tree does not show this weapon, and its values or references differ");
        }
    }

    const Json& Changes() const { return changes_; }

  private:
    void Note(const std::string& what) {
        PrintAsProgram(err_, std::string(PatchName(entry_)) + ": " + what +
                                 "; left out of the patch, as the editor cannot change it");
    }

    void Value(const WeaponStruct& edited, const WeaponStruct& original, FieldRef field,
               const Json& address) {
        const std::string bytes = ValueBytes(field, edited);
        const std::string was = ValueBytes(field, original);
        if (bytes != was) {
            Add(address, Side(FieldText(field, edited), bytes.data(), bytes.size()),
                Side(FieldText(field, original), was.data(), was.size()));
        }
    }

    void Reference(const WeaponStruct& edited, const WeaponStruct& original, int slot) {
        const TagReference& now = *edited.GetTagRef(slot);
        const TagReference& was = *original.GetTagRef(slot);
        if (now.classCode != was.classCode || now.reserved != was.reserved) {
            return Note(Place(original, slot) + ": its class or reserved bytes differ");
        }
        if (now.tagId == was.tagId && now.namePointer == was.namePointer) {
            return;
        }
        const TagClass* tagClass = ClassOfReference(now);
        if (tagClass == nullptr || !Named(now)) {
            return Note(Place(edited, slot) +
                        ": it is not a shown reference to a catalogue tag, or to none");
        }
        Json address = {{"group", tagClass->categoryName}, {"index", PositionOfSlot(edited, slot)}};
        Add(address, Tag(now), Tag(was));
    }

    // A reference as the tree places it, under its group counted as `ref` counts; one of a class
    // the tree does not show, by its place among all of the weapon's references.
    static std::string Place(const WeaponStruct& weapon, int slot) {
        if (const TagClass* tagClass = ClassOfReference(*weapon.GetTagRef(slot))) {
            return "reference " + std::to_string(PositionOfSlot(weapon, slot)) + " of " +
                   tagClass->categoryName;
        }
        return "reference " + std::to_string(slot) + " of " +
               std::to_string(weapon.GetTagRefCount()) + ", in no group the tree shows";
    }

    // Whether a reference points at a catalogue tag by its identifier and name, or at none.
    static bool Named(const TagReference& reference) {
        const int row = reference.tagId == kNoTag ? -1 : FindRowById(reference.tagId);
        const std::uint32_t pointer = row < 0 ? 0 : NamePointerOfRow(row);
        return (row >= 0 || reference.tagId == kNoTag) && reference.namePointer == pointer;
    }

    // A reference as a side of a change: its tag by path and class, or null for a reference to
    // no tag or to what the catalogue cannot name, which its bytes then say.
    static Json Tag(const TagReference& reference) {
        const int row =
            Named(reference) && reference.tagId != kNoTag ? FindRowById(reference.tagId) : -1;
        Json side =
            Side(WeaponStruct::ReadTagName(reference.namePointer), &reference, sizeof reference);
        side["tag"] = row < 0 ? Json() : Json(std::string(TagNameOfRow(row)));
        side["class"] = row < 0 ? Json() : Json(std::string(ClassOfRow(row)));
        return side;
    }

    static Json Side(const std::string& text, const void* bytes, std::size_t size) {
        return {{"text", text}, {"bytes", HexOfBytes(bytes, size)}};
    }

    // The entry reads as the tree would show the field now, then what it was.
    void Add(const Json& address, const Json& now, const Json& was) {
        Json change = {{"weapon", PatchName(entry_)}};
        change.update(address);
        change.update(now);
        change["was"] = was;
        changes_.push_back(change);
    }

    std::ostream& err_;
    int entry_ = 0;
    Json changes_ = Json::array();
};

}  // namespace

// Either map may be a copy cut short; a patch against one would set what it lacks to zero.
int RunDiff(const std::string& originalPath, std::ostream& out, std::ostream& err) {
    const std::string paths[] = {kMapFileName, originalPath};
    for (const std::string& path : paths) {
        if (const Status readable = tools::MapReader().Open(path); !readable) {
            PrintAsProgram(err, path + ": " + readable.Error());
            return kRefused;
        }
    }
    Differ differ(err);
    for (int entry = 0; entry < kWeaponCount; ++entry) {
        WeaponStruct edited(kWeaponList[entry].metaOffset);
        WeaponStruct original(kWeaponList[entry].metaOffset);
        for (const auto& [path, record] :
             {std::pair{&paths[0], &edited}, std::pair{&paths[1], &original}}) {
            if (!record->ReadFromFile(path->c_str())) {
                PrintAsProgram(err,
                               *path + ": " + text::kMapTooShort + kWeaponList[entry].updateName);
                return kRefused;
            }
        }
        differ.Weapon(entry, edited, original);
    }
    out << Json{{"torvex_patch", kPatchFormat}, {"changes", differ.Changes()}}.dump(2) << '\n';
    return kDone;
}

}  // namespace mods
