#pragma once

#include "../crect.h"

#include <functional>
#include <vector>

typedef struct _cairo_surface cairo_surface_t;

namespace VSTGUI
{
class CDrawContext;

// The image a platform frame draws into, with the areas invalidated since it was last drawn.
class FrameBackBuffer
{
public:
	FrameBackBuffer () = default;
	~FrameBackBuffer () noexcept;
	FrameBackBuffer (const FrameBackBuffer&) = delete;
	FrameBackBuffer& operator= (const FrameBackBuffer&) = delete;

	// A new image of the size rounded up to whole pixels (at least one each way), invalid as a whole.
	void resize (const CRect& size);
	int getWidth () const;
	int getHeight () const;
	CRect getBounds () const { return CRect (0, 0, getWidth (), getHeight ()); }

	// Takes the area in whole pixels, clipped to the image. An area that overlaps one already
	// invalid is merged into it, which keeps the list short.
	void invalidate (const CRect& rect);
	void invalidateAll () { dirtyRects.assign (1, getBounds ()); }
	const std::vector<CRect>& getDirtyRects () const { return dirtyRects; }

	using Painter = std::function<void (CDrawContext* context, const CRect& area)>;
	// Hands `paint` a context clipped to each invalid area in turn and leaves nothing invalid;
	// returns the areas it drew.
	std::vector<CRect> draw (const Painter& paint);

	cairo_surface_t* getSurface () const { return surface; }

private:
	cairo_surface_t* surface {nullptr};
	std::vector<CRect> dirtyRects;
};
} // VSTGUI
