// The engine's side of the hardware's SysEx protocol: storing received dumps, answering requests,
// applying received parameter changes, and sending editor changes out as parameter changes.
#include <algorithm>
#include <cmath>

#include "Engine.h"
#include "ParameterConverter.h"
#include "Sysex.h"

namespace zentlib
{
namespace
{
constexpr uint8_t WriteResultStored = 0x40;
constexpr uint8_t WriteResultRefused = 0x41;
constexpr uint8_t WriteResultNotSupported = 0x42;

SMidiEvent sysexEvent(std::vector<uint8_t>&& message)
{
	SMidiEvent event;
	event.sysex = std::move(message);
	return event;
}
}

void Engine::processMidiSysex(const std::vector<uint8_t>& message)
{
	// A channel word beyond 255 (from a loaded state) must not wrap onto a real channel.
	const uint8_t filter = midiSettings[omni] ? 255 : static_cast<uint8_t>(std::min<uint32_t>(midiSettings[midiChannel], 255));

	// Whatever the reader collected is acted on, also the records of a dump read before a later
	// record was refused.
	Sysex::SysexResult result;
	Sysex::readBuffer(result, message, filter);
	const uint8_t channel = result.channel;

	auto reply = [this](std::vector<uint8_t>&& bytes) { listener->sendMidi(sysexEvent(std::move(bytes))); };
	auto writeResult = [&](uint8_t code) {
		std::vector<uint8_t> bytes;
		Sysex::writeWriteResult(bytes, channel, code);
		reply(std::move(bytes));
	};

	for (size_t k = 0; k < result.singles.size(); ++k)
		writeResult(setSingle(result.location + k, result.singles[k]) ? WriteResultStored : WriteResultRefused);

	for (size_t k = 0; k < result.multis.size(); ++k)
		writeResult(WriteResultNotSupported);

	for (const size_t index : result.singleRequests)
	{
		// A request can name an index far beyond the store, or a single of a storage that no storage
		// location addresses (the writer would label it as a single of the internal memory, and a peer
		// storing the answer would overwrite that one); both are answered like a request the writer refuses.
		constexpr size_t AddressableSingles = 4 * 32;
		std::vector<uint8_t> dump;
		const bool written = index < singles.size() && index < AddressableSingles &&
		                     Sysex::writeSingle(dump, singles[index], channel, static_cast<StorageLocation>(index / 32),
		                                        static_cast<uint8_t>(index % 64));
		if (written)
			reply(std::move(dump));
		else
			writeResult(WriteResultNotSupported);
	}

	for (size_t k = 0; k < result.multiRequests.size(); ++k)
		writeResult(WriteResultNotSupported);

	if (!result.parameterChanges.empty())
		applyParameterChanges(result.parameterChanges);

	if (result.machineIdRequest)
	{
		std::vector<uint8_t> bytes;
		Sysex::writeMachineIdResponse(bytes, channel);
		reply(std::move(bytes));
	}
}

// A received change moves its own parameter at once and no other: every other parameter stays where the
// host or the editor set it, and a glide on its way goes on to its target. Loading them all from the single
// would take a glide's present step for the value the host sent.
void Engine::applyParameterChanges(const std::vector<Sysex::ParameterChange>& changes)
{
	const uint32_t ampModS1S2 = singles[currentSingle].ampModS1S2;
	const uint32_t ampModS3S4 = singles[currentSingle].ampModS3S4;

	ParameterSet moved;
	for (const auto& change : changes)
	{
		EParam p = Param_Volume;
		if (ParameterConverter::toSingle(singles[currentSingle], change) && ParameterConverter::toParameter(p, change))
			moved.set(p);
	}
	if (moved.none())
		return;

	const bool flipped12 = (ampModS1S2 == 2) != (singles[currentSingle].ampModS1S2 == 2);
	const bool flipped34 = (ampModS3S4 == 2) != (singles[currentSingle].ampModS3S4 == 2);
	if (flipped12)
		swapReceivedSources(0, 1, moved);
	if (flipped34)
		swapReceivedSources(2, 3, moved);
	pushSingleToParameters(singles[currentSingle], moved);
	if (!flipped12 && !flipped34)
		listener->onActiveSingleModified(currentSingle);
	listener->onSingleModified(currentSingle);
}

// The hardware keeps the modulating source of an "S1>S2" pair in the other slot, so a flip into or out of
// that setting reorders the pair, as storing the reordered single would: the voices stop and the single is
// reported. Every parameter of the two sources moves with them; one still gliding lands on its target
// first, so the value the host sent travels with its source rather than the glide's present step.
void Engine::swapReceivedSources(size_t a, size_t b, ParameterSet& moved)
{
	SinglePreset copy = singles[currentSingle];
	ParameterSet pair;
	for (uint32_t p = Param_SourceS1Fine; p < Param_SourceMix12; ++p)
	{
		const size_t source = (p - Param_SourceS1Mute) % 4;
		if (source != a && source != b)
			continue;
		pair.set(p);
		if (!moved[p] && parameters.isMoving(p))
		{
			const int target = static_cast<int>(std::lround(parameters.targetParams[p]));
			ParameterConverter::toSingle(copy, static_cast<EParam>(p), target);
		}
	}
	std::swap(copy.sources[a], copy.sources[b]);
	if (copy == singles[currentSingle])
		return;

	singles[currentSingle] = copy;
	clearAllVoices();
	moved |= pair;
	pushSingleToParameters(copy, moved);
	listener->onActiveSingleModified(currentSingle);
	listener->onSingleModified(currentSingle);
}

bool Engine::sendParameterAsSysex(EParam parameter, float value) const
{
	uint8_t source = 0;
	const ParameterCursor cursor = ParameterConverter::toCursor(source, parameter);
	if (cursor == 0)
		return false;

	SinglePreset copy = singles[currentSingle];
	const CParam& record = g_params[parameter];
	const float real = value * record.range + record.min;
	if (!ParameterConverter::toSingle(copy, parameter, static_cast<int>(std::lround(real))))
		return false;

	uint8_t raw = 0;
	if (!ParameterConverter::fromSingle(raw, copy, cursor, source))
		return false;

	std::vector<uint8_t> message;
	Sysex::writeParameterChange(message, 0, Sysex::SysexResult::ParameterChange{static_cast<uint8_t>(cursor), source, raw});
	listener->sendMidi(sysexEvent(std::move(message)));
	return true;
}
}
