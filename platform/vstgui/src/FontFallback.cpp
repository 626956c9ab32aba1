#include "fontfallback.h"

#include <fontconfig/fontconfig.h>

#include <map>
#include <mutex>
#include <tuple>

namespace VSTGUI::Detail
{
namespace
{
constexpr uint32_t kReplacementCharacter = 0xFFFD;
constexpr char kReplacementUtf8[] = "\xEF\xBF\xBD";

// What cairo takes for a character: no surrogate, nothing beyond U+10FFFF, none of the noncharacters.
bool drawable (uint32_t cp)
{
	return cp < 0x110000 && (cp & 0xFFFFF800) != 0xD800 && (cp < 0xFDD0 || cp > 0xFDEF) && (cp & 0xFFFE) != 0xFFFE;
}

// The first code point of a UTF-8 sequence and its length. A sequence cairo would refuse (a stray or
// missing continuation byte, an overlong form, a code point it cannot draw) counts as U+FFFD for the
// bytes up to where it broke: cairo refusing one string leaves its context refusing everything after.
uint32_t decode (const unsigned char* s, size_t& length)
{
	const unsigned char c = s[0];
	int count = c < 0x80 ? 0 : (c >> 5) == 0x6 ? 1 : (c >> 4) == 0xE ? 2 : (c >> 3) == 0x1E ? 3 : -1;
	if (count < 0)
	{
		length = 1;
		return kReplacementCharacter;
	}
	uint32_t cp = count == 0 ? c : c & (0x3F >> count);
	for (int i = 1; i <= count; ++i)
	{
		if ((s[i] & 0xC0) != 0x80)
		{
			length = static_cast<size_t> (i);
			return kReplacementCharacter;
		}
		cp = (cp << 6) | (s[i] & 0x3F);
	}
	length = static_cast<size_t> (count) + 1;
	static constexpr uint32_t shortest[] = {0, 0x80, 0x800, 0x10000};
	return cp >= shortest[count] && drawable (cp) ? cp : kReplacementCharacter;
}

FcPattern* patternFor (const std::string& family, bool bold, bool italic)
{
	FcPattern* pattern = FcPatternCreate ();
	FcPatternAddString (pattern, FC_FAMILY, reinterpret_cast<const FcChar8*> (family.c_str ()));
	FcPatternAddInteger (pattern, FC_WEIGHT, bold ? FC_WEIGHT_BOLD : FC_WEIGHT_MEDIUM);
	FcPatternAddInteger (pattern, FC_SLANT, italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
	return pattern;
}

// Whether the font the family resolves to has the character.
bool covers (const std::string& family, bool bold, bool italic, uint32_t cp)
{
	FcPattern* pattern = patternFor (family, bold, italic);
	FcConfigSubstitute (nullptr, pattern, FcMatchPattern);
	FcDefaultSubstitute (pattern);
	FcResult result;
	FcPattern* match = FcFontMatch (nullptr, pattern, &result);
	FcPatternDestroy (pattern);
	bool has = false;
	FcCharSet* charset = nullptr;
	if (match && FcPatternGetCharSet (match, FC_CHARSET, 0, &charset) == FcResultMatch)
		has = FcCharSetHasChar (charset, cp);
	if (match)
		FcPatternDestroy (match);
	return has;
}

// The family of the best font that has the character, or empty when none has.
std::string fallbackFamily (const std::string& family, bool bold, bool italic, uint32_t cp)
{
	FcPattern* pattern = patternFor (family, bold, italic);
	FcCharSet* wanted = FcCharSetCreate ();
	FcCharSetAddChar (wanted, cp);
	FcPatternAddCharSet (pattern, FC_CHARSET, wanted);
	FcCharSetDestroy (wanted);
	FcConfigSubstitute (nullptr, pattern, FcMatchPattern);
	FcDefaultSubstitute (pattern);
	FcResult result;
	FcFontSet* fonts = FcFontSort (nullptr, pattern, FcFalse, nullptr, &result);
	FcPatternDestroy (pattern);
	std::string found;
	for (int i = 0; fonts && i < fonts->nfont && found.empty (); ++i)
	{
		FcCharSet* charset = nullptr;
		FcChar8* name = nullptr;
		if (FcPatternGetCharSet (fonts->fonts[i], FC_CHARSET, 0, &charset) == FcResultMatch &&
		    FcCharSetHasChar (charset, cp) && FcPatternGetString (fonts->fonts[i], FC_FAMILY, 0, &name) == FcResultMatch)
			found = reinterpret_cast<const char*> (name);
	}
	if (fonts)
		FcFontSetDestroy (fonts);
	return found;
}

// The family that draws a character: empty for the requested one. Looked up once per character.
std::string familyFor (const std::string& family, bool bold, bool italic, uint32_t cp)
{
	static std::mutex mutex;
	static std::map<std::tuple<std::string, bool, bool, uint32_t>, std::string> cache;
	std::lock_guard<std::mutex> lock (mutex);
	auto key = std::make_tuple (family, bold, italic, cp);
	auto it = cache.find (key);
	if (it == cache.end ())
	{
		std::string chosen = covers (family, bold, italic, cp) ? std::string () : fallbackFamily (family, bold, italic, cp);
		it = cache.emplace (key, chosen).first;
	}
	return it->second;
}
}

std::vector<TextRun> splitByFontCoverage (const char* utf8, const std::string& family, bool bold, bool italic)
{
	std::vector<TextRun> runs;
	const auto* s = reinterpret_cast<const unsigned char*> (utf8);
	while (*s)
	{
		size_t length = 1;
		uint32_t cp = *s;
		std::string runFamily;
		if (*s >= 0x80)
		{
			cp = decode (s, length);
			runFamily = familyFor (family, bold, italic, cp);
		}
		if (runs.empty () || runs.back ().family != runFamily)
			runs.push_back ({std::string (), runFamily});
		if (cp == kReplacementCharacter)
			runs.back ().text.append (kReplacementUtf8);
		else
			runs.back ().text.append (reinterpret_cast<const char*> (s), length);
		s += length;
	}
	return runs;
}
}
