#pragma once

#include "cpoint.h"

#include <algorithm>
#include <cmath>

namespace VSTGUI
{
struct CRect
{
	constexpr CRect () = default;
	constexpr CRect (CCoord left, CCoord top, CCoord right, CCoord bottom)
	: left (left), top (top), right (right), bottom (bottom)
	{
	}
	constexpr CRect (const CPoint& origin, const CPoint& size)
	: left (origin.x), top (origin.y), right (origin.x + size.x), bottom (origin.y + size.y)
	{
	}

	CRect& operator() (CCoord l, CCoord t, CCoord r, CCoord b)
	{
		left = std::min (l, r);
		right = std::max (l, r);
		top = std::min (t, b);
		bottom = std::max (t, b);
		return *this;
	}

	bool operator== (const CRect& rc) const
	{
		return left == rc.left && top == rc.top && right == rc.right && bottom == rc.bottom;
	}
	bool operator!= (const CRect& rc) const { return !(*this == rc); }

	CCoord getWidth () const { return right - left; }
	CCoord getHeight () const { return bottom - top; }
	CRect& setWidth (CCoord width)
	{
		right = left + width;
		return *this;
	}
	CRect& setHeight (CCoord height)
	{
		bottom = top + height;
		return *this;
	}

	CPoint getTopLeft () const { return CPoint (left, top); }
	CPoint getTopRight () const { return CPoint (right, top); }
	CPoint getBottomLeft () const { return CPoint (left, bottom); }
	CPoint getBottomRight () const { return CPoint (right, bottom); }
	CPoint getTopCenter () const { return CPoint (left + getWidth () / 2., top); }
	CPoint getBottomCenter () const { return CPoint (left + getWidth () / 2., bottom); }
	CPoint getLeftCenter () const { return CPoint (left, top + getHeight () / 2.); }
	CPoint getRightCenter () const { return CPoint (right, top + getHeight () / 2.); }
	CPoint getCenter () const { return CPoint (left + getWidth () / 2., top + getHeight () / 2.); }
	CPoint getSize () const { return CPoint (getWidth (), getHeight ()); }

	CRect& setTopLeft (const CPoint& p)
	{
		left = p.x;
		top = p.y;
		return *this;
	}
	CRect& setTopRight (const CPoint& p)
	{
		right = p.x;
		top = p.y;
		return *this;
	}
	CRect& setBottomLeft (const CPoint& p)
	{
		left = p.x;
		bottom = p.y;
		return *this;
	}
	CRect& setBottomRight (const CPoint& p)
	{
		right = p.x;
		bottom = p.y;
		return *this;
	}
	CRect& setSize (const CPoint& size)
	{
		setWidth (size.x);
		return setHeight (size.y);
	}

	CRect& offset (CCoord x, CCoord y)
	{
		left += x;
		right += x;
		top += y;
		bottom += y;
		return *this;
	}
	CRect& offset (const CPoint& p) { return offset (p.x, p.y); }
	CRect& offsetInverse (const CPoint& p) { return offset (-p.x, -p.y); }
	CRect& moveTo (CCoord x, CCoord y)
	{
		CCoord w = getWidth ();
		CCoord h = getHeight ();
		left = x;
		top = y;
		right = x + w;
		bottom = y + h;
		return *this;
	}
	CRect& moveTo (const CPoint& p) { return moveTo (p.x, p.y); }
	CRect& inset (CCoord deltaX, CCoord deltaY)
	{
		left += deltaX;
		right -= deltaX;
		top += deltaY;
		bottom -= deltaY;
		return *this;
	}
	CRect& inset (const CPoint& p) { return inset (p.x, p.y); }
	CRect& extend (CCoord deltaX, CCoord deltaY) { return inset (-deltaX, -deltaY); }
	CRect& extend (const CPoint& p) { return extend (p.x, p.y); }
	CRect& originize () { return offset (-left, -top); }
	CRect& centerInside (const CRect& r)
	{
		CPoint cp = r.getCenter ();
		CPoint cp2 = getCenter ();
		return offset (cp.x - cp2.x, cp.y - cp2.y);
	}

	// Intersection; an empty result keeps its origin inside the other rectangle.
	CRect& bound (const CRect& rc)
	{
		if (left < rc.left)
			left = rc.left;
		if (top < rc.top)
			top = rc.top;
		if (right > rc.right)
			right = rc.right;
		if (bottom > rc.bottom)
			bottom = rc.bottom;
		if (bottom < top)
			bottom = top;
		if (right < left)
			right = left;
		return *this;
	}
	CRect& unite (const CRect& rc)
	{
		left = std::min (left, rc.left);
		top = std::min (top, rc.top);
		right = std::max (right, rc.right);
		bottom = std::max (bottom, rc.bottom);
		return *this;
	}
	CRect& normalize ()
	{
		if (left > right)
			std::swap (left, right);
		if (top > bottom)
			std::swap (top, bottom);
		return *this;
	}
	CRect& makeIntegral ()
	{
		left = std::floor (left);
		top = std::floor (top);
		right = std::ceil (right);
		bottom = std::ceil (bottom);
		return *this;
	}

	bool pointInside (const CPoint& p) const { return p.x >= left && p.x < right && p.y >= top && p.y < bottom; }
	bool rectOverlap (const CRect& rc) const
	{
		if (right < rc.left || left > rc.right)
			return false;
		if (bottom < rc.top || top > rc.bottom)
			return false;
		return true;
	}
	bool isEmpty () const { return right <= left || bottom <= top; }

	CCoord left {0.};
	CCoord top {0.};
	CCoord right {0.};
	CCoord bottom {0.};
};
} // VSTGUI
