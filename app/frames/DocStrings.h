#pragma once
// Resource strings of the document templates and the main window.
#include <string>

// The templates' document string: "\nVendrik\n\n\n\nVendrik.mrk\nVendrik documet".
inline constexpr const char* kDocString129 = "\nVendrik\n\n\n\nVendrik.mrk\nVendrik documet";
inline constexpr const char* kMainTitle130 = "Vendrik Control SystemV2011";

// Line `index` of a "\n"-separated resource string (empty past the end).
std::string DocStringLine(const std::string& text, int index);
