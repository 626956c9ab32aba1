#pragma once

#include "cpoint.h"
#include "crect.h"
#include "cresourcedescription.h"
#include "vstguifwd.h"

#include <string>
#include <vector>

typedef struct _cairo_surface cairo_surface_t;

namespace VSTGUI
{
class CBitmap : public AtomicReferenceCounted
{
public:
	explicit CBitmap (const CResourceDescription& desc);
	CBitmap (CCoord width, CCoord height);
	CBitmap (CPoint size, double scaleFactor = 1.);
	// Takes over one reference of an image surface; scaleFactor is pixels per point.
	CBitmap (cairo_surface_t* surface, double scaleFactor = 1.);
	~CBitmap () noexcept override;

	virtual void draw (CDrawContext* context, const CRect& rect, const CPoint& offset = CPoint (0, 0), float alpha = 1.f);

	CCoord getWidth () const;
	CCoord getHeight () const;
	CPoint getSize () const { return CPoint (getWidth (), getHeight ()); }
	bool isLoaded () const { return surface != nullptr; }
	const CResourceDescription& getResourceDescription () const { return resourceDesc; }

	cairo_surface_t* getPlatformSurface () const { return surface; }
	double getScaleFactor () const { return scaleFactor; }
	// The pixels of `region` (whole device pixels) when the image is drawn scaled by (sx, sy)
	// with a cairo filter and its top left at `origin` (device pixels). Only that region is
	// resampled, and it is kept for the next draw at the same scale and place.
	cairo_surface_t* getScaledRegion (double sx, double sy, int filter, const CPoint& origin, const CRect& region) const;

	// Decodes a PNG image held in memory; null when the bytes are not a PNG.
	static CBitmap* createFromPNGData (const void* data, size_t size, double scaleFactor = 1.);
	// Where named resources are looked up; empty (the default) means there are none.
	static void setResourceDirectory (const std::string& path);
	static const std::string& getResourceDirectory ();

protected:
	CBitmap (const CBitmap&) = delete;

private:
	CResourceDescription resourceDesc;
	std::string resourceName;
	cairo_surface_t* surface {nullptr};
	double scaleFactor {1.};
	struct ScaledRegion
	{
		double sx, sy;
		int filter;
		CPoint phase;  // the origin's fraction of a pixel
		CRect region;  // relative to the origin's whole pixel
		cairo_surface_t* surface;
		uint64_t lastUse;
	};
	void dropScaledRegions (size_t keep) const;
	mutable std::vector<ScaledRegion> scaledRegions;
	mutable uint64_t scaledUses {0};
};
} // VSTGUI
