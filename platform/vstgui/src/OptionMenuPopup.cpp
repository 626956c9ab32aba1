#include "vstgui/lib/platform/optionmenupopup.h"

#include "vstgui/lib/cdrawcontext.h"
#include "vstgui/lib/cframe.h"
#include "vstgui/lib/controls/coptionmenu.h"
#include "vstgui/lib/cvstguitimer.h"

#include "textmetrics.h"

#include <algorithm>
#include <cmath>

namespace VSTGUI
{
namespace
{
const CColor kPopupBack (245, 245, 245, 255);
const CColor kPopupFrame (120, 120, 120, 255);
const CColor kPopupHover (52, 120, 220, 255);
const CColor kPopupText (20, 20, 20, 255);
const CColor kPopupDisabled (150, 150, 150, 255);
constexpr CCoord kPopupFontSize = 14;
constexpr CCoord kTextPadding = 10;
constexpr CCoord kArrowSpace = 18;
constexpr CCoord kMinWidth = 80;
constexpr CCoord kWheelRows = 3;
constexpr uint32_t kAutoScrollInterval = 40;

const char* const kSubmenuArrow = "\xE2\x96\xB8";  // U+25B8
const char* const kCheckMark = "\xE2\x9C\x93 ";    // U+2713

SharedPointer<CFontDesc> popupFont (bool bold)
{
	return makeOwned<CFontDesc> ("Arial", kPopupFontSize, bold ? kBoldFace : 0);
}

std::string displayTitle (const CMenuItem& item)
{
	return item.isChecked () ? kCheckMark + item.getTitle ().getString () : item.getTitle ().getString ();
}

CCoord columnWidth (COptionMenu* menu)
{
	CCoord width = kMinWidth;
	for (int32_t i = 0; i < menu->getNbEntries (); ++i)
	{
		CMenuItem* item = menu->getEntry (i);
		if (!item->isSeparator ())
			width = std::max (width, Detail::stringWidth (*popupFont (item->isTitle ()), displayTitle (*item)) + 2 * kTextPadding + kArrowSpace);
	}
	return std::ceil (width);
}

// The column's place: `anchor` is the control for the top level (the column drops below it, or
// rises above it when only that fits) and the parent entry for a submenu (the column opens beside
// it, on the left when the right has no room). A column taller than the area is cut to it.
CRect placeColumn (const CRect& area, const CRect& anchor, CCoord width, CCoord height, bool beside)
{
	height = std::min (height, area.getHeight ());
	width = std::min (width, area.getWidth ());
	CRect r;
	if (beside)
	{
		r = CRect (anchor.right, anchor.top - 1, anchor.right + width, anchor.top - 1 + height);
		if (r.right > area.right)
			r.offset (anchor.left - width - r.left, 0);
	}
	else
	{
		r = CRect (anchor.left, anchor.bottom, anchor.left + width, anchor.bottom + height);
		if (r.bottom > area.bottom && anchor.top - height >= area.top)
			r.offset (0, anchor.top - height - r.top);
	}
	if (r.right > area.right)
		r.offset (area.right - r.right, 0);
	if (r.left < area.left)
		r.offset (area.left - r.left, 0);
	if (r.bottom > area.bottom)
		r.offset (0, area.bottom - r.bottom);
	if (r.top < area.top)
		r.offset (0, area.top - r.top);
	// On whole pixels, so lines and text are crisp.
	return r.offset (std::round (r.left) - r.left, std::round (r.top) - r.top);
}

void drawTriangle (CDrawContext* context, const CRect& box, bool up, const CColor& colour)
{
	const CPoint c = box.getCenter ();
	const CCoord h = 4;
	CDrawContext::PointList points;
	if (up)
		points = {CPoint (c.x - h, c.y + h / 2), CPoint (c.x + h, c.y + h / 2), CPoint (c.x, c.y - h / 2)};
	else
		points = {CPoint (c.x - h, c.y - h / 2), CPoint (c.x + h, c.y - h / 2), CPoint (c.x, c.y + h / 2)};
	context->setFillColor (colour);
	context->setDrawMode (kAntiAliasing | kNonIntegralMode);
	context->drawPolygon (points, kDrawFilled);
	context->setDrawMode (kAliasing);
}
}

//------------------------------------------------------------------------------------------------
// A column

bool OptionMenuPopup::Level::scrolls () const
{
	return contentHeight + 2 > rect.getHeight ();
}

CCoord OptionMenuPopup::Level::maxScroll () const
{
	return scrolls () ? std::max (0., contentHeight - viewport ().getHeight ()) : 0.;
}

CRect OptionMenuPopup::Level::viewport () const
{
	CRect r (rect);
	r.inset (1, 1);
	if (scrolls ())
	{
		r.top += kScrollerHeight;
		r.bottom -= kScrollerHeight;
	}
	return r;
}

CRect OptionMenuPopup::Level::upArrow () const
{
	return CRect (rect.left + 1, rect.top + 1, rect.right - 1, rect.top + 1 + kScrollerHeight);
}

CRect OptionMenuPopup::Level::downArrow () const
{
	return CRect (rect.left + 1, rect.bottom - 1 - kScrollerHeight, rect.right - 1, rect.bottom - 1);
}

CRect OptionMenuPopup::Level::itemRect (int32_t index) const
{
	const CRect view = viewport ();
	const CCoord top = view.top + tops[index] - scroll;
	const CCoord bottom = index + 1 < static_cast<int32_t> (tops.size ()) ? tops[index + 1] : contentHeight;
	return CRect (view.left, top, view.right, view.top + bottom - scroll);
}

//------------------------------------------------------------------------------------------------

OptionMenuPopup::OptionMenuPopup (COptionMenu* menu) : CView (CRect ()), topMenu (menu)
{
	topMenu->remember ();
	setTransparency (true);
	IPlatformFrame* window = menu->getFrame () ? menu->getFrame ()->getPlatformFrame () : nullptr;
	if (window)
	{
		area = window->getPopupArea ();
		inOwnWindows = window->hasPopupWindows ();
	}
	// Drawn over the frame, the popup covers it; in windows of its own it covers nothing of it.
	size = inOwnWindows ? CRect () : area;
	CRect anchor (menu->getViewSize ());
	menu->getGlobalTransform ().transform (anchor);
	anchor.normalize ();
	openLevel (menu, anchor, false);
	int32_t current = menu->getCurrentIndex (true);
	if (selectable (levels[0], current))
	{
		levels[0].hover = current;
		scrollToShow (0, current);
	}
}

OptionMenuPopup::~OptionMenuPopup () noexcept
{
	stopAutoScroll ();
	if (autoScrollTimer)
		autoScrollTimer->forget ();
	levels.clear ();
	topMenu->forget ();
}

OptionMenuPopup* OptionMenuPopup::get (CFrame* frame)
{
	return frame ? dynamic_cast<OptionMenuPopup*> (frame->getModalView ()) : nullptr;
}

COptionMenu* OptionMenuPopup::getLevelMenu (size_t level) const
{
	return level < levels.size () ? levels[level].menu : nullptr;
}

CRect OptionMenuPopup::getLevelRect (size_t level) const
{
	return level < levels.size () ? levels[level].rect : CRect ();
}

bool OptionMenuPopup::isScrollable (size_t level) const
{
	return level < levels.size () && levels[level].scrolls ();
}

CRect OptionMenuPopup::getItemRect (size_t level, int32_t index) const
{
	if (level >= levels.size () || index < 0 || index >= static_cast<int32_t> (levels[level].tops.size ()))
		return CRect ();
	CRect r = levels[level].itemRect (index);
	r.bound (levels[level].viewport ());
	return r.isEmpty () ? CRect () : r;
}

int32_t OptionMenuPopup::getHoverIndex (size_t level) const
{
	return level < levels.size () ? levels[level].hover : -1;
}

void OptionMenuPopup::openLevel (COptionMenu* menu, const CRect& anchor, bool beside)
{
	Level level;
	level.menu = menu;
	for (int32_t i = 0; i < menu->getNbEntries (); ++i)
	{
		level.tops.push_back (level.contentHeight);
		level.contentHeight += menu->getEntry (i)->isSeparator () ? kSeparatorHeight : kItemHeight;
	}
	level.rect = placeColumn (area, anchor, columnWidth (menu), level.contentHeight + 2, beside);
	levels.push_back (std::move (level));
	const size_t index = levels.size () - 1;
	if (inOwnWindows)
	{
		IPlatformFrame* window = topMenu->getFrame () ? topMenu->getFrame ()->getPlatformFrame () : nullptr;
		if (window)
			levels[index].window.adopt (window->openPopupWindow (levels[index].rect, [this, index] (CDrawContext* context, const CRect&) {
				if (index < levels.size ())
					drawLevel (context, levels[index]);
			}));
	}
	invalidLevel (levels[index]);
}

void OptionMenuPopup::openSubmenuOf (size_t level, int32_t index)
{
	if (COptionMenu* submenu = levels[level].menu->getEntry (index)->getSubmenu ())
		openLevel (submenu, levels[level].itemRect (index), true);
}

void OptionMenuPopup::closeLevelsAfter (size_t level)
{
	while (levels.size () > level + 1)
	{
		invalidLevel (levels.back ());
		levels.pop_back ();
	}
	if (autoScrollLevel > level)
		stopAutoScroll ();
}

void OptionMenuPopup::invalidLevel (const Level& level)
{
	invalidIn (level, level.rect);
}

void OptionMenuPopup::invalidIn (const Level& level, const CRect& rect)
{
	if (level.window)
		level.window->invalidRect (rect);
	else if (!inOwnWindows)
		invalidRect (rect);
}

void OptionMenuPopup::invalidRect (const CRect& rect)
{
	CFrame* frame = topMenu->getFrame ();
	if (inOwnWindows || frame == nullptr || frame->getPlatformFrame () == nullptr)
		return;
	// The popup lives in window pixels, outside the frame's transform.
	frame->getPlatformFrame ()->invalidRect (rect);
}

void OptionMenuPopup::invalid ()
{
	setDirty (false);
	for (const auto& level : levels)
		invalidLevel (level);
}

OptionMenuPopup::Hit OptionMenuPopup::hit (const CPoint& where) const
{
	Hit result;
	for (size_t l = levels.size (); l-- > 0;)
	{
		const Level& level = levels[l];
		if (!level.rect.pointInside (where))
			continue;
		result.level = l;
		if (level.scrolls () && level.upArrow ().pointInside (where))
			result.part = kUpArrow;
		else if (level.scrolls () && level.downArrow ().pointInside (where))
			result.part = kDownArrow;
		else
		{
			result.part = kItem;
			for (int32_t i = 0; i < static_cast<int32_t> (level.tops.size ()); ++i)
			{
				if (level.itemRect (i).pointInside (where) && level.viewport ().pointInside (where))
					result.index = i;
			}
		}
		return result;
	}
	return result;
}

bool OptionMenuPopup::selectable (const Level& level, int32_t index) const
{
	CMenuItem* item = level.menu->getEntry (index);
	return item && !item->isSeparator () && !item->isTitle () && item->isEnabled ();
}

void OptionMenuPopup::setHover (size_t level, int32_t index)
{
	Level& col = levels[level];
	if (col.hover == index)
		return;
	closeLevelsAfter (level);
	// Only the two rows change.
	for (int32_t row : {col.hover, index})
	{
		if (row < 0 || row >= static_cast<int32_t> (col.tops.size ()))
			continue;
		CRect r = col.itemRect (row);
		r.bound (col.viewport ());
		invalidIn (col, r);
	}
	col.hover = index;
}

void OptionMenuPopup::activate (size_t level, int32_t index)
{
	if (level >= levels.size () || !selectable (levels[level], index))
		return;
	setHover (level, index);
	scrollToShow (level, index);
	if (levels[level].menu->getEntry (index)->getSubmenu ())
	{
		if (levels.size () == level + 1)
			openSubmenuOf (level, index);
		return;
	}
	finish (levels[level].menu, index);
}

void OptionMenuPopup::finish (COptionMenu* selectedMenu, int32_t index)
{
	if (finished)
		return;
	finished = true;
	stopAutoScroll ();
	SharedPointer<CView> guard (this);
	SharedPointer<COptionMenu> top (topMenu);
	SharedPointer<COptionMenu> selected (selectedMenu);
	invalid ();
	levels.clear ();
	if (CFrame* frame = topMenu->getFrame ())
		frame->setModalView (nullptr);
	top->popupResult (selected, index);
}

void OptionMenuPopup::moveHover (int direction)
{
	if (levels.empty ())
		return;
	Level& level = levels.back ();
	const int32_t count = level.menu->getNbEntries ();
	int32_t i = level.hover;
	if (i < 0)
		i = direction > 0 ? -1 : count;
	for (int32_t step = 0; step < count; ++step)
	{
		i += direction;
		if (i < 0)
			i = count - 1;
		else if (i >= count)
			i = 0;
		if (selectable (level, i))
			break;
	}
	moveHoverTo (i, 0);
}

// Puts the hover on `index`, or on the nearest selectable entry in `direction` from it.
void OptionMenuPopup::moveHoverTo (int32_t index, int direction)
{
	const size_t l = levels.size () - 1;
	const int32_t count = levels[l].menu->getNbEntries ();
	index = std::clamp (index, 0, std::max (0, count - 1));
	while (direction != 0 && index >= 0 && index < count && !selectable (levels[l], index))
		index += direction;
	if (!selectable (levels[l], index))
		return;
	setHover (l, index);
	scrollToShow (l, index);
}

void OptionMenuPopup::scrollBy (size_t level, CCoord delta)
{
	Level& col = levels[level];
	const CCoord scroll = std::clamp (col.scroll + delta, 0., col.maxScroll ());
	if (scroll == col.scroll)
		return;
	// Submenus hang off an entry of this column: they close when it moves.
	closeLevelsAfter (level);
	col.scroll = scroll;
	invalidLevel (col);
}

void OptionMenuPopup::scrollToShow (size_t level, int32_t index)
{
	Level& col = levels[level];
	if (!col.scrolls () || index < 0 || index >= static_cast<int32_t> (col.tops.size ()))
		return;
	const CRect item = col.itemRect (index);
	const CRect view = col.viewport ();
	if (item.top < view.top)
		scrollBy (level, item.top - view.top);
	else if (item.bottom > view.bottom)
		scrollBy (level, item.bottom - view.bottom);
}

void OptionMenuPopup::startAutoScroll (size_t level, int direction)
{
	if (autoScrollTimer && autoScrollDirection == direction && autoScrollLevel == level)
		return;
	autoScrollLevel = level;
	autoScrollDirection = direction;
	if (autoScrollTimer == nullptr)
		autoScrollTimer = new CVSTGUITimer (
		    [this] (CVSTGUITimer*) {
			    if (autoScrollLevel < levels.size () && autoScrollDirection != 0)
				    scrollBy (autoScrollLevel, autoScrollDirection * kItemHeight);
		    },
		    kAutoScrollInterval, false);
	autoScrollTimer->start ();
}

void OptionMenuPopup::stopAutoScroll ()
{
	autoScrollDirection = 0;
	if (autoScrollTimer)
		autoScrollTimer->stop ();
}

//------------------------------------------------------------------------------------------------
// Drawing

void OptionMenuPopup::drawRect (CDrawContext* context, const CRect&)
{
	draw (context);
}

void OptionMenuPopup::draw (CDrawContext* context)
{
	for (const auto& level : levels)
		drawLevel (context, level);
	setDirty (false);
}

void OptionMenuPopup::drawLevel (CDrawContext* context, const Level& level)
{
	context->saveGlobalState ();
	context->setDrawMode (kAliasing);
	context->setLineWidth (1);
	context->setFillColor (kPopupBack);
	context->setFrameColor (kPopupFrame);
	context->drawRect (level.rect, kDrawFilledAndStroked);
	const CRect view = level.viewport ();
	CRect clip;
	context->getClipRect (clip);
	CRect inner (clip);
	inner.bound (view);
	context->setClipRect (inner);
	for (int32_t i = 0; i < static_cast<int32_t> (level.tops.size ()); ++i)
	{
		const CRect r = level.itemRect (i);
		if (!r.rectOverlap (view))
			continue;
		CMenuItem* item = level.menu->getEntry (i);
		if (item->isSeparator ())
		{
			context->setFrameColor (kPopupFrame);
			CCoord y = std::floor (r.getCenter ().y);
			context->drawLine (CPoint (r.left + 4, y), CPoint (r.right - 4, y));
			continue;
		}
		const bool hover = i == level.hover;
		if (hover)
		{
			context->setFillColor (kPopupHover);
			context->drawRect (r, kDrawFilled);
		}
		context->setFont (popupFont (item->isTitle ()));
		context->setFontColor (hover ? kWhiteCColor : (selectable (level, i) || item->isTitle () ? kPopupText : kPopupDisabled));
		CRect textRect (r);
		textRect.left += kTextPadding;
		context->drawString (displayTitle (*item).c_str (), textRect, kLeftText);
		if (item->getSubmenu ())
			context->drawString (kSubmenuArrow, CRect (r.right - kArrowSpace, r.top, r.right - 4, r.bottom), kCenterText);
	}
	context->setClipRect (clip);
	if (level.scrolls ())
	{
		drawTriangle (context, level.upArrow (), true, level.scroll > 0 ? kPopupText : kPopupDisabled);
		drawTriangle (context, level.downArrow (), false, level.scroll < level.maxScroll () ? kPopupText : kPopupDisabled);
	}
	context->restoreGlobalState ();
}

//------------------------------------------------------------------------------------------------
// Input

CMouseEventResult OptionMenuPopup::onMouseDown (CPoint& where, const CButtonState&)
{
	const Hit h = hit (where);
	switch (h.part)
	{
		case kNothing:
			finish (nullptr, -1);
			break;
		case kUpArrow:
		case kDownArrow:
			scrollBy (h.level, (h.part == kUpArrow ? -1 : 1) * kItemHeight);
			break;
		case kItem:
			activate (h.level, h.index);
			break;
	}
	return kMouseDownEventHandledButDontNeedMovedOrUpEvents;
}

CMouseEventResult OptionMenuPopup::onMouseMoved (CPoint& where, const CButtonState&)
{
	const Hit h = hit (where);
	if (h.part == kUpArrow || h.part == kDownArrow)
	{
		startAutoScroll (h.level, h.part == kUpArrow ? -1 : 1);
		return kMouseEventHandled;
	}
	stopAutoScroll ();
	if (h.part != kItem || !selectable (levels[h.level], h.index))
		return kMouseEventHandled;
	setHover (h.level, h.index);
	// Also for the entry the popup opened on: pointing at it shows its submenu.
	if (levels.size () == h.level + 1)
		openSubmenuOf (h.level, h.index);
	return kMouseEventHandled;
}

CMouseEventResult OptionMenuPopup::onMouseUp (CPoint&, const CButtonState&)
{
	return kMouseEventHandled;
}

bool OptionMenuPopup::onWheel (const CPoint& where, const CMouseWheelAxis& axis, const float& distance,
                               const CButtonState&)
{
	const Hit h = hit (where);
	if (axis != kMouseWheelAxisY || h.part == kNothing)
		return true;
	scrollBy (h.level, -distance * kWheelRows * kItemHeight);
	return true;
}

int32_t OptionMenuPopup::onKeyDown (VstKeyCode& keyCode)
{
	if (levels.empty ())
		return 1;
	const size_t last = levels.size () - 1;
	const int32_t hover = levels[last].hover;
	const int32_t count = levels[last].menu->getNbEntries ();
	const int32_t page = std::max (1, static_cast<int32_t> (levels[last].viewport ().getHeight () / kItemHeight) - 1);
	switch (keyCode.virt)
	{
		case VKEY_ESCAPE:
			finish (nullptr, -1);
			break;
		case VKEY_UP:
			moveHover (-1);
			break;
		case VKEY_DOWN:
			moveHover (1);
			break;
		case VKEY_HOME:
			moveHoverTo (0, 1);
			break;
		case VKEY_END:
			moveHoverTo (count - 1, -1);
			break;
		case VKEY_PAGEUP:
			moveHoverTo (std::max (0, hover - page), 1);
			break;
		case VKEY_PAGEDOWN:
			moveHoverTo (std::min (count - 1, std::max (0, hover) + page), -1);
			break;
		case VKEY_LEFT:
			if (levels.size () > 1)
				closeLevelsAfter (last - 1);
			break;
		case VKEY_RIGHT:
		case VKEY_RETURN:
		case VKEY_ENTER:
		case VKEY_SPACE:
		{
			CMenuItem* item = levels[last].menu->getEntry (hover);
			const bool opensSubmenu = item && item->getSubmenu ();
			if (keyCode.virt == VKEY_RIGHT && !opensSubmenu)
				break;
			activate (last, hover);
			if (opensSubmenu && levels.size () > last + 1)
				moveHover (1);
			break;
		}
		default:
			break;
	}
	return 1;
}
} // VSTGUI
