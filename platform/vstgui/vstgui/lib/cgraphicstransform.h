#pragma once

#include "crect.h"

#include <cmath>

namespace VSTGUI
{
struct CGraphicsTransform
{
	double m11 {1.};
	double m12 {0.};
	double m21 {0.};
	double m22 {1.};
	double dx {0.};
	double dy {0.};

	constexpr CGraphicsTransform () = default;
	constexpr CGraphicsTransform (double _m11, double _m12, double _m21, double _m22, double _dx, double _dy)
	: m11 (_m11), m12 (_m12), m21 (_m21), m22 (_m22), dx (_dx), dy (_dy)
	{
	}

	// Each operation applies after the ones already in the transform.
	CGraphicsTransform& translate (double x, double y) { return concatFront (CGraphicsTransform (1, 0, 0, 1, x, y)); }
	CGraphicsTransform& translate (const CPoint& p) { return translate (p.x, p.y); }
	CGraphicsTransform& scale (double x, double y) { return concatFront (CGraphicsTransform (x, 0, 0, y, 0, 0)); }
	CGraphicsTransform& scale (const CPoint& p) { return scale (p.x, p.y); }
	CGraphicsTransform& rotate (double angle)
	{
		double rad = angle * M_PI / 180.;
		double c = std::cos (rad);
		double s = std::sin (rad);
		return concatFront (CGraphicsTransform (c, -s, s, c, 0, 0));
	}
	CGraphicsTransform& rotate (double angle, const CPoint& center)
	{
		translate (-center.x, -center.y);
		rotate (angle);
		return translate (center.x, center.y);
	}

	CPoint& transform (CPoint& p) const
	{
		double x = m11 * p.x + m12 * p.y + dx;
		double y = m21 * p.x + m22 * p.y + dy;
		p.x = x;
		p.y = y;
		return p;
	}
	CRect& transform (CRect& r) const
	{
		CPoint lt = r.getTopLeft ();
		CPoint rb = r.getBottomRight ();
		transform (lt);
		transform (rb);
		r = CRect (lt.x, lt.y, rb.x, rb.y);
		return r;
	}
	CPoint transform (const CPoint& p) const
	{
		CPoint result (p);
		return transform (result);
	}
	CRect transform (const CRect& r) const
	{
		CRect result (r);
		return transform (result);
	}

	CGraphicsTransform inverse () const
	{
		double det = m11 * m22 - m12 * m21;
		if (det == 0.)
			return CGraphicsTransform ();
		CGraphicsTransform result;
		result.m11 = m22 / det;
		result.m12 = -m12 / det;
		result.m21 = -m21 / det;
		result.m22 = m11 / det;
		result.dx = (m12 * dy - m22 * dx) / det;
		result.dy = (m21 * dx - m11 * dy) / det;
		return result;
	}

	bool isInvariant () const { return *this == CGraphicsTransform (); }
	bool operator== (const CGraphicsTransform& t) const
	{
		return m11 == t.m11 && m12 == t.m12 && m21 == t.m21 && m22 == t.m22 && dx == t.dx && dy == t.dy;
	}
	bool operator!= (const CGraphicsTransform& t) const { return !(*this == t); }

	// (a * b) maps a point through b first, then through a.
	CGraphicsTransform operator* (const CGraphicsTransform& b) const
	{
		CGraphicsTransform r;
		r.m11 = m11 * b.m11 + m12 * b.m21;
		r.m12 = m11 * b.m12 + m12 * b.m22;
		r.m21 = m21 * b.m11 + m22 * b.m21;
		r.m22 = m21 * b.m12 + m22 * b.m22;
		r.dx = m11 * b.dx + m12 * b.dy + dx;
		r.dy = m21 * b.dx + m22 * b.dy + dy;
		return r;
	}
	CGraphicsTransform& operator*= (const CGraphicsTransform& other)
	{
		*this = *this * other;
		return *this;
	}

private:
	CGraphicsTransform& concatFront (const CGraphicsTransform& t)
	{
		*this = t * *this;
		return *this;
	}
};
} // VSTGUI
