#pragma once

#include "framebackbuffer.h"
#include "iplatformframe.h"

#include <string>

class NSView;

namespace VSTGUI
{
class X11PlatformFrame;

// A frame's window inside a host's view (the platform's default native parent): the frame gets a subview of its
// own that draws the frame when the view hierarchy is drawn and passes the view's input on. Once the view is shown
// in a window on the X11 server, an X11 child window of it shows the frame to people and takes their input.
class NSViewPlatformFrame : public IPlatformFrame
{
public:
	// Null when parent is not a view.
	static NSViewPlatformFrame* create (IPlatformFrameCallback* frame, const CRect& size, void* parent);
	~NSViewPlatformFrame () noexcept override;

	bool getGlobalPosition (CPoint& pos) const override;
	bool setSize (const CRect& newSize) override;
	bool getSize (CRect& size) const override;
	bool invalidRect (const CRect& rect) override;
	bool showTooltip (const CRect& rect, const char* utf8Text) override;
	bool hideTooltip () override;
	PlatformType getPlatformType () const override { return PlatformType::kNSView; }
	void onFrameClosed () override;
	// On screen, popups and the clipboard are the window's on the X server.
	bool hasPopupWindows () const override;
	CRect getPopupArea () const override;
	IPlatformPopupWindow* openPopupWindow (const CRect& rect, PopupPainter paint) override;
	void readClipboardText (std::function<void (const std::string& text)> done) override;
	void writeClipboardText (const std::string& text) override;

	NSView* getView () const;
	IPlatformFrameCallback* getCallback () const { return frame; }
	// Brings the invalid areas up to date and paints the frame into the view's drawing context.
	void drawInto (void* cairoContext);
	// The view moved to another window, or out of every window.
	void windowChanged ();

private:
	NSViewPlatformFrame (IPlatformFrameCallback* frame, const CRect& size, NSView* parent);
	class ContentView;
	void leaveScreen ();

	ContentView* view {nullptr};
	CRect size;
	FrameBackBuffer backBuffer;
	X11PlatformFrame* onScreen {nullptr};
	long onScreenWindow {0};
};
} // VSTGUI
