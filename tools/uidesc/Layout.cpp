#include "Layout.h"

#include "synth/CParam.h"

#include <cstdio>

namespace uidesc
{
namespace
{
using zentlib::EParam;

const char* const SmallGrey = "button_button_button_pressed_215x87";
const char* const SmallGreen = "button_button_green_button_green_pressed_215x87";
const char* const SmallRed = "button_button_red_button_red_pressed_215x87";
const char* const LargeGrey = "button_button_button_pressed_297x87";
const char* const LargeGreen = "button_button_green_button_green_pressed_297x87";
const char* const WaveStep = "button_button_button_pressed_190x87";
const char* const BrowserStep = "button_button_button_pressed_105x87";
const char* const CoarseStep = "button_button_button_pressed_74x74";
const char* const KnobTop = "knobvalue_knobvalue_knobshadow_Top";
const char* const KnobBottom = "knobvalue_knobvalue_knobshadow_Bottom";
const char* const CoarseBox = "optionmenu_box_168,5x73,4";
const char* const WaveBox = "optionmenu_box_390x55";
const char* const VelCurveBox = "optionmenu_box_193,01x55";
const char* const CommonBox = "optionmenu_box_237,5x55";
const char* const LfoShapeBox = "optionmenu_box_224,8x55";

const char* const CaptionColor = "#FFFFFFDC";
const char* const White = "#FFFFFFFF";

// Knob captions sit in the band below the dial, inside the knob's own rectangle.
constexpr double KnobCaptionY = 137;
constexpr double KnobCaptionCap = 17;
constexpr double LegendCap = 18;

std::string param(EParam p)
{
	return zentlib::CParam::getEnumString(p);
}

View plain(const std::string& name, Rect r, const std::string& bitmap = "")
{
	View v;
	v.cls = "CView";
	v.name = name;
	v.r = r;
	v.bitmap = bitmap;
	return v;
}

View container(const std::string& name, Rect r, const std::string& bitmap = "")
{
	View v = plain(name, r, bitmap);
	v.cls = "CViewContainer";
	return v;
}

void setValueRange(View& v, double minValue = 0, double maxValue = 1)
{
	v.hasValue = true;
	v.minValue = minValue;
	v.maxValue = maxValue;
}

View textLabel(const std::string& name, Rect r, const std::string& title, const std::string& font,
	const std::string& color, const std::string& alignment = "center")
{
	View v = plain(name, r);
	v.cls = "CTextLabel";
	v.transparent = true;
	v.font = font;
	v.fontColor = color;
	v.alignment = alignment;
	v.hasTitle = true;
	v.title = title;
	setValueRange(v);
	return v;
}

View textEdit(const std::string& name, Rect r, const std::string& title)
{
	View v = textLabel(name, r, title, "arial_36_b", White);
	v.cls = "CTextEdit";
	return v;
}

View kickButton(const std::string& name, Rect r, const std::string& bitmap)
{
	View v = plain(name, r, bitmap);
	v.cls = "CKickButton";
	v.imageHeight = static_cast<int>(r.h);
	return v;
}

View optionMenu(const std::string& name, Rect r, const std::string& box, const std::string& font)
{
	View v = plain(name, r, box);
	v.cls = "COptionMenu";
	v.font = font;
	setValueRange(v);
	return v;
}

View animKnob(const std::string& name, Rect r, const std::string& strip, double minValue = 0, double maxValue = 1)
{
	View v = plain(name, r, strip);
	v.cls = "CAnimKnob";
	v.imageHeight = KnobSize;
	v.hasAngles = true;
	setValueRange(v, minValue, maxValue);
	return v;
}

// A button and the caption lying over it.
void addButton(View& parent, View button, const std::string& captionName, const std::string& caption,
	const std::string& captionFont = "gadugi_33_b")
{
	const Rect r = button.r;
	parent.children.push_back(std::move(button));
	parent.children.push_back(textLabel(captionName, r, caption, captionFont, CaptionColor));
}

// A knob with its value label over it and its caption printed below the dial.
void addKnob(View& parent, Decor& decor, EParam p, double x, double y, const char* strip, const std::string& caption)
{
	const Rect r{x, y, KnobSize, KnobSize};
	parent.children.push_back(animKnob(param(p), r, strip));
	parent.children.push_back(textLabel(param(p), r, "0", "arial_36_b", White));
	decor.legends.push_back({r.centerX(), y + KnobCaptionY, KnobCaptionCap, caption});
}

// A legend centred above a control.
void legendAbove(Decor& decor, const Rect& r, const std::string& text, double gap = 14)
{
	decor.legends.push_back({r.centerX(), r.y - gap - LegendCap / 2, LegendCap, text});
}

View buildEditSource(Decor& decor)
{
	View page = container("edit_source", {397.9, 0, 1665.1, 517}, "bake_edit_source");

	// Coarse: a menu with step buttons while key tracking is off, a knob with its label while it is on.
	const Rect coarseKnob{515, 15, KnobSize, KnobSize};
	const Rect coarseMenu{505.75, 40.3, 168.5, 73.4};
	page.children.push_back(optionMenu(param(zentlib::Param_SourceS1Coarse), coarseMenu, CoarseBox, "arial_36_b"));
	page.children.push_back(
		animKnob(param(zentlib::Param_SourceS1Coarse), coarseKnob, KnobTop, 60, 108));
	page.children.push_back(
		textLabel(param(zentlib::Param_SourceS1Coarse), coarseKnob, "0", "arial_36_b", White));
	decor.legends.push_back({coarseKnob.centerX(), coarseKnob.y + KnobCaptionY, KnobCaptionCap, "COARSE"});
	const Rect dec{425, 40, 74, 74}, inc{681, 40, 74, 74};
	page.children.push_back(kickButton("btCoarseDec", dec, CoarseStep));
	page.children.push_back(kickButton("btCoarseInc", inc, CoarseStep));
	page.children.push_back(
		textLabel("btCoarseDecText", {dec.x + 12, dec.y + 12, 50, 50}, "-", "gadugi_33_b", CaptionColor));
	page.children.push_back(
		textLabel("btCoarseIncText", {inc.x + 12, inc.y + 12, 50, 50}, "+", "gadugi_33_b", CaptionColor));

	addKnob(page, decor, zentlib::Param_SourceS1Fine, 790, 15, KnobTop, "FINE");
	addKnob(page, decor, zentlib::Param_SourceS1FreqKeyScaleToFreq, 945, 15, KnobTop, "KS>FREQ");
	addKnob(page, decor, zentlib::Param_SourceS1LevelModVel, 1140, 15, KnobTop, "LEVEL VEL");
	addKnob(page, decor, zentlib::Param_SourceS1LevelModPressure, 1295, 15, KnobTop, "LEVEL PRS");
	addKnob(page, decor, zentlib::Param_SourceS1LevelModKeyScale, 1450, 15, KnobTop, "LEVEL KS");

	addKnob(page, decor, zentlib::Param_SourceS1EnvLevel, 1030, 183, KnobBottom, "ENV LEVEL");
	addKnob(page, decor, zentlib::Param_SourceS1EnvDelay, 1185, 183, KnobBottom, "DELAY");
	addKnob(page, decor, zentlib::Param_SourceS1EnvAttack, 1340, 183, KnobBottom, "ATTACK");
	addKnob(page, decor, zentlib::Param_SourceS1EnvDecay, 1495, 183, KnobBottom, "DECAY");
	addKnob(page, decor, zentlib::Param_SourceS1EnvSustain, 1030, 351, KnobBottom, "SUSTAIN");
	addKnob(page, decor, zentlib::Param_SourceS1EnvRelease, 1185, 351, KnobBottom, "RELEASE");
	addKnob(page, decor, zentlib::Param_SourceS1TimeModVel, 1340, 351, KnobTop, "TIME VEL");
	addKnob(page, decor, zentlib::Param_SourceS1TimeModKeyScale, 1495, 351, KnobTop, "TIME KS");

	addButton(page, kickButton(param(zentlib::Param_SourceS1KeyTrack), {15, 222, 297, 87}, LargeGrey), "Text",
		"Keytrack");
	{
		View button = kickButton(param(zentlib::Param_SourceS1VibABend), {15, 318, 297, 87}, LargeGrey);
		button.tooltip = "Enable Frequency Modulation by Vibrato && Autobend";
		addButton(page, button, "Text", "Vib & Autobend", "gadugi_26_b");
		page.children.back().tooltip = button.tooltip;
	}
	{
		View button = kickButton(param(zentlib::Param_SourceS1PressureToFreq), {15, 414, 297, 87}, LargeGreen);
		button.tooltip = "Enable Pressure to Frequency Modulation";
		addButton(page, button, "Text", "Pressure > Freq", "gadugi_26_b");
	}

	const Rect wave{15, 40, 390, 55};
	page.children.push_back(optionMenu(param(zentlib::Param_SourceS1Wave), wave, WaveBox, "arial_28_b"));
	legendAbove(decor, wave, "WAVE", 10);
	addButton(page, kickButton("btWaveDec", {15, 105, 190, 87}, WaveStep), "Text", "-");
	addButton(page, kickButton("btWaveInc", {215, 105, 190, 87}, WaveStep), "Text", "+");

	const Rect velCurve{425, 410, 193.01, 55};
	page.children.push_back(
		optionMenu(param(zentlib::Param_SourceS1VelCurve), velCurve, VelCurveBox, "arial_28_b"));
	legendAbove(decor, velCurve, "VEL CURVE", 10);

	const Rect envelope{425, 183, 585, 184.2};
	page.children.push_back(plain("envdummy", envelope));
	decor.wells.push_back(envelope);

	decor.groups.push_back({5, 4, 410, 196});
	decor.groups.push_back({415, 4, 350, 168});
	decor.groups.push_back({775, 4, 330, 168});
	decor.groups.push_back({1125, 4, 490, 168});
	decor.groups.push_back({5, 210, 317, 300});
	decor.groups.push_back({1015, 172, 645, 340});
	return page;
}

View buildEditCommon(Decor& decor)
{
	View page = container("edit_common", {397.9, 0, 1537.15, 517}, "bake_edit_common");

	const Rect name{15, 40, 475, 61.8};
	page.children.push_back(textEdit("editSingleName", name, "Name"));
	decor.wells.push_back(name);
	legendAbove(decor, name, "NAME", 8);

	struct MenuPlace
	{
		EParam p;
		Rect r;
		const char* legend;
	};
	const MenuPlace menus[] = {
		{zentlib::Param_PolyMode, {510, 43.4, 237.5, 55}, "POLY MODE"},
		{zentlib::Param_Source2or4, {765, 43.4, 237.5, 55}, "SOURCES"},
		{zentlib::Param_AmpModS1S2, {15, 150, 237.5, 55}, "AM 1>2"},
		{zentlib::Param_AmpModS3S4, {15, 250, 237.5, 55}, "AM 3>4"},
		{zentlib::Param_KeyScaleCurve, {1020, 43.4, 237.5, 55}, "KS CURVE"},
		{zentlib::Param_VibWheelMode, {1275, 43.4, 237.5, 55}, "WHEEL"},
	};
	for (const MenuPlace& m : menus)
	{
		page.children.push_back(optionMenu(param(m.p), m.r, CommonBox, "arial_36_b"));
		legendAbove(decor, m.r, m.legend, m.r.y < 100 ? 11.4 : 10);
	}
	const Rect lfoShape{15, 350, 224.8, 55};
	page.children.push_back(optionMenu(param(zentlib::Param_LfoShape), lfoShape, LfoShapeBox, "arial_36_b"));
	legendAbove(decor, lfoShape, "LFO SHAPE", 10);

	addKnob(page, decor, zentlib::Param_LfoSpeed, 300, 130, KnobBottom, "LFO SPEED");
	addKnob(page, decor, zentlib::Param_VibratoDepth, 470, 130, KnobTop, "VIB DEPTH");
	addKnob(page, decor, zentlib::Param_PressureToVibrato, 640, 130, KnobTop, "PRS>VIB");
	addKnob(page, decor, zentlib::Param_PitchBendDepth, 850, 130, KnobTop, "BEND");
	addKnob(page, decor, zentlib::Param_PressureToFreq, 1020, 130, KnobTop, "PRS>FREQ");
	addKnob(page, decor, zentlib::Param_Volume, 1300, 130, KnobBottom, "VOLUME");
	addKnob(page, decor, zentlib::Param_AutoBendDepth, 300, 330, KnobTop, "AB DEPTH");
	addKnob(page, decor, zentlib::Param_AutoBendTime, 470, 330, KnobBottom, "AB TIME");
	addKnob(page, decor, zentlib::Param_AutoBendKeyScaleToTime, 640, 330, KnobTop, "AB KS>TIME");
	addKnob(page, decor, zentlib::Param_VelToDepth, 810, 330, KnobTop, "AB VEL");

	decor.groups.push_back({285, 120, 520, 172});
	decor.groups.push_back({835, 120, 350, 172});
	decor.groups.push_back({1285, 120, 180, 172});
	decor.groups.push_back({285, 320, 690, 172});
	return page;
}

View buildModeEdit(Decor& pageDecor, Decor& sourceDecor, Decor& commonDecor)
{
	View page = container("mode_edit", {110, 720, 2063, 517}, "bake_mode_edit");
	const char* const names[] = {"btEditSourceA", "btEditSourceB", "btEditSourceC", "btEditSourceD"};
	for (int s = 0; s < 4; ++s)
	{
		char caption[2] = {static_cast<char>('1' + s), 0};
		addButton(page, kickButton(names[s], {91.45, 36.0 + 92 * s, 215, 87}, SmallGrey), "Text", caption);
	}
	addButton(page, kickButton("btEditCommon", {91.45, 420, 215, 87}, SmallGrey), "Text", "EDIT");
	pageDecor.legends.push_back({198.95, 18, LegendCap, "SOURCE"});
	pageDecor.legends.push_back({198.95, 410, 13, "COMMON"});
	pageDecor.groups.push_back({70, 4, 257, 509});
	page.children.push_back(buildEditSource(sourceDecor));
	page.children.push_back(buildEditCommon(commonDecor));
	return page;
}

View buildModePlay(Decor& decor)
{
	View page = container("mode_play", {110, 720, 2063, 517}, "bake_mode_play");
	const Rect search{1615, 26, 427, 61.8};
	View searchField = textEdit("searchSingle", search, "");
	page.children.push_back(searchField);
	decor.wells.push_back(search);
	decor.legends.push_back({1828.5, 12, 14, "SEARCH"});

	struct Place
	{
		const char* name;
		Rect r;
		const char* caption;
		const char* bitmap;
	};
	const Place steps[] = {
		{"btSingleDec", {1600, 128, 105, 87}, "<", BrowserStep},
		{"btSingleInc", {1710, 128, 105, 87}, ">", BrowserStep},
		{"btBankDec", {1835, 128, 105, 87}, "<", BrowserStep},
		{"btBankInc", {1945, 128, 105, 87}, ">", BrowserStep},
		{"btSingleImport", {1600, 222, 215, 87}, "IMPORT", SmallGrey},
		{"btSingleExport", {1600, 316, 215, 87}, "EXPORT", SmallGrey},
		{"btSingleReset", {1600, 410, 215, 87}, "RESET", SmallGrey},
		{"btBankImport", {1835, 222, 215, 87}, "IMPORT", SmallGrey},
		{"btBankExport", {1835, 316, 215, 87}, "EXPORT", SmallGrey},
		{"btBankReset", {1835, 410, 215, 87}, "RESET", SmallGrey},
	};
	for (const Place& s : steps)
		addButton(page, kickButton(s.name, s.r, s.bitmap), std::string(s.name) + "Text", s.caption);
	decor.legends.push_back({1707.5, 112, 15, "SINGLE"});
	decor.legends.push_back({1942.5, 112, 15, "BANK"});
	decor.groups.push_back({1588, 100, 239, 410});
	decor.groups.push_back({1823, 100, 239, 410});

	constexpr double nameWidth = 378.25, nameHeight = 57.75;
	for (int column = 0; column < 4; ++column)
	{
		for (int row = 0; row < 8; ++row)
		{
			const char id[3] = {static_cast<char>('A' + column), static_cast<char>('0' + row), 0};
			const std::string name = std::string("single") + id;
			const char* color = name == "singleA0" ? "#00FF56FF" : name == "singleA1" ? "#BC0000FF" : "#000000FF";
			const Rect r{20 + column * nameWidth, 50 + row * nameHeight, nameWidth, nameHeight};
			page.children.push_back(
				textLabel(name, r, std::string("Single ") + id, "gadugi_39_b", color, "left"));
			decor.listRows.push_back(r);
		}
	}
	page.children.push_back(
		textLabel("romcardName", {654.04, 6, 244.92, 40.21}, "ROM CARD", "arial_24_b", "#FFFFFFB2"));
	return page;
}
}

const std::vector<GlyphName>& glyphNames()
{
	static const std::vector<GlyphName> names = [] {
		std::vector<GlyphName> list;
		auto coded = [](char32_t c) {
			char text[16];
			std::snprintf(text, sizeof(text), "_x%04X_", static_cast<unsigned>(c));
			return std::string(text);
		};
		for (char32_t c = 'A'; c <= 'Z'; ++c)
			list.push_back({c, "tmptext_" + std::string(1, static_cast<char>(c))});
		for (char32_t c = 'a'; c <= 'z'; ++c)
			list.push_back({c, "tmptext_" + std::string(1, static_cast<char>(c))});
		for (char32_t c = '0'; c <= '9'; ++c)
			list.push_back({c, "tmptext_" + coded(c)});
		const char32_t others[] = {'!', '"', '$', '%', '&', '/', '(', ')', '=', '?', '.', ',', ';', ':', '{',
			'}', '\\', '-', '+', '<', '>', '|', '[', ']', '\'', '`', ' ', '~', '*', '#'};
		for (char32_t c : others)
			list.push_back({c, c == ':' ? std::string("tmptext__") : "tmptext_" + coded(c)});
		list.push_back({U'\u25A0', "tmptext__x005C_u25a0"});
		return list;
	}();
	return names;
}

Panel buildPanel()
{
	Panel panel;
	panel.bitmaps = {
		{"background", 2560, 1440},
		{"display_light", 847, 336},
		{"display_panelshadow", 668, 170},
		{"btn_donate_SM", 195, 60},
		{"sourcemixthrottle", 74, 74},
		{SmallGrey, 215, 174},
		{SmallGreen, 215, 174},
		{SmallRed, 215, 174},
		{LargeGrey, 297, 174},
		{LargeGreen, 297, 174},
		{WaveStep, 190, 174},
		{BrowserStep, 105, 174},
		{CoarseStep, 74, 148},
		{KnobTop, KnobSize, KnobSize * KnobFrames},
		{KnobBottom, KnobSize, KnobSize * KnobFrames},
		{CoarseBox, 168, 73},
		{WaveBox, 390, 55},
		{VelCurveBox, 193, 55},
		{CommonBox, 238, 55},
		{LfoShapeBox, 225, 55},
		{"bake_mode_play", 2063, 517},
		{"bake_mode_edit", 2063, 517},
		{"bake_edit_source", 1665, 517},
		{"bake_edit_common", 1537, 517},
		{"resize", 122, 100},
	};
	for (const GlyphName& g : glyphNames())
		panel.bitmaps.push_back({g.bitmap, GlyphWidth, GlyphHeight});

	View& root = panel.root;
	root = container("bg", {0, 0, TemplateWidth, TemplateHeight}, "background");
	Decor& bg = panel.decor["background"];

	panel.display = {110, 110, 847, 336};
	root.children.push_back(plain("LCDLight", panel.display, "display_light"));

	View lines = container("LCDLines", {218, 213.5, 631, 129});
	lines.transparent = true;
	for (int row = 0; row < 2; ++row)
	{
		for (int i = 0; i < 16; ++i)
		{
			char name[8];
			std::snprintf(name, sizeof(name), "char%d%02d", row, i);
			View cell = plain(name, {3.5 + 39 * i, row == 0 ? 12.095 : 66.905, GlyphWidth, GlyphHeight},
				glyphNames()[88].bitmap);
			cell.transparent = true;
			lines.children.push_back(cell);
		}
	}
	root.children.push_back(lines);

	View shadow = plain("shadow", {199.5, 193, 668, 170}, "display_panelshadow");
	shadow.transparent = true;
	root.children.push_back(shadow);

	panel.logo = {1040, 120, 612, 266};
	root.children.push_back(plain("clickableLogo", panel.logo));
	root.children.push_back(plain("btDonate", {1248.5, 410, 195, 60}, "btn_donate_SM"));

	// Centred in the gap between the pages' recess (to 2181) and the right end cheek (from 2496), so the
	// well and its rim stand on the panel's face.
	panel.pad = {2178, 820, 320, 320};
	View pad = container("throttleArea", panel.pad);
	pad.transparent = true;
	// The thumb rests in the far corner: the pad takes its travel from this origin, so the horizontal travel is a
	// hair over 246 and a drag to the right edge gives a balance just under 1.
	pad.children.push_back(plain("throttle", {246.0001, 246, 74, 74}, "sourcemixthrottle"));
	root.children.push_back(pad);
	bg.legends.push_back({panel.pad.centerX(), panel.pad.y - 32, LegendCap, "SOURCE MIX"});

	addButton(root, kickButton("btModePlay", {110, 560, 215, 87}, SmallGrey), "label", "PLAY");
	addButton(root, kickButton("btModeEdit", {345, 560, 215, 87}, SmallGreen), "label", "EDIT");
	bg.legends.push_back({335, 524, LegendCap, "MODE"});
	const char* const muteBitmaps[] = {SmallGrey, SmallGreen, SmallRed, SmallGrey};
	for (int s = 0; s < 4; ++s)
	{
		const char caption[2] = {static_cast<char>('1' + s), 0};
		addButton(root,
			kickButton(param(static_cast<EParam>(zentlib::Param_SourceS1Mute + s)), {640.0 + 235 * s, 560, 215, 87},
				muteBitmaps[s]),
			"label", caption);
	}
	bg.legends.push_back({1097.5, 524, LegendCap, "SOURCE ON/OFF"});
	bg.groups.push_back({90, 500, 490, 167});
	bg.groups.push_back({620, 500, 955, 167});

	panel.pages = {110, 720, 2063, 517};
	root.children.push_back(
		buildModeEdit(panel.decor["bake_mode_edit"], panel.decor["bake_edit_source"], panel.decor["bake_edit_common"]));
	root.children.push_back(buildModePlay(panel.decor["bake_mode_play"]));

	root.children.push_back(plain("resizeHandle", {TemplateWidth - 122, TemplateHeight - 100, 122, 100}, "resize"));

	View font = container("fontExport", {1730, 100, 722.9449, 344.8});
	font.transparent = true;
	const double pitchX = (722.9449 - GlyphWidth) / 17, pitchY = (344.8 - GlyphHeight) / 5;
	for (size_t k = 0; k < glyphNames().size(); ++k)
	{
		View glyph = plain("", {pitchX * static_cast<double>(k % 18), pitchY * static_cast<double>(k / 18),
			GlyphWidth, GlyphHeight}, glyphNames()[k].bitmap);
		glyph.transparent = true;
		font.children.push_back(glyph);
	}
	root.children.push_back(font);
	return panel;
}
}
