#include "TestBitmaps.h"
#include "TestFrame.h"

#include "vstgui/lib/platform/optionmenupopup.h"

#include <gtest/gtest.h>

#include <cairo/cairo.h>

using namespace VSTGUI;

namespace
{
// Draws straight into a 100 x 100 surface and reads pixels back.
struct Canvas
{
	Canvas () : window (nullptr, CRect (0, 0, 100, 100))
	{
		context = new CDrawContext (window.getSurface (), CRect (0, 0, 100, 100));
	}
	~Canvas () { context->forget (); }
	CColor at (int x, int y) { return window.getPixel (x, y); }

	OffscreenPlatformFrame window;
	CDrawContext* context;
};

const CColor kRed (255, 0, 0);
const CColor kGreen (0, 255, 0);
const CColor kBlue (0, 0, 255);
}

TEST (Drawing, FilledRectCoversExactlyItsPixels)
{
	Canvas c;
	c.context->setFillColor (kRed);
	c.context->drawRect (CRect (10, 10, 20, 20), kDrawFilled);
	EXPECT_EQ (c.at (10, 10), kRed);
	EXPECT_EQ (c.at (19, 19), kRed);
	EXPECT_EQ (c.at (20, 20).alpha, 0);
	EXPECT_EQ (c.at (9, 10).alpha, 0);
}

TEST (Drawing, ClipFollowsTheTransformItWasSetUnder)
{
	Canvas c;
	{
		CDrawContext::Transform t (*c.context, CGraphicsTransform ().translate (50, 0));
		c.context->setClipRect (CRect (0, 0, 10, 10));
	}
	c.context->setFillColor (kBlue);
	c.context->drawRect (CRect (0, 0, 100, 100), kDrawFilled);
	EXPECT_EQ (c.at (55, 5), kBlue);
	EXPECT_EQ (c.at (5, 5).alpha, 0);
	CRect clip;
	c.context->getClipRect (clip);
	EXPECT_EQ (clip, CRect (50, 0, 60, 10));
}

TEST (Drawing, BitmapIsDrawnUnscaledWithItsOffsetAtTheDestinationCorner)
{
	Canvas c;
	auto strip = owned (makeStrip (10, 10, {kRed, kGreen, kBlue}));
	c.context->drawBitmap (strip, CRect (30, 30, 40, 40), CPoint (0, 10));
	EXPECT_EQ (c.at (30, 30), kGreen);
	EXPECT_EQ (c.at (39, 39), kGreen);
	// Clipped to the destination: the blue frame below is not painted.
	EXPECT_EQ (c.at (35, 41).alpha, 0);
}

TEST (Drawing, GlobalAlphaScalesWhatIsDrawn)
{
	Canvas c;
	c.context->setGlobalAlpha (0.5f);
	c.context->setFillColor (kRed);
	c.context->drawRect (CRect (0, 0, 10, 10), kDrawFilled);
	EXPECT_NEAR (c.at (5, 5).alpha, 128, 1);
}

TEST (Drawing, LinearGradientIsPaddedBeyondBothEnds)
{
	Canvas c;
	auto gradient = owned (CGradient::create (1.0, 0.0, kBlue, kRed));
	auto path = owned (c.context->createGraphicsPath ());
	path->addRect (CRect (0, 0, 100, 100));
	c.context->fillLinearGradient (path, *gradient, CPoint (0, 40), CPoint (0, 60));
	EXPECT_EQ (c.at (50, 10), kRed);
	EXPECT_EQ (c.at (50, 90), kBlue);
	CColor middle = c.at (50, 50);
	EXPECT_GT (middle.red, 80);
	EXPECT_GT (middle.blue, 80);
}

TEST (Drawing, GradientStopsKeepTheirOffsets)
{
	auto gradient = owned (CGradient::create (1.0, 0.0, kBlue, kRed));
	const auto& stops = gradient->getColorStops ();
	ASSERT_EQ (stops.size (), 2u);
	EXPECT_EQ (stops.begin ()->first, 0.0);
	EXPECT_EQ (stops.begin ()->second, kRed);
	EXPECT_EQ (stops.rbegin ()->second, kBlue);
}

TEST (Drawing, PathFillsTheClosedShape)
{
	Canvas c;
	auto path = owned (c.context->createGraphicsPath ());
	path->beginSubpath (CPoint (0, 0));
	path->addLine (CPoint (100, 0));
	path->addLine (CPoint (0, 100));
	path->closeSubpath ();
	c.context->setFillColor (kGreen);
	c.context->drawGraphicsPath (path);
	EXPECT_EQ (c.at (10, 10), kGreen);
	EXPECT_EQ (c.at (90, 90).alpha, 0);
	CRect box = path->getBoundingBox ();
	EXPECT_EQ (box, CRect (0, 0, 100, 100));
}

TEST (Drawing, TextIsRenderedWithAnInstalledFontForArial)
{
	Canvas c;
	auto font = makeOwned<CFontDesc> ("Arial", 36, kBoldFace);
	c.context->setFont (font);
	c.context->setFontColor (kRed);
	CCoord width = c.context->getStringWidth ("WWW");
	EXPECT_GT (width, 60);
	c.context->drawString ("WWW", CRect (0, 0, 100, 100), kCenterText);
	int red = 0;
	for (int y = 0; y < 100; ++y)
		for (int x = 0; x < 100; ++x)
			red += c.at (x, y).alpha > 128;
	EXPECT_GT (red, 200);
}

TEST (Drawing, PngDataDecodesAndGarbageIsRefused)
{
	auto strip = owned (makeStrip (3, 2, {kRed}));
	const std::vector<uint8_t> png = pngBytes (*strip);
	auto decoded = owned (CBitmap::createFromPNGData (png.data (), png.size ()));
	ASSERT_TRUE (decoded);
	EXPECT_EQ (decoded->getWidth (), 3);
	EXPECT_EQ (decoded->getHeight (), 2);
	EXPECT_EQ (CBitmap::createFromPNGData (png.data (), png.size () / 2), nullptr);
	EXPECT_EQ (CBitmap::createFromPNGData ("not a png", 9), nullptr);
}

// A character the requested font lacks comes from a font that has it, not as the empty box a
// missing glyph draws: a solid triangle inks about half of its box, the outline of a box far less.
TEST (Drawing, SymbolsTheFontLacksAreDrawnFromAFontThatHasThem)
{
	Canvas c;
	auto font = makeOwned<CFontDesc> ("Arial", 60);
	c.context->setFont (font);
	c.context->setFontColor (kBlackCColor);
	const char* arrow = "\xE2\x96\xB8";
	const CCoord width = c.context->getStringWidth (arrow);
	EXPECT_GT (width, 10);
	c.context->drawString (arrow, CRect (0, 0, 100, 100), kLeftText);
	int left = 100, right = -1, top = 100, bottom = -1, inked = 0;
	for (int y = 0; y < 100; ++y)
		for (int x = 0; x < 100; ++x)
			if (c.at (x, y).alpha > 128)
			{
				++inked;
				left = std::min (left, x), right = std::max (right, x);
				top = std::min (top, y), bottom = std::max (bottom, y);
			}
	ASSERT_GT (inked, 0);
	const int box = (right - left + 1) * (bottom - top + 1);
	EXPECT_GT (inked * 10, box * 3) << inked << " of " << box;
	// Text around the symbol still uses the requested font and advances past it.
	EXPECT_NEAR (c.context->getStringWidth ("a\xE2\x96\xB8" "a"), width + 2 * c.context->getStringWidth ("a"), 0.01);
}

namespace
{
// How wide the popup column listing this entry opens; its text is measured outside any drawing.
CCoord popupWidth (const char* entry)
{
	TestFrame t (CRect (0, 0, 800, 600));
	auto* menu = new COptionMenu (CRect (10, 10, 20, 30), nullptr, -1);
	menu->addEntry (entry);
	t.frame->addView (menu);
	t.click (15, 20);
	auto* popup = OptionMenuPopup::get (t.frame);
	return popup ? popup->getLevelRect (0).getWidth () : 0.;
}
}

// Bytes that are not UTF-8 (a stray byte of 0x80 or above, a cut or overlong sequence, a surrogate, a code
// point cairo refuses) are measured and drawn as replacement characters, and nothing drawn or measured after
// them, in the same context or on the thread, is spoilt.
TEST (Drawing, TextThatIsNotUtf8SpoilsNothingAfterIt)
{
	Canvas c;
	auto font = makeOwned<CFontDesc> ("Arial", 20);
	c.context->setFont (font);
	c.context->setFontColor (kRed);
	const CCoord before = c.context->getStringWidth ("Warm Pad");
	const CCoord replacement = c.context->getStringWidth ("\xEF\xBF\xBD");
	const CCoord popupBefore = popupWidth ("Warm Pad");
	for (const char* bad : {"\x80", "\xFF", "\xC3", "\xC0\xAF", "\xED\xA0\x80", "\xF4\x90\x80\x80", "\xEF\xBF\xBE"})
	{
		EXPECT_NEAR (c.context->getStringWidth (bad), replacement, 0.01) << bad;
		c.context->drawString (bad, CRect (0, 0, 100, 30), kLeftText);
		EXPECT_GT (popupWidth (bad), 0.) << bad;
	}
	EXPECT_EQ (c.context->getStringWidth ("Warm Pad"), before);
	EXPECT_EQ (popupWidth ("Warm Pad"), popupBefore);
	c.context->drawString ("Warm Pad", CRect (0, 50, 100, 80), kLeftText);
	int inked = 0;
	for (int y = 50; y < 80; ++y)
		for (int x = 0; x < 100; ++x)
			inked += c.at (x, y).alpha > 128;
	EXPECT_GT (inked, 50);
}

// A call cairo refuses (here under a transform that cannot be inverted) fails alone: what comes after it is drawn.
TEST (Drawing, ACallCairoRefusesFailsAlone)
{
	Canvas c;
	{
		CDrawContext::Transform flat (*c.context, CGraphicsTransform ().scale (0., 0.));
		c.context->drawRect (CRect (0, 0, 50, 50), kDrawFilled);
	}
	c.context->setFillColor (kRed);
	c.context->drawRect (CRect (10, 10, 20, 20), kDrawFilled);
	EXPECT_EQ (c.at (15, 15), kRed);
}
