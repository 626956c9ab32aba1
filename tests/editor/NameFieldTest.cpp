#include <gtest/gtest.h>

#include <cstring>

#include "AllocationCounter.h"
#include "NameField.h"

// Only the text's first ten characters become the name, so a paste of a million characters is matched as
// those ten are and costs what they do; a byte shown as '?' that the paste kept in place stays as it was.
TEST(NameField, AHugePasteCostsWhatItsFirstTenCharactersDo)
{
	zentlib::SinglePreset single{};
	std::memcpy(single.name, "Pa\x7FNo", 5);
	const std::string firstTen = "Pa?Long pa";
	const std::string pasted = firstTen + std::string(1'000'000, 'x');

	std::string name;
	const long bytes = allocations::bytesDuring([&] { name = editedName(single, pasted); });
	EXPECT_EQ(name, "Pa\x7FLong pa");
	EXPECT_EQ(bytes, allocations::bytesDuring([&] { editedName(single, firstTen); }));
}
