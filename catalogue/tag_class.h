#pragma once

#include <cstdint>
#include <string_view>

// The thirteen tag reference classes the editor knows.
struct TagClass {
    const char* categoryName;    // category node text in the tree
    const char* referenceClass;  // class code in reading order, as references are filed
    const char* storedBytes;     // the same code as the map stores it: reversed
    const char* label;           // singular label a category text begins with
    const char* listClass;       // class code that picks catalogue rows for the identifier list
};

inline constexpr int kTagClassCount = 13;
extern const TagClass kTagClasses[kTagClassCount];

// The row whose stored bytes equal the text (a reference's class bytes up to the first zero
// byte, at most four of them), or nullptr.
const TagClass* FindTagClassByStoredClass(std::string_view storedText);

// The first row, in the lookup order, whose label begins the text, or nullptr.
const TagClass* FindTagClassByLabel(std::string_view text);

// The row whose stored bytes a reference's class code holds, read as FindTagClassByStoredClass
// reads them, or nullptr.
const TagClass* FindTagClassByCode(std::uint32_t classCode);
