#include "values/DateFormatNames.h"

std::array<std::string, 13>& DateFormatNames() {
  static std::array<std::string, 13> names{"xxYxxM",   "xx.xx",   "xxxxYxxMxxD", "xxxx.xx.xx", "xxxxYxxMxxDxxH",
                                           "xxxxxxxx", "xx xx",   "xxxx xx",     "xxxx xx xx", "xxxx",
                                           "xxxxxxxx", "xxxxxx",  "xxxxxx"};
  return names;
}
