#pragma once

#include "framebackbuffer.h"
#include "iplatformframe.h"

#include <string>
#include <vector>

typedef struct _XDisplay Display;
typedef struct __CFRunLoopTimer* CFRunLoopTimerRef;

namespace VSTGUI
{
// A frame's window for people: an X11 child window inside the window whose id the frame is
// opened with. Events are taken from the X server by a run-loop timer every 10 ms, so whatever
// drives the main run loop drives the editor; invalid areas are drawn on the same beat.
class X11PlatformFrame : public IPlatformFrame
{
public:
	// Null when the display cannot be opened or the parent is not a window.
	static X11PlatformFrame* create (IPlatformFrameCallback* frame, const CRect& size, unsigned long parentWindow);
	~X11PlatformFrame () noexcept override;

	bool getGlobalPosition (CPoint& pos) const override;
	bool setSize (const CRect& newSize) override;
	bool getSize (CRect& size) const override;
	bool invalidRect (const CRect& rect) override;
	bool showTooltip (const CRect& rect, const char* utf8Text) override;
	bool hideTooltip () override;
	PlatformType getPlatformType () const override { return PlatformType::kX11EmbedWindowID; }
	void onFrameClosed () override;

	// Handles every pending event, then draws what is invalid.
	void processEvents ();
	unsigned long getWindow () const { return window; }
	Display* getDisplay () const { return display; }

private:
	X11PlatformFrame (IPlatformFrameCallback* frame, Display* display, unsigned long window, const CRect& size);
	void handleEvent (void* event);
	void redraw ();
	CRect tooltipArea () const;

	Display* display;
	unsigned long window;
	CRect size;
	FrameBackBuffer backBuffer;
	CFRunLoopTimerRef pump {nullptr};
	std::string tooltipText;
	CRect tooltipRect;
	bool tooltipVisible {false};
	unsigned long lastClickTime {0};
	unsigned int lastClickButton {0};
	CPoint lastClickPosition;
};
} // VSTGUI
