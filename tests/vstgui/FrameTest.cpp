#include "TestFrame.h"

#include "RunLoop.h"

#include <gtest/gtest.h>

#include <cairo/cairo.h>

using namespace VSTGUI;

TEST (Frame, OpenNeedsAParentAndAttachesTheTree)
{
	RecordingEditor editor;
	auto* frame = new CFrame (CRect (0, 0, 100, 100), &editor);
	auto* view = new CView (CRect (0, 0, 10, 10));
	frame->addView (view);
	EXPECT_EQ (view->getFrame (), nullptr);
	EXPECT_FALSE (frame->open (nullptr));
	ASSERT_TRUE (frame->open (&editor));
	EXPECT_FALSE (frame->open (&editor));
	EXPECT_EQ (view->getFrame (), frame);
	EXPECT_EQ (view->getEditor (), &editor);
	CRect size;
	EXPECT_TRUE (frame->getSize (size));
	EXPECT_EQ (size, CRect (0, 0, 100, 100));
	frame->close ();
}

TEST (Frame, SetSizeRefusesAnUnchangedSizeAndAsksTheEditor)
{
	TestFrame t (CRect (0, 0, 200, 100));
	EXPECT_FALSE (t.frame->setSize (200, 100));
	t.editor.allowResize = false;
	EXPECT_FALSE (t.frame->setSize (300, 100));
	EXPECT_EQ (t.frame->getViewSize (), CRect (0, 0, 200, 100));
	t.editor.allowResize = true;
	EXPECT_TRUE (t.frame->setSize (300, 150));
	EXPECT_EQ (t.frame->getViewSize (), CRect (0, 0, 300, 150));
	CRect windowSize;
	t.frame->getSize (windowSize);
	EXPECT_EQ (windowSize, CRect (0, 0, 300, 150));
}

TEST (Frame, ZoomScalesTheUnscaledSizeAndRounds)
{
	TestFrame t (CRect (0, 0, 1280, 720));
	t.frame->setTransform (CGraphicsTransform ().scale (0.5, 0.5));
	EXPECT_EQ (t.frame->getZoom (), 1.0);
	// 2560 x 1440 unscaled; 0.6 gives 1536 x 864.
	ASSERT_TRUE (t.frame->setZoom (0.6));
	EXPECT_EQ (t.frame->getViewSize (), CRect (0, 0, 1536, 864));
	EXPECT_EQ (t.frame->getTransform (), CGraphicsTransform ().scale (0.6, 0.6));
	EXPECT_EQ (t.frame->getZoom (), 0.6);
	// 2560 * 0.41234 = 1055.59, rounded to 1056; 1440 * 0.41234 = 593.77 -> 594.
	ASSERT_TRUE (t.frame->setZoom (0.41234));
	EXPECT_EQ (t.frame->getViewSize (), CRect (0, 0, 1056, 594));
	EXPECT_FALSE (t.frame->setZoom (0.));
}

TEST (Frame, FailedZoomRestoresTransformAndKeepsTheZoom)
{
	TestFrame t (CRect (0, 0, 1000, 500));
	ASSERT_TRUE (t.frame->setZoom (2.0));
	// Less than half a pixel of change: the size stays and the zoom fails.
	EXPECT_FALSE (t.frame->setZoom (2.0001));
	EXPECT_EQ (t.frame->getZoom (), 2.0);
	EXPECT_EQ (t.frame->getTransform (), CGraphicsTransform ().scale (2, 2));
	t.editor.allowResize = false;
	EXPECT_FALSE (t.frame->setZoom (1.0));
	EXPECT_EQ (t.frame->getViewSize (), CRect (0, 0, 2000, 1000));
	EXPECT_EQ (t.frame->getTransform (), CGraphicsTransform ().scale (2, 2));
}

TEST (Frame, WorkQueuedDuringAnEventRunsAfterIt)
{
	TestFrame t;
	std::vector<std::string> order;
	EXPECT_FALSE (t.frame->doAfterEventProcessing ([&] { order.push_back ("outside"); }));

	struct Queuer : CView
	{
		Queuer (std::vector<std::string>& order) : CView (CRect (0, 0, 50, 50)), order (order) {}
		CMouseEventResult onMouseDown (CPoint&, const CButtonState&) override
		{
			getFrame ()->doAfterEventProcessing ([this] { order.push_back ("after"); });
			order.push_back ("during");
			return kMouseEventHandled;
		}
		std::vector<std::string>& order;
	};
	t.frame->addView (new Queuer (order));
	t.down (10, 10);
	EXPECT_EQ (order, (std::vector<std::string> {"during", "after"}));
}

TEST (Frame, TooltipShowsAfterTheDelayOverTheTopmostMouseEnabledViewAndHidesOnClick)
{
	RunLoop loop;
	TestFrame t;
	auto* view = new CView (CRect (0, 0, 50, 50));
	view->setTooltipText ("Enable Frequency Modulation by Vibrato && Autobend");
	t.frame->addView (view);
	t.frame->enableTooltips (true, 500);
	t.move (10, 10, 0);
	loop.advance (490);
	EXPECT_FALSE (t.window ().isTooltipVisible ());
	loop.advance (20);
	ASSERT_TRUE (t.window ().isTooltipVisible ());
	EXPECT_EQ (t.window ().getTooltipText (), "Enable Frequency Modulation by Vibrato && Autobend");
	t.down (10, 10);
	EXPECT_FALSE (t.window ().isTooltipVisible ());
	t.up (10, 10);

	view->setMouseEnabled (false);
	t.move (100, 100, 0);
	t.move (11, 11, 0);
	loop.advance (1000);
	EXPECT_FALSE (t.window ().isTooltipVisible ());
}

TEST (Frame, FocusGoesToAClickedViewThatWantsIt)
{
	TestFrame t;
	auto* kick = new CKickButton (CRect (0, 0, 50, 50), nullptr, 0, nullptr);
	auto* plain = new CView (CRect (60, 0, 100, 50));
	t.frame->addView (kick);
	t.frame->addView (plain);
	t.click (10, 10);
	EXPECT_EQ (t.frame->getFocusView (), kick);
	t.click (70, 10);
	EXPECT_EQ (t.frame->getFocusView (), kick);
	t.frame->removeView (kick);
	EXPECT_EQ (t.frame->getFocusView (), nullptr);
}

TEST (Frame, FocusSetWhileInactiveWaitsForActivation)
{
	TestFrame t;
	auto* edit = new CTextEdit (CRect (0, 0, 50, 20), nullptr, 0);
	t.frame->addView (edit);
	t.frame->platformOnActivate (false);
	t.frame->setFocusView (edit);
	EXPECT_EQ (t.frame->getFocusView (), nullptr);
	t.frame->platformOnActivate (true);
	EXPECT_EQ (t.frame->getFocusView (), edit);
}

TEST (Frame, KnobModeFallsBackToCircularWhenTheEditorHasNone)
{
	TestFrame t;
	EXPECT_EQ (t.frame->getKnobMode (), kCircularMode);
	t.editor.knobMode = kLinearMode;
	EXPECT_EQ (t.frame->getKnobMode (), kLinearMode);
}

// A one-pixel black and white checkerboard at half size: the frame's high quality averages it to
// grey. While the zoom is still changing the window is drawn with the fast filter; once it has
// rested it is drawn again by itself at full quality, and each later redraw at that zoom agrees.
TEST (Frame, AfterAZoomChangeRestsTheWindowIsDrawnAgainAtFullQuality)
{
	RunLoop loop;
	TestFrame t (CRect (0, 0, 64, 64));
	t.frame->setBitmapInterpolationQuality (BitmapInterpolationQuality::kHigh);
	auto checker = owned (new CBitmap (CPoint (64, 64)));
	{
		uint32_t* pixels = reinterpret_cast<uint32_t*> (cairo_image_surface_get_data (checker->getPlatformSurface ()));
		const int stride = cairo_image_surface_get_stride (checker->getPlatformSurface ()) / 4;
		for (int y = 0; y < 64; ++y)
			for (int x = 0; x < 64; ++x)
				pixels[y * stride + x] = (x + y) % 2 ? 0xFFFFFFFF : 0xFF000000;
		cairo_surface_mark_dirty (checker->getPlatformSurface ());
	}
	auto* view = new CView (CRect (0, 0, 64, 64));
	view->setBackground (checker);
	t.frame->addView (view);
	ASSERT_TRUE (t.frame->setZoom (0.5));
	t.window ().redraw ();
	EXPECT_FALSE (t.window ().redraw ());
	loop.advance (200);
	EXPECT_TRUE (t.window ().redraw ());
	const CColor settled = t.window ().getPixel (10, 10);
	EXPECT_NEAR (settled.red, 127, 20);
	t.window ().redrawAll ();
	EXPECT_EQ (t.window ().getPixel (10, 10), settled);
	EXPECT_EQ (t.window ().getPixel (20, 13), settled);
}
