#include "EditorHarness.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>

#include "uiEnvelope.h"

using namespace VSTGUI;
using namespace zentlib;

namespace
{
using Envelope = std::array<float, 5>;  // delay, attack, decay, sustain, release

uiEnvelope* envelopeOf(EditorHarness& h)
{
	auto* page = h.viewAs<CViewContainer>("edit_source");
	for (uint32_t i = 0; page && i < page->getNbViews(); ++i)
		if (auto* envelope = dynamic_cast<uiEnvelope*>(page->getView(i)))
			return envelope;
	return nullptr;
}

void setEnvelope(EditorHarness& h, size_t source, const Envelope& e)
{
	for (size_t k = 0; k < 5; ++k)
		h.setNative(static_cast<EParam>(Param_SourceS1EnvDelay + 4 * k + source), e[k]);
}

bool isShape(const CColor& c)
{
	return c.green > 60 && c.green > c.red + 40 && c.green > c.blue;
}

// The top edge of the shape in column x, or -1 where the column is blank.
double topOf(const Envelope& e, const CRect& r, double x)
{
	const double s = r.getWidth() / 5, base = r.bottom - 1, level = r.top + (1 - e[3] / 100) * (r.getHeight() - 1);
	const double x0 = r.left + e[0] * s / 100, x1 = x0 + e[1] * s / 100, x2 = x1 + e[2] * s / 100, x3 = x2 + s,
	             x4 = x3 + e[4] * s / 100;
	auto along = [x](double xa, double ya, double xb, double yb) { return ya + (yb - ya) * (x - xa) / (xb - xa); };
	if (x < x0 || x > x4)
		return -1;
	if (x < x1)
		return along(x0, base, x1, r.top);
	if (x < x2)
		return along(x1, r.top, x2, level);
	return x < x3 ? level : along(x3, level, x4, base);
}

// Every fifth column of the window (zoom 1): just below the top edge is the shape, just above is not;
// steep edges are probed further from the line.
void expectShape(EditorHarness& h, const Envelope& e)
{
	const CRect r = envelopeOf(h)->getGlobalTransform().transform(envelopeOf(h)->getViewSize());
	h.window().redraw();
	for (double x = r.left + 2; x < r.right - 2; x += 5)
	{
		const double top = topOf(e, r, x);
		const auto pixel = [&](double y) { return isShape(h.window().getPixel(int(x), int(y))); };
		if (top < 0)
		{
			EXPECT_FALSE(pixel(r.bottom - 3)) << "blank at " << x;
			continue;
		}
		const double slope = std::max(std::abs(topOf(e, r, x - 3) - top), std::abs(topOf(e, r, x + 3) - top));
		const double margin = 3 + std::min(60.0, slope);
		if (top + margin < r.bottom - 2)
		{
			EXPECT_TRUE(pixel(top + margin)) << "inside at " << x;
		}
		if (top - margin > r.top)
		{
			EXPECT_FALSE(pixel(top - margin)) << "above at " << x;
		}
	}
}

void showSource(EditorHarness& h, char source)
{
	h.click("btModeEdit");
	h.click(std::string("btEditSource") + source);
}
}

TEST(EnvelopeView, DrawsTheActiveSourceAcrossFiveSegmentsWithTheGradient)
{
	EditorHarness h(CRect(0, 0, 2560, 1440));
	showSource(h, 'A');
	ASSERT_NE(envelopeOf(h), nullptr);
	for (const Envelope& e : {Envelope{10, 50, 50, 0, 50}, Envelope{100, 100, 100, 100, 100},
	                          Envelope{20, 30, 40, 60, 80}, Envelope{5, 0, 70, 25, 0}, Envelope{0, 0, 0, 100, 0}})
	{
		SCOPED_TRACE(testing::PrintToString(e));
		setEnvelope(h, 0, e);
		expectShape(h, e);
	}
	// The last case is one segment filled from the top edge to the base line: bright above, dark below.
	const CRect r = envelopeOf(h)->getGlobalTransform().transform(envelopeOf(h)->getViewSize());
	const CColor top = h.window().getPixel(int(r.left) + 20, int(r.top));
	const CColor base = h.window().getPixel(int(r.left) + 20, int(r.bottom) - 2);
	EXPECT_NEAR(top.green, 213, 6);
	EXPECT_NEAR(top.blue, 65, 6);
	EXPECT_NEAR(base.green, 85, 6);
	EXPECT_NEAR(base.blue, 36, 6);
}

TEST(EnvelopeView, FollowsTheSourceOnShowAndNoOtherChanges)
{
	EditorHarness h(CRect(0, 0, 2560, 1440));
	const Envelope a{0, 0, 0, 100, 0}, b{60, 20, 20, 30, 90};
	setEnvelope(h, 0, a);
	setEnvelope(h, 1, b);
	showSource(h, 'A');
	expectShape(h, a);
	showSource(h, 'B');
	expectShape(h, b);

	uiEnvelope* envelope = envelopeOf(h);
	const CRect r = envelope->getGlobalTransform().transform(envelope->getViewSize());
	auto redrawRequested = [&] {
		const auto& dirty = h.window().getDirtyRects();
		return std::any_of(dirty.begin(), dirty.end(), [&](const CRect& d) { return d.rectOverlap(r); });
	};
	// Host automation of a source not on show, and values equal to those shown, ask for nothing.
	h.window().redraw();
	setEnvelope(h, 2, {100, 100, 100, 100, 100});
	envelope->updateFromParameters();
	envelope->setSustain(envelope->getParameter(Param_SourceS1EnvSustain));
	EXPECT_FALSE(redrawRequested());
	expectShape(h, b);
	envelope->setSustain(31);
	EXPECT_TRUE(redrawRequested());
}
