#include "TestBitmaps.h"

#include "vstgui/lib/platform/offscreenframe.h"
#include "vstgui/plugin-bindings/plugguieditor.h"

#include <gtest/gtest.h>

using namespace VSTGUI;

namespace
{
struct Editor : PluginGUIEditor
{
	explicit Editor (void* effect) : PluginGUIEditor (effect) {}
	void setFrame (CFrame* f) { frame = f; }
	void* window () const { return systemWindow; }
};
}

TEST (PluginEditor, KnobModeIsSharedByEveryEditorOfTheProcess)
{
	int effect = 0;
	Editor a (&effect);
	Editor b (nullptr);
	EXPECT_EQ (a.getEffect (), &effect);
	EXPECT_EQ (a.setKnobMode (kLinearMode), 1);
	EXPECT_EQ (b.getKnobMode (), kLinearMode);
	auto* frame = new CFrame (CRect (0, 0, 10, 10), &b);
	EXPECT_EQ (frame->getKnobMode (), kLinearMode);
	a.setKnobMode (kCircularMode);
	EXPECT_EQ (frame->getKnobMode (), kCircularMode);
	frame->forget ();
}

TEST (PluginEditor, OpenAndCloseTrackTheWindowAndIdleDrivesTheFrame)
{
	Editor editor (nullptr);
	int parent = 0;
	EXPECT_TRUE (editor.open (&parent));
	EXPECT_EQ (editor.window (), &parent);
	ERect* rect = nullptr;
	EXPECT_TRUE (editor.getRect (&rect));
	ASSERT_NE (rect, nullptr);
	editor.idle ();

	auto* frame = new CFrame (CRect (0, 0, 20, 20), &editor);
	frame->open (&parent);
	auto* view = new CView (CRect (0, 0, 20, 20));
	frame->addView (view);
	editor.setFrame (frame);
	auto& window = *static_cast<OffscreenPlatformFrame*> (frame->getPlatformFrame ());
	window.redraw ();
	auto bitmap = owned (makeStrip (20, 20, {kGreenCColor}));
	view->setBackground (bitmap);
	editor.idle ();
	EXPECT_TRUE (window.redraw ());
	EXPECT_EQ (window.getPixel (10, 10), kGreenCColor);

	editor.close ();
	EXPECT_EQ (editor.window (), nullptr);
	EXPECT_EQ (editor.getFrame (), frame);
	editor.setFrame (nullptr);
	frame->close ();
}
