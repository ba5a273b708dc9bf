#pragma once
// The marking controller's record keeper as the program makes it: the
// marking records of the settings' database (by default the file in the
// installation folder, where "Look database information" and "Clear database
// data" find them), the texts each element marked, and for the look-up of
// items already marked the texts about to be marked.
#include <memory>
#include <string>

class IMarkRecorder;

std::shared_ptr<IMarkRecorder> MakeMarkRecordKeeper(const std::string& installFolder);
