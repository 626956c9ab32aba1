#include "Art.h"

#include "DotGlyphs.h"
#include "Lettering.h"

#include <cairo.h>

#include <cmath>
#include <stdexcept>

namespace uidesc
{
namespace
{
struct Rgb
{
	double r, g, b;
};

constexpr Rgb PanelTop{0.170, 0.180, 0.195};
constexpr Rgb PanelBottom{0.118, 0.125, 0.137};
constexpr Rgb PageTone{0.200, 0.212, 0.228};
constexpr Rgb Ink{0.80, 0.83, 0.86};
constexpr Rgb Accent{0.22, 0.78, 0.80};
constexpr Rgb Amber{1.00, 0.66, 0.22};
constexpr Rgb GlassLit{0.70, 0.83, 0.40};
constexpr Rgb GlassDark{0.13, 0.16, 0.11};
constexpr double Pi = 3.14159265358979323846;

void setColor(cairo_t* cr, Rgb c, double alpha = 1)
{
	cairo_set_source_rgba(cr, c.r, c.g, c.b, alpha);
}

Rgb mix(Rgb a, Rgb b, double t)
{
	return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t};
}

void roundedRect(cairo_t* cr, double x, double y, double w, double h, double radius)
{
	radius = std::min(radius, std::min(w, h) / 2);
	cairo_new_sub_path(cr);
	cairo_arc(cr, x + w - radius, y + radius, radius, -Pi / 2, 0);
	cairo_arc(cr, x + w - radius, y + h - radius, radius, 0, Pi / 2);
	cairo_arc(cr, x + radius, y + h - radius, radius, Pi / 2, Pi);
	cairo_arc(cr, x + radius, y + radius, radius, Pi, 3 * Pi / 2);
	cairo_close_path(cr);
}

void fillVertical(cairo_t* cr, double y0, double y1, Rgb top, Rgb bottom, double alpha = 1)
{
	cairo_pattern_t* p = cairo_pattern_create_linear(0, y0, 0, y1);
	cairo_pattern_add_color_stop_rgba(p, 0, top.r, top.g, top.b, alpha);
	cairo_pattern_add_color_stop_rgba(p, 1, bottom.r, bottom.g, bottom.b, alpha);
	cairo_set_source(cr, p);
	cairo_fill_preserve(cr);
	cairo_pattern_destroy(p);
}

cairo_surface_t* newSurface(int w, int h)
{
	cairo_surface_t* s = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, w, h);
	if (cairo_surface_status(s) != CAIRO_STATUS_SUCCESS)
		throw std::runtime_error("cannot create a drawing surface");
	return s;
}

// Printed legends and group frames of a baked surface.
void drawDecor(cairo_t* cr, const Decor& decor)
{
	for (const Rect& g : decor.groups)
	{
		roundedRect(cr, g.x + 0.5, g.y + 0.5, g.w - 1, g.h - 1, 14);
		setColor(cr, {0, 0, 0}, 0.18);
		cairo_fill_preserve(cr);
		setColor(cr, Ink, 0.16);
		cairo_set_line_width(cr, 2);
		cairo_stroke(cr);
	}
	for (const Rect& w : decor.wells)
	{
		roundedRect(cr, w.x - 6, w.y - 6, w.w + 12, w.h + 12, 10);
		setColor(cr, {0.45, 0.48, 0.52}, 0.35);
		cairo_fill(cr);
		roundedRect(cr, w.x - 4, w.y - 4, w.w + 8, w.h + 8, 8);
		fillVertical(cr, w.y - 4, w.bottom() + 4, {0.035, 0.04, 0.045}, {0.075, 0.08, 0.09});
		cairo_new_path(cr);
	}
	if (!decor.listRows.empty())
	{
		Rect all = decor.listRows.front();
		for (const Rect& r : decor.listRows)
		{
			all.w = std::max(all.w, r.right() - all.x);
			all.h = std::max(all.h, r.bottom() - all.y);
		}
		// Left-aligned names start at their label's edge, so each painted cell begins a little to
		// the left of its label.
		constexpr double lead = 12;
		roundedRect(cr, all.x - lead - 6, all.y - 6, all.w + 12, all.h + 12, 12);
		setColor(cr, {0.05, 0.055, 0.06});
		cairo_fill(cr);
		for (const Rect& r : decor.listRows)
		{
			const int row = static_cast<int>(std::lround((r.y - all.y) / r.h));
			cairo_rectangle(cr, r.x - lead + 2, r.y + 1, r.w - 4, r.h - 2);
			setColor(cr, row % 2 ? Rgb{0.38, 0.43, 0.46} : Rgb{0.42, 0.47, 0.50});
			cairo_fill(cr);
		}
	}
	for (const Legend& l : decor.legends)
	{
		setColor(cr, l.accent ? Accent : Ink, 0.92);
		drawLettering(cr, l.text, l.x, l.y, l.capHeight);
	}
}

void drawScrew(cairo_t* cr, double x, double y)
{
	cairo_arc(cr, x, y, 11, 0, 2 * Pi);
	cairo_pattern_t* p = cairo_pattern_create_radial(x - 3, y - 3, 1, x, y, 11);
	cairo_pattern_add_color_stop_rgb(p, 0, 0.55, 0.57, 0.60);
	cairo_pattern_add_color_stop_rgb(p, 1, 0.22, 0.23, 0.25);
	cairo_set_source(cr, p);
	cairo_fill(cr);
	cairo_pattern_destroy(p);
	cairo_move_to(cr, x - 6, y - 6);
	cairo_line_to(cr, x + 6, y + 6);
	setColor(cr, {0.1, 0.1, 0.11});
	cairo_set_line_width(cr, 2.5);
	cairo_stroke(cr);
}

// The display window: bezel and glass, lit or dark.
void drawDisplay(cairo_t* cr, double x, double y, bool lit)
{
	const double w = 847, h = 336;
	roundedRect(cr, x, y, w, h, 22);
	fillVertical(cr, y, y + h, {0.07, 0.075, 0.08}, {0.03, 0.032, 0.035});
	cairo_new_path(cr);
	roundedRect(cr, x + 1.5, y + 1.5, w - 3, h - 3, 21);
	setColor(cr, {1, 1, 1}, 0.10);
	cairo_set_line_width(cr, 2);
	cairo_stroke(cr);

	const double gx = x + 79.5, gy = y + 73, gw = 688, gh = 190;
	roundedRect(cr, gx - 6, gy - 6, gw + 12, gh + 12, 10);
	setColor(cr, {0, 0, 0});
	cairo_fill(cr);
	cairo_rectangle(cr, gx, gy, gw, gh);
	if (lit)
	{
		cairo_pattern_t* p = cairo_pattern_create_radial(gx + gw / 2, gy + gh / 2, 20, gx + gw / 2, gy + gh / 2, gw * 0.6);
		const Rgb edge = mix(GlassLit, {0.35, 0.45, 0.15}, 0.55);
		cairo_pattern_add_color_stop_rgb(p, 0, GlassLit.r, GlassLit.g, GlassLit.b);
		cairo_pattern_add_color_stop_rgb(p, 1, edge.r, edge.g, edge.b);
		cairo_set_source(cr, p);
		cairo_fill(cr);
		cairo_pattern_destroy(p);
	}
	else
	{
		setColor(cr, GlassDark);
		cairo_fill(cr);
	}
	// Printed legend on the bezel.
	setColor(cr, Ink, 0.55);
	drawLettering(cr, "16 X 2 CHARACTER DISPLAY", x + w / 2, y + h - 38, 14);
}

cairo_surface_t* background(const Panel& panel)
{
	cairo_surface_t* s = newSurface(TemplateWidth, TemplateHeight);
	cairo_t* cr = cairo_create(s);

	cairo_rectangle(cr, 0, 0, TemplateWidth, TemplateHeight);
	setColor(cr, {0.05, 0.05, 0.055});
	cairo_fill(cr);
	// The panel with end cheeks left and right.
	roundedRect(cr, 24, 20, TemplateWidth - 48, TemplateHeight - 40, 26);
	fillVertical(cr, 20, TemplateHeight - 20, PanelTop, PanelBottom);
	cairo_new_path(cr);
	for (int side = 0; side < 2; ++side)
	{
		const double x = side == 0 ? 24 : TemplateWidth - 24 - 40;
		roundedRect(cr, x, 20, 40, TemplateHeight - 40, side == 0 ? 26 : 26);
		fillVertical(cr, 20, TemplateHeight - 20, {0.09, 0.095, 0.10}, {0.06, 0.062, 0.066});
		cairo_new_path(cr);
	}
	// A bevel along the top edge and a fine rule between the upper section and the pages.
	cairo_rectangle(cr, 64, 22, TemplateWidth - 128, 3);
	setColor(cr, {1, 1, 1}, 0.08);
	cairo_fill(cr);
	cairo_rectangle(cr, 90, 682, TemplateWidth - 180, 2);
	setColor(cr, Accent, 0.35);
	cairo_fill(cr);

	drawDisplay(cr, panel.display.x, panel.display.y, false);

	// Logo: name, rule and line below.
	const Rect& logo = panel.logo;
	{
		cairo_pattern_t* p = cairo_pattern_create_linear(0, logo.y + 40, 0, logo.y + 170);
		cairo_pattern_add_color_stop_rgb(p, 0, 0.93, 0.95, 0.97);
		cairo_pattern_add_color_stop_rgb(p, 1, 0.55, 0.60, 0.66);
		cairo_set_source(cr, p);
		drawLettering(cr, "VIREL", logo.centerX(), logo.y + 100, 120, 0.2);
		cairo_pattern_destroy(p);
		cairo_rectangle(cr, logo.x + 40, logo.y + 182, logo.w - 80, 4);
		setColor(cr, Accent);
		cairo_fill(cr);
		setColor(cr, Ink, 0.9);
		drawLettering(cr, "MULTI SOURCE SYNTHESIZER", logo.centerX(), logo.y + 220, 22);
	}

	// Vent slots in the upper right.
	for (int i = 0; i < 22; ++i)
	{
		const double x = 1760 + i * 31;
		roundedRect(cr, x, 130, 14, 280, 7);
		fillVertical(cr, 130, 410, {0.03, 0.032, 0.035}, {0.07, 0.075, 0.08});
		cairo_new_path(cr);
	}

	// The source-mix pad: a round well with its axes. The puck's centre travels up to 123 from the centre
	// and its body reaches 28 beyond that, so the rim's inner edge stays just clear of it.
	{
		const Rect& pad = panel.pad;
		const double cx = pad.centerX(), cy = pad.centerY(), radius = 154;
		cairo_arc(cr, cx, cy + 4, radius + 2, 0, 2 * Pi);
		setColor(cr, {0, 0, 0}, 0.35);
		cairo_fill(cr);
		cairo_arc(cr, cx, cy, radius, 0, 2 * Pi);
		cairo_pattern_t* p = cairo_pattern_create_radial(cx, cy - 40, 10, cx, cy, radius);
		cairo_pattern_add_color_stop_rgb(p, 0, 0.12, 0.13, 0.14);
		cairo_pattern_add_color_stop_rgb(p, 1, 0.05, 0.055, 0.06);
		cairo_set_source(cr, p);
		cairo_fill_preserve(cr);
		cairo_pattern_destroy(p);
		setColor(cr, Accent, 0.6);
		cairo_set_line_width(cr, 3);
		cairo_stroke(cr);
		for (double r : {50.0, 100.0})
		{
			cairo_arc(cr, cx, cy, r, 0, 2 * Pi);
			setColor(cr, Ink, 0.12);
			cairo_set_line_width(cr, 2);
			cairo_stroke(cr);
		}
		cairo_move_to(cr, cx - radius + 8, cy);
		cairo_line_to(cr, cx + radius - 8, cy);
		cairo_move_to(cr, cx, cy - radius + 8);
		cairo_line_to(cr, cx, cy + radius - 8);
		setColor(cr, Ink, 0.2);
		cairo_stroke(cr);
		setColor(cr, Ink, 0.8);
		drawLettering(cr, "V 1/2", cx - 90, pad.bottom() + 30, 14);
		drawLettering(cr, "H 3/4", cx + 90, pad.bottom() + 30, 14);
	}

	// The recess the pages sit in.
	const Rect& pages = panel.pages;
	roundedRect(cr, pages.x - 8, pages.y - 8, pages.w + 16, pages.h + 16, 12);
	setColor(cr, {0.02, 0.02, 0.025});
	cairo_fill(cr);

	drawDecor(cr, panel.decor.at("background"));

	setColor(cr, Ink, 0.55);
	drawLettering(cr, "VIREL  DIGITAL MULTI SOURCE SYNTHESIZER", 520, 1320, 18);
	for (double x : {110.0, 2450.0})
		for (double y : {60.0, 1380.0})
			drawScrew(cr, x, y);

	cairo_destroy(cr);
	return s;
}

cairo_surface_t* displayLight()
{
	cairo_surface_t* s = newSurface(847, 336);
	cairo_t* cr = cairo_create(s);
	drawDisplay(cr, 0, 0, true);
	cairo_destroy(cr);
	return s;
}

// Soft darkening toward the edges of the glass, as if the bezel shaded the cells.
cairo_surface_t* displayShadow()
{
	const int w = 668, h = 170;
	cairo_surface_t* s = newSurface(w, h);
	cairo_t* cr = cairo_create(s);
	const double depth = 22;
	struct Edge
	{
		double x0, y0, x1, y1;
		double rx, ry, rw, rh;
	};
	const Edge edges[] = {
		{0, 0, 0, depth, 0, 0, double(w), depth},
		{0, double(h), 0, h - depth * 0.6, 0, h - depth * 0.6, double(w), depth * 0.6},
		{0, 0, depth, 0, 0, 0, depth, double(h)},
		{double(w), 0, w - depth, 0, w - depth, 0, depth, double(h)},
	};
	for (const Edge& e : edges)
	{
		cairo_pattern_t* p = cairo_pattern_create_linear(e.x0, e.y0, e.x1, e.y1);
		cairo_pattern_add_color_stop_rgba(p, 0, 0, 0, 0, 0.45);
		cairo_pattern_add_color_stop_rgba(p, 1, 0, 0, 0, 0);
		cairo_rectangle(cr, e.rx, e.ry, e.rw, e.rh);
		cairo_set_source(cr, p);
		cairo_fill(cr);
		cairo_pattern_destroy(p);
	}
	cairo_destroy(cr);
	return s;
}

cairo_surface_t* donateButton()
{
	cairo_surface_t* s = newSurface(195, 60);
	cairo_t* cr = cairo_create(s);
	roundedRect(cr, 2, 2, 191, 56, 28);
	fillVertical(cr, 2, 58, {0.85, 0.45, 0.20}, {0.62, 0.28, 0.10});
	setColor(cr, {1, 1, 1}, 0.35);
	cairo_set_line_width(cr, 2);
	cairo_stroke(cr);
	// A small heart left of the word.
	const double hx = 36, hy = 30;
	cairo_move_to(cr, hx, hy + 11);
	cairo_curve_to(cr, hx - 16, hy, hx - 9, hy - 13, hx, hy - 5);
	cairo_curve_to(cr, hx + 9, hy - 13, hx + 16, hy, hx, hy + 11);
	setColor(cr, {1, 1, 1}, 0.95);
	cairo_fill(cr);
	drawLettering(cr, "DONATE", 116, 30, 19, 0.19);
	cairo_destroy(cr);
	return s;
}

cairo_surface_t* throttle()
{
	// The body is smaller than the view, so that at the edge of its travel it stays inside the well's rim.
	cairo_surface_t* s = newSurface(74, 74);
	cairo_t* cr = cairo_create(s);
	const double body = 28;
	cairo_arc(cr, 37, 40, body, 0, 2 * Pi);
	setColor(cr, {0, 0, 0}, 0.45);
	cairo_fill(cr);
	cairo_arc(cr, 37, 37, body, 0, 2 * Pi);
	cairo_pattern_t* p = cairo_pattern_create_radial(31, 30, 2, 37, 37, body);
	cairo_pattern_add_color_stop_rgb(p, 0, 0.85, 0.87, 0.90);
	cairo_pattern_add_color_stop_rgb(p, 1, 0.35, 0.37, 0.40);
	cairo_set_source(cr, p);
	cairo_fill(cr);
	cairo_pattern_destroy(p);
	cairo_arc(cr, 37, 37, 18, 0, 2 * Pi);
	setColor(cr, Accent);
	cairo_set_line_width(cr, 3.5);
	cairo_stroke(cr);
	cairo_arc(cr, 37, 37, 5, 0, 2 * Pi);
	setColor(cr, {0.1, 0.1, 0.12});
	cairo_fill(cr);
	cairo_destroy(cr);
	return s;
}

enum class ButtonTone
{
	Grey,
	Green,
	Red
};

// Two frames stacked: released on top, pressed below.
cairo_surface_t* button(int w, int frame, ButtonTone tone)
{
	cairo_surface_t* s = newSurface(w, frame * 2);
	cairo_t* cr = cairo_create(s);
	Rgb top{0.33, 0.35, 0.38}, bottom{0.22, 0.235, 0.255};
	if (tone == ButtonTone::Green)
		top = {0.16, 0.62, 0.34}, bottom = {0.08, 0.42, 0.22};
	else if (tone == ButtonTone::Red)
		top = {0.72, 0.17, 0.17}, bottom = {0.50, 0.09, 0.10};
	const double m = 5, radius = std::min(14.0, frame / 4.0);
	for (int pressed = 0; pressed < 2; ++pressed)
	{
		const double y0 = pressed * frame;
		// Drop shadow, shorter when pressed.
		roundedRect(cr, m, y0 + m + (pressed ? 1 : 4), w - 2 * m, frame - 2 * m, radius);
		setColor(cr, {0, 0, 0}, 0.5);
		cairo_fill(cr);
		const double dy = pressed ? 2 : 0;
		roundedRect(cr, m, y0 + m + dy, w - 2 * m, frame - 2 * m - 2, radius);
		if (pressed)
			fillVertical(cr, y0 + m, y0 + frame - m, mix(bottom, {0, 0, 0}, 0.2), mix(top, {0, 0, 0}, 0.25));
		else
			fillVertical(cr, y0 + m, y0 + frame - m, top, bottom);
		setColor(cr, {0, 0, 0}, 0.6);
		cairo_set_line_width(cr, 1.5);
		cairo_stroke(cr);
		if (!pressed)
		{
			cairo_move_to(cr, m + radius, y0 + m + 2);
			cairo_line_to(cr, w - m - radius, y0 + m + 2);
			setColor(cr, {1, 1, 1}, 0.28);
			cairo_set_line_width(cr, 2);
			cairo_stroke(cr);
		}
	}
	cairo_destroy(cr);
	return s;
}

// 63 frames of a knob from its minimum to its maximum, over 270 degrees starting down-left.
cairo_surface_t* knobStrip(Rgb arc)
{
	cairo_surface_t* s = newSurface(KnobSize, KnobSize * KnobFrames);
	cairo_t* cr = cairo_create(s);
	const double cx = 75, ringR = 54, capR = 41;
	const double a0 = 135 * Pi / 180, sweep = 270 * Pi / 180;
	for (int f = 0; f < KnobFrames; ++f)
	{
		const double cy = f * KnobSize + 62.0;
		const double t = f / double(KnobFrames - 1);
		const double a = a0 + sweep * t;
		// Track and value arc.
		cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
		cairo_arc(cr, cx, cy, ringR, a0, a0 + sweep);
		setColor(cr, {0.04, 0.045, 0.05});
		cairo_set_line_width(cr, 10);
		cairo_stroke(cr);
		if (f > 0)
		{
			cairo_arc(cr, cx, cy, ringR, a0, a);
			setColor(cr, arc);
			cairo_set_line_width(cr, 6);
			cairo_stroke(cr);
		}
		// Shadow and cap.
		cairo_arc(cr, cx + 2, cy + 5, capR + 2, 0, 2 * Pi);
		setColor(cr, {0, 0, 0}, 0.5);
		cairo_fill(cr);
		cairo_arc(cr, cx, cy, capR, 0, 2 * Pi);
		cairo_pattern_t* p = cairo_pattern_create_linear(0, cy - capR, 0, cy + capR);
		cairo_pattern_add_color_stop_rgb(p, 0, 0.36, 0.38, 0.42);
		cairo_pattern_add_color_stop_rgb(p, 1, 0.13, 0.14, 0.155);
		cairo_set_source(cr, p);
		cairo_fill(cr);
		cairo_pattern_destroy(p);
		cairo_arc(cr, cx, cy, capR - 5, 0, 2 * Pi);
		setColor(cr, {0.16, 0.17, 0.185});
		cairo_fill(cr);
		// The position mark rides on the track, clear of the value shown over the cap.
		cairo_arc(cr, cx + std::cos(a) * ringR, cy + std::sin(a) * ringR, 6.5, 0, 2 * Pi);
		setColor(cr, {0.96, 0.97, 0.98});
		cairo_fill(cr);
	}
	cairo_destroy(cr);
	return s;
}

cairo_surface_t* menuBox(int w, int h)
{
	cairo_surface_t* s = newSurface(w, h);
	cairo_t* cr = cairo_create(s);
	roundedRect(cr, 1.5, 1.5, w - 3, h - 3, 8);
	fillVertical(cr, 0, h, {0.09, 0.10, 0.11}, {0.15, 0.16, 0.175});
	setColor(cr, Accent, 0.55);
	cairo_set_line_width(cr, 2);
	cairo_stroke(cr);
	// A small opener mark in the right corner.
	const double ax = w - 16, ay = h - 14;
	cairo_move_to(cr, ax - 7, ay - 3);
	cairo_line_to(cr, ax + 7, ay - 3);
	cairo_line_to(cr, ax, ay + 4);
	cairo_close_path(cr);
	setColor(cr, Accent, 0.8);
	cairo_fill(cr);
	cairo_destroy(cr);
	return s;
}

cairo_surface_t* page(int w, int h, const Decor& decor, bool subPage)
{
	cairo_surface_t* s = newSurface(w, h);
	cairo_t* cr = cairo_create(s);
	cairo_rectangle(cr, 0, 0, w, h);
	const Rgb top = subPage ? mix(PageTone, {1, 1, 1}, 0.03) : PageTone;
	fillVertical(cr, 0, h, top, mix(top, {0, 0, 0}, 0.25));
	cairo_new_path(cr);
	cairo_rectangle(cr, 1, 1, w - 2, h - 2);
	setColor(cr, {1, 1, 1}, 0.06);
	cairo_set_line_width(cr, 2);
	cairo_stroke(cr);
	drawDecor(cr, decor);
	cairo_destroy(cr);
	return s;
}

cairo_surface_t* resizeGrip()
{
	cairo_surface_t* s = newSurface(122, 100);
	cairo_t* cr = cairo_create(s);
	cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
	for (int i = 0; i < 4; ++i)
	{
		const double d = 22 + i * 17;
		cairo_move_to(cr, 122 - 14 - d, 100 - 14);
		cairo_line_to(cr, 122 - 14, 100 - 14 - d);
		setColor(cr, {0, 0, 0}, 0.6);
		cairo_set_line_width(cr, 6);
		cairo_stroke_preserve(cr);
		setColor(cr, Ink, 0.55);
		cairo_set_line_width(cr, 3);
		cairo_stroke(cr);
	}
	cairo_destroy(cr);
	return s;
}

// One character of the display: every dot of the 5 x 8 matrix is drawn, lit ones dark and
// unlit ones as a faint trace, over a transparent cell.
cairo_surface_t* glyph(char32_t c)
{
	cairo_surface_t* s = newSurface(GlyphWidth, GlyphHeight);
	cairo_t* cr = cairo_create(s);
	const DotPattern pattern = dotPattern(c);
	const double pitchX = 7, pitchY = 6.1, dotW = 6, dotH = 5.2;
	const double x0 = (GlyphWidth - (DotColumns - 1) * pitchX - dotW) / 2;
	const double y0 = (GlyphHeight - (DotRows - 1) * pitchY - dotH) / 2;
	for (int row = 0; row < DotRows; ++row)
	{
		for (int column = 0; column < DotColumns; ++column)
		{
			const bool lit = (pattern[size_t(row)] >> (DotColumns - 1 - column)) & 1;
			cairo_rectangle(cr, x0 + column * pitchX, y0 + row * pitchY, dotW, dotH);
			if (lit)
				cairo_set_source_rgba(cr, 0.08, 0.13, 0.05, 0.88);
			else
				cairo_set_source_rgba(cr, 0.2, 0.3, 0.05, 0.10);
			cairo_fill(cr);
		}
	}
	cairo_destroy(cr);
	return s;
}
}

cairo_surface_t* drawBitmap(const Panel& panel, const BitmapSpec& spec)
{
	const std::string& n = spec.name;
	if (n == "background")
		return background(panel);
	if (n == "display_light")
		return displayLight();
	if (n == "display_panelshadow")
		return displayShadow();
	if (n == "btn_donate_SM")
		return donateButton();
	if (n == "sourcemixthrottle")
		return throttle();
	if (n == "resize")
		return resizeGrip();
	if (n.rfind("button_", 0) == 0)
	{
		const ButtonTone tone = n.find("green") != std::string::npos ? ButtonTone::Green
			: n.find("red") != std::string::npos                     ? ButtonTone::Red
																	 : ButtonTone::Grey;
		return button(spec.width, spec.height / 2, tone);
	}
	if (n == "knobvalue_knobvalue_knobshadow_Top")
		return knobStrip(Accent);
	if (n == "knobvalue_knobvalue_knobshadow_Bottom")
		return knobStrip(Amber);
	if (n.rfind("optionmenu_box_", 0) == 0)
		return menuBox(spec.width, spec.height);
	if (n.rfind("bake_", 0) == 0)
	{
		const auto it = panel.decor.find(n);
		static const Decor none;
		return page(spec.width, spec.height, it == panel.decor.end() ? none : it->second, n.rfind("bake_edit_", 0) == 0);
	}
	for (const GlyphName& g : glyphNames())
		if (g.bitmap == n)
			return glyph(g.codePoint);
	throw std::runtime_error("no art for bitmap " + n);
}
}
