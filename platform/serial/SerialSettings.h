#pragma once
// The communications settings text, "19200,n,8,1": baud, parity letter, data
// bits, stop bits.
#include <string>
#include <string_view>

namespace platform::serial {

struct SerialSettings {
  int baud = 19200;
  char parity = 'n';  // 'n' none, 'o' odd, 'e' even
  int dataBits = 8;   // 5..8
  int stopBits = 1;   // 1 or 2
};

// Parses "baud,parity,data,stop" (case-insensitive parity letter, spaces
// allowed around fields). On failure returns false, leaves settings untouched
// and puts a reason into error when given.
bool ParseSerialSettings(std::string_view text, SerialSettings& settings, std::string* error = nullptr);
std::string FormatSerialSettings(const SerialSettings& settings);

}  // namespace platform::serial
