#include "vstgui/lib/controls/coptionmenu.h"

#include "vstgui/lib/cbitmap.h"
#include "vstgui/lib/cdrawcontext.h"
#include "vstgui/lib/cframe.h"
#include "vstgui/lib/platform/optionmenupopup.h"

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
	auto popupView = owned (new OptionMenuPopup (this));
	if (!frame->setModalView (popupView))
	{
		afterPopup ();
		popupOpen = false;
		return false;
	}
	if (bgWhenClick)
		invalid ();
	return true;
}

void COptionMenu::popupResult (COptionMenu* selectedMenu, int32_t selectedIndex)
{
	SharedPointer<COptionMenu> guard (this);
	// VSTGUI's order: the choice, then the post-popup listeners, and only then the menu counts as closed.
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
	popupOpen = false;
	if (popupCallback)
	{
		auto callback = std::move (popupCallback);
		popupCallback = nullptr;
		callback (this);
	}
}
} // VSTGUI
