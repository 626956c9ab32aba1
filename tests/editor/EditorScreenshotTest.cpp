#include "EditorHarness.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>

using namespace VSTGUI;
using namespace zentlib;

namespace
{
constexpr double kPi = 3.14159265358979323846;

// Where a knob's strip draws its position mark for a value: the frame the knob shows for it (63 frames
// over 270 degrees from down-left), the mark on the track 54 pixels from the dial's centre at (75, 62).
CPoint markFor(CView* knob, float normalised)
{
	const double frame = std::floor(normalised * 62);
	const double angle = (135 + 270 * frame / 62) * kPi / 180;
	const CRect r = knob->getViewSize();
	CPoint mark(r.left + 75 + std::cos(angle) * 54, r.top + 62 + std::sin(angle) * 54);
	return knob->getGlobalTransform().transform(mark);
}

bool whiteish(const CColor& c)
{
	return c.red > 200 && c.green > 200 && c.blue > 200;
}

void expectKnobShows(EditorHarness& h, EParam p, float normalised)
{
	SCOPED_TRACE(CParam::getEnumString(p));
	auto* knob = h.viewAs<CAnimKnob>(CParam::getEnumString(p));
	ASSERT_TRUE(EditorHarness::shown(knob));
	EXPECT_TRUE(whiteish(h.pixel(markFor(knob, normalised))));
	EXPECT_FALSE(whiteish(h.pixel(markFor(knob, 1 - normalised))));
}

void save(EditorHarness& h, const char* name)
{
	std::filesystem::create_directories(VIREL_SCREENSHOT_DIR);
	h.window().redrawAll();
	EXPECT_TRUE(h.window().writePNG(std::string(VIREL_SCREENSHOT_DIR) + "/" + name));
}
}

// Both pages at the default size, as a person first sees them: the display lit once the start-up has
// played, and knobs drawn at the positions of their values.
TEST(EditorScreenshot, BothPagesAtTheDefaultSizeShowTheLitDisplayAndTheKnobValues)
{
	EditorHarness h;
	h.automate(Param_SourceS1EnvLevel, 0.25f);
	h.automate(Param_Volume, 0.75f);
	h.runFor(3500);

	ASSERT_TRUE(EditorHarness::shown(h.view("LCDLight")));
	CView* lines = h.view("LCDLines");
	const CRect cells = lines->getViewSize();
	// On the glass just above the first row of characters: the backlight's yellow-green.
	CPoint glass(cells.left + cells.getWidth() / 2, cells.top + 4);
	const CColor backlight = h.pixel(lines->getGlobalTransform().transform(glass));
	EXPECT_GT(backlight.green, 150);
	EXPECT_GT(backlight.green, backlight.blue + 60);
	save(h, "editor_play_1024x576.png");
	EXPECT_TRUE(EditorHarness::shown(h.view("singleA0")));

	h.click("btModeEdit");
	expectKnobShows(h, Param_SourceS1EnvLevel, 0.25f);
	save(h, "editor_source_1024x576.png");

	h.click("btEditCommon");
	expectKnobShows(h, Param_Volume, 0.75f);
	save(h, "editor_common_1024x576.png");
}
