#include "cli/dump_command.h"

#include <cmath>
#include <cstring>
#include <ostream>
#include <string>

#include "app/weapon_records.h"
#include "catalogue/supported_map.h"
#include "editor/number_text.h"

namespace cli {

namespace {

// "%.9g" gives every float back bit for bit; JSON has no words for the non-finite ones.
std::string FloatText(float value) {
    if (std::isnan(value)) {
        return "\"nan\"";
    }
    if (std::isinf(value)) {
        return value > 0 ? "\"inf\"" : "\"-inf\"";
    }
    return Format("%.9g", static_cast<double>(value));
}

std::string Quoted(const char* text) {
    std::string out = "\"";
    for (const char* p = text; *p; ++p) {
        if (*p == '"' || *p == '\\') {
            out += '\\';
        }
        out += *p;
    }
    return out + '"';
}

template <class Get>
std::string List(int count, Get get) {
    std::string out = "[";
    for (int i = 0; i < count; ++i) {
        out += (i ? ", " : "") + get(i);
    }
    return out + "]";
}

std::string ClassBytesHex(std::uint32_t classCode) {
    unsigned char bytes[4];
    std::memcpy(bytes, &classCode, 4);
    return Format("\"%02x%02x%02x%02x\"", bytes[0], bytes[1], bytes[2], bytes[3]);
}

void DumpRecord(const char* name, const WeaponStruct& w, std::ostream& out) {
    const int counts[] = {
        w.GetNamedLongCount(),    w.GetNamedShortCount(),    w.GetNamedFloatCount(),
        w.GetNamedDoubleCount(),  w.GetUnknownLongCount(),   w.GetUnknownShortCount(),
        w.GetUnknownFloatCount(), w.GetUnknownDoubleCount(), w.GetTagRefCount(),
    };
    out << "  {\n    \"name\": " << Quoted(name) << ",\n";
    out << "    \"meta_offset\": " << w.GetMetaOffset() << ",\n";
    out << "    \"block_pointer\": " << w.GetBlockPointer() << ",\n";
    out << "    \"counts\": " << List(9, [&](int i) { return std::to_string(counts[i]); }) << ",\n";
    out << "    \"named_shorts\": " << List(w.GetNamedShortCount(), [&](int i) {
        return "{\"label\": " + Quoted(w.GetNamedShortLabel(i)) +
               ", \"value\": " + std::to_string(w.GetNamedShort(i)) + "}";
    }) << ",\n";
    out << "    \"named_floats\": " << List(w.GetNamedFloatCount(), [&](int i) {
        return "{\"label\": " + Quoted(w.GetNamedFloatLabel(i)) +
               ", \"value\": " + FloatText(w.GetNamedFloat(i)) + "}";
    }) << ",\n";
    out << "    \"unknown_shorts\": " << List(w.GetUnknownShortCount(), [&](int i) {
        return std::to_string(w.GetUnknownShort(i));
    }) << ",\n";
    out << "    \"unknown_longs\": " << List(w.GetUnknownLongCount(), [&](int i) {
        return std::to_string(w.GetUnknownLong(i));
    }) << ",\n";
    out << "    \"unknown_floats\": " << List(w.GetUnknownFloatCount(), [&](int i) {
        return FloatText(w.GetUnknownFloat(i));
    }) << ",\n";
    out << "    \"tag_refs\": " << List(w.GetTagRefCount(), [&](int i) {
        const TagReference* r = w.GetTagRef(i);
        return "{\"class_bytes\": " + ClassBytesHex(r->classCode) +
               ", \"name_pointer\": " + std::to_string(r->namePointer) +
               ", \"reserved\": " + std::to_string(r->reserved) +
               ", \"tag_id\": " + std::to_string(r->tagId) + "}";
    }) << "\n  }";
}

}  // namespace

void DumpRecords(const WeaponRecords& weapons, std::ostream& out) {
    out << "[\n";
    for (int entry = 0; entry < kWeaponCount; ++entry) {
        DumpRecord(kWeaponList[entry].updateName, weapons[entry], out);
        out << (entry + 1 < kWeaponCount ? ",\n" : "\n");
    }
    out << "]\n";
}

}  // namespace cli
