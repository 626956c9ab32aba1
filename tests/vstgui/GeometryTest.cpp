#include "vstgui/vstgui.h"

#include <gtest/gtest.h>

using namespace VSTGUI;

TEST (Geometry, RectPointInsideIsHalfOpenAndOverlapIsInclusive)
{
	CRect r (10, 20, 30, 40);
	EXPECT_TRUE (r.pointInside (CPoint (10, 20)));
	EXPECT_FALSE (r.pointInside (CPoint (30, 25)));
	EXPECT_FALSE (r.pointInside (CPoint (15, 40)));
	EXPECT_TRUE (r.rectOverlap (CRect (30, 40, 50, 50)));
	EXPECT_FALSE (r.rectOverlap (CRect (31, 40, 50, 50)));
	EXPECT_TRUE (CRect (5, 5, 5, 10).isEmpty ());
}

TEST (Geometry, RectConstructorKeepsOrderWhileCallOperatorNormalises)
{
	CRect raw (30, 40, 10, 20);
	EXPECT_EQ (raw.left, 30);
	EXPECT_EQ (raw.getWidth (), -20);
	CRect r;
	r (30, 40, 10, 20);
	EXPECT_EQ (r, CRect (10, 20, 30, 40));
}

TEST (Geometry, RectBoundUniteAndIntegral)
{
	CRect r (0, 0, 100, 100);
	r.bound (CRect (50, 60, 200, 70));
	EXPECT_EQ (r, CRect (50, 60, 100, 70));
	CRect disjoint (0, 0, 10, 10);
	disjoint.bound (CRect (20, 20, 30, 30));
	EXPECT_TRUE (disjoint.isEmpty ());
	EXPECT_GE (disjoint.getWidth (), 0);
	r.unite (CRect (0, 0, 1, 1));
	EXPECT_EQ (r, CRect (0, 0, 100, 70));
	CRect f (1.5, 2.5, 3.2, 4.7);
	f.makeIntegral ();
	EXPECT_EQ (f, CRect (1, 2, 4, 5));
	CPoint p (1.5, -1.5);
	p.makeIntegral ();
	EXPECT_EQ (p, CPoint (2, -1));
}

TEST (Geometry, TransformOperationsApplyAfterTheExistingOnes)
{
	// Scale, then translate: (1, 1) -> (2, 2) -> (12, 2).
	CGraphicsTransform t;
	t.scale (2, 2).translate (10, 0);
	CPoint p (1, 1);
	t.transform (p);
	EXPECT_EQ (p, CPoint (12, 2));

	// (a * b) maps through b first.
	CGraphicsTransform a = CGraphicsTransform ().translate (10, 0);
	CGraphicsTransform b = CGraphicsTransform ().scale (2, 2);
	CPoint q (1, 1);
	(a * b).transform (q);
	EXPECT_EQ (q, CPoint (12, 2));

	CPoint back (12, 2);
	(a * b).inverse ().transform (back);
	EXPECT_DOUBLE_EQ (back.x, 1);
	EXPECT_DOUBLE_EQ (back.y, 1);

	EXPECT_TRUE (CGraphicsTransform ().scale (0, 1).inverse ().isInvariant ());

	CPoint r (1, 0);
	CGraphicsTransform ().rotate (90).transform (r);
	EXPECT_NEAR (r.x, 0, 1e-12);
	EXPECT_NEAR (r.y, 1, 1e-12);
}

TEST (Geometry, TransformedRectIsNotNormalised)
{
	CRect r (0, 0, 10, 10);
	CGraphicsTransform ().scale (-1, 1).transform (r);
	EXPECT_EQ (r, CRect (0, 0, -10, 10));
}

TEST (ButtonState, LeftButtonMeansThatButtonAloneWhateverTheModifiers)
{
	EXPECT_EQ (kLButton, 2);
	EXPECT_TRUE (CButtonState (kLButton | kShift | kDoubleClick).isLeftButton ());
	EXPECT_FALSE (CButtonState (kLButton | kRButton).isLeftButton ());
	EXPECT_EQ (CButtonState (kLButton | kShift | kApple).getModifierState (), kShift | kApple);
	EXPECT_EQ (CButtonState (kLButton | kShift).getButtonState (), kLButton);
}

TEST (Color, ParsesOnlyTheEightDigitForm)
{
	CColor c;
	EXPECT_EQ (c, CColor (255, 255, 255, 255));
	EXPECT_TRUE (c.fromString ("#00FF56b2"));
	EXPECT_EQ (c, CColor (0, 255, 86, 0xB2));
	EXPECT_FALSE (c.fromString ("#00FF56"));
	EXPECT_FALSE (c.fromString ("#00FF56G2"));
	EXPECT_FALSE (c.fromString (nullptr));
	EXPECT_EQ (c, CColor (0, 255, 86, 0xB2));
}

TEST (String, ComparesWithEveryStringKind)
{
	UTF8String s ("abc");
	EXPECT_TRUE (s == "abc");
	EXPECT_TRUE (s == std::string ("abc"));
	EXPECT_TRUE (UTF8String (nullptr).empty ());
}
