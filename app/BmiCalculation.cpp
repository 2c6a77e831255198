#include "app/BmiCalculation.h"

#include <array>
#include <cmath>
#include <stdexcept>

#include "app/mNumbers.h"

namespace korvane::app {
namespace {

struct BandRow {
    double lowest = 0;
    Rgb colour;
    const char* caption = nullptr;
};

constexpr std::array<BandRow, 5> kBands{{
    {-INFINITY, {0, 0, 255}, " = Underweight"},
    {20.0, {0, 128, 0}, " = Normal"},
    {25.0, {255, 128, 64}, " = Overweight"},
    {30.0, {200, 0, 0}, " = Obese"},
    {40.0, kBlinkBright, " = Extreme"},
}};

const BandRow& RowOf(BmiBand band)
{
    return kBands[static_cast<std::size_t>(band)];
}

BmiOutcome Refuse(const char* message)
{
    return {std::nullopt, message};
}

}  // namespace

BmiBand BandOf(double bmi)
{
    std::size_t band = 0;
    while (band + 1 < kBands.size() && bmi >= kBands[band + 1].lowest)
        ++band;
    return static_cast<BmiBand>(band);
}

Rgb BandColour(BmiBand band)
{
    return RowOf(band).colour;
}

const char* BandCaption(BmiBand band)
{
    return RowOf(band).caption;
}

std::string BandName(BmiBand band)
{
    return std::string(RowOf(band).caption).substr(3);
}

BmiOutcome ComputeBmi(std::string_view weightText, bool kilograms, int heightIndex)
{
    double pounds = 0;
    try {
        pounds = Val(weightText);
    } catch (const std::overflow_error&) {
        return Refuse(kSpecifyWeight);
    }
    if (kilograms) pounds *= kPoundsPerKilogram;
    if (!std::isfinite(pounds) || !(pounds > 0)) return Refuse(kSpecifyWeight);
    if (heightIndex < 0) return Refuse(kSpecifyHeight);

    const double inches = heightIndex + kInchesOfFirstEntry;
    BmiResult result;
    result.Bmi = pounds / (inches * inches) * kBmiFactor;
    result.ReferenceWeight = inches * inches * kReferenceBmi / kBmiFactor;
    if (kilograms) result.ReferenceWeight /= kPoundsPerKilogram;
    if (!std::isfinite(result.Bmi)) return Refuse(kSpecifyWeight);
    result.Band = BandOf(result.Bmi);
    return {result, {}};
}

std::string BmiCaption(double bmi, std::string_view decimalSeparator)
{
    return Format(bmi, kBmiPattern, decimalSeparator);
}

std::string ReferenceWeightCaption(double weight, bool kilograms, std::string_view decimalSeparator)
{
    return "Weight for 22.5 BMI : " + Format(weight, kWeightPattern, decimalSeparator) + (kilograms ? " kgs." : " lbs");
}

}  // namespace korvane::app
