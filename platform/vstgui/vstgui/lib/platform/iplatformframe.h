#pragma once

#include "iplatformframecallback.h"

#include <functional>
#include <string>

namespace VSTGUI
{
// A borderless window of its own, above every other window, for one column of a popup menu.
// Rectangles are in frame pixels and may lie outside the frame.
class IPlatformPopupWindow : public AtomicReferenceCounted
{
public:
	virtual void invalidRect (const CRect& rect) = 0;
};

// Paints a popup window; the context is set up so that frame pixels address the window.
using PopupPainter = std::function<void (CDrawContext* context, const CRect& updateRect)>;

// The window a frame draws into and takes its input from.
class IPlatformFrame : public AtomicReferenceCounted
{
public:
	virtual bool getGlobalPosition (CPoint& pos) const = 0;
	virtual bool setSize (const CRect& newSize) = 0;
	virtual bool getSize (CRect& size) const = 0;
	virtual bool invalidRect (const CRect& rect) = 0;
	virtual bool showTooltip (const CRect& rect, const char* utf8Text) = 0;
	virtual bool hideTooltip () = 0;
	virtual PlatformType getPlatformType () const = 0;
	// The frame is going away; no callback may be made after this.
	virtual void onFrameClosed () = 0;

	// Whether popups get windows of their own; otherwise the frame draws them over itself.
	virtual bool hasPopupWindows () const { return false; }
	// Where a popup may be placed, in frame pixels: the screen for popup windows, else the frame.
	virtual CRect getPopupArea () const;
	// A window over `rect` painted by `paint`. While one is open, the pointer and the keys go to
	// the frame's callbacks wherever they happen, positions in frame pixels.
	virtual IPlatformPopupWindow* openPopupWindow (const CRect& /*rect*/, PopupPainter /*paint*/)
	{
		return nullptr;
	}

	// The clipboard's text. `done` gets it at once, or once the program holding it has answered
	// (it is not called when none answers). Without a desktop the clipboard is the process's own.
	virtual void readClipboardText (std::function<void (const std::string& text)> done);
	virtual void writeClipboardText (const std::string& text);

protected:
	explicit IPlatformFrame (IPlatformFrameCallback* callback) : frame (callback) {}
	IPlatformFrameCallback* frame;
};

// Creates the window for a frame that opens inside `parent`. The default makes an offscreen
// frame for every type but kX11EmbedWindowID, which gets an X11 child window of the given id.
using PlatformFrameFactory = std::function<IPlatformFrame* (IPlatformFrameCallback* frame, const CRect& size,
                                                            void* parent, PlatformType type,
                                                            IPlatformFrameConfig* config)>;
void setPlatformFrameFactory (PlatformFrameFactory factory);
IPlatformFrame* createPlatformFrame (IPlatformFrameCallback* frame, const CRect& size, void* parent,
                                     PlatformType type, IPlatformFrameConfig* config);
} // VSTGUI
