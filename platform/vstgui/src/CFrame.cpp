#include "vstgui/lib/cframe.h"

#include "vstgui/lib/cdrawcontext.h"
#include "vstgui/lib/controls/ctextedit.h"
#include "vstgui/lib/cvstguitimer.h"
#include "vstgui/lib/platform/offscreenframe.h"

#include <algorithm>
#include <cmath>

namespace VSTGUI
{
int32_t CFrame::kDefaultKnobMode = kCircularMode;

namespace
{
// While the zoom keeps changing (a resize-handle drag), bitmaps are drawn with the fast bilinear
// filter; this long after the last change the window is drawn again at the frame's quality.
constexpr uint32_t kZoomSettleTime = 150;
}

//------------------------------------------------------------------------------------------------
// Platform frames

namespace
{
PlatformFrameFactory& frameFactory ()
{
	static PlatformFrameFactory factory;
	return factory;
}
}

IPlatformFrame* createX11PlatformFrame (IPlatformFrameCallback* frame, const CRect& size, void* parent);
IPlatformFrame* createNSViewPlatformFrame (IPlatformFrameCallback* frame, const CRect& size, void* parent);

void setPlatformFrameFactory (PlatformFrameFactory factory)
{
	frameFactory () = std::move (factory);
}

IPlatformFrame* createPlatformFrame (IPlatformFrameCallback* frame, const CRect& size, void* parent,
                                     PlatformType type, IPlatformFrameConfig* config)
{
	if (frameFactory ())
		return frameFactory () (frame, size, parent, type, config);
	if (type == PlatformType::kX11EmbedWindowID)
		return createX11PlatformFrame (frame, size, parent);
	// A frame opened in a host's view lives in it; other parents (tests, image exports) get an image.
	if (type == PlatformType::kNSView || type == PlatformType::kDefaultNative)
		if (IPlatformFrame* inView = createNSViewPlatformFrame (frame, size, parent))
			return inView;
	return new OffscreenPlatformFrame (frame, size);
}

namespace
{
std::string& processClipboard ()
{
	static std::string text;
	return text;
}
}

void IPlatformFrame::readClipboardText (std::function<void (const std::string& text)> done)
{
	done (processClipboard ());
}

void IPlatformFrame::writeClipboardText (const std::string& text)
{
	processClipboard () = text;
}

CRect IPlatformFrame::getPopupArea () const
{
	CRect r;
	getSize (r);
	return CRect (0, 0, r.getWidth (), r.getHeight ());
}

//------------------------------------------------------------------------------------------------

struct CFrame::EventScope
{
	explicit EventScope (CFrame& f) : frame (f)
	{
		frame.remember ();
		++frame.eventDepth;
	}
	~EventScope ()
	{
		if (--frame.eventDepth == 0)
			frame.runAfterEventFunctions ();
		frame.forget ();
	}
	CFrame& frame;
};

CFrame::CFrame (const CRect& size, VSTGUIEditorInterface* pEditor) : CViewContainer (size), editor (pEditor)
{
	setParentFrame (this);
}

bool CFrame::open (void* pSystemWindow, PlatformType systemWindowType, IPlatformFrameConfig* config)
{
	if (pSystemWindow == nullptr || platformFrame)
		return false;
	platformFrame = createPlatformFrame (this, getViewSize (), pSystemWindow, systemWindowType, config);
	if (platformFrame == nullptr)
		return false;
	setParentFrame (this);
	setViewFlag (kIsAttached, true);
	for (const auto& child : ChildViews (children))
		child->attached (this);
	invalid ();
	return true;
}

void CFrame::close ()
{
	clearMouseViews (CPoint (), 0, false);
	setModalView (nullptr);
	removeAll ();
	if (platformFrame)
	{
		platformFrame->onFrameClosed ();
		platformFrame->forget ();
		platformFrame = nullptr;
	}
	forget ();
}

void CFrame::beforeDelete ()
{
	for (auto* timer : {&tooltipTimer, &zoomSettleTimer})
	{
		if (*timer)
			(*timer)->forget ();
		*timer = nullptr;
	}
	mouseViews.clear ();
	modalView = nullptr;
	removeAll ();
	if (platformFrame)
	{
		platformFrame->onFrameClosed ();
		platformFrame->forget ();
		platformFrame = nullptr;
	}
	setViewFlag (kIsAttached, false);
	CViewContainer::beforeDelete ();
}

void CFrame::idle ()
{
	if (CView::kDirtyCallAlwaysOnMainThread)
		return;
	invalidateDirtyViews ();
	if (modalView && modalView->isDirty ())
		modalView->invalid ();
}

bool CFrame::setSize (CCoord width, CCoord height)
{
	if (width == getWidth () && height == getHeight ())
		return false;
	CRect newSize (getViewSize ());
	newSize.setWidth (width);
	newSize.setHeight (height);
	if (platformFrame)
	{
		if (editor && !editor->beforeSizeChange (newSize, getViewSize ()))
			return false;
		if (!platformFrame->setSize (newSize))
			return false;
	}
	setViewSize (newSize);
	return true;
}

bool CFrame::getSize (CRect* pSize) const
{
	return pSize && getSize (*pSize);
}

bool CFrame::getSize (CRect& pSize) const
{
	return platformFrame && platformFrame->getSize (pSize);
}

bool CFrame::setZoom (double zoomFactor)
{
	if (zoomFactor == 0.)
		return false;
	const CGraphicsTransform old = getTransform ();
	const CCoord unscaledWidth = getWidth () / old.m11;
	const CCoord unscaledHeight = getHeight () / old.m22;
	const CCoord newWidth = std::round (unscaledWidth * zoomFactor);
	const CCoord newHeight = std::round (unscaledHeight * zoomFactor);
	bool result = true;
	setAutosizingEnabled (false);
	setTransform (CGraphicsTransform ().scale (zoomFactor, zoomFactor));
	if (!setSize (newWidth, newHeight))
	{
		setTransform (old);
		setSize (unscaledWidth * old.m11, unscaledHeight * old.m22);
		result = false;
	}
	invalid ();
	setAutosizingEnabled (true);
	if (result)
	{
		zoom = zoomFactor;
		startZoomSettling ();
	}
	return result;
}

void CFrame::startZoomSettling ()
{
	zoomSettling = true;
	if (zoomSettleTimer == nullptr)
		zoomSettleTimer = new CVSTGUITimer (
		    [this] (CVSTGUITimer* timer) {
			    timer->stop ();
			    zoomSettling = false;
			    invalid ();
		    },
		    kZoomSettleTime, false);
	zoomSettleTimer->stop ();
	zoomSettleTimer->start ();
}

void CFrame::setBitmapInterpolationQuality (BitmapInterpolationQuality quality)
{
	if (bitmapQuality == quality)
		return;
	bitmapQuality = quality;
	invalid ();
}

void CFrame::enableTooltips (bool state, uint32_t delayTimeInMs)
{
	tooltipsEnabled = state;
	tooltipDelay = delayTimeInMs;
	if (!state)
	{
		hideTooltip ();
		if (tooltipTimer)
		{
			tooltipTimer->forget ();
			tooltipTimer = nullptr;
		}
	}
}

void CFrame::setFocusView (CView* pView)
{
	if (pView == focusView || (inSetFocusView && focusView != nullptr))
		return;
	if (!active)
	{
		activeFocusView = pView;
		return;
	}
	inSetFocusView = true;
	CView* oldFocusView = focusView;
	focusView = (pView && pView->isAttached ()) ? pView : nullptr;
	if (focusView && focusView->wantsFocus ())
		focusView->invalid ();
	if (oldFocusView)
	{
		if (oldFocusView->wantsFocus ())
			oldFocusView->invalid ();
		oldFocusView->looseFocus ();
	}
	if (focusView && focusView->wantsFocus ())
		focusView->takeFocus ();
	inSetFocusView = false;
}

int32_t CFrame::getKnobMode () const
{
	int32_t mode = editor ? editor->getKnobMode () : -1;
	return mode == -1 ? kDefaultKnobMode : mode;
}

void CFrame::beginEdit (int32_t index)
{
	if (editor)
		editor->beginEdit (index);
}

void CFrame::endEdit (int32_t index)
{
	if (editor)
		editor->endEdit (index);
}

bool CFrame::doAfterEventProcessing (std::function<void ()>&& func)
{
	if (!inEventProcessing ())
		return false;
	afterEventFunctions.push_back (std::move (func));
	return true;
}

void CFrame::runAfterEventFunctions ()
{
	while (!afterEventFunctions.empty ())
	{
		auto functions = std::move (afterEventFunctions);
		afterEventFunctions.clear ();
		++eventDepth;
		for (auto& f : functions)
			f ();
		--eventDepth;
	}
}

bool CFrame::setModalView (CView* pView)
{
	if (pView && modalView)
		return false;
	if (modalView)
	{
		modalView->invalid ();
		modalView->removed (this);
	}
	modalView = pView;
	if (modalView)
	{
		clearMouseViews (lastMousePosition, 0, true);
		modalView->attached (this);
		modalView->invalid ();
	}
	return true;
}

void CFrame::onViewRemoved (CView* pView)
{
	auto it = std::find (mouseViews.begin (), mouseViews.end (), pView);
	if (it != mouseViews.end ())
		mouseViews.erase (it);
	if (activeFocusView == pView)
		activeFocusView = nullptr;
	if (focusView == pView)
	{
		if (active)
			setFocusView (nullptr);
		else
			focusView = nullptr;
	}
	if (tooltipView == pView)
	{
		hideTooltip ();
		tooltipView = nullptr;
	}
}

//------------------------------------------------------------------------------------------------
// Drawing

void CFrame::draw (CDrawContext* context)
{
	drawRect (context, getViewSize ());
}

void CFrame::drawRect (CDrawContext* context, const CRect& updateRect)
{
	CViewContainer::drawRect (context, updateRect);
	if (modalView && modalView->isVisible ())
	{
		context->saveGlobalState ();
		CRect clip (updateRect);
		clip.bound (modalView->getViewSize ());
		if (!clip.isEmpty ())
		{
			context->setClipRect (clip);
			modalView->drawRect (context, clip);
		}
		context->restoreGlobalState ();
	}
}

bool CFrame::platformDrawRect (CDrawContext* context, const CRect& rect)
{
	const bool finerThanBilinear = bitmapQuality == BitmapInterpolationQuality::kDefault ||
	                               bitmapQuality == BitmapInterpolationQuality::kHigh;
	context->setBitmapInterpolationQuality (zoomSettling && finerThanBilinear ? BitmapInterpolationQuality::kMedium
	                                                                          : bitmapQuality);
	drawRect (context, rect);
	return true;
}

void CFrame::invalidRect (const CRect& rect)
{
	if (!platformFrame || !hasViewFlag (kVisible))
		return;
	CRect r (rect);
	getTransform ().transform (r);
	r.normalize ();
	platformFrame->invalidRect (r);
}

void CFrame::invalid ()
{
	setDirty (false);
	if (platformFrame && hasViewFlag (kVisible))
		platformFrame->invalidRect (CRect (0, 0, getWidth (), getHeight ()));
}

//------------------------------------------------------------------------------------------------
// Input

CMouseEventResult CFrame::onMouseDown (CPoint& where, const CButtonState& buttons)
{
	setMouseDownView (nullptr);
	// A click elsewhere ends an open text field; one inside it is the field's own, as the
	// native field over the view would take it.
	if (auto* edit = dynamic_cast<CTextEdit*> (focusView))
	{
		CPoint local (where);
		edit->getGlobalTransform ().inverse ().transform (local);
		if (!edit->isFieldOpen () || !edit->getViewSize ().pointInside (local))
			setFocusView (nullptr);
	}
	return CViewContainer::onMouseDown (where, buttons);
}

namespace
{
using KeyHandler = int32_t (CView::*) (VstKeyCode&);

// The focus view has the key first, then each container above it up to the frame, until one
// takes it (-1 is "not taken").
int32_t offerKey (const CFrame* frame, CView* focusView, KeyHandler handler, VstKeyCode& keyCode)
{
	int32_t result = -1;
	if (focusView)
	{
		SharedPointer<CView> guard (focusView);
		if (focusView->getMouseEnabled ())
			result = (focusView->*handler) (keyCode);
		for (CView* parent = guard->getParentView (); result == -1 && parent && parent != frame;
		     parent = parent->getParentView ())
		{
			if (parent->getMouseEnabled ())
				result = (parent->*handler) (keyCode);
		}
	}
	return result;
}
}

int32_t CFrame::onKeyDown (VstKeyCode& keyCode)
{
	return offerKey (this, focusView, &CView::onKeyDown, keyCode);
}

int32_t CFrame::onKeyUp (VstKeyCode& keyCode)
{
	return offerKey (this, focusView, &CView::onKeyUp, keyCode);
}

CMouseEventResult CFrame::platformOnMouseDown (CPoint& where, const CButtonState& buttons)
{
	EventScope scope (*this);
	lastMousePosition = where;
	hideTooltip ();
	if (modalView)
	{
		SharedPointer<CView> modal = modalView;
		CPoint p (where);
		return modal->onMouseDown (p, buttons);
	}
	CPoint p (where);
	return onMouseDown (p, buttons);
}

CMouseEventResult CFrame::platformOnMouseMoved (CPoint& where, const CButtonState& buttons)
{
	EventScope scope (*this);
	lastMousePosition = where;
	if (modalView)
	{
		SharedPointer<CView> modal = modalView;
		CPoint p (where);
		return modal->onMouseMoved (p, buttons);
	}
	if (getMouseDownView ())
	{
		CPoint p (where);
		return onMouseMoved (p, buttons);
	}
	checkMouseViews (where, buttons);
	startTooltipTimer ();
	// Hover: the view under the pointer sees the move with the modifiers only.
	if (CView* view = getViewAt (where, true, true))
	{
		SharedPointer<CView> guard (view);
		CPoint p (where);
		view->getGlobalTransform ().inverse ().transform (p);
		return view->onMouseMoved (p, CButtonState (buttons.getModifierState ()));
	}
	return kMouseEventNotHandled;
}

CMouseEventResult CFrame::platformOnMouseUp (CPoint& where, const CButtonState& buttons)
{
	EventScope scope (*this);
	lastMousePosition = where;
	if (modalView)
	{
		SharedPointer<CView> modal = modalView;
		CPoint p (where);
		return modal->onMouseUp (p, buttons);
	}
	CPoint p (where);
	CMouseEventResult result = onMouseUp (p, buttons);
	checkMouseViews (where, buttons);
	return result;
}

CMouseEventResult CFrame::platformOnMouseExited (CPoint& where, const CButtonState& buttons)
{
	EventScope scope (*this);
	hideTooltip ();
	if (tooltipTimer)
		tooltipTimer->stop ();
	clearMouseViews (where, buttons, true);
	return kMouseEventHandled;
}

bool CFrame::platformOnMouseWheel (const CPoint& where, const CMouseWheelAxis& axis, const float& distance,
                                   const CButtonState& buttons)
{
	EventScope scope (*this);
	lastMousePosition = where;
	hideTooltip ();
	if (modalView)
	{
		SharedPointer<CView> modal = modalView;
		return modal->onWheel (where, axis, distance, buttons);
	}
	return onWheel (where, axis, distance, buttons);
}

bool CFrame::platformOnKeyDown (VstKeyCode& keyCode)
{
	EventScope scope (*this);
	if (modalView)
	{
		SharedPointer<CView> modal = modalView;
		return modal->onKeyDown (keyCode) != -1;
	}
	return onKeyDown (keyCode) != -1;
}

bool CFrame::platformOnKeyUp (VstKeyCode& keyCode)
{
	EventScope scope (*this);
	if (modalView)
	{
		SharedPointer<CView> modal = modalView;
		return modal->onKeyUp (keyCode) != -1;
	}
	return onKeyUp (keyCode) != -1;
}

void CFrame::platformOnActivate (bool state)
{
	EventScope scope (*this);
	if (active == state)
		return;
	if (state)
	{
		active = true;
		if (activeFocusView)
		{
			CView* view = activeFocusView;
			activeFocusView = nullptr;
			setFocusView (view);
		}
	}
	else
	{
		CView* view = focusView;
		setFocusView (nullptr);
		activeFocusView = view;
		active = false;
	}
}

void CFrame::platformOnWindowActivate (bool)
{
}

void CFrame::platformScaleFactorChanged (double)
{
	invalid ();
}

void CFrame::checkMouseViews (const CPoint& where, const CButtonState& buttons)
{
	std::vector<CView*> now;
	getViewsAt (where, now, true, true);
	// Exit first, innermost first, then enter outermost first.
	std::vector<CView*> old (mouseViews);
	for (auto it = old.rbegin (); it != old.rend (); ++it)
	{
		if (std::find (now.begin (), now.end (), *it) != now.end ())
			continue;
		SharedPointer<CView> view (*it);
		mouseViews.erase (std::find (mouseViews.begin (), mouseViews.end (), *it));
		CPoint p (where);
		view->getGlobalTransform ().inverse ().transform (p);
		view->onMouseExited (p, buttons);
		view->callMouseListenerEnteredExited (false);
	}
	for (CView* v : now)
	{
		if (std::find (mouseViews.begin (), mouseViews.end (), v) != mouseViews.end ())
			continue;
		SharedPointer<CView> view (v);
		mouseViews.push_back (v);
		CPoint p (where);
		view->getGlobalTransform ().inverse ().transform (p);
		view->onMouseEntered (p, buttons);
		view->callMouseListenerEnteredExited (true);
	}
}

void CFrame::clearMouseViews (const CPoint& where, const CButtonState& buttons, bool callMouseExit)
{
	std::vector<CView*> old;
	old.swap (mouseViews);
	if (!callMouseExit)
		return;
	for (auto it = old.rbegin (); it != old.rend (); ++it)
	{
		SharedPointer<CView> view (*it);
		CPoint p (where);
		view->getGlobalTransform ().inverse ().transform (p);
		view->onMouseExited (p, buttons);
		view->callMouseListenerEnteredExited (false);
	}
}

//------------------------------------------------------------------------------------------------
// Tooltips

void CFrame::startTooltipTimer ()
{
	if (!tooltipsEnabled)
		return;
	CView* view = getViewAt (lastMousePosition, true, true);
	if (view != tooltipView)
	{
		hideTooltip ();
		tooltipView = view;
	}
	if (tooltipShown || tooltipView == nullptr)
		return;
	if (tooltipTimer == nullptr)
		tooltipTimer = new CVSTGUITimer ([this] (CVSTGUITimer*) { showTooltip (); }, tooltipDelay, false);
	tooltipTimer->stop ();
	tooltipTimer->setFireTime (tooltipDelay);
	tooltipTimer->start ();
}

void CFrame::showTooltip ()
{
	if (tooltipTimer)
		tooltipTimer->stop ();
	if (platformFrame == nullptr || tooltipView == nullptr)
		return;
	for (CView* view = tooltipView; view && view != this; view = view->getParentView ())
	{
		uint32_t size = 0;
		if (!view->getAttributeSize (kCViewTooltipAttribute, size) || size == 0)
			continue;
		std::vector<char> text (size + 1, 0);
		view->getAttribute (kCViewTooltipAttribute, size, text.data (), size);
		CRect r (view->getViewSize ());
		view->getGlobalTransform ().transform (r);
		r.normalize ();
		platformFrame->showTooltip (r, text.data ());
		tooltipShown = true;
		return;
	}
}

void CFrame::hideTooltip ()
{
	if (tooltipTimer)
		tooltipTimer->stop ();
	if (tooltipShown && platformFrame)
		platformFrame->hideTooltip ();
	tooltipShown = false;
}
} // VSTGUI
