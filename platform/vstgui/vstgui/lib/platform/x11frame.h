#pragma once

#include "framebackbuffer.h"
#include "iplatformframe.h"

#include <memory>
#include <string>
#include <vector>

typedef struct _XDisplay Display;
typedef union _XEvent XEvent;
typedef struct __CFRunLoopTimer* CFRunLoopTimerRef;

namespace VSTGUI
{
class X11Clipboard;
class X11PopupWindow;

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
	bool hasPopupWindows () const override { return true; }
	CRect getPopupArea () const override;
	IPlatformPopupWindow* openPopupWindow (const CRect& rect, PopupPainter paint) override;
	void readClipboardText (std::function<void (const std::string& text)> done) override;
	void writeClipboardText (const std::string& text) override;

	// Handles every pending event, then draws what is invalid.
	void processEvents ();
	// The same while a modal dialog keeps the thread waiting: uncovered areas are drawn again, input is
	// dropped, and what ends input begun before the dialog (a button's release, a change of focus, a
	// clipboard answer) is kept for the next processEvents.
	void processEventsWhileDialogOpen ();
	// The top-level window this frame's window lies in, the one dialogs about it belong to.
	unsigned long getTopLevelWindow () const;
	unsigned long getWindow () const { return window; }
	Display* getDisplay () const { return display; }
	// The popup windows open now, oldest first.
	std::vector<unsigned long> getPopupWindows () const;

	// Called by a popup window as it closes.
	void popupWindowClosed (X11PopupWindow* popup);

private:
	X11PlatformFrame (IPlatformFrameCallback* frame, Display* display, unsigned long window, const CRect& size);
	void pumpEvents (bool dialogOpen);
	// Hands the event to the frame's window or popup it is for.
	void dispatch (XEvent& event);
	bool endsEarlierInput (const XEvent& event) const;
	// Positions in the event are relative to a window whose top left is `origin` in frame pixels.
	void handleEvent (void* event, const CPoint& origin);
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
	std::vector<X11PopupWindow*> popups;
	std::unique_ptr<X11Clipboard> clipboard;
	// The mouse buttons whose press the frame was given and whose release it was not, as kLButton etc.
	int32_t pressedButtons {0};
	// Events kept while a dialog was open.
	std::vector<XEvent> heldBack;
};
} // VSTGUI
