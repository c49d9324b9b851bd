// The Windows programs as files: what kind of program each is, what it needs at run time, and
// the resources compiled into it, checked against the values the dialog, the icon and the
// version block must have and against the shared template description.
#include "tests/win32/pe_image.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstring>
#include <fstream>
#include <iterator>

#include "res/editor_dialog_template.h"
#include "res/resource.h"

namespace {

using testing_support::Bytes;
using testing_support::DialogItem;
using testing_support::DialogResource;
using testing_support::IconEntry;
using testing_support::PeImage;
using testing_support::VersionNode;

constexpr std::uint32_t kRtIcon = 3, kRtDialog = 5, kRtGroupIcon = 14, kRtVersion = 16;

struct Build {
    const char* name;
    const char* exe;
    std::uint16_t machine;
    std::uint16_t magic;
};

const Build kBuilds[] = {
    {"win32", TORVEX_WIN32_DIR "/bin/torvex.exe", 0x14C, 0x10B},
    {"win64", TORVEX_WIN64_DIR "/bin/torvex.exe", 0x8664, 0x20B},
};

void PrintTo(const Build& build, std::ostream* out) {
    *out << build.name;
}

class WindowsProgramFile : public ::testing::TestWithParam<Build> {
  protected:
    void SetUp() override {
        std::string error;
        ASSERT_TRUE(testing_support::ReadPeImage(GetParam().exe, image_, error))
            << error << " (make the program with the " << GetParam().name << " preset)";
    }
    PeImage image_;
};

TEST_P(WindowsProgramFile, IsAGraphicalProgramForItsProcessor) {
    EXPECT_EQ(image_.machine, GetParam().machine);
    EXPECT_EQ(image_.magic, GetParam().magic);
    EXPECT_EQ(image_.subsystem, 2) << "the Windows GUI subsystem";
    constexpr std::uint16_t kExecutable = 0x0002, kDll = 0x2000;
    EXPECT_TRUE(image_.characteristics & kExecutable);
    EXPECT_FALSE(image_.characteristics & kDll);
}

// Every runtime library is linked in: nothing beyond DLLs that every Windows installation has.
TEST_P(WindowsProgramFile, NeedsNoDllBeyondTheSystems) {
    const std::vector<std::string> system = {"KERNEL32.DLL", "USER32.DLL",   "GDI32.DLL",
                                             "COMCTL32.DLL", "ADVAPI32.DLL", "MSVCRT.DLL"};
    std::vector<std::string> imported;
    for (std::string dll : image_.importedDlls) {
        std::transform(dll.begin(), dll.end(), dll.begin(),
                       [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
        imported.push_back(dll);
        EXPECT_NE(std::find(system.begin(), system.end(), dll), system.end())
            << dll << " is not part of the system";
    }
    for (const char* needed : {"USER32.DLL", "COMCTL32.DLL"}) {
        EXPECT_NE(std::find(imported.begin(), imported.end(), needed), imported.end()) << needed;
    }
}

struct ExpectedControl {
    std::int32_t id;
    const char* windowClass;  // "#0x0080" and so on: the predefined classes go by number
    const char* text;
    std::uint32_t style;
    short x, y, cx, cy;
};

// The dialog's controls in template order, with their styles as numbers.
const ExpectedControl kControls[] = {
    {2, "#0x0080", "Exit", 0x50010000, 331, 105, 50, 29},
    {1000, "SysTreeView32", "Tree1", 0x50810097, 7, 7, 374, 94},
    {-1, "#0x0082", "New Value:", 0x50020000, 7, 106, 41, 8},
    {1004, "#0x0080", "Update", 0x50010000, 7, 123, 41, 11},
    {1005, "#0x0085", "", 0x50210003, 54, 105, 273, 79},
    {1006, "#0x0080", "Show all identifiers (not just those with matching class)", 0x50010003, 51,
     124, 187, 10},
    {1007, "#0x0081", "", 0x50810080, 248, 122, 71, 12},
};

std::string ClassAsCompiled(const char* windowClass) {
    const std::pair<const char*, const char*> predefined[] = {
        {"Button", "#0x0080"},  {"Edit", "#0x0081"},      {"Static", "#0x0082"},
        {"ListBox", "#0x0083"}, {"ScrollBar", "#0x0084"}, {"ComboBox", "#0x0085"},
    };
    for (const auto& [name, number] : predefined) {
        if (std::equal(name, name + std::char_traits<char>::length(name), windowClass,
                       windowClass + std::char_traits<char>::length(windowClass),
                       [](char a, char b) { return std::tolower(a) == std::tolower(b); })) {
            return number;
        }
    }
    return windowClass;
}

TEST_P(WindowsProgramFile, DialogTemplateHoldsTheRequiredValuesAndTheSharedDescription) {
    const Bytes* bytes = image_.Resource(kRtDialog, IDD_EDITOR_DIALOG);
    ASSERT_NE(bytes, nullptr) << "no dialog resource 102";
    DialogResource dialog;
    std::string error;
    ASSERT_TRUE(testing_support::ParseDialog(*bytes, dialog, error)) << error;

    EXPECT_EQ(dialog.helpId, 0u);
    EXPECT_EQ(dialog.style, 0x90C800C0u);
    EXPECT_EQ(dialog.exStyle, 0x00040000u);
    EXPECT_EQ((std::vector<short>{dialog.x, dialog.y, dialog.cx, dialog.cy}),
              (std::vector<short>{0, 0, 388, 141}));
    EXPECT_EQ(dialog.menu, "");
    EXPECT_EQ(dialog.windowClass, "");
    EXPECT_EQ(dialog.caption, "Torvex  Beta Version 1.0");
    EXPECT_EQ(dialog.pointSize, 8);
    EXPECT_EQ(dialog.weight, 0);
    EXPECT_EQ(dialog.italic, 0);
    EXPECT_EQ(dialog.charset, 1) << "DEFAULT_CHARSET";
    EXPECT_EQ(dialog.typeface, "MS Sans Serif");

    const platform::DialogTemplate& shared = kEditorDialogTemplate;
    EXPECT_EQ(dialog.style, shared.style);
    EXPECT_EQ(dialog.exStyle, shared.exStyle);
    EXPECT_EQ(dialog.caption, shared.caption);
    EXPECT_EQ(dialog.typeface, shared.fontFace);

    ASSERT_EQ(dialog.items.size(), std::size(kControls));
    ASSERT_EQ(shared.controlCount, static_cast<int>(std::size(kControls)));
    for (std::size_t i = 0; i < dialog.items.size(); ++i) {
        const DialogItem& item = dialog.items[i];
        const ExpectedControl& want = kControls[i];
        const platform::ControlTemplate& described = shared.controls[i];
        SCOPED_TRACE("control " + std::to_string(i) + " (" + want.text + ")");
        EXPECT_EQ(item.id, want.id);
        EXPECT_EQ(item.windowClass, want.windowClass);
        EXPECT_EQ(item.text, want.text);
        EXPECT_EQ(item.style, want.style);
        EXPECT_EQ((std::vector<short>{item.x, item.y, item.cx, item.cy}),
                  (std::vector<short>{want.x, want.y, want.cx, want.cy}));
        EXPECT_EQ(item.helpId, 0u);
        EXPECT_EQ(item.exStyle, 0u);
        EXPECT_EQ(item.extraCount, 0);

        EXPECT_EQ(item.id, described.id);
        EXPECT_EQ(item.windowClass, ClassAsCompiled(described.windowClass));
        EXPECT_EQ(item.text, described.text ? described.text : "");
        EXPECT_EQ(item.style, described.style);
        EXPECT_EQ(item.exStyle, described.exStyle);
        EXPECT_EQ((std::vector<short>{item.x, item.y, item.cx, item.cy}),
                  (std::vector<short>{described.x, described.y, described.cx, described.cy}));
    }
}

Bytes ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return Bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

// Both images of the icon file, 32 and 16 pixels square with 16 colours, byte for byte.
TEST_P(WindowsProgramFile, IconGroupHoldsTheIconFilesTwoImages) {
    const Bytes* group = image_.Resource(kRtGroupIcon, IDI_APP_ICON);
    ASSERT_NE(group, nullptr) << "no icon group 128";
    std::vector<IconEntry> entries;
    std::string error;
    ASSERT_TRUE(testing_support::ParseIconGroup(*group, false, entries, error)) << error;

    const Bytes icoFile = ReadFile(TORVEX_SOURCE_DIR "/res/torvex.ico");
    std::vector<IconEntry> fileEntries;
    ASSERT_TRUE(testing_support::ParseIconGroup(icoFile, true, fileEntries, error)) << error;

    ASSERT_EQ(entries.size(), 2u);
    ASSERT_EQ(fileEntries.size(), 2u);
    const int sizes[] = {32, 16};
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const IconEntry& e = entries[i];
        SCOPED_TRACE("image " + std::to_string(i));
        EXPECT_EQ(e.width, sizes[i]);
        EXPECT_EQ(e.height, sizes[i]);
        EXPECT_EQ(e.colorCount, 16);
        EXPECT_EQ(e.bitCount, 4);
        const Bytes* image = image_.Resource(kRtIcon, e.idOrOffset);
        ASSERT_NE(image, nullptr) << "no icon image " << e.idOrOffset;
        const IconEntry& f = fileEntries[i];
        ASSERT_LE(f.idOrOffset + f.bytes, icoFile.size());
        EXPECT_EQ(*image,
                  Bytes(icoFile.begin() + f.idOrOffset, icoFile.begin() + f.idOrOffset + f.bytes));
    }
}

TEST_P(WindowsProgramFile, VersionBlockHoldsEveryString) {
    const Bytes* bytes = image_.Resource(kRtVersion, 1);
    ASSERT_NE(bytes, nullptr) << "no version resource";
    VersionNode root;
    std::string error;
    ASSERT_TRUE(testing_support::ParseVersion(*bytes, root, error)) << error;
    ASSERT_EQ(root.key, "VS_VERSION_INFO");

    // VS_FIXEDFILEINFO, as 32-bit words.
    ASSERT_EQ(root.value.size(), 52u);
    std::vector<std::uint32_t> fixed(13);
    std::memcpy(fixed.data(), root.value.data(), 52);
    EXPECT_EQ(fixed[0], 0xFEEF04BDu) << "signature";
    EXPECT_EQ(fixed[2], 0x00010000u) << "file version 1.0";
    EXPECT_EQ(fixed[3], 0x00000001u) << "file version .0.1";
    EXPECT_EQ(fixed[4], 0x00010000u) << "product version 1.0";
    EXPECT_EQ(fixed[5], 0x00000001u) << "product version .0.1";
    EXPECT_EQ(fixed[6], 0x3Fu) << "flags mask";
    EXPECT_EQ(fixed[7], 0u) << "flags";
    EXPECT_EQ(fixed[8], 0x4u) << "32-bit Windows";
    EXPECT_EQ(fixed[9], 0x1u) << "an application";

    const VersionNode* strings = root.Child("StringFileInfo");
    ASSERT_NE(strings, nullptr);
    ASSERT_EQ(strings->children.size(), 1u);
    const VersionNode& table = strings->children.front();
    EXPECT_EQ(table.key, "040904B0");
    const std::vector<std::pair<std::string, std::string>> expected = {
        {"CompanyName", ""},
        {"FileDescription", "Torvex MFC Application"},
        {"FileVersion", "1, 0, 0, 1"},
        {"InternalName", "Torvex"},
        {"LegalTrademarks", ""},
        {"OriginalFilename", "Torvex.EXE"},
        {"ProductName", "Torvex Application"},
        {"ProductVersion", "1, 0, 0, 1"},
    };
    std::vector<std::pair<std::string, std::string>> actual;
    for (const VersionNode& s : table.children) {
        actual.emplace_back(s.key, s.Text());
    }
    EXPECT_EQ(actual, expected);

    const VersionNode* vars = root.Child("VarFileInfo");
    ASSERT_NE(vars, nullptr);
    const VersionNode* translation = vars->Child("Translation");
    ASSERT_NE(translation, nullptr);
    EXPECT_EQ(translation->value, (Bytes{0x09, 0x04, 0xB0, 0x04})) << "0x0409, code page 1200";
}

INSTANTIATE_TEST_SUITE_P(Builds, WindowsProgramFile, ::testing::ValuesIn(kBuilds),
                         [](const ::testing::TestParamInfo<Build>& info) {
                             return std::string(info.param.name);
                         });

}  // namespace
