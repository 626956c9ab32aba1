#include <cstdio>
#include <string>

#include "Library.h"

// The internal memory: a best-of taken whole from the ROM banks, so a player who never leaves
// "Zent Int" meets every family. The first single is the one the instrument starts with.
namespace banks
{
namespace
{
struct Pick
{
	size_t storage;
	const char* name;
};

const Pick picks[] = {
	{1, "Grand Pno"},   {5, "Brass Sect"}, {3, "Strings"},    {4, "Warm Pad"},   {6, "Finger Bs"}, {7, "Synth Solo"},
	{8, "Tube Bell"},   {9, "Nylon Gtr"},  {2, "Jazz Organ"}, {1, "Tine EP"},    {1, "Reed EP"},     {1, "Clavinet"},
	{1, "Harpsichd"},   {1, "Pno+Str"},    {1, "FM Tines"},   {2, "Rock Organ"}, {2, "Rotor Fast"},  {2, "Pipe Organ"},
	{2, "Cathedral"},   {2, "Accordion"},  {3, "Slow Str"},   {3, "Pizzicato"},  {3, "Violin"},      {3, "Cello"},
	{3, "Choir Aah"},   {3, "Orchestra"},  {4, "Mello Pad"},  {4, "Glass Pad"},  {4, "Bloom"},       {4, "Sweep Pad"},
	{4, "Vox Pad"},     {4, "Fat Pad"},    {5, "Syn Brass"},  {5, "Trumpet"},    {5, "Fr Horn"}, {5, "Flute"},
	{5, "Pan Flute"},   {5, "Shakuhachi"}, {5, "Clarinet"},   {5, "Sax"},        {6, "Fretless"},    {6, "Slap Bass"},
	{6, "Synth Bass"},  {6, "Acid Bass"},  {6, "Sub Bass"},   {7, "Saw Lead"},   {7, "Square Ld"},   {7, "Sync Lead"},
	{7, "Bend Lead"},   {8, "Vibes"},      {8, "Marimba"},    {8, "Glocken"},    {8, "Kalimba"},     {8, "Steel Drum"},
	{8, "Ring Bell"},   {9, "Steel Gtr"},  {9, "Clean Gtr"},  {9, "Harp"},       {9, "Koto"},        {9, "Sitar"},
	{10, "Kick/Snare"}, {10, "Timpani"},   {11, "Wind"},      {11, "Space"},
};
}

std::vector<Patch> bestOfBank()
{
	std::vector<std::vector<Patch>> sources(StorageCount);
	std::vector<Patch> out;
	for (const Pick& pick : picks)
	{
		if (sources[pick.storage].empty())
			sources[pick.storage] = designStorage(pick.storage);
		bool found = false;
		for (const Patch& patch : sources[pick.storage])
		{
			if (patch.name() == pick.name)
			{
				out.push_back(patch);
				found = true;
				break;
			}
		}
		if (!found)
			std::fprintf(stderr, "factory banks: no sound \"%s\" in %s\n", pick.name, storageSymbol(pick.storage));
	}
	return out;
}
}
