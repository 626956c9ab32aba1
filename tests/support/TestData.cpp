#include "TestData.h"

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <iterator>

namespace testdata
{
std::filesystem::path root()
{
	const char* dir = std::getenv("VIREL_TESTDATA_DIR");
	if (!dir || !std::filesystem::is_directory(dir))
		return {};
	return dir;
}

std::vector<std::filesystem::path> files(const std::string& folder, const std::string& extension)
{
	std::vector<std::filesystem::path> result;
	const std::filesystem::path dir = root() / folder;
	if (root().empty() || !std::filesystem::is_directory(dir))
		return result;
	for (const auto& entry : std::filesystem::directory_iterator(dir))
		if (entry.is_regular_file() && entry.path().extension() == extension)
			result.push_back(entry.path());
	std::sort(result.begin(), result.end());
	return result;
}

std::vector<uint8_t> readBytes(const std::filesystem::path& path)
{
	std::ifstream in(path, std::ios::binary);
	return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}
}
