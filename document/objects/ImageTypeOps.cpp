// Dispatch table of the picture (type 21).
#include <memory>
#include <string>

#include "values/ShellValues.h"
#include "document/objects/CObjElement.h"
#include "document/objects/CObjImage.h"
#include "document/objects/ObjTypeOps.h"
#include "platform/InstallDir.h"

namespace {

// A copy goes through the picture file "IPicture.bmp" in the program folder,
// as it always has; when that file cannot be written or read back, the bytes
// are copied directly, so the copy never comes out empty.
void CopyImage(CObjImage& dst, const CObjImage& src) {
  const std::string temp = platform::JoinInstallPath(InstallFolder, "IPicture.bmp");
  const bool viaFile = src.SavePictureToFile(temp) && dst.LoadFromPath(temp);
  if (!viaFile && src.GetLoader()) dst.LoadFromBytes(src.GetLoader()->GetBytes());
  dst.CopyPlacement(src);
}

}  // namespace

const CObjTypeOps& ImageTypeOps() {
  static const CObjTypeOps ops = [] {
    CObjTypeOps t;
    t.className = "CObjImage";
    t.objectSize = static_cast<int>(sizeof(CObjImage));
    t.isInstance = &IsExactly<CObjImage>;
    t.create = []() -> std::unique_ptr<CObjBase> { return std::make_unique<CObjImage>(); };
    t.copy = [](CObjElement&, CObjBase& dst, const CObjElement&, const CObjBase& src) {
      CopyImage(static_cast<CObjImage&>(dst), static_cast<const CObjImage&>(src));
    };
    t.resize = [](CObjBase& o, CDoubleRect& oldRect, CDoubleRect& newRect, int handle) {
      static_cast<CObjImage&>(o).Resize(oldRect, newRect, handle);
    };
    t.offset = [](CObjBase& o, double dx, double dy) { static_cast<CObjImage&>(o).OffsetBy(dx, dy); };
    t.ownBounds = [](const CObjBase& o) { return static_cast<const CObjImage&>(o).GetBoundRect(); };
    t.draw = [](CObjElement&, CObjBase& o, const ElementDrawArgs& args) {
      static_cast<CObjImage&>(o).Draw(*args.dc, args.originX, args.originY, args.zoom);
    };
    t.write = [](const CObjElement&, const CObjBase& o, MrkLineWriter& out, const std::string& projectPath) {
      static_cast<const CObjImage&>(o).Write(out, projectPath);
    };
    t.setField = [](CObjBase& o, int key, const MrkValue& v) { static_cast<CObjImage&>(o).SetField(key, v); };
    t.readEmbedded = [](CObjBase& o, int, std::string_view content, std::size_t pos) -> std::size_t {
      if (pos > content.size()) return 0;
      return static_cast<CObjImage&>(o).LoadEmbedded(content.substr(pos));
    };
    t.finishRead = [](CObjElement& element, std::unique_ptr<CObjBase> o, int) {
      auto* image = static_cast<CObjImage*>(o.release());
      const CDoubleRect bounds = image->GetBoundRect();
      element.AttachObject(image, static_cast<int>(sizeof(CObjImage)), bounds);
    };
    return t;
  }();
  return ops;
}
