#include "editor/reference_slots.h"

#include <cstring>

namespace {

bool IsOfClass(const TagReference& ref, const TagClass& tagClass) {
    return std::memcmp(&ref.classCode, tagClass.storedBytes, sizeof ref.classCode) == 0;
}

}  // namespace

const TagClass* ClassOfReference(const TagReference& ref) {
    char classBytes[4];
    std::memcpy(classBytes, &ref.classCode, sizeof classBytes);
    return FindTagClassByStoredClass(StoredClassText(classBytes));
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
        position += std::memcmp(&record.GetTagRef(before)->classCode, &ref.classCode, 4) == 0;
    }
    return position;
}
