// Writes the main dialog's resource for the resource script from the template description that
// every backend builds from, so the compiled resource cannot drift from it. A build-machine
// tool: the Windows builds compile and run it before the resource compiler.
//
// The dialog is written as an extended dialog template (DLGTEMPLATEEX) spelled out word by
// word, not as a DIALOGEX statement: that statement has the resource compiler store class
// names in capitals ("SYSTREEVIEW32") and the system's own classes by name, where the template
// must hold "SysTreeView32" as written and the system's classes by their numbers.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include "res/editor_dialog_template.h"

namespace {

// The numbers that stand for the system's predefined control classes in a template, whose
// names the system compares without regard to case.
int PredefinedClass(std::string_view windowClass) {
    constexpr std::string_view kClasses[] = {"Button",  "Edit",      "Static",
                                             "ListBox", "ScrollBar", "ComboBox"};
    for (int i = 0; i < 6; ++i) {
        if (std::ranges::equal(kClasses[i], windowClass,
                               [](char a, char b) { return (a | 0x20) == (b | 0x20); })) {
            return 0x0080 + i;
        }
    }
    return 0;
}

std::string Hex(std::uint32_t value, int digits) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%0*X", digits, static_cast<unsigned>(value));
    return text;
}

// One item of a resource's raw data, as the script spells it, and the bytes it takes.
struct Item {
    std::string text;
    std::size_t size;
};

Item Word(unsigned value) {
    return {Hex(value & 0xFFFFu, 4), 2};
}
Item Number(int value) {
    return {std::to_string(value), 2};
}
Item Dword(std::uint32_t value) {
    return {Hex(value, 8) + "L", 4};
}
// A zero-terminated wide string.
Item Text(const char* text) {
    const std::string_view chars = text ? text : "";
    std::string quoted = "L\"";
    for (const char c : chars) {
        quoted += c == '"' ? "\"\"" : c == '\\' ? "\\\\" : std::string(1, c);
    }
    return {quoted + "\\0\"", 2 * (chars.size() + 1)};
}

// The raw data of one resource, a line of items with a comment at a time, keeping count of the
// bytes for the template's alignment.
class RawData {
  public:
    // An aligned line starts on a 32-bit boundary, after a zero word where needed.
    void Line(std::vector<Item> items, const std::string& comment, bool aligned = false) {
        if (aligned && bytes_ % 4 != 0) {
            items.insert(items.begin(), Word(0));
        }
        std::string line;
        for (const Item& item : items) {
            line += (line.empty() ? "" : ", ") + item.text;
            bytes_ += item.size;
        }
        lines_.push_back({line, comment});
    }

    void Write(std::FILE* out) const {
        for (std::size_t i = 0; i < lines_.size(); ++i) {
            const bool last = i + 1 == lines_.size();
            std::fprintf(out, "    %s%s  // %s\n", lines_[i].first.c_str(), last ? "" : ",",
                         lines_[i].second.c_str());
        }
    }

  private:
    std::vector<std::pair<std::string, std::string>> lines_;
    std::size_t bytes_ = 0;
};

void Write(std::FILE* out, const platform::DialogTemplate& t) {
    RawData data;
    data.Line({Word(1), Word(0xFFFF)}, "extended template: version 1, signature");
    data.Line({Dword(0), Dword(t.exStyle), Dword(t.style)}, "help id, extended style, style");
    data.Line({Number(t.controlCount), Number(t.x), Number(t.y), Number(t.cx), Number(t.cy)},
              "controls; x, y, width, height in dialog units");
    data.Line({Word(0), Word(0)}, "no menu, the default dialog class");
    data.Line({Text(t.caption)}, "caption");
    data.Line({Number(t.pointSize), Number(t.weight),
               Word((t.italic ? 1u : 0u) | static_cast<unsigned>(t.charset) << 8)},
              "points, weight; italic and character set, a byte each");
    data.Line({Text(t.fontFace)}, "font");
    for (const platform::ControlTemplate& c : t.Controls()) {
        data.Line({Dword(0), Dword(c.exStyle), Dword(c.style)},
                  std::string(c.name) + ": help id, extended style, style", true);
        data.Line({Number(c.x), Number(c.y), Number(c.cx), Number(c.cy),
                   Dword(static_cast<std::uint32_t>(c.id))},
                  "x, y, width, height; id " + std::to_string(c.id));
        const int number = PredefinedClass(c.windowClass);
        data.Line(number ? std::vector{Word(0xFFFF), Word(static_cast<unsigned>(number))}
                         : std::vector{Text(c.windowClass)},
                  std::string("class ") + c.windowClass);
        data.Line({Text(c.text), Number(0)}, "text; no creation data");
    }

    std::fprintf(out, "// Made by res/gen_dialog_rc.cpp from res/editor_dialog_template.cpp.\n");
    std::fprintf(out, "%s 5 // RT_DIALOG\nBEGIN\n", t.name);
    data.Write(out);
    std::fprintf(out, "END\n");
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: gen_dialog_rc OUTPUT.rc\n");
        return 2;
    }
    std::FILE* out = std::fopen(argv[1], "w");
    if (out == nullptr) {
        std::perror(argv[1]);
        return 1;
    }
    Write(out, kEditorDialogTemplate);
    return std::fclose(out) == 0 ? 0 : 1;
}
