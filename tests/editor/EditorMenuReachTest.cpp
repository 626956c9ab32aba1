#include "EditorHarness.h"

#include <gtest/gtest.h>

#include "vstgui/lib/platform/optionmenupopup.h"

using namespace VSTGUI;
using namespace zentlib;

namespace
{
// Scrolls a popup column with the wheel until the entry shows whole inside the window: to the top
// first, then a notch at a time. Gives the entry's middle.
bool reveal(EditorHarness& h, size_t level, int32_t index, CPoint& where)
{
	OptionMenuPopup* popup = OptionMenuPopup::get(&h.frame());
	const CRect window(0, 0, h.frame().getWidth(), h.frame().getHeight());
	auto whole = [&] {
		CRect r = popup->getItemRect(level, index);
		return r.getHeight() >= OptionMenuPopup::kItemHeight && r.left >= 0 && r.top >= 0 && r.right <= window.right &&
		       r.bottom <= window.bottom;
	};
	const CPoint column = popup->getLevelRect(level).getCenter();
	for (int i = 0; i < 20 && !whole(); ++i)
		h.frame().platformOnMouseWheel(column, kMouseWheelAxisY, 1.f, 0);
	for (int i = 0; i < 40 && !whole(); ++i)
		h.frame().platformOnMouseWheel(column, kMouseWheelAxisY, -1.f, 0);
	where = popup->getItemRect(level, index).getCenter();
	return whole();
}

// Every value of a grouped menu chosen with the mouse: open, point at the submenu, point at the
// entry, click; the parameter takes the entry's value.
void expectEveryValueChosen(EditorHarness& h, EParam p, int32_t count, const std::string& label)
{
	auto* menu = h.viewAs<COptionMenu>(CParam::getEnumString(p));
	ASSERT_NE(menu, nullptr) << label;
	ASSERT_TRUE(EditorHarness::shown(menu)) << label;
	int32_t chosen = 0;
	for (int32_t top = 0; top < 40; ++top)
	{
		h.click(h.centre(menu));
		OptionMenuPopup* popup = OptionMenuPopup::get(&h.frame());
		ASSERT_NE(popup, nullptr) << label;
		COptionMenu* level0 = popup->getLevelMenu(0);
		if (top >= level0->getNbEntries())
		{
			h.key(VKEY_ESCAPE);
			break;
		}
		COptionMenu* sub = level0->getSubMenu(top);
		h.key(VKEY_ESCAPE);
		if (sub == nullptr)
			continue;
		for (int32_t e = 0; e < sub->getNbEntries(); ++e)
		{
			SCOPED_TRACE(label + ", value " + std::to_string(sub->getEntry(e)->getTag()));
			CPoint where;
			h.click(h.centre(menu));
			ASSERT_TRUE(reveal(h, 0, top, where));
			h.move(where, 0);
			ASSERT_TRUE(reveal(h, 1, e, where));
			h.move(where, 0);
			h.click(where);
			ASSERT_EQ(OptionMenuPopup::get(&h.frame()), nullptr);
			EXPECT_EQ(h.integerParameter(p), sub->getEntry(e)->getTag());
			++chosen;
		}
	}
	EXPECT_EQ(chosen, count) << label;
}
}

TEST(EditorMenuReach, EveryWaveAndNoteCanBeChosenWithTheMouseAtEveryWindowSize)
{
	for (const CRect& rect : {CRect(0, 0, 640, 360), CRect(0, 0, 1024, 576), CRect(0, 0, 2560, 1440)})
	{
		EditorHarness h(rect);
		const std::string size = std::to_string(int(rect.getWidth()));
		h.click("btModeEdit");
		h.setNative(Param_SourceS1KeyTrack, 0);
		expectEveryValueChosen(h, Param_SourceS1Wave, 256, "wave menu at " + size);
		expectEveryValueChosen(h, Param_SourceS1Coarse, 128, "coarse menu at " + size);
	}
}
