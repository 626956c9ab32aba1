#pragma once

#include <string>
#include <vector>

namespace VSTGUI::Detail
{
// A piece of a string with the font family that draws it; an empty family is the requested one.
struct TextRun
{
	std::string text;
	std::string family;
};

// Splits UTF-8 text into runs the requested family can draw and runs of characters it lacks
// (arrows, check marks, other scripts), each given a family that has them, as desktop text
// rendering does. Plain ASCII comes back as one run. Bytes that are not UTF-8 come back as U+FFFD.
std::vector<TextRun> splitByFontCoverage (const char* utf8, const std::string& family, bool bold, bool italic);
}
