#pragma once
// Fixed shapes turned into moves of the move list: arcs, lines from a point,
// and the triangle, weld-hole and glide-hole outlines.
namespace ravelpen {

int AppendArc(double cx, double cy, double radius, double startAngle, double endAngle);
int AppendLine(double x, double y, double length, double angle);
int AppendTriangle(double x, double y, double radius, double angle);
int AppendWeldHole(double x, double y, double radius, double angle);
int AppendGlideHole(double x, double y, double length, double radius, double angle);

}  // namespace ravelpen
