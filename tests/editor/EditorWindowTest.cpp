#include "EditorHarness.h"

#include <gtest/gtest.h>

using namespace VSTGUI;
using namespace zentlib;

TEST(EditorWindow, OpensAtTheGivenSizeWithTheTemplateScaledToFit)
{
	EditorHarness h(CRect(0, 0, 1280, 720));
	CRect r;
	ASSERT_TRUE(h.editor->getRect(r));
	EXPECT_EQ(r, CRect(0, 0, 1280, 720));
	EXPECT_DOUBLE_EQ(h.zoom(), 0.5);
	EXPECT_EQ(h.listener.sizeChanges, 0);
	// The resize handle sits in the template's bottom-right corner, so at half size it ends at the window's.
	const CPoint handle = h.centre("resizeHandle");
	EXPECT_GT(handle.x, 1280 - 61 / 1.0);
	EXPECT_GT(handle.y, 720 - 50 / 1.0);
}

TEST(EditorWindow, LimitsTheSizeAtOpeningButKeepsTheAspectItWasGiven)
{
	EditorHarness h(CRect(0, 0, 3000, 1000));
	CRect r;
	ASSERT_TRUE(h.editor->getRect(r));
	EXPECT_EQ(r, CRect(0, 0, 2560, 1000));
	EXPECT_DOUBLE_EQ(h.zoom(), 1.0);
	EXPECT_EQ(h.listener.sizeChanges, 1);
}

TEST(EditorWindow, StartsOnThePlayPageWithSourceOneChosen)
{
	EditorHarness h;
	EXPECT_TRUE(EditorHarness::shown(h.view("mode_play")));
	EXPECT_FALSE(EditorHarness::shown(h.view("mode_edit")));
	EXPECT_EQ(h.editor->getActiveSource(), 0u);
	EXPECT_TRUE(h.view("edit_source")->isVisible());
	EXPECT_FALSE(h.view("edit_common")->isVisible());
	// The browser took its ten buttons from the window; every other named control reports to the window.
	EXPECT_EQ(h.viewAs<CKickButton>("btModePlay")->getListener(), h.editor.get());
	EXPECT_EQ(h.viewAs<CAnimKnob>("Param_Volume")->getListener(), h.editor.get());
}
