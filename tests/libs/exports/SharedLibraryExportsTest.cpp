// The delivered shared libraries: each exports its own names and nothing
// else (the bus layer and the platform copies inside stay hidden), links the
// bridge library under its own file name, and fails cleanly with no board.
#include <dlfcn.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <regex>
#include <set>
#include <string>
#include <vector>

namespace {

std::set<std::string> DefinedDynamicSymbols(const std::string& path) {
  std::set<std::string> names;
  FILE* pipe = ::popen(("nm -D --defined-only --format=just-symbols '" + path + "'").c_str(), "r");
  if (pipe == nullptr) return names;
  char line[512];
  while (std::fgets(line, sizeof line, pipe) != nullptr) {
    std::string name(line);
    while (!name.empty() && (name.back() == '\n' || name.back() == '\r')) name.pop_back();
    if (!name.empty()) names.insert(name);
  }
  ::pclose(pipe);
  return names;
}

struct LibraryCase {
  const char* path;
  const char* exportPattern;  // every defined dynamic symbol matches it
  std::vector<std::string> required;
};

class SharedLibraryExports : public ::testing::TestWithParam<LibraryCase> {};

TEST_P(SharedLibraryExports, ExportsExactlyItsOwnNames) {
  const auto symbols = DefinedDynamicSymbols(GetParam().path);
  ASSERT_FALSE(symbols.empty()) << GetParam().path;
  const std::regex pattern(GetParam().exportPattern);
  for (const std::string& name : symbols) {
    EXPECT_TRUE(std::regex_match(name, pattern)) << name << " leaks from " << GetParam().path;
  }
  for (const std::string& name : GetParam().required) EXPECT_TRUE(symbols.count(name)) << name;
}

const std::vector<std::string> kDrunvelNames = {
    "CH365mOpenDevice", "CH365mCloseDevice", "CH365mDriverCommand", "CH365mGetIoBaseAddr", "CH365mSetIoBaseAddr",
    "CH365mGetMemBaseAddr", "CH365mSetMemBaseAddr", "CH365mGetIntLine", "CH365mSetIntLine", "CH365mWaitInterrupt",
    "CH365mAbortWaitInt", "CH365mSetIntRoutine", "CH365mReadIntCommand", "CH365mWriteIntCommand",
    "CH365mReadIoByte", "CH365mReadIoWord", "CH365mReadIoDword", "CH365mWriteIoByte", "CH365mWriteIoWord",
    "CH365mWriteIoDword", "CH365mReadMemByte", "CH365mReadMemDword", "CH365mWriteMemByte", "CH365mWriteMemDword",
    "CH365mReadConfig", "CH365mWriteConfig", "CH365mSetA15_A8", "CH365mReadI2C", "CH365mWriteI2C",
    "CH365mAccessBlock", "CH365mSetExclusive", "CH365OpenDevice", "CH365CloseDevice", "CH365GetVersion",
    "CH365GetDrvVersion", "CH365DriverCommand", "CH365GetIoBaseAddr", "CH365SetIoBaseAddr", "CH365GetMemBaseAddr",
    "CH365SetMemBaseAddr", "CH365GetIntLine", "CH365SetIntLine", "CH365WaitInterrupt", "CH365AbortWaitInt",
    "CH365SetIntRoutine", "CH365ReadIntCommand", "CH365WriteIntCommand", "CH365ReadIoByte", "CH365ReadIoWord",
    "CH365ReadIoDword", "CH365WriteIoByte", "CH365WriteIoWord", "CH365WriteIoDword", "CH365ReadMemByte",
    "CH365ReadMemDword", "CH365WriteMemByte", "CH365WriteMemDword", "CH365ReadConfig", "CH365WriteConfig",
    "CH365SetA15_A8", "CH365ReadI2C", "CH365WriteI2C", "CH365DelayUS"};

const std::vector<std::string> kOrvalioNames = {
    "Get_Cpu_Speed", "OrvalioAddrRefresh", "OrvalioGetDllVersion", "OrvalioSetA15_A8", "SetBaseAddr",
    "OrvalioOpenDevice", "OrvalioCloseDevice", "OrvalioGetDrvVersion", "Orvalio_InitDevice", "Orvalio_SetSpeed",
    "Delay_HardWareUS", "Delay_US", "Delay_10NS", "Set_Do_Bit", "Set_Do_Byte", "Set_Do_Word", "Set_Do_Dword",
    "Get_Di_Bit", "Get_Di_Byte", "Get_Di_Word", "Get_Di_Dword", "Set_Da_Value", "Set_Da_3d", "Set_Pwm_Out",
    "WriteI2C_Rom", "ReadI2C_Rom"};

INSTANTIATE_TEST_SUITE_P(
    Libraries, SharedLibraryExports,
    ::testing::Values(LibraryCase{DRUNVEL_SO, "CH365m?[A-Za-z0-9_]+", kDrunvelNames},
                      LibraryCase{LUMBREL_SO, "CH365m?[A-Za-z0-9_]+", kDrunvelNames},
                      LibraryCase{ORVALIO_SO, "(Get_|Set_|Orvalio|Delay_|SetBaseAddr|WriteI2C_Rom|ReadI2C_Rom)[A-Za-z0-9_]*",
                                  kOrvalioNames},
                      LibraryCase{VENDRIKDLL_SO, "_ZN11CVendrikDll[A-Za-z0-9_]+|fnVendrikDll|nVendrikDll",
                                  {"_ZN11CVendrikDllC1Ev", "_ZN11CVendrikDllD1Ev", "_ZN11CVendrikDll12InitialBoardEv",
                                   "_ZN11CVendrikDll10CloseBoardEv", "_ZN11CVendrikDll15OutPortValue_PAEh",
                                   "_ZN11CVendrikDll15OutPortValue_PCEh", "_ZN11CVendrikDll11ReadPort_PBEv",
                                   "_ZN11CVendrikDll9WriteByteEih", "_ZN11CVendrikDllaSERKS_", "fnVendrikDll",
                                   "nVendrikDll"}}));

// Each dependent library brings in the bridge library under its own name.
TEST(SharedLibraryLinks, PortBoardUsesLumbrelAndIoCardUsesDrunvel) {
  void* board = ::dlopen(VENDRIKDLL_SO, RTLD_NOW | RTLD_LOCAL);
  ASSERT_NE(board, nullptr) << ::dlerror();
  EXPECT_NE(::dlopen(LUMBREL_SO, RTLD_NOW | RTLD_NOLOAD), nullptr);
  void* card = ::dlopen(ORVALIO_SO, RTLD_NOW | RTLD_LOCAL);
  ASSERT_NE(card, nullptr) << ::dlerror();
  EXPECT_NE(::dlopen(DRUNVEL_SO, RTLD_NOW | RTLD_NOLOAD), nullptr);
}

TEST(SharedLibraryLinks, BridgeLibraryFailsCleanlyWithoutBoards) {
  void* lib = ::dlopen(DRUNVEL_SO, RTLD_NOW | RTLD_LOCAL);
  ASSERT_NE(lib, nullptr) << ::dlerror();
  using Open = std::intptr_t (*)(std::uint32_t, int, int);
  using Delay = int (*)(std::uint32_t);
  using Read = int (*)(std::uint32_t, std::uint32_t, std::uint8_t*);
  auto open = reinterpret_cast<Open>(::dlsym(lib, "CH365mOpenDevice"));
  auto delay = reinterpret_cast<Delay>(::dlsym(lib, "CH365DelayUS"));
  auto read = reinterpret_cast<Read>(::dlsym(lib, "CH365mReadIoByte"));
  ASSERT_TRUE(open && delay && read);
  EXPECT_EQ(open(16, 1, 1), -1);
  EXPECT_EQ(open(15, 1, 1), -1);  // no machine holds sixteen bridges
  std::uint8_t value = 0;
  EXPECT_EQ(read(15, 0x10, &value), 0);
}

}  // namespace
