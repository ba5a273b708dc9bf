#pragma once
// Where the file dialogs open. Each kind of file, named by the dialog's
// default extension ("mrk" for Open and Save As alike, "pts" for the dot
// image import and export), opens in the folder of the file last chosen for
// it. The folders are kept in the settings store, so they hold from one run
// to the next. A kind not chosen yet, or whose folder is gone, opens in the
// data folder's "Projects" when there is one, else in the user's home.
#include <string>

namespace platform {

// The settings key of the folders, one string value per kind.
inline constexpr const char* kFileFoldersKey = "Software\\BrontavelV20\\Folders";

// The data folder the shell chose at start-up; DefaultDataFolder() until then.
void SetFileDialogDataFolder(const std::string& folder);
// The folder a dialog of this default extension opens in.
std::string FileDialogFolder(const std::string& defaultExt);
// The chosen file's folder becomes its kind's folder.
void RememberFileDialogFolder(const std::string& defaultExt, const std::string& chosenPath);

}  // namespace platform
