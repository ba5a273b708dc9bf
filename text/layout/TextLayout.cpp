#include "text/layout/TextLayout.h"

#include "text/layout/ArcTextLayout.h"
#include "text/layout/DotTextLayout.h"
#include "text/layout/ShxTextLayout.h"
#include "text/layout/TrueTypeTextLayout.h"

void CreateTextPoints(TextLayoutContext& ctx, const CDoublePoint& anchor, bool align) {
  TextSettings& s = ctx.s;
  ctx.main.RemoveAll();
  ctx.second.RemoveAll();
  s.gridDone = 0;
  if (s.flags & TEXT_DOT_FONT) {
    s.anchor = anchor;
    switch (s.dotKind) {
      case DOT_KIND_DOT_FONT:
        LayoutDotFont(ctx, anchor, align);
        break;
      case DOT_KIND_TRUETYPE:
        LayoutDotTrueType(ctx, anchor, align);
        break;
      case DOT_KIND_HZK12:
      case DOT_KIND_HZK16:
      case DOT_KIND_HZK24F:
      case DOT_KIND_HZK24Z:
        LayoutDotHzk(ctx, anchor, align);
        break;
      default:
        break;
    }
    return;
  }
  if (s.flags & TEXT_TRUETYPE) {
    LayoutTrueType(ctx, anchor, align);
  } else {
    LayoutShx(ctx, anchor, align);
  }
  ArrangeOnArc(ctx, anchor, align);
}
