#pragma once
// Runs an outside program (argv[0] looked up on PATH) and waits for it.
#include <functional>
#include <string>
#include <vector>

// Returns the exit status, or -1 when the program could not be started.
using CommandRunner = std::function<int(const std::vector<std::string>& argv)>;

int RunCommand(const std::vector<std::string>& argv);
