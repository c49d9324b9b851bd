#include "tools/map_check.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <ostream>
#include <span>

#include "catalogue/supported_map.h"
#include "catalogue/tag_catalogue.h"
#include "catalogue/tag_class.h"
#include "tools/catalogue_extract.h"
#include "tools/map_reader.h"
#include "tools/map_tool_commands.h"
#include "tools/tag_index.h"
#include "weapon/map_file.h"
#include "weapon/weapon_layout.h"

namespace tools {

namespace {

using State = CheckLine::State;

// One past the last row's terminator.
std::uint32_t NamesEnd() {
    return kTagNameOffsets[kTagCount - 1] +
           static_cast<std::uint32_t>(TagNameOfRow(kTagCount - 1).size()) + 1;
}

std::string Quote(const char* bytes, std::size_t size) {
    std::string text = "\"";
    for (const unsigned char c : std::string_view(bytes, size)) {
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

Status CheckNames(MapReader& reader) {
    std::vector<char> names(NamesEnd() - kFirstNameOffset);
    const std::size_t held = reader.ReadAt(kFirstNameOffset, names.data(), names.size());
    for (int row = 0; row < kTagCount; ++row) {
        const std::string want = std::string(TagNameOfRow(row)) + '\0';
        const std::size_t at = kTagNameOffsets[row] - kFirstNameOffset;
        const std::size_t have = held > at ? std::min(want.size(), held - at) : 0;
        if (have == want.size() && std::memcmp(names.data() + at, want.data(), have) == 0) {
            continue;
        }
        return Mismatch(
            "row " + std::to_string(row) + " at " + Hex(kTagNameOffsets[row]),
            Quote(want.data(), want.size()),
            Quote(names.data() + at, have) +
                (have < want.size() ? " and then the end of the file at " + Hex(reader.Size())
                                    : ""));
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
    int previous = -1;
    for (int row = 0; row < index.Rows(); ++row) {
        const std::uint32_t found = index.entries[row].metaPointer;
        const std::string at = index.At(row, kEntryMetaPointerField);
        for (const TellingRow& telling : kTellingRows) {
            if (telling.row == row && found != telling.metaPointer) {
                return Mismatch(at, Hex(telling.metaPointer), Hex(found));
            }
        }
        if (row == kNoMetaRow) {
            continue;
        }
        if (previous >= 0 && found <= index.entries[previous].metaPointer) {
            return Mismatch(at,
                            "a pointer above row " + std::to_string(previous) + "'s " +
                                Hex(index.entries[previous].metaPointer),
                            Hex(found));
        }
        previous = row;
    }
    return {};
}

// Where a weapon's second block lies: after its own main block, and before the next weapon's
// main block, so that a pointer into another weapon's data is caught.
Result<std::uint64_t> SecondBlock(MapReader& reader, const WeaponListEntry& weapon) {
    const std::uint64_t main = weapon.metaOffset;
    const std::uint64_t pointerAt = main + kBlockPointerOffset;
    const std::string fileEnd = Hex(reader.Size());
    std::uint32_t pointer = 0;
    if (main + kMainBlockSize > reader.Size()) {
        return Mismatch("main block at " + Hex(main),
                        "its " + std::to_string(kMainBlockSize) + " bytes inside the file",
                        "the end of the file at " + fileEnd);
    }
    if (!reader.Read32(pointerAt, &pointer) || pointer < ADDRESS_MAGIC) {
        return Mismatch("block pointer at " + Hex(pointerAt), Hex(ADDRESS_MAGIC) + " or more",
                        Hex(pointer));
    }
    const std::uint64_t second = pointer - ADDRESS_MAGIC;
    const std::uint64_t lowest = main + kMainBlockSize;
    std::uint64_t end = reader.Size();
    for (const WeaponListEntry& other : kWeaponList) {
        if (other.metaOffset > main) {
            end = std::min<std::uint64_t>(end, other.metaOffset);
        }
    }
    if (second >= lowest && second + kSecondBlockSize <= end) {
        return second;
    }
    const bool pastEnd = second + kSecondBlockSize > reader.Size();
    return Mismatch("block pointer at " + Hex(pointerAt),
                    "its " + std::to_string(kSecondBlockSize) + "-byte second block between " +
                        Hex(lowest) + " and " + Hex(end),
                    Hex(pointer) + " (second block at " + Hex(second) + ")" +
                        (pastEnd ? ", past the end of the file at " + fileEnd : ""));
}

// The references of one block; slot numbers them across both.
Status CheckReferences(std::span<const LayoutRow> rows, MapReader& reader, std::uint64_t block,
                       int& slot) {
    for (const LayoutRow& row : rows) {
        for (int i = 0; row.kind == FieldKind::TagRef && i < row.count; ++i, ++slot) {
            const std::uint64_t at = block + row.offset + sizeof(TagReference) * i;
            TagReference ref = {};
            reader.ReadAt(at, &ref, sizeof ref);
            if (const Status sound = CheckReference(ref); !sound) {
                return Failure{"reference " + std::to_string(slot) + " at " + Hex(at) + ": " +
                               sound.Error()};
            }
        }
    }
    return {};
}

void Add(CheckReport& report, const char* name, const Status& kept, const std::string& passed) {
    report.lines.push_back(kept ? CheckLine{State::Passed, name, passed}
                                : CheckLine{State::Failed, name, kept.Error()});
}

// Every weapon's blocks, and the references of those whose blocks lie where they should.
void CheckWeapons(MapReader& reader, CheckReport& report) {
    Status blocks;
    Status references;
    int checked = 0;
    for (const WeaponListEntry& weapon : kWeaponList) {
        const std::string name =
            std::string(weapon.updateName) + " (row " + std::to_string(weapon.row) + ") ";
        const Result<std::uint64_t> second = SecondBlock(reader, weapon);
        if (!second && blocks) {
            blocks = Failure{name + second.Error()};
        } else if (second && references) {
            int slot = 0;
            Status sound = CheckReferences(kMainBlock, reader, weapon.metaOffset, slot);
            sound = sound ? CheckReferences(kSecondBlock, reader, *second, slot) : sound;
            references = sound ? references : Failure{name + sound.Error()};
            checked += slot;
        }
    }
    Add(report, "weapon blocks", blocks,
        std::to_string(kWeaponCount) + " weapons, each second block after its main block");
    // A check that found no weapon to look at has not passed.
    if (checked == 0 && references) {
        references = Failure{"no weapon's blocks were found, so no reference was checked"};
    }
    Add(report, "weapon references", references,
        std::to_string(checked) + " references in the weapons whose blocks were found");
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
    const std::string rows = std::to_string(index.Rows()) + " rows";
    Add(report, "tag index", {}, "header \"daeh\" ... \"toof\", index at " + Hex(index.offset));
    Add(report, "tag count", CheckTagCount(index), std::to_string(index.tagCount));
    Add(report, "magic", CheckMagic(index), Hex(index.ImpliedMagic()));
    Add(report, "identifiers", CheckRows(index, kEntryIdentifierField, TagIdentifier), rows);
    Add(report, "name pointers", CheckRows(index, kEntryNamePointerField, NamePointerOfRow), rows);
    Add(report, "meta pointers", CheckMetaPointers(index),
        "the 15 weapons' and the telling rows' exact, all ascending");
}

}  // namespace

int CheckReport::Checks() const {
    return static_cast<int>(lines.size() -
                            std::ranges::count(lines, State::Note, &CheckLine::state));
}

int CheckReport::Failures() const {
    return static_cast<int>(std::ranges::count(lines, State::Failed, &CheckLine::state));
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
    char classBytes[4];
    std::memcpy(classBytes, &ref.classCode, 4);
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(classBytes);
    if (ref.classCode != kNoTag &&
        !std::all_of(bytes, bytes + 4, [](std::uint8_t c) { return c >= 0x20 && c < 0x7F; })) {
        char found[16];
        std::snprintf(found, sizeof found, "%02X %02X %02X %02X", bytes[0], bytes[1], bytes[2],
                      bytes[3]);
        return Mismatch("class", "four printable characters or FF FF FF FF", found);
    }
    const int row = static_cast<int>(ref.tagId & 0xFFFFu);
    if (ref.tagId != kNoTag && (row >= kTagCount || TagIdentifier(row) != ref.tagId)) {
        return Mismatch("identifier", "a catalogue tag's or 0xFFFFFFFF", Hex(ref.tagId));
    }
    const TagClass* known = ref.classCode == kNoTag ? nullptr : FindTagClassByCode(ref.classCode);
    const std::uint32_t offset = ref.namePointer - ADDRESS_MAGIC;
    if (known == nullptr || ref.namePointer == 0 ||
        (offset >= kFirstNameOffset && offset < NamesEnd())) {
        return {};
    }
    return Mismatch("name pointer of a \"" + std::string(known->referenceClass) + "\" reference",
                    "0 or one into the names, " + Hex(kFirstNameOffset + ADDRESS_MAGIC) + " to " +
                        Hex(NamesEnd() - 1 + ADDRESS_MAGIC),
                    Hex(ref.namePointer));
}

Status WeaponsInFile(const std::string& path) {
    MapReader reader;
    if (const Status opened = reader.Open(path); !opened) {
        return opened;
    }
    for (const WeaponListEntry& weapon : kWeaponList) {
        std::uint32_t pointer = 0;
        const std::uint64_t main = weapon.metaOffset;
        const bool mainInside = main + kMainBlockSize <= reader.Size() &&
                                reader.Read32(main + kBlockPointerOffset, &pointer);
        // The editor takes the pointer less the magic in 32 bits, as the map's pointers are.
        const std::uint64_t second = static_cast<std::uint32_t>(pointer - ADDRESS_MAGIC);
        if (!mainInside || second + kSecondBlockSize > reader.Size()) {
            return Failure{"it ends at " + Hex(reader.Size()) + ", before the end of " +
                           weapon.updateName + "'s " + (mainInside ? "second" : "main") +
                           " block at " + Hex(mainInside ? second : main)};
        }
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
    CheckWeapons(reader, report);
    const bool namesOnly = std::ranges::all_of(report.lines, [](const CheckLine& line) {
        return line.state != State::Failed || line.name == "names" || line.name == "name pointers";
    });
    // The advice holds only where catalogue then makes the list it speaks of.
    if (namesOnly && report.Failures() > 0) {
        const Result<std::vector<std::string>> own = ExtractCatalogue(reader);
        report.lines.push_back(
            own ? CheckLine{State::Note, "names only",
                            "everything but the names agrees, so this may be the supported map "
                            "with names of its own: keep a copy, run \"torvex-cli catalogue " +
                                path +
                                " > my_paths.txt\" and build with "
                                "-DTORVEX_TAG_PATHS=$PWD/my_paths.txt"}
                : CheckLine{State::Note, "names broken",
                            "everything but the names agrees, but no catalogue can be made from "
                            "this map, as it breaks the catalogue rule \"" +
                                own.Error().substr(0, own.Error().find(": ")) +
                                "\": do not edit it"});
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

int RunCheck(std::ostream& out) {
    return PrintCheckReport(CheckMap(kMapFileName), kMapFileName, out);
}

}  // namespace tools
