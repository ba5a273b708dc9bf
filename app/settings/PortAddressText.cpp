#include "app/settings/PortAddressText.h"

#include <cstdio>

#include "platform/Prompt.h"

int FormatPortHex(std::uint32_t value, std::string& text) {
  char buffer[16];
  std::snprintf(buffer, sizeof buffer, "%04X", static_cast<unsigned>(value));
  text = buffer;
  return 1;
}

int ParseHexPort(std::uint32_t& value, const std::string& text, bool isAddress) {
  if (isAddress && text.size() > 6) {
    platform::MessageBox("Address is too long!");
    return 0;
  }
  if (!isAddress && text.size() > 10) {
    platform::MessageBox("Write data too long!");
    return 0;
  }
  if (text.empty()) {
    platform::MessageBox("Address error!");
    return 0;
  }
  std::uint64_t parsed = 0;
  for (const char c : text) {
    int digit = 0;
    if (c >= '0' && c <= '9') {
      digit = c - '0';
    } else if (c >= 'A' && c <= 'F') {
      digit = c - 'A' + 10;
    } else {
      platform::MessageBox("Address error!");
      return 0;
    }
    parsed = parsed * 16 + static_cast<std::uint64_t>(digit);
  }
  // Ten digits can exceed the 32-bit word the value is kept in; cutting it
  // would write to another port than the one typed.
  if (parsed > 0xFFFFFFFFull) {
    platform::MessageBox(isAddress ? "Address is too long!" : "Write data too long!");
    return 0;
  }
  value = static_cast<std::uint32_t>(parsed);
  return 1;
}
