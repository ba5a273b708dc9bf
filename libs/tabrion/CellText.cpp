#include "libs/tabrion/CellText.h"

#include <algorithm>
#include <cmath>

#include "libs/tabrion/DefaultFont.h"
#include "platform/NumberText.h"

namespace tabrion {
namespace {

constexpr int kGeneralCharacters = 11;  // besides the sign
constexpr int kSignificantDigits = 15;
// Below this a number shows in decimals only with all its digits, else scientific.
constexpr double kSmallNumber = 1e-4;
constexpr int kStandardHashes = 8;

// The 15 significant digits of value (> 0) and the power of ten of the first.
void SignificantDigits(double value, std::string& digits, int& exponent) {
  std::string s = platform::FormatC("%.14e", value);  // d.dddddddddddddde+XX
  std::size_t e = s.find('e');
  digits = s.substr(0, 1) + s.substr(2, e - 2);
  exponent = static_cast<int>(platform::ParseIntC(s.substr(e + 1)));
}

// Rounds the digits half away from zero to their first 'keep'; true when a
// carry added a digit in front ("999" kept 2 gives "100").
bool RoundDigits(std::string& digits, std::size_t keep) {
  if (digits.size() < keep + 1) digits.append(keep + 1 - digits.size(), '0');
  bool up = digits[keep] >= '5';
  digits.resize(keep);
  if (!up) return false;
  std::size_t k = keep;
  while (k > 0 && digits[k - 1] == '9') digits[--k] = '0';
  if (k > 0) {
    ++digits[k - 1];
    return false;
  }
  digits.insert(digits.begin(), '1');
  return true;
}

void TrimZeros(std::string& fraction) {
  std::size_t last = fraction.find_last_not_of('0');
  fraction.resize(last == std::string::npos ? 0 : last + 1);
}

// DecimalDigits from the 15 significant digits and the power of ten of the first.
void PlaceDigits(std::string digits, int exponent, int places, std::string& integer, std::string& fraction) {
  int pointAt = exponent + 1;  // digits before the decimal point
  // All digits, left-padded so that pointAt >= 0, rounded to the places.
  if (pointAt < 0) {
    digits.insert(0, static_cast<std::size_t>(-pointAt), '0');
    pointAt = 0;
  }
  if (RoundDigits(digits, static_cast<std::size_t>(pointAt + places))) ++pointAt;
  integer = digits.substr(0, static_cast<std::size_t>(pointAt));
  fraction = digits.substr(static_cast<std::size_t>(pointAt));
  std::size_t nz = integer.find_first_not_of('0');
  integer = nz == std::string::npos ? std::string() : integer.substr(nz);
}

// "-12.5", "0.25": the number with at most 'places' decimals, no trailing zeros.
std::string DecimalText(const std::string& digits, int exponent, bool negative, int places) {
  std::string integer, fraction;
  PlaceDigits(digits, exponent, places, integer, fraction);
  TrimZeros(fraction);
  if (integer.empty() && fraction.empty()) return "0";  // not "-0"
  std::string text = negative ? "-" : "";
  text += integer.empty() ? "0" : integer;
  if (!fraction.empty()) text += "." + fraction;
  return text;
}

// "1.5E+11", "-2E-07": the mantissa with at most 'places' decimals.
std::string ScientificText(std::string digits, int exponent, bool negative, int places) {
  if (RoundDigits(digits, static_cast<std::size_t>(places) + 1)) {
    ++exponent;
    digits.pop_back();
  }
  std::string fraction = digits.substr(1);
  TrimZeros(fraction);
  std::string text = negative ? "-" : "";
  text += digits[0];
  if (!fraction.empty()) text += "." + fraction;
  text += exponent < 0 ? "E-" : "E+";
  return text + platform::FormatC("%02d", std::abs(exponent));
}

}  // namespace

int NumberTextPixels(std::string_view text) {
  int pixels = 0;
  for (char c : text) pixels += CharPixels(c);
  return pixels;
}

std::string HashFill(int textPixels) {
  int count = textPixels == kAnyWidth ? kStandardHashes : std::max(1, textPixels / CharPixels('#'));
  return std::string(static_cast<std::size_t>(count), '#');
}

std::string GeneralNumberText(double value, int textPixels) {
  if (!std::isfinite(value)) return "#NUM!";
  auto fits = [&](const std::string& text) {
    std::size_t sign = text[0] == '-' ? 1 : 0;
    return text.size() - sign <= kGeneralCharacters &&
           (textPixels == kAnyWidth || NumberTextPixels(text) <= textPixels);
  };
  if (value == 0) return fits("0") ? "0" : HashFill(textPixels);
  bool negative = value < 0;
  double magnitude = std::fabs(value);
  std::string digits;
  int exponent = 0;
  SignificantDigits(magnitude, digits, exponent);

  // Decimals for all 15 significant digits; none of them beyond what 11 characters hold.
  int allPlaces = std::max(0, kSignificantDigits - 1 - exponent);
  if (magnitude < kSmallNumber) {
    if (exponent >= -kGeneralCharacters) {  // else its first digit lies beyond 11 characters
      std::string text = DecimalText(digits, exponent, negative, allPlaces);
      if (fits(text)) return text;
    }
  } else if (exponent < kGeneralCharacters) {
    for (int places = std::min(allPlaces, kGeneralCharacters); places >= 0; --places) {
      std::string text = DecimalText(digits, exponent, negative, places);
      if (fits(text)) return text;
    }
  }
  for (int places = kSignificantDigits - 1; places >= 0; --places) {
    std::string text = ScientificText(digits, exponent, negative, places);
    if (fits(text)) return text;
  }
  return HashFill(textPixels);
}

void DecimalDigits(double value, int places, std::string& integer, std::string& fraction) {
  integer.clear();
  fraction.assign(static_cast<std::size_t>(places), '0');
  if (!(value > 0) || !std::isfinite(value)) return;
  std::string digits;
  int exponent = 0;
  SignificantDigits(value, digits, exponent);
  PlaceDigits(std::move(digits), exponent, places, integer, fraction);
}

}  // namespace tabrion
