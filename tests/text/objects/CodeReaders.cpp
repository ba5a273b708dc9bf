#include "tests/text/objects/CodeReaders.h"

#include <dmtx.h>
#include <zbar.h>

#include <cmath>
#include <vector>

#include "document/path/PathListHelpers.h"



namespace {

constexpr int kPixels = 4;
constexpr int kQuiet = 4;

struct GreyImage {
  int width = 0;
  int height = 0;
  std::vector<unsigned char> grey;
};

GreyImage Paint(const CPointList& dots, double module) {
  GreyImage img;
  const CDoubleRect b = GetPointArrayBoundRect(dots);
  const int columns = DotColumns(dots, module);
  const int rows = DotRows(dots, module);
  img.width = (columns + 2 * kQuiet) * kPixels;
  img.height = (rows + 2 * kQuiet) * kPixels;
  img.grey.assign(static_cast<std::size_t>(img.width * img.height), 255);
  for (int k = 0; k < dots.GetSize(); ++k) {
    const int c = static_cast<int>(std::lround((dots[k].x - b.left) / module)) + kQuiet;
    const int r = static_cast<int>(std::lround((b.top - dots[k].y) / module)) + kQuiet;
    for (int a = 0; a < kPixels; ++a)
      for (int e = 0; e < kPixels; ++e)
        img.grey[static_cast<std::size_t>((r * kPixels + a) * img.width + c * kPixels + e)] = 0;
  }
  return img;
}

}  // namespace

int DotColumns(const CPointList& dots, double module) {
  if (dots.GetSize() == 0) return 0;
  const CDoubleRect b = GetPointArrayBoundRect(dots);
  return static_cast<int>(std::lround((b.right - b.left) / module)) + 1;
}

int DotRows(const CPointList& dots, double module) {
  if (dots.GetSize() == 0) return 0;
  const CDoubleRect b = GetPointArrayBoundRect(dots);
  return static_cast<int>(std::lround((b.top - b.bottom) / module)) + 1;
}

std::string ReadQrDots(const CPointList& dots, double module) {
  if (dots.GetSize() == 0) return "<not found>";
  GreyImage img = Paint(dots, module);
  zbar::zbar_image_scanner_t* scanner = zbar::zbar_image_scanner_create();
  zbar::zbar_image_scanner_set_config(scanner, zbar::ZBAR_NONE, zbar::ZBAR_CFG_ENABLE, 0);
  zbar::zbar_image_scanner_set_config(scanner, zbar::ZBAR_QRCODE, zbar::ZBAR_CFG_ENABLE, 1);
  zbar::zbar_image_t* image = zbar::zbar_image_create();
  zbar::zbar_image_set_format(image, zbar_fourcc('Y', '8', '0', '0'));
  zbar::zbar_image_set_size(image, static_cast<unsigned>(img.width), static_cast<unsigned>(img.height));
  zbar::zbar_image_set_data(image, img.grey.data(), img.grey.size(), nullptr);
  std::string text = "<not found>";
  if (zbar::zbar_scan_image(scanner, image) > 0) {
    const zbar::zbar_symbol_t* symbol = zbar::zbar_image_first_symbol(image);
    if (symbol) text.assign(zbar::zbar_symbol_get_data(symbol), zbar::zbar_symbol_get_data_length(symbol));
  }
  zbar::zbar_image_destroy(image);
  zbar::zbar_image_scanner_destroy(scanner);
  return text;
}

std::string ReadDataMatrixDots(const CPointList& dots, double module) {
  if (dots.GetSize() == 0) return "<not found>";
  GreyImage img = Paint(dots, module);
  DmtxImage* image = dmtxImageCreate(img.grey.data(), img.width, img.height, DmtxPack8bppK);
  dmtxImageSetProp(image, DmtxPropImageFlip, DmtxFlipNone);
  DmtxDecode* dec = dmtxDecodeCreate(image, 1);
  std::string text = "<not found>";
  DmtxTime timeout = dmtxTimeAdd(dmtxTimeNow(), 10000);
  if (DmtxRegion* region = dmtxRegionFindNext(dec, &timeout)) {
    if (DmtxMessage* message = dmtxDecodeMatrixRegion(dec, region, DmtxUndefined)) {
      text.assign(reinterpret_cast<const char*>(message->output), static_cast<std::size_t>(message->outputIdx));
      dmtxMessageDestroy(&message);
    }
    dmtxRegionDestroy(&region);
  }
  dmtxDecodeDestroy(&dec);
  dmtxImageDestroy(&image);
  return text;
}
