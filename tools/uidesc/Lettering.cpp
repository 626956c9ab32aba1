#include "Lettering.h"

#include <cairo.h>

#include <cstdlib>
#include <map>

namespace uidesc
{
namespace
{
// Glyphs on a grid 4 wide and 6 high, y downwards: "M x,y" starts a stroke, "L x,y" continues it.
const std::map<char, const char*>& strokes()
{
	static const std::map<char, const char*> table = {
		{'A', "M0,6 L0,1 L1,0 L3,0 L4,1 L4,6 M0,3.2 L4,3.2"},
		{'B', "M0,0 L3,0 L4,1 L4,2 L3,3 L0,3 M3,3 L4,4 L4,5 L3,6 L0,6 L0,0"},
		{'C', "M4,1 L3,0 L1,0 L0,1 L0,5 L1,6 L3,6 L4,5"},
		{'D', "M0,0 L3,0 L4,1 L4,5 L3,6 L0,6 L0,0"},
		{'E', "M4,0 L0,0 L0,6 L4,6 M0,3 L3,3"},
		{'F', "M4,0 L0,0 L0,6 M0,3 L3,3"},
		{'G', "M4,1 L3,0 L1,0 L0,1 L0,5 L1,6 L3,6 L4,5 L4,3.2 L2.2,3.2"},
		{'H', "M0,0 L0,6 M4,0 L4,6 M0,3 L4,3"},
		{'I', "M1,0 L3,0 M2,0 L2,6 M1,6 L3,6"},
		{'J', "M4,0 L4,5 L3,6 L1,6 L0,5"},
		{'K', "M0,0 L0,6 M0,3.4 L1,3.4 L4,0 M1,3.4 L4,6"},
		{'L', "M0,0 L0,6 L4,6"},
		{'M', "M0,6 L0,0 L2,3 L4,0 L4,6"},
		{'N', "M0,6 L0,0 L4,6 L4,0"},
		{'O', "M1,0 L3,0 L4,1 L4,5 L3,6 L1,6 L0,5 L0,1 L1,0"},
		{'P', "M0,6 L0,0 L3,0 L4,1 L4,2 L3,3 L0,3"},
		{'Q', "M1,0 L3,0 L4,1 L4,5 L3,6 L1,6 L0,5 L0,1 L1,0 M2.6,4.6 L4,6"},
		{'R', "M0,6 L0,0 L3,0 L4,1 L4,2 L3,3 L0,3 M2,3 L4,6"},
		{'S', "M4,1 L3,0 L1,0 L0,1 L0,2 L1,3 L3,3 L4,4 L4,5 L3,6 L1,6 L0,5"},
		{'T', "M0,0 L4,0 M2,0 L2,6"},
		{'U', "M0,0 L0,5 L1,6 L3,6 L4,5 L4,0"},
		{'V', "M0,0 L2,6 L4,0"},
		{'W', "M0,0 L1,6 L2,2.5 L3,6 L4,0"},
		{'X', "M0,0 L4,6 M4,0 L0,6"},
		{'Y', "M0,0 L2,3 L4,0 M2,3 L2,6"},
		{'Z', "M0,0 L4,0 L0,6 L4,6"},
		{'0', "M1,0 L3,0 L4,1 L4,5 L3,6 L1,6 L0,5 L0,1 L1,0 M3.6,1.4 L0.4,4.6"},
		{'1', "M1,1 L2,0 L2,6 M1,6 L3,6"},
		{'2', "M0,1 L1,0 L3,0 L4,1 L4,2 L0,6 L4,6"},
		{'3', "M0,1 L1,0 L3,0 L4,1 L4,2 L3,3 L1.5,3 M3,3 L4,4 L4,5 L3,6 L1,6 L0,5"},
		{'4', "M3,6 L3,0 L0,4 L4,4"},
		{'5', "M4,0 L0,0 L0,3 L3,3 L4,4 L4,5 L3,6 L0,6"},
		{'6', "M4,1 L3,0 L1,0 L0,1 L0,5 L1,6 L3,6 L4,5 L4,4 L3,3 L0,3"},
		{'7', "M0,0 L4,0 L1.5,6"},
		{'8', "M1,0 L3,0 L4,1 L4,2 L3,3 L1,3 L0,2 L0,1 L1,0 M1,3 L0,4 L0,5 L1,6 L3,6 L4,5 L4,4 L3,3"},
		{'9', "M0,5 L1,6 L3,6 L4,5 L4,1 L3,0 L1,0 L0,1 L0,2 L1,3 L4,3"},
		{'>', "M0.5,1 L3.5,3 L0.5,5"},
		{'<', "M3.5,1 L0.5,3 L3.5,5"},
		{'/', "M0,6 L4,0"},
		{'-', "M0.8,3 L3.2,3"},
		{'+', "M0.6,3 L3.4,3 M2,1.6 L2,4.4"},
		{'.', "M1.8,5.7 L2.2,5.7 L2.2,6 L1.8,6 L1.8,5.7"},
		{'&', "M4,6 L1,2 L1,1 L2,0 L3,1 L3,2 L0,4 L0,5 L1,6 L2,6 L4,4"},
		{'\'', "M2,0 L2,1.5"},
		{' ', ""},
	};
	return table;
}

constexpr double Advance = 5.6;  // in grid units, letter and gap

void appendGlyph(cairo_t* cr, const char* path, double x0, double y0, double unit)
{
	const char* p = path;
	while (*p)
	{
		const char command = *p++;
		char* end = nullptr;
		const double x = std::strtod(p, &end);
		p = end + 1;  // the comma
		const double y = std::strtod(p, &end);
		p = end;
		while (*p == ' ')
			++p;
		if (command == 'M')
			cairo_move_to(cr, x0 + x * unit, y0 + y * unit);
		else
			cairo_line_to(cr, x0 + x * unit, y0 + y * unit);
	}
}
}

double letteringWidth(const std::string& text, double capHeight)
{
	if (text.empty())
		return 0;
	const double unit = capHeight / 6;
	return (double(text.size()) * Advance - (Advance - 4)) * unit;
}

void letteringPath(cairo_t* cr, const std::string& text, double cx, double cy, double capHeight)
{
	const double unit = capHeight / 6;
	double x = cx - letteringWidth(text, capHeight) / 2;
	const double y = cy - capHeight / 2;
	for (char c : text)
	{
		const auto it = strokes().find(c);
		if (it != strokes().end())
			appendGlyph(cr, it->second, x, y, unit);
		x += Advance * unit;
	}
}

void drawLettering(cairo_t* cr, const std::string& text, double cx, double cy, double capHeight, double weight)
{
	cairo_save(cr);
	cairo_new_path(cr);
	letteringPath(cr, text, cx, cy, capHeight);
	cairo_set_line_width(cr, capHeight * weight);
	cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
	cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
	cairo_stroke(cr);
	cairo_restore(cr);
}
}
