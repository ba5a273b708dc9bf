#pragma once
// Type 16: a serial number. The shown text is composed of a fixed prefix,
// an optional date, the serial part, a suffix and an optional tail; the
// serial part steps with carry over digits and letters after the set number
// of marks, and wraps from the upper to the lower bound. Every change of a
// part composes the text again and lays it out through the text object.
// The barcode object derives from it and shares its parts and keys.
#include <string>

#include "text/objects/CObjText.h"

class MrkLineWriter;
struct MrkValue;
struct CObjTypeOps;

struct SerialSettings {
  std::string prefix;
  std::string serial;  // the part that advances
  std::string suffix;
  // A random code appended when the tail switch is on; not saved. Drawn when
  // first needed with the switch on, and again when the number advances, so
  // the repeated marks of one number carry the same code.
  mutable std::string tail;
  std::string lower;   // bounds of the serial part: both set, or no wrapping
  std::string upper;
  int tailSwitch = 0;      // [155] Rand
  int tailLength = 4;      // [154] RandBits: characters of the tail, 1..8
  int dateMode = 0;        // [156] 0 none, 1 short date, 2 long date after the prefix
  int fixedLength = 0;     // [145] kept only
  int step = 1;            // [146] added per advance
  int marksPerNumber = 1;  // [147]
  int marksCounted = 0;    // [144]
};

class CObjTextAutoUpdate : public CObjText {
 public:
  // Loading and duplication.
  CObjTextAutoUpdate();
  // The layout view's serial-number tool.
  CObjTextAutoUpdate(const CDoublePoint& point, const std::string& prefix, const std::string& serial,
                     const std::string& suffix);

  // Parts, tail and counters; the bounds stay this object's own.
  void CopyFrom(const CObjTextAutoUpdate& other);

  const std::string& GetPrefix() const { return ser_.prefix; }
  const std::string& GetSerial() const { return ser_.serial; }
  const std::string& GetSuffix() const { return ser_.suffix; }
  // Store the part and lay the composed text out at the anchor.
  void SetPrefix(const CDoublePoint& anchor, const std::string& text);
  void SetSerial(const CDoublePoint& anchor, const std::string& text);
  void SetSuffix(const CDoublePoint& anchor, const std::string& text);

  // Prefix, " date " when a date mode is on, serial, suffix, tail when on
  // (a tail not yet drawn, or drawn for another length, is drawn first).
  std::string ComposeText() const;
  // Characters of the tail and what they are drawn from.
  static constexpr int kTailLengthMin = 1;
  static constexpr int kTailLengthMax = 8;
  static constexpr char kTailAlphabet[] = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ";
  std::string GetComposedText() const { return ComposeText(); }

  // After each marked object: 1 when the serial part changed (the text is
  // then laid out at the anchor), else 0.
  int AdvanceAfterMark(const CDoublePoint& anchor);
  // Steps the digits and letters of the buffer by step from the right, with
  // a carry of 1 (or -1) to the left; any other character stops the walk and
  // a carry out of the first character is dropped. Cases stay.
  static void IncrementAlnumString(std::string& buffer, int step);

  // Settings for the property pages; changing them counts as a change.
  SerialSettings& Serial() {
    Changed();
    return ser_;
  }
  const SerialSettings& Serial() const { return ser_; }
  // A new marks-per-number value starts counting again.
  void SetMarksPerNumber(int marks);

  // Project file.
  void Write(MrkLineWriter& out) const;
  void SetProperty(int key, const MrkValue& value);
  void SetStringProperty(int key, const std::string& value);

 protected:
  // The serial part stepped once, wrapped to the lower bound past the upper.
  std::string NextSerial(bool useBounds) const;
  // Counts a mark; true when the number is due to advance.
  bool CountMark();
  // The next composition draws a new tail.
  void RenewTail() { ser_.tail.clear(); }
  SerialSettings ser_;
};

// Dispatch table of the serial number (type 16); registered at start-up.
const CObjTypeOps& TextAutoUpdateTypeOps();
