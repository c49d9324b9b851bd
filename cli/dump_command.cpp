#include "cli/dump_command.h"

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <nlohmann/json.hpp>
#include <ostream>

#include "app/weapon_records.h"
#include "catalogue/supported_map.h"
#include "core/hex.h"
#include "editor/number_text.h"

namespace cli {

namespace {

using Json = nlohmann::ordered_json;

// The number "%.9g" writes, which gives every float back bit for bit. A whole number it writes
// without an exponent goes in as an integer, so it reads as before; -0 stays a float, keeping its
// sign. JSON has no words for the non-finite ones.
Json FloatValue(float value) {
    if (!std::isfinite(value)) {
        return std::isnan(value) ? "nan" : value > 0 ? "inf" : "-inf";
    }
    const double number = std::strtod(Format("%.9g", static_cast<double>(value)).c_str(), nullptr);
    const bool negativeZero = number == 0 && std::signbit(number);
    if (number == std::trunc(number) && std::fabs(number) < 1e9 && !negativeZero) {
        return static_cast<std::int64_t>(number);
    }
    return number;
}

template <class Get>
Json List(int count, Get get) {
    Json list = Json::array();
    for (int i = 0; i < count; ++i) {
        list.push_back(get(i));
    }
    return list;
}

Json Record(const char* name, const WeaponStruct& w) {
    return {
        {"name", name},
        {"meta_offset", w.GetMetaOffset()},
        {"block_pointer", w.GetBlockPointer()},
        {"counts",
         {w.GetNamedLongCount(), w.GetNamedShortCount(), w.GetNamedFloatCount(),
          w.GetNamedDoubleCount(), w.GetUnknownLongCount(), w.GetUnknownShortCount(),
          w.GetUnknownFloatCount(), w.GetUnknownDoubleCount(), w.GetTagRefCount()}},
        {"named_shorts",
         List(w.GetNamedShortCount(),
              [&](int i) {
                  return Json{{"label", w.GetNamedShortLabel(i)}, {"value", w.GetNamedShort(i)}};
              })},
        {"named_floats", List(w.GetNamedFloatCount(),
                              [&](int i) {
                                  return Json{{"label", w.GetNamedFloatLabel(i)},
                                              {"value", FloatValue(w.GetNamedFloat(i))}};
                              })},
        {"unknown_shorts",
         List(w.GetUnknownShortCount(), [&](int i) { return w.GetUnknownShort(i); })},
        {"unknown_longs",
         List(w.GetUnknownLongCount(), [&](int i) { return w.GetUnknownLong(i); })},
        {"unknown_floats",
         List(w.GetUnknownFloatCount(), [&](int i) { return FloatValue(w.GetUnknownFloat(i)); })},
        {"tag_refs", List(w.GetTagRefCount(),
                          [&](int i) {
                              const TagReference* r = w.GetTagRef(i);
                              return Json{{"class_bytes", HexOfBytes(&r->classCode, 4)},
                                          {"name_pointer", r->namePointer},
                                          {"reserved", r->reserved},
                                          {"tag_id", r->tagId}};
                          })},
    };
}

}  // namespace

void DumpRecords(const WeaponRecords& weapons, std::ostream& out) {
    Json records = Json::array();
    for (int entry = 0; entry < kWeaponCount; ++entry) {
        records.push_back(Record(kWeaponList[entry].updateName, weapons[entry]));
    }
    out << records.dump(2) << '\n';
}

}  // namespace cli
