// The drawing split page: the preview's fit, its pixel to millimetre
// conversion, what a drag selects, and the buttons' refusals.
#include <gtest/gtest.h>

#include <memory>

#include "document/objects/CObjElement.h"
#include "document/objects/CObjPolyLine.h"
#include "platform/Prompt.h"
#include "properties/pages/CDividePreviewEdit.h"
#include "properties/pages/CObjPltDividePage.h"

namespace {

std::unique_ptr<CObjElement> Drawing() {
  CPointList list;
  list.Add(CDoublePoint(0, 0, 0));
  list.Add(CDoublePoint(10, 0, PT_JOINED));
  list.Add(CDoublePoint(0, 20, 0));
  list.Add(CDoublePoint(10, 20, PT_JOINED));
  auto element = std::make_unique<CObjElement>(
      CObjCreateRecord{"PLT file-1", OBJ_HPGL, new CObjPolyLine(list, 0, 1), static_cast<int>(sizeof(CObjPolyLine)), {}});
  element->RefreshTypeObject();
  element->UpdateBoundRect();
  return element;
}

}  // namespace

TEST(PltDividePage, FitScaleSurvivesDrawingsWithoutWidthOrHeight) {
  struct Case {
    CDoubleRect bounds;
    double scale;
  } cases[] = {
      {CDoubleRect(0, 10, 10, 0), std::min((206.0 - 30) / 40, (250.0 - 30) / 40)},
      {CDoubleRect(5, 10, 5, 0), (250.0 - 30) / 40},   // a vertical line
      {CDoubleRect(0, 3, 10, 3), (206.0 - 30) / 40},   // a horizontal line
      {CDoubleRect(2, 2, 2, 2), 1.0},                  // a single point
  };
  for (const Case& c : cases) {
    const double scale = CDividePreviewEdit::FitScale(206, 250, c.bounds, 4, 4);
    EXPECT_TRUE(std::isfinite(scale));
    EXPECT_NEAR(scale, c.scale, 1e-9);
  }
}

TEST(PltDividePage, PixelsBecomeMillimetresAboutTheCentreWithYUp) {
  const CDoublePoint p = CDividePreviewEdit::ToMm(QPoint(120, 80), QPoint(100, 100), 2, 4);
  EXPECT_DOUBLE_EQ(p.x, 2.5);
  EXPECT_DOUBLE_EQ(p.y, 2.5);
}

TEST(PltDividePage, AClickChoosesTheStrokeWithinHalfAMillimetre) {
  auto drawing = Drawing();
  CDividePreviewEdit::SelectByDrag(*drawing, CDoubleRect(5, 0.3, 5, 0.3), 1, {});
  EXPECT_TRUE(drawing->HasSplitSelected());
  EXPECT_TRUE(drawing->HasSplitUnselected());
}

TEST(PltDividePage, ButtonsRefuseNothingOrEverythingChosen) {
  auto prompt = std::make_shared<platform::ScriptedPrompt>();
  platform::SetPrompt(prompt);
  auto drawing = Drawing();
  CObjPltDividePage page;
  page.LoadFromObject(*drawing);
  page.OnDeleteSelected();
  page.OnSplit();
  drawing->SplitSelectAll();
  page.OnSplit();
  EXPECT_EQ(prompt->Texts(),
            (std::vector<std::string>{"Please select data!", "Please select split data!", "Don't select all data!"}));
  platform::SetPrompt(nullptr);
}
