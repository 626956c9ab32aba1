// The bytes of a saved state: MIDI settings, the normalised parameters, the owner's block, the current single
// and the whole store as SysEx block dumps. Version 2 is written; versions 1 and 2 are read.
#include "SavedState.h"

#include <algorithm>
#include <cstring>
#include <string>

#include "Engine.h"
#include "ParameterConverter.h"
#include "SingleRecord.h"
#include "Sysex.h"
#include "log.h"

namespace zentlib
{
namespace
{
constexpr uint32_t StateVersion = 2;
constexpr size_t SettingsSize = sizeof(Engine::midiSettings);
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

bool refuseState(const std::string& reason)
{
	ZENT_LOG("Unable to restore state, " << reason);
	return false;
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

void SavedState::reserveForEngine()
{
	settings.reserve(SettingsSize);
	parameters.reserve(ParamCount);
	singles.reserve(Engine::FactorySingleCount);
}

void writeState(std::vector<uint8_t>& data, const SavedState& state)
{
	appendU32(data, StateVersion);
	appendU32(data, static_cast<uint32_t>(state.settings.size()));
	data.insert(data.end(), state.settings.begin(), state.settings.end());

	appendU32(data, static_cast<uint32_t>(state.parameters.size()));
	for (float value : state.parameters)
		appendF32(data, value);

	appendU32(data, static_cast<uint32_t>(state.custom.size()));
	data.insert(data.end(), state.custom.begin(), state.custom.end());

	appendU32(data, state.currentSingle);
	appendU32(data, 0);
	appendU32(data, static_cast<uint32_t>(state.singles.size()));

	std::vector<SinglePreset> group;
	std::vector<uint8_t> dump;
	for (size_t g = 0; g < state.singles.size() / SinglesPerDump; ++g)
	{
		group.clear();
		for (size_t index = g * SinglesPerDump; index < (g + 1) * SinglesPerDump; ++index)
			group.push_back(storable(state.singles[index], index));
		Sysex::writeSingles(dump, group, 0, static_cast<StorageLocation>(g % 2), 0);
		data.insert(data.end(), dump.begin(), dump.end());
	}
}

bool readState(SavedState& state, const std::vector<uint8_t>& data)
{
	if (data.empty())
		return refuseState("it is empty");

	// Every field is checked against the data, and the dumps against the count they promise, so a truncated
	// or damaged state is refused whole.
	StateReader reader(data);
	uint32_t version = 0;
	if (!reader.u32(version))
		return refuseState("it is too short to hold a version");
	if (version != 1 && version != 2)
	{
		ZENT_LOG("Unable to restore state, unknown version number " << version);
		return false;
	}

	// A longer block from another version is read in part and passed over.
	uint32_t settingsSize = 0;
	const uint8_t* settings = nullptr;
	if (!reader.u32(settingsSize) || !reader.bytes(settingsSize, settings))
		return refuseState("it ends inside its MIDI settings");
	state.settings.assign(settings, settings + std::min<size_t>(settingsSize, SettingsSize));

	uint32_t paramCount = 0;
	if (!reader.u32(paramCount) || paramCount > reader.remaining() / 4)
		return refuseState("it ends inside its parameter values");
	state.parameters.resize(paramCount);
	for (float& value : state.parameters)
		reader.f32(value);

	const uint8_t* custom = nullptr;
	uint32_t customSize = 0;
	if (version == 2 && (!reader.u32(customSize) || !reader.bytes(customSize, custom)))
		return refuseState("it ends inside the owner's block");
	state.custom.assign(custom, custom + customSize);

	// The index is followed by four unused bytes, then the number of singles the dumps hold.
	uint32_t index = 0, unused = 0, storeSize = 0;
	if (!reader.u32(index) || !reader.u32(unused) || !reader.u32(storeSize))
		return refuseState("it ends before its singles");

	// The store must fill whole storages, as many as there are, and its dumps must give back exactly the
	// singles it counts: dumps lost to a cut or to damage, or a count that was damaged itself, would
	// shift every single after the loss onto another number and the current single onto another sound.
	if (storeSize == 0 || storeSize % Engine::SinglesPerStorage != 0 || storeSize > Engine::FactorySingleCount)
		return refuseState("its store of " + std::to_string(storeSize) + " singles is not a whole number of the " +
		              std::to_string(Engine::StorageCount) + " storages of " + std::to_string(Engine::SinglesPerStorage));
	Sysex::SysexResult result;
	Sysex::readBuffer(result, reader.rest(), 255);
	if (result.singles.size() != storeSize)
		return refuseState("its store holds " + std::to_string(result.singles.size()) + " readable singles of " +
		              std::to_string(storeSize));
	if (index >= storeSize)
		return refuseState("its current single " + std::to_string(index) + " is not in its store of " +
		              std::to_string(storeSize));
	state.currentSingle = index;
	state.singles = std::move(result.singles);
	return true;
}
}
