#pragma once
// The record a property change travels in, from the sheet through the
// property view to the layout view: the control id, a copy of the value the
// page held when the sheet wrapped the change, and the edited object. The
// value is copied, not pointed at, so a later edit or a new selection cannot
// change what an earlier record says. The record travels as the message
// payload (its address in wParam) and is freed with the message, also when
// the receiver is gone.
#include <memory>
#include <string>
#include <variant>

#include "platform/Messages.h"

class CObjElement;

struct FloatPair {
  float x = 0;
  float y = 0;
  bool operator==(const FloatPair&) const = default;
};

using PropValue = std::variant<std::monostate, int, unsigned, float, double, std::string, FloatPair>;

struct PROPCHANGE {
  int id = -1;
  PropValue value;
  CObjElement* object = nullptr;
};

// Conversions for the receiver: numbers convert between widths (a float page
// member read as a double and the other way round); text, a pair or no
// value read as 0 (pairs give their x), and a number read as text is empty.
bool HasPropValue(const PropValue& value);
double PropToDouble(const PropValue& value);
float PropToFloat(const PropValue& value);
int PropToInt(const PropValue& value);
unsigned PropToUnsigned(const PropValue& value);
std::string PropToText(const PropValue& value);
FloatPair PropToFloatPair(const PropValue& value);

// Posts the record under `msg`: wParam the record's address, lParam 0, the
// record itself as the payload. Returns the post's result.
bool PostPropChange(platform::MessageTarget& target, UINT msg, std::shared_ptr<PROPCHANGE> record);
// The record a message carries, or null.
std::shared_ptr<PROPCHANGE> PropChangeOf(const platform::Message& message);
