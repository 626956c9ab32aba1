// Draws every bitmap of the front panel and writes the UI description that embeds them:
//   virel_uidesc_gen <output.uidesc> [<folder for the PNG files>]
// The output depends only on the program and the cairo, libpng and zlib it runs with.
#include "Art.h"
#include "Layout.h"
#include "Png.h"
#include "UiXml.h"

#include <cairo.h>

#include <exception>
#include <filesystem>
#include <fstream>
#include <iostream>

namespace
{
bool writeFile(const std::filesystem::path& path, const std::string& bytes)
{
	const std::filesystem::path temporary = path.string() + ".tmp";
	{
		std::ofstream out(temporary, std::ios::binary);
		out.write(bytes.data(), std::streamsize(bytes.size()));
		if (!out)
			return false;
	}
	std::error_code error;
	std::filesystem::rename(temporary, path, error);
	return !error;
}
}

int main(int argc, char** argv)
{
	if (argc != 2 && argc != 3)
	{
		std::cerr << "usage: virel_uidesc_gen <output.uidesc> [<png folder>]\n";
		return 2;
	}
	try
	{
		const uidesc::Panel panel = uidesc::buildPanel();
		std::vector<uidesc::EncodedBitmap> bitmaps;
		bitmaps.reserve(panel.bitmaps.size());
		for (const uidesc::BitmapSpec& spec : panel.bitmaps)
		{
			cairo_surface_t* surface = uidesc::drawBitmap(panel, spec);
			bitmaps.push_back({spec.name, uidesc::encodePng(surface)});
			cairo_surface_destroy(surface);
		}
		if (argc == 3)
		{
			const std::filesystem::path folder = argv[2];
			std::filesystem::create_directories(folder);
			for (const uidesc::EncodedBitmap& b : bitmaps)
			{
				if (!writeFile(folder / (b.name + ".png"), std::string(b.png.begin(), b.png.end())))
				{
					std::cerr << "virel_uidesc_gen: cannot write " << (folder / (b.name + ".png")) << "\n";
					return 1;
				}
			}
		}
		if (!writeFile(argv[1], uidesc::writeDescription(panel.root, bitmaps)))
		{
			std::cerr << "virel_uidesc_gen: cannot write " << argv[1] << "\n";
			return 1;
		}
	}
	catch (const std::exception& e)
	{
		std::cerr << "virel_uidesc_gen: " << e.what() << "\n";
		return 1;
	}
	return 0;
}
