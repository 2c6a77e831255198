#include "app/HeightList.h"

#include <stdexcept>

#include "app/BmiCalculation.h"
#include "app/mNumbers.h"

namespace korvane::app {

std::string HeightEntry(int n)
{
    const int inches = kInchesOfFirstEntry + n;
    const std::string feet = std::to_string(inches / 12) + "'";
    return inches % 12 == 0 ? feet : feet + " " + std::to_string(inches % 12) + "\"";
}

int SavedHeightIndex(const std::string& saved)
{
    try {
        const int index = CInt(Val(saved));
        return index >= -1 && index < kHeightEntries ? index : -1;
    } catch (const std::overflow_error&) {
        return -1;
    }
}

}  // namespace korvane::app
