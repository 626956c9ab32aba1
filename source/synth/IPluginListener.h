#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "CParam.h"
#include "SMidiEvent.h"

namespace zentlib
{
// The facade's link to the host adapter. The facade never deletes its listener. Each call comes on the thread
// that caused it. sendMidi and onParameterChanged, which reach the host, come after the facade has let go of its
// engine lock (on the render thread, before the render call returns); the others come with the lock held.
class IPluginListener
{
public:
	virtual void onActiveProgramChanged(size_t index) = 0;
	virtual void onSingleModified(size_t index) = 0;
	virtual void onActiveSingleModified(size_t index) = 0;
	virtual void sendMidi(const SMidiEvent& event) = 0;
	virtual void onSinglesModified(size_t first, size_t count) = 0;
	virtual void onParameterChanged(EParam parameter, float normalisedValue) = 0;
	virtual void serializeCustomData(std::vector<uint8_t>& data) = 0;
	virtual void deserializeCustomData(const std::vector<uint8_t>& data) = 0;

protected:
	~IPluginListener() = default;
};
}
