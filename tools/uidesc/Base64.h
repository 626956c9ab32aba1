#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace uidesc
{
// Standard base64 (RFC 4648 alphabet, '=' padding, no line breaks).
std::string base64Encode(const uint8_t* data, size_t size);
// Skips bytes outside the alphabet the way the description loader does with whitespace; nullopt
// when the padding or the length is wrong.
std::optional<std::vector<uint8_t>> base64Decode(const std::string& text);
}
