#pragma once
// Default object names: the type's prefix and the first number n from 1 such
// that no listed name begins with prefix + n (compared without case, as the
// list's prefix search does). "line-12" therefore blocks "line-1" too. Work is
// linear in the number of names.
#include <string>
#include <string_view>
#include <vector>

// The prefix of a type code, or null for types whose name is left alone.
// Type 0 gives its whole name ("Object[Barcode]"); IsWholeDefaultName says so.
const char* DefaultNamePrefix(int type);
bool IsWholeDefaultName(int type);

// Case-insensitive (ASCII letters) test of whether `name` begins with `prefix`.
bool BeginsWithNoCase(std::string_view name, std::string_view prefix);

// The first free default name for `prefix` among `names`.
std::string FirstFreeName(std::string_view prefix, const std::vector<std::string_view>& names);
