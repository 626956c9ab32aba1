#pragma once

#include "vstgui/lib/vstguibase.h"

namespace VSTGUI::Detail
{
// How a one-line field that is being edited places its text in its text area [left, right). Text that
// fits with the caret after it stands where the field's alignment puts it; longer text scrolls, only as
// far as it takes to keep the caret in sight and never so far that space opens after the caret at the
// text's end. All in one unit, widths as the frame draws them.
struct LineSpan
{
	CCoord left {0.};
	CCoord right {0.};
	CCoord textWidth {0.};
	// What the caret takes after the last character.
	CCoord caretWidth {0.};
	// Kept between a scrolled text's caret and the area's edges, so that rounding to pixels never cuts it.
	CCoord margin {0.};
};

// Where the text starts: at `aligned` when it fits, otherwise `scroll` before the area's start.
CCoord lineStart (const LineSpan& span, CCoord aligned, CCoord scroll);

// The scroll nearest to `scroll` that shows a caret `caretX` from the text's start.
CCoord scrollToCaret (const LineSpan& span, CCoord caretX, CCoord scroll);
}
