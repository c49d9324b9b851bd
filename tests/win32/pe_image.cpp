#include "tests/win32/pe_image.h"

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <iterator>

namespace testing_support {

namespace {

// Little-endian reads that fail rather than read past the end.
class Reader {
  public:
    explicit Reader(const Bytes& bytes, std::size_t offset = 0) : bytes_(bytes), at_(offset) {}

    bool ok() const { return ok_; }
    std::size_t at() const { return at_; }
    void Seek(std::size_t offset) { at_ = offset; }
    void Align4(std::size_t base = 0) { at_ = base + ((at_ - base + 3) & ~std::size_t{3}); }

    std::uint8_t U8() { return static_cast<std::uint8_t>(Take(1)); }
    std::uint16_t U16() { return static_cast<std::uint16_t>(Take(2)); }
    std::uint32_t U32() { return static_cast<std::uint32_t>(Take(4)); }
    short S16() { return static_cast<short>(U16()); }

    // A zero-terminated UTF-16 string; the texts here are plain ASCII.
    std::string Utf16() {
        std::string text;
        for (std::uint16_t c = U16(); ok_ && c != 0; c = U16()) {
            text += c < 0x80 ? static_cast<char>(c) : '?';
        }
        return text;
    }
    // A string or a number: 0 none, 0xFFFF then the number, else the string's first character.
    std::string StringOrOrdinal() {
        const std::uint16_t first = U16();
        if (first == 0) {
            return std::string();
        }
        if (first == 0xFFFF) {
            char number[16];
            std::snprintf(number, sizeof number, "#0x%04X", U16());
            return number;
        }
        at_ -= 2;
        return Utf16();
    }
    std::string Ascii(std::size_t offset) const {
        std::string text;
        for (std::size_t i = offset; i < bytes_.size() && bytes_[i] != 0; ++i) {
            text += static_cast<char>(bytes_[i]);
        }
        return text;
    }

  private:
    std::uint64_t Take(std::size_t size) {
        if (!ok_ || at_ + size > bytes_.size()) {
            ok_ = false;
            return 0;
        }
        std::uint64_t value = 0;
        for (std::size_t i = 0; i < size; ++i) {
            value |= static_cast<std::uint64_t>(bytes_[at_ + i]) << (8 * i);
        }
        at_ += size;
        return value;
    }

    const Bytes& bytes_;
    std::size_t at_;
    bool ok_ = true;
};

struct Section {
    std::uint32_t virtualAddress;
    std::uint32_t virtualSize;
    std::uint32_t rawOffset;
    std::uint32_t rawSize;
};

bool FileOffset(const std::vector<Section>& sections, std::uint32_t rva, std::size_t& offset) {
    for (const Section& s : sections) {
        if (rva >= s.virtualAddress &&
            rva < s.virtualAddress + std::max(s.virtualSize, s.rawSize)) {
            offset = s.rawOffset + (rva - s.virtualAddress);
            return true;
        }
    }
    return false;
}

}  // namespace

const Bytes* PeImage::Resource(std::uint32_t type, std::uint32_t name) const {
    auto it = resources.find({type, name});
    return it == resources.end() ? nullptr : &it->second;
}

bool ReadPeImage(const std::string& path, PeImage& image, std::string& error) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        error = "cannot open " + path;
        return false;
    }
    const Bytes file((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    Reader r(file);
    if (r.U16() != 0x5A4D) {
        error = "no MZ header";
        return false;
    }
    r.Seek(0x3C);
    const std::size_t pe = r.U32();
    r.Seek(pe);
    if (r.U32() != 0x00004550) {
        error = "no PE signature";
        return false;
    }
    image.machine = r.U16();
    const std::uint16_t sectionCount = r.U16();
    r.Seek(pe + 20);
    const std::uint16_t optionalSize = r.U16();
    image.characteristics = r.U16();
    const std::size_t optional = pe + 24;
    r.Seek(optional);
    image.magic = r.U16();
    if (image.magic != 0x10B && image.magic != 0x20B) {
        error = "unknown optional header";
        return false;
    }
    r.Seek(optional + 68);
    image.subsystem = r.U16();
    const std::size_t directories = optional + (image.magic == 0x10B ? 96 : 112);
    r.Seek(directories + 8);  // entry 1: imports
    const std::uint32_t importRva = r.U32();
    r.Seek(directories + 16);  // entry 2: resources
    const std::uint32_t resourceRva = r.U32();

    std::vector<Section> sections;
    r.Seek(optional + optionalSize);
    for (int i = 0; i < sectionCount; ++i) {
        const std::size_t header = r.at();
        r.Seek(header + 8);
        Section s{};
        s.virtualSize = r.U32();
        s.virtualAddress = r.U32();
        s.rawSize = r.U32();
        s.rawOffset = r.U32();
        sections.push_back(s);
        r.Seek(header + 40);
    }
    if (!r.ok()) {
        error = "headers cut short";
        return false;
    }

    std::size_t at = 0;
    if (importRva != 0 && FileOffset(sections, importRva, at)) {
        Reader d(file, at);
        while (true) {
            const std::uint32_t lookup = d.U32();
            d.U32();
            d.U32();
            const std::uint32_t nameRva = d.U32();
            const std::uint32_t thunks = d.U32();
            if (!d.ok() || (lookup == 0 && nameRva == 0 && thunks == 0)) {
                break;
            }
            std::size_t name = 0;
            if (FileOffset(sections, nameRva, name)) {
                image.importedDlls.push_back(d.Ascii(name));
            }
        }
    }

    std::size_t resources = 0;
    if (resourceRva == 0 || !FileOffset(sections, resourceRva, resources)) {
        return true;
    }
    // Three levels of directories (type, name, language) under the resource section's root.
    struct Entry {
        std::uint32_t id;
        std::uint32_t target;
        bool named;
    };
    auto entries = [&](std::size_t directory) {
        std::vector<Entry> list;
        Reader d(file, resources + directory + 12);
        const int named = d.U16();
        const int numbered = d.U16();
        for (int i = 0; i < named + numbered && d.ok(); ++i) {
            const std::uint32_t id = d.U32();
            const std::uint32_t target = d.U32();
            list.push_back({id & 0x7FFFFFFF, target, (id & 0x80000000u) != 0});
        }
        return list;
    };
    for (const Entry& type : entries(0)) {
        if (type.named || !(type.target & 0x80000000u)) {
            continue;
        }
        for (const Entry& name : entries(type.target & 0x7FFFFFFF)) {
            if (name.named || !(name.target & 0x80000000u)) {
                continue;
            }
            const auto languages = entries(name.target & 0x7FFFFFFF);
            if (languages.empty() || (languages.front().target & 0x80000000u)) {
                continue;
            }
            Reader leaf(file, resources + languages.front().target);
            const std::uint32_t dataRva = leaf.U32();
            const std::uint32_t size = leaf.U32();
            std::size_t data = 0;
            if (!leaf.ok() || !FileOffset(sections, dataRva, data) || data + size > file.size()) {
                error = "resource data outside the file";
                return false;
            }
            image.resources[{type.id, name.id}] =
                Bytes(file.begin() + static_cast<std::ptrdiff_t>(data),
                      file.begin() + static_cast<std::ptrdiff_t>(data + size));
        }
    }
    return true;
}

bool ParseDialog(const Bytes& bytes, DialogResource& dialog, std::string& error) {
    Reader r(bytes);
    dialog.version = r.U16();
    dialog.signature = r.U16();
    if (dialog.version != 1 || dialog.signature != 0xFFFF) {
        error = "not an extended dialog template";
        return false;
    }
    dialog.helpId = r.U32();
    dialog.exStyle = r.U32();
    dialog.style = r.U32();
    const int count = r.U16();
    dialog.x = r.S16();
    dialog.y = r.S16();
    dialog.cx = r.S16();
    dialog.cy = r.S16();
    dialog.menu = r.StringOrOrdinal();
    dialog.windowClass = r.StringOrOrdinal();
    dialog.caption = r.Utf16();
    constexpr std::uint32_t kSetFont = 0x40, kShellFont = 0x48;
    if (dialog.style & (kSetFont | kShellFont)) {
        dialog.pointSize = r.U16();
        dialog.weight = r.U16();
        dialog.italic = r.U8();
        dialog.charset = r.U8();
        dialog.typeface = r.Utf16();
    }
    for (int i = 0; i < count && r.ok(); ++i) {
        r.Align4();
        DialogItem item;
        item.helpId = r.U32();
        item.exStyle = r.U32();
        item.style = r.U32();
        item.x = r.S16();
        item.y = r.S16();
        item.cx = r.S16();
        item.cy = r.S16();
        item.id = static_cast<std::int32_t>(r.U32());
        item.windowClass = r.StringOrOrdinal();
        item.text = r.StringOrOrdinal();
        item.extraCount = r.U16();
        r.Seek(r.at() + item.extraCount);
        dialog.items.push_back(item);
    }
    if (!r.ok()) {
        error = "dialog template cut short";
        return false;
    }
    return true;
}

bool ParseIconGroup(const Bytes& bytes, bool iconFile, std::vector<IconEntry>& entries,
                    std::string& error) {
    Reader r(bytes);
    const int reserved = r.U16();
    const int type = r.U16();
    const int count = r.U16();
    if (reserved != 0 || type != 1) {
        error = "not an icon directory";
        return false;
    }
    for (int i = 0; i < count; ++i) {
        IconEntry e;
        e.width = r.U8();
        e.height = r.U8();
        e.colorCount = r.U8();
        r.U8();
        e.planes = r.U16();
        e.bitCount = r.U16();
        e.bytes = r.U32();
        e.idOrOffset = iconFile ? r.U32() : r.U16();
        entries.push_back(e);
    }
    if (!r.ok()) {
        error = "icon directory cut short";
        return false;
    }
    return true;
}

const VersionNode* VersionNode::Child(const std::string& childKey) const {
    for (const VersionNode& child : children) {
        if (child.key == childKey) {
            return &child;
        }
    }
    return nullptr;
}

std::string VersionNode::Text() const {
    std::string text;
    for (std::size_t i = 0; i + 1 < value.size(); i += 2) {
        const std::uint16_t c = static_cast<std::uint16_t>(value[i] | (value[i + 1] << 8));
        if (c == 0) {
            break;
        }
        text += c < 0x80 ? static_cast<char>(c) : '?';
    }
    return text;
}

namespace {

// wLength, wValueLength (in characters for text, bytes otherwise), wType, szKey, padding,
// the value, padding, then children up to wLength.
bool ParseNode(const Bytes& bytes, std::size_t start, VersionNode& node, std::size_t& end) {
    Reader r(bytes, start);
    const std::size_t length = r.U16();
    const std::size_t valueLength = r.U16();
    node.type = r.U16();
    node.key = r.Utf16();
    r.Align4();
    end = start + length;
    if (!r.ok() || length < 6 || end > bytes.size()) {
        return false;
    }
    const std::size_t valueBytes = node.type == 1 ? valueLength * 2 : valueLength;
    if (r.at() + valueBytes > end) {
        return false;
    }
    node.value.assign(bytes.begin() + static_cast<std::ptrdiff_t>(r.at()),
                      bytes.begin() + static_cast<std::ptrdiff_t>(r.at() + valueBytes));
    std::size_t at = r.at() + valueBytes;
    at = (at + 3) & ~std::size_t{3};
    while (at + 6 <= end) {
        VersionNode child;
        std::size_t childEnd = 0;
        if (!ParseNode(bytes, at, child, childEnd) || childEnd <= at) {
            return false;
        }
        node.children.push_back(std::move(child));
        at = (childEnd + 3) & ~std::size_t{3};
    }
    return true;
}

}  // namespace

bool ParseVersion(const Bytes& bytes, VersionNode& root, std::string& error) {
    std::size_t end = 0;
    if (!ParseNode(bytes, 0, root, end)) {
        error = "malformed version resource";
        return false;
    }
    return true;
}

}  // namespace testing_support
