#pragma once
// A picture file held whole in memory together with its decoded pixels. The
// bytes are kept even when they do not decode, so a project that carries a
// picture this build cannot read still saves it unchanged.
#include <string>
#include <string_view>

#include "platform/DeviceContext.h"
#include "platform/PictureLoader.h"

class CPictureLoader {
 public:
  CPictureLoader() = default;
  CPictureLoader(const CPictureLoader&) = delete;
  CPictureLoader& operator=(const CPictureLoader&) = delete;

  // Reads the file whole and decodes it; true when it decoded.
  bool LoadFile(const std::string& path);
  bool LoadFromPath(const std::string& path) { return LoadFile(path); }
  // The bytes of a picture file from memory (a project's embedded picture);
  // without decode they are only kept, as those of a picture that does not
  // decode are.
  bool LoadFromBytes(std::string_view bytes, bool decode = true);

  // Size in pixels; 0 without a picture.
  int GetWidthPx() const { return decoded_ ? bitmap_.width : 0; }
  int GetHeightPx() const { return decoded_ ? bitmap_.height : 0; }
  // The decoded picture, or null.
  const platform::PictureBitmap* GetBitmap() const { return decoded_ ? &bitmap_ : nullptr; }
  // Draws the whole picture into the box; -1 for width or height takes the
  // pixel size. True when drawn.
  bool Render(platform::DeviceContext& dc, int x, int y, int width, int height) const;
  void Free();
  // Writes the picture's file bytes (its own saved form); they decode to the
  // same picture. False when there is nothing to write or the file cannot be
  // written.
  bool SaveToFile(const std::string& path) const;

  const std::string& GetBytes() const { return bytes_; }
  bool IsDecoded() const { return decoded_; }
  // Bytes the decoded pixels take; 0 when not decoded.
  std::size_t DecodedBytes() const { return decoded_ ? bitmap_.bits.size() : 0; }
  // Lets the decoded pixels go; the file bytes stay.
  void ForgetDecoded();

 private:
  std::string bytes_;
  platform::PictureBitmap bitmap_;
  bool decoded_ = false;
};
