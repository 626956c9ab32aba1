#include "EditorHarness.h"
#include "ViewChecks.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "vstgui/lib/platform/optionmenupopup.h"

using namespace VSTGUI;
using namespace zentlib;

namespace
{
void showSourcePage(EditorHarness& h, char source = 'A')
{
	h.click("btModeEdit");
	h.click(std::string("btEditSource") + source);
}

void showCommonPage(EditorHarness& h)
{
	h.click("btModeEdit");
	h.click("btEditCommon");
}

// Opens the menu with a click and picks an entry of its top level with another.
void choose(EditorHarness& h, const std::string& menu, int32_t index)
{
	h.click(menu);
	OptionMenuPopup* popup = OptionMenuPopup::get(&h.frame());
	ASSERT_NE(popup, nullptr);
	h.click(popup->getItemRect(0, index).getCenter());
}
}

TEST(EditorControls, WaveAndCoarseArrowsStepOnceAClickAndWrapBothWays)
{
	EditorHarness h;
	showSourcePage(h);
	h.setNative(Param_SourceS1Wave, 255);
	const size_t sent = h.host.sent.size();
	h.click("btWaveInc");
	EXPECT_EQ(h.integerParameter(Param_SourceS1Wave), 0);
	EXPECT_EQ(h.host.sent.size(), sent + 1);  // the edit goes out as SysEx too
	h.click("btWaveDec");
	EXPECT_EQ(h.integerParameter(Param_SourceS1Wave), 255);

	// The coarse arrows are there while key tracking is off.
	h.automate(Param_SourceS1KeyTrack, 0);
	h.setNative(Param_SourceS1Coarse, 127);
	h.click("btCoarseInc");
	EXPECT_EQ(h.integerParameter(Param_SourceS1Coarse), 0);
	h.click("btCoarseDec");
	EXPECT_EQ(h.integerParameter(Param_SourceS1Coarse), 127);
	h.setNative(Param_SourceS1Coarse, 0);
	for (int expected = 1; expected <= 127; ++expected)
	{
		h.click("btCoarseInc");
		ASSERT_EQ(h.integerParameter(Param_SourceS1Coarse), expected);
	}
}

TEST(EditorControls, AMuteClickTogglesOnReleaseOverTheButtonOnly)
{
	EditorHarness h;
	h.automate(Param_SourceS2Mute, 0);
	h.click("Param_SourceS2Mute");
	EXPECT_EQ(h.parameter(Param_SourceS2Mute), 1.f);
	h.click("Param_SourceS2Mute");
	EXPECT_EQ(h.parameter(Param_SourceS2Mute), 0.f);
	h.down(h.centre("Param_SourceS2Mute"));
	h.move(CPoint(2, 2));
	h.up(CPoint(2, 2));
	EXPECT_EQ(h.parameter(Param_SourceS2Mute), 0.f);
	// A mute has no SysEx parameter: the edit reaches the host only.
	EXPECT_EQ(h.listener.changes.size(), 2u);
}

TEST(EditorControls, EnteringOrLeavingTheReversedModulationSwapsTheTwoSourcesFirst)
{
	EditorHarness h;
	showCommonPage(h);
	h.automate(Param_AmpModS1S2, 0);
	const SinglePreset before = h.plugin.getCurrentSingle();
	ASSERT_FALSE(before.sources[0] == before.sources[1]);

	choose(h, "Param_AmpModS1S2", 2);
	EXPECT_EQ(h.parameter(Param_AmpModS1S2), 1.f);
	SinglePreset now = h.plugin.getCurrentSingle();
	EXPECT_TRUE(now.sources[0] == before.sources[1]);
	EXPECT_TRUE(now.sources[1] == before.sources[0]);
	EXPECT_EQ(h.viewAs<COptionMenu>("Param_AmpModS1S2")->getCurrentIndex(), 2);

	choose(h, "Param_AmpModS1S2", 1);  // leaves mode 2: swapped back
	now = h.plugin.getCurrentSingle();
	EXPECT_TRUE(now.sources[0] == before.sources[0]);
	choose(h, "Param_AmpModS1S2", 0);  // 1 to 0 keeps the sources where they are
	now = h.plugin.getCurrentSingle();
	EXPECT_TRUE(now.sources[0] == before.sources[0]);
	EXPECT_EQ(h.parameter(Param_AmpModS1S2), 0.f);
}

TEST(EditorControls, TypingANameCommitsOnReturnAndEscapeRestoresIt)
{
	EditorHarness h;
	showCommonPage(h);
	const std::string original = h.viewAs<CTextEdit>("editSingleName")->getText().getString();
	ASSERT_FALSE(original.empty());

	h.click("editSingleName");
	for (size_t i = 0; i < original.size(); ++i)
		h.key(VKEY_BACK);
	h.type("BASS");
	h.key(VKEY_RETURN);

	ASSERT_EQ(h.listener.changes.size(), 10u);
	for (size_t i = 0; i < 10; ++i)
	{
		const char expected = i < 4 ? "BASS"[i] : ' ';
		EXPECT_EQ(h.listener.changes[i].first, Param_Name01 + i);
		EXPECT_FLOAT_EQ(h.listener.changes[i].second, (expected - 32) / 95.f);
	}
	EXPECT_EQ(std::string(h.plugin.getCurrentSingle().name, 10), "BASS      ");
	EXPECT_EQ(h.viewAs<CTextEdit>("editSingleName")->getText().getString(), "BASS");
	// The new name goes out place by place, as a second instance or the hardware takes it.
	ASSERT_GE(h.host.sent.size(), 10u);
	std::string sentName;
	for (auto m = h.host.sent.end() - 10; m != h.host.sent.end(); ++m)
		sentName += static_cast<char>(m->at(8));
	EXPECT_EQ(sentName, "BASS      ");

	h.click("editSingleName");
	h.type("XY");
	h.key(VKEY_ESCAPE);
	EXPECT_EQ(h.viewAs<CTextEdit>("editSingleName")->getText().getString(), "BASS");
	EXPECT_EQ(std::string(h.plugin.getCurrentSingle().name, 10), "BASS      ");
	EXPECT_EQ(h.listener.changes.size(), 10u);
}

// The field shows every character its font draws as it is, and an edit changes only what was typed or deleted:
// a byte the field shows as '?' (0x7F), and the zeros after a name that kept its length, stay as they were.
TEST(EditorControls, ANameEditKeepsEveryByteThePersonLeftAlone)
{
	EditorHarness h;
	showCommonPage(h);
	auto field = [&] { return h.viewAs<CTextEdit>("editSingleName")->getText().getString(); };
	auto stored = [&] { return std::string(h.plugin.getCurrentSingle().name, 10); };
	auto edit = [&](unsigned char where, const char* typed, int deleted = 0) {
		h.click("editSingleName");
		h.key(where);
		for (int i = 0; i < deleted; ++i)
			h.key(VKEY_DELETE);
		h.type(typed);
		h.key(VKEY_RETURN);
	};
	h.plugin.setCurrentSingleName("Bass@Lead_");
	EXPECT_EQ(field(), "Bass@Lead_");
	edit(VKEY_HOME, "C", 1);
	EXPECT_EQ(stored(), "Cass@Lead_");
	ASSERT_GE(h.listener.changes.size(), 10u);
	EXPECT_FLOAT_EQ(h.listener.changes[h.listener.changes.size() - 1].second, ('_' - 32) / 95.f);

	edit(VKEY_END, "_2@B");  // typed after the whole name: ten characters, the field's first ten kept
	EXPECT_EQ(field(), "Cass@Lead_");
	h.plugin.setCurrentSingleName(std::string("Pa\x7F") + std::string(7, '\0'));
	EXPECT_EQ(field(), "Pa?");
	edit(VKEY_END, "_2@B");
	EXPECT_EQ(field(), "Pa?_2@B");
	EXPECT_EQ(stored(), "Pa\x7F_2@B   ");
	edit(VKEY_HOME, "T", 1);
	EXPECT_EQ(stored(), "Ta\x7F_2@B   ");
	h.plugin.setCurrentSingleName(std::string("Pa\x7F") + std::string(7, '\0'));
	edit(VKEY_HOME, "T", 1);
	EXPECT_EQ(stored(), std::string("Ta\x7F") + std::string(7, '\0'));
}

TEST(EditorControls, ANameKeepsTenCharactersAndOnlyThoseASingleCanHold)
{
	EditorHarness h;
	showCommonPage(h);
	h.click("editSingleName");
	for (int i = 0; i < 12; ++i)
		h.key(VKEY_BACK);
	h.type("Bell\xC3\xA9 Choir Pad");
	h.key(VKEY_RETURN);
	EXPECT_EQ(std::string(h.plugin.getCurrentSingle().name, 10), "Bell? Choi");
	for (const auto& [parameter, value] : h.listener.changes)
	{
		EXPECT_GE(value, 0.f);
		EXPECT_LE(value, 1.f);
	}
}

TEST(EditorControls, KeyTrackingSwapsTheCoarseKnobForTheNoteMenuAndItsArrows)
{
	EditorHarness h;
	showSourcePage(h);
	h.automate(Param_SourceS1KeyTrack, 1);
	auto shown = [&](const char* name, auto* typed) { return EditorHarness::shown(typed ? typed : h.view(name)); };
	auto* knob = h.viewAs<CAnimKnob>("Param_SourceS1Coarse");
	auto* menu = h.viewAs<COptionMenu>("Param_SourceS1Coarse");
	CView* label = nullptr;
	for (CView* v : h.views("Param_SourceS1Coarse"))
		if (dynamic_cast<CTextLabel*>(v) && !dynamic_cast<COptionMenu*>(v))
			label = v;
	ASSERT_TRUE(knob && menu && label);

	h.click("Param_SourceS1KeyTrack");
	EXPECT_EQ(h.parameter(Param_SourceS1KeyTrack), 0.f);
	EXPECT_FALSE(shown("", knob));
	EXPECT_FALSE(shown("", label));
	EXPECT_TRUE(shown("", menu));
	for (const char* name : {"btCoarseDec", "btCoarseInc", "btCoarseDecText", "btCoarseIncText"})
		EXPECT_TRUE(shown(name, static_cast<CView*>(nullptr))) << name;

	h.click("Param_SourceS1KeyTrack");
	EXPECT_TRUE(shown("", knob));
	EXPECT_TRUE(shown("", label));
	EXPECT_FALSE(shown("", menu));
	for (const char* name : {"btCoarseDec", "btCoarseInc", "btCoarseDecText", "btCoarseIncText"})
		EXPECT_FALSE(shown(name, static_cast<CView*>(nullptr))) << name;
}

TEST(EditorControls, ChoosingASourceRoutesEverySourceViewToIt)
{
	EditorHarness h;
	showSourcePage(h, 'C');
	EXPECT_EQ(h.editor->getActiveSource(), 2u);
	expectViewsShowTheFacade(h);
	auto* envLevel = h.viewAs<CAnimKnob>("Param_SourceS1EnvLevel");

	const float s1Wave = h.parameter(Param_SourceS1Wave);
	h.click("btWaveInc");
	EXPECT_EQ(h.parameter(Param_SourceS1Wave), s1Wave);
	h.automate(Param_SourceS3EnvLevel, 0.125f);
	EXPECT_FLOAT_EQ(envLevel->getValueNormalized(), 0.125f);
	h.automate(Param_SourceS1EnvLevel, 0.75f);
	EXPECT_FLOAT_EQ(envLevel->getValueNormalized(), 0.125f);

	// Turning the knob edits source 3.
	const CPoint c = h.centre(envLevel);
	h.drag(c, CPoint(c.x, c.y - 40));
	EXPECT_NE(h.parameter(Param_SourceS3EnvLevel), 0.125f);
	EXPECT_EQ(h.parameter(Param_SourceS1EnvLevel), 0.75f);

	h.click("btEditSourceA");
	EXPECT_FLOAT_EQ(envLevel->getValueNormalized(), 0.75f);
	expectViewsShowTheFacade(h);
	// The mutes stay where they are, one per source.
	h.click("Param_SourceS1Mute");
	EXPECT_EQ(h.listener.changes.back().first, Param_SourceS1Mute);
}

TEST(EditorControls, PageKeysSwitchSourcesUnlessTheSourceIsAlreadyShown)
{
	EditorHarness h;
	showSourcePage(h);
	EXPECT_FALSE(h.editor->onKeyDown('1'));
	EXPECT_TRUE(h.editor->onKeyDown('2'));
	EXPECT_EQ(h.editor->getActiveSource(), 1u);
	EXPECT_TRUE(h.editor->onKeyDown('p'));
	EXPECT_FALSE(h.editor->onKeyDown('P'));
	EXPECT_TRUE(h.editor->onKeyDown('c'));
	EXPECT_TRUE(h.view("edit_common")->isVisible());
}

// The owner hands a control's gesture to the host under the control's tag: it has to name the parameter
// the control drives, for the source on show too, and enclose the edits the gesture makes.
TEST(EditorControls, EveryGestureNamesTheParameterItsControlDrives)
{
	EditorHarness h;
	h.listener.trail = &h.editorInterface.gestures;
	auto gestureOn = [&](auto&& act) {
		h.editorInterface.gestures.clear();
		act();
		std::vector<std::string> trail = h.editorInterface.gestures;
		trail.erase(std::unique(trail.begin(), trail.end()), trail.end());
		return trail;
	};
	using Trail = std::vector<std::string>;
	showSourcePage(h, 'B');
	auto* envLevel = h.viewAs<CAnimKnob>("Param_SourceS1EnvLevel");
	const CPoint c = h.centre(envLevel);
	EXPECT_EQ(gestureOn([&] { h.drag(c, CPoint(c.x, c.y - 40)); }), (Trail{"begin 60", "value 60", "end 60"}));
	EXPECT_EQ(gestureOn([&] { h.click("Param_SourceS1KeyTrack"); }), (Trail{"begin 44", "value 44", "end 44"}));
	EXPECT_EQ(gestureOn([&] { choose(h, "Param_SourceS1VelCurve", 3); }), (Trail{"begin 56", "value 56", "end 56"}));
	EXPECT_EQ(gestureOn([&] { h.click("Param_SourceS3Mute"); }), (Trail{"begin 29", "value 29", "end 29"}));

	h.click("btEditSourceA");
	EXPECT_EQ(gestureOn([&] { h.drag(c, CPoint(c.x, c.y + 40)); }), (Trail{"begin 59", "value 59", "end 59"}));
}
