#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// One factory bank as the instrument embeds it: the storage's singles 0-31 and 32-63 as two block
// dumps, then its 32 multis as a third, all on channel 0.
namespace banks
{
constexpr size_t SinglesDumpSize = 2825;
constexpr size_t MultisDumpSize = 2441;
constexpr size_t BankImageSize = 2 * SinglesDumpSize + MultisDumpSize;

// Builds the image of a storage (0..11). False, with the reason, when a sound of the storage
// breaks a rule of the library (name, count, level) or the writer refuses it.
bool buildBankImage(size_t storage, std::vector<uint8_t>& image, std::string& problem);

// True when the display can show every character of the name.
bool isDisplayableName(const std::string& name);
}
