#include "text/layout/TextStrokes.h"

std::vector<TextStroke> CutTextStrokes(const CPointList& list) {
  std::vector<TextStroke> strokes;
  const int n = list.GetSize();
  for (int i = 0; i < n;) {
    TextStroke s;
    s.first = i;
    int j = i + 1;
    while (j < n && (list[j].flag & PT_JOINED)) ++j;
    s.count = j - i;
    s.startsCharacter = s.count >= 2 && (list[i + 1].flag & PT_TEXT_MARK);
    strokes.push_back(s);
    i = j;
  }
  return strokes;
}

void CopyStroke(const CPointList& list, const TextStroke& stroke, CPointList& out) {
  out.RemoveAll();
  for (int k = 0; k < stroke.count; ++k) out.Add(list[stroke.first + k]);
}

std::vector<std::unique_ptr<CStrokeGroup>> CharacterGroupsOf(const CPointList& list) {
  std::vector<std::unique_ptr<CStrokeGroup>> groups;
  CPointList stroke;
  for (const TextStroke& s : CutTextStrokes(list)) {
    if (s.count < 2) continue;
    CopyStroke(list, s, stroke);
    if (s.startsCharacter) {
      groups.push_back(std::make_unique<CStrokeGroup>(stroke));
    } else if (!groups.empty()) {
      groups.back()->AddPointList(stroke);
    }
  }
  return groups;
}
