#pragma once
// The names of a text's nine fixed positions, index = the fixed-position
// setting; the combo boxes of the text pages and the program's name table
// list them in this order.
#include <array>

inline constexpr std::array<const char*, 9> kAnchorNames{"Left top-0",     "Top middle-1",    "Rigth top-2",
                                                         "Right middle-3", "Right bottom-4",  "Bottom middle-5",
                                                         "Left bottom-6",  "Left middle-7",   "Center-8"};
