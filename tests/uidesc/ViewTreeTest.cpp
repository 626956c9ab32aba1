#include "Description.h"

#include "synth/CParam.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <map>
#include <set>

using namespace uidesctest;

namespace
{
std::vector<std::string> childNames(const Element& e)
{
	std::vector<std::string> names;
	for (const auto& c : e.children)
		if (c->tag == "view")
			names.push_back(c->name());
	return names;
}

std::string param(zentlib::EParam p)
{
	return zentlib::CParam::getEnumString(p);
}

std::string size(const Element& v)
{
	return v.get("size");
}

// The glyph bitmaps in the display's character order.
std::vector<std::string> expectedGlyphBitmaps()
{
	std::vector<std::string> names;
	for (char c = 'A'; c <= 'Z'; ++c)
		names.push_back(std::string("tmptext_") + c);
	for (char c = 'a'; c <= 'z'; ++c)
		names.push_back(std::string("tmptext_") + c);
	for (int d = 0; d <= 9; ++d)
		names.push_back("tmptext__x003" + std::to_string(d) + "_");
	const char* const others[] = {"0021", "0022", "0024", "0025", "0026", "002F", "0028", "0029", "003D", "003F",
		"002E", "002C", "003B", nullptr, "007B", "007D", "005C", "002D", "002B", "003C", "003E", "007C", "005B",
		"005D", "0027", "0060", "0020", "007E", "002A", "0023"};
	for (const char* code : others)
		names.push_back(code ? std::string("tmptext__x") + code + "_" : std::string("tmptext__"));
	names.push_back("tmptext__x005C_u25a0");
	return names;
}
}

TEST(UiViewTree, HoldsTheViewsOfEachClassUnderTheTemplate)
{
	std::map<std::string, int> counts;
	for (const Element* v : allViews())
		++counts[v->cls()];
	EXPECT_EQ(allViews().size(), 288u);
	EXPECT_EQ(counts, (std::map<std::string, int>{{"CView", 132}, {"CTextLabel", 85}, {"CKickButton", 28},
						  {"CAnimKnob", 24}, {"COptionMenu", 10}, {"CViewContainer", 7}, {"CTextEdit", 2}}));
}

TEST(UiViewTree, EveryLookedUpNameExistsWithItsClass)
{
	std::vector<std::pair<std::string, std::string>> required = {
		{"mode_play", "CViewContainer"}, {"mode_edit", "CViewContainer"}, {"edit_source", "CViewContainer"},
		{"edit_common", "CViewContainer"}, {"LCDLines", "CViewContainer"}, {"fontExport", "CViewContainer"},
		{"throttleArea", "CViewContainer"}, {"editSingleName", "CTextEdit"}, {"searchSingle", "CTextEdit"},
		{"romcardName", "CTextLabel"}, {"btCoarseDecText", ""}, {"btCoarseIncText", ""}, {"envdummy", ""},
		{"clickableLogo", ""}, {"btDonate", ""}, {"LCDLight", ""}, {"throttle", ""}, {"resizeHandle", ""}};
	for (const char* b : {"btModePlay", "btModeEdit", "btEditSourceA", "btEditSourceB", "btEditSourceC",
			 "btEditSourceD", "btEditCommon", "btWaveDec", "btWaveInc", "btCoarseDec", "btCoarseInc",
			 "Param_SourceS1Mute", "Param_SourceS2Mute", "Param_SourceS3Mute", "Param_SourceS4Mute"})
		required.emplace_back(b, "CKickButton");
	for (const char* b : {"btSingleDec", "btSingleInc", "btBankDec", "btBankInc", "btSingleImport",
			 "btSingleExport", "btSingleReset", "btBankImport", "btBankExport", "btBankReset"})
	{
		required.emplace_back(b, "CKickButton");
		required.emplace_back(std::string(b) + "Text", "CTextLabel");
	}
	for (int row = 0; row < 2; ++row)
	{
		for (int i = 0; i < 16; ++i)
		{
			char name[8];
			std::snprintf(name, sizeof(name), "char%d%02d", row, i);
			required.emplace_back(name, "");
		}
	}
	for (char c = 'A'; c <= 'D'; ++c)
		for (char d = '0'; d <= '7'; ++d)
			required.emplace_back(std::string("single") + c + d, "CTextLabel");

	for (const auto& [name, cls] : required)
	{
		const auto views = viewsNamed(name);
		ASSERT_EQ(views.size(), 1u) << name;
		if (!cls.empty())
		{
			EXPECT_EQ(views.front()->cls(), cls) << name;
		}
	}
}

TEST(UiViewTree, ParameterViewsCoverExactlyTheBoundParameters)
{
	std::set<std::string> expected;
	for (uint32_t p = zentlib::Param_Volume; p <= zentlib::Param_SourceS4Mute; ++p)
		expected.insert(param(zentlib::EParam(p)));
	for (zentlib::EParam p : {zentlib::Param_SourceS1Fine, zentlib::Param_SourceS1Coarse, zentlib::Param_SourceS1Wave,
			 zentlib::Param_SourceS1KeyTrack, zentlib::Param_SourceS1VibABend, zentlib::Param_SourceS1PressureToFreq,
			 zentlib::Param_SourceS1VelCurve, zentlib::Param_SourceS1EnvLevel, zentlib::Param_SourceS1EnvDelay,
			 zentlib::Param_SourceS1EnvAttack, zentlib::Param_SourceS1EnvDecay, zentlib::Param_SourceS1EnvSustain,
			 zentlib::Param_SourceS1EnvRelease, zentlib::Param_SourceS1LevelModVel,
			 zentlib::Param_SourceS1LevelModPressure, zentlib::Param_SourceS1LevelModKeyScale,
			 zentlib::Param_SourceS1TimeModVel, zentlib::Param_SourceS1TimeModKeyScale,
			 zentlib::Param_SourceS1FreqKeyScaleToFreq})
		expected.insert(param(p));
	ASSERT_EQ(expected.size(), 17u + 4u + 19u);

	std::set<std::string> found;
	for (const Element* v : allViews())
		if (v->name().rfind("Param_", 0) == 0)
			found.insert(v->name());
	EXPECT_EQ(found, expected);
}

TEST(UiViewTree, KnobsPairWithTheirValueLabelsAndCoarseHasThreeViews)
{
	size_t knobNames = 0;
	for (const Element* v : allViews())
	{
		if (v->cls() != "CAnimKnob")
			continue;
		const std::string name = v->name();
		SCOPED_TRACE(name);
		const auto views = viewsNamed(name);
		if (name == param(zentlib::Param_SourceS1Coarse))
		{
			ASSERT_EQ(views.size(), 3u);
			std::multiset<std::string> classes;
			for (const Element* c : views)
				classes.insert(c->cls());
			EXPECT_EQ(classes, (std::multiset<std::string>{"COptionMenu", "CAnimKnob", "CTextLabel"}));
			EXPECT_EQ(v->get("min-value"), "60");
			EXPECT_EQ(v->get("max-value"), "108");
			continue;
		}
		++knobNames;
		ASSERT_EQ(views.size(), 2u);
		const Element* label = views[0] == v ? views[1] : views[0];
		EXPECT_EQ(label->cls(), "CTextLabel");
		EXPECT_EQ(label->get("origin"), v->get("origin"));
		EXPECT_EQ(label->get("size"), "150, 150");
		EXPECT_EQ(size(*v), "150, 150");
		EXPECT_EQ(label->get("font"), "arial_36_b");
		EXPECT_EQ(label->get("font-color"), "#FFFFFFFF");
		EXPECT_EQ(label->get("text-alignment"), "center");
		EXPECT_EQ(label->get("transparent"), "true");
		EXPECT_EQ(label->parent, v->parent);
		// The label lies over the knob: it comes later among the same parent's children.
		const auto& siblings = v->parent->children;
		size_t knobAt = 0, labelAt = 0;
		for (size_t i = 0; i < siblings.size(); ++i)
		{
			knobAt = siblings[i].get() == v ? i : knobAt;
			labelAt = siblings[i].get() == label ? i : labelAt;
		}
		EXPECT_LT(knobAt, labelAt);
	}
	EXPECT_EQ(knobNames, 23u);
}

TEST(UiViewTree, ControlAttributesFollowTheirClass)
{
	std::map<std::string, int> frameHeights;
	for (const Element* v : allViews())
	{
		const std::string cls = v->cls();
		SCOPED_TRACE(v->name() + " " + cls + " " + v->get("title"));
		const bool valued = cls == "CAnimKnob" || cls == "COptionMenu" || cls == "CTextLabel" || cls == "CTextEdit";
		if (valued)
		{
			if (!(cls == "CAnimKnob" && v->name() == param(zentlib::Param_SourceS1Coarse)))
			{
				EXPECT_EQ(v->get("min-value"), "0");
				EXPECT_EQ(v->get("max-value"), "1");
			}
			EXPECT_EQ(v->get("default-value"), "0.5");
			EXPECT_EQ(v->get("wheel-inc-value"), "0.1");
		}
		else
		{
			for (const char* key : {"min-value", "max-value", "default-value", "wheel-inc-value"})
			{
				EXPECT_FALSE(v->has(key)) << key;
			}
		}
		if (cls == "CTextLabel" || cls == "CTextEdit")
		{
			EXPECT_EQ(v->get("transparent"), "true");
		}
		if (cls == "CKickButton" || cls == "CAnimKnob" || cls == "COptionMenu")
		{
			EXPECT_EQ(v->get("transparent"), "false");
			EXPECT_FALSE(v->get("bitmap").empty());
		}
		if (cls == "CAnimKnob")
		{
			EXPECT_EQ(v->get("height-of-one-image"), "150");
			EXPECT_EQ(v->get("angle-start"), "135");
			EXPECT_EQ(v->get("angle-range"), "270");
			const std::string strip = v->get("bitmap");
			EXPECT_TRUE(strip == "knobvalue_knobvalue_knobshadow_Top" || strip == "knobvalue_knobvalue_knobshadow_Bottom");
		}
		if (cls == "CKickButton")
		{
			// Two frames of equal height stacked: the view shows one of them.
			const std::string bitmap = v->get("bitmap");
			if (!frameHeights.count(bitmap))
				frameHeights[bitmap] = decodePng(bitmapPng(bitmap)).height / 2;
			EXPECT_EQ(v->get("height-of-one-image"), std::to_string(frameHeights[bitmap]));
			EXPECT_EQ(parsePair(size(*v)).second, frameHeights[bitmap]);
		}
	}
}

TEST(UiViewTree, TopLevelPagesAndDisplayAreLaidOutAsNamed)
{
	EXPECT_EQ(childNames(templateElement()),
		(std::vector<std::string>{"LCDLight", "LCDLines", "shadow", "clickableLogo", "btDonate", "throttleArea",
			"btModePlay", "label", "btModeEdit", "label", "Param_SourceS1Mute", "label", "Param_SourceS2Mute", "label",
			"Param_SourceS3Mute", "label", "Param_SourceS4Mute", "label", "mode_edit", "mode_play", "resizeHandle",
			"fontExport"}));

	EXPECT_EQ(size(*viewNamed("LCDLight")), "847, 336");
	EXPECT_EQ(viewNamed("LCDLight")->get("bitmap"), "display_light");
	EXPECT_EQ(size(*viewNamed("LCDLines")), "631, 129");
	EXPECT_EQ(size(*viewNamed("shadow")), "668, 170");
	EXPECT_EQ(viewNamed("shadow")->get("transparent"), "true");
	EXPECT_EQ(size(*viewNamed("clickableLogo")), "612, 266");
	EXPECT_FALSE(viewNamed("clickableLogo")->has("bitmap"));
	EXPECT_EQ(viewNamed("btDonate")->get("bitmap"), "btn_donate_SM");
	EXPECT_EQ(size(*viewNamed("throttleArea")), "320, 320");
	EXPECT_EQ(childNames(*viewNamed("throttleArea")), (std::vector<std::string>{"throttle"}));
	EXPECT_EQ(size(*viewNamed("throttle")), "74, 74");
	EXPECT_EQ(viewNamed("throttle")->get("bitmap"), "sourcemixthrottle");
	EXPECT_EQ(size(*viewNamed("fontExport")), "722.9449, 344.8");

	const Box handle = templateBox(*viewNamed("resizeHandle"));
	EXPECT_EQ(handle.x + handle.w, 2560);
	EXPECT_EQ(handle.y + handle.h, 1440);

	const Element* edit = viewNamed("mode_edit");
	const Element* play = viewNamed("mode_play");
	EXPECT_EQ(size(*edit), "2063, 517");
	EXPECT_EQ(edit->get("origin"), play->get("origin"));
	EXPECT_EQ(size(*edit), size(*play));
	EXPECT_EQ(edit->get("bitmap"), "bake_mode_edit");
	EXPECT_EQ(play->get("bitmap"), "bake_mode_play");

	const std::vector<std::string> editChildren = childNames(*edit);
	const std::vector<std::string> expectedStart = {"btEditSourceA", "Text", "btEditSourceB", "Text", "btEditSourceC",
		"Text", "btEditSourceD", "Text", "btEditCommon", "Text", "edit_source", "edit_common"};
	EXPECT_EQ(editChildren, expectedStart);
	const Element* source = viewNamed("edit_source");
	const Element* common = viewNamed("edit_common");
	EXPECT_EQ(size(*source), "1665.1, 517");
	EXPECT_EQ(size(*common), "1537.15, 517");
	EXPECT_EQ(source->get("bitmap"), "bake_edit_source");
	EXPECT_EQ(common->get("bitmap"), "bake_edit_common");
	const Box s = localBox(*source), c = localBox(*common);
	EXPECT_TRUE(s.x < c.x + c.w && c.x < s.x + s.w && s.y < c.y + c.h && c.y < s.y + s.h) << "sub-pages overlap";
}

TEST(UiViewTree, DisplayCellsSitInTwoRowsAtTheCellPitch)
{
	const Element* lines = viewNamed("LCDLines");
	ASSERT_EQ(lines->children.size(), 32u);
	for (int row = 0; row < 2; ++row)
	{
		for (int i = 0; i < 16; ++i)
		{
			const Element& cell = *lines->children[size_t(row * 16 + i)];
			char name[8];
			std::snprintf(name, sizeof(name), "char%d%02d", row, i);
			EXPECT_EQ(cell.name(), name);
			EXPECT_EQ(cell.cls(), "CView");
			EXPECT_EQ(size(cell), "39, 50");
			const Box b = localBox(cell);
			const Box first = localBox(*lines->children[size_t(row * 16)]);
			EXPECT_DOUBLE_EQ(b.x - first.x, 39.0 * i);
			EXPECT_DOUBLE_EQ(b.y, row == 0 ? 12.095 : 66.905);
			EXPECT_GE(b.x, 0);
			EXPECT_LE(b.x + b.w, 631);
		}
	}
}

TEST(UiViewTree, GlyphViewsFollowTheDisplayCharacterOrder)
{
	const Element* font = viewNamed("fontExport");
	const std::vector<std::string> expected = expectedGlyphBitmaps();
	ASSERT_EQ(font->children.size(), expected.size());
	ASSERT_EQ(expected.size(), 93u);
	double lastY = -1;
	for (size_t k = 0; k < expected.size(); ++k)
	{
		const Element& glyph = *font->children[k];
		EXPECT_EQ(glyph.cls(), "CView");
		EXPECT_EQ(glyph.get("bitmap"), expected[k]) << k;
		EXPECT_EQ(size(glyph), "39, 50");
		// Rows of 18.
		const Box b = localBox(glyph);
		if (k % 18 == 0)
		{
			EXPECT_GT(b.y, lastY);
			EXPECT_EQ(b.x, 0);
			lastY = b.y;
		}
		EXPECT_EQ(b.y, lastY) << k;
	}
}

TEST(UiViewTree, SourcePageControlsHaveTheirSizesBitmapsAndFonts)
{
	struct Expect
	{
		const char* name;
		const char* cls;
		const char* size;
		const char* bitmap;
		const char* font;
	};
	const Expect expected[] = {
		{"btCoarseDec", "CKickButton", "74, 74", "button_button_button_pressed_74x74", ""},
		{"btCoarseInc", "CKickButton", "74, 74", "button_button_button_pressed_74x74", ""},
		{"btCoarseDecText", "CTextLabel", "50, 50", "", "gadugi_33_b"},
		{"btCoarseIncText", "CTextLabel", "50, 50", "", "gadugi_33_b"},
		{"Param_SourceS1KeyTrack", "CKickButton", "297, 87", "button_button_button_pressed_297x87", ""},
		{"Param_SourceS1VibABend", "CKickButton", "297, 87", "button_button_button_pressed_297x87", ""},
		{"Param_SourceS1PressureToFreq", "CKickButton", "297, 87", "button_button_green_button_green_pressed_297x87", ""},
		{"Param_SourceS1Wave", "COptionMenu", "390, 55", "optionmenu_box_390x55", "arial_28_b"},
		{"btWaveDec", "CKickButton", "190, 87", "button_button_button_pressed_190x87", ""},
		{"btWaveInc", "CKickButton", "190, 87", "button_button_button_pressed_190x87", ""},
		{"Param_SourceS1VelCurve", "COptionMenu", "193.01, 55", "optionmenu_box_193,01x55", "arial_28_b"},
		{"envdummy", "CView", "585, 184.2", "", ""},
		{"editSingleName", "CTextEdit", "475, 61.8", "", "arial_36_b"},
		{"Param_PolyMode", "COptionMenu", "237.5, 55", "optionmenu_box_237,5x55", "arial_36_b"},
		{"Param_LfoShape", "COptionMenu", "224.8, 55", "optionmenu_box_224,8x55", "arial_36_b"},
		{"searchSingle", "CTextEdit", "427, 61.8", "", "arial_36_b"},
		{"btSingleDec", "CKickButton", "105, 87", "button_button_button_pressed_105x87", ""},
		{"btBankReset", "CKickButton", "215, 87", "button_button_button_pressed_215x87", ""},
		{"singleC5", "CTextLabel", "378.25, 57.75", "", "gadugi_39_b"},
		{"romcardName", "CTextLabel", "244.92, 40.21", "", "arial_24_b"},
		{"Param_SourceS1Mute", "CKickButton", "215, 87", "button_button_button_pressed_215x87", ""},
		{"Param_SourceS2Mute", "CKickButton", "215, 87", "button_button_green_button_green_pressed_215x87", ""},
		{"Param_SourceS3Mute", "CKickButton", "215, 87", "button_button_red_button_red_pressed_215x87", ""},
		{"Param_SourceS4Mute", "CKickButton", "215, 87", "button_button_button_pressed_215x87", ""},
	};
	for (const Expect& e : expected)
	{
		const Element* v = nullptr;
		for (const Element* candidate : viewsNamed(e.name))
			v = candidate->cls() == e.cls ? candidate : v;
		ASSERT_NE(v, nullptr) << e.name;
		EXPECT_EQ(size(*v), e.size) << e.name;
		EXPECT_EQ(v->get("bitmap"), e.bitmap) << e.name;
		EXPECT_EQ(v->get("font"), e.font) << e.name;
	}
	for (const char* menu : {"Param_Source2or4", "Param_AmpModS1S2", "Param_AmpModS3S4", "Param_KeyScaleCurve",
			 "Param_VibWheelMode"})
		EXPECT_EQ(viewNamed(menu)->get("bitmap"), "optionmenu_box_237,5x55") << menu;

	const Element* coarseMenu = viewsNamed("Param_SourceS1Coarse").front();
	EXPECT_EQ(coarseMenu->cls(), "COptionMenu");
	EXPECT_EQ(size(*coarseMenu), "168.5, 73.4");
	EXPECT_EQ(coarseMenu->get("bitmap"), "optionmenu_box_168,5x73,4");
	EXPECT_EQ(coarseMenu->get("font"), "arial_36_b");
	// Menu, knob and label overlap.
	const auto coarse = viewsNamed("Param_SourceS1Coarse");
	for (const Element* a : coarse)
	{
		for (const Element* b : coarse)
		{
			const Box p = localBox(*a), q = localBox(*b);
			EXPECT_TRUE(p.x < q.x + q.w && q.x < p.x + p.w && p.y < q.y + q.h && q.y < p.y + p.h);
		}
	}
	EXPECT_EQ(viewNamed("searchSingle")->get("title"), "");
	EXPECT_EQ(viewNamed("singleA0")->get("text-alignment"), "left");
}

TEST(UiViewTree, CaptionsAndNameLabelsCarryTheirTextsAndColours)
{
	const std::map<std::string, std::string> captions = {{"btSingleDecText", "<"}, {"btSingleIncText", ">"},
		{"btBankDecText", "<"}, {"btBankIncText", ">"}, {"btSingleImportText", "IMPORT"},
		{"btSingleExportText", "EXPORT"}, {"btSingleResetText", "RESET"}, {"btBankImportText", "IMPORT"},
		{"btBankExportText", "EXPORT"}, {"btBankResetText", "RESET"}, {"btCoarseDecText", "-"},
		{"btCoarseIncText", "+"}};
	for (const auto& [name, title] : captions)
	{
		const Element* v = viewNamed(name);
		EXPECT_EQ(v->get("title"), title) << name;
		EXPECT_EQ(v->get("font"), "gadugi_33_b") << name;
		EXPECT_EQ(v->get("font-color"), "#FFFFFFDC") << name;
		EXPECT_EQ(v->get("text-alignment"), "center") << name;
	}
	// Unnamed captions ("Text", "label") lie over the button before them and show its function.
	std::vector<std::pair<std::string, std::string>> shown;
	for (const Element* v : allViews())
	{
		if (v->name() != "Text" && v->name() != "label")
			continue;
		const auto& siblings = v->parent->children;
		const Element* before = nullptr;
		for (size_t i = 1; i < siblings.size(); ++i)
			before = siblings[i].get() == v ? siblings[i - 1].get() : before;
		ASSERT_NE(before, nullptr);
		EXPECT_EQ(before->cls(), "CKickButton");
		EXPECT_EQ(v->get("origin"), before->get("origin"));
		shown.emplace_back(before->name(), v->get("title"));
		const bool small = before->name() == "Param_SourceS1VibABend" || before->name() == "Param_SourceS1PressureToFreq";
		EXPECT_EQ(v->get("font"), small ? "gadugi_26_b" : "gadugi_33_b");
		EXPECT_EQ(v->get("font-color"), "#FFFFFFDC");
		if (before->has("tooltip") && before->name() == "Param_SourceS1VibABend")
		{
			EXPECT_EQ(v->get("tooltip"), before->get("tooltip"));
		}
	}
	const std::vector<std::pair<std::string, std::string>> expectedShown = {{"btModePlay", "PLAY"},
		{"btModeEdit", "EDIT"}, {"Param_SourceS1Mute", "1"}, {"Param_SourceS2Mute", "2"}, {"Param_SourceS3Mute", "3"},
		{"Param_SourceS4Mute", "4"}, {"btEditSourceA", "1"}, {"btEditSourceB", "2"}, {"btEditSourceC", "3"},
		{"btEditSourceD", "4"}, {"btEditCommon", "EDIT"}, {"Param_SourceS1KeyTrack", "Keytrack"},
		{"Param_SourceS1VibABend", "Vib & Autobend"}, {"Param_SourceS1PressureToFreq", "Pressure > Freq"},
		{"btWaveDec", "-"}, {"btWaveInc", "+"}};
	EXPECT_EQ(shown, expectedShown);
	EXPECT_EQ(viewNamed("Param_SourceS1PressureToFreq")->get("tooltip"), "Enable Pressure to Frequency Modulation");

	for (const Element* v : allViews())
	{
		const std::string name = v->name();
		if (name.rfind("single", 0) != 0 || name == "singleSearch")
			continue;
		EXPECT_EQ(v->get("font-color"), name == "singleA0" ? "#00FF56FF" : name == "singleA1" ? "#BC0000FF" : "#000000FF")
			<< name;
	}
	EXPECT_EQ(viewNamed("romcardName")->get("font-color"), "#FFFFFFB2");

	// Four columns of eight rows, singleA0..singleA7 down the first column.
	const Box a0 = localBox(*viewNamed("singleA0")), a7 = localBox(*viewNamed("singleA7"));
	const Box b0 = localBox(*viewNamed("singleB0")), d7 = localBox(*viewNamed("singleD7"));
	EXPECT_EQ(a0.x, a7.x);
	EXPECT_GT(a7.y, a0.y);
	EXPECT_EQ(b0.y, a0.y);
	EXPECT_GT(b0.x, a0.x);
	EXPECT_GT(d7.x, b0.x);
}

TEST(UiViewTree, EveryViewLiesInsideItsParent)
{
	for (const Element* v : allViews())
	{
		const Box b = localBox(*v);
		const Box p = v->parent->tag == "template" ? Box{0, 0, 2560, 1440} : localBox(*v->parent);
		EXPECT_GE(b.x, 0) << v->name();
		EXPECT_GE(b.y, 0) << v->name();
		// A ten-thousandth of a pixel of overhang is the pad thumb's (see below), too little to draw.
		EXPECT_LE(b.x + b.w, p.w + 1e-3) << v->name();
		EXPECT_LE(b.y + b.h, p.h + 1e-3) << v->name();
	}
}

// The pad measures its travel from where the description puts the thumb: the far corner of a square area.
TEST(UiViewTree, SourceMixThumbRestsInTheFarCornerOfItsArea)
{
	const Element* area = viewNamed("throttleArea");
	const Element* thumb = viewNamed("throttle");
	ASSERT_TRUE(area && thumb);
	EXPECT_EQ(thumb->parent, area);
	EXPECT_EQ(thumb->get("origin"), "246.0001, 246");
	const Box a = localBox(*area), t = localBox(*thumb);
	EXPECT_EQ(a.w, a.h);
	EXPECT_NEAR(t.x, a.w - t.w, 0.001);
	EXPECT_EQ(t.y, a.h - t.h);
}
