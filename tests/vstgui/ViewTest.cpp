#include "TestBitmaps.h"
#include "TestFrame.h"

#include <gtest/gtest.h>

#include <cstring>

using namespace VSTGUI;

namespace
{
// Logs every call with the view's name and answers with a chosen result.
struct LoggingListener : IViewMouseListener
{
	LoggingListener (std::vector<std::string>& log, std::string name, CMouseEventResult answer)
	: log (log), name (std::move (name)), answer (answer)
	{
	}
	CMouseEventResult viewOnMouseDown (CView*, CPoint pos, CButtonState) override
	{
		log.push_back (name + " down " + std::to_string (int (pos.x)) + "," + std::to_string (int (pos.y)));
		return answer;
	}
	CMouseEventResult viewOnMouseUp (CView*, CPoint, CButtonState) override
	{
		log.push_back (name + " up");
		return answer;
	}
	CMouseEventResult viewOnMouseMoved (CView*, CPoint, CButtonState) override
	{
		log.push_back (name + " moved");
		return answer;
	}
	CMouseEventResult viewOnMouseCancel (CView*) override { return kMouseEventNotImplemented; }
	void viewOnMouseEntered (CView*) override { log.push_back (name + " entered"); }
	void viewOnMouseExited (CView*) override { log.push_back (name + " exited"); }
	void viewOnMouseEnabled (CView*, bool state) override { log.push_back (name + (state ? " on" : " off")); }

	std::vector<std::string>& log;
	std::string name;
	CMouseEventResult answer;
};

// A view that records its own handlers.
struct LoggingView : CView
{
	LoggingView (const CRect& r, std::vector<std::string>& log, std::string name, CMouseEventResult answer)
	: CView (r), log (log), name (std::move (name)), answer (answer)
	{
	}
	CMouseEventResult onMouseDown (CPoint&, const CButtonState&) override
	{
		log.push_back (name + " onMouseDown");
		return answer;
	}
	CMouseEventResult onMouseMoved (CPoint&, const CButtonState& b) override
	{
		log.push_back (name + " onMouseMoved " + std::to_string (b ()));
		return answer;
	}
	CMouseEventResult onMouseUp (CPoint&, const CButtonState&) override
	{
		log.push_back (name + " onMouseUp");
		return answer;
	}
	std::vector<std::string>& log;
	std::string name;
	CMouseEventResult answer;
};
}

TEST (Views, ContainerAnswersForTheReferenceAddViewHandsOver)
{
	auto* container = new CViewContainer (CRect (0, 0, 100, 100));
	auto* view = new CView (CRect (0, 0, 10, 10));
	ASSERT_TRUE (container->addView (view));
	EXPECT_EQ (view->getNbReference (), 2);
	view->remember ();
	EXPECT_TRUE (container->removeView (view, false));
	EXPECT_EQ (view->getNbReference (), 2);
	EXPECT_FALSE (container->addView (nullptr));
	ASSERT_TRUE (container->addView (view));
	view->forget ();
	container->forget ();
}

TEST (Views, ChildrenKeepInsertionOrderAndInsertBefore)
{
	auto container = owned (new CViewContainer (CRect (0, 0, 100, 100)));
	auto* a = new CView (CRect ());
	auto* b = new CView (CRect ());
	auto* c = new CView (CRect ());
	container->addView (a);
	container->addView (c);
	container->addView (b, c);
	ASSERT_EQ (container->getNbViews (), 3u);
	EXPECT_EQ (container->getView (0), a);
	EXPECT_EQ (container->getView (1), b);
	EXPECT_EQ (container->getView (2), c);
	EXPECT_EQ (container->getView (3), nullptr);
}

TEST (Views, AttributesCopyTheirBytesAndRefuseSmallBuffers)
{
	CView* view = new CView (CRect ());
	const char name[] = "Param_Volume";
	EXPECT_TRUE (view->setAttribute (makeViewAttributeID ("uicv"), sizeof (name), name));
	EXPECT_FALSE (view->setAttribute (makeViewAttributeID ("uicv"), 0, name));
	uint32_t size = 0;
	ASSERT_TRUE (view->getAttributeSize (makeViewAttributeID ("uicv"), size));
	EXPECT_EQ (size, sizeof (name));
	char buffer[64];
	uint32_t outSize = 0;
	EXPECT_FALSE (view->getAttribute (makeViewAttributeID ("uicv"), 4, buffer, outSize));
	ASSERT_TRUE (view->getAttribute (makeViewAttributeID ("uicv"), sizeof (buffer), buffer, outSize));
	EXPECT_STREQ (buffer, "Param_Volume");
	EXPECT_EQ (makeViewAttributeID ("uicv"), 0x75696376u);
	view->forget ();
}

TEST (Views, VisibilityNeedsTheFlagAndSomeAlpha)
{
	CView* view = new CView (CRect ());
	EXPECT_TRUE (view->isVisible ());
	view->setAlphaValue (0.f);
	EXPECT_FALSE (view->isVisible ());
	view->setAlphaValue (1.f);
	view->setVisible (false);
	EXPECT_FALSE (view->isVisible ());
	view->forget ();
}

TEST (Views, BackgroundMarksOnlyMouseEnabledViewsDirty)
{
	auto bitmap = owned (makeStrip (4, 4, {kRedCColor}));
	auto* view = new CView (CRect ());
	view->setDirty (false);
	view->setBackground (bitmap);
	EXPECT_TRUE (view->isDirty ());
	EXPECT_EQ (bitmap->getNbReference (), 2);
	view->setDirty (false);
	view->setMouseEnabled (false);
	view->setBackground (nullptr);
	EXPECT_FALSE (view->isDirty ());
	EXPECT_EQ (bitmap->getNbReference (), 1);
	view->forget ();
}

TEST (Views, ListenersRunNewestFirstAndAHandledResultSkipsTheView)
{
	TestFrame t;
	std::vector<std::string> log;
	auto* view = new LoggingView (CRect (10, 10, 50, 50), log, "view", kMouseEventHandled);
	t.frame->addView (view);
	LoggingListener first (log, "first", kMouseEventNotHandled);
	LoggingListener second (log, "second", kMouseEventNotImplemented);
	view->registerViewMouseListener (&first);
	view->registerViewMouseListener (&second);
	EXPECT_EQ (t.down (20, 30), kMouseEventHandled);
	EXPECT_EQ (log, (std::vector<std::string> {"second down 20,30", "first down 20,30", "view onMouseDown"}));

	log.clear ();
	LoggingListener taker (log, "taker", kMouseEventHandled);
	view->registerViewMouseListener (&taker);
	t.up (20, 30);
	log.clear ();
	EXPECT_EQ (t.down (20, 30), kMouseEventHandled);
	EXPECT_EQ (log, (std::vector<std::string> {"taker down 20,30"}));
	// The listener that took the press also gets the drag.
	log.clear ();
	t.move (25, 30);
	t.up (25, 30);
	EXPECT_EQ (log, (std::vector<std::string> {"taker moved", "taker up"}));
	view->unregisterViewMouseListener (&first);
	view->unregisterViewMouseListener (&second);
	view->unregisterViewMouseListener (&taker);
}

TEST (Views, NotImplementedKeepsADragAliveAndNotHandledEndsIt)
{
	TestFrame t;
	std::vector<std::string> log;
	auto* view = new LoggingView (CRect (0, 0, 50, 50), log, "view", kMouseEventNotImplemented);
	t.frame->addView (view);
	LoggingListener listener (log, "l", kMouseEventHandled);
	view->registerViewMouseListener (&listener);
	t.down (5, 5);
	listener.answer = kMouseEventNotImplemented;
	t.move (6, 6);
	t.move (7, 7);
	EXPECT_EQ (t.frame->getMouseDownView (), view);
	view->answer = kMouseEventNotHandled;
	t.move (8, 8);
	EXPECT_EQ (t.frame->getMouseDownView (), nullptr);
	view->unregisterViewMouseListener (&listener);
}

TEST (Views, ClicksFallThroughTransparentAndMouseDisabledViewsOnly)
{
	TestFrame t;
	std::vector<std::string> log;
	auto* below = new LoggingView (CRect (0, 0, 100, 100), log, "below", kMouseEventHandled);
	auto* transparent = new LoggingView (CRect (0, 0, 100, 100), log, "transparent", kMouseEventNotHandled);
	auto* disabled = new LoggingView (CRect (0, 0, 100, 100), log, "disabled", kMouseEventHandled);
	transparent->setTransparency (true);
	disabled->setMouseEnabled (false);
	t.frame->addView (below);
	t.frame->addView (transparent);
	t.frame->addView (disabled);
	t.click (50, 50);
	EXPECT_EQ (log, (std::vector<std::string> {"transparent onMouseDown", "below onMouseDown", "below onMouseUp"}));

	log.clear ();
	transparent->setTransparency (false);
	t.click (50, 50);
	EXPECT_EQ (log, (std::vector<std::string> {"transparent onMouseDown"}));
}

TEST (Views, GlobalTransformIncludesTheFrameScaleAndEveryOrigin)
{
	TestFrame t (CRect (0, 0, 200, 200));
	t.frame->setTransform (CGraphicsTransform ().scale (0.5, 0.5));
	auto* outer = new CViewContainer (CRect (100, 40, 300, 300));
	auto* leaf = new CView (CRect (10, 20, 30, 40));
	outer->addView (leaf);
	t.frame->addView (outer);
	CPoint p (10, 20);
	leaf->translateToGlobal (p);
	EXPECT_EQ (p, CPoint (55, 30));
	CPoint q (55, 30);
	leaf->translateToLocal (q);
	EXPECT_EQ (q, CPoint (10, 20));

	std::vector<std::string> log;
	LoggingListener listener (log, "leaf", kMouseEventHandled);
	leaf->registerViewMouseListener (&listener);
	t.down (57, 32);
	EXPECT_EQ (log, (std::vector<std::string> {"leaf down 14,24"}));
	leaf->unregisterViewMouseListener (&listener);
}

TEST (Views, HoverEntersAndExitsMouseEnabledViewsAndMovesWithModifiersOnly)
{
	TestFrame t;
	std::vector<std::string> log;
	auto* view = new LoggingView (CRect (0, 0, 50, 50), log, "view", kMouseEventHandled);
	t.frame->addView (view);
	LoggingListener listener (log, "l", kMouseEventHandled);
	view->registerViewMouseListener (&listener);
	t.move (10, 10, kShift);
	t.move (100, 100, 0);
	EXPECT_EQ (log, (std::vector<std::string> {"l entered", "view onMouseMoved 16", "l exited"}));
	view->unregisterViewMouseListener (&listener);
}

TEST (Views, MouseEnabledChangesReachTheListeners)
{
	std::vector<std::string> log;
	auto* view = new CView (CRect ());
	LoggingListener listener (log, "l", kMouseEventHandled);
	view->registerViewMouseListener (&listener);
	view->setMouseEnabled (false);
	view->setMouseEnabled (false);
	view->setMouseEnabled (true);
	EXPECT_EQ (log, (std::vector<std::string> {"l off", "l on"}));
	view->unregisterViewMouseListener (&listener);
	view->forget ();
}

TEST (Views, ContainerDrawsBackgroundThenChildrenInOrderThroughItsTransform)
{
	TestFrame t (CRect (0, 0, 100, 100));
	t.frame->setTransparency (true);
	auto* container = new CViewContainer (CRect (10, 10, 90, 90));
	container->setBackgroundColor (kBlueCColor);
	container->setTransform (CGraphicsTransform ().scale (2, 2));
	auto* child = new CView (CRect (0, 0, 10, 10));
	auto bitmap = owned (makeStrip (10, 10, {kRedCColor}));
	child->setBackground (bitmap);
	container->addView (child);
	t.frame->addView (container);
	EXPECT_EQ (t.pixel (5, 5).alpha, 0);
	EXPECT_EQ (t.pixel (12, 12), kRedCColor);
	EXPECT_EQ (t.pixel (29, 29), kRedCColor);
	EXPECT_EQ (t.pixel (31, 31), kBlueCColor);
}

TEST (Views, IdleDrawsWhatSettersOnlyMarkedDirty)
{
	TestFrame t (CRect (0, 0, 100, 100));
	auto* view = new CView (CRect (0, 0, 10, 10));
	t.frame->addView (view);
	t.window ().redraw ();
	auto bitmap = owned (makeStrip (10, 10, {kGreenCColor}));
	view->setBackground (bitmap);
	EXPECT_FALSE (t.window ().redraw ());
	t.frame->idle ();
	EXPECT_TRUE (t.window ().redraw ());
	EXPECT_EQ (t.window ().getPixel (5, 5), kGreenCColor);
}

TEST (Views, ShowingOrHidingAContainerAwayFromTheOriginRedrawsWhereItIs)
{
	TestFrame t (CRect (0, 0, 200, 200));
	t.frame->setTransform (CGraphicsTransform ().scale (0.5, 0.5));
	auto* page = new CViewContainer (CRect (200, 100, 300, 200));
	page->setBackgroundColor (kGreenCColor);
	t.frame->addView (page);
	t.window ().redraw ();
	EXPECT_EQ (t.window ().getPixel (125, 75), kGreenCColor);
	page->setVisible (false);
	EXPECT_TRUE (t.window ().redraw ());
	EXPECT_NE (t.window ().getPixel (125, 75), kGreenCColor);
	page->setVisible (true);
	EXPECT_TRUE (t.window ().redraw ());
	EXPECT_EQ (t.window ().getPixel (125, 75), kGreenCColor);
}

TEST (Views, AListenerOnTheAdapterDefaultsLeavesEverythingToTheView)
{
	TestFrame t;
	std::vector<std::string> log;
	struct DownOnly : ViewMouseListenerAdapter
	{
		CMouseEventResult viewOnMouseDown (CView*, CPoint, CButtonState) override { return kMouseEventNotHandled; }
	} listener;
	auto* view = new LoggingView (CRect (0, 0, 50, 50), log, "view", kMouseEventHandled);
	t.frame->addView (view);
	view->registerViewMouseListener (&listener);
	t.down (5, 5);
	t.move (6, 6);
	t.up (6, 6);
	EXPECT_EQ (log, (std::vector<std::string> {"view onMouseDown", "view onMouseMoved 2", "view onMouseUp"}));
	view->unregisterViewMouseListener (&listener);
}

TEST (Views, IteratorsWalkTheChildrenBothWaysAndEndInNull)
{
	auto container = owned (new CViewContainer (CRect (0, 0, 100, 100)));
	std::vector<CView*> added;
	for (int i = 0; i < 3; ++i)
	{
		added.push_back (new CView (CRect ()));
		container->addView (added.back ());
	}
	std::vector<CView*> forward, backward;
	for (ViewIterator it (container); *it; ++it)
		forward.push_back (*it);
	for (ReverseViewIterator it (container); *it; ++it)
		backward.push_back (*it);
	EXPECT_EQ (forward, added);
	EXPECT_EQ (backward, (std::vector<CView*> {added[2], added[1], added[0]}));
	auto empty = owned (new CViewContainer (CRect ()));
	EXPECT_EQ (*ReverseViewIterator (empty), nullptr);
	std::vector<CView*> views;
	EXPECT_EQ (container->getChildViewsOfType<CView> (views), 3u);
}

TEST (Views, ReSettingTheOnlyReferenceToABitmapKeepsItAlive)
{
	TestFrame t (CRect (0, 0, 20, 20));
	auto* view = new CView (CRect (0, 0, 10, 10));
	t.frame->addView (view);
	auto* knob = new CKnob (CRect (10, 10, 20, 20), nullptr, 0, nullptr, nullptr);
	t.frame->addView (knob);
	auto* background = makeStrip (10, 10, {kRedCColor});
	auto* disabled = makeStrip (10, 10, {kBlueCColor});
	auto* handle = makeStrip (4, 4, {kGreenCColor});
	view->setBackground (background);
	view->setDisabledBackground (disabled);
	knob->setHandleBitmap (handle);
	// Each view is now the bitmap's only owner; setting it again must not free it.
	for (auto* bitmap : {background, disabled, handle})
		bitmap->forget ();
	view->setBackground (view->getBackground ());
	view->setDisabledBackground (view->getDisabledBackground ());
	knob->setHandleBitmap (knob->getHandleBitmap ());
	EXPECT_EQ (background->getNbReference (), 1);
	EXPECT_EQ (t.pixel (5, 5), kRedCColor);
	view->setMouseEnabled (false);
	view->invalid ();
	EXPECT_EQ (t.pixel (5, 5), kBlueCColor);
	EXPECT_EQ (knob->getHandleBitmap ()->getNbReference (), 1);
}
