#include <AppKit/NSGraphicsContext.h>

#include <cairo/cairo.h>

#include <algorithm>
#include <cstdint>

namespace
{
thread_local NSGraphicsContext* t_current = nullptr;
}

NSBitmapImageRep* NSBitmapImageRep::initWithSize(NSInteger pixelsWide, NSInteger pixelsHigh)
{
	m_surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, int(std::max<NSInteger>(1, pixelsWide)),
		int(std::max<NSInteger>(1, pixelsHigh)));
	if (cairo_surface_status(m_surface) != CAIRO_STATUS_SUCCESS)
	{
		release();
		return nullptr;
	}
	return this;
}

NSInteger NSBitmapImageRep::pixelsWide() const
{
	return m_surface ? cairo_image_surface_get_width(m_surface) : 0;
}

NSInteger NSBitmapImageRep::pixelsHigh() const
{
	return m_surface ? cairo_image_surface_get_height(m_surface) : 0;
}

void NSBitmapImageRep::getPixel(NSInteger x, NSInteger y, unsigned char rgba[4]) const
{
	rgba[0] = rgba[1] = rgba[2] = rgba[3] = 0;
	if (x < 0 || y < 0 || x >= pixelsWide() || y >= pixelsHigh())
		return;
	cairo_surface_flush(m_surface);
	const unsigned char* row = cairo_image_surface_get_data(m_surface) + y * cairo_image_surface_get_stride(m_surface);
	const uint32_t argb = reinterpret_cast<const uint32_t*>(row)[x];
	const unsigned a = argb >> 24;
	auto straight = [a](unsigned c) { return static_cast<unsigned char>(a == 0 ? 0 : (c * 255 + a / 2) / a); };
	rgba[0] = straight((argb >> 16) & 0xFF);
	rgba[1] = straight((argb >> 8) & 0xFF);
	rgba[2] = straight(argb & 0xFF);
	rgba[3] = static_cast<unsigned char>(a);
}

bool NSBitmapImageRep::writePNG(const std::string& path) const
{
	return m_surface && cairo_surface_write_to_png(m_surface, path.c_str()) == CAIRO_STATUS_SUCCESS;
}

void NSBitmapImageRep::dealloc()
{
	if (m_surface)
		cairo_surface_destroy(m_surface);
	NSObject::dealloc();
}

NSGraphicsContext* NSGraphicsContext::currentContext()
{
	return t_current;
}

NSGraphicsContext::Scope::Scope(cairo_t* cr) : m_previous(t_current)
{
	t_current = new NSGraphicsContext(cr);
}

NSGraphicsContext::Scope::~Scope()
{
	delete t_current;
	t_current = m_previous;
}
