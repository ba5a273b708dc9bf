#pragma once
// The program-wide table of the 13 date-format names (index = a date
// object's format number). The main frame overwrites it with samples of
// today's date at start-up; the date pages list it.
#include <array>
#include <string>

std::array<std::string, 13>& DateFormatNames();
