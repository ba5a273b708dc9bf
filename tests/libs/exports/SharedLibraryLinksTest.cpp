// The delivered bridge libraries: each links the bridge library under its own
// file name, and fails cleanly with no board. (Their export lists are checked
// by the export tests of this folder.)
#include <dlfcn.h>
#include <gtest/gtest.h>

#include <cstdint>

namespace {

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
