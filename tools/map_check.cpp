#include "tools/map_check.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <ostream>
#include <string_view>

#include "catalogue/supported_map.h"
#include "catalogue/tag_catalogue.h"
#include "catalogue/tag_class.h"
#include "tools/map_reader.h"
#include "tools/tag_index.h"
#include "weapon/weapon_layout.h"

namespace tools {

namespace {

using State = CheckLine::State;

// One past the last row's terminator.
std::uint32_t NamesEnd() {
    return kTagNameOffsets[kTagCount - 1] +
           static_cast<std::uint32_t>(TagNameOfRow(kTagCount - 1).size()) + 1;
}

bool IsCatalogueIdentifier(std::uint32_t identifier) {
    const int row = static_cast<int>(identifier & 0xFFFFu);
    return row < kTagCount && TagIdentifier(row) == identifier;
}

std::string Quote(const std::uint8_t* bytes, std::size_t size) {
    std::string text = "\"";
    for (std::size_t i = 0; i < size; ++i) {
        const std::uint8_t c = bytes[i];
        if (c == 0) {
            text += "\\0";
        } else if (c == '"' || c == '\\') {
            text += '\\';
            text += static_cast<char>(c);
        } else if (c >= 0x20 && c < 0x7F) {
            text += static_cast<char>(c);
        } else {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\x%02X", c);
            text += escaped;
        }
    }
    return text + "\"";
}

std::string ByteList(const std::uint8_t* bytes, std::size_t size) {
    std::string text;
    for (std::size_t i = 0; i < size; ++i) {
        char hex[4];
        std::snprintf(hex, sizeof hex, "%02X", bytes[i]);
        text += (i ? " " : "") + std::string(hex);
    }
    return text;
}

Status CheckNames(MapReader& reader) {
    std::vector<std::uint8_t> names(NamesEnd() - kFirstNameOffset);
    const std::size_t held = reader.ReadAt(kFirstNameOffset, names.data(), names.size());
    for (int row = 0; row < kTagCount; ++row) {
        std::string want(TagNameOfRow(row));
        want += '\0';
        const std::size_t at = kTagNameOffsets[row] - kFirstNameOffset;
        const std::size_t have = held > at ? std::min(want.size(), held - at) : 0;
        if (have == want.size() && std::memcmp(names.data() + at, want.data(), have) == 0) {
            continue;
        }
        std::string found = Quote(names.data() + at, have);
        if (have < want.size()) {
            found += " and then the end of the file at " + Hex(reader.Size());
        }
        return Failure{"row " + std::to_string(row) + " at " + Hex(kTagNameOffsets[row]) +
                       ": expected " +
                       Quote(reinterpret_cast<const std::uint8_t*>(want.data()), want.size()) +
                       ", found " + found};
    }
    return {};
}

Status CheckNamePointers(const TagIndex& index) {
    for (std::size_t row = 0; row < index.entries.size(); ++row) {
        const std::uint32_t want = NamePointerOfRow(static_cast<int>(row));
        if (index.entries[row].namePointer != want) {
            return Failure{"row " + std::to_string(row) + " at " +
                           Hex(index.FieldOffset(static_cast<int>(row), kEntryNamePointerField)) +
                           ": expected " + Hex(want) + ", found " +
                           Hex(index.entries[row].namePointer)};
        }
    }
    return {};
}

// Of the catalogue's meta pointers only the telling rows' and the weapons' are the supported
// map's own values; the generator spreads the other rows' pointers between them. So the check
// compares those exactly, and holds every other row only to the ascending order (with the one
// row that has no meta data at 0). A map whose synthesised rows differ is still the supported
// map as far as the editor goes: it never reads a meta pointer but the weapons'.
Status CheckMetaPointers(const TagIndex& index) {
    if (Status weapons = CheckWeaponMeta(index); !weapons) {
        return weapons;
    }
    const auto at = [&](int row) {
        return "row " + std::to_string(row) + " at " +
               Hex(index.FieldOffset(row, kEntryMetaPointerField));
    };
    int previous = -1;
    for (int row = 0; row < static_cast<int>(index.entries.size()); ++row) {
        const std::uint32_t found = index.entries[row].metaPointer;
        for (const TellingRow& telling : kTellingRows) {
            if (telling.row == row && found != telling.metaPointer) {
                return Failure{at(row) + ": expected " + Hex(telling.metaPointer) + ", found " +
                               Hex(found)};
            }
        }
        if (row == kNoMetaRow) {
            continue;
        }
        if (previous >= 0 && found <= index.entries[previous].metaPointer) {
            return Failure{at(row) + ": expected a pointer above row " + std::to_string(previous) +
                           "'s " + Hex(index.entries[previous].metaPointer) + ", found " +
                           Hex(found)};
        }
        previous = row;
    }
    return {};
}

std::string WeaponName(const WeaponListEntry& weapon) {
    return std::string(weapon.updateName) + " (row " + std::to_string(weapon.row) + ")";
}

// Where a weapon's second block may lie: after its own main block, and before the next
// weapon's main block, so that a pointer into another weapon's data is caught.
std::uint64_t SpanEnd(const WeaponListEntry& weapon, std::uint64_t fileSize) {
    std::uint64_t end = fileSize;
    for (const WeaponListEntry& other : kWeaponList) {
        if (other.metaOffset > weapon.metaOffset) {
            end = std::min<std::uint64_t>(end, other.metaOffset);
        }
    }
    return end;
}

struct WeaponBlocks {
    std::uint64_t main = 0;
    std::uint64_t second = 0;
    bool readable = false;
};

Status CheckBlocks(MapReader& reader, std::vector<WeaponBlocks>& blocks) {
    std::string first;
    for (int i = 0; i < kWeaponCount; ++i) {
        const WeaponListEntry& weapon = kWeaponList[i];
        std::string problem;
        const std::uint64_t main = weapon.metaOffset;
        const std::uint64_t pointerAt = main + kBlockPointerOffset;
        std::uint32_t pointer = 0;
        if (main + kMainBlockSize > reader.Size()) {
            problem = "main block at " + Hex(main) + ": expected its " +
                      std::to_string(kMainBlockSize) +
                      " bytes inside the file, found the end of the file at " + Hex(reader.Size());
        } else if (!reader.Read32(pointerAt, &pointer) || pointer < ADDRESS_MAGIC) {
            problem = "block pointer at " + Hex(pointerAt) + ": expected " + Hex(ADDRESS_MAGIC) +
                      " or more, found " + Hex(pointer);
        } else {
            const std::uint64_t second = pointer - ADDRESS_MAGIC;
            const std::uint64_t lowest = main + kMainBlockSize;
            const std::uint64_t end = SpanEnd(weapon, reader.Size());
            if (second < lowest || second + kSecondBlockSize > end) {
                problem = "block pointer at " + Hex(pointerAt) + ": expected its " +
                          std::to_string(kSecondBlockSize) + "-byte second block between " +
                          Hex(lowest) + " and " + Hex(end) + ", found " + Hex(pointer) +
                          " (second block at " + Hex(second) + ")";
                if (second + kSecondBlockSize > reader.Size()) {
                    problem += ", past the end of the file at " + Hex(reader.Size());
                }
            } else {
                blocks[i] = {main, second, true};
            }
        }
        if (!problem.empty() && first.empty()) {
            first = WeaponName(weapon) + " " + problem;
        }
    }
    return first.empty() ? Status() : Failure{first};
}

template <std::size_t N>
Status CheckBlockReferences(const LayoutRow (&rows)[N], const std::vector<std::uint8_t>& block,
                            std::uint64_t base, const WeaponListEntry& weapon, int& slot) {
    for (const LayoutRow& row : rows) {
        for (int i = 0; row.kind == FieldKind::TagRef && i < row.count; ++i, ++slot) {
            const std::size_t at = row.offset + FieldSize(row.kind) * i;
            TagReference ref;
            std::memcpy(&ref, block.data() + at, sizeof ref);
            if (const Status sound = CheckReference(ref); !sound) {
                return Failure{WeaponName(weapon) + " reference " + std::to_string(slot) + " at " +
                               Hex(base + at) + ": " + sound.Error()};
            }
        }
    }
    return {};
}

Status CheckReferences(MapReader& reader, const std::vector<WeaponBlocks>& blocks, int* checked) {
    std::vector<std::uint8_t> main(kMainBlockSize);
    std::vector<std::uint8_t> second(kSecondBlockSize);
    for (int i = 0; i < kWeaponCount; ++i) {
        if (!blocks[i].readable) {
            continue;
        }
        reader.ReadAt(blocks[i].main, main.data(), main.size());
        reader.ReadAt(blocks[i].second, second.data(), second.size());
        int slot = 0;
        Status sound = CheckBlockReferences(kMainBlock, main, blocks[i].main, kWeaponList[i], slot);
        if (sound) {
            sound =
                CheckBlockReferences(kSecondBlock, second, blocks[i].second, kWeaponList[i], slot);
        }
        if (!sound) {
            return sound;
        }
        *checked += slot;
    }
    return {};
}

void Add(CheckReport& report, const char* name, const Status& kept, const std::string& passed) {
    report.lines.push_back(kept ? CheckLine{State::Passed, name, passed}
                                : CheckLine{State::Failed, name, kept.Error()});
}

void CheckIndex(MapReader& reader, CheckReport& report) {
    const IndexLookup lookup = ReadTagIndex(reader);
    if (lookup.status == IndexLookup::Status::NoHeader) {
        report.lines.push_back({State::Note, "header",
                                lookup.detail +
                                    ": no tag index to compare, so only the names and the "
                                    "weapons are checked"});
        return;
    }
    if (lookup.status == IndexLookup::Status::Broken) {
        report.lines.push_back({State::Failed, "tag index", lookup.detail});
        return;
    }
    const TagIndex& index = lookup.index;
    const std::string rows = std::to_string(index.entries.size()) + " rows";
    Add(report, "tag index", {}, "header \"daeh\" ... \"toof\", index at " + Hex(index.offset));
    Add(report, "tag count", CheckTagCount(index), std::to_string(index.tagCount));
    Add(report, "magic", CheckMagic(index), Hex(index.ImpliedMagic()));
    Add(report, "identifiers", CheckIdentifiers(index), rows);
    Add(report, "name pointers", CheckNamePointers(index), rows);
    Add(report, "meta pointers", CheckMetaPointers(index),
        "the 15 weapons' and the telling rows' exact, all ascending");
}

}  // namespace

int CheckReport::Checks() const {
    return static_cast<int>(std::count_if(lines.begin(), lines.end(), [](const CheckLine& line) {
        return line.state != State::Note;
    }));
}

int CheckReport::Failures() const {
    return static_cast<int>(std::count_if(lines.begin(), lines.end(), [](const CheckLine& line) {
        return line.state == State::Failed;
    }));
}

// A reference makes sense when its class is four printable characters (short codes are
// padded with blanks) or all FF for none, its identifier is a catalogue tag's or 0xFFFFFFFF,
// and, for a class the editor shows, its name pointer is 0 or lies inside the names. Classes
// the editor neither shows nor edits get no name pointer test, and a pointer into the middle
// of a name passes: real maps hold both. Nor is a pointer held to the catalogue's name starts,
// which are this build's: on the supported map with other names every pointer would miss
// them, and the names check already tells that case apart. Still, a weapon read from moved
// bytes fails at once: stray bytes are seldom a printable class, and almost never a catalogue
// identifier.
Status CheckReference(const TagReference& ref) {
    char classBytes[4] = {};
    std::memcpy(classBytes, &ref.classCode, 4);
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(classBytes);
    if (ref.classCode != kNoTag &&
        !std::all_of(bytes, bytes + 4, [](std::uint8_t c) { return c >= 0x20 && c < 0x7F; })) {
        return Failure{"class: expected four printable characters or FF FF FF FF, found " +
                       ByteList(bytes, 4)};
    }
    if (ref.tagId != kNoTag && !IsCatalogueIdentifier(ref.tagId)) {
        return Failure{"identifier: expected a catalogue tag's or 0xFFFFFFFF, found " +
                       Hex(ref.tagId)};
    }
    const TagClass* known =
        ref.classCode == kNoTag ? nullptr : FindTagClassByStoredClass(StoredClassText(classBytes));
    if (known == nullptr || ref.namePointer == 0) {
        return {};
    }
    const std::uint32_t offset = ref.namePointer - ADDRESS_MAGIC;
    if (offset < kFirstNameOffset || offset >= NamesEnd()) {
        return Failure{"name pointer of a \"" + std::string(known->referenceClass) +
                       "\" reference: expected 0 or one into the names, " +
                       Hex(kFirstNameOffset + ADDRESS_MAGIC) + " to " +
                       Hex(NamesEnd() - 1 + ADDRESS_MAGIC) + ", found " + Hex(ref.namePointer)};
    }
    return {};
}

CheckReport CheckMap(const std::string& path) {
    CheckReport report;
    MapReader reader;
    if (const Status opened = reader.Open(path); !opened) {
        report.reason = opened.Error();
        return report;
    }
    report.readable = true;
    Add(report, "names", CheckNames(reader),
        std::to_string(kTagCount) + " names from " + Hex(kFirstNameOffset) + " to " +
            Hex(NamesEnd() - 1));
    CheckIndex(reader, report);
    std::vector<WeaponBlocks> blocks(kWeaponCount);
    Add(report, "weapon blocks", CheckBlocks(reader, blocks),
        std::to_string(kWeaponCount) + " weapons, each second block after its main block");
    int references = 0;
    const Status sound = CheckReferences(reader, blocks, &references);
    Add(report, "weapon references", sound,
        std::to_string(references) + " references in the weapons whose blocks were found");
    const bool namesOnly =
        std::all_of(report.lines.begin(), report.lines.end(), [](const CheckLine& line) {
            return line.state != State::Failed || line.name == "names" ||
                   line.name == "name pointers";
        });
    if (namesOnly && report.Failures() > 0) {
        report.lines.push_back(
            {State::Note, "names only",
             "everything but the names agrees, so this may be the supported map with names of its "
             "own: keep a copy, run \"torvex-cli catalogue " +
                 path + " > my_paths.txt\" and build with -DTORVEX_TAG_PATHS=$PWD/my_paths.txt"});
    }
    if (reader.Failed()) {
        report.readable = false;
        report.reason = "a read failed";
    }
    return report;
}

int PrintCheckReport(const CheckReport& report, const std::string& path, std::ostream& out) {
    if (!report.readable) {
        out << "unreadable: cannot read " << path << ": " << report.reason << '\n';
        return 2;
    }
    for (const CheckLine& line : report.lines) {
        const char* state = line.state == State::Passed   ? "ok  "
                            : line.state == State::Failed ? "FAIL"
                                                          : "note";
        out << state << "  " << line.name << ": " << line.detail << '\n';
    }
    if (report.Supported()) {
        out << "supported: " << path << " is the map this build supports (" << report.Checks()
            << " checks passed)\n";
        return 0;
    }
    out << "not supported: " << report.Failures() << " of " << report.Checks() << " checks failed; "
        << path
        << " is not the map this build supports, and editing it would write into the wrong "
           "bytes\n";
    return 1;
}

}  // namespace tools
