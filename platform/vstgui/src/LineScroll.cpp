#include "linescroll.h"

#include <algorithm>

namespace VSTGUI::Detail
{
namespace
{
// The furthest the text may reach, leaving the caret its room after it.
CCoord textEnd (const LineSpan& span)
{
	return span.right - span.caretWidth - span.margin;
}

bool fits (const LineSpan& span)
{
	return span.left + span.textWidth <= textEnd (span);
}

// How far a scrolled text may go: until its end stands at the area's end.
CCoord furthestScroll (const LineSpan& span)
{
	return std::max (0., span.textWidth - (textEnd (span) - (span.left + span.margin)));
}
}

CCoord lineStart (const LineSpan& span, CCoord aligned, CCoord scroll)
{
	if (fits (span))
		return std::min (aligned, textEnd (span) - span.textWidth);
	return span.left + span.margin - std::clamp (scroll, 0., furthestScroll (span));
}

CCoord scrollToCaret (const LineSpan& span, CCoord caretX, CCoord scroll)
{
	if (fits (span))
		return 0.;
	const CCoord shown = textEnd (span) - (span.left + span.margin);
	if (caretX < scroll)
		scroll = caretX;
	else if (caretX > scroll + shown)
		scroll = caretX - shown;
	return std::clamp (scroll, 0., furthestScroll (span));
}
}
