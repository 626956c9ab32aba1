// The engine's saved state: MIDI settings, the normalised parameters, the owner's block, the current
// single and the whole store as SysEx block dumps. Version 2 is written; versions 1 and 2 are read.
#include <algorithm>
#include <cmath>
#include <cstring>
#include <string>

#include "Engine.h"
#include "ParameterConverter.h"
#include "Sysex.h"
#include "log.h"

namespace zentlib
{
namespace
{
constexpr uint32_t StateVersion = 2;
constexpr size_t SinglesPerDump = 32;

void appendU32(std::vector<uint8_t>& data, uint32_t value)
{
	for (int shift = 0; shift < 32; shift += 8)
		data.push_back(static_cast<uint8_t>(value >> shift));
}

void appendF32(std::vector<uint8_t>& data, float value)
{
	uint32_t bits;
	std::memcpy(&bits, &value, sizeof(bits));
	appendU32(data, bits);
}

// A saved project must always reopen: a single whose record the reader would refuse or read otherwise
// (a byte beyond seven bits, a bend range beyond 12) is saved with its values brought into their ranges.
SinglePreset storable(const SinglePreset& single, size_t index)
{
	if (readsBack(single))
		return single;
	ZENT_LOG("Single " << index << " holds values beyond their ranges and is saved with them brought into the ranges");
	return ParameterConverter::withinRanges(single);
}

// Reads little-endian fields from the front; any read past the end fails and leaves the reader failed.
class StateReader
{
public:
	explicit StateReader(const std::vector<uint8_t>& data) : m_data(data) {}

	bool u32(uint32_t& value)
	{
		if (!has(4))
			return false;
		value = 0;
		for (int i = 0; i < 4; ++i)
			value |= static_cast<uint32_t>(m_data[m_pos + i]) << (8 * i);
		m_pos += 4;
		return true;
	}

	bool f32(float& value)
	{
		uint32_t bits;
		if (!u32(bits))
			return false;
		std::memcpy(&value, &bits, sizeof(value));
		return true;
	}

	bool bytes(size_t count, const uint8_t*& start)
	{
		if (!has(count))
			return false;
		start = m_data.data() + m_pos;
		m_pos += count;
		return true;
	}

	size_t remaining() const { return m_data.size() - m_pos; }
	std::vector<uint8_t> rest() const { return {m_data.begin() + static_cast<std::ptrdiff_t>(m_pos), m_data.end()}; }

private:
	bool has(size_t count) const { return count <= m_data.size() - m_pos; }

	const std::vector<uint8_t>& m_data;
	size_t m_pos = 0;
};
}

bool Engine::saveState(std::vector<uint8_t>& data)
{
	appendU32(data, StateVersion);
	appendU32(data, sizeof(midiSettings));
	for (uint32_t word : midiSettings)
		appendU32(data, word);

	appendU32(data, ParamCount);
	for (uint32_t p = 0; p < ParamCount; ++p)
		appendF32(data, parameters.vstParams[p]);

	std::vector<uint8_t> custom;
	listener->serializeCustomData(custom);
	appendU32(data, static_cast<uint32_t>(custom.size()));
	data.insert(data.end(), custom.begin(), custom.end());

	appendU32(data, static_cast<uint32_t>(currentSingle));
	appendU32(data, 0);
	appendU32(data, static_cast<uint32_t>(singles.size()));

	std::vector<SinglePreset> group;
	std::vector<uint8_t> dump;
	for (size_t g = 0; g < singles.size() / SinglesPerDump; ++g)
	{
		group.clear();
		for (size_t index = g * SinglesPerDump; index < (g + 1) * SinglesPerDump; ++index)
			group.push_back(storable(singles[index], index));
		Sysex::writeSingles(dump, group, 0, static_cast<StorageLocation>(g % 2), 0);
		data.insert(data.end(), dump.begin(), dump.end());
	}
	return true;
}

bool Engine::loadState(const std::vector<uint8_t>& data)
{
	if (data.empty())
		return refuseState("it is empty");

	// Every field is checked against the data, and the dumps against the count they promise, before
	// anything changes, so a truncated or damaged state is refused whole and the engine keeps what it had.
	StateReader reader(data);
	uint32_t version = 0;
	if (!reader.u32(version))
		return refuseState("it is too short to hold a version");
	if (version != 1 && version != 2)
	{
		ZENT_LOG("Unable to restore state, unknown version number " << version);
		return false;
	}

	uint32_t settingsSize = 0;
	const uint8_t* settings = nullptr;
	if (!reader.u32(settingsSize) || !reader.bytes(settingsSize, settings))
		return refuseState("it ends inside its MIDI settings");

	uint32_t paramCount = 0;
	if (!reader.u32(paramCount) || paramCount > reader.remaining() / 4)
		return refuseState("it ends inside its parameter values");
	std::vector<float> values(paramCount);
	for (float& value : values)
		reader.f32(value);

	const uint8_t* custom = nullptr;
	uint32_t customSize = 0;
	if (version == 2 && (!reader.u32(customSize) || !reader.bytes(customSize, custom)))
		return refuseState("it ends inside the owner's block");

	// The index is followed by four unused bytes, then the number of singles the dumps hold.
	uint32_t index = 0, unused = 0, storeSize = 0;
	if (!reader.u32(index) || !reader.u32(unused) || !reader.u32(storeSize))
		return refuseState("it ends before its singles");

	// The store must fill whole storages, as many as there are, and its dumps must give back exactly the
	// singles it counts: dumps lost to a cut or to damage, or a count that was damaged itself, would
	// shift every single after the loss onto another number and the current single onto another sound.
	if (storeSize == 0 || storeSize % SinglesPerStorage != 0 || storeSize > FactorySingleCount)
		return refuseState("its store of " + std::to_string(storeSize) + " singles is not a whole number of the " +
		                   std::to_string(StorageCount) + " storages of " + std::to_string(SinglesPerStorage));
	Sysex::SysexResult result;
	Sysex::readBuffer(result, reader.rest(), 255);
	if (result.singles.size() != storeSize)
		return refuseState("its store holds " + std::to_string(result.singles.size()) + " readable singles of " +
		                   std::to_string(storeSize));
	if (index >= storeSize)
		return refuseState("its current single " + std::to_string(index) + " is not in its store of " +
		                   std::to_string(storeSize));

	// From here on the state is whole: the settings and the owner's block take effect. The words
	// are stored little-endian; a shorter block replaces only the bytes it has.
	for (size_t b = 0; b < std::min<size_t>(settingsSize, sizeof(midiSettings)); ++b)
	{
		uint32_t& word = midiSettings[b / 4];
		const unsigned shift = 8 * static_cast<unsigned>(b % 4);
		word = (word & ~(0xFFu << shift)) | (static_cast<uint32_t>(settings[b]) << shift);
	}
	if (customSize > 0)
		listener->deserializeCustomData(std::vector<uint8_t>(custom, custom + customSize));

	singles = std::move(result.singles);
	currentSingle = singles.size(); // invalid, so the switch below always happens
	setSingle(index);

	for (uint32_t k = 0; k < std::min<uint32_t>(paramCount, ParamCount); ++k)
		restoreParameter(k, values[k]);
	return true;
}

bool Engine::refuseState(const std::string& reason)
{
	ZENT_LOG("Unable to restore state, " << reason);
	return false;
}

void Engine::restoreParameter(uint32_t p, float value)
{
	// A damaged value must not reach the sound. The single just loaded may itself give a value outside the
	// range (a field beyond it): that value is kept as it is.
	if (std::isnan(value))
	{
		ZENT_LOG("Parameter " << p << " of the restored state is not a number and was passed over");
		return;
	}
	if (value != parameters.vstParams[p] && (value < 0.0f || value > 1.0f))
	{
		// States saved while a short name's end read below the range hold it for the blank it reads as now.
		if (!isNameEnd(static_cast<EParam>(p), value))
			ZENT_LOG("Parameter " << p << " of the restored state is " << value << ", outside 0..1, and was clamped");
		value = std::clamp(value, 0.0f, 1.0f);
	}
	// The state lands at once: the switch above stopped every voice, so nothing can click, and a note
	// struck at the first sample plays what was saved rather than a glide towards it.
	parameters.setVSTParam(p, value, false);
}
}
