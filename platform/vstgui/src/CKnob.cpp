#include "vstgui/lib/controls/cknob.h"

#include "vstgui/lib/cbitmap.h"
#include "vstgui/lib/cdrawcontext.h"
#include "vstgui/lib/cframe.h"

#include <cmath>

namespace VSTGUI
{
namespace
{
// Pixels of drag for the whole range in linear mode.
constexpr float kKnobRange = 200.f;
}

CKnobBase::CKnobBase (const CRect& size, IControlListener* listener, int32_t tag, CBitmap* background)
: CControl (size, listener, tag, background)
, startAngle (static_cast<float> (3. * M_PI / 4.))
, rangeAngle (static_cast<float> (3. * M_PI / 2.))
{
	setWantsFocus (true);
	compute ();
}

CKnobBase::CKnobBase (const CKnobBase& k)
: CControl (k), startAngle (k.startAngle), rangeAngle (k.rangeAngle), zoomFactor (k.zoomFactor), inset (k.inset)
{
	compute ();
}

CKnobBase::~CKnobBase () noexcept
{
	delete mouseState;
}

void CKnobBase::setStartAngle (float val)
{
	startAngle = val;
	compute ();
}

void CKnobBase::setRangeAngle (float val)
{
	rangeAngle = val;
	compute ();
}

void CKnobBase::compute ()
{
	setDirty ();
}

// Angles are on screen: zero points right and they grow clockwise (y points down).
void CKnobBase::valueToPoint (CPoint& point) const
{
	float alpha = startAngle + getValueNormalized () * rangeAngle;
	CPoint c (getViewSize ().getWidth () / 2., getViewSize ().getHeight () / 2.);
	point.x = c.x + std::cos (alpha) * (c.x - inset);
	point.y = c.y + std::sin (alpha) * (c.y - inset);
}

float CKnobBase::valueFromPoint (CPoint& point) const
{
	CPoint c (getViewSize ().getWidth () / 2., getViewSize ().getHeight () / 2.);
	double alpha = std::atan2 (point.y - c.y, point.x - c.x);
	double travelled = std::fmod (alpha - static_cast<double> (startAngle), 2. * M_PI);
	if (travelled < 0.)
		travelled += 2. * M_PI;
	double range = std::fabs (rangeAngle);
	// In the gap between the ends, the nearer end.
	if (travelled > range)
		travelled = (travelled - range < 2. * M_PI - travelled) ? range : 0.;
	return static_cast<float> (getMin () + (range > 0. ? travelled / range : 0.) * getRange ());
}

CMouseEventResult CKnobBase::onMouseDown (CPoint& where, const CButtonState& buttons)
{
	if (!buttons.isLeftButton ())
		return kMouseEventNotHandled;
	beginEdit ();
	if (checkDefaultValue (buttons))
	{
		endEdit ();
		return kMouseDownEventHandledButDontNeedMovedOrUpEvents;
	}
	delete mouseState;
	mouseState = new MouseEditingState;
	mouseState->firstPoint = where;
	mouseState->lastPoint = CPoint (-1, -1);
	mouseState->entryValue = value;
	mouseState->cancelValue = value;
	mouseState->range = kKnobRange;
	mouseState->coef = (getMax () - getMin ()) / mouseState->range;
	mouseState->oldButton = buttons;

	int32_t mode = kCircularMode;
	int32_t frameMode = getFrame () ? getFrame ()->getKnobMode () : kCircularMode;
	if (frameMode == kLinearMode)
	{
		if (!(buttons & kAlt))
			mode = kLinearMode;
	}
	else if (buttons & kAlt)
		mode = kLinearMode;

	if (mode == kLinearMode)
	{
		if (buttons & kZoomModifier)
			mouseState->range *= zoomFactor;
		mouseState->lastPoint = where;
		mouseState->modeLinear = true;
		mouseState->coef = (getMax () - getMin ()) / mouseState->range;
		return kMouseEventHandled;
	}
	CPoint where2 (where);
	where2.offset (-getViewSize ().left, -getViewSize ().top);
	mouseState->startValue = valueFromPoint (where2);
	mouseState->lastPoint = CPoint (-1, -1);
	return onMouseMoved (where, buttons);
}

CMouseEventResult CKnobBase::onMouseMoved (CPoint& where, const CButtonState& buttons)
{
	if (!buttons.isLeftButton () || !isEditing () || mouseState == nullptr)
		return kMouseEventNotHandled;
	if (where == mouseState->lastPoint)
		return kMouseEventHandled;
	mouseState->lastPoint = where;
	if (mouseState->modeLinear)
	{
		CCoord diff = (mouseState->firstPoint.y - where.y) + (where.x - mouseState->firstPoint.x);
		if (buttons != mouseState->oldButton)
		{
			// Switching fine adjust mid-drag keeps the value where it is.
			mouseState->range = kKnobRange;
			if (buttons & kZoomModifier)
				mouseState->range *= zoomFactor;
			float coef2 = (getMax () - getMin ()) / mouseState->range;
			mouseState->entryValue += static_cast<float> (diff * (mouseState->coef - coef2));
			mouseState->coef = coef2;
			mouseState->oldButton = buttons;
		}
		value = static_cast<float> (mouseState->entryValue + diff * mouseState->coef);
		bounceValue ();
	}
	else
	{
		float middle = (getMax () - getMin ()) * 0.5f;
		CPoint where2 (where);
		where2.offset (-getViewSize ().left, -getViewSize ().top);
		value = valueFromPoint (where2);
		if (mouseState->startValue - value > middle)
			value = getMax ();
		else if (value - mouseState->startValue > middle)
			value = getMin ();
		else
			mouseState->startValue = value;
	}
	if (value != getOldValue ())
		valueChanged ();
	if (isDirty ())
		invalid ();
	return kMouseEventHandled;
}

CMouseEventResult CKnobBase::onMouseUp (CPoint&, const CButtonState&)
{
	if (isEditing ())
	{
		endEdit ();
		delete mouseState;
		mouseState = nullptr;
	}
	return kMouseEventHandled;
}

CMouseEventResult CKnobBase::onMouseCancel ()
{
	if (isEditing () && mouseState)
	{
		value = mouseState->cancelValue;
		if (isDirty ())
		{
			valueChanged ();
			invalid ();
		}
		endEdit ();
		delete mouseState;
		mouseState = nullptr;
	}
	return kMouseEventHandled;
}

bool CKnobBase::onWheel (const CPoint&, const CMouseWheelAxis&, const float& distance, const CButtonState& buttons)
{
	if (!getMouseEnabled ())
		return false;
	float v = getValueNormalized ();
	if (buttons & kZoomModifier)
		v += 0.1f * distance * getWheelInc ();
	else
		v += distance * getWheelInc ();
	setValueNormalized (v);
	if (isDirty ())
	{
		invalid ();
		if (!wheelEditTimer)
		{
			beginEdit ();
			wheelEditTimer = owned (new CVSTGUITimer ([this] (CVSTGUITimer*) { endWheelEdit (); }, 500, true));
		}
		else
		{
			wheelEditTimer->stop ();
			wheelEditTimer->start ();
		}
		valueChanged ();
	}
	return true;
}

void CKnobBase::endWheelEdit ()
{
	if (wheelEditTimer)
	{
		wheelEditTimer->stop ();
		wheelEditTimer = nullptr;
		endEdit ();
	}
}

//------------------------------------------------------------------------------------------------

CKnob::CKnob (const CRect& size, IControlListener* listener, int32_t tag, CBitmap* background, CBitmap* handle,
              const CPoint& offset, int32_t drawStyle)
: CKnobBase (size, listener, tag, background), offset (offset), drawStyle (drawStyle)
{
	setHandleBitmap (handle);
}

CKnob::CKnob (const CKnob& k)
: CKnobBase (k), offset (k.offset), drawStyle (k.drawStyle), colorHandle (k.colorHandle), handleLineWidth (k.handleLineWidth)
{
	setHandleBitmap (k.handleBitmap);
}

CKnob::~CKnob () noexcept = default;

void CKnob::setHandleBitmap (CBitmap* bitmap)
{
	handleBitmap = bitmap;
}

void CKnob::draw (CDrawContext* pContext)
{
	if (getDrawBackground ())
		getDrawBackground ()->draw (pContext, getViewSize (), offset);
	if (!(drawStyle & kSkipHandleDrawing))
	{
		CPoint where;
		valueToPoint (where);
		where.offset (getViewSize ().left, getViewSize ().top);
		if (handleBitmap)
		{
			CPoint hs = handleBitmap->getSize ();
			CRect r (where.x - hs.x / 2., where.y - hs.y / 2., where.x + hs.x / 2., where.y + hs.y / 2.);
			handleBitmap->draw (pContext, r);
		}
		else
		{
			pContext->setDrawMode (kAntiAliasing);
			pContext->setLineWidth (handleLineWidth);
			pContext->setFrameColor (colorHandle);
			pContext->drawLine (getViewSize ().getCenter (), where);
		}
	}
	setDirty (false);
}

//------------------------------------------------------------------------------------------------

CAnimKnob::CAnimKnob (const CRect& size, IControlListener* listener, int32_t tag, CBitmap* background,
                      const CPoint& offset)
: CKnobBase (size, listener, tag, nullptr), offset (offset)
{
	heightOfOneImage = size.getHeight ();
	setBackground (background);
}

CAnimKnob::CAnimKnob (const CRect& size, IControlListener* listener, int32_t tag, int32_t subPixmaps,
                      CCoord height, CBitmap* background, const CPoint& offset)
: CKnobBase (size, listener, tag, nullptr), offset (offset)
{
	CKnobBase::setBackground (background);
	heightOfOneImage = height;
	this->subPixmaps = subPixmaps;
}

CAnimKnob::CAnimKnob (const CAnimKnob& k) : CKnobBase (k), IMultiBitmapControl (k), offset (k.offset), inverseBitmap (k.inverseBitmap)
{
}

void CAnimKnob::setHeightOfOneImage (const CCoord& height)
{
	IMultiBitmapControl::setHeightOfOneImage (height);
	if (getDrawBackground () && heightOfOneImage > 0)
		setNumSubPixmaps (static_cast<int32_t> (getDrawBackground ()->getHeight () / heightOfOneImage));
}

void CAnimKnob::setBackground (CBitmap* background)
{
	CKnobBase::setBackground (background);
	if (background && heightOfOneImage > 0)
		setNumSubPixmaps (static_cast<int32_t> (background->getHeight () / heightOfOneImage));
}

void CAnimKnob::draw (CDrawContext* pContext)
{
	if (auto* bitmap = getDrawBackground ())
	{
		CPoint where (offset.x, 0);
		float val = getValueNormalized ();
		if (val >= 0.f && heightOfOneImage > 0.)
		{
			CCoord span = heightOfOneImage * (getNumSubPixmaps () - 1);
			where.y = std::floor ((inverseBitmap ? (1. - val) : val) * span);
			where.y -= static_cast<int32_t> (where.y) % static_cast<int32_t> (heightOfOneImage);
		}
		bitmap->draw (pContext, getViewSize (), where);
	}
	setDirty (false);
}
} // VSTGUI
