#pragma once
#include <string>
#include <vector>

#include "marking/records/CMarkDatabase.h"

namespace records_test {

// A fresh folder under the test's data folder, named after the running test.
std::string FreshFolder();
// The named entry of a zip file (an .xlsx), inflated; empty when missing.
std::string ReadZipEntry(const std::string& zipPath, const std::string& entry);
marking::MarkRecord Record(std::string main, std::string second, std::string serial, std::string code,
                           std::string date = "20261208");

}  // namespace records_test
