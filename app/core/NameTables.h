#pragma once
// The two program-wide name tables of the combo boxes: the 13 date formats
// (index = a date object's format number) and the 10 anchor names. The main
// frame overwrites the date formats with samples of today's date.
#include <array>
#include <ctime>
#include <string>

#include "values/DateFormatNames.h"

const std::array<std::string, 10>& AnchorNames();

// The 13 samples of the given local time.
std::array<std::string, 13> FormatDateSamples(const std::tm& local);
