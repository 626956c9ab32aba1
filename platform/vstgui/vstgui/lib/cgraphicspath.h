#pragma once

#include "cgraphicstransform.h"
#include "crect.h"
#include "vstguifwd.h"

#include <vector>

typedef struct _cairo cairo_t;

namespace VSTGUI
{
class CGraphicsPath : public AtomicReferenceCounted
{
public:
	void addArc (const CRect& rect, double startAngle, double endAngle, bool clockwise);
	void addEllipse (const CRect& rect);
	void addRect (const CRect& rect);
	void addRoundRect (const CRect& size, CCoord radius);
	void addLine (const CPoint& to);
	void addLine (CCoord x, CCoord y) { addLine (CPoint (x, y)); }
	void addBezierCurve (const CPoint& control1, const CPoint& control2, const CPoint& end);
	void beginSubpath (const CPoint& start);
	void beginSubpath (CCoord x, CCoord y) { beginSubpath (CPoint (x, y)); }
	void closeSubpath ();
	void addPath (const CGraphicsPath& path, CGraphicsTransform* transformation = nullptr);

	CPoint getCurrentPosition ();
	CRect getBoundingBox ();

	// Replays the path on a cairo context in its current user space.
	void replay (cairo_t* cr) const;

protected:
	friend class CDrawContext;
	CGraphicsPath () = default;

private:
	struct Element
	{
		enum Type
		{
			kBegin,
			kLine,
			kBezier,
			kArc,
			kEllipse,
			kRect,
			kRoundRect,
			kClose
		} type;
		CRect rect;
		CPoint p1, p2, p3;
		double a1 {0.}, a2 {0.};
		bool clockwise {false};
	};
	std::vector<Element> elements;
	bool hasCurrentPoint {false};
	CPoint subpathStart;
	CPoint currentPoint;
};
} // VSTGUI
