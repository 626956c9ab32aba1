#pragma once

#include "cbitmap.h"
#include "ccolor.h"
#include "cdrawdefs.h"
#include "cfont.h"
#include "cgradient.h"
#include "cgraphicspath.h"
#include "cgraphicstransform.h"
#include "cstring.h"
#include "vstguifwd.h"

#include <stack>
#include <vector>

typedef struct _cairo cairo_t;

namespace VSTGUI
{
// Draws on a cairo surface. Clip rectangles are kept in device space, so they follow the
// transform that was current when they were set.
class CDrawContext : public AtomicReferenceCounted
{
public:
	using LineList = std::vector<std::pair<CPoint, CPoint>>;
	using PointList = std::vector<CPoint>;

	enum PathDrawMode
	{
		kPathFilled,
		kPathFilledEvenOdd,
		kPathStroked
	};

	CDrawContext (cairo_surface_t* surface, const CRect& surfaceRect, double scaleFactor = 1.);
	~CDrawContext () noexcept override;

	virtual void drawLine (const std::pair<CPoint, CPoint>& line);
	void drawLine (const CPoint& start, const CPoint& end) { drawLine (std::make_pair (start, end)); }
	virtual void drawLines (const LineList& lines);
	virtual void drawPolygon (const PointList& polygonPointList, const CDrawStyle drawStyle = kDrawStroked);
	virtual void drawRect (const CRect& rect, const CDrawStyle drawStyle = kDrawStroked);
	virtual void drawArc (const CRect& rect, const float startAngle1, const float endAngle2,
	                      const CDrawStyle drawStyle = kDrawStroked);
	virtual void drawEllipse (const CRect& rect, const CDrawStyle drawStyle = kDrawStroked);
	virtual void drawPoint (const CPoint& point, const CColor& color);
	virtual void drawBitmap (CBitmap* bitmap, const CRect& dest, const CPoint& offset = CPoint (0, 0), float alpha = 1.f);
	virtual void clearRect (const CRect& rect);

	virtual void setLineStyle (const CLineStyle& style);
	const CLineStyle& getLineStyle () const { return currentState.lineStyle; }
	virtual void setLineWidth (CCoord width);
	CCoord getLineWidth () const { return currentState.frameWidth; }
	virtual void setDrawMode (CDrawMode mode);
	CDrawMode getDrawMode () const { return currentState.drawMode; }
	virtual void setClipRect (const CRect& clip);
	CRect& getClipRect (CRect& clip) const;
	virtual void resetClipRect ();
	virtual void setFillColor (const CColor& color);
	CColor getFillColor () const { return currentState.fillColor; }
	virtual void setFrameColor (const CColor& color);
	CColor getFrameColor () const { return currentState.frameColor; }
	virtual void setFontColor (const CColor& color);
	CColor getFontColor () const { return currentState.fontColor; }
	virtual void setFont (const CFontRef font, const CCoord& size = 0, const int32_t& style = -1);
	CFontRef getFont () const { return currentState.font; }
	virtual void setGlobalAlpha (float newAlpha);
	float getGlobalAlpha () const { return currentState.globalAlpha; }
	void setBitmapInterpolationQuality (BitmapInterpolationQuality quality);
	BitmapInterpolationQuality getBitmapInterpolationQuality () const { return currentState.bitmapQuality; }

	virtual void saveGlobalState ();
	virtual void restoreGlobalState ();

	virtual CCoord getStringWidth (UTF8StringPtr string);
	virtual void drawString (UTF8StringPtr string, const CRect& rect, const CHoriTxtAlign hAlign = kCenterText,
	                         bool antialias = true);
	virtual void drawString (UTF8StringPtr string, const CPoint& position, bool antialias = true);

	CGraphicsPath* createGraphicsPath ();
	void drawGraphicsPath (CGraphicsPath* path, PathDrawMode mode = kPathFilled,
	                       CGraphicsTransform* transformation = nullptr);
	void fillLinearGradient (CGraphicsPath* path, const CGradient& gradient, const CPoint& startPoint,
	                         const CPoint& endPoint, bool evenOdd = false,
	                         CGraphicsTransform* transformation = nullptr);
	void fillRadialGradient (CGraphicsPath* path, const CGradient& gradient, const CPoint& center, CCoord radius,
	                         const CPoint& originOffset = CPoint (0, 0), bool evenOdd = false,
	                         CGraphicsTransform* transformation = nullptr);

	const CGraphicsTransform& getCurrentTransform () const;
	const CRect& getAbsoluteClipRect () const { return currentState.clipRect; }
	double getScaleFactor () const { return scaleFactor; }
	const CRect& getSurfaceRect () const { return surfaceRect; }
	cairo_t* getCairo () const { return cr; }

	// Concatenates a transform for the lifetime of the object.
	class Transform
	{
	public:
		Transform (CDrawContext& context, const CGraphicsTransform& transformation);
		~Transform () noexcept;

	private:
		CDrawContext& context;
		bool pushed;
	};

	void init ();

protected:
	void pushTransform (const CGraphicsTransform& transformation);
	void popTransform ();

	// Prepares cairo for one drawing call: device clip, then the current transform.
	bool begin ();
	void end ();
	void applySource (const CColor& color);
	void applyLineState ();
	// Replaces a context that failed with a fresh one on the same surface.
	void recoverFromError ();
	// Pixel alignment for aliased, integral drawing.
	CRect alignRect (const CRect& r, bool stroked) const;
	CPoint alignPoint (const CPoint& p) const;

	struct State
	{
		SharedPointer<CFontDesc> font;
		CColor frameColor {kWhiteCColor};
		CColor fillColor {kBlackCColor};
		CColor fontColor {kWhiteCColor};
		CCoord frameWidth {1.};
		CLineStyle lineStyle {kLineSolid};
		CDrawMode drawMode {kAliasing};
		CRect clipRect;
		float globalAlpha {1.f};
		BitmapInterpolationQuality bitmapQuality {BitmapInterpolationQuality::kDefault};
	};

	cairo_t* cr {nullptr};
	cairo_surface_t* target {nullptr};
	CRect surfaceRect;
	double scaleFactor {1.};
	State currentState;
	std::stack<State> globalStatesStack;
	std::stack<CGraphicsTransform> transformStack;
};
} // VSTGUI
