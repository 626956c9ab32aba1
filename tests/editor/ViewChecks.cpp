#include "ViewChecks.h"

#include <gtest/gtest.h>

#include <algorithm>
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

bool isCoarse(EParam p)
{
	return p >= Param_SourceS1Coarse && p <= Param_SourceS4Coarse;
}

std::string labelText(EParam p, float native)
{
	if (!isCoarse(p))
		return g_params[p].formatValue(p, native);
	const long offset = std::lround(native) - 84;
	return (offset > 0 ? "+" : "") + std::to_string(offset);
}
}

void expectViewsShow(EditorHarness& h, const std::string& name, EParam p)
{
	SCOPED_TRACE(name + " showing " + CParam::getEnumString(p));
	const float v = h.parameter(p);
	const float native = h.nativeParameter(p);
	for (CView* view : h.views(name))
	{
		if (auto* knob = dynamic_cast<CAnimKnob*>(view))
		{
			if (isCoarse(p))
				EXPECT_FLOAT_EQ(knob->getValue(), std::clamp(native, knob->getMin(), knob->getMax()));
			else
				EXPECT_NEAR(knob->getValueNormalized(), v, 1e-6);
		}
		else if (auto* menu = dynamic_cast<COptionMenu*>(view))
		{
			ASSERT_NE(menu->getCurrent(), nullptr);
			EXPECT_EQ(menu->getCurrent()->getTitle().getString(), g_params[p].formatValue(p, native));
		}
		else if (auto* label = dynamic_cast<CTextLabel*>(view))
		{
			EXPECT_EQ(label->getText().getString(), labelText(p, native));
		}
		else if (auto* button = dynamic_cast<CKickButton*>(view); button && EditorHarness::shown(button))
		{
			const CRect r = button->getViewSize();
			// Left of the caption, halfway down the released frame.
			CPoint probe(r.left + r.getWidth() * 0.1, r.top + r.getHeight() / 2);
			button->getGlobalTransform().transform(probe);
			const bool mute = p >= Param_SourceS1Mute && p <= Param_SourceS4Mute;
			const Lit expected = v == 0 ? Lit::Off : mute ? Lit::Red : Lit::Green;
			EXPECT_EQ(litColour(h.pixel(probe)), expected);
		}
	}
}

void expectViewsShowTheFacade(EditorHarness& h)
{
	const size_t source = h.editor->getActiveSource();
	for (uint32_t index = 0; index < ParamCount; ++index)
	{
		const auto p = static_cast<EParam>(index);
		const bool sourceView = p >= Param_SourceS1Fine && p <= Param_SourceS4FreqKeyScaleToFreq;
		expectViewsShow(h, CParam::getEnumString(p), sourceView ? static_cast<EParam>(p + source) : p);
	}
}
