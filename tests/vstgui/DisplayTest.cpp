#include "TestFrame.h"

#include <gtest/gtest.h>

using namespace VSTGUI;

TEST (ParamDisplay, OpaqueDisplaysFillTheirBackColourTransparentOnesDrawOnlyText)
{
	TestFrame t (CRect (0, 0, 100, 40));
	t.frame->setTransparency (true);
	auto* display = new CParamDisplay (CRect (0, 0, 100, 40));
	display->setBackColor (kBlueCColor);
	display->setFrameColor (kRedCColor);
	display->setFontColor (kGreenCColor);
	display->setValue (0.25f);
	t.frame->addView (display);
	EXPECT_EQ (t.pixel (50, 2), kBlueCColor);
	EXPECT_EQ (t.pixel (0, 20), kRedCColor);

	display->setTransparency (true);
	t.frame->invalid ();
	EXPECT_EQ (t.pixel (50, 2).alpha, 0);
	int green = 0;
	for (int y = 0; y < 40; ++y)
		for (int x = 0; x < 100; ++x)
			green += t.pixel (x, y).green > 200;
	EXPECT_GT (green, 10);
}

TEST (ParamDisplay, ValueTextUsesThePrecisionOrTheConversionFunction)
{
	auto* display = new CParamDisplay (CRect (0, 0, 100, 40));
	std::string shown;
	display->setValueToStringFunction ([&] (float value, char text[256], CParamDisplay*) {
		std::snprintf (text, 256, "%d%%", int (value * 100));
		shown = text;
		return true;
	});
	TestFrame t;
	t.frame->addView (display);
	display->setValue (0.5f);
	t.frame->idle ();
	t.window ().redraw ();
	EXPECT_EQ (shown, "50%");
	EXPECT_EQ (display->getTag (), -1);
}

TEST (TextLabel, TruncatesAtTheChosenEndToFitItsWidth)
{
	TestFrame t (CRect (0, 0, 80, 20));
	auto* label = new CTextLabel (CRect (0, 0, 80, 20), "A long single name here");
	label->setFont (makeOwned<CFontDesc> ("Arial", 14));
	t.frame->addView (label);
	label->setTextTruncateMode (CTextLabel::kTruncateTail);
	t.window ().redraw ();
	std::string tail = label->getTruncatedText ().getString ();
	ASSERT_FALSE (tail.empty ());
	EXPECT_EQ (tail.substr (tail.size () - 2), "..");
	EXPECT_EQ (tail.substr (0, 3), "A l");

	label->setTextTruncateMode (CTextLabel::kTruncateHead);
	t.frame->invalid ();
	t.window ().redraw ();
	std::string head = label->getTruncatedText ().getString ();
	EXPECT_EQ (head.substr (0, 2), "..");
	EXPECT_EQ (head.substr (head.size () - 4), "here");

	label->setText ("Short");
	t.frame->idle ();
	t.window ().redraw ();
	EXPECT_TRUE (label->getTruncatedText ().empty ());
}

TEST (Container, ChildrenFollowTheirAutosizeFlagsUnlessAutosizingIsOff)
{
	auto container = owned (new CViewContainer (CRect (0, 0, 100, 100)));
	auto* stretch = new CView (CRect (10, 10, 90, 90));
	stretch->setAutosizeFlags (kAutosizeAll);
	auto* pinned = new CView (CRect (80, 80, 90, 90));
	pinned->setAutosizeFlags (kAutosizeRight | kAutosizeBottom);
	auto* fixed = new CView (CRect (0, 0, 5, 5));
	container->addView (stretch);
	container->addView (pinned);
	container->addView (fixed);
	container->setViewSize (CRect (0, 0, 150, 120));
	EXPECT_EQ (stretch->getViewSize (), CRect (10, 10, 140, 110));
	EXPECT_EQ (pinned->getViewSize (), CRect (80, 80, 140, 110));
	EXPECT_EQ (fixed->getViewSize (), CRect (0, 0, 5, 5));
	container->setAutosizingEnabled (false);
	container->setViewSize (CRect (0, 0, 100, 100));
	EXPECT_EQ (stretch->getViewSize (), CRect (10, 10, 140, 110));
}

TEST (OptionMenu, DisabledEntriesAndSeparatorsAreSkippedByKeys)
{
	TestFrame t (CRect (0, 0, 400, 300));
	ValueRecorder recorder;
	auto* menu = new COptionMenu (CRect (0, 0, 100, 20), &recorder, -1);
	menu->addEntry ("off", -1, CMenuItem::kDisabled);
	menu->addSeparator ();
	menu->addEntry ("on");
	t.frame->addView (menu);
	t.frame->setFocusView (menu);
	t.key (VKEY_RETURN);
	t.key (VKEY_DOWN);
	t.key (VKEY_RETURN);
	EXPECT_EQ (recorder.values, (std::vector<float> {2.f}));
	EXPECT_EQ (menu->getCurrentIndex (), 1);
	EXPECT_EQ (menu->getCurrentIndex (true), 2);
	EXPECT_EQ (menu->getValueNormalized (), 1.f);
}
