#include "DisplayCharacters.h"

#include <cstring>

std::string nameOf(const zentlib::SinglePreset& single)
{
	return std::string(single.name, strnlen(single.name, sizeof(single.name)));
}

std::string nameText(const std::string& nameBytes)
{
	std::string text;
	for (const char c : nameBytes)
	{
		if (kDisplayCharacters.find(c) == std::string_view::npos)
			text += '?';
		else if (c == '\xB4')
			text += "\xC2\xB4";  // U+00B4, the acute accent
		else if (c == '\xF6')
			text += "\xE2\x96\xA0";  // U+25A0, a black square
		else
			text += c;
	}
	return text;
}
