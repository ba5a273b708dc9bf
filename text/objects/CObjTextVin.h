#pragma once
// Type 17: a 17-character vehicle identification number whose ninth
// character is always its computed check character. It is drawn with its
// own stroke fonts and the star decoration, optionally in two lines after
// the ninth character, and its last six characters count up after marking.
#include <string>

#include "text/objects/CObjText.h"

class MrkLineWriter;
struct MrkValue;
struct CObjTypeOps;

inline constexpr char kVinStrokeFontPair[] = "GOLD+Xc18";
inline constexpr char kVinStyleError[] = "Vin style is error";
constexpr std::size_t kVinLength = 17;

class CObjTextVin : public CObjText {
 public:
  CObjTextVin();
  explicit CObjTextVin(const TextCreateRecord& record);

  void CopyFrom(const CObjTextVin& other);

  // 1 to 17 characters, none of them I, O or Q in either case.
  static bool IsValidVin(const std::string& text);
  // The check character of a 17-character text (its ninth left out).
  static char CheckCharOf(const std::string& text);
  // A valid 17-character text gets its check character in place; false
  // (text unchanged) otherwise.
  bool CheckDigit(std::string& text);
  // Takes only 17-character texts: stored, checked and laid out at the
  // anchor. A number that fails its check is reported and left without
  // geometry, so that nothing stale is marked in its name.
  void SetVinText(const CDoublePoint& anchor, const std::string& text);
  // A number from outside (a spreadsheet row): checked and laid out at the
  // anchor. One that fails the check, of any length, is reported and the
  // object keeps its number and its geometry.
  void SetVinTextFromRow(const CDoublePoint& anchor, const std::string& text);
  // After each marked object: characters 12 to 17 count up by one (the
  // letters I, O and Q are passed over) and the number is set as by
  // SetVinText. Texts shorter than 17 characters are left alone. 1 when
  // the number changed.
  int AdvanceAfterMark(const CDoublePoint& anchor);
  // Steps digits and letters from the right with their carry; I, O and Q
  // are skipped; a carry out of the first character is dropped.
  static void IncrementSerial(std::string& buffer, int step);

  std::string GetWmi() const { return Part(0, 3); }
  std::string GetChar4() const { return Part(3, 1); }
  std::string GetChar5() const { return Part(4, 1); }
  std::string GetChar6() const { return Part(5, 1); }
  std::string GetChar7() const { return Part(6, 1); }
  std::string GetChar8() const { return Part(7, 1); }
  std::string GetCheckChar() const { return Part(8, 1); }
  std::string GetYearChar() const { return Part(9, 1); }
  std::string GetPlantChar() const { return Part(10, 1); }
  std::string GetSerialPart() const { return Part(11, 6); }

  int GetEnlarged() const { return enlarged_; }
  void SetEnlarged(int on) {
    Changed();
    enlarged_ = on;
  }

  void Write(MrkLineWriter& out) const;
  void SetProperty(int key, const MrkValue& value);
  void SetStringProperty(int key, const std::string& value) { CObjText::SetStringProperty(key, value); }

 private:
  void SetCheckedText(const CDoublePoint& anchor);
  std::string Part(std::size_t from, std::size_t count) const;
  int enlarged_ = 0;  // [145]
};

// Dispatch table of the VIN (type 17); registered at start-up.
const CObjTypeOps& TextVinTypeOps();
