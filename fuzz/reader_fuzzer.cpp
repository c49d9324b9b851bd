// The reader and the writer on arbitrary map bytes. The input's bytes stand at a weapon's meta
// offset in a sparse map that may end anywhere, with the second block anywhere or nowhere, or
// there is no map at all. Writing the record back unchanged must change nothing, so it holds the
// file's bytes wherever it writes; after one field changed, that field's bytes alone may change.
// The file is never created or extended.

#include <cstring>

#include "catalogue/supported_map.h"
#include "demo/demo_map.h"
#include "fuzz/field_place.h"
#include "fuzz/fuzz_support.h"
#include "weapon/map_file.h"

namespace {

using fuzz::FileOffsetOf;
using fuzz::PlaceOf;

// Changes one field through the record's own setters; gives the bytes it may then write.
std::pair<std::uint64_t, std::uint64_t> ChangeOneField(WeaponStruct& w, std::uint8_t which,
                                                       std::uint8_t index) {
    const auto span = [&w](FieldKind kind, int i) {
        const std::uint64_t at = FileOffsetOf(w, PlaceOf(kind, i));
        return std::make_pair(at, at + FieldSize(kind));
    };
    switch (which % 5) {
        case 0:
            w.SetUnknownShort(static_cast<std::int16_t>(~w.GetUnknownShort(index % 22)),
                              index % 22);
            return span(FieldKind::UnknownShort, index % 22);
        case 1:
            w.SetUnknownLong(~w.GetUnknownLong(index % 26), index % 26);
            return span(FieldKind::UnknownLong, index % 26);
        case 2:
            w.SetUnknownFloat(w.GetUnknownFloat(index % 36) + 1.5f, index % 36);
            return span(FieldKind::UnknownFloat, index % 36);
        case 3:
            w.GetTagRef(index % 35)->namePointer ^= 0x01020304;
            w.GetTagRef(index % 35)->tagId ^= 0x80000000;
            return span(FieldKind::TagRef, index % 35);
        default:
            w.SetNamedShort(static_cast<std::int16_t>(~w.GetNamedShort(index % 4)), index % 4);
            return span(FieldKind::NamedShort, index % 4);
    }
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    fuzz::EnterScratchFolder();
    return 0;
}

// Input: weapon, file mode, second-block placement, the field to change, then the bytes at the
// meta offset.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::Input in(data, size);
    const std::uint32_t meta = kWeaponList[in.Byte() % kWeaponCount].metaOffset;
    const std::uint8_t mode = in.Byte();
    const std::uint8_t place = in.Byte();
    const std::uint8_t which = in.Byte();
    const std::uint8_t index = in.Byte();
    fuzz::Bytes bytes = in.Rest();
    // Mostly a second block right after the main block or before it; else the input's own word.
    if ((mode & 3) != 0 && bytes.size() >= kBlockPointerOffset + 4) {
        const std::uint64_t second = (mode & 3) == 1 ? meta + kMainBlockSize + place * 4u
                                                     : meta - kSecondBlockSize - place * 4u;
        const auto pointer = static_cast<std::uint32_t>(second + ADDRESS_MAGIC);
        std::memcpy(bytes.data() + kBlockPointerOffset, &pointer, 4);
    }
    const std::uint64_t end = meta + bytes.size();
    const std::uint64_t ends[] = {end, demo::kFileSize, end + place, end > place ? end - place : 0};
    std::remove(kMapFileName);
    if ((mode & 0xF0) != 0xF0) {
        fuzz::WriteMap(bytes, meta, ends[mode >> 2 & 3]);
    }

    WeaponStruct record(meta);
    const fuzz::FileImage before = fuzz::FileImage::Of(kMapFileName);
    record.WriteToMap();
    const fuzz::FileImage same = fuzz::FileImage::Of(kMapFileName);
    if (const long long at = fuzz::FileImage::FirstDifference(before, same); at >= 0) {
        fuzz::Fail("writing an unchanged record changed byte " + std::to_string(at));
    }
    const auto changed = ChangeOneField(record, which, index);
    record.WriteToMap();
    if (const long long at =
            fuzz::FileImage::FirstDifference(same, fuzz::FileImage::Of(kMapFileName), {changed});
        at >= 0) {
        fuzz::Fail("a write changed byte " + std::to_string(at) + " outside the edited field");
    }
    fuzz::ReleaseBuffers(record);
    return 0;
}
