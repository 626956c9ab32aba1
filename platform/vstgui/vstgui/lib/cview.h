#pragma once

#include "cbuttonstate.h"
#include "cdrawdefs.h"
#include "cgraphicstransform.h"
#include "cpoint.h"
#include "crect.h"
#include "iviewlistener.h"
#include "vstguifwd.h"
#include "vstkeycode.h"

#include <map>
#include <vector>

namespace VSTGUI
{
// Four characters packed big-endian, the value a multi-character literal has.
constexpr CViewAttributeID makeViewAttributeID (const char (&id)[5])
{
	return (static_cast<CViewAttributeID> (static_cast<unsigned char> (id[0])) << 24) |
	       (static_cast<CViewAttributeID> (static_cast<unsigned char> (id[1])) << 16) |
	       (static_cast<CViewAttributeID> (static_cast<unsigned char> (id[2])) << 8) |
	       static_cast<CViewAttributeID> (static_cast<unsigned char> (id[3]));
}

inline constexpr CViewAttributeID kCViewAttributeReferencePointer = makeViewAttributeID ("cvrp");
inline constexpr CViewAttributeID kCViewTooltipAttribute = makeViewAttributeID ("cvtt");
inline constexpr CViewAttributeID kCViewControllerAttribute = makeViewAttributeID ("ictr");

class CView : public CBaseObject
{
public:
	explicit CView (const CRect& size);
	CView (const CView& view);
	~CView () noexcept override;

	// Drawing
	virtual void draw (CDrawContext* context);
	virtual void drawRect (CDrawContext* context, const CRect& updateRect);
	virtual bool checkUpdate (const CRect& updateRect) const { return updateRect.rectOverlap (size); }
	virtual void setDirty (bool val = true);
	virtual bool isDirty () const { return (viewFlags & kDirty) != 0; }
	virtual void invalidRect (const CRect& rect);
	virtual void invalid ();

	// Mouse
	virtual CMouseEventResult onMouseDown (CPoint& where, const CButtonState& buttons);
	virtual CMouseEventResult onMouseUp (CPoint& where, const CButtonState& buttons);
	virtual CMouseEventResult onMouseMoved (CPoint& where, const CButtonState& buttons);
	virtual CMouseEventResult onMouseCancel ();
	virtual CMouseEventResult onMouseEntered (CPoint& where, const CButtonState& buttons);
	virtual CMouseEventResult onMouseExited (CPoint& where, const CButtonState& buttons);
	virtual bool onWheel (const CPoint& where, const CMouseWheelAxis& axis, const float& distance,
	                      const CButtonState& buttons);
	virtual bool hitTest (const CPoint& where, const CButtonState& buttons = -1);
	virtual void setMouseEnabled (bool bEnable = true);
	bool getMouseEnabled () const { return (viewFlags & kMouseEnabled) != 0; }
	virtual void setMouseableArea (const CRect& rect);
	CRect getMouseableArea () const;

	// Keys and focus
	virtual int32_t onKeyDown (VstKeyCode& keyCode);
	virtual int32_t onKeyUp (VstKeyCode& keyCode);
	virtual void takeFocus ();
	virtual void looseFocus ();
	virtual void setWantsFocus (bool state);
	bool wantsFocus () const { return (viewFlags & kWantsFocus) != 0; }

	// Attributes
	bool getAttributeSize (const CViewAttributeID id, uint32_t& outSize) const;
	bool getAttribute (const CViewAttributeID id, const uint32_t inSize, void* outData, uint32_t& outSize) const;
	bool setAttribute (const CViewAttributeID id, const uint32_t inSize, const void* inData);
	bool removeAttribute (const CViewAttributeID id);
	template <typename T>
	bool setAttribute (const CViewAttributeID id, const T& data)
	{
		return setAttribute (id, sizeof (T), &data);
	}
	template <typename T>
	bool getAttribute (const CViewAttributeID id, T& data) const
	{
		uint32_t outSize;
		if (getAttribute (id, sizeof (T), &data, outSize))
			return outSize == sizeof (T);
		return false;
	}

	void setTooltipText (UTF8StringPtr text);

	// Background
	virtual void setBackground (CBitmap* background);
	CBitmap* getBackground () const { return background; }
	virtual void setDisabledBackground (CBitmap* background);
	CBitmap* getDisabledBackground () const { return disabledBackground; }
	CBitmap* getDrawBackground () const;

	// Geometry
	const CRect& getViewSize () const { return size; }
	virtual void setViewSize (const CRect& rect, bool invalid = true);
	CCoord getWidth () const { return size.getWidth (); }
	CCoord getHeight () const { return size.getHeight (); }
	virtual void parentSizeChanged () {}
	virtual CRect getVisibleViewSize () const;
	virtual void setAutosizeFlags (int32_t flags) { autosizeFlags = flags; }
	int32_t getAutosizeFlags () const { return autosizeFlags; }
	virtual bool sizeToFit () { return false; }

	CGraphicsTransform getGlobalTransform (bool ignoreFrame = false) const;
	template <typename T>
	T& translateToGlobal (T& t, bool ignoreFrame = false) const
	{
		return getGlobalTransform (ignoreFrame).transform (t);
	}
	template <typename T>
	T& translateToLocal (T& t, bool ignoreFrame = false) const
	{
		return getGlobalTransform (ignoreFrame).inverse ().transform (t);
	}
	CPoint& frameToLocal (CPoint& point) const;
	CPoint& localToFrame (CPoint& point) const;

	// Visibility
	virtual void setVisible (bool state);
	bool isVisible () const { return (viewFlags & kVisible) != 0 && alphaValue > 0.f; }
	virtual void setAlphaValue (float alpha);
	float getAlphaValue () const { return alphaValue; }
	virtual void setTransparency (bool val);
	bool getTransparency () const { return (viewFlags & kTransparencyEnabled) != 0; }

	// Tree
	virtual bool attached (CView* parent);
	virtual bool removed (CView* parent);
	bool isAttached () const { return (viewFlags & kIsAttached) != 0; }
	CView* getParentView () const { return parentView; }
	CFrame* getFrame () const { return parentFrame; }
	virtual VSTGUIEditorInterface* getEditor () const;
	virtual CViewContainer* asViewContainer () { return nullptr; }
	virtual const CViewContainer* asViewContainer () const { return nullptr; }
	void setParentView (CView* parent) { parentView = parent; }
	void setParentFrame (CFrame* frame) { parentFrame = frame; }

	// Listeners
	void registerViewListener (IViewListener* listener);
	void unregisterViewListener (IViewListener* listener);
	void registerViewMouseListener (IViewMouseListener* listener);
	void unregisterViewMouseListener (IViewMouseListener* listener);
	// Runs the mouse listeners newest first; the first result other than NotHandled or
	// NotImplemented wins. Without a listener, or none acting, the result is NotHandled.
	CMouseEventResult callMouseListener (int kind, CPoint pos, CButtonState buttons);
	void callMouseListenerEnteredExited (bool entered);
	enum MouseListenerCall
	{
		kMouseDown,
		kMouseUp,
		kMouseMoved,
		kMouseCancel
	};
	bool hasMouseListeners () const { return !mouseListeners.empty (); }

	// When set, setDirty invalidates at once instead of waiting for the frame's idle.
	static bool kDirtyCallAlwaysOnMainThread;

	CLASS_METHODS (CView, CBaseObject)

protected:
	enum
	{
		kMouseEnabled = 1 << 0,
		kTransparencyEnabled = 1 << 1,
		kWantsFocus = 1 << 2,
		kIsAttached = 1 << 3,
		kVisible = 1 << 4,
		kDirty = 1 << 5,
		kHasCustomMouseableArea = 1 << 6
	};

	void setViewFlag (int32_t bit, bool state)
	{
		if (state)
			viewFlags |= bit;
		else
			viewFlags &= ~bit;
	}
	bool hasViewFlag (int32_t bit) const { return (viewFlags & bit) != 0; }
	void beforeDelete () override;

	CRect size;
	CRect mouseableArea;

private:
	CFrame* parentFrame {nullptr};
	CView* parentView {nullptr};
	// Shared pointers take the new bitmap before they let go of the old one, so setting the
	// bitmap a view already holds never frees it.
	SharedPointer<CBitmap> background;
	SharedPointer<CBitmap> disabledBackground;
	int32_t viewFlags {0};
	int32_t autosizeFlags {0};
	float alphaValue {1.f};
	std::map<CViewAttributeID, std::vector<uint8_t>> attributes;
	std::vector<IViewListener*> viewListeners;
	std::vector<IViewMouseListener*> mouseListeners;
};

enum CViewAutosizing
{
	kAutosizeNone = 0,
	kAutosizeLeft = 1 << 0,
	kAutosizeTop = 1 << 1,
	kAutosizeRight = 1 << 2,
	kAutosizeBottom = 1 << 3,
	kAutosizeColumn = 1 << 4,
	kAutosizeRow = 1 << 5,
	kAutosizeAll = kAutosizeLeft | kAutosizeTop | kAutosizeRight | kAutosizeBottom
};
} // VSTGUI
