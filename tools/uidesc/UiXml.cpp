#include "UiXml.h"

#include "Base64.h"

#include <cmath>
#include <cstdio>

namespace uidesc
{
namespace
{
struct Font
{
	const char* name;
	const char* family;
	int size;
	const char* alternatives;
};

// Gadugi ships with Windows only. Elsewhere the font engine's own substitute for it is far wider, and
// the browser's longest names then lose their last characters; Arial (Liberation Sans here) keeps
// every name whole.
const char* const GadugiAlternatives = "Arial, Liberation Sans";

const Font Fonts[] = {
	{"gadugi_33_b", "Gadugi", 33, GadugiAlternatives},
	{"arial_36_b", "Arial", 36, nullptr},
	{"gadugi_26_b", "Gadugi", 26, GadugiAlternatives},
	{"arial_28_b", "Arial", 28, nullptr},
	{"gadugi_39_b", "Gadugi", 39, GadugiAlternatives},
	{"arial_24_b", "Arial", 24, nullptr},
};

void attribute(std::string& out, const char* key, const std::string& value)
{
	out += ' ';
	out += key;
	out += "=\"";
	out += escapeAttribute(value);
	out += '"';
}

std::string pair(double a, double b)
{
	return formatNumber(a) + ", " + formatNumber(b);
}

void writeView(std::string& out, const View& v, int depth, bool isTemplate)
{
	const std::string indent(size_t(depth), '\t');
	out += indent;
	out += isTemplate ? "<template" : "<view";
	if (isTemplate)
		attribute(out, "name", "Virel");
	attribute(out, "class", v.cls);
	attribute(out, "origin", pair(v.r.x, v.r.y));
	attribute(out, "size", pair(v.r.w, v.r.h));
	if (isTemplate)
	{
		attribute(out, "minSize", "1280, 720");
		attribute(out, "maxSize", "2560, 1440");
	}
	if (!v.name.empty())
		attribute(out, "custom-view-name", v.name);
	if (!v.bitmap.empty())
		attribute(out, "bitmap", v.bitmap);
	attribute(out, "transparent", v.transparent ? "true" : "false");
	if (!v.tooltip.empty())
		attribute(out, "tooltip", v.tooltip);
	if (!v.font.empty())
		attribute(out, "font", v.font);
	if (!v.fontColor.empty())
		attribute(out, "font-color", v.fontColor);
	if (!v.alignment.empty())
		attribute(out, "text-alignment", v.alignment);
	if (v.hasTitle)
		attribute(out, "title", v.title);
	if (v.hasValue)
	{
		attribute(out, "min-value", formatNumber(v.minValue));
		attribute(out, "max-value", formatNumber(v.maxValue));
		attribute(out, "default-value", "0.5");
		attribute(out, "wheel-inc-value", "0.1");
	}
	if (v.imageHeight > 0)
		attribute(out, "height-of-one-image", std::to_string(v.imageHeight));
	if (v.hasAngles)
	{
		attribute(out, "angle-start", "135");
		attribute(out, "angle-range", "270");
	}
	if (v.children.empty())
	{
		out += "/>\n";
		return;
	}
	out += ">\n";
	for (const View& child : v.children)
		writeView(out, child, depth + 1, false);
	out += indent;
	out += isTemplate ? "</template>\n" : "</view>\n";
}
}

std::string formatNumber(double v)
{
	char text[32];
	std::snprintf(text, sizeof(text), "%.4f", v);
	std::string s = text;
	while (!s.empty() && s.back() == '0')
		s.pop_back();
	if (!s.empty() && s.back() == '.')
		s.pop_back();
	return s == "-0" ? "0" : s;
}

std::string escapeAttribute(const std::string& text)
{
	std::string out;
	for (char c : text)
	{
		switch (c)
		{
		case '&': out += "&amp;"; break;
		case '<': out += "&lt;"; break;
		case '>': out += "&gt;"; break;
		case '"': out += "&quot;"; break;
		default: out += c;
		}
	}
	return out;
}

std::string writeDescription(const View& root, const std::vector<EncodedBitmap>& bitmaps)
{
	std::string out = "\xEF\xBB\xBF<?xml version=\"1.0\" encoding=\"utf-8\"?>\n";
	out += "<vstgui-ui-description version=\"1\">\n";
	out += "\t<bitmaps>\n";
	for (const EncodedBitmap& b : bitmaps)
	{
		out += "\t\t<bitmap";
		attribute(out, "name", b.name);
		attribute(out, "path", b.name + ".png");
		out += ">\n\t\t\t<data encoding=\"base64\"><![CDATA[";
		out += base64Encode(b.png.data(), b.png.size());
		out += "]]></data>\n\t\t</bitmap>\n";
	}
	out += "\t</bitmaps>\n";
	out += "\t<fonts>\n";
	for (const Font& f : Fonts)
	{
		out += "\t\t<font";
		attribute(out, "name", f.name);
		attribute(out, "font-name", f.family);
		attribute(out, "size", std::to_string(f.size));
		attribute(out, "bold", "true");
		if (f.alternatives)
			attribute(out, "alternative-font-names", f.alternatives);
		out += "/>\n";
	}
	out += "\t</fonts>\n";
	writeView(out, root, 1, true);
	out += "</vstgui-ui-description>\n";
	return out;
}
}
