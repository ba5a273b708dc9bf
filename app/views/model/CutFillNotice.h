#pragma once
// The operator's notices for work left out because it would need more
// strokes or dots than can be marked (the builders refuse it rather than
// stall the program): each names the objects concerned, the first 20 of
// them, and counts the rest.
#include <string>
#include <vector>

class CObjElement;
class CObjPtrArray;

// Names every object with a fill refused since the operator was last told
// of it, and counts those fills as told; empty when there is none. The texts
// here are UTF-8.
std::string TakeCutFillNotice(CObjPtrArray& objects);
// A picture whose "Translate points..." would make too many dots.
std::string TooManyDotsNotice(const CObjElement& picture);
// Objects of a project left empty while it was read, by name (code page 936).
std::string LeftEmptyNotice(const std::vector<std::string>& names);
