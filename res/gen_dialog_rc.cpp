// Writes the main dialog's resource for the resource script from the template description that
// every backend builds from, so the compiled resource cannot drift from it. A build-machine
// tool: the Windows builds compile and run it before the resource compiler.
//
// The dialog is written as an extended dialog template (DLGTEMPLATEEX) spelled out word by
// word, not as a DIALOGEX statement: that statement has the resource compiler store class
// names in capitals ("SYSTREEVIEW32") and the system's own classes by name, where the template
// must hold "SysTreeView32" as written and the system's classes by their numbers.
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "res/editor_dialog_template.h"

namespace {

// The numbers that stand for the system's predefined control classes in a template.
int PredefinedClass(const char* windowClass) {
    static const char* const kClasses[] = {"Button",  "Edit",      "Static",
                                           "ListBox", "ScrollBar", "ComboBox"};
    for (int i = 0; i < 6; ++i) {
        const char* name = kClasses[i];
        std::size_t n = std::strlen(name);
        if (std::strlen(windowClass) != n) {
            continue;
        }
        bool same = true;
        for (std::size_t k = 0; k < n && same; ++k) {
            same = (name[k] | 0x20) == (windowClass[k] | 0x20);
        }
        if (same) {
            return 0x0080 + i;
        }
    }
    return 0;
}

// The raw data of one resource: 16-bit words, 32-bit words ("L") and zero-terminated wide
// strings, each line with a comment, keeping count of the bytes for the template's alignment.
class RawData {
  public:
    void Word(unsigned value) { Add(Hex(value & 0xFFFFu, 4), 2); }
    void Number(int value) { Add(std::to_string(value), 2); }
    void Dword(std::uint32_t value) { Add(Hex(value, 8) + "L", 4); }
    void Text(const char* text) {
        std::string quoted = "L\"";
        std::size_t length = 0;
        for (const char* p = text ? text : ""; *p != '\0'; ++p, ++length) {
            if (*p == '"') {
                quoted += "\"\"";
            } else if (*p == '\\') {
                quoted += "\\\\";
            } else {
                quoted += *p;
            }
        }
        Add(quoted + "\\0\"", 2 * (length + 1));
    }
    void AlignToDword() {
        if (bytes_ % 4 != 0) {
            Word(0);
        }
    }
    void EndLine(const std::string& comment) {
        lines_.push_back({pending_, comment});
        pending_.clear();
    }

    void Write(std::FILE* out) const {
        for (std::size_t i = 0; i < lines_.size(); ++i) {
            std::string items;
            for (std::size_t k = 0; k < lines_[i].items.size(); ++k) {
                items += (k ? ", " : "") + lines_[i].items[k];
            }
            const bool last = i + 1 == lines_.size();
            std::fprintf(out, "    %s%s  // %s\n", items.c_str(), last ? "" : ",",
                         lines_[i].comment.c_str());
        }
    }

  private:
    struct Line {
        std::vector<std::string> items;
        std::string comment;
    };
    static std::string Hex(std::uint32_t value, int digits) {
        char text[16];
        std::snprintf(text, sizeof text, "0x%0*X", digits, static_cast<unsigned>(value));
        return text;
    }
    void Add(const std::string& item, std::size_t size) {
        pending_.push_back(item);
        bytes_ += size;
    }

    std::vector<std::string> pending_;
    std::vector<Line> lines_;
    std::size_t bytes_ = 0;
};

void Write(std::FILE* out, const platform::DialogTemplate& t) {
    RawData data;
    data.Word(1);
    data.Word(0xFFFF);
    data.EndLine("extended template: version 1, signature");
    data.Dword(0);
    data.Dword(t.exStyle);
    data.Dword(t.style);
    data.EndLine("help id, extended style, style");
    data.Number(t.controlCount);
    data.Number(t.x);
    data.Number(t.y);
    data.Number(t.cx);
    data.Number(t.cy);
    data.EndLine("controls; x, y, width, height in dialog units");
    data.Word(0);
    data.Word(0);
    data.EndLine("no menu, the default dialog class");
    data.Text(t.caption);
    data.EndLine("caption");
    data.Number(t.pointSize);
    data.Number(t.weight);
    data.Word((t.italic ? 1u : 0u) | static_cast<unsigned>(t.charset) << 8);
    data.EndLine("points, weight; italic and character set, a byte each");
    data.Text(t.fontFace);
    data.EndLine("font");
    for (int i = 0; i < t.controlCount; ++i) {
        const platform::ControlTemplate& c = t.controls[i];
        data.AlignToDword();
        data.Dword(0);
        data.Dword(c.exStyle);
        data.Dword(c.style);
        data.EndLine(std::string(c.name) + ": help id, extended style, style");
        data.Number(c.x);
        data.Number(c.y);
        data.Number(c.cx);
        data.Number(c.cy);
        data.Dword(static_cast<std::uint32_t>(c.id));
        data.EndLine("x, y, width, height; id " + std::to_string(c.id));
        if (const int number = PredefinedClass(c.windowClass)) {
            data.Word(0xFFFF);
            data.Word(static_cast<unsigned>(number));
        } else {
            data.Text(c.windowClass);
        }
        data.EndLine(std::string("class ") + c.windowClass);
        data.Text(c.text);
        data.Number(0);
        data.EndLine("text; no creation data");
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
