#include "properties/framework/PropChange.h"

#include <cmath>
#include <limits>
#include <type_traits>

namespace {

// Integer targets take a rounded-toward-zero, range-limited floating value
// (no undefined conversion of a NaN or a huge value).
template <class T, class V>
T Convert(V v) {
  if constexpr (std::is_integral_v<T> && std::is_floating_point_v<V>) {
    if (!std::isfinite(v)) return T{};
    const long double lo = static_cast<long double>(std::numeric_limits<T>::min());
    const long double hi = static_cast<long double>(std::numeric_limits<T>::max());
    const long double x = static_cast<long double>(v);
    if (x <= lo) return std::numeric_limits<T>::min();
    if (x >= hi) return std::numeric_limits<T>::max();
    return static_cast<T>(v);
  } else {
    return static_cast<T>(v);
  }
}

template <class T>
T NumberOf(const PropValue& value) {
  return std::visit(
      [](const auto& v) -> T {
        using V = std::decay_t<decltype(v)>;
        if constexpr (std::is_same_v<V, FloatPair>) {
          return Convert<T>(v.x);
        } else if constexpr (std::is_arithmetic_v<V>) {
          return Convert<T>(v);
        } else {
          return T{};
        }
      },
      value);
}

}  // namespace

bool HasPropValue(const PropValue& value) { return !std::holds_alternative<std::monostate>(value); }
double PropToDouble(const PropValue& value) { return NumberOf<double>(value); }
float PropToFloat(const PropValue& value) { return NumberOf<float>(value); }
int PropToInt(const PropValue& value) { return NumberOf<int>(value); }
unsigned PropToUnsigned(const PropValue& value) {
  // Signed members (a radio index of -1, a negative int) keep their bits.
  if (const int* i = std::get_if<int>(&value)) return static_cast<unsigned>(*i);
  return NumberOf<unsigned>(value);
}

std::string PropToText(const PropValue& value) {
  if (const std::string* s = std::get_if<std::string>(&value)) return *s;
  return {};
}

FloatPair PropToFloatPair(const PropValue& value) {
  if (const FloatPair* p = std::get_if<FloatPair>(&value)) return *p;
  const float f = PropToFloat(value);
  return FloatPair{f, f};
}

bool PostPropChange(platform::MessageTarget& target, UINT msg, std::shared_ptr<PROPCHANGE> record) {
  const WPARAM address = reinterpret_cast<WPARAM>(record.get());
  return target.PostMessage(msg, address, 0, std::move(record));
}

std::shared_ptr<PROPCHANGE> PropChangeOf(const platform::Message& message) {
  if (!message.payload || reinterpret_cast<WPARAM>(message.payload.get()) != message.wParam) return nullptr;
  return std::static_pointer_cast<PROPCHANGE>(message.payload);
}
