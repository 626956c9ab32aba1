#pragma once

#include "../cstring.h"
#include "cparamdisplay.h"
#include "ioptionmenulistener.h"

#include <functional>
#include <vector>

namespace VSTGUI
{
class CMenuItem : public CBaseObject
{
public:
	enum Flags
	{
		kNoFlags = 0,
		kDisabled = 1 << 0,
		kTitle = 1 << 1,
		kChecked = 1 << 2,
		kSeparator = 1 << 3
	};

	CMenuItem (const UTF8String& title, const UTF8String& keycode = "", int32_t keyModifiers = 0,
	           CBitmap* icon = nullptr, int32_t flags = kNoFlags);
	CMenuItem (const UTF8String& title, COptionMenu* submenu, CBitmap* icon = nullptr);
	CMenuItem (const UTF8String& title, int32_t tag);
	CMenuItem (const CMenuItem& item);
	~CMenuItem () noexcept override;

	virtual void setTitle (const UTF8String& title);
	virtual void setSubmenu (COptionMenu* submenu);
	virtual void setKey (const UTF8String& keyCode, int32_t keyModifiers = 0);
	virtual void setVirtualKey (int32_t virtualKeyCode, int32_t keyModifiers = 0);
	virtual void setEnabled (bool state = true);
	virtual void setChecked (bool state = true);
	virtual void setIsTitle (bool state = true);
	virtual void setIsSeparator (bool state = true);
	virtual void setIcon (CBitmap* icon);
	virtual void setTag (int32_t tag);

	bool isEnabled () const { return !(flags & kDisabled); }
	bool isChecked () const { return (flags & kChecked) != 0; }
	bool isTitle () const { return (flags & kTitle) != 0; }
	bool isSeparator () const { return (flags & kSeparator) != 0; }
	const UTF8String& getTitle () const { return title; }
	int32_t getKeyModifiers () const { return keyModifiers; }
	const UTF8String& getKeycode () const { return keyCode; }
	int32_t getVirtualKeyCode () const { return virtualKeyCode; }
	COptionMenu* getSubmenu () const { return submenu; }
	CBitmap* getIcon () const { return icon; }
	int32_t getTag () const { return tag; }

	CLASS_METHODS (CMenuItem, CBaseObject)

protected:
	UTF8String title;
	UTF8String keyCode;
	COptionMenu* submenu {nullptr};
	CBitmap* icon {nullptr};
	int32_t flags;
	int32_t keyModifiers;
	int32_t virtualKeyCode {0};
	int32_t tag {-1};
};

using CMenuItemList = std::vector<SharedPointer<CMenuItem>>;

class COptionMenu : public CParamDisplay
{
public:
	enum Style
	{
		kPopupStyle = 1 << 8,
		kCheckStyle = 1 << 9,
		kMultipleCheckStyle = 1 << 10
	};

	COptionMenu ();
	COptionMenu (const CRect& size, IControlListener* listener, int32_t tag, CBitmap* background = nullptr,
	             CBitmap* bgWhenClick = nullptr, const int32_t style = 0);
	COptionMenu (const COptionMenu& menu);
	~COptionMenu () noexcept override;

	virtual CMenuItem* addEntry (CMenuItem* item, int32_t index = -1);
	virtual CMenuItem* addEntry (COptionMenu* submenu, const UTF8String& title);
	virtual CMenuItem* addEntry (const UTF8String& title, int32_t index = -1, int32_t itemFlags = CMenuItem::kNoFlags);
	virtual CMenuItem* addSeparator (int32_t index = -1);
	virtual CMenuItem* getCurrent () const;
	virtual int32_t getCurrentIndex (bool countSeparator = false) const;
	virtual CMenuItem* getEntry (int32_t index) const;
	virtual int32_t getNbEntries () const;
	virtual COptionMenu* getSubMenu (int32_t idx) const;
	virtual bool removeEntry (int32_t index);
	virtual bool removeAllEntry ();
	virtual bool setCurrent (int32_t index, bool countSeparator = true);
	virtual bool checkEntry (int32_t index, bool state);
	virtual bool checkEntryAlone (int32_t index);
	virtual bool isCheckEntry (int32_t index) const;
	CMenuItemList* getItems () const { return const_cast<CMenuItemList*> (&menuItems); }

	virtual int32_t getLastResult () const { return lastResult; }
	COptionMenu* getLastItemMenu (int32_t& idxInMenu) const;

	void setPrefixNumbers (int32_t preCount) { prefixNumbers = preCount; }
	int32_t getPrefixNumbers () const { return prefixNumbers; }

	void registerOptionMenuListener (IOptionMenuListener* listener);
	void unregisterOptionMenuListener (IOptionMenuListener* listener);

	using PopupCallback = std::function<void (COptionMenu* menu)>;
	// Shows the menu; the choice arrives later, when the person picks an entry or dismisses it.
	bool popup (const PopupCallback& callback = {});

	void setValue (float val) override;
	void setMin (float) override {}
	float getMin () const override { return 0.f; }
	void setMax (float) override {}
	float getMax () const override;
	void setValueNormalized (float val) override;
	float getValueNormalized () const override;

	void draw (CDrawContext* pContext) override;
	CMouseEventResult onMouseDown (CPoint& where, const CButtonState& buttons) override;
	int32_t onKeyDown (VstKeyCode& keyCode) override;
	void takeFocus () override {}
	void looseFocus () override {}

	// Called by the popup when it closes; selectedMenu is null when nothing was chosen.
	void popupResult (COptionMenu* selectedMenu, int32_t selectedIndex);

	CLASS_METHODS (COptionMenu, CParamDisplay)

protected:
	void beforePopup ();
	void afterPopup ();

	CMenuItemList menuItems;
	std::vector<IOptionMenuListener*> listeners;
	PopupCallback popupCallback;
	bool popupOpen {false};
	int32_t currentIndex {-1};
	int32_t lastResult {-1};
	int32_t prefixNumbers {0};
	CBitmap* bgWhenClick {nullptr};
	COptionMenu* lastMenu {nullptr};
};
} // VSTGUI
