#include "ZentEditor.h"

#include <algorithm>

using namespace VSTGUI;
using zentlib::EParam;
using zentlib::g_params;

namespace
{
struct Submenu
{
	const char* title;
	int first;  // one-based waveform numbers, as the hardware's chart counts them
	int last;
};

struct WaveGroup
{
	const char* title;
	std::vector<Submenu> submenus;
};

// The hardware's waveform families; together the submenus list every waveform exactly once, in order.
const std::vector<WaveGroup>& waveGroups()
{
	static const std::vector<WaveGroup> groups = {
	    {"Basic Wave Group", {{"Sine", 1, 13}, {"Saw", 14, 32}, {"Square", 33, 37}, {"Inverse-Saw", 38, 40}}},
	    {"Low Frequency Group",
	     {{"Brass", 41, 41},
	      {"String", 42, 44},
	      {"Piano/E. Piano", 45, 51},
	      {"Guitar/Brass", 52, 62},
	      {"Wind/Lead", 63, 65},
	      {"Bell/Percussion/Organ", 66, 75}}},
	    {"Mid Frequency Group",
	     {{"Brass", 76, 83},
	      {"String", 84, 85},
	      {"Piano/E.Piano", 86, 99},
	      {"Guitar/Bass", 100, 114},
	      {"Wind/Lead", 115, 120},
	      {"Bell/Percussion/Organ", 121, 146}}},
	    {"Hi-Mid Frequency Group",
	     {{"Brass/Orchestra", 147, 149},
	      {"Piano/E.Piano", 150, 159},
	      {"Bass", 160, 163},
	      {"Bell/Percussion/Organ", 164, 190}}},
	    {"Hi Frequency Range Group", {{"Clavi", 191, 191}, {"Bass", 192, 197}, {"Lead/Percussion", 198, 204}}},
	    {"PCM Wave Group",
	     {{"One Shot", 205, 234},
	      {"Loop", 235, 242},
	      {"Omnibus Loop", 243, 250},
	      {"Reverse", 251, 253},
	      {"Alternate", 254, 256}}},
	};
	return groups;
}

constexpr int kNotesPerOctave = 12;
constexpr int kHighestCoarse = 127;

bool inRange(unsigned long p, unsigned long first, unsigned long last)
{
	return p >= first && p <= last;
}
}

void ZentEditor::addTitle(COptionMenu* menu, const char* title)
{
	menu->addEntry(title, -1, CMenuItem::kTitle);
}

void ZentEditor::addRangeAsSubmenu(COptionMenu* menu, unsigned long parameter, const char* title, int first, int last)
{
	const auto p = static_cast<EParam>(parameter);
	auto submenu = owned(new COptionMenu());
	for (int v = first - 1; v <= last - 1; ++v)
	{
		auto* item = new CMenuItem(UTF8String(g_params[p].formatValue(p, static_cast<float>(v))));
		item->setTag(v);
		submenu->addEntry(item);
	}
	menu->addEntry(submenu, title);
}

void ZentEditor::initOptionMenu(COptionMenu* menu, unsigned long parameter)
{
	const auto p = static_cast<EParam>(parameter);
	if (inRange(p, zentlib::Param_SourceS1Wave, zentlib::Param_SourceS4Wave))
	{
		for (const WaveGroup& group : waveGroups())
		{
			addTitle(menu, group.title);
			for (const Submenu& submenu : group.submenus)
				addRangeAsSubmenu(menu, p, submenu.title, submenu.first, submenu.last);
		}
		return;
	}

	if (inRange(p, zentlib::Param_SourceS1Coarse, zentlib::Param_SourceS4Coarse))
	{
		// One submenu per octave; the last octave stops at the highest note.
		for (int s = 0; s <= kHighestCoarse; s += kNotesPerOctave)
		{
			const int e = std::min(s, kHighestCoarse - kNotesPerOctave + 1) + kNotesPerOctave - 1;
			const std::string title = g_params[p].formatValue(p, static_cast<float>(s)) + "-" +
			                          g_params[p].formatValue(p, static_cast<float>(e));
			addRangeAsSubmenu(menu, p, title.c_str(), s + 1, e + 1);
		}
		return;
	}

	const int min = static_cast<int>(g_params[p].min);
	const int max = static_cast<int>(g_params[p].max);
	for (int v = min; v <= max; ++v)
		menu->addEntry(UTF8String(g_params[p].formatValue(p, static_cast<float>(v))));
}
