#include "editor/reference_slots.h"

#include <cstring>

#include "catalogue/tag_catalogue.h"

namespace {

bool IsOfClass(const TagReference& ref, const TagClass& tagClass) {
    return std::memcmp(&ref.classCode, tagClass.storedBytes, sizeof ref.classCode) == 0;
}

}  // namespace

const TagClass* ClassOfReference(const TagReference& ref) {
    return FindTagClassByCode(ref.classCode);
}

TagReference* NthReferenceOfClass(const WeaponStruct& record, const TagClass& tagClass, int n) {
    for (int slot = 0; slot < record.GetTagRefCount(); ++slot) {
        TagReference* ref = record.GetTagRef(slot);
        if (IsOfClass(*ref, tagClass) && n-- == 0) {
            return ref;
        }
    }
    return nullptr;
}

int ReferencesOfClass(const WeaponStruct& record, const TagClass& tagClass) {
    int count = 0;
    for (int slot = 0; slot < record.GetTagRefCount(); ++slot) {
        count += IsOfClass(*record.GetTagRef(slot), tagClass) ? 1 : 0;
    }
    return count;
}

int PositionOfSlot(const WeaponStruct& record, int slot) {
    const TagReference& ref = *record.GetTagRef(slot);
    int position = 0;
    for (int before = 0; before < slot; ++before) {
        position += record.GetTagRef(before)->classCode == ref.classCode;
    }
    return position;
}

void PointAtRow(TagReference& ref, int row) {
    ref.tagId = row < 0 ? kNoTag : kTagIdentifiers[row];
    ref.namePointer = row < 0 ? 0 : NamePointerOfRow(row);
}
