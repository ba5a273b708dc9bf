#pragma once
// The pictures the tracing benchmark times beside potrace, shared with the
// tests that hold the tracer's output on them: discs and bars over 2000 x
// 2000 pixels; 80 letter-like shapes (rings, bars, slanted strokes) 12
// pixels thick on a 2000 x 600 page; a one-pixel line 4000 pixels long,
// upright; a one-pixel diagonal 2000 pixels long; filled squares of 1000 and
// 2400 pixels.
#include "tests/libs/ravelpen/BmpWriter.h"

enum class TracePicture { kDiscsAndBars, kTextLike, kThinLine, kThinDiagonal, kFilledSquare, kLargeFilledSquare };

// A dark square `side` pixels wide with a light pixel all round.
inline Raster FilledSquare(int side) {
  Raster r(side + 2, side + 2);
  r.Fill(1, 1, side, side);
  return r;
}

inline Raster DrawTracePicture(TracePicture picture) {
  switch (picture) {
    case TracePicture::kDiscsAndBars: {
      Raster r(2000, 2000);
      for (int i = 0; i < 12; ++i) r.Disc(200 + 150 * i, 300 + 100 * (i % 5), 60 + 7 * i);
      r.Fill(100, 1200, 1800, 120);
      r.Disc(1000, 1600, 300);
      return r;
    }
    case TracePicture::kTextLike: {
      Raster r(2000, 600);
      for (int row = 0; row < 4; ++row)
        for (int col = 0; col < 20; ++col) {
          const int x = 30 + col * 97, y = 30 + row * 140;
          switch ((row * 20 + col) % 4) {
            case 0: r.Ring(x + 35, y + 50, 40, 28); break;
            case 1: r.Stroke(x + 35, y, x + 35, y + 100, 12); r.Stroke(x + 10, y + 100, x + 60, y + 100, 12); break;
            case 2:
              r.Stroke(x, y, x + 35, y + 100, 12);
              r.Stroke(x + 35, y + 100, x + 70, y, 12);
              r.Stroke(x + 18, y + 45, x + 52, y + 45, 12);
              break;
            default: r.Stroke(x + 5, y, x + 5, y + 100, 12); r.Stroke(x + 5, y, x + 65, y, 12); break;
          }
        }
      return r;
    }
    case TracePicture::kThinLine: {
      Raster r(3, 4002);
      r.Fill(1, 1, 1, 4000);
      return r;
    }
    case TracePicture::kThinDiagonal: {
      Raster r(2002, 2002);
      for (int i = 1; i <= 2000; ++i) r.Set(i, i);
      return r;
    }
    case TracePicture::kFilledSquare: return FilledSquare(1000);
    case TracePicture::kLargeFilledSquare: return FilledSquare(2400);
  }
  return Raster(1, 1);
}
