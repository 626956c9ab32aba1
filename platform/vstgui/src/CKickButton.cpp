#include "vstgui/lib/controls/cbuttons.h"

#include "vstgui/lib/cbitmap.h"
#include "vstgui/lib/cdrawcontext.h"

namespace VSTGUI
{
CKickButton::CKickButton (const CRect& size, IControlListener* listener, int32_t tag, CBitmap* background,
                          const CPoint& offset)
: CControl (size, listener, tag, background), offset (offset)
{
	heightOfOneImage = size.getHeight ();
	setWantsFocus (true);
}

CKickButton::CKickButton (const CRect& size, IControlListener* listener, int32_t tag, CCoord heightOfOneImage,
                          CBitmap* background, const CPoint& offset)
: CControl (size, listener, tag, background), offset (offset)
{
	setHeightOfOneImage (heightOfOneImage);
	setWantsFocus (true);
}

CKickButton::CKickButton (const CKickButton& b) : CControl (b), IMultiBitmapControl (b), offset (b.offset)
{
}

void CKickButton::draw (CDrawContext* pContext)
{
	CPoint where (offset.x, offset.y);
	bounceValue ();
	if (value == getMax ())
		where.y += heightOfOneImage;
	if (auto* bitmap = getDrawBackground ())
		bitmap->draw (pContext, getViewSize (), where);
	setDirty (false);
}

CMouseEventResult CKickButton::onMouseDown (CPoint& where, const CButtonState& buttons)
{
	if (!(buttons & kLButton))
		return kMouseEventNotHandled;
	beginEdit ();
	return onMouseMoved (where, buttons);
}

// The edges count as inside, unlike hit testing.
CMouseEventResult CKickButton::onMouseMoved (CPoint& where, const CButtonState&)
{
	if (!isEditing ())
		return kMouseEventNotHandled;
	const CRect& r = getViewSize ();
	if (where.x >= r.left && where.y >= r.top && where.x <= r.right && where.y <= r.bottom)
		value = getMax ();
	else
		value = getMin ();
	if (isDirty ())
		invalid ();
	return kMouseEventHandled;
}

CMouseEventResult CKickButton::onMouseUp (CPoint&, const CButtonState&)
{
	if (isEditing ())
	{
		if (value > 0.f)
			valueChanged ();
		value = getMin ();
		valueChanged ();
		if (isDirty ())
			invalid ();
		endEdit ();
	}
	return kMouseEventHandled;
}

CMouseEventResult CKickButton::onMouseCancel ()
{
	if (isEditing ())
	{
		value = getMin ();
		if (isDirty ())
		{
			valueChanged ();
			invalid ();
		}
		endEdit ();
	}
	return kMouseEventHandled;
}

int32_t CKickButton::onKeyDown (VstKeyCode& keyCode)
{
	if (keyCode.modifier == 0 && keyCode.virt == VKEY_RETURN)
	{
		if (value != getMax ())
		{
			beginEdit ();
			value = getMax ();
			invalid ();
			valueChanged ();
		}
		return 1;
	}
	return -1;
}

int32_t CKickButton::onKeyUp (VstKeyCode& keyCode)
{
	if (keyCode.modifier == 0 && keyCode.virt == VKEY_RETURN)
	{
		if (isEditing ())
		{
			value = getMin ();
			invalid ();
			valueChanged ();
			endEdit ();
		}
		return 1;
	}
	return -1;
}
} // VSTGUI
