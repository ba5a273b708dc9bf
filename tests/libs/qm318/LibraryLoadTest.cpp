// The built libraries as a host loads them: both in one process, each with
// its own state, on a machine without the card.
#include <dlfcn.h>
#include <gtest/gtest.h>

#include <cstdint>

namespace {

class Loaded : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    qm318 = dlopen(QM318_LIBRARY, RTLD_NOW | RTLD_LOCAL);
    qm318m = dlopen(QM318M_LIBRARY, RTLD_NOW | RTLD_LOCAL);
  }
  template <class F>
  static F Get(void* lib, const char* name) {
    return reinterpret_cast<F>(dlsym(lib, name));
  }
  static inline void* qm318 = nullptr;
  static inline void* qm318m = nullptr;
};

TEST_F(Loaded, BothLibrariesLoad) {
  ASSERT_NE(qm318, nullptr) << dlerror();
  ASSERT_NE(qm318m, nullptr) << dlerror();
  // Each keeps its own routines under the shared names.
  EXPECT_NE(dlsym(qm318, "qm318_initial"), dlsym(qm318m, "qm318_initial"));
  EXPECT_EQ(dlsym(qm318m, "set_range"), nullptr);
  EXPECT_EQ(dlsym(qm318m, "work_move1"), nullptr);
  EXPECT_EQ(dlsym(qm318, "qm318_set_range"), nullptr);
}

TEST_F(Loaded, WithoutACardEveryRoutineRefuses) {
  ASSERT_NE(qm318, nullptr);
  ASSERT_NE(qm318m, nullptr);
  EXPECT_EQ(Get<int (*)()>(qm318m, "qm318_initial")(), 0);
  EXPECT_EQ(Get<int (*)(int, int, int)>(qm318m, "qm318_set_range")(0, 1, 20000), 1);
  EXPECT_EQ(Get<int (*)(int, int)>(qm318m, "qm318_read_bit")(0, 1), -1);
  EXPECT_EQ(Get<int (*)()>(qm318, "qm318_init_board")(), 0);
  EXPECT_EQ(Get<int (*)(int, int, int)>(qm318, "pmove")(0, 1, 100), 1);
  EXPECT_EQ(Get<int (*)(int, float, int, int, void (*)())>(qm318, "work_move1")(1, 5.0f, 0, 0, nullptr), -1);
  EXPECT_EQ(Get<int (*)(int, void (*)())>(qm318, "home1")(1, nullptr), -1);
  float points[6] = {1, 0, 0, 1, -1, 0};
  EXPECT_EQ(Get<int (*)(int, int, float*, int, void (*)())>(qm318, "work_arc")(1, 2, points, 0, nullptr), -1);
  EXPECT_EQ(Get<double (*)(int, int)>(qm318, "get_logical_pos")(1, 0), 0.0);
  EXPECT_EQ(Get<int (*)(int)>(qm318, "get_input")(0), -1);
  EXPECT_EQ(Get<int (*)()>(qm318, "qm318_end")(), 0);
}

TEST_F(Loaded, PortPrimitivesCarryTheDecoratedNames) {
  ASSERT_NE(qm318, nullptr);
  for (void* lib : {qm318, qm318m}) {
    auto get = Get<bool (*)(std::uint16_t, std::uint32_t*, std::uint8_t)>(lib, "_GetPortVal");
    auto set = Get<bool (*)(std::uint16_t, std::uint32_t, std::uint8_t)>(lib, "_SetPortVal");
    ASSERT_NE(get, nullptr);
    ASSERT_NE(set, nullptr);
    EXPECT_EQ(dlsym(lib, "GetPortVal"), nullptr);
    // The default backend is the simulated port space: idle ports read 0xFF.
    std::uint32_t value = 0;
    EXPECT_TRUE(get(0x378, &value, 1));
    EXPECT_EQ(value, 0xFFu);
    EXPECT_TRUE(set(0x378, 0x12, 1));
  }
}

}  // namespace
