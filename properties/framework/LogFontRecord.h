#pragma once
// The 60-byte TrueType font description (the Windows LOGFONT layout: five
// little-endian int32, eight bytes, a 32-byte face name) that the font page
// hands over for "Fonts...". It travels as the bytes of a text value, so the
// change record copies it like any other value.
#include <string>

#include "text/layout/TextSettings.h"

inline constexpr std::size_t kLogFontRecordSize = 60;

std::string EncodeLogFont(const TextLogFont& font);
// False (font untouched) unless the bytes are one whole record.
bool DecodeLogFont(const std::string& bytes, TextLogFont& font);
