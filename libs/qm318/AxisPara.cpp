#include "libs/qm318/AxisPara.h"

#include <bit>
#include <cstdlib>
#include <cstring>
#include <fstream>

#include "platform/InstallDir.h"

namespace qm318 {
namespace {

static_assert(std::endian::native == std::endian::little, "the record is the file's little-endian image");

template <class T>
void Fill(T (&values)[4], T v) {
  for (T& x : values) x = v;
}

}  // namespace

_AXIS_PARA DefaultAxisPara() {
  _AXIS_PARA p{};
  Fill(p.enabled, 1);
  Fill(p.multiplier, 1);
  Fill(p.units_per_rev, 10.0f);
  Fill(p.pulses_per_rev, 1600);
  Fill(p.home_dir, 1);
  Fill(p.pulse_mode, 0);
  for (float* speeds : {p.home_start_speed, p.start_speed0, p.jog_start_speed, p.start_speed1, p.home_drive_speed,
                        p.drive_speed0, p.jog_drive_speed, p.drive_speed1})
    for (int i = 0; i < 4; ++i) speeds[i] = 5.0f;
  Fill(p.linear, 1);
  Fill(p.use_home_sensor, 1);
  Fill(p.use_index, 0);
  Fill(p.soft_limits, 0);
  Fill(p.soft_max, 1000.0f);
  Fill(p.soft_min, 0.0f);
  p.reserved_f[0] = 40.0f;
  p.reserved_f[1] = 40.0f;
  p.reserved_f[2] = 1.0f;
  p.reserved_i = 0;
  Fill(p.jog_step, 0.5f);
  return p;
}

bool LoadAxisPara(const std::string& path, _AXIS_PARA& para) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  char bytes[sizeof(_AXIS_PARA)];
  in.read(bytes, sizeof bytes);
  std::memcpy(&para, bytes, static_cast<std::size_t>(in.gcount()));
  return true;
}

std::string ParameterFolder() {
  if (const char* dir = std::getenv("VENDRIK_QM318_DIR"); dir && *dir) return dir;
  return platform::DefaultConfigFolder();
}

std::string ParameterFilePath() { return platform::JoinInstallPath(ParameterFolder(), "hx417.dat"); }

}  // namespace qm318
