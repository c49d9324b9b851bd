#include "weapon/weapon_layout_walker.h"

void WeaponLayoutWalker::WalkRow(const LayoutRow& row, bool moveBytes) {
    if (row.kind == FieldKind::Gap) {
        if (moveBytes) {
            file_.Skip(row.count);
        }
        return;
    }
    for (int i = 0; i < row.count; ++i) {
        void* data = Destination(row);
        if (moveBytes) {
            Move(data, FieldSize(row.kind));
        }
    }
}

// The entry at the kind's current count, which then advances. A named field's label is stored
// first, at that same index, when reading.
void* WeaponLayoutWalker::Destination(const LayoutRow& row) {
    WeaponStruct& r = record_;
    const bool labels = direction_ == Direction::Read;
    switch (row.kind) {
        case FieldKind::UnknownShort:
            return &r.unknownShorts[r.unknownShortCount++];
        case FieldKind::UnknownLong:
            return &r.unknownLongs[r.unknownLongCount++];
        case FieldKind::UnknownFloat:
            return &r.unknownFloats[r.unknownFloatCount++];
        case FieldKind::TagRef:
            return r.tagRefs[r.tagRefCount++];
        case FieldKind::BlockPointer:
            return &r.blockPointer;
        case FieldKind::NamedShort:
            if (labels) {
                r.namedShortLabels[r.namedShortCount] = row.label;
            }
            return &r.namedShorts[r.namedShortCount++];
        case FieldKind::NamedFloat:
            if (labels) {
                r.namedFloatLabels[r.namedFloatCount] = row.label;
            }
            return &r.namedFloats[r.namedFloatCount++];
        case FieldKind::Gap:
            break;
    }
    return nullptr;
}

void WeaponLayoutWalker::Move(void* data, std::size_t size) {
    if (direction_ == Direction::Read) {
        file_.Read(data, size);
    } else {
        file_.Write(data, size);
    }
}
