#include <gtest/gtest.h>

#include <vector>

#include "document/geometry/CArchive.h"
#include "document/geometry/CLine2D.h"
#include "document/geometry/CPointList.h"

namespace {

std::vector<int> CapacitiesWhileAdding(CPointList& list, int n) {
  std::vector<int> caps;
  for (int i = 0; i < n; ++i) {
    list.Add(CDoublePoint(i, -i, static_cast<std::uint8_t>(i & 1)));
    if (caps.empty() || caps.back() != list.GetCapacity()) caps.push_back(list.GetCapacity());
  }
  return caps;
}

}  // namespace

TEST(PointListGrowth, SmallListsFollowTheArrayRule) {
  CPointList list;
  std::vector<int> caps = CapacitiesWhileAdding(list, 60);
  // Steps of 4 until the count reaches 40, then count / 8.
  std::vector<int> expected = {1, 5, 9, 13, 17, 21, 25, 29, 33, 37, 41, 46, 51, 57, 64};
  EXPECT_EQ(caps, expected);
  for (int i = 0; i < 60; ++i) {
    ASSERT_EQ(list[i].x, i);
    ASSERT_EQ(list[i].flag, i & 1);
  }
}

TEST(PointListGrowth, SetSizeRemoveAllAndGrowBy) {
  CPointList list;
  list.Add(CDoublePoint(1, 2, 1));
  list.RemoveAll();
  EXPECT_EQ(list.GetSize(), 0);
  EXPECT_EQ(list.GetCapacity(), 0);
  EXPECT_EQ(list.GetData(), nullptr);
  list.Add(CDoublePoint(3, 4));
  EXPECT_EQ(list.GetCapacity(), 1);

  list.SetSize(1, 100);  // a grow-by sticks to the list
  list.Add(CDoublePoint());
  EXPECT_EQ(list.GetCapacity(), 101);

  // Shrinking keeps the buffer; growing again within it gives default points.
  list[1] = CDoublePoint(7, 7, 1);
  list.SetSize(1);
  list.SetSize(3);
  EXPECT_EQ(list.GetCapacity(), 101);
  EXPECT_EQ(list[1].x, 0);
  EXPECT_EQ(list[1].flag, 0);

  CPointList gaps;
  gaps.SetAtGrow(3, CDoublePoint(5, 6, 1));
  ASSERT_EQ(gaps.GetSize(), 4);
  EXPECT_EQ(gaps[0].x, 0);
  EXPECT_EQ(gaps[3].y, 6);
}

TEST(PointListGrowth, MillionAppendsReallocateRarely) {
  CPointList list;
  int reallocations = 0;
  const CDoublePoint* last = nullptr;
  for (int i = 0; i < 1000000; ++i) {
    list.Add(CDoublePoint(i, i));
    if (list.GetData() != last) {
      ++reallocations;
      last = list.GetData();
    }
  }
  EXPECT_EQ(list.GetSize(), 1000000);
  EXPECT_LT(reallocations, 120);  // the plain rule would need about 1000
  EXPECT_EQ(list[999999].x, 999999);
  EXPECT_EQ(list[123456].y, 123456);
}

TEST(PointListEdit, InsertRemoveCopyAppend) {
  CPointList list;
  for (int i = 0; i < 5; ++i) list.Add(CDoublePoint(i, 0));
  list.RemoveAt(1, 2);
  ASSERT_EQ(list.GetSize(), 3);
  EXPECT_EQ(list[1].x, 3);
  list.RemoveAt(2, 10);  // clipped to the end
  ASSERT_EQ(list.GetSize(), 2);
  list.InsertAt(0, CDoublePoint(9, 9, 1));
  ASSERT_EQ(list.GetSize(), 3);
  EXPECT_EQ(list[0].x, 9);
  EXPECT_EQ(list[1].x, 0);
  EXPECT_EQ(list[2].x, 3);

  list.Append(list);  // appending to itself doubles it once
  ASSERT_EQ(list.GetSize(), 6);
  EXPECT_EQ(list[3].x, 9);

  CPointList copy(list);
  ASSERT_EQ(copy.GetSize(), 6);
  EXPECT_NE(copy.GetData(), list.GetData());
  EXPECT_EQ(copy[0].flag, 1);
}

TEST(PointListFlags, HighFlagQueries) {
  CPointList list;
  EXPECT_FALSE(list.AnyHighFlag());
  EXPECT_FALSE(list.NotAllHighFlag());
  list.Add(CDoublePoint(0, 0, PT_SELECTED | PT_JOINED));
  EXPECT_TRUE(list.AnyHighFlag());
  EXPECT_FALSE(list.NotAllHighFlag());
  list.Add(CDoublePoint(0, 0, PT_JOINED));
  EXPECT_TRUE(list.AnyHighFlag());
  EXPECT_TRUE(list.NotAllHighFlag());
}

TEST(PointListArchive, RoundTripKeepsPointsFlagsAndCount) {
  CPointList list;
  for (int i = 0; i < 70000; ++i) list.Add(CDoublePoint(i * 0.5, -i * 0.25, static_cast<std::uint8_t>(i % 256)));
  CArchive out;
  list.Serialize(out);
  // 0xFFFF marker, a DWORD count, then 24 bytes a point.
  ASSERT_EQ(out.Bytes().size(), 2u + 4u + 70000u * 24u);
  EXPECT_EQ(out.Bytes()[0], 0xFF);
  EXPECT_EQ(out.Bytes()[1], 0xFF);

  CArchive in(out.Bytes());
  CPointList back;
  back.Serialize(in);
  ASSERT_EQ(back.GetSize(), 70000);
  EXPECT_EQ(back.GetCapacity(), 70000);
  for (int i = 0; i < 70000; i += 997) {
    EXPECT_EQ(back[i].x, i * 0.5);
    EXPECT_EQ(back[i].y, -i * 0.25);
    EXPECT_EQ(back[i].flag, i % 256);
  }
  EXPECT_EQ(in.Remaining(), 0u);
}

TEST(PointListArchive, ShortCountAndPaddingBytes) {
  CPointList list;
  list.Add(CDoublePoint(1, 2, 0x21));
  CArchive out;
  list.Serialize(out);
  ASSERT_EQ(out.Bytes().size(), 2u + 24u);
  EXPECT_EQ(out.Bytes()[0], 1);
  EXPECT_EQ(out.Bytes()[1], 0);
  EXPECT_EQ(out.Bytes()[2 + 16], 0x21);
  for (int b = 17; b < 24; ++b) EXPECT_EQ(out.Bytes()[2 + b], 0) << "padding byte " << b;
}

TEST(PointListArchive, DamagedDataThrowsAndKeepsTheList) {
  CPointList list;
  list.Add(CDoublePoint(1, 1));
  list.Add(CDoublePoint(2, 2));
  CArchive out;
  list.Serialize(out);
  std::vector<BYTE> bytes = out.Bytes();
  bytes.resize(bytes.size() - 5);  // torn file

  CPointList target;
  target.Add(CDoublePoint(7, 7));
  CArchive in(bytes);
  EXPECT_THROW(target.Serialize(in), CArchiveException);
  ASSERT_EQ(target.GetSize(), 1);
  EXPECT_EQ(target[0].x, 7);

  // A huge count must not allocate: it is refused before sizing.
  CArchive bogus(std::vector<BYTE>{0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x7F});
  EXPECT_THROW(target.Serialize(bogus), CArchiveException);
  EXPECT_EQ(target.GetSize(), 1);
}

TEST(PointListIntersect, ClosedSquareAgainstScanLines) {
  CPointList square;  // the closing edge back to the first point counts
  square.Add(CDoublePoint(0, 0));
  square.Add(CDoublePoint(10, 0));
  square.Add(CDoublePoint(10, 10));
  square.Add(CDoublePoint(0, 10));

  CPointList hits;
  square.IntersectLine(CLine2D(0, 3), hits, false, 0);
  ASSERT_EQ(hits.GetSize(), 2);
  EXPECT_NEAR(hits[0].x, 10, 1e-12);
  EXPECT_NEAR(hits[1].x, 0, 1e-12);
  EXPECT_EQ(hits[0].flag, 0);

  hits.RemoveAll();  // along the bottom edge: parallel edges and end points do not count
  square.IntersectLine(CLine2D(0, 0), hits, false, 0);
  EXPECT_EQ(hits.GetSize(), 0);

  hits.RemoveAll();
  square.IntersectLine(CLine2D(VerticalSlope, VerticalSlope), hits, true, 4);
  ASSERT_EQ(hits.GetSize(), 2);
  EXPECT_NEAR(hits[0].y, 0, 1e-12);
  EXPECT_NEAR(hits[1].y, 10, 1e-12);
}
