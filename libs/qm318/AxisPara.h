#pragma once
// The axis parameter record of the motion layer: 416 bytes, the exact image
// of the parameter file "hx417.dat" (26 blocks of 16 bytes, one 32-bit value
// per axis in each block but the reserved one; little-endian ints and IEEE
// single floats).
#include <cstddef>
#include <cstdint>
#include <string>

#pragma pack(push, 1)
struct _AXIS_PARA {
  std::int32_t enabled[4];
  std::int32_t multiplier[4];
  float units_per_rev[4];
  std::int32_t pulses_per_rev[4];
  std::int32_t home_dir[4];
  std::int32_t pulse_mode[4];
  float home_start_speed[4];
  float start_speed0[4];
  float jog_start_speed[4];
  float start_speed1[4];
  float home_drive_speed[4];
  float drive_speed0[4];
  float jog_drive_speed[4];
  float drive_speed1[4];
  float home_acc_time[4];
  float acc_time0[4];
  float jog_acc_time[4];
  float acc_time1[4];
  std::int32_t linear[4];
  std::int32_t use_home_sensor[4];
  std::int32_t use_index[4];
  std::int32_t soft_limits[4];
  float soft_max[4];
  float soft_min[4];
  float reserved_f[3];
  std::int32_t reserved_i;
  float jog_step[4];
};
#pragma pack(pop)
static_assert(sizeof(_AXIS_PARA) == 416);
static_assert(offsetof(_AXIS_PARA, home_start_speed) == 0x60);
static_assert(offsetof(_AXIS_PARA, linear) == 0x120);
static_assert(offsetof(_AXIS_PARA, reserved_f) == 0x180);
static_assert(offsetof(_AXIS_PARA, jog_step) == 0x190);

namespace qm318 {

// The record as the library holds it from load until a file replaces it.
_AXIS_PARA DefaultAxisPara();

// Reads up to 416 bytes of the file over the record (a shorter file replaces
// only the bytes it holds); false when the file cannot be opened.
bool LoadAxisPara(const std::string& path, _AXIS_PARA& para);

// Folder of "hx417.dat": $VENDRIK_QM318_DIR, else the configuration folder.
std::string ParameterFolder();
std::string ParameterFilePath();

}  // namespace qm318
