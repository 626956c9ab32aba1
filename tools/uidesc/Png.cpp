#include "Png.h"

#include <cairo.h>
#include <png.h>

#include <cstring>
#include <stdexcept>

namespace uidesc
{
namespace
{
void appendData(png_structp png, png_bytep data, png_size_t length)
{
	auto* out = static_cast<std::vector<uint8_t>*>(png_get_io_ptr(png));
	out->insert(out->end(), data, data + length);
}

void flushNothing(png_structp) {}

// Straight alpha from cairo's premultiplied native-endian ARGB words.
void unpremultiply(const uint8_t* source, uint8_t* row, int width)
{
	for (int x = 0; x < width; ++x)
	{
		uint32_t pixel;
		std::memcpy(&pixel, source + 4 * x, 4);
		const uint32_t a = pixel >> 24;
		uint32_t r = (pixel >> 16) & 0xff, g = (pixel >> 8) & 0xff, b = pixel & 0xff;
		if (a != 0 && a != 255)
		{
			r = (r * 255 + a / 2) / a;
			g = (g * 255 + a / 2) / a;
			b = (b * 255 + a / 2) / a;
		}
		else if (a == 0)
		{
			r = g = b = 0;
		}
		row[4 * x] = uint8_t(r > 255 ? 255 : r);
		row[4 * x + 1] = uint8_t(g > 255 ? 255 : g);
		row[4 * x + 2] = uint8_t(b > 255 ? 255 : b);
		row[4 * x + 3] = uint8_t(a);
	}
}
}

std::vector<uint8_t> encodePng(cairo_surface_t* surface)
{
	cairo_surface_flush(surface);
	const int width = cairo_image_surface_get_width(surface);
	const int height = cairo_image_surface_get_height(surface);
	const int stride = cairo_image_surface_get_stride(surface);
	const uint8_t* pixels = cairo_image_surface_get_data(surface);

	std::vector<uint8_t> out;
	png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
	png_infop info = png ? png_create_info_struct(png) : nullptr;
	if (!info)
	{
		png_destroy_write_struct(&png, nullptr);
		throw std::runtime_error("cannot start a PNG file");
	}
	std::vector<uint8_t> row(size_t(width) * 4);
	if (setjmp(png_jmpbuf(png)))
	{
		png_destroy_write_struct(&png, &info);
		throw std::runtime_error("PNG encoding failed");
	}
	png_set_write_fn(png, &out, appendData, flushNothing);
	png_set_IHDR(png, info, png_uint_32(width), png_uint_32(height), 8, PNG_COLOR_TYPE_RGB_ALPHA,
		PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
	png_set_compression_level(png, 1);
	png_set_filter(png, PNG_FILTER_TYPE_BASE, PNG_FILTER_SUB | PNG_FILTER_UP);
	png_write_info(png, info);
	for (int y = 0; y < height; ++y)
	{
		unpremultiply(pixels + size_t(y) * size_t(stride), row.data(), width);
		png_write_row(png, row.data());
	}
	png_write_end(png, info);
	png_destroy_write_struct(&png, &info);
	return out;
}
}
