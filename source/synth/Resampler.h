#pragma once

#include <cstddef>
#include <cstdint>
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

	// Fills `frames` samples of both outputs at the host rate and leaves the vector empty. Every
	// event is handled exactly once: in this call, or at the first sample of the next render when
	// no render of this call reached it. Without open converters (an unusable rate) the block is
	// silence and its events are dropped.
	void process(float** outputs, int frames, std::vector<SMidiEvent>& events);

	// One conversion pass; the number of host samples written. The events handed to the engine leave
	// the vector; the others move back by the samples written.
	int processResample(float** outputs, int frames, std::vector<SMidiEvent>& events);

	// Drops the events before `position` and moves the others back by it; all go when position >= length.
	static void clearMidiEvents(std::vector<SMidiEvent>& events, int length, int position);

	float getInRate() const { return m_inRate; }
	float getOutRate() const { return m_outRate; }
	// Both converters were opened.
	bool isUsable() const;
	// Engine samples rendered but not yet taken by the converter.
	size_t getWaitingSamples() const { return m_buffers.empty() ? 0 : m_buffers[0].size(); }
	// Events of earlier blocks that no render has reached yet.
	const std::vector<SMidiEvent>& getCarriedEvents() const { return m_carried; }
	// Engine samples rendered since the resampler was made.
	uint64_t getRenderedSamples() const { return m_renderedSamples; }

private:
	// The pass-through at the engine's own rate.
	void renderDirectly(float** outputs, int frames, std::vector<SMidiEvent>& events);

	Engine& m_engine;
	float m_inRate;
	float m_outRate;
	float m_inPerOut;
	float m_outPerIn;
	size_t m_channels;
	std::vector<void*> m_handles;
	std::vector<std::vector<float>> m_buffers;
	std::vector<SMidiEvent> m_renderEvents;
	std::vector<SMidiEvent> m_carried; // for the first sample of the next render
	std::vector<uint8_t> m_rendered; // per caller event: handed to the engine in this pass
	double m_needRemainder = 0.0;    // rounding left over from the previous passes' engine counts
	bool m_starved = false;          // the last pass wrote nothing
	uint64_t m_renderedSamples = 0;
};
}
