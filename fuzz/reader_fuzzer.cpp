// The reader and the writer on arbitrary map bytes. The input's bytes are placed at a weapon's
// meta offset in a sparse map, so the walk reads them; the file may end anywhere and the second
// block may lie anywhere, or nowhere. The record must then hold exactly the bytes the file had
// at its fields, writing it back unchanged must change nothing, and writing it after one field
// changed may change that field's bytes and no others. The file is never created or extended.

#include <fcntl.h>
#include <unistd.h>

#include <cstring>

#include "catalogue/supported_map.h"
#include "catalogue/tag_catalogue.h"
#include "demo/demo_map.h"
#include "fuzz/fuzz_support.h"
#include "weapon/map_file.h"

namespace {

using fuzz::Bytes;
using fuzz::FileImage;
using fuzz::Step;

// Input: weapon, file mode, second-block placement, then the bytes at the meta offset; the
// edit to make is taken from the front of those bytes' tail, read again.
struct MapShape {
    std::uint32_t meta;
    bool missing;
    std::uint64_t end;  // file length
};

MapShape WriteMap(fuzz::Input& in) {
    const std::uint32_t meta = kWeaponList[in.Byte() % kWeaponCount].metaOffset;
    const std::uint8_t mode = in.Byte();
    const std::uint8_t place = in.Byte();
    Bytes data = in.Rest();
    // Mostly a pointer into the input's own bytes, after the main block or before it; else the
    // input's own word, wherever it leads.
    if ((mode & 3) != 0 && data.size() >= kBlockPointerOffset + 4) {
        const std::uint64_t second = (mode & 3) == 1 ? meta + kMainBlockSize + place * 4u
                                                     : meta - kSecondBlockSize - place * 4u;
        const auto pointer = static_cast<std::uint32_t>(second + ADDRESS_MAGIC);
        std::memcpy(data.data() + kBlockPointerOffset, &pointer, 4);
    }
    std::uint64_t end = meta + data.size();
    switch (mode >> 2 & 3) {
        case 1:
            end = demo::kFileSize;
            break;
        case 2:
            end += place;
            break;
        case 3:
            end = end > place ? end - place : 0;  // cut into the input's bytes
            break;
    }
    std::remove(kMapFileName);
    const bool missing = (mode & 0xF0) == 0xF0;
    if (!missing) {
        const int fd = open(kMapFileName, O_CREAT | O_WRONLY | O_TRUNC, 0644);
        if (fd < 0 ||
            pwrite(fd, data.data(), data.size(), meta) != static_cast<ssize_t>(data.size()) ||
            ftruncate(fd, static_cast<off_t>(end)) != 0 || close(fd) != 0) {
            fuzz::Fail("cannot write the map");
        }
    }
    return {meta, missing, end};
}

// Which fields a walk moves whole: all of them up to the first that would reach past the end.
// The one that reaches past it is read in part, and nothing after it is read or written.
struct Reach {
    std::size_t whole;          // steps moved whole
    std::uint64_t partialRead;  // bytes the next step receives when read
};

Reach ReachOf(const std::vector<Step>& steps, const MapShape& shape) {
    if (shape.missing) {
        return {0, 0};
    }
    for (std::size_t i = 0; i < steps.size(); ++i) {
        if (steps[i].at + steps[i].size > shape.end) {
            return {i, steps[i].at < shape.end ? shape.end - steps[i].at : 0};
        }
    }
    return {steps.size(), 0};
}

void CheckRead(const WeaponStruct& record, const MapShape& shape, const FileImage& file) {
    const int counts[] = {record.GetNamedLongCount(),    record.GetNamedShortCount(),
                          record.GetNamedFloatCount(),   record.GetNamedDoubleCount(),
                          record.GetUnknownLongCount(),  record.GetUnknownShortCount(),
                          record.GetUnknownFloatCount(), record.GetUnknownDoubleCount(),
                          record.GetTagRefCount()};
    const int totals[] = {0, 4, 2, 0, 26, 22, 36, 0, 35};
    if (std::memcmp(counts, totals, sizeof counts) != 0) {
        fuzz::Fail("counts after reading are not the totals");
    }
    if (std::strcmp(record.GetNamedShortLabel(3), kLabelProjectilesPerShot) != 0 ||
        std::strcmp(record.GetNamedFloatLabel(1), kLabelZoom2) != 0) {
        fuzz::Fail("labels missing after reading");
    }
    // The main block's steps do not depend on the pointer, so the model can take the one the
    // record holds once it has checked that word like any other.
    const std::vector<Step> steps = fuzz::WalkSteps(shape.meta, record.GetBlockPointer());
    const Reach reach = ReachOf(steps, shape);
    for (std::size_t i = 0; i < steps.size(); ++i) {
        const Step& s = steps[i];
        const std::uint64_t got = i < reach.whole    ? s.size
                                  : i == reach.whole ? reach.partialRead
                                                     : 0;
        const auto held = fuzz::FieldBytes(record, s.kind, s.index);
        for (std::uint32_t b = 0; b < s.size; ++b) {
            const std::uint8_t expected = b < got ? file.At(s.at + b) : 0;
            if (held[b] != expected) {
                fuzz::Fail("field " + std::to_string(i) + " byte " + std::to_string(b) +
                           " does not hold the file's byte");
            }
        }
    }
}

void CheckWrite(WeaponStruct& record, const MapShape& shape, fuzz::Input& edit) {
    const FileImage before = FileImage::Of(kMapFileName);
    record.WriteToMap();
    const FileImage same = FileImage::Of(kMapFileName);
    if (long long at = FileImage::FirstDifference(before, same); at >= 0) {
        fuzz::Fail("writing an unchanged record changed byte " + std::to_string(at));
    }

    const std::vector<Step> steps = fuzz::WalkSteps(shape.meta, record.GetBlockPointer());
    const Step& changed = steps[edit.Byte() % steps.size()];
    if (changed.kind == FieldKind::BlockPointer) {
        return;  // no setter: the record's pointer only changes by reading
    }
    std::uint8_t value[16];
    for (std::uint8_t& b : value) {
        b = edit.Byte() ^ 0x5A;
    }
    fuzz::SetFieldBytes(record, changed.kind, changed.index, value);
    record.WriteToMap();
    const FileImage after = FileImage::Of(kMapFileName);
    if (record.GetTagRefCount() != 35 || record.GetUnknownFloatCount() != 36) {
        fuzz::Fail("counts after writing are not the totals");
    }
    if (long long at =
            FileImage::FirstDifference(same, after, {{changed.at, changed.at + changed.size}});
        at >= 0) {
        fuzz::Fail("a write changed byte " + std::to_string(at) + " outside the edited field");
    }
    // Exactly: every field that fits is written in walk order, a later block overlapping an
    // earlier one overwriting it.
    FileImage expected = same;
    const Reach reach = ReachOf(steps, shape);
    for (std::size_t i = 0; i < reach.whole; ++i) {
        const auto bytes = fuzz::FieldBytes(record, steps[i].kind, steps[i].index);
        expected.Put(steps[i].at, bytes.data(), steps[i].size);
    }
    if (long long at = FileImage::FirstDifference(expected, after); at >= 0) {
        fuzz::Fail("byte " + std::to_string(at) + " is not what the walk writes");
    }
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    fuzz::EnterScratchFolder();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::Input in(data, size);
    const MapShape shape = WriteMap(in);
    WeaponStruct record(shape.meta);
    CheckRead(record, shape, FileImage::Of(kMapFileName));
    // The edit is drawn from the input's last bytes, which also stand in the map.
    fuzz::Input edit(data + size / 2, size - size / 2);
    CheckWrite(record, shape, edit);
    if (shape.missing && access(kMapFileName, F_OK) == 0) {
        fuzz::Fail("the writer created the map");
    }
    fuzz::ReleaseBuffers(record);
    return 0;
}
