#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace zentlib
{
struct SMidiEvent;

// What the engine reports to its owner. Every call is made synchronously from inside the engine
// operation that causes it.
class IEngineListener
{
public:
	virtual void onActiveProgramChanged(size_t index) = 0;
	virtual void onSingleModified(size_t index) = 0;
	virtual void onActiveSingleModified(size_t index) = 0;
	virtual void sendMidi(const SMidiEvent& event) = 0;
	virtual void onSinglesModified(size_t first, size_t count) = 0;
	// Handed an empty vector while the state is saved; what the owner leaves in it is stored.
	virtual void serializeCustomData(std::vector<uint8_t>& data) = 0;
	// The owner's stored bytes, handed back while a state is restored (never empty).
	virtual void deserializeCustomData(const std::vector<uint8_t>& data) = 0;
	virtual ~IEngineListener() = default;
};
}
