#include "document/objects/CPictureLoader.h"

#include <filesystem>
#include <fstream>

#include "platform/InstallDir.h"

bool CPictureLoader::LoadFile(const std::string& path) {
  Free();
  std::error_code ec;
  if (std::filesystem::is_directory(path, ec)) return false;
  std::ifstream file(path, std::ios::binary | std::ios::ate);
  if (!file) return false;
  const std::streamoff size = file.tellg();
  if (size <= 0) return false;
  std::string bytes(static_cast<std::size_t>(size), '\0');
  file.seekg(0);
  if (!file.read(bytes.data(), size)) return false;
  return LoadFromBytes(bytes);
}

bool CPictureLoader::LoadFromBytes(std::string_view bytes, bool decode) {
  Free();
  bytes_.assign(bytes.data(), bytes.size());
  decoded_ = decode && platform::DecodePicture(bytes_, bitmap_);
  return decoded_;
}

void CPictureLoader::ForgetDecoded() {
  bitmap_ = platform::PictureBitmap();
  decoded_ = false;
}

bool CPictureLoader::Render(platform::DeviceContext& dc, int x, int y, int width, int height) const {
  if (!decoded_) return false;
  if (width == -1) width = bitmap_.width;
  if (height == -1) height = bitmap_.height;
  return dc.DrawBitmap(x, y, width, height, bitmap_);
}

void CPictureLoader::Free() {
  bytes_.clear();
  bytes_.shrink_to_fit();
  bitmap_ = platform::PictureBitmap();
  decoded_ = false;
}

bool CPictureLoader::SaveToFile(const std::string& path) const {
  if (bytes_.empty()) return false;
  return platform::WriteFileAtomic(path, bytes_.data(), bytes_.size());
}
