#include "vstgui/lib/cview.h"

#include "vstgui/lib/cbitmap.h"
#include "vstgui/lib/cdrawcontext.h"
#include "vstgui/lib/cframe.h"
#include "vstgui/lib/cviewcontainer.h"

#include <algorithm>
#include <cstring>

namespace VSTGUI
{
CView::CView (const CRect& size) : size (size), mouseableArea (size)
{
	viewFlags = kMouseEnabled | kVisible;
}

CView::CView (const CView& v)
: CBaseObject (v)
, size (v.size)
, mouseableArea (v.mouseableArea)
, viewFlags (v.viewFlags & ~(kIsAttached | kDirty))
, autosizeFlags (v.autosizeFlags)
, alphaValue (v.alphaValue)
, attributes (v.attributes)
{
	setBackground (v.background);
	setDisabledBackground (v.disabledBackground);
}

CView::~CView () noexcept = default;

void CView::beforeDelete ()
{
	for (auto* listener : std::vector<IViewListener*> (viewListeners))
		listener->viewWillDelete (this);
	viewListeners.clear ();
}

void CView::draw (CDrawContext* context)
{
	if (auto* bitmap = getDrawBackground ())
		bitmap->draw (context, size);
	setDirty (false);
}

void CView::drawRect (CDrawContext* context, const CRect& /*updateRect*/)
{
	draw (context);
	setDirty (false);
}

bool CView::kDirtyCallAlwaysOnMainThread = false;

void CView::setDirty (bool val)
{
	if (val && kDirtyCallAlwaysOnMainThread)
	{
		invalidRect (size);
		setViewFlag (kDirty, false);
		return;
	}
	setViewFlag (kDirty, val);
}

void CView::invalidRect (const CRect& rect)
{
	if (isAttached () && hasViewFlag (kVisible) && parentView)
		parentView->invalidRect (rect);
}

void CView::invalid ()
{
	setDirty (false);
	invalidRect (size);
}

CMouseEventResult CView::onMouseDown (CPoint&, const CButtonState&)
{
	return kMouseEventNotImplemented;
}

CMouseEventResult CView::onMouseUp (CPoint&, const CButtonState&)
{
	return kMouseEventNotImplemented;
}

CMouseEventResult CView::onMouseMoved (CPoint&, const CButtonState&)
{
	return kMouseEventNotImplemented;
}

CMouseEventResult CView::onMouseCancel ()
{
	return kMouseEventNotImplemented;
}

CMouseEventResult CView::onMouseEntered (CPoint&, const CButtonState&)
{
	return kMouseEventNotImplemented;
}

CMouseEventResult CView::onMouseExited (CPoint&, const CButtonState&)
{
	return kMouseEventNotImplemented;
}

bool CView::onWheel (const CPoint&, const CMouseWheelAxis&, const float&, const CButtonState&)
{
	return false;
}

bool CView::hitTest (const CPoint& where, const CButtonState&)
{
	return getMouseableArea ().pointInside (where);
}

void CView::setMouseEnabled (bool state)
{
	if (getMouseEnabled () == state)
		return;
	setViewFlag (kMouseEnabled, state);
	for (auto* listener : std::vector<IViewMouseListener*> (mouseListeners))
		listener->viewOnMouseEnabled (this, state);
}

void CView::setMouseableArea (const CRect& rect)
{
	mouseableArea = rect;
	setViewFlag (kHasCustomMouseableArea, rect != size);
}

CRect CView::getMouseableArea () const
{
	return hasViewFlag (kHasCustomMouseableArea) ? mouseableArea : size;
}

int32_t CView::onKeyDown (VstKeyCode&)
{
	return -1;
}

int32_t CView::onKeyUp (VstKeyCode&)
{
	return -1;
}

void CView::takeFocus ()
{
	for (auto* listener : std::vector<IViewListener*> (viewListeners))
		listener->viewTookFocus (this);
}

void CView::looseFocus ()
{
	for (auto* listener : std::vector<IViewListener*> (viewListeners))
		listener->viewLostFocus (this);
}

void CView::setWantsFocus (bool state)
{
	setViewFlag (kWantsFocus, state);
}

bool CView::getAttributeSize (const CViewAttributeID id, uint32_t& outSize) const
{
	auto it = attributes.find (id);
	if (it == attributes.end ())
		return false;
	outSize = static_cast<uint32_t> (it->second.size ());
	return true;
}

bool CView::getAttribute (const CViewAttributeID id, const uint32_t inSize, void* outData, uint32_t& outSize) const
{
	auto it = attributes.find (id);
	if (it == attributes.end () || outData == nullptr || inSize < it->second.size ())
		return false;
	outSize = static_cast<uint32_t> (it->second.size ());
	if (outSize)
		std::memcpy (outData, it->second.data (), outSize);
	return true;
}

bool CView::setAttribute (const CViewAttributeID id, const uint32_t inSize, const void* inData)
{
	if (inData == nullptr || inSize == 0)
		return false;
	const auto* bytes = static_cast<const uint8_t*> (inData);
	attributes[id].assign (bytes, bytes + inSize);
	return true;
}

bool CView::removeAttribute (const CViewAttributeID id)
{
	return attributes.erase (id) > 0;
}

void CView::setTooltipText (UTF8StringPtr text)
{
	if (text && *text)
		setAttribute (kCViewTooltipAttribute, static_cast<uint32_t> (std::strlen (text) + 1), text);
	else
		removeAttribute (kCViewTooltipAttribute);
}

void CView::setBackground (CBitmap* bitmap)
{
	background = bitmap;
	if (getMouseEnabled ())
		setDirty (true);
}

void CView::setDisabledBackground (CBitmap* bitmap)
{
	disabledBackground = bitmap;
	if (!getMouseEnabled ())
		setDirty (true);
}

CBitmap* CView::getDrawBackground () const
{
	if (!getMouseEnabled () && disabledBackground)
		return disabledBackground;
	return background;
}

void CView::setViewSize (const CRect& rect, bool invalid)
{
	if (size == rect)
		return;
	CRect oldSize (size);
	size = rect;
	if (!hasViewFlag (kHasCustomMouseableArea))
		mouseableArea = rect;
	else
		mouseableArea.offset (rect.left - oldSize.left, rect.top - oldSize.top);
	if (invalid)
		setDirty ();
	for (auto* listener : std::vector<IViewListener*> (viewListeners))
		listener->viewSizeChanged (this, oldSize);
}

CRect CView::getVisibleViewSize () const
{
	CRect result (size);
	if (parentView)
		result.bound (parentView->asViewContainer () ? CRect (0, 0, parentView->getWidth (), parentView->getHeight ())
		                                             : parentView->getViewSize ());
	return result;
}

CGraphicsTransform CView::getGlobalTransform (bool ignoreFrame) const
{
	std::vector<const CViewContainer*> parents;
	for (const CView* p = parentView; p; p = p->getParentView ())
	{
		if (ignoreFrame && p->getParentView () == nullptr && dynamic_cast<const CFrame*> (p))
			break;
		if (auto* container = p->asViewContainer ())
			parents.push_back (container);
	}
	CGraphicsTransform result;
	for (auto it = parents.rbegin (); it != parents.rend (); ++it)
	{
		CGraphicsTransform t ((*it)->getTransform ());
		t.translate ((*it)->getViewSize ().getTopLeft ());
		result = result * t;
	}
	if (auto* container = asViewContainer ())
		result = result * container->getTransform ();
	return result;
}

CPoint& CView::frameToLocal (CPoint& point) const
{
	for (const CView* p = parentView; p; p = p->getParentView ())
		point.offset (-p->getViewSize ().left, -p->getViewSize ().top);
	return point;
}

CPoint& CView::localToFrame (CPoint& point) const
{
	for (const CView* p = parentView; p; p = p->getParentView ())
		point.offset (p->getViewSize ().left, p->getViewSize ().top);
	return point;
}

void CView::setVisible (bool state)
{
	if (hasViewFlag (kVisible) == state)
		return;
	if (state)
	{
		setViewFlag (kVisible, true);
		invalid ();
	}
	else
	{
		invalid ();
		setViewFlag (kVisible, false);
	}
}

void CView::setAlphaValue (float alpha)
{
	if (alphaValue == alpha)
		return;
	alphaValue = alpha;
	invalid ();
}

void CView::setTransparency (bool val)
{
	setViewFlag (kTransparencyEnabled, val);
}

bool CView::attached (CView* parent)
{
	if (isAttached ())
		return false;
	parentView = parent;
	parentFrame = parent ? parent->getFrame () : nullptr;
	setViewFlag (kIsAttached, true);
	for (auto* listener : std::vector<IViewListener*> (viewListeners))
		listener->viewAttached (this);
	return true;
}

bool CView::removed (CView* /*parent*/)
{
	if (!isAttached ())
		return false;
	if (parentFrame)
		parentFrame->onViewRemoved (this);
	for (auto* listener : std::vector<IViewListener*> (viewListeners))
		listener->viewRemoved (this);
	parentView = nullptr;
	parentFrame = nullptr;
	setViewFlag (kIsAttached, false);
	return true;
}

VSTGUIEditorInterface* CView::getEditor () const
{
	return parentFrame ? parentFrame->getEditor () : nullptr;
}

void CView::registerViewListener (IViewListener* listener)
{
	viewListeners.push_back (listener);
}

void CView::unregisterViewListener (IViewListener* listener)
{
	auto it = std::find (viewListeners.begin (), viewListeners.end (), listener);
	if (it != viewListeners.end ())
		viewListeners.erase (it);
}

void CView::registerViewMouseListener (IViewMouseListener* listener)
{
	mouseListeners.push_back (listener);
}

void CView::unregisterViewMouseListener (IViewMouseListener* listener)
{
	auto it = std::find (mouseListeners.begin (), mouseListeners.end (), listener);
	if (it != mouseListeners.end ())
		mouseListeners.erase (it);
}

CMouseEventResult CView::callMouseListener (int kind, CPoint pos, CButtonState buttons)
{
	CMouseEventResult result = kMouseEventNotHandled;
	// A listener may unregister itself (or others) while it runs.
	std::vector<IViewMouseListener*> listeners (mouseListeners);
	for (auto it = listeners.rbegin (); it != listeners.rend (); ++it)
	{
		switch (kind)
		{
			case kMouseDown:
				result = (*it)->viewOnMouseDown (this, pos, buttons);
				break;
			case kMouseUp:
				result = (*it)->viewOnMouseUp (this, pos, buttons);
				break;
			case kMouseMoved:
				result = (*it)->viewOnMouseMoved (this, pos, buttons);
				break;
			case kMouseCancel:
				result = (*it)->viewOnMouseCancel (this);
				break;
		}
		if (result != kMouseEventNotHandled && result != kMouseEventNotImplemented)
			return result;
	}
	return kMouseEventNotHandled;
}

void CView::callMouseListenerEnteredExited (bool entered)
{
	std::vector<IViewMouseListener*> listeners (mouseListeners);
	for (auto it = listeners.rbegin (); it != listeners.rend (); ++it)
	{
		if (entered)
			(*it)->viewOnMouseEntered (this);
		else
			(*it)->viewOnMouseExited (this);
	}
}
} // VSTGUI
