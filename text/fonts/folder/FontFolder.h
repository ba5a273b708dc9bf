#pragma once
// Where the program's font files live: "Fonts" under the installation folder.
// Names from project files were written on a system that ignored case, so a
// name that is not found as it stands is matched without regard to case.
#include <string>

// The "Fonts" folder of the installation folder.
std::string FontFolderOf(const std::string& installFolder);

// The path of a font file in the fonts folder: the name as it stands when such
// a file exists, else the first file whose name matches ignoring ASCII case,
// else the name as it stands (which then fails to open).
std::string FontFilePath(const std::string& installFolder, const std::string& fileName);
