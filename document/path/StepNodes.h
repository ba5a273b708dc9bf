#pragma once
// Step nodes: an object's path as a singly linked list of relative moves in
// whole motor steps, built here and sent or stepped by the marking controller,
// which frees the list afterwards (FreeStepNodes).
#include <atomic>
#include <cstdint>
#include <vector>

#include "document/geometry/CDoublePoint.h"
#include "document/geometry/CPointList.h"

class CStrokePath;

// Node flag bits (read as they stand by the controller and the wire protocol).
constexpr std::uint8_t SN_ROTARY_2AXIS = 0x01;  // rotary drive takes the move, two-axis rotary mode
constexpr std::uint8_t SN_ROTARY_3AXIS = 0x02;  // the same in three-axis rotary mode
constexpr std::uint8_t SN_POSITIONING = 0x04;   // made by the ordinary axes (cancels 0x01)
constexpr std::uint8_t SN_X_NEGATIVE = 0x08;
constexpr std::uint8_t SN_Y_POSITIVE = 0x10;
constexpr std::uint8_t SN_NEEDLE_DOT = 0x40;  // target is a dot of a dot group
constexpr std::uint8_t SN_TOOL_DOWN = 0x80;   // the move draws

// Caller flags of AddStepNode: point flag 0x01 (drawn) and 0x40 (needle dot).
constexpr int SN_CALL_DRAWN = 0x01;
constexpr int SN_CALL_DOT = 0x40;

struct StepNode {
  std::uint8_t flags = 0;
  int stepsX = 0;  // magnitude, >= 0
  int stepsY = 0;  // magnitude, >= 0
  StepNode* next = nullptr;
};

// Rotary switches the marking controller copies from the document's options
// before it builds nodes.
extern std::atomic<int> RotateMark;
extern std::atomic<int> YReplacesZ;
extern std::atomic<int> ThreeAxisRotate;
extern std::atomic<int> NoSeekOriginXY;
// Target of the last rotary seek move; written and read by the thread that
// builds and outputs the nodes.
extern CDoublePoint LastRotaryPoint;

// Appends one node after *tail (when not null) and makes it the tail. The
// step counts are quantized with the carries (in step-length units), which
// are updated whether or not a node results. Returns 1 when a node was
// appended, 0 when both counts rounded to 0 or the node could not be allocated.
int AddStepNode(StepNode*& tail, double xSteps, double ySteps, double& xCarry, double& yCarry, double xStepLength,
                double yStepLength, int callerFlags);

// Frees every node of a list.
void FreeStepNodes(StepNode* head);

// Takes the stroke path nearest to the current point (its first point, or its
// last when it has more than one) out of remaining and writes its points,
// oriented for marking, into out. Returns false when none has a point (those
// left are dropped).
bool PickNearestPath(std::vector<CStrokePath*>& remaining, const CDoublePoint& current, CPointList& out);
