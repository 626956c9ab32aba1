#include "EditorHarness.h"

#include <gtest/gtest.h>

#include "vstgui/lib/platform/optionmenupopup.h"

using namespace VSTGUI;
using namespace zentlib;

namespace
{
std::string waveName(int value)
{
	return g_params[Param_SourceS1Wave].formatValue(Param_SourceS1Wave, static_cast<float>(value));
}

// The submenu of a top-level entry with that title.
COptionMenu* submenu(COptionMenu* menu, const std::string& title)
{
	for (int32_t i = 0; i < menu->getNbEntries(); ++i)
		if (menu->getEntry(i)->getTitle().getString() == title && menu->getEntry(i)->getSubmenu())
			return menu->getEntry(i)->getSubmenu();
	return nullptr;
}

std::vector<int32_t> tags(COptionMenu* menu)
{
	std::vector<int32_t> out;
	for (int32_t i = 0; i < menu->getNbEntries(); ++i)
		out.push_back(menu->getEntry(i)->getTag());
	return out;
}

std::vector<int32_t> range(int32_t first, int32_t last)
{
	std::vector<int32_t> out;
	for (int32_t v = first; v <= last; ++v)
		out.push_back(v);
	return out;
}
}

TEST(EditorMenus, WaveMenuListsEveryWaveformOnceInItsFamilies)
{
	EditorHarness h;
	auto* menu = h.viewAs<COptionMenu>("Param_SourceS1Wave");
	// Closed, the first entry shows the current value.
	ASSERT_EQ(menu->getNbEntries(), 35);
	EXPECT_EQ(menu->getCurrentIndex(true), 0);
	EXPECT_EQ(menu->getEntry(0)->getTitle().getString(), waveName(h.integerParameter(Param_SourceS1Wave)));

	std::vector<std::string> titles;
	std::vector<int32_t> all;
	for (int32_t i = 1; i < menu->getNbEntries(); ++i)
	{
		CMenuItem* item = menu->getEntry(i);
		if (item->isTitle())
			titles.push_back(item->getTitle().getString());
		else
			for (int32_t tag : tags(item->getSubmenu()))
				all.push_back(tag);
	}
	EXPECT_EQ(titles, (std::vector<std::string>{"Basic Wave Group", "Low Frequency Group", "Mid Frequency Group",
	                                            "Hi-Mid Frequency Group", "Hi Frequency Range Group", "PCM Wave Group"}));
	EXPECT_EQ(all, range(0, 255));
	COptionMenu* clavi = submenu(menu, "Clavi");
	ASSERT_NE(clavi, nullptr);
	EXPECT_EQ(tags(clavi), std::vector<int32_t>{190});
	EXPECT_EQ(clavi->getEntry(0)->getTitle().getString(), waveName(190));
	EXPECT_EQ(menu->getEntry(0 + 1)->getTitle().getString(), "Basic Wave Group");
	EXPECT_EQ(submenu(menu, "Brass")->getNbEntries(), 1);  // the low group's, listed first
}

TEST(EditorMenus, CoarseMenuHasOneSubmenuPerOctave)
{
	EditorHarness h;
	auto* menu = h.viewAs<COptionMenu>("Param_SourceS1Coarse");
	std::vector<std::string> titles;
	for (int32_t i = 1; i < menu->getNbEntries(); ++i)
		titles.push_back(menu->getEntry(i)->getTitle().getString());
	EXPECT_EQ(titles, (std::vector<std::string>{"C-4-B-4", "C-3-B-3", "C-2-B-2", "C-1-B-1", "C0-B0", "C1-B1", "C2-B2",
	                                            "C3-B3", "C4-B4", "C5-B5", "C6-G6"}));
	EXPECT_EQ(tags(submenu(menu, "C-4-B-4")), range(0, 11));
	EXPECT_EQ(tags(submenu(menu, "C6-G6")), range(120, 127));
}

TEST(EditorMenus, TheValueEntryLeavesWhileTheMenuIsOpenAndComesBackWithTheChoice)
{
	EditorHarness h;
	h.click("btModeEdit");
	h.setNative(Param_SourceS1Wave, 40);
	auto* menu = h.viewAs<COptionMenu>("Param_SourceS1Wave");

	h.click(h.centre(menu));
	OptionMenuPopup* popup = OptionMenuPopup::get(&h.frame());
	ASSERT_NE(popup, nullptr);
	EXPECT_EQ(popup->getLevelMenu(0)->getNbEntries(), 34);
	EXPECT_EQ(popup->getLevelMenu(0)->getEntry(0)->getTitle().getString(), "Basic Wave Group");

	// A change from elsewhere while the menu is open leaves the open entries in place.
	h.setNative(Param_SourceS1Wave, 41);
	EXPECT_EQ(menu->getNbEntries(), 34);

	// Basic Wave Group > Saw > its third entry: waveform 16.
	h.click(popup->getItemRect(0, 2).getCenter());
	ASSERT_EQ(popup->getNumLevels(), 2u);
	h.click(popup->getItemRect(1, 2).getCenter());
	EXPECT_EQ(OptionMenuPopup::get(&h.frame()), nullptr);
	EXPECT_EQ(h.integerParameter(Param_SourceS1Wave), 15);
	EXPECT_EQ(menu->getNbEntries(), 35);
	EXPECT_EQ(menu->getCurrentIndex(true), 0);
	EXPECT_EQ(menu->getEntry(0)->getTitle().getString(), waveName(15));

	// Dismissed without a choice: the entry comes back with the text it had.
	h.click(h.centre(menu));
	h.key(VKEY_ESCAPE);
	EXPECT_EQ(h.integerParameter(Param_SourceS1Wave), 15);
	ASSERT_EQ(menu->getNbEntries(), 35);
	EXPECT_EQ(menu->getEntry(0)->getTitle().getString(), waveName(15));

	// A change while closed renames the entry in place.
	h.setNative(Param_SourceS1Wave, 200);
	EXPECT_EQ(menu->getNbEntries(), 35);
	EXPECT_EQ(menu->getEntry(0)->getTitle().getString(), waveName(200));
}

TEST(EditorMenus, FlatMenusListTheParametersValuesInOrder)
{
	EditorHarness h;
	auto* menu = h.viewAs<COptionMenu>("Param_AmpModS1S2");
	ASSERT_EQ(menu->getNbEntries(), 3);
	for (int32_t v = 0; v < 3; ++v)
		EXPECT_EQ(menu->getEntry(v)->getTitle().getString(),
		          g_params[Param_AmpModS1S2].formatValue(Param_AmpModS1S2, static_cast<float>(v)));
	EXPECT_EQ(h.viewAs<COptionMenu>("Param_LfoShape")->getNbEntries(), 4);
	EXPECT_EQ(h.viewAs<COptionMenu>("Param_KeyScaleCurve")->getNbEntries(), 5);
}
