#include "platform/serial/SerialSettings.h"

#include <cctype>
#include <charconv>
#include <vector>

namespace platform::serial {
namespace {

std::string_view Trim(std::string_view s) {
  while (!s.empty() && std::isspace(static_cast<unsigned char>(s.front()))) s.remove_prefix(1);
  while (!s.empty() && std::isspace(static_cast<unsigned char>(s.back()))) s.remove_suffix(1);
  return s;
}

bool ParseInt(std::string_view s, int& out) {
  s = Trim(s);
  if (s.empty()) return false;
  auto [ptr, ec] = std::from_chars(s.data(), s.data() + s.size(), out);
  return ec == std::errc() && ptr == s.data() + s.size();
}

bool Fail(std::string* error, std::string text) {
  if (error) *error = std::move(text);
  return false;
}

}  // namespace

bool ParseSerialSettings(std::string_view text, SerialSettings& settings, std::string* error) {
  std::vector<std::string_view> fields;
  std::size_t start = 0;
  while (true) {
    std::size_t comma = text.find(',', start);
    fields.push_back(text.substr(start, comma == std::string_view::npos ? std::string_view::npos : comma - start));
    if (comma == std::string_view::npos) break;
    start = comma + 1;
  }
  if (fields.size() != 4) return Fail(error, "Serial settings need four fields: baud,parity,data bits,stop bits");
  SerialSettings parsed;
  if (!ParseInt(fields[0], parsed.baud) || parsed.baud <= 0) return Fail(error, "Bad baud rate in serial settings");
  std::string_view p = Trim(fields[1]);
  if (p.size() != 1) return Fail(error, "Bad parity in serial settings");
  parsed.parity = static_cast<char>(std::tolower(static_cast<unsigned char>(p[0])));
  if (parsed.parity != 'n' && parsed.parity != 'o' && parsed.parity != 'e') return Fail(error, "Bad parity in serial settings");
  if (!ParseInt(fields[2], parsed.dataBits) || parsed.dataBits < 5 || parsed.dataBits > 8)
    return Fail(error, "Bad data bits in serial settings");
  if (!ParseInt(fields[3], parsed.stopBits) || (parsed.stopBits != 1 && parsed.stopBits != 2))
    return Fail(error, "Bad stop bits in serial settings");
  settings = parsed;
  return true;
}

std::string FormatSerialSettings(const SerialSettings& s) {
  return std::to_string(s.baud) + "," + s.parity + "," + std::to_string(s.dataBits) + "," + std::to_string(s.stopBits);
}

}  // namespace platform::serial
