// Writes the twelve factory bank images: bank_generator <output folder>
// gives <folder>/sysex_<symbol>.syx for ZENTINT, R301 .. T303. Exits non-zero with one line
// naming the sound at fault when the library breaks one of its rules.
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "BankImage.h"
#include "Library.h"

int main(int argc, char** argv)
{
	if (argc != 2)
	{
		std::fprintf(stderr, "usage: %s <output folder>\n", argv[0]);
		return 2;
	}
	const std::string folder = argv[1];
	for (size_t storage = 0; storage < banks::StorageCount; ++storage)
	{
		std::vector<uint8_t> image;
		std::string problem;
		if (!banks::buildBankImage(storage, image, problem))
		{
			std::fprintf(stderr, "factory banks: %s\n", problem.c_str());
			return 1;
		}
		const std::string path = folder + "/sysex_" + banks::storageSymbol(storage) + ".syx";
		std::ofstream out(path, std::ios::binary);
		out.write(reinterpret_cast<const char*>(image.data()), static_cast<std::streamsize>(image.size()));
		if (!out)
		{
			std::fprintf(stderr, "factory banks: cannot write %s\n", path.c_str());
			return 1;
		}
	}
	return 0;
}
