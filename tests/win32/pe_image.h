#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <utility>
#include <vector>

// Reads what the tests check of a Windows program file: its headers, the DLLs it imports and
// its resources, with the resource formats the program uses decoded.
namespace testing_support {

using Bytes = std::vector<std::uint8_t>;

struct PeImage {
    std::uint16_t machine = 0;    // 0x14C i386, 0x8664 x86-64
    std::uint16_t magic = 0;      // 0x10B PE32, 0x20B PE32+
    std::uint16_t subsystem = 0;  // 2 GUI, 3 console
    std::uint16_t characteristics = 0;
    std::vector<std::string> importedDlls;
    // Resources with numeric type and name, the first language of each.
    std::map<std::pair<std::uint32_t, std::uint32_t>, Bytes> resources;

    const Bytes* Resource(std::uint32_t type, std::uint32_t name) const;
};

// False with a reason for a file that is not a well-formed program of either kind.
bool ReadPeImage(const std::string& path, PeImage& image, std::string& error);

// An extended dialog template (DLGTEMPLATEEX) and its items.
struct DialogItem {
    std::uint32_t helpId = 0;
    std::uint32_t exStyle = 0;
    std::uint32_t style = 0;
    short x = 0, y = 0, cx = 0, cy = 0;
    std::int32_t id = 0;
    std::string windowClass;  // a predefined class given by number reads "#0x0080" etc.
    std::string text;
    std::uint16_t extraCount = 0;
};

struct DialogResource {
    std::uint16_t version = 0;
    std::uint16_t signature = 0;
    std::uint32_t helpId = 0;
    std::uint32_t exStyle = 0;
    std::uint32_t style = 0;
    short x = 0, y = 0, cx = 0, cy = 0;
    std::string menu;
    std::string windowClass;
    std::string caption;
    std::uint16_t pointSize = 0;
    std::uint16_t weight = 0;
    std::uint8_t italic = 0;
    std::uint8_t charset = 0;
    std::string typeface;
    std::vector<DialogItem> items;
};

bool ParseDialog(const Bytes& bytes, DialogResource& dialog, std::string& error);

// One image of an icon group (GRPICONDIR entry) or of an .ico file.
struct IconEntry {
    int width = 0;  // 0 in the file stands for 256
    int height = 0;
    int colorCount = 0;
    int planes = 0;
    int bitCount = 0;
    std::uint32_t bytes = 0;
    std::uint32_t idOrOffset = 0;  // the RT_ICON resource id, or the file offset in an .ico
};

bool ParseIconGroup(const Bytes& bytes, bool iconFile, std::vector<IconEntry>& entries,
                    std::string& error);

// A node of a version resource: VS_VERSIONINFO, StringFileInfo, a string table, a string ...
struct VersionNode {
    std::string key;
    std::uint16_t type = 0;  // 1 text, 0 binary
    Bytes value;
    std::vector<VersionNode> children;

    const VersionNode* Child(const std::string& childKey) const;
    std::string Text() const;  // the value as text, up to its terminating zero
};

bool ParseVersion(const Bytes& bytes, VersionNode& root, std::string& error);

}  // namespace testing_support
