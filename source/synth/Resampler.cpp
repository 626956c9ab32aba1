#include "Resampler.h"

#include <libresample.h>

#include <algorithm>
#include <cmath>

#include "Engine.h"

namespace zentlib
{
namespace
{
// A pass that renders, consumes and writes nothing cannot make progress; after this many in a row
// the rest of the block is silence rather than an endless loop.
constexpr int MaxIdlePasses = 4;
// Passes that feed the converter but get nothing back. Filling its filter takes a few dozen engine
// samples, so even one-sample blocks need far fewer; a converter still silent after this many is
// given up for the block.
constexpr int MaxSilentPasses = 256;

int toEngineTime(uint32_t hostOffset, float inPerOut)
{
	return static_cast<int>(static_cast<float>(hostOffset) * inPerOut + 0.5f);
}

bool isUsableRate(float rate)
{
	return std::isfinite(rate) && rate > 0.0f;
}
}

Resampler::Resampler(Engine& engine, float inRate, float outRate, size_t channels)
	: m_engine(engine), m_inRate(inRate), m_outRate(outRate), m_inPerOut(inRate / outRate),
	  m_outPerIn(outRate / inRate), m_channels(channels), m_buffers(channels)
{
	// libresample sizes its buffers from the factor: a rate that is zero, negative or not a number
	// leaves the converters closed and the resampler silent.
	const bool usable = isUsableRate(inRate) && isUsableRate(outRate) && std::isfinite(m_outPerIn) && m_outPerIn > 0.0f;
	for (size_t c = 0; c < m_channels; ++c)
		m_handles.push_back(usable ? resample_open(1, m_outPerIn, m_outPerIn) : nullptr);
}

Resampler::~Resampler()
{
	for (void* handle : m_handles)
	{
		if (handle)
			resample_close(handle);
	}
}

bool Resampler::isUsable() const
{
	return m_channels >= 2 && std::none_of(m_handles.begin(), m_handles.end(), [](void* h) { return h == nullptr; });
}

void Resampler::process(float** outputs, int frames, std::vector<SMidiEvent>& events)
{
	if (m_inRate == m_outRate)
	{
		renderDirectly(outputs, frames, events);
		return;
	}

	int done = 0;
	int idlePasses = 0;
	int silentPasses = 0;
	const bool usable = isUsable();
	while (done < frames && usable && idlePasses < MaxIdlePasses && silentPasses < MaxSilentPasses)
	{
		float* channels[2] = {outputs[0] + done, outputs[1] + done};
		const uint64_t renderedBefore = m_renderedSamples;
		const size_t waitingBefore = getWaitingSamples();
		const int written = processResample(channels, frames - done, events);
		done += written;
		const bool progressed = written > 0 || m_renderedSamples != renderedBefore || getWaitingSamples() != waitingBefore;
		idlePasses = progressed ? 0 : idlePasses + 1;
		silentPasses = written > 0 ? 0 : silentPasses + 1;
	}
	for (int c = 0; c < 2; ++c)
		std::fill(outputs[c] + done, outputs[c] + frames, 0.0f);

	// Events that no pass reached (the converter still had enough waiting samples, or an offset near
	// the end rounded past the last render) wait for the next render, which takes them at its first
	// sample. Rendering extra samples for them instead would pile up latency whenever blocks are
	// shorter than one engine sample.
	if (usable)
	{
		for (SMidiEvent& event : events)
		{
			event.sampleOffset = 0;
			m_carried.push_back(std::move(event));
		}
	}
	events.clear();
}

void Resampler::renderDirectly(float** outputs, int frames, std::vector<SMidiEvent>& events)
{
	// At the engine's own rate the block renders as it comes, and an event at or past its end waits for
	// the first sample of the next block, as it does at every other rate.
	m_renderEvents.clear();
	for (SMidiEvent& event : m_carried)
		m_renderEvents.push_back(std::move(event));
	m_carried.clear();
	for (SMidiEvent& event : events)
	{
		if (event.sampleOffset < static_cast<uint32_t>(frames))
		{
			m_renderEvents.push_back(std::move(event));
			continue;
		}
		event.sampleOffset = 0;
		m_carried.push_back(std::move(event));
	}
	events.clear();
	m_engine.processAudio(outputs, frames, m_renderEvents);
}

int Resampler::processResample(float** outputs, int frames, std::vector<SMidiEvent>& events)
{
	// The engine samples that `frames` host samples take, rounded to the nearest. The remainder goes
	// on to the next pass: rounding each block on its own would render up to half a sample too many
	// per block and the waiting samples, and with them the latency, would grow without end.
	const double exactNeed = static_cast<double>(frames) * static_cast<double>(m_inPerOut) + m_needRemainder;
	int need = std::max(0, static_cast<int>(exactNeed + 0.5));
	m_needRemainder = exactNeed - static_cast<double>(need);
	const int have = static_cast<int>(getWaitingSamples());
	// A host rate far above the engine's with tiny blocks asks for less than one engine sample per
	// pass; when the converter has run dry, one more sample moves it on. It stays outside the
	// remainder: the converter needed more look-ahead than it had.
	if (m_starved)
		need = std::max(need, have + 1);

	m_rendered.assign(events.size(), 0);
	if (need > have)
	{
		const int length = need - have;
		for (auto& buffer : m_buffers)
			buffer.resize(static_cast<size_t>(need));

		// Host offset k sits k * inPerOut engine samples after the first waiting sample, so the render,
		// which starts behind the waiting ones, meets it `have` samples earlier. Events that fall inside
		// the waiting samples are taken at the render's first sample; events beyond the render wait.
		m_renderEvents.clear();
		for (SMidiEvent& event : m_carried)
			m_renderEvents.push_back(std::move(event));
		m_carried.clear();
		for (size_t e = 0; e < events.size(); ++e)
		{
			const int offset = std::max(0, toEngineTime(events[e].sampleOffset, m_inPerOut) - have);
			if (offset >= length)
				continue;
			m_renderEvents.push_back(std::move(events[e]));
			m_renderEvents.back().sampleOffset = static_cast<uint32_t>(offset);
			m_rendered[e] = 1;
		}
		float* targets[2] = {m_buffers[0].data() + have, m_buffers[1].data() + have};
		m_engine.processAudio(targets, length, m_renderEvents);
		m_renderedSamples += static_cast<uint64_t>(length);
	}

	int written = 0;
	for (size_t c = 0; c < m_channels; ++c)
	{
		std::vector<float>& buffer = m_buffers[c];
		int used = 0;
		const int offered = std::min(need, static_cast<int>(buffer.size()));
		written = resample_process(m_handles[c], m_outPerIn, buffer.data(), offered, 0, &used, outputs[c], frames);
		used = std::clamp(used, 0, offered);
		buffer.erase(buffer.begin(), buffer.begin() + used);
	}
	written = std::clamp(written, 0, frames);
	m_starved = written == 0;

	// Every event handed to the engine has been handled and leaves the block, whatever its host
	// offset: keeping one would play it twice. The others move back by what was written; one whose
	// time has passed is taken at the start of the next render.
	size_t kept = 0;
	for (size_t e = 0; e < events.size(); ++e)
	{
		if (m_rendered[e])
			continue;
		SMidiEvent& event = events[e];
		event.sampleOffset = event.sampleOffset > static_cast<uint32_t>(written) ? event.sampleOffset - written : 0;
		if (kept != e)
			events[kept] = std::move(event);
		++kept;
	}
	events.resize(kept);
	return written;
}

void Resampler::clearMidiEvents(std::vector<SMidiEvent>& events, int length, int position)
{
	if (events.empty())
		return;
	if (position >= length)
	{
		events.clear();
		return;
	}
	for (size_t i = events.size(); i-- > 0;)
	{
		if (static_cast<int>(events[i].sampleOffset) < position)
		{
			events.erase(events.begin(), events.begin() + static_cast<std::ptrdiff_t>(i) + 1);
			return;
		}
		events[i].sampleOffset -= position;
	}
}
}
