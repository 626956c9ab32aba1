// The toolkit's two heavy paths: reading a front-panel-sized description (about 2.8 MB with
// ~120 embedded PNG images, ~290 views) and redrawing a 2560 x 1440 frame.
#include "vstgui/lib/platform/offscreenframe.h"
#include "vstgui/vstgui.h"
#include "vstgui/vstgui_uidescription.h"

#include <benchmark/benchmark.h>

#include <cairo/cairo.h>

#include <cmath>
#include <random>
#include <string>
#include <vector>

using namespace VSTGUI;

namespace
{
std::string base64 (const std::vector<uint8_t>& bytes)
{
	const char* alphabet = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
	std::string out;
	out.reserve (bytes.size () * 4 / 3 + 4);
	size_t i = 0;
	for (; i + 2 < bytes.size (); i += 3)
	{
		uint32_t v = bytes[i] << 16 | bytes[i + 1] << 8 | bytes[i + 2];
		for (int k = 3; k >= 0; --k)
			out += alphabet[(v >> (k * 6)) & 63];
	}
	if (i < bytes.size ())
	{
		uint32_t v = bytes[i] << 16 | (i + 1 < bytes.size () ? bytes[i + 1] << 8 : 0);
		out += alphabet[(v >> 18) & 63];
		out += alphabet[(v >> 12) & 63];
		out += i + 1 < bytes.size () ? alphabet[(v >> 6) & 63] : '=';
		out += '=';
	}
	return out;
}

// A picture with shading, shapes and a little grain, so it compresses like panel art does.
std::string panelPng (int width, int height, std::mt19937& random)
{
	cairo_surface_t* surface = cairo_image_surface_create (CAIRO_FORMAT_ARGB32, width, height);
	cairo_t* cr = cairo_create (surface);
	cairo_pattern_t* shade = cairo_pattern_create_linear (0, 0, 0, height);
	cairo_pattern_add_color_stop_rgb (shade, 0, 0.25, 0.27, 0.3);
	cairo_pattern_add_color_stop_rgb (shade, 1, 0.1, 0.11, 0.13);
	cairo_set_source (cr, shade);
	cairo_paint (cr);
	cairo_pattern_destroy (shade);
	std::uniform_real_distribution<double> unit (0., 1.);
	for (int i = 0; i < 12; ++i)
	{
		cairo_set_source_rgba (cr, unit (random), unit (random), unit (random), 0.6);
		cairo_arc (cr, unit (random) * width, unit (random) * height, 5 + unit (random) * width / 6, 0, 2 * M_PI);
		cairo_fill (cr);
	}
	cairo_surface_flush (surface);
	unsigned char* pixels = cairo_image_surface_get_data (surface);
	const int stride = cairo_image_surface_get_stride (surface);
	std::uniform_int_distribution<int> grain (0, 3);
	for (int y = 0; y < height; y += 2)
		for (int x = 0; x < width; x += 3)
			pixels[y * stride + x * 4] = static_cast<unsigned char> (pixels[y * stride + x * 4] ^ grain (random));
	cairo_surface_mark_dirty (surface);
	std::vector<uint8_t> png;
	cairo_surface_write_to_png_stream (
	    surface,
	    [] (void* closure, const unsigned char* data, unsigned int length) {
		    auto* out = static_cast<std::vector<uint8_t>*> (closure);
		    out->insert (out->end (), data, data + length);
		    return CAIRO_STATUS_SUCCESS;
	    },
	    &png);
	cairo_destroy (cr);
	cairo_surface_destroy (surface);
	return base64 (png);
}

struct Description
{
	std::string xml;
	size_t views {0};
};

const Description& frontPanel ()
{
	static const Description description = [] {
		std::mt19937 random (7);
		Description d;
		std::string& x = d.xml;
		x = "\xEF\xBB\xBF<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<vstgui-ui-description version=\"1\">\n<bitmaps>\n";
		struct Art
		{
			const char* name;
			int w, h;
		};
		const Art panels[] = {{"background", 2560, 1440}, {"display_light", 847, 336}, {"display_panelshadow", 668, 170},
		                      {"btn_donate_SM", 195, 60}, {"sourcemixthrottle", 74, 74}, {"button_small_off", 215, 174},
		                      {"button_small_on", 215, 174}, {"button_small_red", 215, 174}, {"button_large_off", 297, 174},
		                      {"button_large_on", 297, 174}, {"button_wave", 190, 174}, {"button_browser", 105, 174},
		                      {"button_coarse", 74, 148}, {"knob_top", 150, 9450}, {"knob_bottom", 150, 9450},
		                      {"menu_coarse", 168, 73}, {"menu_wave", 390, 55}, {"menu_velocity", 193, 55},
		                      {"menu_common", 238, 55}, {"menu_lfo", 225, 55}, {"bake_mode_play", 2063, 517},
		                      {"bake_mode_edit", 2063, 517}, {"bake_edit_source", 1665, 517},
		                      {"bake_edit_common", 1537, 517}, {"resize", 122, 100}};
		for (const auto& a : panels)
			x += std::string ("<bitmap name=\"") + a.name + "\" path=\"" + a.name + ".png\"><data encoding=\"base64\"><![CDATA[" +
			     panelPng (a.w, a.h, random) + "]]></data></bitmap>\n";
		for (int g = 0; g < 93; ++g)
			x += "<bitmap name=\"glyph" + std::to_string (g) + "\" path=\"glyph" + std::to_string (g) +
			     ".png\"><data encoding=\"base64\"><![CDATA[" + panelPng (39, 50, random) + "]]></data></bitmap>\n";
		x += "</bitmaps>\n<fonts>\n<font name=\"arial_36_b\" font-name=\"Arial\" size=\"36\" bold=\"true\"/>\n"
		     "<font name=\"gadugi_33_b\" font-name=\"Gadugi\" size=\"33\" bold=\"true\"/>\n</fonts>\n";
		x += "<template name=\"Virel\" class=\"CViewContainer\" size=\"2560, 1440\" bitmap=\"background\" "
		     "custom-view-name=\"bg\">\n";
		auto view = [&] (const std::string& attributes) {
			x += "<view " + attributes + "/>\n";
			++d.views;
		};
		auto at = [] (int left, int top, int w, int h) {
			return "origin=\"" + std::to_string (left) + ", " + std::to_string (top) + "\" size=\"" + std::to_string (w) +
			       ", " + std::to_string (h) + "\"";
		};
		view ("class=\"CView\" " + at (60, 60, 847, 336) + " bitmap=\"display_light\" custom-view-name=\"LCDLight\"");
		x += "<view class=\"CViewContainer\" " + at (150, 150, 631, 129) + " transparent=\"true\">\n";
		++d.views;
		for (int cell = 0; cell < 32; ++cell)
			view ("class=\"CView\" " + at ((cell % 16) * 39, (cell / 16) * 60, 39, 50) + " bitmap=\"glyph" +
			      std::to_string (cell) + "\"");
		x += "</view>\n";
		for (int b = 0; b < 6; ++b)
		{
			view ("class=\"CKickButton\" " + at (1000 + b * 230, 60, 215, 87) +
			      " bitmap=\"button_small_off\" height-of-one-image=\"87\"");
			view ("class=\"CTextLabel\" " + at (1000 + b * 230, 60, 215, 87) +
			      " font=\"gadugi_33_b\" font-color=\"#FFFFFFDC\" transparent=\"true\" title=\"EDIT\"");
		}
		x += "<view class=\"CViewContainer\" " + at (250, 800, 2063, 517) + " bitmap=\"bake_mode_edit\">\n";
		++d.views;
		for (int k = 0; k < 24; ++k)
		{
			const std::string r = at (20 + (k % 12) * 170, 20 + (k / 12) * 250, 150, 150);
			view ("class=\"CAnimKnob\" " + r + " bitmap=\"" + (k % 2 ? "knob_top" : "knob_bottom") +
			      "\" height-of-one-image=\"150\" angle-start=\"135\" angle-range=\"270\" min-value=\"0\" "
			      "max-value=\"1\" default-value=\"0.5\" wheel-inc-value=\"0.1\"");
			view ("class=\"CTextLabel\" " + r + " font=\"arial_36_b\" font-color=\"#FFFFFFFF\" transparent=\"true\" "
			      "title=\"50\"");
		}
		for (int m = 0; m < 10; ++m)
			view ("class=\"COptionMenu\" " + at (20 + m * 200, 420, 193, 55) + " bitmap=\"menu_velocity\" font=\"arial_36_b\"");
		for (int b = 0; b < 16; ++b)
			view ("class=\"CKickButton\" " + at (20 + b * 120, 480, 105, 87) +
			      " bitmap=\"button_browser\" height-of-one-image=\"87\"");
		for (int l = 0; l < 70; ++l)
			view ("class=\"CTextLabel\" " + at (20 + (l % 4) * 400, 20 + (l / 4) * 40, 378, 57) +
			      " font=\"gadugi_33_b\" font-color=\"#000000FF\" text-alignment=\"left\" transparent=\"true\" "
			      "title=\"Single name\"");
		view ("class=\"CTextEdit\" " + at (500, 20, 475, 62) + " font=\"arial_36_b\" transparent=\"true\"");
		view ("class=\"CTextEdit\" " + at (1000, 20, 427, 62) + " font=\"arial_36_b\" transparent=\"true\"");
		x += "</view>\n<view class=\"CViewContainer\" " + at (1800, 40, 723, 345) + ">\n";
		++d.views;
		for (int g = 0; g < 93; ++g)
			view ("class=\"CView\" " + at ((g % 18) * 40, (g / 18) * 55, 39, 50) + " bitmap=\"glyph" + std::to_string (g) + "\"");
		x += "</view>\n";
		view ("class=\"CView\" " + at (2438, 1340, 122, 100) + " bitmap=\"resize\"");
		x += "</template>\n</vstgui-ui-description>\n";
		return d;
	}();
	return description;
}

void BM_ParseDescriptionAndCreateViews (benchmark::State& state)
{
	const Description& d = frontPanel ();
	for (auto _ : state)
	{
		Xml::MemoryContentProvider provider (d.xml.data (), static_cast<uint32_t> (d.xml.size ()));
		auto description = owned (new UIDescription (&provider));
		description->parse ();
		CView* view = description->createView ("Virel", nullptr);
		benchmark::DoNotOptimize (view);
		view->forget ();
	}
	state.counters["bytes"] = static_cast<double> (d.xml.size ());
	state.counters["views"] = static_cast<double> (d.views);
}
BENCHMARK (BM_ParseDescriptionAndCreateViews)->Unit (benchmark::kMillisecond);

// Argument: the window width; the 2560 x 1440 template is scaled to fit, as the editor does.
void BM_FullRedraw (benchmark::State& state)
{
	const Description& d = frontPanel ();
	Xml::MemoryContentProvider provider (d.xml.data (), static_cast<uint32_t> (d.xml.size ()));
	auto description = owned (new UIDescription (&provider));
	description->parse ();
	struct Editor : VSTGUIEditorInterface
	{
	} editor;
	const double width = static_cast<double> (state.range (0));
	const double zoom = width / 2560.;
	auto* frame = new CFrame (CRect (0, 0, width, std::round (1440. * zoom)), &editor);
	frame->setTransparency (true);
	frame->setBitmapInterpolationQuality (BitmapInterpolationQuality::kHigh);
	frame->addView (description->createView ("Virel", nullptr));
	frame->setTransform (CGraphicsTransform ().scale (zoom, zoom));
	frame->open (&editor);
	auto* window = static_cast<OffscreenPlatformFrame*> (frame->getPlatformFrame ());
	for (auto _ : state)
		window->redrawAll ();
	frame->close ();
}
BENCHMARK (BM_FullRedraw)->Arg (2560)->Arg (1280)->Arg (1920)->Unit (benchmark::kMillisecond);
}
