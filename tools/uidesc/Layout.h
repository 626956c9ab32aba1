#pragma once

#include <map>
#include <string>
#include <vector>

// The front panel as data: the view tree written into the description, the bitmaps it names and,
// per baked bitmap, the printed legends and frames that the art draws around the views.
namespace uidesc
{
struct Rect
{
	double x = 0, y = 0, w = 0, h = 0;

	double right() const { return x + w; }
	double bottom() const { return y + h; }
	double centerX() const { return x + w / 2; }
	double centerY() const { return y + h / 2; }
};

struct View
{
	std::string cls;
	std::string name;  // custom-view-name; empty writes none
	Rect r;            // in the parent's coordinates
	std::string bitmap;
	bool transparent = false;
	std::string tooltip;

	// Value controls (knobs, menus, labels, text edits).
	bool hasValue = false;
	double minValue = 0, maxValue = 1;

	// Text views (labels, text edits, menus).
	std::string font;
	std::string fontColor;
	std::string alignment;
	bool hasTitle = false;
	std::string title;

	// Kick buttons and knobs: the height of one frame of the bitmap.
	int imageHeight = 0;
	bool hasAngles = false;

	std::vector<View> children;
};

// Printed text on a baked bitmap, centred on (x, y); the cap height is in pixels.
struct Legend
{
	double x, y;
	double capHeight;
	std::string text;
	bool accent = false;
};

// What a baked bitmap prints besides its surface.
struct Decor
{
	std::vector<Legend> legends;
	std::vector<Rect> groups;      // outlined group frames
	std::vector<Rect> wells;       // dark recessed fields (text fields, screens)
	std::vector<Rect> listRows;    // the browser's name rows
};

struct BitmapSpec
{
	std::string name;
	int width, height;
};

struct Panel
{
	View root;
	std::vector<BitmapSpec> bitmaps;            // in file order
	std::map<std::string, Decor> decor;         // keyed by bitmap name
	Rect display;                               // LCDLight in the template
	Rect logo;                                  // clickableLogo in the template
	Rect pad;                                   // throttleArea in the template
	Rect pages;                                 // mode_play / mode_edit in the template
};

constexpr int TemplateWidth = 2560;
constexpr int TemplateHeight = 1440;
constexpr int GlyphWidth = 39;
constexpr int GlyphHeight = 50;
constexpr int KnobFrames = 63;
constexpr int KnobSize = 150;

Panel buildPanel();

// The display's characters in the order of the glyph views, with each glyph's bitmap name.
struct GlyphName
{
	char32_t codePoint;
	std::string bitmap;
};
const std::vector<GlyphName>& glyphNames();
}
