#pragma once
// Default object names: the type's prefix and the first number n from 1 such
// that no listed name begins with prefix + n (compared without case, as the
// list's prefix search does), so "line-12" blocks "line-1" too. The index
// keeps, per prefix, how many names block each number, so naming an object
// costs no walk over the list and naming thousands of objects stays linear.
#include <cstddef>
#include <map>
#include <string>
#include <string_view>
#include <unordered_map>

// The prefix of a type code, or null for types whose name is left alone.
// Type 0 gives its whole name ("Object[Barcode]"); IsWholeDefaultName says so.
const char* DefaultNamePrefix(int type);
bool IsWholeDefaultName(int type);

// Case-insensitive (ASCII letters) test of whether `name` begins with `prefix`.
bool BeginsWithNoCase(std::string_view name, std::string_view prefix);

class DefaultNameIndex {
 public:
  DefaultNameIndex();
  void Add(std::string_view name);
  void Remove(std::string_view name);
  void Clear();
  // prefix + the first number no listed name blocks.
  std::string NextName(std::string_view prefix);

 private:
  struct Numbers {
    std::unordered_map<std::size_t, int> blockedBy;  // number -> names blocking it
    std::size_t firstCandidate = 1;                  // every number below is blocked
  };
  void Count(std::string_view name, int delta);
  // Lower-case prefix -> its numbers. Only the default prefixes are indexed.
  std::map<std::string, Numbers, std::less<>> prefixes_;
};
