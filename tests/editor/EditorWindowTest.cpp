#include "EditorHarness.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace VSTGUI;
using namespace zentlib;

namespace
{
enum class Lit
{
	Off,
	Green,
	Red
};

Lit litColour(const CColor& c)
{
	if (c.green > c.red + 40 && c.green > c.blue + 20)
		return Lit::Green;
	if (c.red > c.green + 40 && c.red > c.blue + 40)
		return Lit::Red;
	return Lit::Off;
}

float native(EParam p, float normalised)
{
	return normalised * g_params[p].range + g_params[p].min;
}

// Every view of every parameter the window shows, read back as a person would see it: knob positions,
// label and menu texts, and the colour a button is lit in.
void expectViewsShowTheFacade(EditorHarness& h, const char* when)
{
	SCOPED_TRACE(when);
	for (uint32_t index = 0; index < ParamCount; ++index)
	{
		const auto p = static_cast<EParam>(index);
		const float v = h.parameter(p);
		const bool coarse = p == Param_SourceS1Coarse;
		const std::string text = g_params[p].formatValue(p, native(p, v));
		for (CView* view : h.views(CParam::getEnumString(p)))
		{
			SCOPED_TRACE(CParam::getEnumString(p));
			if (auto* knob = dynamic_cast<CAnimKnob*>(view))
			{
				if (coarse)
					EXPECT_FLOAT_EQ(knob->getValue(), std::clamp(native(p, v), knob->getMin(), knob->getMax()));
				else
					EXPECT_NEAR(knob->getValueNormalized(), v, 1e-6);
			}
			else if (auto* menu = dynamic_cast<COptionMenu*>(view))
			{
				ASSERT_NE(menu->getCurrent(), nullptr);
				EXPECT_EQ(menu->getCurrent()->getTitle().getString(), text);
			}
			else if (auto* label = dynamic_cast<CTextLabel*>(view))
			{
				if (!coarse)
				{
					EXPECT_EQ(label->getText().getString(), text);
				}
			}
			else if (auto* button = dynamic_cast<CKickButton*>(view); button && EditorHarness::shown(button))
			{
				const CRect r = button->getViewSize();
				// Left of the caption, halfway down the released frame.
				CPoint probe(r.left + r.getWidth() * 0.1, r.top + r.getHeight() / 2);
				button->getGlobalTransform().transform(probe);
				const Lit expected = v == 0 ? Lit::Off : p <= Param_SourceS4Mute && p >= Param_SourceS1Mute ? Lit::Red : Lit::Green;
				EXPECT_EQ(litColour(h.pixel(probe)), expected);
			}
		}
	}
}

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
	expectViewsShowTheFacade(h, "after opening");

	h.plugin.setCurrentSingleIndex(77);
	expectViewsShowTheFacade(h, "after a program change");
	h.click("btEditCommon");
	expectViewsShowTheFacade(h, "on the common page");
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
