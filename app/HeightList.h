// The 36 entries of the height list, 4 feet 0 inches to 6 feet 11 inches,
// and the saved height turned back into a list index.
#pragma once

#include <string>

namespace korvane::app {

inline constexpr int kHeightEntries = 36;

// "4'" for entry 0, "4' 1\"" for entry 1, ... "6' 11\"" for entry 35.
std::string HeightEntry(int n);

// The list index a saved "Height" text selects: the number it begins with,
// rounded halves to even; -1 (no selection) for an index outside the list
// or a number that does not fit 16 bits.
int SavedHeightIndex(const std::string& saved);

}  // namespace korvane::app
