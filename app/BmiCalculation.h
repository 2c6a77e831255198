// The body-mass-index calculation behind the Calculate button: the checks of
// the entries, the imperial formula, the five bands and the two captions.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace korvane::app {

inline constexpr double kPoundsPerKilogram = 2.2;
inline constexpr int kInchesOfFirstEntry = 48;
inline constexpr double kBmiFactor = 704.5;
inline constexpr double kReferenceBmi = 22.5;
inline constexpr const char* kBmiPattern = "###.0#";
inline constexpr const char* kWeightPattern = "###.00";
inline constexpr const char* kSpecifyWeight = "Please specify weight";
inline constexpr const char* kSpecifyHeight = "Please specify height";

enum class BmiBand { Underweight, Normal, Overweight, Obese, Extreme };

struct Rgb {
    std::uint8_t red = 0;
    std::uint8_t green = 0;
    std::uint8_t blue = 0;
    friend bool operator==(Rgb, Rgb) = default;
};

// The two colours the highest band blinks between.
inline constexpr Rgb kBlinkBright{255, 0, 0};
inline constexpr Rgb kBlinkDark{175, 0, 0};

// The band of an unrounded BMI; each boundary belongs to the higher band.
BmiBand BandOf(double bmi);
Rgb BandColour(BmiBand band);
// The legend's caption, " = Normal" and so on.
const char* BandCaption(BmiBand band);
// The band's plain name, "Normal" and so on.
std::string BandName(BmiBand band);

struct BmiResult {
    double Bmi = 0;
    // The weight for a BMI of 22.5 in the unit the user chose.
    double ReferenceWeight = 0;
    BmiBand Band = BmiBand::Normal;
};

struct BmiOutcome {
    std::optional<BmiResult> Result;
    // The message to show when there is no result.
    std::string Message;
};

// The BMI of the weight text (kilograms or pounds) at height list entry
// `heightIndex` (-1 for none). A weight that reads as 0 or less, or whose
// number or results are not finite, asks for the weight; no entry asks for
// the height.
BmiOutcome ComputeBmi(std::string_view weightText, bool kilograms, int heightIndex);

// "21.33" and "Weight for 22.5 BMI : 147.68 lbs" (or " kgs.").
std::string BmiCaption(double bmi, std::string_view decimalSeparator);
std::string ReferenceWeightCaption(double weight, bool kilograms, std::string_view decimalSeparator);

}  // namespace korvane::app
