#pragma once
// The settings files of the installation folder: the board type in
// "Zephyne.dat" and the 296-byte machine settings record in "MachineSet.DAT"
// (port boards) or "MachineSetUsb.DAT" (USB board). Files keep their exact
// bytes; writes replace the file atomically.
#include <array>
#include <cstdint>
#include <string>

#include "values/MachineSetRecord.h"

constexpr std::size_t kZephyneFileSize = 128;
constexpr std::size_t kSoftTypeWord = 16;  // the board type is the 17th 32-bit word

// Folder joined with the settings file of the board type.
std::string MachineSetFilePath(const std::string& folder, int softType);
std::string ZephyneFilePath(const std::string& folder);

// Defaults (with the standard work area) overlaid by as many bytes as the file
// holds, then the load clamps. Returns 1 when the file was read, 0 when it
// could not be opened (the record then holds the defaults).
int LoadMachineSetFile(const std::string& path, MachineSetRecord& record);
bool SaveMachineSetFile(const std::string& path, const MachineSetRecord& record);

// The board type stored in the file, or `current` when the file is missing or
// too short; a stored value outside 0..2 reads as 0.
int ReadSoftTypeFile(const std::string& path, int current);
// Stores the board type, keeping every other byte of an existing file.
bool WriteSoftTypeFile(const std::string& path, int softType);

// On the shell's values (InstallFolder, SoftType, MachineSettings). Without
// "Zephyne.dat" the board type is the big port board (0).
void ReadSoftType();
int LoadMachineSet();  // also reads CheckPCIBoard; new documents take the record over from now on
// What the operator is told when a settings file cannot be written.
inline constexpr char kSaveParameterError[] = "save parameter error!";
int SaveMachineSet();  // kSaveParameterError when the file cannot be written
