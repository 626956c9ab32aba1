#pragma once

#include "vstgui/lib/platform/framebackbuffer.h"
#include "vstgui/lib/platform/iplatformframe.h"

typedef struct _XDisplay Display;

namespace VSTGUI
{
class X11PlatformFrame;

// An override-redirect window on the screen for one column of a popup, as desktop menus are:
// unmanaged, above the others, free to extend past the plug-in's window. The first one open
// grabs the pointer and the keyboard, so a click anywhere reaches the popup (and closes it).
class X11PopupWindow final : public IPlatformPopupWindow
{
public:
	X11PopupWindow (X11PlatformFrame& owner, const CRect& rect, PopupPainter paint);
	~X11PopupWindow () noexcept override;

	void invalidRect (const CRect& rect) override;
	void redraw ();

	unsigned long getWindow () const { return window; }
	// The window's top left in frame pixels.
	const CPoint& getOrigin () const { return origin; }

private:
	X11PlatformFrame& owner;
	Display* display;
	unsigned long window {0};
	CPoint origin;
	FrameBackBuffer backBuffer;
	PopupPainter paint;
};

// Puts the given areas of a back buffer on a window, where the server takes 32-bit true colour.
void putBackBuffer (Display* display, unsigned long window, const FrameBackBuffer& buffer, const std::vector<CRect>& rects);
} // VSTGUI
