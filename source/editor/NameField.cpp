// The single-name field: what it shows of a name, and what an edit in it makes of the name.
#include "NameField.h"

#include <algorithm>
#include <vector>

#include "DisplayCharacters.h"

namespace
{
constexpr size_t kNameLength = 10;

// The shown part of a name: up to its first zero, without trailing blanks.
std::string shownBytes(const zentlib::SinglePreset& single)
{
	std::string bytes = nameOf(single);
	while (!bytes.empty() && bytes.back() == ' ')
		bytes.pop_back();
	return bytes;
}

std::string fieldGlyph(char byte)
{
	return byte >= 32 && byte <= 126 ? std::string(1, byte) : displayGlyph(byte);
}

// The first characters of the text, at most `count`: a UTF-8 lead byte with the continuation bytes after it,
// any other byte alone.
std::vector<std::string> firstCharacters(const std::string& text, size_t count)
{
	std::vector<std::string> out;
	for (size_t i = 0; i < text.size() && out.size() < count;)
	{
		size_t end = i + 1;
		if (static_cast<unsigned char>(text[i]) >= 0xC0)
			while (end < text.size() && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80)
				++end;
		out.push_back(text.substr(i, end - i));
		i = end;
	}
	return out;
}

// A typed character as a name byte: its code for 32..127, '?' for anything else (a control key, a character
// of more than one byte).
char typedByte(const std::string& character)
{
	const auto c = static_cast<unsigned char>(character[0]);
	return character.size() == 1 && c >= 32 && c <= 127 ? static_cast<char>(c) : '?';
}
}

std::string nameFieldText(const zentlib::SinglePreset& single)
{
	std::string text;
	for (const char byte : shownBytes(single))
		text += fieldGlyph(byte);
	return text;
}

std::string editedName(const zentlib::SinglePreset& single, const std::string& fieldText)
{
	// The longest common subsequence of the shown characters and the text's tells what the person left alone.
	// Only the text's first ten characters become the name, so only they are matched: a paste of any length
	// costs what ten characters do.
	const std::string before = shownBytes(single);
	const std::vector<std::string> now = firstCharacters(fieldText, kNameLength);
	const size_t n = before.size(), m = now.size();
	std::vector<std::vector<size_t>> common(n + 1, std::vector<size_t>(m + 1, 0));
	for (size_t i = n; i-- > 0;)
		for (size_t j = m; j-- > 0;)
			common[i][j] = fieldGlyph(before[i]) == now[j] ? common[i + 1][j + 1] + 1
			                                               : std::max(common[i + 1][j], common[i][j + 1]);
	std::string name;
	for (size_t i = 0, j = 0; j < m;)
	{
		if (i < n && fieldGlyph(before[i]) == now[j] && common[i][j] == common[i + 1][j + 1] + 1)
			name += before[i++], ++j;
		else if (i < n && common[i + 1][j] >= common[i][j + 1])
			++i;  // deleted
		else
			name += typedByte(now[j++]);
	}

	const std::string stored(single.name, kNameLength);
	const bool sameLength = name.size() == n;
	for (size_t k = name.size(); k < kNameLength; ++k)
		name += sameLength ? stored[k] : ' ';
	return name;
}
