#include "vstgui/lib/cbitmap.h"
#include "vstgui/lib/ccolor.h"
#include "vstgui/lib/cdrawcontext.h"
#include "vstgui/lib/cfont.h"
#include "vstgui/lib/cgradient.h"
#include "vstgui/lib/cgraphicspath.h"

#include "fontcaches.h"
#include "fontfallback.h"
#include "textmetrics.h"
#include "vstguilog.h"

#include <cairo/cairo.h>
#include <fontconfig/fontconfig.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <vector>

namespace VSTGUI
{
//------------------------------------------------------------------------------------------------
// Colour

namespace
{
int hexDigit (char c)
{
	if (c >= '0' && c <= '9')
		return c - '0';
	if (c >= 'a' && c <= 'f')
		return c - 'a' + 10;
	if (c >= 'A' && c <= 'F')
		return c - 'A' + 10;
	return -1;
}
}

bool CColor::fromString (UTF8StringPtr str)
{
	if (str == nullptr || std::strlen (str) != 9 || str[0] != '#')
		return false;
	uint8_t v[4];
	for (int i = 0; i < 4; ++i)
	{
		int hi = hexDigit (str[1 + i * 2]);
		int lo = hexDigit (str[2 + i * 2]);
		if (hi < 0 || lo < 0)
			return false;
		v[i] = static_cast<uint8_t> (hi * 16 + lo);
	}
	*this = CColor (v[0], v[1], v[2], v[3]);
	return true;
}

std::string CColor::toString () const
{
	char buffer[10];
	std::snprintf (buffer, sizeof (buffer), "#%02x%02x%02x%02x", red, green, blue, alpha);
	return buffer;
}

//------------------------------------------------------------------------------------------------
// Fonts

CFontDesc::CFontDesc (const UTF8String& name, const CCoord& size, const int32_t style)
: name (name), size (size), style (style)
{
}

CFontDesc::CFontDesc (const CFontDesc& font)
: IReference (), AtomicReferenceCounted (), name (font.name), size (font.size), style (font.style)
{
}

CFontDesc& CFontDesc::operator= (const CFontDesc& f)
{
	setName (f.getName ());
	setSize (f.getSize ());
	setStyle (f.getStyle ());
	return *this;
}

bool CFontDesc::operator== (const CFontDesc& f) const
{
	return name == f.name && size == f.size && style == f.style;
}

namespace
{
// Built-in fonts live as long as the image that holds the toolkit: a plug-in that is unloaded drops their
// first references then.
CFontRef builtinFont (const char* name, CCoord size)
{
	struct Fonts
	{
		std::vector<CFontRef> all;
		~Fonts ()
		{
			for (CFontRef font : all)
				font->forget ();
		}
	};
	static Fonts fonts;
	fonts.all.push_back (new CFontDesc (name, size, 0));
	return fonts.all.back ();
}
}

const CFontRef kSystemFont = builtinFont ("Arial", 12);
const CFontRef kNormalFontVeryBig = builtinFont ("Arial", 18);
const CFontRef kNormalFontBig = builtinFont ("Arial", 14);
const CFontRef kNormalFont = builtinFont ("Arial", 12);
const CFontRef kNormalFontSmall = builtinFont ("Arial", 11);
const CFontRef kNormalFontSmaller = builtinFont ("Arial", 10);
const CFontRef kNormalFontVerySmall = builtinFont ("Arial", 9);
const CFontRef kSymbolFont = builtinFont ("Symbol", 12);

const CLineStyle kLineSolid;
const CLineStyle kLineOnOffDash (CLineStyle::kLineCapButt, CLineStyle::kLineJoinMiter, 0., {1., 1.});

//------------------------------------------------------------------------------------------------
// Bitmaps

namespace
{
std::string& resourceDirectory ()
{
	static std::string dir;
	return dir;
}

constexpr uint64_t kMaxImageSide = 16384;
constexpr uint64_t kMaxImagePixels = uint64_t (1) << 26;

struct PngReader
{
	const uint8_t* data;
	size_t size;
	size_t pos;
};

cairo_status_t readPng (void* closure, unsigned char* out, unsigned int length)
{
	auto* reader = static_cast<PngReader*> (closure);
	if (reader->size - reader->pos < length)
		return CAIRO_STATUS_READ_ERROR;
	std::memcpy (out, reader->data + reader->pos, length);
	reader->pos += length;
	return CAIRO_STATUS_SUCCESS;
}

cairo_surface_t* decodePng (const void* data, size_t size)
{
	static const uint8_t signature[8] = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
	if (data == nullptr || size < 24 || std::memcmp (data, signature, 8) != 0)
		return nullptr;
	// The header chunk comes first; images too big to hold are refused before any allocation.
	const auto* bytes = static_cast<const uint8_t*> (data);
	auto be32 = [bytes] (size_t at) {
		return uint32_t (bytes[at]) << 24 | uint32_t (bytes[at + 1]) << 16 | uint32_t (bytes[at + 2]) << 8 | bytes[at + 3];
	};
	const uint64_t width = be32 (16);
	const uint64_t height = be32 (20);
	if (std::memcmp (bytes + 12, "IHDR", 4) != 0 || width == 0 || height == 0 || width > kMaxImageSide ||
	    height > kMaxImageSide || width * height > kMaxImagePixels)
		return nullptr;
	PngReader reader {static_cast<const uint8_t*> (data), size, 0};
	cairo_surface_t* surface = cairo_image_surface_create_from_png_stream (readPng, &reader);
	if (cairo_surface_status (surface) != CAIRO_STATUS_SUCCESS)
	{
		cairo_surface_destroy (surface);
		return nullptr;
	}
	return surface;
}
}

CBitmap::CBitmap (const CResourceDescription& desc) : resourceDesc (desc)
{
	if (desc.type == CResourceDescription::kStringType && desc.u.name)
		resourceName = desc.u.name;
	resourceDesc.u.name = resourceName.c_str ();
	if (resourceName.empty () || resourceDirectory ().empty ())
		return;
	std::filesystem::path path = std::filesystem::path (resourceDirectory ()) / resourceName;
	std::error_code ec;
	if (!std::filesystem::is_regular_file (path, ec))
		return;
	cairo_surface_t* s = cairo_image_surface_create_from_png (path.c_str ());
	if (cairo_surface_status (s) == CAIRO_STATUS_SUCCESS)
		surface = s;
	else
		cairo_surface_destroy (s);
}

CBitmap::CBitmap (CCoord width, CCoord height) : CBitmap (CPoint (width, height))
{
}

CBitmap::CBitmap (CPoint size, double scale) : scaleFactor (scale)
{
	int w = static_cast<int> (std::ceil (size.x * scale));
	int h = static_cast<int> (std::ceil (size.y * scale));
	surface = cairo_image_surface_create (CAIRO_FORMAT_ARGB32, std::max (w, 0), std::max (h, 0));
}

CBitmap::CBitmap (cairo_surface_t* s, double scale) : surface (s), scaleFactor (scale > 0. ? scale : 1.)
{
}

CBitmap::~CBitmap () noexcept
{
	dropScaledRegions (0);
	if (surface)
		cairo_surface_destroy (surface);
}

namespace
{
// A bitmap keeps a few scaled regions: the frames of a strip in use, the last zooms of a window
// being resized; never more pixels than about two copies of the image.
constexpr size_t kMaxScaledRegions = 16;

size_t pixelsOf (cairo_surface_t* s)
{
	return static_cast<size_t> (cairo_image_surface_get_width (s)) * static_cast<size_t> (cairo_image_surface_get_height (s));
}
}

void CBitmap::dropScaledRegions (size_t keep) const
{
	const size_t budget = surface ? 2 * pixelsOf (surface) : 0;
	auto total = [this] {
		size_t n = 0;
		for (const auto& r : scaledRegions)
			n += pixelsOf (r.surface);
		return n;
	};
	while (scaledRegions.size () > keep || (scaledRegions.size () > 1 && total () > budget))
	{
		auto oldest = std::min_element (scaledRegions.begin (), scaledRegions.end (),
		                                [] (const ScaledRegion& a, const ScaledRegion& b) { return a.lastUse < b.lastUse; });
		cairo_surface_destroy (oldest->surface);
		scaledRegions.erase (oldest);
	}
}

cairo_surface_t* CBitmap::getScaledRegion (double sx, double sy, int filter, const CPoint& origin, const CRect& region) const
{
	if (surface == nullptr || region.isEmpty ())
		return nullptr;
	const CPoint whole (std::floor (origin.x), std::floor (origin.y));
	const CPoint phase (origin.x - whole.x, origin.y - whole.y);
	CRect relative (region);
	relative.offset (-whole.x, -whole.y);
	for (auto& r : scaledRegions)
	{
		if (r.sx == sx && r.sy == sy && r.filter == filter && r.phase == phase && r.region == relative)
		{
			r.lastUse = ++scaledUses;
			return r.surface;
		}
	}
	cairo_surface_t* scaled = cairo_image_surface_create (CAIRO_FORMAT_ARGB32, static_cast<int> (region.getWidth ()),
	                                                      static_cast<int> (region.getHeight ()));
	cairo_t* cr = cairo_create (scaled);
	cairo_translate (cr, origin.x - region.left, origin.y - region.top);
	cairo_scale (cr, sx, sy);
	cairo_set_source_surface (cr, surface, 0, 0);
	cairo_pattern_set_filter (cairo_get_source (cr), static_cast<cairo_filter_t> (filter));
	cairo_pattern_set_extend (cairo_get_source (cr), CAIRO_EXTEND_PAD);
	cairo_set_operator (cr, CAIRO_OPERATOR_SOURCE);
	cairo_paint (cr);
	cairo_destroy (cr);
	scaledRegions.push_back ({sx, sy, filter, phase, relative, scaled, ++scaledUses});
	dropScaledRegions (kMaxScaledRegions);
	return scaled;
}

CBitmap* CBitmap::createFromPNGData (const void* data, size_t size, double scale)
{
	cairo_surface_t* s = decodePng (data, size);
	return s ? new CBitmap (s, scale) : nullptr;
}

void CBitmap::setResourceDirectory (const std::string& path)
{
	resourceDirectory () = path;
}

const std::string& CBitmap::getResourceDirectory ()
{
	return resourceDirectory ();
}

CCoord CBitmap::getWidth () const
{
	return surface ? cairo_image_surface_get_width (surface) / scaleFactor : 0.;
}

CCoord CBitmap::getHeight () const
{
	return surface ? cairo_image_surface_get_height (surface) / scaleFactor : 0.;
}

void CBitmap::draw (CDrawContext* context, const CRect& rect, const CPoint& offset, float alpha)
{
	if (context == nullptr)
		return;
	CRect clip;
	context->getClipRect (clip);
	CRect bounded (rect);
	bounded.bound (clip);
	if (bounded.isEmpty ())
		return;
	context->saveGlobalState ();
	context->setClipRect (bounded);
	context->drawBitmap (this, rect, offset, alpha);
	context->restoreGlobalState ();
}

//------------------------------------------------------------------------------------------------
// Gradients

CGradient* CGradient::create (const ColorStopMap& colorStopMap)
{
	return new CGradient (colorStopMap);
}

CGradient* CGradient::create (double color1Start, double color2Start, const CColor& color1, const CColor& color2)
{
	ColorStopMap map;
	map.emplace (color1Start, color1);
	map.emplace (color2Start, color2);
	return new CGradient (map);
}

//------------------------------------------------------------------------------------------------
// Paths

void CGraphicsPath::beginSubpath (const CPoint& start)
{
	Element e {Element::kBegin, {}, start, {}, {}};
	elements.push_back (e);
	hasCurrentPoint = true;
	subpathStart = currentPoint = start;
}

void CGraphicsPath::addLine (const CPoint& to)
{
	// A line needs a start; without one it begins the subpath instead, as cairo would.
	if (!hasCurrentPoint)
	{
		beginSubpath (to);
		return;
	}
	Element e {Element::kLine, {}, to, {}, {}};
	elements.push_back (e);
	currentPoint = to;
}

void CGraphicsPath::addBezierCurve (const CPoint& c1, const CPoint& c2, const CPoint& end)
{
	if (!hasCurrentPoint)
		beginSubpath (c1);
	Element e {Element::kBezier, {}, c1, c2, end};
	elements.push_back (e);
	currentPoint = end;
}

void CGraphicsPath::closeSubpath ()
{
	Element e {Element::kClose, {}, {}, {}, {}};
	elements.push_back (e);
	currentPoint = subpathStart;
}

void CGraphicsPath::addArc (const CRect& rect, double startAngle, double endAngle, bool clockwise)
{
	Element e {Element::kArc, rect, {}, {}, {}};
	e.a1 = startAngle;
	e.a2 = endAngle;
	e.clockwise = clockwise;
	elements.push_back (e);
	CPoint c = rect.getCenter ();
	double rad = endAngle * M_PI / 180.;
	currentPoint = CPoint (c.x + std::cos (rad) * rect.getWidth () / 2., c.y + std::sin (rad) * rect.getHeight () / 2.);
	hasCurrentPoint = true;
}

void CGraphicsPath::addEllipse (const CRect& rect)
{
	Element e {Element::kEllipse, rect, {}, {}, {}};
	elements.push_back (e);
}

void CGraphicsPath::addRect (const CRect& rect)
{
	Element e {Element::kRect, rect, {}, {}, {}};
	elements.push_back (e);
}

void CGraphicsPath::addRoundRect (const CRect& rect, CCoord radius)
{
	Element e {Element::kRoundRect, rect, {}, {}, {}};
	e.a1 = radius;
	elements.push_back (e);
}

void CGraphicsPath::addPath (const CGraphicsPath& path, CGraphicsTransform* t)
{
	for (auto e : path.elements)
	{
		if (t)
		{
			t->transform (e.p1);
			t->transform (e.p2);
			t->transform (e.p3);
			t->transform (e.rect);
			e.rect.normalize ();
		}
		elements.push_back (e);
	}
	currentPoint = path.currentPoint;
	hasCurrentPoint = hasCurrentPoint || path.hasCurrentPoint;
}

CPoint CGraphicsPath::getCurrentPosition ()
{
	return currentPoint;
}

CRect CGraphicsPath::getBoundingBox ()
{
	cairo_surface_t* s = cairo_image_surface_create (CAIRO_FORMAT_A8, 1, 1);
	cairo_t* cr = cairo_create (s);
	replay (cr);
	double x1, y1, x2, y2;
	cairo_path_extents (cr, &x1, &y1, &x2, &y2);
	cairo_destroy (cr);
	cairo_surface_destroy (s);
	return CRect (x1, y1, x2, y2);
}

void CGraphicsPath::replay (cairo_t* cr) const
{
	for (const auto& e : elements)
	{
		switch (e.type)
		{
			case Element::kBegin:
				cairo_move_to (cr, e.p1.x, e.p1.y);
				break;
			case Element::kLine:
				cairo_line_to (cr, e.p1.x, e.p1.y);
				break;
			case Element::kBezier:
				cairo_curve_to (cr, e.p1.x, e.p1.y, e.p2.x, e.p2.y, e.p3.x, e.p3.y);
				break;
			case Element::kClose:
				cairo_close_path (cr);
				break;
			case Element::kRect:
				cairo_rectangle (cr, e.rect.left, e.rect.top, e.rect.getWidth (), e.rect.getHeight ());
				break;
			case Element::kEllipse:
			case Element::kArc:
			{
				double w = e.rect.getWidth () / 2.;
				double h = e.rect.getHeight () / 2.;
				if (w <= 0. || h <= 0.)
					break;
				CPoint c = e.rect.getCenter ();
				cairo_save (cr);
				cairo_translate (cr, c.x, c.y);
				cairo_scale (cr, w, h);
				if (e.type == Element::kEllipse)
				{
					cairo_new_sub_path (cr);
					cairo_arc (cr, 0, 0, 1, 0, 2 * M_PI);
					cairo_close_path (cr);
				}
				else if (e.clockwise)
					cairo_arc (cr, 0, 0, 1, e.a1 * M_PI / 180., e.a2 * M_PI / 180.);
				else
					cairo_arc_negative (cr, 0, 0, 1, e.a1 * M_PI / 180., e.a2 * M_PI / 180.);
				cairo_restore (cr);
				break;
			}
			case Element::kRoundRect:
			{
				const CRect& r = e.rect;
				double radius = std::min ({e.a1, r.getWidth () / 2., r.getHeight () / 2.});
				cairo_new_sub_path (cr);
				cairo_arc (cr, r.right - radius, r.top + radius, radius, -M_PI / 2, 0);
				cairo_arc (cr, r.right - radius, r.bottom - radius, radius, 0, M_PI / 2);
				cairo_arc (cr, r.left + radius, r.bottom - radius, radius, M_PI / 2, M_PI);
				cairo_arc (cr, r.left + radius, r.top + radius, radius, M_PI, 3 * M_PI / 2);
				cairo_close_path (cr);
				break;
			}
		}
	}
}

//------------------------------------------------------------------------------------------------
// Draw context

namespace
{
// The font caches of cairo and fontconfig are process-wide; they are given back when the image that
// holds the toolkit goes (at exit, or when a host unloads the plug-in) so that leak checkers see only
// what the program itself forgot. A static object, not atexit: its release stays with the image.
struct FontCaches
{
	~FontCaches ()
	{
		cairo_debug_reset_static_data ();
		FcFini ();
	}
};

}

void Detail::holdFontCaches ()
{
	static FontCaches caches;
}

bool Detail::fontFamilyInstalled (const std::string& family)
{
	holdFontCaches ();
	FcPattern* pattern = FcPatternCreate ();
	FcPatternAddString (pattern, FC_FAMILY, reinterpret_cast<const FcChar8*> (family.c_str ()));
	FcObjectSet* properties = FcObjectSetBuild (FC_FAMILY, nullptr);
	FcFontSet* found = FcFontList (nullptr, pattern, properties);
	const bool installed = found && found->nfont > 0;
	if (found)
		FcFontSetDestroy (found);
	FcObjectSetDestroy (properties);
	FcPatternDestroy (pattern);
	return installed;
}

namespace
{
cairo_matrix_t toCairo (const CGraphicsTransform& t)
{
	cairo_matrix_t m;
	cairo_matrix_init (&m, t.m11, t.m21, t.m12, t.m22, t.dx, t.dy);
	return m;
}

cairo_filter_t filterFor (BitmapInterpolationQuality q)
{
	switch (q)
	{
		case BitmapInterpolationQuality::kLow:
			return CAIRO_FILTER_FAST;
		case BitmapInterpolationQuality::kMedium:
			return CAIRO_FILTER_BILINEAR;
		case BitmapInterpolationQuality::kHigh:
			return CAIRO_FILTER_GOOD;
		case BitmapInterpolationQuality::kDefault:
			break;
	}
	return CAIRO_FILTER_GOOD;
}

void selectFont (cairo_t* cr, const CFontDesc& font)
{
	Detail::holdFontCaches ();
	const int32_t style = font.getStyle ();
	cairo_select_font_face (cr, font.getName ().data (),
	                        (style & kItalicFace) ? CAIRO_FONT_SLANT_ITALIC : CAIRO_FONT_SLANT_NORMAL,
	                        (style & kBoldFace) ? CAIRO_FONT_WEIGHT_BOLD : CAIRO_FONT_WEIGHT_NORMAL);
	cairo_set_font_size (cr, font.getSize ());
}

// Measures, and with `draw` shows at the current point, the text run by run in families that
// have its characters; returns the advance.
double layoutText (cairo_t* cr, const CFontDesc& font, const char* text, bool draw)
{
	Detail::holdFontCaches ();
	const int32_t style = font.getStyle ();
	const bool bold = (style & kBoldFace) != 0;
	const bool italic = (style & kItalicFace) != 0;
	double advance = 0.;
	for (const auto& run : Detail::splitByFontCoverage (text, font.getName ().getString (), bold, italic))
	{
		cairo_select_font_face (cr, run.family.empty () ? font.getName ().data () : run.family.c_str (),
		                        italic ? CAIRO_FONT_SLANT_ITALIC : CAIRO_FONT_SLANT_NORMAL,
		                        bold ? CAIRO_FONT_WEIGHT_BOLD : CAIRO_FONT_WEIGHT_NORMAL);
		cairo_set_font_size (cr, font.getSize ());
		cairo_text_extents_t ext;
		cairo_text_extents (cr, run.text.c_str (), &ext);
		if (draw)
			cairo_show_text (cr, run.text.c_str ());
		advance += ext.x_advance;
	}
	return advance;
}
}

CCoord Detail::stringWidth (const CFontDesc& font, const std::string& text, double scale)
{
	struct Measure
	{
		Measure ()
		{
			surface = cairo_image_surface_create (CAIRO_FORMAT_A8, 1, 1);
			cr = cairo_create (surface);
		}
		~Measure ()
		{
			cairo_destroy (cr);
			cairo_surface_destroy (surface);
		}
		cairo_surface_t* surface;
		cairo_t* cr;
	};
	static thread_local Measure measure;
	cairo_identity_matrix (measure.cr);
	if (scale > 0.)
		cairo_scale (measure.cr, scale, scale);
	const double advance = layoutText (measure.cr, font, text.c_str (), false);
	// A failed context measures every later text as 0 wide; the thread's one is made anew instead.
	if (cairo_status (measure.cr) != CAIRO_STATUS_SUCCESS)
	{
		VSTGUI_LOG ("Measuring text failed: " << cairo_status_to_string (cairo_status (measure.cr)));
		cairo_destroy (measure.cr);
		measure.cr = cairo_create (measure.surface);
		return 0.;
	}
	return advance;
}

CDrawContext::CDrawContext (cairo_surface_t* surface, const CRect& rect, double scale)
: target (cairo_surface_reference (surface)), surfaceRect (rect), scaleFactor (scale)
{
	cr = cairo_create (surface);
	transformStack.push (CGraphicsTransform ().scale (scale, scale));
	init ();
}

CDrawContext::~CDrawContext () noexcept
{
	cairo_destroy (cr);
	cairo_surface_destroy (target);
}

void CDrawContext::recoverFromError ()
{
	// A cairo context that failed once ignores every later call: one bad call would end the whole pass.
	// Each call sets up all the state it draws with, so a fresh context carries on where it left off.
	const cairo_status_t status = cairo_status (cr);
	if (status == CAIRO_STATUS_SUCCESS)
		return;
	VSTGUI_LOG ("Drawing failed: " << cairo_status_to_string (status));
	cairo_destroy (cr);
	cr = cairo_create (target);
}

void CDrawContext::init ()
{
	currentState = State ();
	currentState.font = kSystemFont;
	currentState.clipRect = surfaceRect;
	transformStack.top ().transform (currentState.clipRect);
}

const CGraphicsTransform& CDrawContext::getCurrentTransform () const
{
	return transformStack.top ();
}

void CDrawContext::pushTransform (const CGraphicsTransform& t)
{
	transformStack.push (transformStack.top () * t);
}

void CDrawContext::popTransform ()
{
	if (transformStack.size () > 1)
		transformStack.pop ();
}

CDrawContext::Transform::Transform (CDrawContext& context, const CGraphicsTransform& t)
: context (context), pushed (!t.isInvariant ())
{
	if (pushed)
		context.pushTransform (t);
}

CDrawContext::Transform::~Transform () noexcept
{
	if (pushed)
		context.popTransform ();
}

void CDrawContext::saveGlobalState ()
{
	globalStatesStack.push (currentState);
}

void CDrawContext::restoreGlobalState ()
{
	if (globalStatesStack.empty ())
		return;
	currentState = globalStatesStack.top ();
	globalStatesStack.pop ();
}

void CDrawContext::setClipRect (const CRect& clip)
{
	currentState.clipRect = clip;
	getCurrentTransform ().transform (currentState.clipRect);
	currentState.clipRect.normalize ();
}

CRect& CDrawContext::getClipRect (CRect& clip) const
{
	clip = currentState.clipRect;
	getCurrentTransform ().inverse ().transform (clip);
	clip.normalize ();
	return clip;
}

void CDrawContext::resetClipRect ()
{
	currentState.clipRect = surfaceRect;
	transformStack.top ().transform (currentState.clipRect);
}

void CDrawContext::setLineStyle (const CLineStyle& style)
{
	currentState.lineStyle = style;
}

void CDrawContext::setLineWidth (CCoord width)
{
	currentState.frameWidth = width;
}

void CDrawContext::setDrawMode (CDrawMode mode)
{
	currentState.drawMode = mode;
}

void CDrawContext::setFillColor (const CColor& color)
{
	currentState.fillColor = color;
}

void CDrawContext::setFrameColor (const CColor& color)
{
	currentState.frameColor = color;
}

void CDrawContext::setFontColor (const CColor& color)
{
	currentState.fontColor = color;
}

void CDrawContext::setFont (const CFontRef font, const CCoord& size, const int32_t& style)
{
	if (font == nullptr)
		return;
	if ((size > 0 && size != font->getSize ()) || (style != -1 && style != font->getStyle ()))
	{
		auto copy = makeOwned<CFontDesc> (*font);
		if (size > 0)
			copy->setSize (size);
		if (style != -1)
			copy->setStyle (style);
		currentState.font = copy;
	}
	else
		currentState.font = font;
}

void CDrawContext::setGlobalAlpha (float newAlpha)
{
	currentState.globalAlpha = newAlpha;
}

void CDrawContext::setBitmapInterpolationQuality (BitmapInterpolationQuality quality)
{
	currentState.bitmapQuality = quality;
}

bool CDrawContext::begin ()
{
	const CRect& clip = currentState.clipRect;
	if (clip.isEmpty ())
		return false;
	cairo_save (cr);
	cairo_rectangle (cr, clip.left, clip.top, clip.getWidth (), clip.getHeight ());
	cairo_clip (cr);
	cairo_matrix_t m = toCairo (getCurrentTransform ());
	cairo_set_matrix (cr, &m);
	cairo_set_antialias (cr, currentState.drawMode.antiAliasing () ? CAIRO_ANTIALIAS_DEFAULT : CAIRO_ANTIALIAS_NONE);
	return true;
}

void CDrawContext::end ()
{
	cairo_restore (cr);
	recoverFromError ();
}

void CDrawContext::applySource (const CColor& c)
{
	cairo_set_source_rgba (cr, c.normRed (), c.normGreen (), c.normBlue (), c.normAlpha () * currentState.globalAlpha);
}

void CDrawContext::applyLineState ()
{
	cairo_set_line_width (cr, currentState.frameWidth);
	const CLineStyle& ls = currentState.lineStyle;
	cairo_set_line_cap (cr, static_cast<cairo_line_cap_t> (ls.getLineCap ()));
	cairo_set_line_join (cr, static_cast<cairo_line_join_t> (ls.getLineJoin ()));
	std::vector<double> dashes;
	for (double d : ls.getDashLengths ())
		dashes.push_back (d * currentState.frameWidth);
	cairo_set_dash (cr, dashes.data (), static_cast<int> (dashes.size ()), ls.getDashPhase ());
}

CRect CDrawContext::alignRect (const CRect& r, bool stroked) const
{
	if (!currentState.drawMode.integralMode ())
		return r;
	CRect result (r);
	result.makeIntegral ();
	if (stroked && static_cast<int> (currentState.frameWidth) % 2 == 1)
		result.inset (0.5, 0.5);
	return result;
}

CPoint CDrawContext::alignPoint (const CPoint& p) const
{
	if (!currentState.drawMode.integralMode ())
		return p;
	CPoint result (std::floor (p.x), std::floor (p.y));
	if (static_cast<int> (currentState.frameWidth) % 2 == 1)
		result.offset (0.5, 0.5);
	return result;
}

void CDrawContext::drawLine (const std::pair<CPoint, CPoint>& line)
{
	if (!begin ())
		return;
	applyLineState ();
	applySource (currentState.frameColor);
	CPoint a = alignPoint (line.first);
	CPoint b = alignPoint (line.second);
	cairo_move_to (cr, a.x, a.y);
	cairo_line_to (cr, b.x, b.y);
	cairo_stroke (cr);
	end ();
}

void CDrawContext::drawLines (const LineList& lines)
{
	for (const auto& line : lines)
		drawLine (line);
}

void CDrawContext::drawPolygon (const PointList& points, const CDrawStyle drawStyle)
{
	if (points.empty () || !begin ())
		return;
	cairo_move_to (cr, points[0].x, points[0].y);
	for (size_t i = 1; i < points.size (); ++i)
		cairo_line_to (cr, points[i].x, points[i].y);
	if (drawStyle != kDrawStroked)
	{
		applySource (currentState.fillColor);
		cairo_fill_preserve (cr);
	}
	if (drawStyle != kDrawFilled)
	{
		applyLineState ();
		applySource (currentState.frameColor);
		cairo_stroke (cr);
	}
	cairo_new_path (cr);
	end ();
}

void CDrawContext::drawRect (const CRect& rect, const CDrawStyle drawStyle)
{
	if (!begin ())
		return;
	if (drawStyle != kDrawStroked)
	{
		CRect r = alignRect (rect, false);
		cairo_rectangle (cr, r.left, r.top, r.getWidth (), r.getHeight ());
		applySource (currentState.fillColor);
		cairo_fill (cr);
	}
	if (drawStyle != kDrawFilled)
	{
		CRect r = alignRect (rect, true);
		cairo_rectangle (cr, r.left, r.top, r.getWidth (), r.getHeight ());
		applyLineState ();
		applySource (currentState.frameColor);
		cairo_stroke (cr);
	}
	end ();
}

void CDrawContext::drawArc (const CRect& rect, const float startAngle, const float endAngle, const CDrawStyle drawStyle)
{
	auto path = owned (createGraphicsPath ());
	if (drawStyle != kDrawStroked)
	{
		path->beginSubpath (rect.getCenter ());
		path->addArc (rect, startAngle, endAngle, true);
		path->closeSubpath ();
	}
	else
		path->addArc (rect, startAngle, endAngle, true);
	if (drawStyle != kDrawStroked)
		drawGraphicsPath (path, kPathFilled);
	if (drawStyle != kDrawFilled)
		drawGraphicsPath (path, kPathStroked);
}

void CDrawContext::drawEllipse (const CRect& rect, const CDrawStyle drawStyle)
{
	auto path = owned (createGraphicsPath ());
	path->addEllipse (rect);
	if (drawStyle != kDrawStroked)
		drawGraphicsPath (path, kPathFilled);
	if (drawStyle != kDrawFilled)
		drawGraphicsPath (path, kPathStroked);
}

void CDrawContext::drawPoint (const CPoint& point, const CColor& color)
{
	saveGlobalState ();
	setFillColor (color);
	setDrawMode (kAliasing);
	drawRect (CRect (point.x, point.y, point.x + 1, point.y + 1), kDrawFilled);
	restoreGlobalState ();
}

void CDrawContext::drawBitmap (CBitmap* bitmap, const CRect& dest, const CPoint& offset, float alpha)
{
	if (bitmap == nullptr || !bitmap->isLoaded () || !begin ())
		return;
	CRect d = currentState.drawMode.integralMode () ? CRect (dest).makeIntegral () : dest;
	// Only where the bitmap lies inside the destination; padding its edges there keeps them
	// crisp when the context scales.
	CRect image (d.left - offset.x, d.top - offset.y, d.left - offset.x + bitmap->getWidth (),
	             d.top - offset.y + bitmap->getHeight ());
	image.bound (d);
	if (image.isEmpty ())
	{
		end ();
		return;
	}
	cairo_rectangle (cr, image.left, image.top, image.getWidth (), image.getHeight ());
	cairo_clip (cr);
	const CGraphicsTransform& t = getCurrentTransform ();
	const double s = bitmap->getScaleFactor ();
	const double sx = t.m11 / s;
	const double sy = t.m22 / s;
	const cairo_filter_t filter = filterFor (currentState.bitmapQuality);
	if (t.m12 == 0. && t.m21 == 0. && sx > 0. && sy > 0. && (sx != 1. || sy != 1.) && filter != CAIRO_FILTER_FAST)
	{
		// Scaled drawing resamples only the device pixels the bitmap covers here, once per scale
		// and place, and then only copies them: a strip resamples the frame it shows, and a
		// window at a zoom redraws as fast as one at full size.
		CPoint origin (d.left - offset.x, d.top - offset.y);
		t.transform (origin);
		CRect region (image);
		t.transform (region);
		region.normalize ();
		region.makeIntegral ();
		if (cairo_surface_t* resampled = bitmap->getScaledRegion (sx, sy, filter, origin, region))
		{
			cairo_identity_matrix (cr);
			cairo_set_source_surface (cr, resampled, region.left, region.top);
			cairo_pattern_set_filter (cairo_get_source (cr), CAIRO_FILTER_NEAREST);
			cairo_paint_with_alpha (cr, alpha * currentState.globalAlpha);
		}
		end ();
		return;
	}
	cairo_translate (cr, d.left - offset.x, d.top - offset.y);
	if (s != 1.)
		cairo_scale (cr, 1. / s, 1. / s);
	cairo_set_source_surface (cr, bitmap->getPlatformSurface (), 0, 0);
	cairo_pattern_set_filter (cairo_get_source (cr), filter);
	cairo_pattern_set_extend (cairo_get_source (cr), CAIRO_EXTEND_PAD);
	cairo_paint_with_alpha (cr, alpha * currentState.globalAlpha);
	end ();
}

void CDrawContext::clearRect (const CRect& rect)
{
	if (!begin ())
		return;
	CRect r = alignRect (rect, false);
	cairo_rectangle (cr, r.left, r.top, r.getWidth (), r.getHeight ());
	cairo_set_operator (cr, CAIRO_OPERATOR_CLEAR);
	cairo_fill (cr);
	end ();
}

CCoord CDrawContext::getStringWidth (UTF8StringPtr string)
{
	if (string == nullptr || currentState.font == nullptr)
		return 0.;
	cairo_save (cr);
	const double advance = layoutText (cr, *currentState.font, string, false);
	cairo_restore (cr);
	recoverFromError ();
	return advance;
}

void CDrawContext::drawString (UTF8StringPtr string, const CRect& rect, const CHoriTxtAlign hAlign, bool antialias)
{
	if (string == nullptr || *string == 0 || currentState.font == nullptr)
		return;
	cairo_save (cr);
	selectFont (cr, *currentState.font);
	cairo_text_extents_t capExt;
	cairo_text_extents (cr, "H", &capExt);
	cairo_restore (cr);
	recoverFromError ();
	double capHeight = -capExt.y_bearing;
	double width = getStringWidth (string);
	CPoint p (rect.left, 0.);
	if (hAlign == kCenterText)
		p.x = rect.left + (rect.getWidth () - width) / 2.;
	else if (hAlign == kRightText)
		p.x = rect.right - width;
	if (capHeight > 0.)
		p.y = rect.bottom - (rect.getHeight () / 2. - capHeight / 2.);
	else
		p.y = rect.bottom - (rect.getHeight () / 2. - currentState.font->getSize () / 2.) - 1.;
	if (currentState.drawMode.integralMode ())
		p.makeIntegral ();
	saveGlobalState ();
	CRect clip;
	getClipRect (clip);
	clip.bound (rect);
	setClipRect (clip);
	drawString (string, p, antialias);
	restoreGlobalState ();
}

void CDrawContext::drawString (UTF8StringPtr string, const CPoint& position, bool antialias)
{
	if (string == nullptr || currentState.font == nullptr || !begin ())
		return;
	cairo_font_options_t* options = cairo_font_options_create ();
	cairo_font_options_set_antialias (options, antialias ? CAIRO_ANTIALIAS_GRAY : CAIRO_ANTIALIAS_NONE);
	cairo_set_font_options (cr, options);
	cairo_font_options_destroy (options);
	applySource (currentState.fontColor);
	cairo_move_to (cr, position.x, position.y);
	const double advance = layoutText (cr, *currentState.font, string, true);
	const int32_t style = currentState.font->getStyle ();
	if (style & (kUnderlineFace | kStrikethroughFace))
	{
		cairo_set_line_width (cr, 1.);
		if (style & kUnderlineFace)
		{
			cairo_move_to (cr, position.x, position.y + 1.5);
			cairo_rel_line_to (cr, advance, 0);
		}
		if (style & kStrikethroughFace)
		{
			cairo_move_to (cr, position.x, position.y - currentState.font->getSize () / 3.);
			cairo_rel_line_to (cr, advance, 0);
		}
		cairo_stroke (cr);
	}
	end ();
}

CGraphicsPath* CDrawContext::createGraphicsPath ()
{
	return new CGraphicsPath ();
}

void CDrawContext::drawGraphicsPath (CGraphicsPath* path, PathDrawMode mode, CGraphicsTransform* t)
{
	if (path == nullptr || !begin ())
		return;
	if (t)
	{
		cairo_matrix_t m = toCairo (*t);
		cairo_transform (cr, &m);
	}
	path->replay (cr);
	if (t)
	{
		cairo_matrix_t m = toCairo (getCurrentTransform ());
		cairo_set_matrix (cr, &m);
	}
	if (mode == kPathStroked)
	{
		applyLineState ();
		applySource (currentState.frameColor);
		cairo_stroke (cr);
	}
	else
	{
		cairo_set_fill_rule (cr, mode == kPathFilledEvenOdd ? CAIRO_FILL_RULE_EVEN_ODD : CAIRO_FILL_RULE_WINDING);
		applySource (currentState.fillColor);
		cairo_fill (cr);
	}
	end ();
}

namespace
{
void addStops (cairo_pattern_t* pattern, const CGradient& gradient, float globalAlpha)
{
	for (const auto& [offset, c] : gradient.getColorStops ())
		cairo_pattern_add_color_stop_rgba (pattern, offset, c.normRed (), c.normGreen (), c.normBlue (),
		                                   c.normAlpha () * globalAlpha);
	cairo_pattern_set_extend (pattern, CAIRO_EXTEND_PAD);
}

// Fills the path, moved by `t` where one is given, with the gradient laid along `pattern`, which
// it then destroys.
void fillWithGradient (cairo_t* cr, const CGraphicsPath& path, cairo_pattern_t* pattern, const CGradient& gradient,
                       float globalAlpha, bool evenOdd, CGraphicsTransform* t)
{
	if (t)
	{
		cairo_matrix_t m = toCairo (*t);
		cairo_transform (cr, &m);
	}
	path.replay (cr);
	cairo_set_fill_rule (cr, evenOdd ? CAIRO_FILL_RULE_EVEN_ODD : CAIRO_FILL_RULE_WINDING);
	addStops (pattern, gradient, globalAlpha);
	cairo_set_source (cr, pattern);
	cairo_fill (cr);
	cairo_pattern_destroy (pattern);
}
}

void CDrawContext::fillLinearGradient (CGraphicsPath* path, const CGradient& gradient, const CPoint& startPoint,
                                       const CPoint& endPoint, bool evenOdd, CGraphicsTransform* t)
{
	if (path == nullptr || !begin ())
		return;
	fillWithGradient (cr, *path, cairo_pattern_create_linear (startPoint.x, startPoint.y, endPoint.x, endPoint.y),
	                  gradient, currentState.globalAlpha, evenOdd, t);
	end ();
}

void CDrawContext::fillRadialGradient (CGraphicsPath* path, const CGradient& gradient, const CPoint& center,
                                       CCoord radius, const CPoint& originOffset, bool evenOdd, CGraphicsTransform* t)
{
	if (path == nullptr || !begin ())
		return;
	fillWithGradient (cr, *path,
	                  cairo_pattern_create_radial (center.x + originOffset.x, center.y + originOffset.y, 0, center.x,
	                                               center.y, radius),
	                  gradient, currentState.globalAlpha, evenOdd, t);
	end ();
}
} // VSTGUI
