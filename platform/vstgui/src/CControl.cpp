#include "vstgui/lib/controls/ccontrol.h"

#include "vstgui/lib/cbitmap.h"
#include "vstgui/lib/cframe.h"

#include <algorithm>

namespace VSTGUI
{
int32_t CControl::kZoomModifier = kShift;
int32_t CControl::kDefaultValueModifier = kControl;

CControl::CControl (const CRect& size, IControlListener* listener, int32_t tag, CBitmap* pBackground)
: CView (size), listener (listener), tag (tag)
{
	setTransparency (false);
	setMouseEnabled (true);
	if (pBackground)
		setBackground (pBackground);
	setDirty (true);
}

CControl::CControl (const CControl& c)
: CView (c)
, listener (c.listener)
, tag (c.tag)
, oldValue (c.oldValue)
, defaultValue (c.defaultValue)
, value (c.value)
, vmin (c.vmin)
, vmax (c.vmax)
, wheelInc (c.wheelInc)
{
}

CControl::~CControl () noexcept = default;

void CControl::setValue (float val)
{
	if (val < getMin ())
		val = getMin ();
	else if (val > getMax ())
		val = getMax ();
	value = val;
}

void CControl::setValueNormalized (float val)
{
	val = std::clamp (val, 0.f, 1.f);
	setValue (getRange () * val + getMin ());
}

float CControl::getValueNormalized () const
{
	float range = getRange ();
	if (range == 0.f)
		return 0.f;
	return (getValue () - getMin ()) / range;
}

void CControl::setMin (float val)
{
	// Pulled in directly, without clamping against the other bound: a 60..108 control made
	// from 0..1 by setting the minimum first starts at 60.
	vmin = val;
	if (value < val)
		value = val;
}

void CControl::setMax (float val)
{
	vmax = val;
	if (value > val)
		value = val;
}

void CControl::bounceValue ()
{
	if (value > getMax ())
		value = getMax ();
	else if (value < getMin ())
		value = getMin ();
}

bool CControl::checkDefaultValue (CButtonState button)
{
	if (button.isLeftButton () && button.getModifierState () == kDefaultValueModifier)
	{
		float defValue = getDefaultValue ();
		if (defValue != getValue ())
		{
			beginEdit ();
			setValue (defValue);
			valueChanged ();
			endEdit ();
			setDirty ();
		}
		return true;
	}
	return false;
}

void CControl::valueChanged ()
{
	if (listener)
		listener->valueChanged (this);
	for (auto* l : std::vector<IControlListener*> (subListeners))
		l->valueChanged (this);
}

void CControl::setTag (int32_t val)
{
	if (listener)
		listener->controlTagWillChange (this);
	for (auto* l : std::vector<IControlListener*> (subListeners))
		l->controlTagWillChange (this);
	tag = val;
	if (listener)
		listener->controlTagDidChange (this);
	for (auto* l : std::vector<IControlListener*> (subListeners))
		l->controlTagDidChange (this);
}

void CControl::beginEdit ()
{
	if (++editing != 1)
		return;
	if (listener)
		listener->controlBeginEdit (this);
	for (auto* l : std::vector<IControlListener*> (subListeners))
		l->controlBeginEdit (this);
	if (getFrame ())
		getFrame ()->beginEdit (tag);
}

void CControl::endEdit ()
{
	if (editing == 0)
		return;
	if (editing == 1)
	{
		if (getFrame ())
			getFrame ()->endEdit (tag);
		if (listener)
			listener->controlEndEdit (this);
		for (auto* l : std::vector<IControlListener*> (subListeners))
			l->controlEndEdit (this);
	}
	--editing;
}

void CControl::registerControlListener (IControlListener* l)
{
	subListeners.push_back (l);
}

void CControl::unregisterControlListener (IControlListener* l)
{
	auto it = std::find (subListeners.begin (), subListeners.end (), l);
	if (it != subListeners.end ())
		subListeners.erase (it);
}

// A control is dirty when its value moved since it was last drawn.
bool CControl::isDirty () const
{
	return oldValue != value || CView::isDirty ();
}

void CControl::setDirty (bool val)
{
	CView::setDirty (val);
	if (val)
		oldValue = value != -1.f ? -1.f : 0.f;
	else
		oldValue = value;
}

void IMultiBitmapControl::autoComputeHeightOfOneImage ()
{
	if (auto* view = dynamic_cast<CView*> (this))
		heightOfOneImage = view->getViewSize ().getHeight ();
}
} // VSTGUI
