#include "vstgui/lib/controls/coptionmenu.h"

#include "vstgui/lib/cbitmap.h"
#include "vstgui/lib/cdrawcontext.h"
#include "vstgui/lib/cframe.h"
#include "vstgui/lib/platform/optionmenupopup.h"

#include "fontcaches.h"

#include <cairo/cairo.h>

#include <algorithm>
#include <cmath>

namespace VSTGUI
{
CMenuItem::CMenuItem (const UTF8String& title, const UTF8String& keycode, int32_t keyModifiers, CBitmap* icon,
                      int32_t flags)
: title (title), keyCode (keycode), flags (flags), keyModifiers (keyModifiers)
{
	setIcon (icon);
}

CMenuItem::CMenuItem (const UTF8String& title, COptionMenu* submenu, CBitmap* icon)
: title (title), flags (kNoFlags), keyModifiers (0)
{
	setSubmenu (submenu);
	setIcon (icon);
}

CMenuItem::CMenuItem (const UTF8String& title, int32_t tag) : title (title), flags (kNoFlags), keyModifiers (0), tag (tag)
{
}

CMenuItem::CMenuItem (const CMenuItem& item)
: CBaseObject (item)
, title (item.title)
, keyCode (item.keyCode)
, flags (item.flags)
, keyModifiers (item.keyModifiers)
, virtualKeyCode (item.virtualKeyCode)
, tag (item.tag)
{
	setSubmenu (item.submenu);
	setIcon (item.icon);
}

CMenuItem::~CMenuItem () noexcept
{
	if (submenu)
		submenu->forget ();
	if (icon)
		icon->forget ();
}

void CMenuItem::setTitle (const UTF8String& t)
{
	title = t;
}

void CMenuItem::setSubmenu (COptionMenu* menu)
{
	if (menu)
		menu->remember ();
	if (submenu)
		submenu->forget ();
	submenu = menu;
}

void CMenuItem::setKey (const UTF8String& k, int32_t modifiers)
{
	keyCode = k;
	keyModifiers = modifiers;
}

void CMenuItem::setVirtualKey (int32_t virtualKey, int32_t modifiers)
{
	virtualKeyCode = virtualKey;
	keyModifiers = modifiers;
}

void CMenuItem::setEnabled (bool state)
{
	flags = state ? (flags & ~kDisabled) : (flags | kDisabled);
}

void CMenuItem::setChecked (bool state)
{
	flags = state ? (flags | kChecked) : (flags & ~kChecked);
}

void CMenuItem::setIsTitle (bool state)
{
	flags = state ? (flags | kTitle) : (flags & ~kTitle);
}

void CMenuItem::setIsSeparator (bool state)
{
	flags = state ? (flags | kSeparator) : (flags & ~kSeparator);
}

void CMenuItem::setIcon (CBitmap* bitmap)
{
	if (bitmap)
		bitmap->remember ();
	if (icon)
		icon->forget ();
	icon = bitmap;
}

void CMenuItem::setTag (int32_t t)
{
	tag = t;
}

//------------------------------------------------------------------------------------------------

COptionMenu::COptionMenu () : CParamDisplay (CRect (0, 0, 0, 0), nullptr, 0)
{
	setWantsFocus (true);
}

COptionMenu::COptionMenu (const CRect& size, IControlListener* listener, int32_t tag, CBitmap* background,
                          CBitmap* bgWhenClick, const int32_t style)
: CParamDisplay (size, background, style), bgWhenClick (bgWhenClick)
{
	this->listener = listener;
	this->tag = tag;
	if (bgWhenClick)
		bgWhenClick->remember ();
	setWantsFocus (true);
}

COptionMenu::COptionMenu (const COptionMenu& m)
: CParamDisplay (m), currentIndex (m.currentIndex), prefixNumbers (m.prefixNumbers), bgWhenClick (m.bgWhenClick)
{
	if (bgWhenClick)
		bgWhenClick->remember ();
	for (const auto& item : m.menuItems)
		menuItems.push_back (owned (new CMenuItem (*item)));
}

COptionMenu::~COptionMenu () noexcept
{
	if (bgWhenClick)
		bgWhenClick->forget ();
}

CMenuItem* COptionMenu::addEntry (CMenuItem* item, int32_t index)
{
	if (item == nullptr)
		return nullptr;
	if (index < 0 || index > getNbEntries ())
		menuItems.push_back (owned (item));
	else
		menuItems.insert (menuItems.begin () + index, owned (item));
	return item;
}

CMenuItem* COptionMenu::addEntry (COptionMenu* submenu, const UTF8String& title)
{
	return addEntry (new CMenuItem (title, submenu));
}

CMenuItem* COptionMenu::addEntry (const UTF8String& title, int32_t index, int32_t itemFlags)
{
	if (title == "-")
		return addSeparator (index);
	return addEntry (new CMenuItem (title, "", 0, nullptr, itemFlags), index);
}

CMenuItem* COptionMenu::addSeparator (int32_t index)
{
	return addEntry (new CMenuItem ("", "", 0, nullptr, CMenuItem::kSeparator), index);
}

CMenuItem* COptionMenu::getCurrent () const
{
	return getEntry (currentIndex);
}

int32_t COptionMenu::getCurrentIndex (bool countSeparator) const
{
	if (countSeparator || currentIndex < 0)
		return currentIndex;
	int32_t separators = 0;
	for (int32_t i = 0; i < currentIndex && i < getNbEntries (); ++i)
	{
		if (menuItems[i]->isSeparator ())
			++separators;
	}
	return currentIndex - separators;
}

CMenuItem* COptionMenu::getEntry (int32_t index) const
{
	if (index < 0 || index >= getNbEntries ())
		return nullptr;
	return menuItems[index];
}

int32_t COptionMenu::getNbEntries () const
{
	return static_cast<int32_t> (menuItems.size ());
}

COptionMenu* COptionMenu::getSubMenu (int32_t idx) const
{
	CMenuItem* item = getEntry (idx);
	return item ? item->getSubmenu () : nullptr;
}

bool COptionMenu::removeEntry (int32_t index)
{
	if (index < 0 || index >= getNbEntries ())
		return false;
	menuItems.erase (menuItems.begin () + index);
	return true;
}

bool COptionMenu::removeAllEntry ()
{
	menuItems.clear ();
	currentIndex = -1;
	return true;
}

bool COptionMenu::setCurrent (int32_t index, bool countSeparator)
{
	int32_t actual = index;
	if (!countSeparator)
	{
		actual = -1;
		int32_t seen = 0;
		for (int32_t i = 0; i < getNbEntries (); ++i)
		{
			if (menuItems[i]->isSeparator ())
				continue;
			if (seen++ == index)
			{
				actual = i;
				break;
			}
		}
	}
	CMenuItem* item = getEntry (actual);
	if (item == nullptr || item->isSeparator ())
		return false;
	currentIndex = actual;
	if (style & (kCheckStyle | kMultipleCheckStyle))
		checkEntryAlone (actual);
	setDirty ();
	return true;
}

bool COptionMenu::checkEntry (int32_t index, bool state)
{
	CMenuItem* item = getEntry (index);
	if (item == nullptr || item->isSeparator ())
		return false;
	item->setChecked (state);
	return true;
}

bool COptionMenu::checkEntryAlone (int32_t index)
{
	for (int32_t i = 0; i < getNbEntries (); ++i)
		menuItems[i]->setChecked (i == index);
	return true;
}

bool COptionMenu::isCheckEntry (int32_t index) const
{
	CMenuItem* item = getEntry (index);
	return item && !item->isSeparator () && item->isChecked ();
}

COptionMenu* COptionMenu::getLastItemMenu (int32_t& idxInMenu) const
{
	idxInMenu = lastMenu ? static_cast<int32_t> (lastMenu->getValue ()) : -1;
	return lastMenu;
}

void COptionMenu::registerOptionMenuListener (IOptionMenuListener* l)
{
	listeners.push_back (l);
}

void COptionMenu::unregisterOptionMenuListener (IOptionMenuListener* l)
{
	auto it = std::find (listeners.begin (), listeners.end (), l);
	if (it != listeners.end ())
		listeners.erase (it);
}

void COptionMenu::setValue (float val)
{
	int32_t index = static_cast<int32_t> (std::round (val));
	if (index < 0 || index >= getNbEntries ())
		return;
	currentIndex = index;
	if (style & (kCheckStyle | kMultipleCheckStyle))
		checkEntryAlone (index);
	CParamDisplay::setValue (static_cast<float> (index));
	setDirty ();
}

float COptionMenu::getMax () const
{
	return static_cast<float> (getNbEntries () - 1);
}

void COptionMenu::setValueNormalized (float val)
{
	val = std::clamp (val, 0.f, 1.f);
	setValue (std::round (val * (getNbEntries () - 1)));
}

float COptionMenu::getValueNormalized () const
{
	int32_t count = getNbEntries ();
	if (count <= 1)
		return 0.f;
	return getValue () / static_cast<float> (count - 1);
}

void COptionMenu::draw (CDrawContext* pContext)
{
	drawBack (pContext, popupOpen ? bgWhenClick : nullptr);
	if (CMenuItem* item = getCurrent ())
		drawPlatformText (pContext, item->getTitle ().data ());
	setDirty (false);
}

CMouseEventResult COptionMenu::onMouseDown (CPoint&, const CButtonState& buttons)
{
	if (!(buttons & (kLButton | kRButton | kApple)))
		return kMouseEventNotHandled;
	if (bgWhenClick)
		invalid ();
	SharedPointer<COptionMenu> self (this);
	if (getFrame () == nullptr || !getFrame ()->doAfterEventProcessing ([self] () { self->popup (); }))
		popup ();
	return kMouseDownEventHandledButDontNeedMovedOrUpEvents;
}

int32_t COptionMenu::onKeyDown (VstKeyCode& keyCode)
{
	if (keyCode.modifier != 0 || (keyCode.virt != VKEY_RETURN && keyCode.virt != VKEY_UP && keyCode.virt != VKEY_DOWN))
		return -1;
	SharedPointer<COptionMenu> self (this);
	if (getFrame () == nullptr || !getFrame ()->doAfterEventProcessing ([self] () { self->popup (); }))
		popup ();
	return 1;
}

void COptionMenu::beforePopup ()
{
	for (auto* l : std::vector<IOptionMenuListener*> (listeners))
		l->onOptionMenuPrePopup (this);
	for (const auto& item : CMenuItemList (menuItems))
	{
		if (auto* submenu = item->getSubmenu ())
			submenu->beforePopup ();
	}
}

void COptionMenu::afterPopup ()
{
	for (const auto& item : CMenuItemList (menuItems))
	{
		if (auto* submenu = item->getSubmenu ())
			submenu->afterPopup ();
	}
	for (auto* l : std::vector<IOptionMenuListener*> (listeners))
		l->onOptionMenuPostPopup (this);
}

bool COptionMenu::popup (const PopupCallback& callback)
{
	CFrame* frame = getFrame ();
	if (popupOpen || frame == nullptr || frame->getModalView ())
		return false;
	popupCallback = callback;
	beforePopup ();
	lastMenu = nullptr;
	lastResult = -1;
	popupOpen = true;
	auto popupView = owned (new OptionMenuPopup (this, CRect (0, 0, frame->getWidth (), frame->getHeight ())));
	if (!frame->setModalView (popupView))
	{
		popupOpen = false;
		afterPopup ();
		return false;
	}
	if (bgWhenClick)
		invalid ();
	return true;
}

void COptionMenu::popupResult (COptionMenu* selectedMenu, int32_t selectedIndex)
{
	SharedPointer<COptionMenu> guard (this);
	popupOpen = false;
	if (selectedMenu)
	{
		beginEdit ();
		lastMenu = selectedMenu;
		lastResult = selectedIndex;
		selectedMenu->setValue (static_cast<float> (selectedIndex));
		valueChanged ();
		invalid ();
		endEdit ();
	}
	else if (bgWhenClick)
		invalid ();
	afterPopup ();
	if (popupCallback)
	{
		auto callback = std::move (popupCallback);
		popupCallback = nullptr;
		callback (this);
	}
}

//------------------------------------------------------------------------------------------------
// The drawn popup

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

CCoord measure (const std::string& text, bool bold)
{
	Detail::holdFontCaches ();
	cairo_surface_t* surface = cairo_image_surface_create (CAIRO_FORMAT_A8, 1, 1);
	cairo_t* cr = cairo_create (surface);
	cairo_surface_destroy (surface);
	cairo_select_font_face (cr, "Arial", CAIRO_FONT_SLANT_NORMAL, bold ? CAIRO_FONT_WEIGHT_BOLD : CAIRO_FONT_WEIGHT_NORMAL);
	cairo_set_font_size (cr, kPopupFontSize);
	cairo_text_extents_t ext;
	cairo_text_extents (cr, text.c_str (), &ext);
	cairo_destroy (cr);
	return ext.x_advance;
}
}

OptionMenuPopup::OptionMenuPopup (COptionMenu* menu, const CRect& frameSize) : CView (frameSize), topMenu (menu)
{
	topMenu->remember ();
	setTransparency (true);
	CRect r (menu->getViewSize ());
	menu->getGlobalTransform ().transform (r);
	r.normalize ();
	openLevel (menu, CPoint (r.left, r.bottom), r.left);
	if (!levels.empty ())
	{
		int32_t current = menu->getCurrentIndex (true);
		if (selectable (levels[0], current))
			levels[0].hover = current;
	}
}

OptionMenuPopup::~OptionMenuPopup () noexcept
{
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

CRect OptionMenuPopup::getItemRect (size_t level, int32_t index) const
{
	if (level >= levels.size () || index < 0 || index >= static_cast<int32_t> (levels[level].items.size ()))
		return CRect ();
	return levels[level].items[index];
}

int32_t OptionMenuPopup::getHoverIndex (size_t level) const
{
	return level < levels.size () ? levels[level].hover : -1;
}

void OptionMenuPopup::openLevel (COptionMenu* menu, const CPoint& where, CCoord alternativeLeft)
{
	Level level {menu, {}, {}, -1};
	CCoord width = 80;
	CCoord height = 0;
	for (int32_t i = 0; i < menu->getNbEntries (); ++i)
	{
		CMenuItem* item = menu->getEntry (i);
		height += item->isSeparator () ? kSeparatorHeight : kItemHeight;
		if (!item->isSeparator ())
			width = std::max (width, measure (item->getTitle ().getString (), item->isTitle ()) + 2 * kTextPadding + kArrowSpace);
	}
	width = std::ceil (width);
	CRect r (where.x, where.y, where.x + width, where.y + height + 2);
	// Keep the column inside the frame: flip to the other side, then shift.
	if (r.right > size.right)
		r.offset (alternativeLeft - width - r.left, 0);
	if (r.left < size.left)
		r.offset (size.left - r.left, 0);
	if (r.bottom > size.bottom)
		r.offset (0, size.bottom - r.bottom);
	if (r.top < size.top)
		r.offset (0, size.top - r.top);
	level.rect = r;
	CCoord y = r.top + 1;
	for (int32_t i = 0; i < menu->getNbEntries (); ++i)
	{
		CCoord h = menu->getEntry (i)->isSeparator () ? kSeparatorHeight : kItemHeight;
		level.items.emplace_back (r.left + 1, y, r.right - 1, y + h);
		y += h;
	}
	levels.push_back (std::move (level));
	invalid ();
}

bool OptionMenuPopup::hit (const CPoint& where, size_t& level, int32_t& index) const
{
	for (size_t l = levels.size (); l-- > 0;)
	{
		if (!levels[l].rect.pointInside (where))
			continue;
		level = l;
		index = -1;
		for (size_t i = 0; i < levels[l].items.size (); ++i)
		{
			if (levels[l].items[i].pointInside (where))
				index = static_cast<int32_t> (i);
		}
		return true;
	}
	return false;
}

bool OptionMenuPopup::selectable (const Level& level, int32_t index) const
{
	CMenuItem* item = level.menu->getEntry (index);
	return item && !item->isSeparator () && !item->isTitle () && item->isEnabled ();
}

void OptionMenuPopup::activate (size_t level, int32_t index)
{
	if (level >= levels.size () || !selectable (levels[level], index))
		return;
	levels.resize (level + 1);
	levels[level].hover = index;
	CMenuItem* item = levels[level].menu->getEntry (index);
	if (COptionMenu* submenu = item->getSubmenu ())
	{
		const CRect& itemRect = levels[level].items[index];
		openLevel (submenu, CPoint (levels[level].rect.right - 1, itemRect.top - 1), levels[level].rect.left + 1);
		return;
	}
	finish (levels[level].menu, index);
}

void OptionMenuPopup::finish (COptionMenu* selectedMenu, int32_t index)
{
	if (finished)
		return;
	finished = true;
	SharedPointer<CView> guard (this);
	SharedPointer<COptionMenu> top (topMenu);
	SharedPointer<COptionMenu> selected (selectedMenu);
	if (CFrame* frame = topMenu->getFrame ())
		frame->setModalView (nullptr);
	top->popupResult (selected, index);
}

void OptionMenuPopup::moveHover (int direction)
{
	if (levels.empty ())
		return;
	Level& level = levels.back ();
	int32_t count = level.menu->getNbEntries ();
	int32_t i = level.hover;
	for (int32_t step = 0; step < count; ++step)
	{
		i += direction;
		if (i < 0)
			i = count - 1;
		else if (i >= count)
			i = 0;
		if (selectable (level, i))
		{
			level.hover = i;
			invalid ();
			return;
		}
	}
}

void OptionMenuPopup::invalidRect (const CRect& rect)
{
	if (CFrame* frame = getFrame ())
	{
		if (IPlatformFrame* window = frame->getPlatformFrame ())
			window->invalidRect (rect);
	}
}

void OptionMenuPopup::drawRect (CDrawContext* context, const CRect&)
{
	draw (context);
}

void OptionMenuPopup::draw (CDrawContext* context)
{
	auto font = makeOwned<CFontDesc> ("Arial", kPopupFontSize);
	for (const auto& level : levels)
	{
		context->setDrawMode (kAliasing);
		context->setLineWidth (1);
		context->setFillColor (kPopupBack);
		context->setFrameColor (kPopupFrame);
		context->drawRect (level.rect, kDrawFilledAndStroked);
		for (int32_t i = 0; i < static_cast<int32_t> (level.items.size ()); ++i)
		{
			CMenuItem* item = level.menu->getEntry (i);
			const CRect& r = level.items[i];
			if (item->isSeparator ())
			{
				context->setFrameColor (kPopupFrame);
				CCoord y = std::floor (r.getCenter ().y);
				context->drawLine (CPoint (r.left + 4, y), CPoint (r.right - 4, y));
				continue;
			}
			bool hover = i == level.hover;
			if (hover)
			{
				context->setFillColor (kPopupHover);
				context->drawRect (r, kDrawFilled);
			}
			font->setStyle (item->isTitle () ? kBoldFace : 0);
			context->setFont (font);
			context->setFontColor (hover ? kWhiteCColor : (selectable (level, i) || item->isTitle () ? kPopupText : kPopupDisabled));
			CRect textRect (r);
			textRect.left += kTextPadding;
			std::string title = item->getTitle ().getString ();
			if (item->isChecked ())
				title = "\xE2\x9C\x93 " + title;
			context->drawString (title.c_str (), textRect, kLeftText);
			if (item->getSubmenu ())
			{
				CRect arrow (r.right - kArrowSpace, r.top, r.right - 4, r.bottom);
				context->drawString ("\xE2\x96\xB8", arrow, kCenterText);
			}
		}
	}
	setDirty (false);
}

CMouseEventResult OptionMenuPopup::onMouseDown (CPoint& where, const CButtonState&)
{
	size_t level;
	int32_t index;
	if (!hit (where, level, index))
		finish (nullptr, -1);
	else
		activate (level, index);
	return kMouseDownEventHandledButDontNeedMovedOrUpEvents;
}

CMouseEventResult OptionMenuPopup::onMouseMoved (CPoint& where, const CButtonState&)
{
	size_t level;
	int32_t index;
	if (!hit (where, level, index) || !selectable (levels[level], index))
		return kMouseEventHandled;
	if (levels[level].hover != index)
	{
		levels.resize (level + 1);
		levels[level].hover = index;
		invalid ();
		if (COptionMenu* submenu = levels[level].menu->getEntry (index)->getSubmenu ())
		{
			const CRect& itemRect = levels[level].items[index];
			openLevel (submenu, CPoint (levels[level].rect.right - 1, itemRect.top - 1), levels[level].rect.left + 1);
		}
	}
	return kMouseEventHandled;
}

CMouseEventResult OptionMenuPopup::onMouseUp (CPoint&, const CButtonState&)
{
	return kMouseEventHandled;
}

int32_t OptionMenuPopup::onKeyDown (VstKeyCode& keyCode)
{
	switch (keyCode.virt)
	{
		case VKEY_ESCAPE:
			finish (nullptr, -1);
			return 1;
		case VKEY_UP:
			moveHover (-1);
			return 1;
		case VKEY_DOWN:
			moveHover (1);
			return 1;
		case VKEY_LEFT:
			if (levels.size () > 1)
			{
				levels.pop_back ();
				invalid ();
			}
			return 1;
		case VKEY_RIGHT:
		{
			Level& level = levels.back ();
			CMenuItem* item = level.menu->getEntry (level.hover);
			if (item && item->getSubmenu ())
			{
				activate (levels.size () - 1, level.hover);
				moveHover (1);
			}
			return 1;
		}
		case VKEY_RETURN:
		case VKEY_ENTER:
		case VKEY_SPACE:
		{
			size_t l = levels.size () - 1;
			int32_t hover = levels[l].hover;
			bool opensSubmenu = levels[l].menu->getEntry (hover) && levels[l].menu->getEntry (hover)->getSubmenu ();
			activate (l, hover);
			if (opensSubmenu)
				moveHover (1);
			return 1;
		}
		default:
			break;
	}
	return 1;
}
} // VSTGUI
