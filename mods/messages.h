#pragma once

// What the mods commands say, each text once. A message about a file starts with its name.
namespace mods::text {

// Reading a patch.
inline constexpr char kNoSuchFile[] = "cannot be read: there is no such file";
inline constexpr char kNotAFile[] = "cannot be read: it is not a file";
inline constexpr char kUnreadable[] = "cannot be read";
inline constexpr char kEmpty[] = "is empty, not a patch";
inline constexpr char kNotJson[] = "is not JSON: it breaks off at line ";
inline constexpr char kNotPatch[] =
    "is not a Torvex patch: it needs \"torvex_patch\" and a list of \"changes\"";
inline constexpr char kNewerFormat[] = "is a patch of a newer format, ";
inline constexpr char kKnownFormats[] = "; this torvex-cli reads formats 1 to ";
inline constexpr char kNotObject[] = "is not an object with \"weapon\" and a field";
inline constexpr char kNoTagOrClass[] =
    "a reference needs \"tag\" and \"class\", both null for no tag";
inline constexpr char kSameField[] = "changes the same field as entry ";
inline constexpr char kNoBefore[] =
    "was made by an older diff that records no values before it, so it cannot be checked or "
    "taken off";

// Reading a map.
inline constexpr char kMapTooShort[] = "cannot be compared: it does not hold the whole weapon ";
inline constexpr char kMapUnwritable[] = "cannot be opened for writing";

// Checking and applying.
inline constexpr char kExpects[] = " expects ";
inline constexpr char kHolds[] = " holds ";
inline constexpr char kTheMap[] = "the map";
inline constexpr char kAnd[] = " and ";
inline constexpr char kBothChange[] = " both change it from ";
inline constexpr char kToEach[] = ", to ";
inline constexpr char kAndTo[] = " and to ";
inline constexpr char kNothingWritten[] =
    "nothing written: give --force to write over the conflicts";
inline constexpr char kNotWritten[] = ": not written to ";
inline constexpr char kRunAgain[] = "run the same command again to finish";

// Status.
inline constexpr char kApplied[] = "applied";
inline constexpr char kNotApplied[] = "not applied";
inline constexpr char kPartly[] = "partly applied";
inline constexpr char kConflicting[] = "conflicting";
inline constexpr char kChanges[] = " changes ";
inline constexpr char kTo[] = " to ";
inline constexpr char kOf[] = " of ";
inline constexpr char kFields[] = " fields";
inline constexpr char kChangedBy[] = ": changed by ";
inline constexpr char kWins[] = " wins";

}  // namespace mods::text
