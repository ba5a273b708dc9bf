#include "properties/pages/VinText.h"

#include <cctype>

namespace {

// One character up or down within its run; true when it wrapped (a carry).
// False in `known` for characters outside the three runs.
bool StepChar(char& c, bool up, bool& known) {
  known = true;
  const auto step = [&](char first, char last) {
    if (up) {
      if (c == last) {
        c = first;
        return true;
      }
      ++c;
      return false;
    }
    if (c == first) {
      c = last;
      return true;
    }
    --c;
    return false;
  };
  if (c >= '0' && c <= '9') return step('0', '9');
  if (c >= 'A' && c <= 'Z') return step('A', 'Z');
  if (c >= 'a' && c <= 'z') return step('a', 'z');
  known = false;
  return false;
}

}  // namespace

bool HasRefusedVinLetter(const std::string& part) { return part.find_first_of("IOQioq") != std::string::npos; }

void UpperVin(std::string& part) {
  for (char& c : part) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
}

bool StepMakeOrder(std::string& order, bool up) {
  if (order == (up ? "999999" : "000000")) return false;
  const std::string before = order;
  for (std::size_t i = order.size(); i-- > 0;) {
    bool known = false;
    const bool carry = StepChar(order[i], up, known);
    if (!known || !carry) break;
  }
  return order != before;
}

bool StepVinDigit(std::string& digit, bool up) {
  if (digit.size() != 1 || !std::isdigit(static_cast<unsigned char>(digit[0]))) return false;
  bool known = false;
  StepChar(digit[0], up, known);
  return true;
}

void PutVinPart(std::string& code, std::size_t at, const std::string& part) {
  for (std::size_t i = 0; i < part.size() && at + i < code.size(); ++i) code[at + i] = part[i];
}
