#include "RunLoop.h"
#include "TestFrame.h"

#include <gtest/gtest.h>

#include <set>

using namespace VSTGUI;

namespace
{
// A centred field in the editor's font under the window's default zoom: 100 x 20 frame pixels
// from (4, 4), so a line of "x" longer than about a dozen overflows it.
struct ZoomedField
{
	ZoomedField ()
	{
		t.frame->setZoom (0.4);
		edit = new CTextEdit (CRect (10, 10, 260, 60), nullptr, -1);
		edit->setFont (makeOwned<CFontDesc> ("Arial", 36, kBoldFace));
		t.frame->addView (edit);
	}

	// The one column lit from above the letters to below them, or -1.
	int caretColumn ()
	{
		t.window ().redraw ();
		for (int x = kLeft; x < kRight; ++x)
			if (t.window ().getPixel (x, 6) == kWhiteCColor && t.window ().getPixel (x, 21) == kWhiteCColor)
				return x;
		return -1;
	}

	// Columns with any ink of the letters on them.
	std::set<int> inkColumns ()
	{
		t.window ().redraw ();
		std::set<int> columns;
		for (int x = kLeft; x < kRight; ++x)
			for (int y = 8; y < 20; ++y)
				if (t.window ().getPixel (x, y).red > 60)
					columns.insert (x);
		return columns;
	}

	static constexpr int kLeft = 4;
	static constexpr int kRight = 104;
	TestFrame t;
	CTextEdit* edit;
};
}

TEST (TextEdit, ALongLineScrollsToKeepTheCaretInSightAndShortTextStandsWhereTheClosedFieldHasIt)
{
	ZoomedField f;
	f.t.click (50, 14);
	f.t.type (std::string (30, 'x'));
	const int atEnd = f.caretColumn ();
	EXPECT_GE (atEnd, f.kRight - 3);
	EXPECT_LT (atEnd, f.kRight);
	// The line reaches the field's start: it scrolled no further than its end needs.
	EXPECT_LE (*f.inkColumns ().begin (), f.kLeft + 1);

	f.t.key (VKEY_LEFT);
	f.t.key (VKEY_LEFT);
	const int twoBack = f.caretColumn ();
	// Two letters of 8 pixels back, and nothing scrolled.
	EXPECT_GE (twoBack, atEnd - 17);
	EXPECT_LE (twoBack, atEnd - 15);

	f.t.key (VKEY_HOME);
	EXPECT_GE (f.caretColumn (), f.kLeft);
	EXPECT_LE (f.caretColumn (), f.kLeft + 1);
	for (int i = 0; i < 20; ++i)
		f.t.key (VKEY_RIGHT);
	EXPECT_GE (f.caretColumn (), f.kRight - 3);
	EXPECT_EQ (f.edit->getCaret (), 20u);
	f.t.key (VKEY_END, 0, MODIFIER_SHIFT);
	EXPECT_EQ (f.caretColumn (), atEnd);

	// Back to a line that fits: centred again, letter for letter where the closed field draws it.
	for (int i = 0; i < 11; ++i)
		f.t.key (VKEY_BACK);
	const std::set<int> open = f.inkColumns ();
	const int caret = f.caretColumn ();
	ASSERT_NE (caret, -1);
	EXPECT_NEAR ((*open.begin () + caret) / 2., (f.kLeft + f.kRight) / 2., 1.5);
	f.t.key (VKEY_RETURN);
	std::set<int> closed = f.inkColumns ();
	closed.insert (caret);
	EXPECT_EQ (closed, open);
	EXPECT_EQ (f.edit->getText (), std::string (10, 'x'));

	// Closed, a long text is cut as the label's mode says.
	f.edit->setTextTruncateMode (CTextLabel::kTruncateTail);
	f.edit->setText (std::string (30, 'x'));
	f.t.frame->idle ();
	f.t.window ().redraw ();
	EXPECT_EQ (f.edit->getTruncatedText ().getString ().substr (f.edit->getTruncatedText ().length () - 3), "x..");
}

TEST (TextEdit, APointerHeldBeyondAnEndKeepsSelectingAndScrolling)
{
	RunLoop loop;
	ZoomedField f;
	f.edit->setText (std::string (40, 'x'));
	f.t.click (50, 14);
	f.t.key (VKEY_HOME);
	f.t.down (30, 14);
	const size_t anchor = f.edit->getCaret ();
	f.t.move (120, 14);
	const size_t reached = f.edit->getCaret ();
	EXPECT_GT (reached, anchor);
	EXPECT_GE (f.caretColumn (), f.kRight - 3);
	loop.advance (260);
	EXPECT_GE (f.edit->getCaret (), reached + 4);
	EXPECT_GE (f.caretColumn (), f.kRight - 3);
	f.t.up (120, 14);
	const size_t released = f.edit->getCaret ();
	loop.advance (260);
	EXPECT_EQ (f.edit->getCaret (), released);
	EXPECT_EQ (f.edit->getSelectionStart (), anchor);

	// And back past the start, down to the first character.
	f.t.down (50, 14);
	f.t.move (1, 14);
	loop.advance (3000);
	f.t.up (1, 14);
	EXPECT_EQ (f.edit->getCaret (), 0u);
	EXPECT_LE (f.caretColumn (), f.kLeft + 1);
	EXPECT_GE (f.caretColumn (), f.kLeft);
}
