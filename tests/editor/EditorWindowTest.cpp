#include "EditorHarness.h"
#include "LogCapture.h"
#include "ViewChecks.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace VSTGUI;
using namespace zentlib;

namespace
{
void showSourcePage(EditorHarness& h)
{
	h.click("btModeEdit");
	h.click("btEditSourceA");
}
}

TEST(EditorWindow, OpensAtTheGivenSizeWithoutTellingTheOwner)
{
	EditorHarness h(CRect(0, 0, 1280, 720));
	CRect r;
	ASSERT_TRUE(h.editor->getRect(r));
	EXPECT_EQ(r, CRect(0, 0, 1280, 720));
	EXPECT_DOUBLE_EQ(h.zoom(), 0.5);
	EXPECT_EQ(h.listener.sizeChanges, 0);
	// The template fills the window: the resize handle ends in the window's bottom-right corner.
	CView* handle = h.view("resizeHandle");
	CPoint corner = handle->getViewSize().getBottomRight();
	handle->getGlobalTransform().transform(corner);
	EXPECT_EQ(corner, CPoint(1280, 720));
}

TEST(EditorWindow, LimitsTheSizeAtOpeningButLeavesTheAspectAlone)
{
	EditorHarness h(CRect(0, 0, 3000, 1000));
	CRect r;
	ASSERT_TRUE(h.editor->getRect(r));
	EXPECT_EQ(r, CRect(0, 0, 2560, 1000));
	EXPECT_DOUBLE_EQ(h.zoom(), 1.0);
	EXPECT_EQ(h.listener.sizeChanges, 1);
}

TEST(EditorWindow, StartsOnThePlayPageWithSourceOneChosenAndEveryControlBound)
{
	EditorHarness h;
	EXPECT_TRUE(EditorHarness::shown(h.view("mode_play")));
	EXPECT_FALSE(EditorHarness::shown(h.view("mode_edit")));
	EXPECT_EQ(h.editor->getActiveSource(), 0u);
	EXPECT_TRUE(h.view("edit_source")->isVisible());
	EXPECT_FALSE(h.view("edit_common")->isVisible());
	// A control named for no parameter still reports to the window.
	EXPECT_EQ(h.viewAs<CKickButton>("btModePlay")->getListener(), h.editor.get());
	// Fine adjustment drags the knobs at half speed.
	EXPECT_FLOAT_EQ(h.viewAs<CAnimKnob>("Param_Volume")->getZoomFactor(), 2.f);
	// The coarse menu, knob and label share one name; only the menu is grouped (it shows its value as a
	// temporary first entry).
	ASSERT_EQ(h.views("Param_SourceS1Coarse").size(), 3u);
	EXPECT_EQ(h.viewAs<COptionMenu>("Param_SourceS1Coarse")->getNbEntries(), 12);
	EXPECT_EQ(h.viewAs<COptionMenu>("Param_SourceS1VelCurve")->getNbEntries(), 8);
}

TEST(EditorWindow, EveryViewShowsTheFacadesValuesAfterOpeningAndAfterAProgramChange)
{
	EditorHarness h;
	showSourcePage(h);
	{
		SCOPED_TRACE("after opening");
		expectViewsShowTheFacade(h);
	}
	const float wave = h.parameter(Param_SourceS1Wave);
	h.plugin.setCurrentSingleIndex(77);
	ASSERT_NE(h.parameter(Param_SourceS1Wave), wave);
	{
		SCOPED_TRACE("after a program change");
		expectViewsShowTheFacade(h);
	}
	h.click("btEditCommon");
	expectViewsShowTheFacade(h);
}

TEST(EditorWindow, AutomationFromTheHostReachesTheViews)
{
	EditorHarness h;
	h.setNative(Param_SourceS1Coarse, 108);
	EXPECT_EQ(h.viewAs<CTextLabel>("Param_SourceS1Coarse")->getText().getString(), "+24");
	h.setNative(Param_SourceS1Coarse, 84);
	EXPECT_EQ(h.viewAs<CTextLabel>("Param_SourceS1Coarse")->getText().getString(), "0");
	h.setNative(Param_SourceS1Coarse, 60);
	EXPECT_EQ(h.viewAs<CTextLabel>("Param_SourceS1Coarse")->getText().getString(), "-24");
	h.automate(Param_Volume, 0.25f);
	EXPECT_FLOAT_EQ(h.viewAs<CAnimKnob>("Param_Volume")->getValueNormalized(), 0.25f);
}

// The window and its controllers find every view they look up, each with the class they use it as.
TEST(EditorWindow, OpensWithoutMissingAViewItLooksUp)
{
	LogCapture log;
	EditorHarness h;
	h.runFor(100);
	std::vector<std::string> window;
	for (const std::string& text : log.texts())
		if (text.find("view") != std::string::npos || text.find("GUI") != std::string::npos)
			window.push_back(text);
	EXPECT_EQ(window, std::vector<std::string>{"Opening GUI"});
}
