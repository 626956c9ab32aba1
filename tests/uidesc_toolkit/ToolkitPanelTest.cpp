#include "LoadedPanel.h"

#include "synth/CParam.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <typeinfo>

using namespace VSTGUI;

namespace
{
std::string classOf (CView* v)
{
	if (dynamic_cast<CTextEdit*> (v))
		return "CTextEdit";
	if (dynamic_cast<CTextLabel*> (v))
		return "CTextLabel";
	if (dynamic_cast<CKickButton*> (v))
		return "CKickButton";
	if (dynamic_cast<CAnimKnob*> (v))
		return "CAnimKnob";
	if (dynamic_cast<COptionMenu*> (v))
		return "COptionMenu";
	if (v->asViewContainer ())
		return "CViewContainer";
	return typeid (*v) == typeid (CView) ? "CView" : "other";
}

// Takes the click of any view it listens to, as the editor's listeners and the controls do.
struct ClickCatcher : ViewMouseListenerAdapter
{
	CMouseEventResult viewOnMouseDown (CView* view, CPoint, CButtonState) override
	{
		hits.push_back (view);
		return kMouseEventHandled;
	}
	std::vector<CView*> hits;
};

bool reactsToMouse (CView* v, const std::string& name)
{
	const std::string cls = classOf (v);
	if (cls == "CKickButton" || cls == "CAnimKnob" || cls == "COptionMenu" || cls == "CTextEdit")
		return true;
	return name == "LCDLight" || name == "clickableLogo" || name == "btDonate" || name == "throttle" ||
	       name == "resizeHandle" || (name.size () == 8 && name.rfind ("single", 0) == 0);
}

bool shown (CView* v)
{
	for (; v; v = v->getParentView ())
		if (!v->isVisible ())
			return false;
	return true;
}

// Clicks the centre and four inner points of every shown view that reacts to the mouse, in frame pixels, and expects
// the click to arrive at that view.
void expectClicksArrive (LoadedPanel& panel, const char* state)
{
	SCOPED_TRACE (state);
	ClickCatcher catcher;
	std::vector<CView*> targets;
	for (const auto& [name, v] : panel.views)
	{
		if (reactsToMouse (v, name) && shown (v))
		{
			v->registerViewMouseListener (&catcher);
			targets.push_back (v);
		}
	}
	const double zoom = panel.frame->getViewSize ().getWidth () / 2560;
	for (CView* v : targets)
	{
		const CRect r = v->getViewSize ();
		for (const auto& [fx, fy] : {std::pair {0.5, 0.5}, {0.2, 0.2}, {0.8, 0.2}, {0.2, 0.8}, {0.8, 0.8}})
		{
			CPoint point (r.left + r.getWidth () * fx, r.top + r.getHeight () * fy);
			v->localToFrame (point);
			CPoint at (point.x * zoom, point.y * zoom);
			catcher.hits.clear ();
			panel.frame->platformOnMouseDown (at, kLButton);
			CPoint up = at;
			panel.frame->platformOnMouseUp (up, kLButton);
			ASSERT_EQ (catcher.hits.size (), 1u) << customViewName (v) << " got no click at " << fx << "," << fy;
			EXPECT_EQ (catcher.hits.front (), v) << customViewName (v) << " lost its click at " << fx << "," << fy
			                                     << " to " << customViewName (catcher.hits.front ());
		}
	}
	for (CView* v : targets)
		v->unregisterViewMouseListener (&catcher);
}
}

TEST (ToolkitPanel, LoadsEveryBitmapAndValueRangeTheViewsName)
{
	LoadedPanel panel;
	ASSERT_TRUE (panel.parsed);
	ASSERT_EQ (panel.views.size (), 288u);
	for (const auto& [name, v] : panel.views)
	{
		// Views without a bitmap are the containers and plain areas drawn by the art beneath them.
		const bool drawsNothing = name == "clickableLogo" || name == "envdummy" || name == "LCDLines" ||
		                          name == "throttleArea" || name == "fontExport";
		const std::string cls = classOf (v);
		if (cls != "CTextLabel" && cls != "CTextEdit" && !drawsNothing)
		{
			ASSERT_NE (v->getBackground (), nullptr) << name << " " << cls;
			EXPECT_GT (v->getBackground ()->getWidth (), 0) << name;
		}
		if (auto* knob = dynamic_cast<CAnimKnob*> (v))
		{
			EXPECT_EQ (knob->getNumSubPixmaps (), 63) << name;
			EXPECT_EQ (knob->getMin (), name == "Param_SourceS1Coarse" ? 60.f : 0.f) << name;
			EXPECT_EQ (knob->getMax (), name == "Param_SourceS1Coarse" ? 108.f : 1.f) << name;
		}
	}
	auto* font = panel.first ("fontExport")->asViewContainer ();
	ASSERT_EQ (font->getNbViews (), 93u);
	for (uint32_t k = 0; k < 93; ++k)
		EXPECT_EQ (font->getView (k)->getBackground ()->getHeight (), 50) << k;
}

TEST (ToolkitPanel, ClicksArriveAtEveryViewTheEditorListensTo)
{
	LoadedPanel panel;
	ASSERT_NE (panel.root, nullptr);
	panel.openFrame (1280);
	panel.showPlayPage ();
	expectClicksArrive (panel, "play page");
	panel.showSourcePage (false);
	expectClicksArrive (panel, "source page, key tracking off");
	panel.showSourcePage (true);
	expectClicksArrive (panel, "source page, key tracking on");
	panel.showCommonPage ();
	expectClicksArrive (panel, "common page");
}

// Writes the three pages at 1280 x 720 into the build tree for review.
TEST (ToolkitPanel, Screenshots)
{
	LoadedPanel panel;
	ASSERT_NE (panel.root, nullptr);
	panel.openFrame (1280);
	const std::filesystem::path folder = VIREL_SCREENSHOT_DIR;
	std::filesystem::create_directories (folder);
	const std::pair<const char*, void (*) (LoadedPanel&)> pages[] = {
	    {"play.png", [] (LoadedPanel& p) { p.showPlayPage (); }},
	    {"edit_source.png", [] (LoadedPanel& p) { p.showSourcePage (false); }},
	    {"edit_common.png", [] (LoadedPanel& p) { p.showCommonPage (); }}};
	for (const auto& [file, show] : pages)
	{
		show (panel);
		panel.window ().redrawAll ();
		panel.window ().redraw ();
		EXPECT_TRUE (panel.window ().writePNG ((folder / file).string ())) << file;
	}
}
