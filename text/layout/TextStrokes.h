#pragma once
// Cutting a text's point list into strokes and characters: a stroke is a
// point that is not joined to its predecessor with the joined points after
// it; a stroke whose first joined point carries the character mark (0x40)
// starts a new character.
#include <memory>
#include <vector>

#include "document/geometry/CPointList.h"
#include "document/path/CStrokeGroup.h"

struct TextStroke {
  int first = 0;
  int count = 0;
  bool startsCharacter = false;
};

std::vector<TextStroke> CutTextStrokes(const CPointList& list);
void CopyStroke(const CPointList& list, const TextStroke& stroke, CPointList& out);

// One stroke group per character: strokes of two points or more, a character
// mark opening a new group; strokes before the first mark are dropped.
std::vector<std::unique_ptr<CStrokeGroup>> CharacterGroupsOf(const CPointList& list);
