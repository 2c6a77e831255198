#include "app/mNumbers.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <stdexcept>
#include <system_error>

#include "platform/gdi/CheckedNumbers.h"

namespace korvane::app {
namespace {

bool IsBlank(char c)
{
    return c == ' ' || c == '\t';
}
bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

// The number's characters without blanks, in the form from_chars reads.
struct Scanned {
    bool negative = false;
    std::string integerDigits;
    std::string fractionDigits;
    std::string exponent;  // with its sign, empty when absent
};

Scanned Scan(std::string_view text)
{
    std::string compact;
    for (char c : text) {
        if (!IsBlank(c)) compact.push_back(c);
    }
    Scanned number;
    std::size_t i = 0;
    if (i < compact.size() && (compact[i] == '+' || compact[i] == '-')) number.negative = compact[i++] == '-';
    while (i < compact.size() && IsDigit(compact[i]))
        number.integerDigits.push_back(compact[i++]);
    if (i < compact.size() && compact[i] == '.') {
        ++i;
        while (i < compact.size() && IsDigit(compact[i]))
            number.fractionDigits.push_back(compact[i++]);
    }
    if (i < compact.size() && (compact[i] == 'E' || compact[i] == 'e')) {
        std::size_t j = i + 1;
        std::string exponent;
        if (j < compact.size() && (compact[j] == '+' || compact[j] == '-')) exponent.push_back(compact[j++]);
        const std::size_t firstDigit = j;
        while (j < compact.size() && IsDigit(compact[j]))
            exponent.push_back(compact[j++]);
        if (j > firstDigit) number.exponent = exponent;
    }
    return number;
}

// Whether a decimal number out of double range is too large (not too small).
bool IsTooLarge(const Scanned& number)
{
    long long exponent = 0;
    for (char c : number.exponent) {
        if (IsDigit(c)) exponent = std::min(exponent * 10 + (c - '0'), 1'000'000'000LL);
    }
    if (!number.exponent.empty() && number.exponent.front() == '-') exponent = -exponent;
    const std::string digits = number.integerDigits + number.fractionDigits;
    const auto firstNonZero = static_cast<long long>(digits.find_first_not_of('0'));
    // Power of ten of the leading digit.
    const long long magnitude = static_cast<long long>(number.integerDigits.size()) - 1 - firstNonZero + exponent;
    return magnitude > 0;
}

}  // namespace

double Val(std::string_view text)
{
    const Scanned number = Scan(text);
    if (number.integerDigits.empty() && number.fractionDigits.empty()) return 0.0;
    std::string plain = (number.integerDigits.empty() ? "0" : number.integerDigits) + "." +
                        (number.fractionDigits.empty() ? "0" : number.fractionDigits);
    if (!number.exponent.empty()) plain += "e" + number.exponent;
    double value = 0.0;
    const auto [end, error] = std::from_chars(plain.data(), plain.data() + plain.size(), value);
    (void)end;
    if (error == std::errc::result_out_of_range) {
        if (IsTooLarge(number)) throw std::overflow_error("number out of range");
        return 0.0;
    }
    return number.negative ? -value : value;
}

std::int16_t CInt(double value)
{
    if (std::isnan(value)) throw std::overflow_error("not a number");
    // Halves go to the even neighbour; out of 16 bits is an overflow either way.
    constexpr const char* kTooLarge = "value does not fit 16 bits";
    return gdi::CheckedInt16(gdi::RoundToInt32(value, kTooLarge), kTooLarge);
}

namespace {

constexpr int kSignificantDigits = 15;

struct Pattern {
    std::size_t minIntegerDigits = 0;
    std::size_t minDecimals = 0;
    std::size_t maxDecimals = 0;
    bool hasPoint = false;
};

Pattern ParsePattern(std::string_view pattern)
{
    Pattern parsed;
    const std::size_t point = pattern.find('.');
    const std::string_view integer = pattern.substr(0, point);
    parsed.minIntegerDigits = static_cast<std::size_t>(std::count(integer.begin(), integer.end(), '0'));
    if (point == std::string_view::npos) return parsed;
    parsed.hasPoint = true;
    const std::string_view decimals = pattern.substr(point + 1);
    parsed.maxDecimals = decimals.size();
    parsed.minDecimals = std::min(decimals.find('#'), parsed.maxDecimals);
    return parsed;
}

// `value` (not negative) in fixed notation from its 15 significant
// digits, the precision a double holds for certain, so that rounding acts
// on the number the user reads (1.005 rounds up) rather than on the binary
// value just below it.
std::string FixedDigits(double value)
{
    std::array<char, 32> buffer{};
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value,
                                      std::chars_format::scientific, kSignificantDigits - 1);
    const std::string text(buffer.data(), result.ptr);
    const std::size_t e = text.find('e');
    std::string significant = text.substr(0, 1) + text.substr(2, e - 2);
    const int exponent = std::stoi(text.substr(e + 1));
    if (exponent < 0) return "0." + std::string(static_cast<std::size_t>(-exponent - 1), '0') + significant;
    const auto integerDigits = static_cast<std::size_t>(exponent) + 1;
    if (integerDigits >= significant.size()) {
        return significant + std::string(integerDigits - significant.size(), '0') + ".0";
    }
    return significant.substr(0, integerDigits) + "." + significant.substr(integerDigits);
}

// Adds one to the last digit of `digits` ("123.45" style), carrying left.
void RoundUp(std::string& digits)
{
    for (auto it = digits.rbegin(); it != digits.rend(); ++it) {
        if (*it == '.') continue;
        if (*it != '9') {
            ++*it;
            return;
        }
        *it = '0';
    }
    digits.insert(digits.begin(), '1');
}

}  // namespace

std::string Format(double value, std::string_view pattern, std::string_view decimalSeparator)
{
    if (!std::isfinite(value)) throw std::invalid_argument("cannot format a value that is not finite");
    const Pattern parsed = ParsePattern(pattern);
    std::string digits = FixedDigits(std::fabs(value));
    const std::size_t point = digits.find('.');
    const std::size_t next = point + 1 + parsed.maxDecimals;
    const bool roundUp = next < digits.size() && digits[next] >= '5';
    digits.resize(parsed.maxDecimals == 0 ? point : point + 1 + parsed.maxDecimals, '0');
    if (roundUp) RoundUp(digits);

    const std::size_t newPoint = std::min(digits.find('.'), digits.size());
    std::string integer = digits.substr(0, newPoint);
    std::string fraction = newPoint < digits.size() ? digits.substr(newPoint + 1) : std::string();
    integer.erase(0, std::min(integer.find_first_not_of('0'), integer.size()));
    if (integer.size() < parsed.minIntegerDigits) integer.insert(0, parsed.minIntegerDigits - integer.size(), '0');
    while (fraction.size() > parsed.minDecimals && fraction.back() == '0')
        fraction.pop_back();

    const bool isZero = (integer + fraction).find_first_not_of('0') == std::string::npos;
    std::string text = value < 0 && !isZero ? "-" : "";
    text += integer;
    if (parsed.hasPoint) text += std::string(decimalSeparator) + fraction;
    return text;
}

}  // namespace korvane::app
