#include "vstgui/lib/cviewcontainer.h"

#include "vstgui/lib/cbitmap.h"
#include "vstgui/lib/cdrawcontext.h"
#include "vstgui/lib/cframe.h"
#include "vstgui/lib/controls/ccontrol.h"
#include "vstgui/lib/controls/icontrollistener.h"

#include <algorithm>

namespace VSTGUI
{
CViewContainer::CViewContainer (const CRect& size) : CView (size)
{
}

CViewContainer::CViewContainer (const CViewContainer& v)
: CView (v)
, transform (v.transform)
, backgroundColor (v.backgroundColor)
, backgroundOffset (v.backgroundOffset)
, backgroundColorDrawStyle (v.backgroundColorDrawStyle)
, autosizingEnabled (v.autosizingEnabled)
{
	for (const auto& child : v.children)
	{
		if (auto* copy = dynamic_cast<CView*> (child->newCopy ()))
			addView (copy);
	}
}

CViewContainer::~CViewContainer () noexcept = default;

void CViewContainer::beforeDelete ()
{
	removeAll ();
	CView::beforeDelete ();
}

bool CViewContainer::addView (CView* pView, CView* pBefore)
{
	if (pView == nullptr || pView->getParentView () != nullptr)
		return false;
	auto it = children.end ();
	if (pBefore)
		it = std::find (children.begin (), children.end (), pBefore);
	// The list takes a reference of its own on top of the caller's, which the container now
	// answers for: removing with forget (or destroying the container) drops both.
	children.insert (it, SharedPointer<CView> (pView));
	if (isAttached ())
	{
		pView->attached (this);
		pView->invalid ();
	}
	else
		pView->setParentView (this);
	return true;
}

bool CViewContainer::addView (CView* pView, const CRect& mouseableArea, bool mouseEnabled)
{
	if (!addView (pView))
		return false;
	pView->setMouseEnabled (mouseEnabled);
	pView->setMouseableArea (mouseableArea);
	return true;
}

bool CViewContainer::removeView (CView* pView, bool withForget)
{
	auto it = std::find (children.begin (), children.end (), pView);
	if (it == children.end ())
		return false;
	SharedPointer<CView> guard (pView);
	if (mouseDownView == pView)
		mouseDownView = nullptr;
	pView->invalid ();
	children.erase (it);
	if (pView->isAttached ())
		pView->removed (this);
	pView->setParentView (nullptr);
	if (withForget)
		pView->forget ();
	return true;
}

bool CViewContainer::removeAll (bool withForget)
{
	mouseDownView = nullptr;
	while (!children.empty ())
	{
		SharedPointer<CView> view = children.front ();
		children.pop_front ();
		if (view->isAttached ())
			view->removed (this);
		view->setParentView (nullptr);
		if (withForget)
			view->forget ();
	}
	return true;
}

bool CViewContainer::changeViewZOrder (CView* view, uint32_t newIndex)
{
	auto it = std::find (children.begin (), children.end (), view);
	if (it == children.end () || newIndex >= children.size ())
		return false;
	SharedPointer<CView> keep = *it;
	children.erase (it);
	auto pos = children.begin ();
	std::advance (pos, newIndex);
	children.insert (pos, keep);
	return true;
}

bool CViewContainer::isChild (CView* pView, bool deep) const
{
	for (const auto& child : children)
	{
		if (child == pView)
			return true;
		if (deep)
		{
			if (auto* container = child->asViewContainer ())
				if (container->isChild (pView, true))
					return true;
		}
	}
	return false;
}

CView* CViewContainer::getView (uint32_t index) const
{
	if (index >= children.size ())
		return nullptr;
	auto it = children.begin ();
	std::advance (it, index);
	return *it;
}

CPoint CViewContainer::localise (const CPoint& where) const
{
	CPoint p (where);
	p.offset (-getViewSize ().left, -getViewSize ().top);
	transform.inverse ().transform (p);
	return p;
}

CView* CViewContainer::getViewAt (const CPoint& where, bool deep, bool mouseEnabledOnly) const
{
	CPoint p = localise (where);
	for (auto it = children.rbegin (); it != children.rend (); ++it)
	{
		CView* view = *it;
		if (!view->isVisible () || (mouseEnabledOnly && !view->getMouseEnabled ()) || !view->hitTest (p))
			continue;
		if (deep)
		{
			if (auto* container = view->asViewContainer ())
			{
				if (auto* inner = container->getViewAt (p, deep, mouseEnabledOnly))
					return inner;
			}
		}
		return view;
	}
	return nullptr;
}

bool CViewContainer::getViewsAt (const CPoint& where, std::vector<CView*>& views, bool mouseEnabledOnly,
                                 bool deep) const
{
	CPoint p = localise (where);
	bool found = false;
	for (auto it = children.rbegin (); it != children.rend (); ++it)
	{
		CView* view = *it;
		if (!view->isVisible () || (mouseEnabledOnly && !view->getMouseEnabled ()) || !view->hitTest (p))
			continue;
		views.push_back (view);
		found = true;
		if (deep)
		{
			if (auto* container = view->asViewContainer ())
				container->getViewsAt (p, views, mouseEnabledOnly, deep);
		}
		// Views below an opaque one are covered.
		if (!view->getTransparency ())
			break;
	}
	return found;
}

void CViewContainer::forEachChild (const std::function<void (const SharedPointer<CView>&)>& proc) const
{
	ChildViews copy (children);
	for (const auto& child : copy)
		proc (child);
}

void CViewContainer::setBackgroundColor (const CColor& color)
{
	if (backgroundColor == color)
		return;
	backgroundColor = color;
	setDirty (true);
}

void CViewContainer::setBackgroundColorDrawStyle (CDrawStyle style)
{
	if (backgroundColorDrawStyle == style)
		return;
	backgroundColorDrawStyle = style;
	setDirty (true);
}

void CViewContainer::setTransform (const CGraphicsTransform& t)
{
	transform = t;
}

void CViewContainer::drawBackgroundRect (CDrawContext* context, const CRect& updateRect)
{
	CRect r (0, 0, getWidth (), getHeight ());
	if (auto* bitmap = getDrawBackground ())
	{
		bitmap->draw (context, r, backgroundOffset);
		return;
	}
	if (!getTransparency () || backgroundColor.alpha != 255)
	{
		context->setLineWidth (1);
		context->setFillColor (backgroundColor);
		context->setFrameColor (backgroundColor);
		context->setDrawMode (kAliasing);
		CRect fill (updateRect);
		fill.bound (r);
		context->drawRect (backgroundColorDrawStyle == kDrawStroked ? r : fill, backgroundColorDrawStyle);
	}
}

void CViewContainer::draw (CDrawContext* context)
{
	drawRect (context, getViewSize ());
}

void CViewContainer::drawRect (CDrawContext* context, const CRect& updateRect)
{
	CRect oldClip;
	context->getClipRect (oldClip);

	CRect clientRect (updateRect);
	clientRect.bound (getViewSize ());
	clientRect.offset (-getViewSize ().left, -getViewSize ().top);

	CDrawContext::Transform originTransform (*context, CGraphicsTransform ().translate (getViewSize ().getTopLeft ()));
	CRect newClip (oldClip);
	newClip.offset (-getViewSize ().left, -getViewSize ().top);
	newClip.bound (clientRect);
	if (newClip.isEmpty ())
	{
		setDirty (false);
		return;
	}
	context->setClipRect (newClip);
	drawBackgroundRect (context, newClip);

	{
		CDrawContext::Transform childTransform (*context, transform);
		CRect childUpdate (newClip);
		transform.inverse ().transform (childUpdate);
		childUpdate.normalize ();
		CRect childClipBase;
		context->getClipRect (childClipBase);
		float baseAlpha = context->getGlobalAlpha ();
		for (const auto& child : ChildViews (children))
		{
			if (!child->isVisible () || !child->checkUpdate (childUpdate))
				continue;
			CRect viewClip (child->getViewSize ());
			viewClip.bound (childClipBase);
			if (viewClip.isEmpty ())
				continue;
			context->saveGlobalState ();
			context->setClipRect (viewClip);
			context->setGlobalAlpha (baseAlpha * child->getAlphaValue ());
			child->drawRect (context, viewClip);
			context->restoreGlobalState ();
		}
	}
	context->setClipRect (oldClip);
	setDirty (false);
}

namespace
{
using MouseHandler = CMouseEventResult (CView::*) (CPoint&, const CButtonState&);

// The view's mouse listeners see the event first; what they leave goes to the view itself.
CMouseEventResult offerMouseEvent (CView& view, int kind, MouseHandler handler, CPoint& where,
                                   const CButtonState& buttons)
{
	CMouseEventResult result = view.callMouseListener (kind, where, buttons);
	if (result == kMouseEventNotHandled || result == kMouseEventNotImplemented)
		result = (view.*handler) (where, buttons);
	return result;
}
}

CMouseEventResult CViewContainer::onMouseDown (CPoint& where, const CButtonState& buttons)
{
	CPoint where2 = localise (where);
	for (auto it = children.rbegin (); it != children.rend (); ++it)
	{
		SharedPointer<CView> view = *it;
		if (!view->isVisible () || !view->getMouseEnabled () || !view->hitTest (where2, buttons))
			continue;
		if (buttons & (kAlt | kShift | kControl | kApple | kRButton))
		{
			if (auto* control = view.cast<CControl> ())
			{
				if (control->getListener () && control->getListener ()->controlModifierClicked (control, buttons) != 0)
					return kMouseEventHandled;
			}
		}
		if (view->wantsFocus () && getFrame ())
			getFrame ()->setFocusView (view);
		CPoint p (where2);
		const CMouseEventResult result = offerMouseEvent (*view, kMouseDown, &CView::onMouseDown, p, buttons);
		if (result != kMouseEventNotHandled && result != kMouseEventNotImplemented)
		{
			if (result == kMouseEventHandled && view->getParentView () == this)
				mouseDownView = view;
			return result;
		}
		if (!view->getTransparency ())
			return result;
	}
	return kMouseEventNotHandled;
}

CMouseEventResult CViewContainer::onMouseUp (CPoint& where, const CButtonState& buttons)
{
	if (!mouseDownView)
		return kMouseEventNotHandled;
	SharedPointer<CView> view = mouseDownView;
	CPoint p = localise (where);
	const CMouseEventResult result = offerMouseEvent (*view, kMouseUp, &CView::onMouseUp, p, buttons);
	mouseDownView = nullptr;
	return result;
}

CMouseEventResult CViewContainer::onMouseMoved (CPoint& where, const CButtonState& buttons)
{
	if (!mouseDownView)
		return kMouseEventNotHandled;
	SharedPointer<CView> view = mouseDownView;
	CPoint p = localise (where);
	const CMouseEventResult result = offerMouseEvent (*view, kMouseMoved, &CView::onMouseMoved, p, buttons);
	if (result != kMouseEventHandled && result != kMouseEventNotImplemented)
		mouseDownView = nullptr;
	return result;
}

CMouseEventResult CViewContainer::onMouseCancel ()
{
	if (!mouseDownView)
		return kMouseEventNotHandled;
	SharedPointer<CView> view = mouseDownView;
	mouseDownView = nullptr;
	view->callMouseListener (kMouseCancel, CPoint (), 0);
	return view->onMouseCancel ();
}

bool CViewContainer::onWheel (const CPoint& where, const CMouseWheelAxis& axis, const float& distance,
                              const CButtonState& buttons)
{
	CPoint p = localise (where);
	for (auto it = children.rbegin (); it != children.rend (); ++it)
	{
		SharedPointer<CView> view = *it;
		if (!view->isVisible () || !view->getMouseEnabled () || !view->hitTest (p, buttons))
			continue;
		if (view->onWheel (p, axis, distance, buttons))
			return true;
		if (!view->getTransparency ())
			return false;
	}
	return false;
}

bool CViewContainer::hitTest (const CPoint& where, const CButtonState& buttons)
{
	return CView::hitTest (where, buttons);
}

void CViewContainer::setViewSize (const CRect& rect, bool invalid)
{
	if (rect == getViewSize ())
		return;
	CRect oldSize (getViewSize ());
	CView::setViewSize (rect, invalid);
	if (!autosizingEnabled)
		return;
	CCoord dw = rect.getWidth () - oldSize.getWidth ();
	CCoord dh = rect.getHeight () - oldSize.getHeight ();
	if (dw == 0. && dh == 0.)
		return;
	for (const auto& child : ChildViews (children))
	{
		int32_t flags = child->getAutosizeFlags ();
		if (flags == kAutosizeNone)
			continue;
		CRect r (child->getViewSize ());
		if (flags & kAutosizeRight)
		{
			r.right += dw;
			if (!(flags & kAutosizeLeft))
				r.left += 0;
		}
		else if (flags & kAutosizeLeft)
			r.offset (dw, 0);
		if (flags & kAutosizeBottom)
			r.bottom += dh;
		else if (flags & kAutosizeTop)
			r.offset (0, dh);
		child->setViewSize (r, invalid);
		child->setMouseableArea (r);
	}
}

void CViewContainer::invalidRect (const CRect& rect)
{
	if (!isAttached () || !hasViewFlag (kVisible) || getParentView () == nullptr)
		return;
	CRect r (rect);
	transform.transform (r);
	r.normalize ();
	r.offset (getViewSize ().left, getViewSize ().top);
	r.bound (getViewSize ());
	if (r.isEmpty ())
		return;
	getParentView ()->invalidRect (r);
}

// The whole container, in its parent's coordinates: its own invalidRect would read the size as
// local coordinates and miss every container that does not sit at its parent's origin.
void CViewContainer::invalid ()
{
	if (!isAttached () || !hasViewFlag (kVisible) || getParentView () == nullptr)
		return;
	setDirty (false);
	getParentView ()->invalidRect (getViewSize ());
}

bool CViewContainer::attached (CView* parent)
{
	if (!CView::attached (parent))
		return false;
	for (const auto& child : ChildViews (children))
		child->attached (this);
	return true;
}

bool CViewContainer::removed (CView* parent)
{
	if (!isAttached ())
		return false;
	mouseDownView = nullptr;
	for (const auto& child : ChildViews (children))
		child->removed (this);
	return CView::removed (parent);
}

void CViewContainer::invalidateDirtyViews ()
{
	if (!isVisible ())
		return;
	if (CView::isDirty ())
	{
		invalid ();
		return;
	}
	for (const auto& child : ChildViews (children))
	{
		if (auto* container = child->asViewContainer ())
			container->invalidateDirtyViews ();
		else if (child->isVisible () && child->isDirty ())
			child->invalid ();
	}
}
} // VSTGUI
