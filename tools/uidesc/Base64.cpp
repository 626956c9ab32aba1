#include "Base64.h"

namespace uidesc
{
namespace
{
const char Alphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

int valueOf(char c)
{
	if (c >= 'A' && c <= 'Z')
		return c - 'A';
	if (c >= 'a' && c <= 'z')
		return c - 'a' + 26;
	if (c >= '0' && c <= '9')
		return c - '0' + 52;
	if (c == '+')
		return 62;
	if (c == '/')
		return 63;
	return -1;
}
}

std::string base64Encode(const uint8_t* data, size_t size)
{
	std::string out;
	out.reserve((size + 2) / 3 * 4);
	size_t i = 0;
	for (; i + 3 <= size; i += 3)
	{
		const uint32_t v = (uint32_t(data[i]) << 16) | (uint32_t(data[i + 1]) << 8) | data[i + 2];
		out += Alphabet[(v >> 18) & 63];
		out += Alphabet[(v >> 12) & 63];
		out += Alphabet[(v >> 6) & 63];
		out += Alphabet[v & 63];
	}
	const size_t rest = size - i;
	if (rest > 0)
	{
		const uint32_t v = (uint32_t(data[i]) << 16) | (rest == 2 ? uint32_t(data[i + 1]) << 8 : 0);
		out += Alphabet[(v >> 18) & 63];
		out += Alphabet[(v >> 12) & 63];
		out += rest == 2 ? Alphabet[(v >> 6) & 63] : '=';
		out += '=';
	}
	return out;
}

std::optional<std::vector<uint8_t>> base64Decode(const std::string& text)
{
	std::vector<uint8_t> out;
	out.reserve(text.size() / 4 * 3);
	uint32_t bits = 0;
	int count = 0, padding = 0;
	for (char c : text)
	{
		if (c == '=')
		{
			++padding;
			continue;
		}
		const int v = valueOf(c);
		if (v < 0)
			continue;
		if (padding > 0)
			return std::nullopt;  // data after the padding
		bits = (bits << 6) | uint32_t(v);
		if (++count == 4)
		{
			out.push_back(uint8_t(bits >> 16));
			out.push_back(uint8_t(bits >> 8));
			out.push_back(uint8_t(bits));
			bits = 0;
			count = 0;
		}
	}
	if (count == 1 || (count == 0 && padding != 0) || (count > 0 && count + padding != 4))
		return std::nullopt;
	if (count == 2)
		out.push_back(uint8_t(bits >> 4));
	else if (count == 3)
	{
		out.push_back(uint8_t(bits >> 10));
		out.push_back(uint8_t(bits >> 2));
	}
	return out;
}
}
