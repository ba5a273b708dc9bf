#pragma once
// An undo snapshot: the layout in the project file format, followed by what
// the project file has no key for (each ruler's start-end marks and one-way
// switch). The project reader stops at the file's end marker, so a snapshot
// still reads as a project; the part after the marker is read here.
#include <string>
#include <string_view>

class CObjPtrArray;

// The bytes of a snapshot of the layout; path as for the project writer.
std::string FormatHistorySnapshot(const CObjPtrArray& objects, const std::string& path);

// Gives the objects read from a snapshot back what only the snapshot kept.
void RestoreUnsavedSettings(std::string_view snapshot, CObjPtrArray& objects);
