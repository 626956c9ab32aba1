#include "BlockRenderer.h"

#include "HostedUnit.h"

#include <cmath>

BlockRenderer::BlockRenderer(HostedUnit& unit, const MidiSequence& sequence, const std::string& name, double sampleRate)
	: m_unit(unit), m_sequence(sequence), m_name(name), m_rate(sampleRate)
{
}

void BlockRenderer::sendSysEx(const std::vector<uint8_t>& message, const std::string& where, const std::string& file)
{
	m_unit.sendSysEx(message);
	m_watch.sent(where, file, true);
}

void BlockRenderer::render(float* left, float* right, uint32_t frames)
{
	for (; m_next < m_sequence.events.size(); ++m_next)
	{
		const MidiSequence::Event& e = m_sequence.events[m_next];
		const uint64_t at = uint64_t(std::llround(e.seconds * m_rate));
		if (at >= m_start + frames)
			break;
		if (e.bytes[0] == 0xF0)
			m_watch.sent(timeText(e.seconds), m_name, false);
		m_unit.sendMidi(e.bytes, UInt32(at > m_start ? at - m_start : 0));
	}
	m_unit.render(left, right, frames);
	m_watch.rendered();
	m_start += frames;
}
