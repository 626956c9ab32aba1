#include "RunLoop.h"
#include "TestFrame.h"

#include <gtest/gtest.h>

#include <set>

using namespace VSTGUI;

namespace
{
// A centred field in the editor's font at the window's default zoom: frame pixels 4 to 104, where
// an "x" takes 8.
struct ZoomedField
{
	ZoomedField ()
	{
		t.frame->setZoom (0.4);
		edit = new CTextEdit (CRect (10, 10, 260, 60), nullptr, -1);
		edit->setFont (makeOwned<CFontDesc> ("Arial", 36, kBoldFace));
		t.frame->addView (edit);
	}

	// The caret is the one column lit from above the letters to below them.
	int caret ()
	{
		t.window ().redraw ();
		for (int x = 4; x < 104; ++x)
			if (t.window ().getPixel (x, 6) == kWhiteCColor && t.window ().getPixel (x, 21) == kWhiteCColor)
				return x;
		return -1;
	}

	std::set<int> inkColumns ()
	{
		t.window ().redraw ();
		std::set<int> columns;
		for (int x = 4; x < 104; ++x)
			for (int y = 8; y < 20; ++y)
				if (t.window ().getPixel (x, y).red > 60)
					columns.insert (x);
		return columns;
	}

	TestFrame t;
	CTextEdit* edit;
};
}

TEST (TextEdit, ALongLineScrollsToKeepTheCaretInSightAndShortTextStandsWhereTheClosedFieldHasIt)
{
	ZoomedField f;
	f.t.click (50, 14);
	f.t.type (std::string (30, 'x'));
	const int atEnd = f.caret ();
	EXPECT_TRUE (atEnd >= 101 && atEnd < 104) << atEnd;
	EXPECT_LE (*f.inkColumns ().begin (), 5); // scrolled no further than the end needs
	f.t.key (VKEY_LEFT);
	f.t.key (VKEY_LEFT);
	EXPECT_NEAR (f.caret (), atEnd - 16, 1); // moved, nothing scrolled
	f.t.key (VKEY_HOME);
	EXPECT_NEAR (f.caret (), 4.5, 0.5);
	for (int i = 0; i < 20; ++i)
		f.t.key (VKEY_RIGHT);
	EXPECT_GE (f.caret (), 101);
	f.t.key (VKEY_END, 0, MODIFIER_SHIFT);
	EXPECT_EQ (f.caret (), atEnd);

	// Back to a line that fits: centred again, letter for letter where the closed field draws it.
	for (int i = 0; i < 11; ++i)
		f.t.key (VKEY_BACK);
	const std::set<int> open = f.inkColumns ();
	const int caret = f.caret ();
	EXPECT_NEAR ((*open.begin () + caret) / 2., 54, 1.5);
	f.t.key (VKEY_RETURN);
	std::set<int> closed = f.inkColumns ();
	closed.insert (caret);
	EXPECT_EQ (closed, open);

	// Closed, a long text is cut as the label's mode says.
	f.edit->setTextTruncateMode (CTextLabel::kTruncateTail);
	f.edit->setText (std::string (30, 'x'));
	f.t.frame->idle ();
	f.t.window ().redraw ();
	EXPECT_EQ (f.edit->getTruncatedText (), std::string (11, 'x') + "..");
}

TEST (TextEdit, APointerHeldBeyondAnEndKeepsSelectingAndScrolling)
{
	RunLoop loop;
	ZoomedField f;
	f.edit->setText (std::string (40, 'x'));
	f.t.click (50, 14);
	f.t.key (VKEY_HOME);
	f.t.down (30, 14);
	f.t.move (120, 14);
	const size_t reached = f.edit->getCaret ();
	loop.advance (260);
	EXPECT_GE (f.edit->getCaret (), reached + 4);
	EXPECT_GE (f.caret (), 101);
	f.t.up (120, 14);
	const size_t released = f.edit->getCaret ();
	loop.advance (260);
	EXPECT_EQ (f.edit->getCaret (), released);
	EXPECT_EQ (f.edit->getSelectionStart (), 3u);

	f.t.down (50, 14);
	f.t.move (1, 14);
	loop.advance (3000);
	f.t.up (1, 14);
	EXPECT_EQ (f.edit->getCaret (), 0u);
	EXPECT_NEAR (f.caret (), 4.5, 0.5);
}
