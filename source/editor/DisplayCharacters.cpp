#include "DisplayCharacters.h"

#include <cstring>

std::string nameOf(const zentlib::SinglePreset& single)
{
	return std::string(single.name, strnlen(single.name, sizeof(single.name)));
}

std::string displayGlyph(char byte)
{
	if (kDisplayCharacters.find(byte) == std::string_view::npos)
		return "?";
	if (byte == '\xB4')
		return "\xC2\xB4";  // U+00B4, the acute accent
	if (byte == '\xF6')
		return "\xE2\x96\xA0";  // U+25A0, a black square
	return std::string(1, byte);
}

std::string nameText(const std::string& nameBytes)
{
	std::string text;
	for (const char c : nameBytes)
		text += displayGlyph(c);
	return text;
}
