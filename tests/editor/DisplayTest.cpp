#include "EditorHarness.h"

#include "synth/Engine.h"

#include <gtest/gtest.h>

#include <cstring>
#include <map>

using namespace VSTGUI;

namespace
{
const std::string kBanner = "  *Vens' Virel* |SYNTHESIZER VSTi";
const std::string kFirmware = "Firmware 1.11   |Sep 17 2020     ";

// The two lines as the cells show them, read back through the glyphs of the font container (whose child order
// is the character order below), or "dark" while the light is off.
std::string shown(EditorHarness& h)
{
	if (!EditorHarness::shown(h.view("LCDLight")) || !EditorHarness::shown(h.view("char000")))
		return "dark";
	const std::string order = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789"
	                          "!\"$%&/()=?.,;:{}\\-+<>|[]'\xB4 ~*#\xF6";
	std::map<CBitmap*, char> characters;
	size_t k = 0;
	for (const auto& glyph : h.view("fontExport")->asViewContainer()->getChildren())
		characters[glyph->getBackground()] = order[k++];
	std::string text;
	for (const char* row : {"char0", "char1"})
	{
		for (int i = 0; i < 16; ++i)
			text += characters[h.view(row + std::string(i < 10 ? "0" : "") + std::to_string(i))->getBackground()];
		text += "|";
	}
	return text.substr(0, 33);
}

std::string currentSingle(EditorHarness& h)
{
	const size_t index = h.plugin.getCurrentSingleIndex();
	zentlib::SinglePreset single;
	h.plugin.getSingle(single, index);
	std::string bottom = zentlib::Engine::getSingleNumberAsName(index) + "  " +
	                     std::string(single.name, strnlen(single.name, sizeof(single.name)));
	bottom.resize(16, ' ');
	std::string top = "SINGLE " + zentlib::Engine::getStorageName(index);
	top.resize(16, ' ');
	return top + "|" + bottom;
}
}

TEST(Display, OpensDarkThenShowsTheBannerThenTheCurrentSingle)
{
	EditorHarness h;
	const CPoint light = h.toWindow(CPoint(533, 200));
	const CColor dark = h.pixel(light);
	h.runFor(990);
	EXPECT_EQ(shown(h), "dark");
	h.runFor(20);
	EXPECT_EQ(shown(h), kBanner);
	EXPECT_GT(h.pixel(light).green, dark.green + 60) << "the light is drawn";
	h.runFor(1980);
	EXPECT_EQ(shown(h), kBanner);
	h.runFor(20);
	EXPECT_EQ(shown(h), currentSingle(h));
	EXPECT_EQ(shown(h).substr(0, 23), "SINGLE Zent Int |IA-1  ");
}

TEST(Display, AClickOnTheLitDisplayShowsTheFirmwareThenStartsOver)
{
	EditorHarness h;
	h.runFor(3100);
	h.click("LCDLight");
	EXPECT_EQ(shown(h), "dark");
	h.runFor(200);
	h.click("LCDLight");  // lands on the dark panel and changes nothing
	h.runFor(290);
	EXPECT_EQ(shown(h), "dark");
	h.runFor(20);
	EXPECT_EQ(shown(h), kFirmware);
	h.runFor(2960);
	EXPECT_EQ(shown(h), kFirmware);
	h.runFor(40);
	EXPECT_EQ(shown(h), kBanner);
	h.rightClick(h.centre("char005"));
	EXPECT_EQ(shown(h), "dark") << "any button on the text of the banner starts over";
	h.runFor(5510);
	EXPECT_EQ(shown(h), currentSingle(h));
}

TEST(Display, ShowsAChangeOfSingleAtOnceWhileLitAndAQuestionMarkForBytesWithoutAGlyph)
{
	EditorHarness h;
	h.plugin.setCurrentSingleIndex(100);
	h.runFor(1010);
	EXPECT_EQ(shown(h), kBanner) << "unseen while dark, the banner comes on time";
	h.plugin.setCurrentSingleIndex(99);
	EXPECT_EQ(shown(h), currentSingle(h));
	EXPECT_EQ(shown(h).substr(0, 16), "SINGLE ROM R3-01");
	h.runFor(2000);
	EXPECT_EQ(shown(h), currentSingle(h));

	h.plugin.setCurrentSingleName("a@Z_9~x^y`");
	EXPECT_EQ(shown(h).substr(23), "a?Z?9~x?y?");
}
