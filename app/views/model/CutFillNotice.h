#pragma once
// The operator's notice for fills left out because they would need more
// strokes or scan lines than one fill may have (the hatch fill refuses them
// rather than stall the program): one message naming every such object.
#include <string>

class CObjElement;
class CObjPtrArray;

// Empty when no fill of the objects was cut; the text is UTF-8.
std::string CutFillNotice(const CObjPtrArray& objects);
std::string CutFillNotice(const CObjElement& element);
