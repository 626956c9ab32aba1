#include "EditorHarness.h"

#include "synth/Engine.h"

#include <gtest/gtest.h>

#include <cstring>

#include <map>

using namespace VSTGUI;

namespace
{
// The glyphs of the description's font container, in child order.
const std::string kGlyphOrder = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789"
                                "!\"$%&/()=?.,;:{}\\-+<>|[]'\xB4 ~*#\xF6";

struct Display
{
	explicit Display(EditorHarness& h) : h(h)
	{
		size_t k = 0;
		for (const auto& glyph : h.view("fontExport")->asViewContainer()->getChildren())
			characters[glyph->getBackground()] = kGlyphOrder[k++];
	}

	bool lit() const { return EditorHarness::shown(h.view("LCDLight")) && EditorHarness::shown(h.view("char000")); }

	// One line as the cells show it, read back through their glyphs.
	std::string line(int row) const
	{
		std::string text;
		for (int i = 0; i < 16; ++i)
		{
			const auto found = characters.find(h.view("char" + std::to_string(row) + (i < 10 ? "0" : "") +
			                                          std::to_string(i))->getBackground());
			text += found == characters.end() ? '#' : found->second;
		}
		return text;
	}
	std::string shows() const { return lit() ? line(0) + "|" + line(1) : "dark"; }

	EditorHarness& h;
	std::map<CBitmap*, char> characters;
};

// The bottom line for the current single: its number, two blanks and its name, blanks to the end.
std::string currentSingleLine(EditorHarness& h)
{
	const size_t index = h.plugin.getCurrentSingleIndex();
	zentlib::SinglePreset single;
	h.plugin.getSingle(single, index);
	std::string line = zentlib::Engine::getSingleNumberAsName(index) + "  " +
	                   std::string(single.name, strnlen(single.name, sizeof(single.name)));
	line.resize(16, ' ');
	return line;
}
}

TEST(Display, OpensDarkThenShowsTheBannerThenTheCurrentSingle)
{
	EditorHarness h;
	Display display(h);
	const CPoint light = h.toWindow(CPoint(533, 200));
	const CColor dark = h.pixel(light);
	EXPECT_EQ(display.shows(), "dark");
	h.runFor(990);
	EXPECT_EQ(display.shows(), "dark");
	h.runFor(20);
	EXPECT_EQ(display.shows(), "  *Vens' Virel* |SYNTHESIZER VSTi");
	const CColor lit = h.pixel(light);

	EXPECT_GT(lit.green, dark.green + 60) << "the light is drawn when lit";
	h.runFor(1980);
	EXPECT_EQ(display.shows(), "  *Vens' Virel* |SYNTHESIZER VSTi");
	h.runFor(20);
	EXPECT_EQ(display.shows(), "SINGLE Zent Int |" + currentSingleLine(h));
	EXPECT_EQ(display.line(1).substr(0, 6), "IA-1  ");
}

TEST(Display, AClickOnTheLitDisplayShowsTheFirmwareThenStartsOver)
{
	EditorHarness h;
	Display display(h);
	h.runFor(3100);
	h.click("LCDLight");
	EXPECT_EQ(display.shows(), "dark");
	h.runFor(200);
	h.click("LCDLight");  // falls on the dark panel: the sequence keeps its time
	h.runFor(290);
	EXPECT_EQ(display.shows(), "dark");
	h.runFor(20);
	EXPECT_EQ(display.shows(), "Firmware 1.11   |Sep 17 2020     ");
	h.runFor(2960);
	EXPECT_EQ(display.shows(), "Firmware 1.11   |Sep 17 2020     ");
	h.runFor(40);
	EXPECT_EQ(display.shows(), "  *Vens' Virel* |SYNTHESIZER VSTi");
	h.runFor(2000);
	EXPECT_EQ(display.line(1).substr(0, 6), "IA-1  ");

	// A click while the banner shows starts over from the dark phase.
	h.click("LCDLight");
	h.runFor(510);
	h.click("LCDLight");
	EXPECT_EQ(display.shows(), "dark");
}

TEST(Display, ShowsAProgramChangeAtOnceWhileLitAndUnseenWhileDark)
{
	EditorHarness h;
	Display display(h);
	h.plugin.setCurrentSingleIndex(100);
	h.runFor(500);
	EXPECT_EQ(display.shows(), "dark");
	h.runFor(600);
	EXPECT_EQ(display.shows(), "  *Vens' Virel* |SYNTHESIZER VSTi") << "the banner comes on time";

	h.plugin.setCurrentSingleIndex(64 + 35);
	h.runFor(50);
	const std::string expected = "SINGLE ROM R3-01|" + currentSingleLine(h);
	EXPECT_EQ(display.shows(), expected) << "the banner is replaced at once";
	h.runFor(2000);
	EXPECT_EQ(display.shows(), expected);
}

TEST(Display, BytesWithoutAGlyphShowAQuestionMark)
{
	EditorHarness h;
	Display display(h);
	h.runFor(3100);
	h.plugin.setCurrentSingleName("a@Z_9~x^y`");
	h.runFor(50);
	EXPECT_EQ(display.line(1), "IA-1  a?Z?9~x?y?");
}
