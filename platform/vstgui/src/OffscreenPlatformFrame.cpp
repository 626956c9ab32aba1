#include "vstgui/lib/platform/offscreenframe.h"

#include "vstgui/lib/cdrawcontext.h"

#include <cairo/cairo.h>

#include <cstdint>

namespace VSTGUI
{
OffscreenPlatformFrame::OffscreenPlatformFrame (IPlatformFrameCallback* frame, const CRect& rect)
: IPlatformFrame (frame)
{
	setSize (rect);
}

OffscreenPlatformFrame::~OffscreenPlatformFrame () noexcept = default;

bool OffscreenPlatformFrame::getGlobalPosition (CPoint& pos) const
{
	pos = size.getTopLeft ();
	return true;
}

bool OffscreenPlatformFrame::setSize (const CRect& newSize)
{
	size = newSize;
	backBuffer.resize (newSize);
	return true;
}

bool OffscreenPlatformFrame::getSize (CRect& r) const
{
	r = size;
	return true;
}

bool OffscreenPlatformFrame::invalidRect (const CRect& rect)
{
	backBuffer.invalidate (rect);
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
	if (frame == nullptr || backBuffer.getDirtyRects ().empty ())
		return false;
	backBuffer.draw ([this] (CDrawContext* context, const CRect& r) {
		context->clearRect (r);
		frame->platformDrawRect (context, r);
	});
	return true;
}

void OffscreenPlatformFrame::redrawAll ()
{
	backBuffer.invalidateAll ();
	redraw ();
}

CColor OffscreenPlatformFrame::getPixel (int x, int y) const
{
	if (x < 0 || y < 0 || x >= backBuffer.getWidth () || y >= backBuffer.getHeight ())
		return kTransparentCColor;
	cairo_surface_t* surface = backBuffer.getSurface ();
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
	return cairo_surface_write_to_png (backBuffer.getSurface (), path.c_str ()) == CAIRO_STATUS_SUCCESS;
}
} // VSTGUI
