#pragma once
// The operator's message for fonts that were not found: their names and the
// fonts folder they were looked for in.
#include <string>
#include <vector>

// names: code page 936 bytes, as the texts or drawings name them; the result
// is UTF-8 for the prompt.
std::string MissingFontMessage(const std::vector<std::string>& names, const std::string& installFolder);
