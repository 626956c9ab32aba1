#include "EditorMenus.h"

#include "synth/CParam.h"

using namespace VSTGUI;

namespace
{
std::string text (zentlib::EParam p, int value)
{
	return zentlib::g_params[p].formatValue (p, static_cast<float> (value));
}

void addTitle (COptionMenu* menu, const char* title)
{
	menu->addEntry (title, -1, CMenuItem::kTitle);
}

// Values first - 1 .. last - 1 under a title: the bounds count from one, the tags from zero.
void addRangeAsSubmenu (COptionMenu* menu, zentlib::EParam p, const std::string& title, int first, int last)
{
	auto* submenu = new COptionMenu ();
	for (int v = first - 1; v <= last - 1; ++v)
		submenu->addEntry (new CMenuItem (text (p, v).c_str (), v));
	menu->addEntry (submenu, title.c_str ());
	submenu->forget ();
}

struct Range
{
	const char* title;
	int first, last;
};
struct Group
{
	const char* title;
	std::vector<Range> ranges;
};

const Group kWaveGroups[] = {
    {"Basic Wave Group", {{"Sine", 1, 13}, {"Saw", 14, 32}, {"Square", 33, 37}, {"Inverse-Saw", 38, 40}}},
    {"Low Frequency Group",
     {{"Brass", 41, 41}, {"String", 42, 44}, {"Piano/E. Piano", 45, 51}, {"Guitar/Brass", 52, 62}, {"Wind/Lead", 63, 65},
      {"Bell/Percussion/Organ", 66, 75}}},
    {"Mid Frequency Group",
     {{"Brass", 76, 83}, {"String", 84, 85}, {"Piano/E.Piano", 86, 99}, {"Guitar/Bass", 100, 114}, {"Wind/Lead", 115, 120},
      {"Bell/Percussion/Organ", 121, 146}}},
    {"Hi-Mid Frequency Group",
     {{"Brass/Orchestra", 147, 149}, {"Piano/E.Piano", 150, 159}, {"Bass", 160, 163}, {"Bell/Percussion/Organ", 164, 190}}},
    {"Hi Frequency Range Group", {{"Clavi", 191, 191}, {"Bass", 192, 197}, {"Lead/Percussion", 198, 204}}},
    {"PCM Wave Group",
     {{"One Shot", 205, 234}, {"Loop", 235, 242}, {"Omnibus Loop", 243, 250}, {"Reverse", 251, 253}, {"Alternate", 254, 256}}},
};
}

std::string waveName (int value)
{
	return text (zentlib::Param_SourceS1Wave, value);
}

std::string coarseName (int value)
{
	return text (zentlib::Param_SourceS1Coarse, value);
}

void fillWaveMenu (COptionMenu* menu)
{
	for (const auto& group : kWaveGroups)
	{
		addTitle (menu, group.title);
		for (const auto& range : group.ranges)
			addRangeAsSubmenu (menu, zentlib::Param_SourceS1Wave, range.title, range.first, range.last);
	}
}

void fillCoarseMenu (COptionMenu* menu)
{
	for (int s = 0; s <= 120; s += 12)
	{
		const int e = std::min (s, 116) + 11;
		addRangeAsSubmenu (menu, zentlib::Param_SourceS1Coarse, coarseName (s) + "-" + coarseName (e), s + 1, e + 1);
	}
}
