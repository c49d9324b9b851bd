#pragma once

#include <cstdint>
#include <string>

#include "weapon/tag_reference.h"

// The in-memory record of one weapon structure of the map. Values are held as the file's own
// bytes. A record may be copied bitwise: a copy shares the tag-reference buffers.
class WeaponStruct {
  public:
    static constexpr int kValueCapacity = 50;
    static constexpr int kLabelCapacity = 100;
    static constexpr int kTagRefCapacity = 100;

    // Reads the weapon from the map at once; reports nothing, whatever the file holds.
    explicit WeaponStruct(std::uint32_t metaOffset);

    void ReadFromMap();
    // The same read from another copy of the map, such as the original a patch is made against;
    // false when the file does not hold the whole weapon.
    bool ReadFromFile(const char* path);
    void WriteToMap();
    // The same write for a caller that must know whether every byte reached the map: false when
    // the open, a positioning, a write or the final flush failed.
    bool WriteToMapChecked();

    // The name at a name pointer, read from the map; "NULL" for 0 or a pointer that is not the
    // start of a catalogue name.
    static std::string ReadTagName(std::uint32_t namePointer);

    std::uint32_t GetMetaOffset() const { return metaOffset; }
    std::uint32_t GetBlockPointer() const { return blockPointer; }

    int GetNamedLongCount() const { return namedLongCount; }
    int GetNamedShortCount() const { return namedShortCount; }
    int GetNamedFloatCount() const { return namedFloatCount; }
    int GetNamedDoubleCount() const { return namedDoubleCount; }
    int GetUnknownLongCount() const { return unknownLongCount; }
    int GetUnknownShortCount() const { return unknownShortCount; }
    int GetUnknownFloatCount() const { return unknownFloatCount; }
    int GetUnknownDoubleCount() const { return unknownDoubleCount; }
    int GetTagRefCount() const { return tagRefCount; }

    std::int32_t GetNamedLong(int i) const { return namedLongs[i]; }
    std::int16_t GetNamedShort(int i) const { return namedShorts[i]; }
    float GetNamedFloat(int i) const { return namedFloats[i]; }
    double GetNamedDouble(int i) const { return namedDoubles[i]; }
    std::int32_t GetUnknownLong(int i) const { return unknownLongs[i]; }
    std::int16_t GetUnknownShort(int i) const { return unknownShorts[i]; }
    float GetUnknownFloat(int i) const { return unknownFloats[i]; }
    double GetUnknownDouble(int i) const { return unknownDoubles[i]; }
    TagReference* GetTagRef(int i) const { return tagRefs[i]; }

    const char* GetNamedLongLabel(int i) const { return namedLongLabels[i]; }
    const char* GetNamedShortLabel(int i) const { return namedShortLabels[i]; }
    const char* GetNamedFloatLabel(int i) const { return namedFloatLabels[i]; }
    const char* GetNamedDoubleLabel(int i) const { return namedDoubleLabels[i]; }

    void SetNamedLong(std::int32_t value, int i) { namedLongs[i] = value; }
    void SetNamedShort(std::int16_t value, int i) { namedShorts[i] = value; }
    void SetNamedFloat(float value, int i) { namedFloats[i] = value; }
    void SetNamedDouble(double value, int i) { namedDoubles[i] = value; }
    void SetUnknownLong(std::int32_t value, int i) { unknownLongs[i] = value; }
    void SetUnknownShort(std::int16_t value, int i) { unknownShorts[i] = value; }
    void SetUnknownFloat(float value, int i) { unknownFloats[i] = value; }
    void SetUnknownDouble(double value, int i) { unknownDoubles[i] = value; }

  private:
    friend class WeaponLayoutWalker;

    void ResetCounts();

    std::uint32_t blockPointer = 0;
    std::uint32_t metaOffset = 0;
    std::int32_t namedLongCount = 0;
    std::int32_t namedShortCount = 0;
    std::int32_t namedFloatCount = 0;
    std::int32_t namedDoubleCount = 0;
    std::int32_t unknownLongCount = 0;
    std::int32_t unknownShortCount = 0;
    std::int32_t unknownFloatCount = 0;
    std::int32_t unknownDoubleCount = 0;
    std::int32_t tagRefCount = 0;
    const char* namedLongLabels[kLabelCapacity] = {};
    const char* namedShortLabels[kLabelCapacity] = {};
    const char* namedFloatLabels[kLabelCapacity] = {};
    const char* namedDoubleLabels[kLabelCapacity] = {};
    TagReference* tagRefs[kTagRefCapacity] = {};
    std::int32_t namedLongs[kValueCapacity] = {};
    std::int16_t namedShorts[kValueCapacity] = {};
    float namedFloats[kValueCapacity] = {};
    double namedDoubles[kValueCapacity] = {};
    std::int32_t unknownLongs[kValueCapacity] = {};
    std::int16_t unknownShorts[kValueCapacity] = {};
    float unknownFloats[kValueCapacity] = {};
    double unknownDoubles[kValueCapacity] = {};
};
