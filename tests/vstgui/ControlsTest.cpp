#include "TestBitmaps.h"
#include "TestFrame.h"

#include "vstgui/lib/platform/optionmenupopup.h"
#include "RunLoop.h"

#include <gtest/gtest.h>

using namespace VSTGUI;

namespace
{
// A control with nothing of its own, for the base behaviour.
struct PlainControl : CControl
{
	using CControl::CControl;
	void draw (CDrawContext*) override {}
	CBaseObject* newCopy () const override { return new PlainControl (*this); }
};
}

TEST (Control, ValuesClampAndNormaliseAgainstTheRange)
{
	auto* c = new PlainControl (CRect (), nullptr, 3);
	EXPECT_EQ (c->getDefaultValue (), 0.5f);
	EXPECT_EQ (c->getWheelInc (), 0.1f);
	EXPECT_TRUE (c->isDirty ());
	c->setMin (60);
	c->setMax (108);
	EXPECT_EQ (c->getValue (), 60);
	c->setValueNormalized (0.5f);
	EXPECT_EQ (c->getValue (), 84);
	c->setValue (200);
	EXPECT_EQ (c->getValue (), 108);
	EXPECT_EQ (c->getValueNormalized (), 1.f);
	c->setMax (60);
	EXPECT_EQ (c->getValueNormalized (), 0.f);
	c->forget ();
}

TEST (Control, EditGesturesNestAndReachTheEditorWithTheTag)
{
	TestFrame t;
	auto* c = new PlainControl (CRect (), nullptr, -1);
	t.frame->addView (c);
	c->beginEdit ();
	c->beginEdit ();
	c->endEdit ();
	EXPECT_TRUE (c->isEditing ());
	c->endEdit ();
	c->endEdit ();
	EXPECT_EQ (t.editor.calls, (std::vector<std::string> {"begin -1", "end -1"}));
}

TEST (Control, DefaultValueClickSetsTheClampedDefault)
{
	TestFrame t;
	t.editor.knobMode = kLinearMode;
	ValueRecorder recorder;
	auto* knob = new CAnimKnob (CRect (0, 0, 100, 100), &recorder, -1, nullptr);
	knob->setMin (60);
	knob->setMax (108);
	t.frame->addView (knob);
	EXPECT_EQ (t.down (50, 50, kLButton | kControl), kMouseDownEventHandledButDontNeedMovedOrUpEvents);
	EXPECT_EQ (recorder.values, (std::vector<float> {60.f}));
	EXPECT_EQ (t.editor.calls, (std::vector<std::string> {"begin -1", "end -1"}));
}

TEST (KickButton, ReportsOnReleaseOnlyOneThenZeroInsideAndZeroOutside)
{
	TestFrame t;
	ValueRecorder recorder;
	auto* button = new CKickButton (CRect (10, 10, 60, 40), &recorder, -1, nullptr);
	t.frame->addView (button);
	EXPECT_EQ (t.down (20, 20), kMouseEventHandled);
	t.move (60, 40);
	EXPECT_TRUE (recorder.values.empty ());
	EXPECT_EQ (button->getValue (), 1.f);
	// The release position does not matter; the last move does.
	t.up (200, 200);
	EXPECT_EQ (recorder.values, (std::vector<float> {1.f, 0.f}));

	recorder.values.clear ();
	t.down (20, 20);
	t.move (61, 20);
	t.up (61, 20);
	EXPECT_EQ (recorder.values, (std::vector<float> {0.f}));
	EXPECT_EQ (t.editor.calls, (std::vector<std::string> {"begin -1", "end -1", "begin -1", "end -1"}));

	EXPECT_EQ (t.down (20, 20, kRButton), kMouseEventNotHandled);
}

TEST (KickButton, DrawsTheTopFrameAtZeroAndTheBottomFrameAtOne)
{
	TestFrame t (CRect (0, 0, 100, 100));
	auto strip = owned (makeStrip (40, 20, {kRedCColor, kGreenCColor}));
	auto* button = new CKickButton (CRect (10, 10, 50, 30), nullptr, -1, 20, strip);
	t.frame->addView (button);
	EXPECT_EQ (t.pixel (30, 20), kRedCColor);
	t.down (30, 20);
	EXPECT_EQ (t.pixel (30, 20), kGreenCColor);
	t.up (30, 20);
	EXPECT_EQ (t.pixel (30, 20), kRedCColor);
}

TEST (KickButton, ReturnKeyPressesAndReleases)
{
	TestFrame t;
	ValueRecorder recorder;
	auto* button = new CKickButton (CRect (0, 0, 50, 50), &recorder, 7, nullptr);
	t.frame->addView (button);
	t.frame->setFocusView (button);
	t.key (VKEY_RETURN);
	VstKeyCode k;
	k.virt = VKEY_RETURN;
	t.frame->platformOnKeyUp (k);
	EXPECT_EQ (recorder.values, (std::vector<float> {1.f, 0.f}));
	EXPECT_EQ (t.editor.calls, (std::vector<std::string> {"begin 7", "end 7"}));
}

TEST (Knob, LinearDragMovesTheRangeInTwoHundredPixelsAndShiftUsesTheZoomFactor)
{
	TestFrame t;
	t.editor.knobMode = kLinearMode;
	ValueRecorder recorder;
	auto* knob = new CAnimKnob (CRect (0, 0, 100, 100), &recorder, -1, nullptr);
	t.frame->addView (knob);
	t.down (50, 50);
	t.move (50, 30);
	EXPECT_FLOAT_EQ (knob->getValue (), 0.1f);
	t.move (70, 30);
	EXPECT_FLOAT_EQ (knob->getValue (), 0.2f);
	t.up (70, 30);
	EXPECT_EQ (recorder.values.size (), 2u);

	knob->setZoomFactor (2.f);
	knob->setValue (0.f);
	t.down (50, 50, kLButton | kShift);
	t.move (50, 10, kLButton | kShift);
	EXPECT_FLOAT_EQ (knob->getValue (), 0.1f);
	t.move (50, -190, kLButton | kShift);
	EXPECT_FLOAT_EQ (knob->getValue (), 0.6f);
	t.up (50, -190);
}

TEST (Knob, DragWorksInTemplateUnitsUnderAScaledFrame)
{
	TestFrame t (CRect (0, 0, 200, 200));
	t.frame->setTransform (CGraphicsTransform ().scale (0.5, 0.5));
	t.editor.knobMode = kLinearMode;
	auto* knob = new CAnimKnob (CRect (0, 0, 100, 100), nullptr, -1, nullptr);
	t.frame->addView (knob);
	t.down (25, 25);
	t.move (25, 15);
	EXPECT_FLOAT_EQ (knob->getValue (), 0.1f);
	t.up (25, 15);
}

TEST (Knob, CancelRestoresTheStartValue)
{
	TestFrame t;
	t.editor.knobMode = kLinearMode;
	auto* knob = new CAnimKnob (CRect (0, 0, 100, 100), nullptr, -1, nullptr);
	knob->setValue (0.3f);
	t.frame->addView (knob);
	t.down (50, 50);
	t.move (50, 0);
	t.frame->onMouseCancel ();
	EXPECT_FLOAT_EQ (knob->getValue (), 0.3f);
	EXPECT_FALSE (knob->isEditing ());
}

TEST (Knob, AnimKnobPicksTheFrameFromTheValue)
{
	TestFrame t (CRect (0, 0, 20, 20));
	std::vector<CColor> colours;
	for (int i = 0; i < 63; ++i)
		colours.emplace_back (static_cast<uint8_t> (i), 0, 0, 255);
	auto strip = owned (makeStrip (10, 10, colours));
	auto* knob = new CAnimKnob (CRect (0, 0, 10, 10), nullptr, -1, strip);
	EXPECT_EQ (knob->getNumSubPixmaps (), 63);
	t.frame->addView (knob);
	knob->setValue (1.f);
	t.frame->idle ();
	EXPECT_EQ (t.pixel (5, 5).red, 62);
	knob->setValue (0.5f);
	t.frame->idle ();
	EXPECT_EQ (t.pixel (5, 5).red, 31);
	knob->setInverseBitmap (true);
	knob->setValue (1.f);
	t.frame->idle ();
	EXPECT_EQ (t.pixel (5, 5).red, 0);
}

TEST (Knob, WheelStepsAndEndsTheGestureLater)
{
	RunLoop loop;
	TestFrame t;
	ValueRecorder recorder;
	auto* knob = new CAnimKnob (CRect (0, 0, 100, 100), &recorder, 4, nullptr);
	t.frame->addView (knob);
	t.frame->platformOnMouseWheel (CPoint (50, 50), kMouseWheelAxisY, 1.f, 0);
	t.frame->platformOnMouseWheel (CPoint (50, 50), kMouseWheelAxisY, 1.f, kShift);
	EXPECT_FLOAT_EQ (knob->getValue (), 0.11f);
	EXPECT_EQ (t.editor.calls, (std::vector<std::string> {"begin 4"}));
	loop.advance (499);
	EXPECT_EQ (t.editor.calls.size (), 1u);
	loop.advance (2);
	EXPECT_EQ (t.editor.calls, (std::vector<std::string> {"begin 4", "end 4"}));
}

TEST (TextLabel, SetTextMarksDirtyButNeverReports)
{
	ValueRecorder recorder;
	auto* label = new CTextLabel (CRect (0, 0, 100, 20), "a");
	label->setListener (&recorder);
	label->setDirty (false);
	label->setText ("a");
	EXPECT_FALSE (label->isDirty ());
	label->setText ("b");
	EXPECT_TRUE (label->isDirty ());
	EXPECT_TRUE (recorder.values.empty ());
	EXPECT_EQ (label->getTag (), -1);
	label->forget ();
}

TEST (TextEdit, TypingCommitsOnReturnAndOnAClickElsewhere)
{
	TestFrame t;
	struct TextRecorder : IControlListener
	{
		void valueChanged (CControl* c) override { texts.push_back (static_cast<CTextEdit*> (c)->getText ().getString ()); }
		std::vector<std::string> texts;
	} recorder;
	auto* edit = new CTextEdit (CRect (0, 0, 100, 20), &recorder, -1, "Init");
	t.frame->addView (edit);
	EXPECT_EQ (t.down (10, 10), kMouseDownEventHandledButDontNeedMovedOrUpEvents);
	EXPECT_EQ (t.frame->getFocusView (), edit);
	EXPECT_TRUE (edit->isFieldOpen ());
	t.key (VKEY_BACK);
	t.type ("T!");
	EXPECT_TRUE (recorder.texts.empty ());
	t.key (VKEY_RETURN);
	EXPECT_EQ (recorder.texts, (std::vector<std::string> {"IniT!"}));
	EXPECT_EQ (t.frame->getFocusView (), nullptr);

	t.click (10, 10);
	t.type ("x");
	t.click (300, 200);
	EXPECT_EQ (recorder.texts, (std::vector<std::string> {"IniT!", "IniT!x"}));
	EXPECT_EQ (t.editor.calls, (std::vector<std::string> {"begin -1", "end -1", "begin -1", "end -1"}));
}

TEST (TextEdit, EscapeRestoresAndImmediateModeReportsEveryKey)
{
	TestFrame t;
	ValueRecorder recorder;
	auto* edit = new CTextEdit (CRect (0, 0, 100, 20), &recorder, -1, "abc");
	t.frame->addView (edit);
	t.click (10, 10);
	t.type ("zz");
	t.key (VKEY_ESCAPE);
	EXPECT_EQ (edit->getText (), "abc");
	EXPECT_TRUE (recorder.values.empty ());

	edit->setImmediateTextChange (true);
	t.click (10, 10);
	t.type ("de");
	EXPECT_EQ (recorder.values.size (), 2u);
	EXPECT_EQ (edit->getText (), "abcde");
	t.key (VKEY_RETURN);
	EXPECT_EQ (recorder.values.size (), 2u);
	edit->setText ("code");
	EXPECT_EQ (recorder.values.size (), 2u);
}

TEST (TextEdit, CaretAndSelectionFollowTheArrowsShiftAndTheMouse)
{
	TestFrame t;
	auto* edit = new CTextEdit (CRect (0, 0, 200, 20), nullptr, -1, "hello");
	edit->setHoriAlign (kLeftText);
	edit->setTextInset (CPoint (4, 0));
	t.frame->addView (edit);
	t.click (100, 10);
	EXPECT_EQ (edit->getCaret (), 5u);
	t.key (VKEY_LEFT);
	t.key (VKEY_LEFT);
	t.key (VKEY_LEFT, 0, MODIFIER_SHIFT);
	t.key (VKEY_LEFT, 0, MODIFIER_SHIFT);
	EXPECT_EQ (edit->getSelectionStart (), 1u);
	EXPECT_EQ (edit->getSelectionEnd (), 3u);
	t.type ("X");
	EXPECT_EQ (edit->getPlatformText (), "hXlo");
	EXPECT_EQ (edit->getCaret (), 2u);
	t.key (VKEY_DELETE);
	t.key (VKEY_BACK);
	EXPECT_EQ (edit->getPlatformText (), "ho");
	t.key (VKEY_HOME);
	t.key (VKEY_END, 0, MODIFIER_SHIFT);
	t.key (VKEY_BACK);
	EXPECT_EQ (edit->getPlatformText (), "");

	// The caret stands at the text's left edge, in the font colour.
	EXPECT_EQ (t.pixel (4, 10), kWhiteCColor);
	EXPECT_NE (t.pixel (8, 10), kWhiteCColor);

	// A click places the caret; a drag selects to where the pointer is, by whole characters.
	t.type ("abcdef");
	t.click (4, 10);
	EXPECT_EQ (edit->getCaret (), 0u);
	t.down (5, 10);
	t.move (199, 10);
	t.up (199, 10);
	EXPECT_EQ (edit->getSelectionStart (), 0u);
	EXPECT_EQ (edit->getSelectionEnd (), 6u);
	t.key (VKEY_RIGHT);
	EXPECT_FALSE (edit->getSelectionEnd () != edit->getSelectionStart ());
	EXPECT_EQ (edit->getCaret (), 6u);
	t.key (VKEY_RETURN);
	EXPECT_EQ (edit->getText (), "abcdef");
}

TEST (TextEdit, TheClipboardCopiesCutsAndPastesOneLineButNothingFromASecureField)
{
	TestFrame t;
	auto* edit = new CTextEdit (CRect (0, 0, 200, 20), nullptr, -1, "Warm Pad");
	auto* secret = new CTextEdit (CRect (0, 30, 200, 50), nullptr, -1, "hidden");
	secret->setSecureStyle (true);
	t.frame->addView (edit);
	t.frame->addView (secret);
	t.click (100, 10);
	t.key (0, 'a', MODIFIER_COMMAND);
	t.key (0, 'c', MODIFIER_COMMAND);
	t.key (VKEY_END);
	t.key (0, 'v', MODIFIER_COMMAND);
	EXPECT_EQ (edit->getPlatformText (), "Warm PadWarm Pad");
	t.key (VKEY_LEFT, 0, MODIFIER_SHIFT);
	t.key (VKEY_LEFT, 0, MODIFIER_SHIFT);
	t.key (VKEY_LEFT, 0, MODIFIER_SHIFT);
	t.key (0, 'x', MODIFIER_COMMAND);
	EXPECT_EQ (edit->getPlatformText (), "Warm PadWarm ");
	t.key (VKEY_HOME);
	t.key (0, 'v', MODIFIER_COMMAND);
	EXPECT_EQ (edit->getPlatformText (), "PadWarm PadWarm ");

	t.frame->getPlatformFrame ()->writeClipboardText ("two\nlines\t");
	t.key (0, 'v', MODIFIER_COMMAND);
	EXPECT_EQ (edit->getPlatformText (), "Padtwo lines Warm PadWarm ");

	t.click (100, 40);
	t.key (0, 'a', MODIFIER_COMMAND);
	t.key (0, 'c', MODIFIER_COMMAND);
	std::string clipboard;
	t.frame->getPlatformFrame ()->readClipboardText ([&] (const std::string& text) { clipboard = text; });
	EXPECT_EQ (clipboard, "two\nlines\t");
}

TEST (TextEdit, SetValueOverwritesTheText)
{
	auto* edit = new CTextEdit (CRect (), nullptr, 0, "name");
	edit->setValue (0.5f);
	EXPECT_EQ (edit->getText (), "0.50");
	edit->forget ();
}

namespace
{
struct MenuLog : IOptionMenuListener, IControlListener
{
	void onOptionMenuPrePopup (COptionMenu* m) override { log.push_back ("pre " + name (m)); }
	void onOptionMenuPostPopup (COptionMenu* m) override { log.push_back ("post " + name (m)); }
	void valueChanged (CControl* c) override { log.push_back ("changed " + name (static_cast<COptionMenu*> (c))); }
	std::string name (COptionMenu* m) { return m == top ? "top" : "sub"; }
	COptionMenu* top {nullptr};
	std::vector<std::string> log;
};
}

TEST (OptionMenu, EntriesIndicesAndTheNormalisedValue)
{
	auto* menu = new COptionMenu (CRect (0, 0, 100, 20), nullptr, -1);
	menu->addEntry ("one");
	menu->addEntry ("-");
	menu->addEntry ("three");
	menu->addEntry ("zero", 0);
	menu->addEntry ("last", 99);
	ASSERT_EQ (menu->getNbEntries (), 5);
	EXPECT_EQ (menu->getEntry (0)->getTitle (), "zero");
	EXPECT_TRUE (menu->getEntry (2)->isSeparator ());
	EXPECT_EQ (menu->getEntry (4)->getTitle (), "last");
	EXPECT_EQ (menu->getEntry (4)->getTag (), -1);
	EXPECT_EQ (menu->getEntry (5), nullptr);

	EXPECT_FALSE (menu->setCurrent (2));
	EXPECT_TRUE (menu->setCurrent (3));
	EXPECT_EQ (menu->getValue (), 0.f);
	EXPECT_EQ (menu->getCurrentIndex (), 2);
	EXPECT_EQ (menu->getCurrentIndex (true), 3);

	menu->setValue (4.4f);
	EXPECT_EQ (menu->getValue (), 4.f);
	EXPECT_EQ (menu->getValueNormalized (), 1.f);
	menu->setValue (5.f);
	EXPECT_EQ (menu->getValue (), 4.f);
	menu->setValueNormalized (0.5f);
	EXPECT_EQ (menu->getValue (), 2.f);
	EXPECT_FALSE (menu->removeEntry (9));
	EXPECT_TRUE (menu->removeEntry (0));
	EXPECT_EQ (menu->getMax (), 3.f);
	menu->forget ();
}

TEST (OptionMenu, ChoiceThroughASubmenuReportsTheSubmenuAndItsIndex)
{
	TestFrame t (CRect (0, 0, 800, 600));
	MenuLog log;
	auto* menu = new COptionMenu (CRect (10, 10, 110, 30), &log, -1);
	log.top = menu;
	menu->registerOptionMenuListener (&log);
	auto* sub = new COptionMenu ();
	sub->registerOptionMenuListener (&log);
	sub->addEntry (new CMenuItem ("Sine", 0));
	sub->addEntry (new CMenuItem ("Saw", 1));
	menu->addEntry ("Waves", -1, CMenuItem::kTitle);
	menu->addEntry (sub, "Basic");
	sub->forget ();
	t.frame->addView (menu);

	int32_t index = 0;
	EXPECT_EQ (menu->getLastItemMenu (index), nullptr);
	EXPECT_EQ (index, -1);

	EXPECT_EQ (t.down (20, 20), kMouseDownEventHandledButDontNeedMovedOrUpEvents);
	t.up (20, 20);
	auto* popup = OptionMenuPopup::get (t.frame);
	ASSERT_TRUE (popup);
	EXPECT_EQ (log.log, (std::vector<std::string> {"pre top", "pre sub"}));

	// The title cannot be chosen; the submenu entry opens the next column.
	CRect title = popup->getItemRect (0, 0);
	t.click (title.getCenter ().x, title.getCenter ().y);
	ASSERT_EQ (OptionMenuPopup::get (t.frame), popup);
	CRect basic = popup->getItemRect (0, 1);
	t.click (basic.getCenter ().x, basic.getCenter ().y);
	ASSERT_EQ (popup->getNumLevels (), 2u);
	CRect saw = popup->getItemRect (1, 1);
	t.click (saw.getCenter ().x, saw.getCenter ().y);
	EXPECT_EQ (OptionMenuPopup::get (t.frame), nullptr);

	EXPECT_EQ (log.log, (std::vector<std::string> {"pre top", "pre sub", "changed top", "post sub", "post top"}));
	EXPECT_EQ (menu->getLastItemMenu (index), sub);
	EXPECT_EQ (index, 1);
	EXPECT_EQ (sub->getEntry (index)->getTag (), 1);
	EXPECT_EQ (menu->getValue (), 0.f);
	EXPECT_EQ (t.editor.calls, (std::vector<std::string> {"begin -1", "end -1"}));
	menu->unregisterOptionMenuListener (&log);
	sub->unregisterOptionMenuListener (&log);
}

TEST (OptionMenu, KeysNavigateAndEscapeDismissesWithoutAChoice)
{
	TestFrame t (CRect (0, 0, 800, 600));
	MenuLog log;
	auto* menu = new COptionMenu (CRect (10, 10, 110, 30), &log, -1);
	log.top = menu;
	menu->registerOptionMenuListener (&log);
	auto* sub = new COptionMenu ();
	sub->addEntry (new CMenuItem ("a", 10));
	sub->addEntry (new CMenuItem ("b", 11));
	menu->addEntry ("first");
	menu->addEntry (sub, "more");
	sub->forget ();
	t.frame->addView (menu);

	t.frame->setFocusView (menu);
	t.key (VKEY_RETURN);
	ASSERT_TRUE (OptionMenuPopup::get (t.frame));
	t.key (VKEY_ESCAPE);
	EXPECT_EQ (OptionMenuPopup::get (t.frame), nullptr);
	EXPECT_EQ (log.log, (std::vector<std::string> {"pre top", "post top"}));

	log.log.clear ();
	t.key (VKEY_DOWN);
	t.key (VKEY_DOWN);
	t.key (VKEY_DOWN);
	t.key (VKEY_RIGHT);
	t.key (VKEY_DOWN);
	t.key (VKEY_RETURN);
	int32_t index = -1;
	EXPECT_EQ (menu->getLastItemMenu (index), sub);
	EXPECT_EQ (index, 1);
	EXPECT_EQ (log.log, (std::vector<std::string> {"pre top", "changed top", "post top"}));

	// A flat choice sets the top menu's value.
	t.frame->setFocusView (menu);
	t.key (VKEY_RETURN);
	t.key (VKEY_UP);
	t.key (VKEY_UP);
	t.key (VKEY_RETURN);
	EXPECT_EQ (menu->getLastItemMenu (index), menu);
	EXPECT_EQ (index, 0);
	menu->unregisterOptionMenuListener (&log);
}

TEST (OptionMenu, DrawsTheCurrentEntryTitle)
{
	TestFrame t (CRect (0, 0, 200, 60));
	auto* menu = new COptionMenu (CRect (0, 0, 200, 60), nullptr, -1);
	menu->setFontColor (kRedCColor);
	menu->setFont (makeOwned<CFontDesc> ("Arial", 40, kBoldFace));
	menu->addEntry ("WWWW");
	t.frame->addView (menu);
	auto countRed = [&] {
		t.frame->invalid ();
		t.window ().redraw ();
		int n = 0;
		for (int y = 0; y < 60; ++y)
			for (int x = 0; x < 200; ++x)
				n += t.window ().getPixel (x, y).red > 200;
		return n;
	};
	EXPECT_EQ (countRed (), 0);
	menu->setCurrent (0);
	EXPECT_GT (countRed (), 300);
}

TEST (Control, AModifierClickTheListenerTakesNeverReachesTheControl)
{
	TestFrame t;
	struct Taker : ValueRecorder
	{
		int32_t controlModifierClicked (CControl*, CButtonState buttons) override { return buttons.isRightButton (); }
	} listener;
	auto* button = new CKickButton (CRect (0, 0, 50, 50), &listener, 1, nullptr);
	t.frame->addView (button);
	EXPECT_EQ (t.down (10, 10, kRButton), kMouseEventHandled);
	EXPECT_TRUE (t.editor.calls.empty ());
	EXPECT_EQ (t.down (10, 10, kLButton | kShift), kMouseEventHandled);
	EXPECT_EQ (t.editor.calls, (std::vector<std::string> {"begin 1"}));
	t.up (10, 10);
}

TEST (Knob, CircularModeFollowsTheAngleAndAltSwitchesToLinear)
{
	TestFrame t;
	auto* knob = new CAnimKnob (CRect (0, 0, 100, 100), nullptr, -1, nullptr);
	t.frame->addView (knob);
	// 135 degrees start and 270 degrees range: straight up is the middle.
	t.down (50, 10);
	EXPECT_NEAR (knob->getValue (), 0.5f, 1e-5);
	t.move (90, 50);
	EXPECT_NEAR (knob->getValue (), 0.8333f, 1e-3);
	t.up (90, 50);
	knob->setValue (0.f);
	t.down (50, 50, kLButton | kAlt);
	t.move (50, 30, kLButton | kAlt);
	EXPECT_FLOAT_EQ (knob->getValue (), 0.1f);
	t.up (50, 30);
}

TEST (KickButton, PicksItsFramesUnderAZoomedFrameToo)
{
	TestFrame t (CRect (0, 0, 100, 100));
	t.frame->setTransform (CGraphicsTransform ().scale (0.75, 0.75));
	auto strip = owned (makeStrip (40, 20, {kRedCColor, kGreenCColor}));
	auto* button = new CKickButton (CRect (20, 20, 60, 40), nullptr, -1, 20, strip);
	t.frame->addView (button);
	// The view covers 15..45 x 15..30 in window pixels.
	EXPECT_EQ (t.pixel (30, 22), kRedCColor);
	EXPECT_EQ (t.pixel (16, 16), kRedCColor);
	button->setValue (1.f);
	t.frame->idle ();
	EXPECT_EQ (t.pixel (30, 22), kGreenCColor);
	EXPECT_EQ (t.pixel (44, 29), kGreenCColor);
	EXPECT_NE (t.pixel (30, 31), kGreenCColor);
}

TEST (OptionMenu, PopupUnderAZoomedFrameIsPlacedAndDrawnInWindowPixels)
{
	TestFrame t (CRect (0, 0, 400, 300));
	t.frame->setTransform (CGraphicsTransform ().scale (0.5, 0.5));
	ValueRecorder recorder;
	auto* menu = new COptionMenu (CRect (100, 100, 300, 140), &recorder, -1);
	menu->addEntry ("one");
	menu->addEntry ("two");
	t.frame->addView (menu);
	t.window ().redraw ();
	t.click (60, 60);
	auto* popup = OptionMenuPopup::get (t.frame);
	ASSERT_TRUE (popup);
	CRect two = popup->getItemRect (0, 1);
	EXPECT_EQ (two.left, 51);
	EXPECT_GE (two.top, 70);
	t.window ().redraw ();
	const CColor background = t.window ().getPixel (int (two.right) - 2, int (two.top) + 2);
	EXPECT_EQ (background.alpha, 255);
	EXPECT_GT (background.red, 200);
	t.click (two.getCenter ().x, two.getCenter ().y);
	EXPECT_EQ (recorder.values, (std::vector<float> {1.f}));
}
