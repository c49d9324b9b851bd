#include "mods/patch_text.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "mods/messages.h"

namespace mods {

namespace {

void AppendUtf8(unsigned code, std::string& out) {
    if (code < 0x80) {
        out += static_cast<char>(code);
    } else if (code < 0x800) {
        out += static_cast<char>(0xC0 | code >> 6);
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
        out += static_cast<char>(0xE0 | code >> 12);
        out += static_cast<char>(0x80 | (code >> 6 & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | code >> 18);
        out += static_cast<char>(0x80 | (code >> 12 & 0x3F));
        out += static_cast<char>(0x80 | (code >> 6 & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    }
}

// The text after a UTF-16 byte-order mark, as UTF-8; a surrogate pair is one character.
std::string FromUtf16(const std::string& bytes, bool bigEndian) {
    const auto unit = [&](std::size_t i) -> unsigned {
        const unsigned first = static_cast<unsigned char>(bytes[i]);
        const unsigned second = static_cast<unsigned char>(bytes[i + 1]);
        return bigEndian ? first << 8 | second : second << 8 | first;
    };
    std::string out;
    for (std::size_t i = 2; i + 1 < bytes.size(); i += 2) {
        unsigned code = unit(i);
        if (code >= 0xD800 && code < 0xDC00 && i + 3 < bytes.size() && unit(i + 2) >= 0xDC00 &&
            unit(i + 2) < 0xE000) {
            code = 0x10000 + ((code - 0xD800) << 10) + (unit(i + 2) - 0xDC00);
            i += 2;
        }
        AppendUtf8(code, out);
    }
    return out;
}

std::string AsUtf8(const std::string& bytes) {
    if (bytes.starts_with("\xEF\xBB\xBF")) {
        return bytes.substr(3);
    }
    if (bytes.starts_with("\xFF\xFE") || bytes.starts_with("\xFE\xFF")) {
        return FromUtf16(bytes, bytes[0] == '\xFE');
    }
    return bytes;
}

// Finds where a text stops being JSON, without building anything.
class ErrorFinder : public nlohmann::json_sax<Json> {
  public:
    bool null() override { return true; }
    bool boolean(bool) override { return true; }
    bool number_integer(number_integer_t) override { return true; }
    bool number_unsigned(number_unsigned_t) override { return true; }
    bool number_float(number_float_t, const string_t&) override { return true; }
    bool string(string_t&) override { return true; }
    bool binary(binary_t&) override { return true; }
    bool start_object(std::size_t) override { return true; }
    bool key(string_t&) override { return true; }
    bool end_object() override { return true; }
    bool start_array(std::size_t) override { return true; }
    bool end_array() override { return true; }
    bool parse_error(std::size_t position, const std::string&,
                     const nlohmann::detail::exception&) override {
        at_ = position;
        return false;
    }

    // Line and column of the character the parser stopped at, from 1.
    std::string Place(const std::string& text) const {
        const std::string_view before(text.data(), std::min(at_ > 0 ? at_ - 1 : 0, text.size()));
        const std::size_t newline = before.rfind('\n');
        const std::size_t column =
            newline == std::string_view::npos ? before.size() + 1 : before.size() - newline;
        const auto line = std::count(before.begin(), before.end(), '\n') + 1;
        return std::to_string(line) + ", column " + std::to_string(column);
    }

  private:
    std::size_t at_ = 0;
};

}  // namespace

Result<Json> ReadJsonFile(const std::string& path) {
    const auto fail = [&](const std::string& what) { return Failure{path + ": " + what}; };
    std::error_code error;
    if (!std::filesystem::exists(path, error)) {
        return fail(text::kNoSuchFile);
    }
    if (!std::filesystem::is_regular_file(path, error)) {
        return fail(text::kNotAFile);
    }
    std::ifstream file(path, std::ios::binary);
    const std::string bytes{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
    if (!file.good() && !file.eof()) {
        return fail(text::kUnreadable);
    }
    const std::string utf8 = AsUtf8(bytes);
    if (utf8.find_first_not_of(" \t\r\n") == std::string::npos) {
        return fail(text::kEmpty);
    }
    ErrorFinder finder;
    if (!Json::sax_parse(utf8, &finder)) {
        return fail(text::kNotJson + finder.Place(utf8));
    }
    return Json::parse(utf8, nullptr, false);
}

}  // namespace mods
