#pragma once

#include "../ccolor.h"
#include "iplatformframe.h"

#include <string>
#include <vector>

typedef struct _cairo_surface cairo_surface_t;

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
	const std::vector<CRect>& getDirtyRects () const { return dirtyRects; }
	CColor getPixel (int x, int y) const;
	bool writePNG (const std::string& path);
	cairo_surface_t* getSurface () const { return surface; }

	const std::string& getTooltipText () const { return tooltipText; }
	bool isTooltipVisible () const { return tooltipVisible; }

private:
	cairo_surface_t* surface {nullptr};
	CRect size;
	std::vector<CRect> dirtyRects;
	std::string tooltipText;
	bool tooltipVisible {false};
};
} // VSTGUI
