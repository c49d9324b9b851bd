// Writes the main dialog's DIALOGEX statement for the resource script from the template
// description that every backend builds from, so the compiled resource cannot drift from it.
// A build-machine tool: the Windows builds compile and run it before the resource compiler.
#include <cstdio>
#include <string>

#include "res/editor_dialog_template.h"

namespace {

// A resource script string: quotes are doubled, backslashes escaped.
std::string Quoted(const char* text) {
    std::string out = "\"";
    for (const char* p = text ? text : ""; *p != '\0'; ++p) {
        if (*p == '"') {
            out += "\"\"";
        } else if (*p == '\\') {
            out += "\\\\";
        } else {
            out += *p;
        }
    }
    return out + "\"";
}

void Write(std::FILE* out, const platform::DialogTemplate& t) {
    std::fprintf(out, "// Made by res/gen_dialog_rc.cpp from res/editor_dialog_template.cpp.\n");
    std::fprintf(out, "%s DIALOGEX %d, %d, %d, %d\n", t.name, t.x, t.y, t.cx, t.cy);
    std::fprintf(out, "STYLE 0x%08X\n", static_cast<unsigned>(t.style));
    std::fprintf(out, "EXSTYLE 0x%08X\n", static_cast<unsigned>(t.exStyle));
    std::fprintf(out, "CAPTION %s\n", Quoted(t.caption).c_str());
    std::fprintf(out, "FONT %d, %s, %d, %d, 0x%X\n", t.pointSize, Quoted(t.fontFace).c_str(),
                 t.weight, t.italic ? 1 : 0, static_cast<unsigned>(t.charset));
    std::fprintf(out, "BEGIN\n");
    for (int i = 0; i < t.controlCount; ++i) {
        const platform::ControlTemplate& c = t.controls[i];
        std::fprintf(out, "    CONTROL %s, %s, %s, 0x%08X, %d, %d, %d, %d, 0x%08X\n",
                     Quoted(c.text).c_str(), c.name, Quoted(c.windowClass).c_str(),
                     static_cast<unsigned>(c.style), c.x, c.y, c.cx, c.cy,
                     static_cast<unsigned>(c.exStyle));
    }
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
