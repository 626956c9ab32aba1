#include "EditorHarness.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace VSTGUI;
using namespace zentlib;

namespace
{
constexpr double kRadius = 123;  // how far the thumb's centre may go from the pad's centre, in template pixels

CRect windowSize(double zoom)
{
	return CRect(0, 0, 2560 * zoom, 1440 * zoom);
}

// The thumb's centre relative to the pad's, in template pixels.
CPoint thumbOffset(const EditorHarness& h)
{
	const CPoint d = h.centre("throttle") - h.centre("throttleArea");
	return CPoint(d.x / h.zoom(), d.y / h.zoom());
}

double length(const CPoint& p)
{
	return std::hypot(p.x, p.y);
}

// The last two edits the pad sent, as the owner received them.
std::vector<std::pair<EParam, float>> lastTwo(const EditorHarness& h)
{
	const auto& c = h.listener.changes;
	return c.size() < 2 ? c : std::vector<std::pair<EParam, float>>(c.end() - 2, c.end());
}
}

TEST(SourceMixPad, ARightClickCentresTheThumbAndSendsBothCentredBalancesOtherButtonsDoNothing)
{
	EditorHarness h;
	h.automate(Param_SourceMix12, 0.2f);
	h.automate(Param_SourceMix34, 0.9f);
	const CPoint placed = thumbOffset(h);
	EXPECT_NEAR(placed.x, 246.0001 * 0.9 - 123.00005, 1e-3);
	EXPECT_NEAR(placed.y, 246 * 0.2 - 123, 1e-3);
	EXPECT_TRUE(h.listener.changes.empty());  // following the host sends nothing back

	const CPoint thumb = h.centre("throttle");
	for (int32_t buttons : {int32_t(kMButton), kLButton | kRButton, kRButton | kButton4})
	{
		EXPECT_EQ(h.down(thumb, buttons), kMouseEventNotHandled) << buttons;
		h.up(thumb, buttons);
	}
	EXPECT_TRUE(h.listener.changes.empty());
	EXPECT_NEAR(length(thumbOffset(h) - placed), 0, 1e-9);

	// Modifier keys do not matter.
	h.click(thumb, kRButton | kShift | kAlt);
	EXPECT_NEAR(length(thumbOffset(h)), 0, 1e-3);
	EXPECT_EQ(lastTwo(h), (std::vector<std::pair<EParam, float>>{{Param_SourceMix12, 0.5f}, {Param_SourceMix34, 0.5f}}));
	EXPECT_EQ(h.parameter(Param_SourceMix12), 0.5f);
	EXPECT_EQ(h.parameter(Param_SourceMix34), 0.5f);
}

TEST(SourceMixPad, DragsStopOnTheCircleAtEveryZoom)
{
	for (double zoom : {0.5, 1.0})
	{
		SCOPED_TRACE(zoom);
		EditorHarness h(windowSize(zoom));
		ASSERT_EQ(h.zoom(), zoom);
		const CView* pad = h.view("throttleArea");
		const CRect area = pad->getGlobalTransform().transform(pad->getViewSize());

		// Beyond the top-left corner: the thumb stops on the circle at 45 degrees, well short of 0.
		h.drag(h.centre("throttle"), area.getTopLeft() - CPoint(40, 40));
		EXPECT_NEAR(length(thumbOffset(h)), kRadius, 1e-3);
		const double corner = 0.5 - 0.5 * std::cos(M_PI / 4);
		ASSERT_EQ(lastTwo(h)[0].first, Param_SourceMix12);
		ASSERT_EQ(lastTwo(h)[1].first, Param_SourceMix34);
		EXPECT_NEAR(lastTwo(h)[0].second, corner, 1e-3);
		EXPECT_NEAR(lastTwo(h)[1].second, corner, 1e-3);

		// Straight to the right, beyond the area: the far right of the circle, level in the middle.
		h.drag(h.centre("throttle"), CPoint(area.right + 200, area.getCenter().y));
		EXPECT_NEAR(thumbOffset(h).x, kRadius, 1e-3);
		EXPECT_NEAR(thumbOffset(h).y, 0, 1e-3);
		EXPECT_NEAR(h.parameter(Param_SourceMix34), 246 / 246.0001, 1e-6);
		EXPECT_NEAR(h.parameter(Param_SourceMix12), 0.5, 1e-6);
	}
}

TEST(SourceMixPad, TheThumbFollowsThePointerInsideTheCircleAndIsRedrawnThere)
{
	EditorHarness h(windowSize(0.5));
	const CPoint start = h.centre("throttle");
	const CColor thumbPixel = h.pixel(start);
	auto distance = [](const CColor& a, const CColor& b) {
		return std::abs(a.red - b.red) + std::abs(a.green - b.green) + std::abs(a.blue - b.blue);
	};

	h.down(start);
	for (const CPoint& to : {start + CPoint(10, 0), start + CPoint(30, -30), start + CPoint(-40, 20)})
	{
		h.move(to);
		// Exact but for the balances' round trip through the facade's single precision.
		EXPECT_NEAR(length(h.centre("throttle") - to), 0, 1e-4);
		const CPoint offset = thumbOffset(h);
		EXPECT_NEAR(h.parameter(Param_SourceMix34), (123.00005 + offset.x) / 246.0001, 1e-5);
		EXPECT_NEAR(h.parameter(Param_SourceMix12), (123 + offset.y) / 246, 1e-5);
	}
	// Moves with another button held as well do not drag.
	h.move(start, kLButton | kRButton);
	EXPECT_NEAR(length(h.centre("throttle") - (start + CPoint(-40, 20))), 0, 1e-4);
	h.up(start);

	// Drawn at its new place and gone from the old one.
	EXPECT_LE(distance(h.pixel(start + CPoint(-40, 20)), thumbPixel), 12);
	EXPECT_GE(distance(h.pixel(start), thumbPixel), 60);
}

TEST(SourceMixPad, AutomationBeyondTheCircleIsShownOnItWhileTheBalancesKeepTheirValues)
{
	EditorHarness h;
	h.automate(Param_SourceMix12, 1);
	h.automate(Param_SourceMix34, 1);
	const CPoint offset = thumbOffset(h);
	EXPECT_NEAR(offset.x, kRadius * std::cos(M_PI / 4), 1e-3);
	EXPECT_NEAR(offset.y, kRadius * std::sin(M_PI / 4), 1e-3);
	EXPECT_EQ(h.parameter(Param_SourceMix12), 1.f);
	EXPECT_EQ(h.parameter(Param_SourceMix34), 1.f);
	EXPECT_TRUE(h.listener.changes.empty());
}
