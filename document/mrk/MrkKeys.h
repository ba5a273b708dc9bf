#pragma once
// The .mrk project file is a sequence of line pairs: a key line ("<number>;<label>",
// label in code page 936) and a value line. The key number alone says how the
// value line is parsed; these types carry that rule to every class that reads
// its own keys.
#include <cstdint>
#include <string>
#include <string_view>

// Structure lines shared by all class blocks (code page 936 bytes).
inline constexpr char kMrkClassName[] = "202;\xb6\xd4\xcf\xf3\xb5\xc4\xc0\xe0\xc3\xfb";  // 202;对象的类名
inline constexpr char kMrkClassEnd[] = "202;\xb6\xd4\xcf\xf3\xbd\xe1\xca\xf8";  // 202;对象结束
inline constexpr char kMrkObjectStart[] = "200;\xd2\xbb\xb8\xf6\xb6\xd4\xcf\xf3\xb5\xc4\xbf\xaa\xca\xbc";  // 200;一个对象的开始
inline constexpr char kMrkObjectEnd[] = "200;\xd2\xbb\xb8\xf6\xb6\xd4\xcf\xf3\xb5\xc4\xbd\xe1\xca\xf8";  // 200;一个对象的结束
inline constexpr char kMrkFileEnd[] = "250;\xce\xc4\xbc\xfe\xbd\xe1\xca\xf8\xb1\xea\xd6\xbe";  // 250;文件结束标志
inline constexpr char kMrkObjectStartValue[] = "\xb6\xd4\xcf\xf3\xbf\xaa\xca\xbc:";  // 对象开始:
inline constexpr char kMrkObjectEndValue[] = "\xb6\xd4\xcf\xf3\xbd\xe1\xca\xf8:";  // 对象结束:
inline constexpr char kMrkFileEndValue[] = "\xce\xc4\xbc\xfe\xbd\xe1\xca\xf8:";  // 文件结束:
inline constexpr char kMrkObjectStartValueEn[] = "IsObjectStart:";
inline constexpr char kMrkObjectEndValueEn[] = "IsObjectEnd:";
inline constexpr char kMrkFileEndValueEn[] = "IsFileEnd:";
inline constexpr char kMrkClassEndValue[] = "CLASS_END";

// How a value line is parsed, decided by the key number alone.
enum class MrkKeyKind {
  None,    // no value line follows; the key line is skipped
  Double,  // keys 10..59
  Float,   // keys 60..99
  Int,     // keys 100..189
  Byte,    // keys 190..199: low byte of the integer
  Text,    // keys 200..250: structure and string keys
  Binary,  // keys 320..350: raw bytes follow the key line (pictures)
};

MrkKeyKind MrkKeyKindOf(int key);

// The number at the start of a key line ("160;...") or 0 when it has none.
int ParseMrkKey(std::string_view keyLine);

// One value as the reader hands it to a class setter: parsed by the key's kind.
struct MrkValue {
  MrkKeyKind kind = MrkKeyKind::None;
  double d = 0;         // Double
  float f = 0;          // Float
  int i = 0;            // Int (saturated to the int range)
  std::uint8_t b = 0;   // Byte
  std::string text;     // the value line as read (every kind)

  // Parses a value line for a key. Text that does not start with a number gives 0.
  static MrkValue Parse(int key, std::string_view valueLine);
  static MrkValue OfDouble(double v);
  static MrkValue OfFloat(float v);
  static MrkValue OfInt(int v);
  static MrkValue OfByte(std::uint8_t v);
};
