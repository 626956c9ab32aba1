#pragma once

#include "iplatformframecallback.h"

#include <functional>

namespace VSTGUI
{
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
