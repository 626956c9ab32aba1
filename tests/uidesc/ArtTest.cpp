#include "Description.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <set>

using namespace uidesctest;

namespace
{
// Pixels at least half covered; the lit dots of a glyph are drawn nearly opaque, the unlit ones faint.
size_t litPixels(const Image& image)
{
	size_t count = 0;
	for (size_t i = 3; i < image.rgba.size(); i += 4)
		count += image.rgba[i] >= 128;
	return count;
}

std::vector<uint8_t> frame(const Image& strip, int index, int height)
{
	const size_t rowBytes = size_t(strip.width) * 4;
	const auto begin = strip.rgba.begin() + std::ptrdiff_t(rowBytes * size_t(index * height));
	return {begin, begin + std::ptrdiff_t(rowBytes * size_t(height))};
}
}

TEST(UiArt, EveryDisplayCharacterHasItsOwnGlyph)
{
	const Element* font = viewNamed("fontExport");
	ASSERT_EQ(font->children.size(), 93u);
	std::set<std::vector<uint8_t>> distinct;
	for (const auto& glyph : font->children)
	{
		const std::string name = glyph->get("bitmap");
		const Image image = decodePng(bitmapPng(name));
		EXPECT_TRUE(distinct.insert(image.rgba).second) << name << " looks like another glyph";
		const size_t lit = litPixels(image);
		if (name == "tmptext__x0020_")
		{
			EXPECT_EQ(lit, 0u) << "the blank shows dots";
		}
		else
		{
			EXPECT_GT(lit, 0u) << name << " shows nothing";
		}
	}
	// The filled block lights every dot: more than any other glyph.
	const size_t block = litPixels(decodePng(bitmapPng("tmptext__x005C_u25a0")));
	for (const auto& glyph : font->children)
		if (glyph->get("bitmap") != "tmptext__x005C_u25a0")
		{
			EXPECT_LT(litPixels(decodePng(bitmapPng(glyph->get("bitmap")))), block) << glyph->get("bitmap");
		}
}

TEST(UiArt, KnobFramesAndButtonFramesDifferFromEachOther)
{
	for (const char* name : {"knobvalue_knobvalue_knobshadow_Top", "knobvalue_knobvalue_knobshadow_Bottom"})
	{
		const Image strip = decodePng(bitmapPng(name));
		std::set<std::vector<uint8_t>> frames;
		for (int f = 0; f < 63; ++f)
			frames.insert(frame(strip, f, 150));
		EXPECT_EQ(frames.size(), 63u) << name;
	}
	EXPECT_NE(decodePng(bitmapPng("knobvalue_knobvalue_knobshadow_Top")).rgba,
		decodePng(bitmapPng("knobvalue_knobvalue_knobshadow_Bottom")).rgba);
	for (const char* name : {"button_button_button_pressed_215x87", "button_button_green_button_green_pressed_215x87",
			 "button_button_red_button_red_pressed_215x87", "button_button_button_pressed_297x87",
			 "button_button_green_button_green_pressed_297x87", "button_button_button_pressed_190x87",
			 "button_button_button_pressed_105x87", "button_button_button_pressed_74x74"})
	{
		const Image image = decodePng(bitmapPng(name));
		EXPECT_NE(frame(image, 0, image.height / 2), frame(image, 1, image.height / 2)) << name;
	}
}

// The puck's centre travels up to 123 from the pad's centre. At every point of that circle its body must
// stay inside the well's rim, and the well must stand on the panel's face: clear of the recess around the
// pages (8 past them) and of the right end cheek (the outer 64 pixels).
TEST(UiArt, TheSourceMixWellHoldsThePuckAndStandsOnThePanelFace)
{
	const Image puck = decodePng(bitmapPng("sourcemixthrottle"));
	double body = 0;
	for (int y = 0; y < puck.height; ++y)
		for (int x = 0; x < puck.width; ++x)
			if (puck.rgba[size_t(y * puck.width + x) * 4 + 3] >= 128)
				body = std::max(body, std::hypot(x + 0.5 - puck.width / 2.0, y + 0.5 - puck.height / 2.0));

	const Image panel = decodePng(bitmapPng("background"));
	const Box pad = templateBox(*viewNamed("throttleArea"));
	const double cx = pad.x + pad.w / 2, cy = pad.y + pad.h / 2;
	auto isRim = [&](double d, double angle) {
		const int x = int(cx + d * std::cos(angle)), y = int(cy + d * std::sin(angle));
		const uint8_t* p = &panel.rgba[size_t(y * panel.width + x) * 4];
		return p[1] > p[0] + 50 && p[2] > p[0] + 50;
	};
	auto rimFrom = [&](double angle, bool inner) {
		double d = 0;
		while (d < pad.w && !isRim(d, angle))
			d += 0.25;
		while (!inner && d < pad.w && isRim(d, angle))
			d += 0.25;
		return d;
	};
	for (int k = 0; k < 24; ++k)
		EXPECT_LT(123 + body, rimFrom(k * M_PI / 12, true)) << k * 15 << " degrees";

	const Box pages = templateBox(*viewNamed("mode_play"));
	EXPECT_GT(cx - rimFrom(M_PI, false), pages.x + pages.w + 8);
	EXPECT_LT(cx + rimFrom(0, false), 2560 - 64);
}
