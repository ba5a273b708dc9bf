#pragma once
// The line rules every text layout shares: the star decoration and the
// two-line split of vehicle identification numbers, cutting the text into
// lines, and where the next line starts.
#include <string>
#include <vector>

#include "document/geometry/CDoublePoint.h"
#include "text/layout/TextSettings.h"

// A line holds at most this many bytes; a longer run continues as the next line.
constexpr std::size_t kTextMaxLineBytes = 1024;

// The text with its star decoration and, with the two-line flag, the break
// after the first line.
std::string DecorateText(const TextSettings& s);

// Cuts at CR and LF (CR LF and LF CR count as one break) and at every
// kTextMaxLineBytes bytes. An empty text gives no line; a text ending in a
// break gives an empty last line.
std::vector<std::string> SplitTextLines(const std::string& text);

// Where the line after the one starting at `line` starts.
CDoublePoint NextLineStart(const TextSettings& s, const CDoublePoint& line);
