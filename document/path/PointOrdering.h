#pragma once
// Orders the dots of an object so that the needle travels little: column or
// row serpentines, or greedily nearest-first from a start point.
#include <cstddef>

#include "document/geometry/CDoublePoint.h"
#include "document/geometry/CPointList.h"

// Moves every point of the list into a new array (free it with
// FreePointArray), empties the list and sorts by x (by y for the twin).
// An empty list gives a null array and count 0.
void CopyPointsToArray(CPointList& list, CDoublePoint*& array, int& count);
void CopyPointsToArray2(CPointList& list, CDoublePoint*& array, int& count);
void FreePointArray(CDoublePoint* array);

// Quicksort of array[first..last] by x (by y for the twin); equal keys may
// change order.
void SortPointArray(CDoublePoint* array, int first, int last);
void SortPointArray2(CDoublePoint* array, int first, int last);

// Columns (rows) of dots within width / 2 of the column's first dot, emitted
// in alternating directions.
void OrderPointsByColumns(CPointList& list, float width);
void OrderPointsByRows(CPointList& list, float width);

// Greedy nearest-first from start (ties keep the earlier point); start ends at
// the last point of the result.
void SortPointsNearestFirst(CDoublePoint& start, CPointList& list);
// The same result by a plain scan over all remaining points, kept as the
// reference for the indexed version.
void SortPointsNearestFirstPlain(CDoublePoint& start, CPointList& list);
