#include "vstgui/lib/platform/offscreenframe.h"

#include "vstgui/lib/cdrawcontext.h"

#include <cairo/cairo.h>

#include <cmath>

namespace VSTGUI
{
OffscreenPlatformFrame::OffscreenPlatformFrame (IPlatformFrameCallback* frame, const CRect& rect)
: IPlatformFrame (frame)
{
	setSize (rect);
}

OffscreenPlatformFrame::~OffscreenPlatformFrame () noexcept
{
	if (surface)
		cairo_surface_destroy (surface);
}

bool OffscreenPlatformFrame::getGlobalPosition (CPoint& pos) const
{
	pos = size.getTopLeft ();
	return true;
}

bool OffscreenPlatformFrame::setSize (const CRect& newSize)
{
	size = newSize;
	if (surface)
		cairo_surface_destroy (surface);
	int w = std::max (1, static_cast<int> (std::ceil (newSize.getWidth ())));
	int h = std::max (1, static_cast<int> (std::ceil (newSize.getHeight ())));
	surface = cairo_image_surface_create (CAIRO_FORMAT_ARGB32, w, h);
	dirtyRects.clear ();
	dirtyRects.push_back (CRect (0, 0, w, h));
	return true;
}

bool OffscreenPlatformFrame::getSize (CRect& r) const
{
	r = size;
	return true;
}

bool OffscreenPlatformFrame::invalidRect (const CRect& rect)
{
	CRect r (rect);
	r.makeIntegral ();
	r.bound (CRect (0, 0, cairo_image_surface_get_width (surface), cairo_image_surface_get_height (surface)));
	if (r.isEmpty ())
		return true;
	// Keep the list short: merge into an overlapping area.
	for (auto& d : dirtyRects)
	{
		if (d.rectOverlap (r))
		{
			d.unite (r);
			return true;
		}
	}
	dirtyRects.push_back (r);
	return true;
}

bool OffscreenPlatformFrame::showTooltip (const CRect&, const char* utf8Text)
{
	tooltipText = utf8Text ? utf8Text : "";
	tooltipVisible = true;
	return true;
}

bool OffscreenPlatformFrame::hideTooltip ()
{
	tooltipVisible = false;
	return true;
}

bool OffscreenPlatformFrame::redraw ()
{
	if (frame == nullptr || dirtyRects.empty ())
		return false;
	std::vector<CRect> rects;
	rects.swap (dirtyRects);
	CRect surfaceRect (0, 0, cairo_image_surface_get_width (surface), cairo_image_surface_get_height (surface));
	for (const auto& r : rects)
	{
		auto context = makeOwned<CDrawContext> (surface, surfaceRect);
		context->setClipRect (r);
		context->clearRect (r);
		frame->platformDrawRect (context, r);
	}
	cairo_surface_flush (surface);
	return true;
}

void OffscreenPlatformFrame::redrawAll ()
{
	dirtyRects.clear ();
	dirtyRects.push_back (
	    CRect (0, 0, cairo_image_surface_get_width (surface), cairo_image_surface_get_height (surface)));
	redraw ();
}

CColor OffscreenPlatformFrame::getPixel (int x, int y) const
{
	if (x < 0 || y < 0 || x >= cairo_image_surface_get_width (surface) || y >= cairo_image_surface_get_height (surface))
		return kTransparentCColor;
	cairo_surface_flush (surface);
	const unsigned char* data = cairo_image_surface_get_data (surface);
	int stride = cairo_image_surface_get_stride (surface);
	uint32_t argb = *reinterpret_cast<const uint32_t*> (data + y * stride + x * 4);
	uint8_t a = argb >> 24;
	auto unpremultiply = [a] (uint32_t c) -> uint8_t {
		return a == 0 ? 0 : static_cast<uint8_t> ((c * 255 + a / 2) / a);
	};
	return CColor (unpremultiply ((argb >> 16) & 0xFF), unpremultiply ((argb >> 8) & 0xFF), unpremultiply (argb & 0xFF), a);
}

bool OffscreenPlatformFrame::writePNG (const std::string& path)
{
	return cairo_surface_write_to_png (surface, path.c_str ()) == CAIRO_STATUS_SUCCESS;
}
} // VSTGUI
