#include "vstgui/lib/platform/framebackbuffer.h"

#include "vstgui/lib/cdrawcontext.h"

#include <cairo/cairo.h>

#include <algorithm>
#include <cmath>

namespace VSTGUI
{
FrameBackBuffer::~FrameBackBuffer () noexcept
{
	if (surface)
		cairo_surface_destroy (surface);
}

void FrameBackBuffer::resize (const CRect& size)
{
	if (surface)
		cairo_surface_destroy (surface);
	const int w = static_cast<int> (std::max (1., std::ceil (size.getWidth ())));
	const int h = static_cast<int> (std::max (1., std::ceil (size.getHeight ())));
	surface = cairo_image_surface_create (CAIRO_FORMAT_ARGB32, w, h);
	invalidateAll ();
}

int FrameBackBuffer::getWidth () const
{
	return cairo_image_surface_get_width (surface);
}

int FrameBackBuffer::getHeight () const
{
	return cairo_image_surface_get_height (surface);
}

void FrameBackBuffer::invalidate (const CRect& rect)
{
	CRect r (rect);
	r.makeIntegral ();
	r.bound (getBounds ());
	if (r.isEmpty ())
		return;
	for (auto& d : dirtyRects)
	{
		if (d.rectOverlap (r))
		{
			d.unite (r);
			return;
		}
	}
	dirtyRects.push_back (r);
}

std::vector<CRect> FrameBackBuffer::draw (const Painter& paint)
{
	std::vector<CRect> rects;
	rects.swap (dirtyRects);
	const CRect surfaceRect = getBounds ();
	for (const auto& r : rects)
	{
		auto context = makeOwned<CDrawContext> (surface, surfaceRect);
		context->setClipRect (r);
		paint (context, r);
	}
	cairo_surface_flush (surface);
	return rects;
}
} // VSTGUI
