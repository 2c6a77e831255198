// Readable names for parameterised tests built from numbers, so a test's
// name says what it tries and is the same in every build.
#pragma once

#include <climits>
#include <initializer_list>
#include <string>

namespace korvane::test_support {

// 12 -> "12", -3 -> "Minus3", INT_MIN -> "IntMin", INT_MAX -> "IntMax".
inline std::string ParamNumber(long long n)
{
    if (n == INT_MIN) return "IntMin";
    if (n == INT_MAX) return "IntMax";
    if (n == -INT_MAX) return "MinusIntMax";
    return n < 0 ? "Minus" + std::to_string(-n) : std::to_string(n);
}

// The numbers joined by "_".
inline std::string ParamNumbers(std::initializer_list<long long> numbers)
{
    std::string name;
    for (long long n : numbers)
        name += (name.empty() ? "" : "_") + ParamNumber(n);
    return name;
}

}  // namespace korvane::test_support
