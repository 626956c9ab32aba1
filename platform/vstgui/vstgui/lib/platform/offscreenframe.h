#pragma once

#include "../ccolor.h"
#include "framebackbuffer.h"
#include "iplatformframe.h"

#include <string>
#include <vector>

namespace VSTGUI
{
// A frame's window as an image in memory: what is invalidated is redrawn on redraw (), and the
// pixels can be probed or written to a PNG file.
class OffscreenPlatformFrame : public IPlatformFrame
{
public:
	OffscreenPlatformFrame (IPlatformFrameCallback* frame, const CRect& size);
	~OffscreenPlatformFrame () noexcept override;

	bool getGlobalPosition (CPoint& pos) const override;
	bool setSize (const CRect& newSize) override;
	bool getSize (CRect& size) const override;
	bool invalidRect (const CRect& rect) override;
	bool showTooltip (const CRect& rect, const char* utf8Text) override;
	bool hideTooltip () override;
	PlatformType getPlatformType () const override { return PlatformType::kDefaultNative; }
	void onFrameClosed () override { frame = nullptr; }

	// Draws every area invalidated since the last call; returns whether anything was drawn.
	bool redraw ();
	void redrawAll ();
	const std::vector<CRect>& getDirtyRects () const { return backBuffer.getDirtyRects (); }
	CColor getPixel (int x, int y) const;
	bool writePNG (const std::string& path);
	cairo_surface_t* getSurface () const { return backBuffer.getSurface (); }

	const std::string& getTooltipText () const { return tooltipText; }
	bool isTooltipVisible () const { return tooltipVisible; }

private:
	FrameBackBuffer backBuffer;
	CRect size;
	std::string tooltipText;
	bool tooltipVisible {false};
};
} // VSTGUI
