#pragma once

#include <iosfwd>

class WeaponRecords;

namespace cli {

// The fifteen records as JSON, in weapon-list order.
void DumpRecords(const WeaponRecords& weapons, std::ostream& out);

}  // namespace cli
