#pragma once

#include "vstgui/lib/cbitmap.h"
#include "vstgui/lib/ccolor.h"

#include <cairo/cairo.h>

#include <cstdint>
#include <vector>

// A bitmap of equal-height frames stacked vertically, each filled with its own colour.
inline VSTGUI::CBitmap* makeStrip (int width, int frameHeight, const std::vector<VSTGUI::CColor>& colours)
{
	auto* bitmap = new VSTGUI::CBitmap (VSTGUI::CPoint (width, frameHeight * static_cast<int> (colours.size ())));
	cairo_t* cr = cairo_create (bitmap->getPlatformSurface ());
	for (size_t i = 0; i < colours.size (); ++i)
	{
		const auto& c = colours[i];
		cairo_set_source_rgba (cr, c.normRed (), c.normGreen (), c.normBlue (), c.normAlpha ());
		cairo_rectangle (cr, 0, static_cast<double> (i) * frameHeight, width, frameHeight);
		cairo_fill (cr);
	}
	cairo_destroy (cr);
	cairo_surface_flush (bitmap->getPlatformSurface ());
	return bitmap;
}

// The bitmap's pixels as a PNG file would hold them.
inline std::vector<uint8_t> pngBytes (VSTGUI::CBitmap& bitmap)
{
	std::vector<uint8_t> png;
	cairo_surface_write_to_png_stream (
	    bitmap.getPlatformSurface (),
	    [] (void* closure, const unsigned char* data, unsigned int length) {
		    auto* out = static_cast<std::vector<uint8_t>*> (closure);
		    out->insert (out->end (), data, data + length);
		    return CAIRO_STATUS_SUCCESS;
	    },
	    &png);
	return png;
}
