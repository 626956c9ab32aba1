#pragma once

#include <cstddef>
#include <vector>

#include "SMidiEvent.h"

namespace zentlib
{
class Engine;

// Converts the engine's fixed internal rate to the host rate with libresample (one converter per
// channel). It asks the engine for as many internal samples as a host block needs, keeps what the
// converter has not taken yet for the next pass, and moves the block's MIDI events to engine time.
class Resampler
{
public:
	Resampler(Engine& engine, float inRate, float outRate, size_t channels);
	~Resampler();
	Resampler(const Resampler&) = delete;
	Resampler& operator=(const Resampler&) = delete;

	// Fills `frames` samples of both outputs at the host rate. Events are consumed as they are
	// rendered; every one of them is handled within the call.
	void process(float** outputs, int frames, std::vector<SMidiEvent>& events);

	// One conversion pass; the number of host samples written.
	int processResample(float** outputs, int frames, std::vector<SMidiEvent>& events);

	// Drops the events before `position` and moves the others back by it; all go when position >= length.
	static void clearMidiEvents(std::vector<SMidiEvent>& events, int length, int position);

	float getInRate() const { return m_inRate; }
	float getOutRate() const { return m_outRate; }
	// Engine samples rendered but not yet taken by the converter.
	size_t getWaitingSamples() const { return m_buffers.empty() ? 0 : m_buffers[0].size(); }

private:
	bool isUsable() const;

	Engine& m_engine;
	float m_inRate;
	float m_outRate;
	float m_inPerOut;
	float m_outPerIn;
	size_t m_channels;
	std::vector<void*> m_handles;
	std::vector<std::vector<float>> m_buffers;
	std::vector<SMidiEvent> m_renderEvents;
	std::vector<bool> m_rendered; // per caller event: included in the render of this pass
};
}
