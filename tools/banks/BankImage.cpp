#include "BankImage.h"

#include <set>
#include <string_view>

#include "Library.h"
#include "MultiDump.h"
#include "synth/SingleRecord.h"
#include "synth/Sysex.h"

namespace banks
{
namespace
{
// What the front panel's display can draw besides letters and digits.
constexpr std::string_view DisplayPunctuation = "!\"$%&/()=?.,;:{}\\-+<>|[]' ~*#";
}

bool isDisplayableName(const std::string& name)
{
	for (char c : name)
	{
		const bool alnum = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9');
		if (!alnum && DisplayPunctuation.find(c) == std::string_view::npos)
			return false;
	}
	return true;
}

bool buildBankImage(size_t storage, std::vector<uint8_t>& image, std::string& problem)
{
	const std::vector<Patch> sounds = designStorage(storage);
	const std::string where = std::string(storageSymbol(storage)) + ": ";
	if (sounds.size() != SinglesPerStorage)
	{
		problem = where + std::to_string(sounds.size()) + " sounds instead of 64";
		return false;
	}

	std::vector<zentlib::SinglePreset> singles;
	std::vector<std::string> names;
	std::set<std::string> seen;
	for (const Patch& sound : sounds)
	{
		const std::string& name = sound.name();
		if (name.empty() || name.size() > zentlib::NameLength || !isDisplayableName(name) || name.back() == ' ')
		{
			problem = where + "the name \"" + name + "\" cannot be shown";
			return false;
		}
		if (!seen.insert(name).second)
		{
			problem = where + "the name \"" + name + "\" is used twice";
			return false;
		}
		zentlib::SinglePreset single;
		std::string why;
		if (!sound.build(single, why))
		{
			problem = where + name + ": " + why;
			return false;
		}
		singles.push_back(single);
		names.push_back(name);
	}

	const std::vector<zentlib::SinglePreset> low(singles.begin(), singles.begin() + 32);
	const std::vector<zentlib::SinglePreset> high(singles.begin() + 32, singles.end());
	std::vector<uint8_t> lowDump;
	std::vector<uint8_t> highDump;
	if (!zentlib::Sysex::writeSingles(lowDump, low, 0, zentlib::StorageLocation::InternalLow, 0) ||
	    !zentlib::Sysex::writeSingles(highDump, high, 0, zentlib::StorageLocation::InternalHigh, 32))
	{
		problem = where + "the SysEx writer refused the singles";
		return false;
	}
	const std::vector<uint8_t> multis = multiDump(names);

	image = lowDump;
	image.insert(image.end(), highDump.begin(), highDump.end());
	image.insert(image.end(), multis.begin(), multis.end());
	if (image.size() != BankImageSize)
	{
		problem = where + "the image has " + std::to_string(image.size()) + " bytes";
		return false;
	}
	return true;
}
}
