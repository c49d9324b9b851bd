#include "catalogue/path_list_rules.h"

#include <algorithm>
#include <cstdio>
#include <map>

#include "catalogue/supported_map.h"
#include "core/hex.h"

namespace {

using Lines = std::vector<std::string>;

// A path quoted so that blanks, quotes and control characters in it stay visible in a detail.
std::string Quoted(std::string_view text) {
    const bool doubleQuotes =
        text.find('\'') != std::string_view::npos && text.find('"') == std::string_view::npos;
    const char quote = doubleQuotes ? '"' : '\'';
    std::string quoted(1, quote);
    for (const char c : text) {
        if (c == quote || c == '\\') {
            quoted += '\\';
            quoted += c;
        } else if (c == '\t' || c == '\n' || c == '\r') {
            quoted += c == '\t' ? "\\t" : c == '\n' ? "\\n" : "\\r";
        } else if (c < ' ' || c > '~') {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\x%02x", static_cast<unsigned char>(c));
            quoted += escaped;
        } else {
            quoted += c;
        }
    }
    return quoted + quote;
}

std::string Row(std::size_t row) {
    return "row " + std::to_string(row);
}

std::string RowCount(const Lines& lines) {
    return lines.size() == kTagCount
               ? ""
               : std::to_string(lines.size()) + " rows, expected " + std::to_string(kTagCount);
}

std::string PathSyntax(const Lines& lines) {
    for (std::size_t row = 0; row < lines.size(); ++row) {
        const std::string& path = lines[row];
        const auto dots = std::count(path.begin(), path.end(), '.');
        if (dots != 1) {
            return Row(row) + " " + Quoted(path) + " has " + std::to_string(dots) +
                   " full stops, expected exactly one";
        }
        const std::string_view code = ClassOfPath(path);
        if (code.size() < 2 || code.size() > 4) {
            return Row(row) + " class code " + Quoted(code) + " is not 2 to 4 characters";
        }
    }
    return "";
}

std::string Characters(const Lines& lines) {
    for (std::size_t row = 0; row < lines.size(); ++row) {
        const std::string& path = lines[row];
        const auto bad =
            std::find_if(path.begin(), path.end(), [](char c) { return c < ' ' || c > '~'; });
        const std::string_view name = NameOfPath(path);
        if (bad != path.end()) {
            return Row(row) + " holds a character outside printable ASCII: " +
                   Quoted(std::string_view(&*bad, 1));
        }
        if (path.find('\\') != std::string::npos) {
            return Row(row) + " holds a backslash";
        }
        if (!name.empty() && (name.front() == ' ' || name.back() == ' ')) {
            return Row(row) + " name " + Quoted(name) + " has a leading or trailing blank";
        }
    }
    return "";
}

std::string ClassCounts(const Lines& lines) {
    std::map<std::string_view, int> counts;
    for (const std::string& path : lines) {
        ++counts[ClassOfPath(path)];
    }
    for (const ClassCount& known : kClassCounts) {
        if (counts[known.code] != known.rows) {
            return "class " + Quoted(known.code) + " has " + std::to_string(counts[known.code]) +
                   " rows, expected " + std::to_string(known.rows);
        }
        counts.erase(known.code);
    }
    if (const auto unknown = counts.begin(); unknown != counts.end()) {
        return "unknown class " + Quoted(unknown->first) + " on " +
               std::to_string(unknown->second) + " rows";
    }
    return "";
}

// Rows whose class is fixed first, then rows whose whole path is.
std::string FixedRows(const Lines& lines) {
    for (const TellingRow& telling : kTellingRows) {
        const std::string& path = lines[telling.row];
        if (telling.path.empty() && ClassOfPath(path) != telling.classCode) {
            return Row(telling.row) + " " + Quoted(path) + " should be of class " +
                   Quoted(telling.classCode);
        }
    }
    for (const TellingRow& telling : kTellingRows) {
        const std::string& path = lines[telling.row];
        if (!telling.path.empty() && path != telling.path) {
            return Row(telling.row) + " is " + Quoted(path) + ", expected " + Quoted(telling.path);
        }
    }
    return "";
}

std::string Weapons(const Lines& lines) {
    for (std::size_t row = 0; row < lines.size(); ++row) {
        const int weapon = FindWeaponByRow(static_cast<int>(row));
        if (weapon >= 0 && lines[row] != kWeaponList[weapon].path) {
            return Row(row) + " is " + Quoted(lines[row]) + ", expected " +
                   Quoted(kWeaponList[weapon].path);
        }
    }
    // No other row can be a weapon: the class counts allow exactly these fifteen.
    return "";
}

std::string NamePacking(const Lines& lines) {
    std::uint32_t offset = kFirstNameOffset;
    for (std::size_t row = 0; row < lines.size(); ++row) {
        const std::uint32_t want = FixedNameOffset(static_cast<int>(row));
        if (want != 0 && offset != want) {
            return Row(row) + " name lies at " + Hex(offset) + ", expected " + Hex(want);
        }
        offset += static_cast<std::uint32_t>(NameOfPath(lines[row]).size()) + 1;
    }
    return "";
}

std::string NameLengths(const Lines& lines) {
    const auto length = [&](std::size_t row) { return NameOfPath(lines[row]).size(); };
    const auto characters = [&](std::size_t row) {
        return Row(row) + " name has " + std::to_string(length(row)) + " characters";
    };
    if (length(kLongestNameRow) != kLongestName) {
        return characters(kLongestNameRow) + ", expected " + std::to_string(kLongestName);
    }
    std::size_t shortest = length(0);
    for (std::size_t row = 0; row < lines.size(); ++row) {
        if (row != kLongestNameRow && length(row) >= kLongestName) {
            return characters(row) + ", at most " + std::to_string(kLongestName - 1) + " allowed";
        }
        if (length(row) < kShortestName) {
            return characters(row) + ", at least " + std::to_string(kShortestName) + " needed";
        }
        shortest = std::min(shortest, length(row));
    }
    if (shortest > kShortestName) {
        return "shortest name has " + std::to_string(shortest) + " characters, expected exactly " +
               std::to_string(kShortestName);
    }
    return "";
}

std::string Unique(const Lines& lines) {
    std::map<std::string_view, std::size_t> seen;
    for (std::size_t row = 0; row < lines.size(); ++row) {
        const auto [first, added] = seen.emplace(lines[row], row);
        if (!added) {
            return Row(row) + " repeats " + Row(first->second) + ": " + Quoted(lines[row]);
        }
    }
    return "";
}

}  // namespace

std::string_view NameOfPath(std::string_view path) {
    return path.substr(0, path.rfind('.'));
}

std::string_view ClassOfPath(std::string_view path) {
    const std::size_t dot = path.rfind('.');
    return dot == std::string_view::npos ? std::string_view() : path.substr(dot + 1);
}

Status CheckPathList(const std::vector<std::string>& paths) {
    // Each rule may take the ones before it as kept: from fixed-rows on, the rows are all there.
    const std::pair<const char*, std::string (*)(const Lines&)> rules[] = {
        {"row-count", RowCount},       {"path-syntax", PathSyntax},   {"characters", Characters},
        {"class-counts", ClassCounts}, {"fixed-rows", FixedRows},     {"weapons", Weapons},
        {"name-packing", NamePacking}, {"name-lengths", NameLengths}, {"unique", Unique},
    };
    for (const auto& [name, rule] : rules) {
        if (std::string problem = rule(paths); !problem.empty()) {
            return Failure{std::string(name) + ": " + problem};
        }
    }
    return {};
}

Result<std::vector<std::string>> ReadPathList(std::string_view text) {
    const auto bad = std::find_if(text.begin(), text.end(), [](char c) { return c & 0x80; });
    if (bad != text.end()) {
        char detail[64];
        std::snprintf(detail, sizeof detail, "encoding: byte 0x%02X at %zu is not ASCII",
                      static_cast<unsigned char>(*bad),
                      static_cast<std::size_t>(bad - text.begin()));
        return Failure{detail};
    }
    if (text.find('\r') != std::string_view::npos) {
        return Failure{"line-ends: carriage return found; lines must end in a bare line feed"};
    }
    if (!text.ends_with('\n')) {
        return Failure{"line-ends: the last line does not end in a line feed"};
    }
    std::vector<std::string> paths;
    for (std::size_t start = 0; start < text.size();) {
        const std::size_t end = text.find('\n', start);
        paths.emplace_back(text.substr(start, end - start));
        start = end + 1;
    }
    if (Status kept = CheckPathList(paths); !kept) {
        return Failure{kept.Error()};
    }
    return paths;
}
