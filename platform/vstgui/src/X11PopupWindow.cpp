#include "x11popupwindow.h"

#include "vstgui/lib/cdrawcontext.h"
#include "vstgui/lib/platform/x11frame.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <cairo/cairo.h>

#include <cmath>

namespace VSTGUI
{
X11PopupWindow::X11PopupWindow (X11PlatformFrame& owner, const CRect& rect, PopupPainter paint)
: owner (owner), display (owner.getDisplay ()), origin (rect.getTopLeft ()), paint (std::move (paint))
{
	owner.remember ();
	backBuffer.resize (rect);
	CPoint framePosition;
	owner.getGlobalPosition (framePosition);
	XSetWindowAttributes attributes {};
	attributes.override_redirect = True;
	attributes.save_under = True;
	attributes.event_mask = ExposureMask | ButtonPressMask | ButtonReleaseMask | PointerMotionMask | KeyPressMask |
	                        KeyReleaseMask;
	window = XCreateWindow (display, DefaultRootWindow (display), static_cast<int> (framePosition.x + origin.x),
	                        static_cast<int> (framePosition.y + origin.y), static_cast<unsigned int> (backBuffer.getWidth ()),
	                        static_cast<unsigned int> (backBuffer.getHeight ()), 0, CopyFromParent, InputOutput,
	                        CopyFromParent, CWOverrideRedirect | CWSaveUnder | CWEventMask, &attributes);
	XMapRaised (display, window);
	XFlush (display);
}

X11PopupWindow::~X11PopupWindow () noexcept
{
	owner.popupWindowClosed (this);
	XDestroyWindow (display, window);
	XFlush (display);
	owner.forget ();
}

void X11PopupWindow::invalidRect (const CRect& rect)
{
	CRect r (rect);
	r.offset (-origin.x, -origin.y);
	backBuffer.invalidate (r);
}

void X11PopupWindow::redraw ()
{
	if (backBuffer.getDirtyRects ().empty ())
		return;
	const std::vector<CRect> rects = backBuffer.draw ([this] (CDrawContext* context, const CRect& r) {
		CDrawContext::Transform toWindow (*context, CGraphicsTransform ().translate (-origin.x, -origin.y));
		CRect area (r);
		area.offset (origin.x, origin.y);
		paint (context, area);
	});
	putBackBuffer (display, window, backBuffer, rects);
}

void putBackBuffer (Display* display, unsigned long window, const FrameBackBuffer& buffer, const std::vector<CRect>& rects)
{
	Visual* visual = DefaultVisual (display, DefaultScreen (display));
	const int depth = DefaultDepth (display, DefaultScreen (display));
	if (depth < 24 || visual->red_mask != 0xFF0000 || visual->green_mask != 0xFF00 || visual->blue_mask != 0xFF)
		return;
	cairo_surface_t* surface = buffer.getSurface ();
	XImage* image = XCreateImage (display, visual, static_cast<unsigned int> (depth), ZPixmap, 0,
	                              reinterpret_cast<char*> (cairo_image_surface_get_data (surface)),
	                              static_cast<unsigned int> (buffer.getWidth ()), static_cast<unsigned int> (buffer.getHeight ()),
	                              32, cairo_image_surface_get_stride (surface));
	if (image == nullptr)
		return;
	GC gc = XCreateGC (display, window, 0, nullptr);
	for (const auto& r : rects)
		XPutImage (display, window, gc, image, static_cast<int> (r.left), static_cast<int> (r.top), static_cast<int> (r.left),
		           static_cast<int> (r.top), static_cast<unsigned int> (r.getWidth ()), static_cast<unsigned int> (r.getHeight ()));
	XFreeGC (display, gc);
	image->data = nullptr;
	XDestroyImage (image);
	XFlush (display);
}
} // VSTGUI
