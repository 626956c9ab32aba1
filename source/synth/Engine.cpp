#include "Engine.h"

#include <cstdio>
#include <cstring>
#include <sstream>

#include "ParameterConverter.h"
#include "Sysex.h"
#include "data/zentdata.h"
#include "log.h"

namespace zentlib
{
namespace
{
struct FactoryBank
{
	const uint8_t* (*data)();
	size_t (*size)();
};

// The factory banks in storage order: the internal memory first, then the eleven ROM banks.
const FactoryBank sysexDatas[Engine::StorageCount] = {
	{zentdata::getData_sysex_ZENTINT, zentdata::getDataSize_sysex_ZENTINT},
	{zentdata::getData_sysex_R301, zentdata::getDataSize_sysex_R301},
	{zentdata::getData_sysex_R302, zentdata::getDataSize_sysex_R302},
	{zentdata::getData_sysex_R303, zentdata::getDataSize_sysex_R303},
	{zentdata::getData_sysex_R304, zentdata::getDataSize_sysex_R304},
	{zentdata::getData_sysex_R305, zentdata::getDataSize_sysex_R305},
	{zentdata::getData_sysex_R400, zentdata::getDataSize_sysex_R400},
	{zentdata::getData_sysex_S301, zentdata::getDataSize_sysex_S301},
	{zentdata::getData_sysex_S302, zentdata::getDataSize_sysex_S302},
	{zentdata::getData_sysex_T301, zentdata::getDataSize_sysex_T301},
	{zentdata::getData_sysex_T302, zentdata::getDataSize_sysex_T302},
	{zentdata::getData_sysex_T303, zentdata::getDataSize_sysex_T303},
};

const char* const storageNames[Engine::StorageCount] = {
	"Zent Int",  "ROM R3-01", "ROM R3-02", "ROM R3-03", "ROM R3-04", "ROM R3-05",
	"ROM R4-00", "ROM S3-01", "ROM S3-02", "ROM T3-01", "ROM T3-02", "ROM T3-03",
};

std::vector<SinglePreset> parseFactoryBanks()
{
	std::vector<uint8_t> joined;
	for (const FactoryBank& bank : sysexDatas)
		joined.insert(joined.end(), bank.data(), bank.data() + bank.size());

	Sysex::SysexResult result;
	Sysex::readBuffer(result, joined, 255);
	return std::move(result.singles);
}

std::string nameText(const char* name)
{
	return std::string(name, strnlen(name, sizeof(SinglePreset::name)));
}
}

Engine::Engine(IEngineListener* engineListener)
	: listener(engineListener), factorySingles(parseFactoryBanks()), singles(factorySingles), lfo(*this), vibrato(*this)
{
	heldNotes.reserve(128);
	pushSingleToParameters(singles[currentSingle]);
}

Engine::~Engine()
{
	resampler.reset();
	heldNotes.clear();
	voices.clear();
}

void Engine::pushSingleToParameters(const SinglePreset& single)
{
	pushSingleToParameters(single, ParameterSet().set());
}

void Engine::pushSingleToParameters(const SinglePreset& single, const ParameterSet& which)
{
	for (uint32_t p = 0; p < Param_SourceMix12; ++p)
	{
		int value = 0;
		if (which[p] && ParameterConverter::getValue(value, static_cast<EParam>(p), single))
			parameters.setVSTParamReal(p, static_cast<float>(value), false);
	}
}

void Engine::applySingleToParameters(const SinglePreset& single)
{
	pushSingleToParameters(single);
}

bool Engine::setSingle(size_t index)
{
	if (index >= singles.size())
		return false;
	if (index == currentSingle)
		return true;

	ZENT_LOG("Switching to single " << index);
	currentSingle = index;
	pitchBendRange = static_cast<int32_t>(singles[currentSingle].pitchBendDepth);
	clearAllVoices();
	dumpSingle(singles[currentSingle]);
	pushSingleToParameters(singles[currentSingle]);
	listener->onActiveProgramChanged(index);
	return true;
}

bool Engine::setSingle(size_t index, const SinglePreset& preset)
{
	if (index >= singles.size())
		return false;
	if (singles[index] == preset)
		return true;

	singles[index] = preset;
	if (index == currentSingle)
	{
		clearAllVoices();
		pushSingleToParameters(singles[currentSingle]);
		listener->onActiveSingleModified(index);
	}
	listener->onSingleModified(index);
	return true;
}

bool Engine::setSingles(size_t first, const std::vector<SinglePreset>& presets)
{
	const size_t count = presets.size();
	if (count == 0 || first > singles.size() || count > singles.size() - first)
		return false;

	bool changed = false;
	for (size_t k = 0; k < count; ++k)
	{
		const size_t index = first + k;
		if (singles[index] == presets[k])
			continue;
		singles[index] = presets[k];
		changed = true;
		if (index == currentSingle)
		{
			clearAllVoices();
			pushSingleToParameters(singles[currentSingle]);
			listener->onActiveSingleModified(currentSingle);
		}
	}
	if (!changed)
		return false;
	listener->onSinglesModified(first, count);
	return true;
}

void Engine::setCurrentSingleName(const std::string& name)
{
	SinglePreset& single = singles[currentSingle];
	const std::string oldName = nameText(single.name);
	for (size_t k = 0; k < 10; ++k)
		single.name[k] = k < name.size() ? name[k] : ' ';
	if (nameText(single.name) != oldName)
		listener->onActiveSingleModified(currentSingle);
}

bool Engine::isSingleModified(size_t index) const
{
	if (index >= singles.size() || index >= factorySingles.size())
		return false;
	return !(singles[index] == factorySingles[index]);
}

bool Engine::restoreFactorySingle(size_t index)
{
	if (index >= singles.size() || index >= factorySingles.size() || singles[index] == factorySingles[index])
		return false;
	return setSingle(index, factorySingles[index]);
}

SinglePreset Engine::getFactorySingle(size_t index) const
{
	// Only indices of the factory set have a copy; anything else gives an empty record.
	return index < factorySingles.size() ? factorySingles[index] : SinglePreset{};
}

bool Engine::swapSources(size_t a, size_t b)
{
	if (a == b || a > 3 || b > 3)
		return false;
	SinglePreset copy = singles[currentSingle];
	std::swap(copy.sources[a], copy.sources[b]);
	setSingle(currentSingle, copy);
	return true;
}

std::string Engine::getSingleNumberAsName(size_t index)
{
	static const char letters[] = "IiEe";
	const size_t upperHalf = (index >> 5) & 1;
	const char storage = letters[index >= SinglesPerStorage ? 2 + upperHalf : upperHalf];
	char text[16];
	std::snprintf(text, sizeof(text), "%c%c-%d", storage, static_cast<char>('A' + ((index >> 3) & 3)),
	              static_cast<int>((index & 7) + 1));
	return text;
}

std::string Engine::getStorageName(size_t index)
{
	const size_t storage = index / SinglesPerStorage;
	return storage < StorageCount ? storageNames[storage] : std::string();
}

void Engine::dumpSingle(const SinglePreset& single) const
{
	std::stringstream text;
	text << "Single " << nameText(single.name) << ":\n";
	for (int s = 0; s < 4; ++s)
	{
		const SingleSource& source = single.sources[s];
		text << " S" << (s + 1) << ":\n";
		text << "  coarse=" << source.coarse << ", fine=" << source.fine << "\n";
		text << "  wave=" << int(source.wave) << " " << Waveforms::getName(source.wave) << "\n";
		text << "  env: level=" << source.envLevel << ", dadsr=" << source.envDelay << " " << source.envAttack << " "
		     << source.envDecay << " " << source.envSustain << " " << source.envRelease << "\n";
	}
	text << "ampMod S1S2=" << single.ampModS1S2 << ", S3S4=" << single.ampModS3S4 << "\n";
	ZENT_LOG(text.str());
}
}
