#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

// Real files made by others, kept beside the repository in shared/testdata.
namespace testdata
{
// The test-data folder, or an empty path when it is not there.
std::filesystem::path root();
// Every file in a sub-folder with the given extension (".mid", ".syx", ...), sorted by name.
std::vector<std::filesystem::path> files(const std::string& folder, const std::string& extension);
std::vector<uint8_t> readBytes(const std::filesystem::path& path);
}

// Skips the current test when the shared test data is missing.
#define REQUIRE_TESTDATA()                                       \
	do                                                           \
	{                                                            \
		if (testdata::root().empty())                            \
			GTEST_SKIP() << "shared/testdata is not available"; \
	} while (false)
