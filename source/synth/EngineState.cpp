// The engine's saved state: what it holds copied out, and a whole state read elsewhere put in place of it.
#include <algorithm>
#include <cmath>
#include <cstring>
#include <string>

#include "Engine.h"
#include "ParameterConverter.h"
#include "SavedState.h"
#include "log.h"

namespace zentlib
{
bool Engine::saveState(std::vector<uint8_t>& data)
{
	SavedState state;
	copyState(state);
	listener->serializeCustomData(state.custom);
	writeState(data, state);
	return true;
}

bool Engine::loadState(const std::vector<uint8_t>& data)
{
	SavedState state;
	if (!readState(state, data))
		return false;
	if (!state.custom.empty())
		listener->deserializeCustomData(state.custom);
	takeState(state);
	return true;
}

void Engine::copyState(SavedState& state) const
{
	state.settings.resize(sizeof(midiSettings));
	for (size_t b = 0; b < sizeof(midiSettings); ++b)
		state.settings[b] = static_cast<uint8_t>(midiSettings[b / 4] >> (8 * (b % 4)));
	state.parameters.assign(parameters.vstParams, parameters.vstParams + ParamCount);
	state.currentSingle = static_cast<uint32_t>(currentSingle);
	state.singles = singles;
}

void Engine::takeState(SavedState& state)
{
	// The words are stored little-endian; a shorter block replaces only the bytes it has.
	for (size_t b = 0; b < std::min(state.settings.size(), sizeof(midiSettings)); ++b)
	{
		uint32_t& word = midiSettings[b / 4];
		const unsigned shift = 8 * static_cast<unsigned>(b % 4);
		word = (word & ~(0xFFu << shift)) | (static_cast<uint32_t>(state.settings[b]) << shift);
	}

	singles.swap(state.singles);
	currentSingle = singles.size(); // invalid, so the switch below always happens
	setSingle(state.currentSingle);

	for (uint32_t k = 0; k < std::min<size_t>(state.parameters.size(), ParamCount); ++k)
		restoreParameter(k, state.parameters[k]);
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
