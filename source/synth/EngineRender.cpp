// The engine's render loop and MIDI input: everything runs per sample at the internal rate.
#include <algorithm>
#include <cmath>

#include "Curves.h"
#include "Engine.h"
#include "ParameterConverter.h"

namespace zentlib
{
namespace
{
int roundHalfAwayFromZero(float x)
{
	return static_cast<int>(std::lround(x));
}

void removeHeldNote(std::vector<uint8_t>& heldNotes, uint8_t note)
{
	heldNotes.erase(std::remove(heldNotes.begin(), heldNotes.end(), note), heldNotes.end());
}

// Events come in the order they arrived, which need not be the order of their offsets: a host may
// queue a later event first, and MIDI may reach the facade from two threads. Sorted in place by
// insertion, stable for equal offsets: nothing is allocated on the render thread, and a block that
// arrives in order costs one pass.
void sortByOffset(std::vector<SMidiEvent>& events)
{
	const auto before = [](uint32_t offset, const SMidiEvent& event) { return offset < event.sampleOffset; };
	for (auto next = events.begin(); next != events.end(); ++next)
		std::rotate(std::upper_bound(events.begin(), next, next->sampleOffset, before), next, next + 1);
}
}

void Engine::setSamplerate(float rate)
{
	if (rate == hostSamplerate)
		return;
	hostSamplerate = rate;
	// Events the old converter still held for its next render are not lost with it.
	if (resampler)
	{
		for (const SMidiEvent& event : resampler->getCarriedEvents())
			processMidiEvent(event);
	}
	resampler.reset();
	resampler = std::make_unique<Resampler>(*this, InternalSamplerate, rate, 2);
}

float Engine::getProcessingSamplerate() const
{
	return resampler ? resampler->getInRate() : hostSamplerate;
}

void Engine::process(float** outputs, int frames, std::vector<SMidiEvent>& events)
{
	if (frames < 1)
		return;
	sortByOffset(events);

	// A host may leave a channel out; render it into scratch memory rather than through a null pointer.
	float* channels[2] = {outputs ? outputs[0] : nullptr, outputs ? outputs[1] : nullptr};
	for (int c = 0; c < 2; ++c)
	{
		if (channels[c])
			continue;
		if (m_scratch[c].size() < static_cast<size_t>(frames))
			m_scratch[c].resize(frames);
		channels[c] = m_scratch[c].data();
	}

	if (getProcessingSamplerate() <= 0.0f)
	{
		// Nothing can sound before the host has told its rate.
		renderSilence(channels, frames);
		return;
	}
	if (resampler)
		resampler->process(channels, frames, events);
	else
		processAudio(channels, frames, events);
}

void Engine::renderSilence(float** outputs, int frames)
{
	std::fill(outputs[0], outputs[0] + frames, 0.0f);
	std::fill(outputs[1], outputs[1] + frames, 0.0f);
}

void Engine::processParameterChange(EParam p, float x)
{
	switch (p)
	{
	case Param_SourceMix12:
		sourceMixGain[0] = std::min(1.0f - x, 1.0f);
		sourceMixGain[1] = std::min(1.0f + x, 1.0f);
		break;
	case Param_SourceMix34:
		sourceMixGain[2] = std::min(1.0f - x, 1.0f);
		sourceMixGain[3] = std::min(1.0f + x, 1.0f);
		break;
	default:
		ParameterConverter::toSingle(singles[currentSingle], p, roundHalfAwayFromZero(x));
		if (p == Param_PitchBendDepth)
			pitchBendRange = static_cast<int32_t>(singles[currentSingle].pitchBendDepth);
		break;
	}
}

SampleInputs Engine::sampleInputs() const
{
	SampleInputs in;
	in.masterTune = masterTune;
	in.pitchBendSemitones = pitchBendSemitones;
	in.pressureFreqOffset = pressureFreqOffset;
	in.pressure = pressure;
	in.vibratoValue = vibratoValue;
	std::copy(std::begin(sourceMixGain), std::end(sourceMixGain), in.sourceMixGain);
	in.settingsSerial = m_settingsSerial;
	in.pitchSerial = m_pitchSerial;
	return in;
}

void Engine::notePitchInputs()
{
	const float now[3] = {masterTune, pitchBendSemitones, pressureFreqOffset};
	// Compared as values: NaN always counts as a change, and -0 and 0 give the same pitch sums.
	if (!(now[0] == m_pitchInputs[0] && now[1] == m_pitchInputs[1] && now[2] == m_pitchInputs[2]))
	{
		std::copy(std::begin(now), std::end(now), m_pitchInputs);
		++m_pitchSerial;
	}
}

void Engine::processAudio(float** outputs, int frames, const std::vector<SMidiEvent>& events)
{
	if (frames < 1)
		return;

	float* left = outputs[0];
	float* right = outputs[1];
	const float rate = getProcessingSamplerate();
	auto event = events.begin();
	// Anything may have changed since the last block: the facade edits singles between blocks.
	++m_settingsSerial;

	for (int i = 0; i < frames; ++i)
	{
		parameters.process();
		for (uint32_t k = 0; k < parameters.changedRing.size(); ++k)
		{
			const uint32_t p = parameters.changedRing[k];
			processParameterChange(static_cast<EParam>(p), parameters.currentParams[p]);
			++m_settingsSerial;
		}

		// An event whose offset has passed (events handed over out of order) is played now rather than lost.
		while (event != events.end() && event->sampleOffset <= static_cast<uint32_t>(i))
		{
			processMidiEvent(*event);
			++event;
			++m_settingsSerial;
		}

		lfoValue = lfo.process(rate);
		vibratoValue = vibrato.process(rate, lfoValue);
		pitchBendSemitones = static_cast<float>(pitchBendRange) * pitchBend;
		const int p = singles[currentSingle].pressureToFreq;
		const float sign = p < 50 ? -1.0f : 1.0f;
		pressureFreqOffset = pressureToFreq(static_cast<uint32_t>(std::abs(p - 50))) * sign * pressure;
		notePitchInputs();

		// Every voice adds the same terms to both sides, so one sum serves both until the pan.
		const SampleInputs in = sampleInputs();
		float sum = 0.0f;
		for (auto voice = voices.begin(); voice != voices.end();)
		{
			if (voice->render(in, sum))
				voice = voices.erase(voice);
			else
				++voice;
		}

		const float gain = volume(singles[currentSingle].volume);
		left[i] = sum * panLeft * gain * midiVolume;
		right[i] = sum * panRight * gain * midiVolume;
	}
}

void Engine::processMidiEvent(const SMidiEvent& event)
{
	if (!event.sysex.empty())
	{
		if (midiSettings[receiveSysex])
			processMidiSysex(event.sysex);
		return;
	}
	if (!midiSettings[omni] && (event.status & 0x0F) != midiSettings[midiChannel])
		return;

	switch (event.status & 0xF0)
	{
	case 0x80:
		processMidiNoteOff(event.data1, event.data2);
		break;
	case 0x90:
		if (event.data2 == 0)
			processMidiNoteOff(event.data1, 0);
		else
			processMidiNoteOn(event.data1, event.data2);
		break;
	case 0xB0:
		processControlChange(event.data1, event.data2);
		break;
	case 0xC0:
		if (midiSettings[receiveProgramChange])
			processProgramChange(event.data1);
		break;
	case 0xD0:
		if (midiSettings[receivePressure])
			pressure = static_cast<float>(event.data1) / 127.0f;
		break;
	case 0xE0:
		pitchBend = static_cast<float>((event.data2 * 128 + event.data1) - 8192) / 8192.0f;
		break;
	default: // polyphonic pressure, system messages and stray data bytes
		break;
	}
}

void Engine::processControlChange(uint8_t controller, uint8_t value)
{
	switch (controller)
	{
	case 1:
		if (midiSettings[receiveModWheel])
			modWheel = static_cast<float>(value) / 127.0f;
		break;
	case 6:
		if (rpnMsb != 0)
			break;
		if (rpnLsb == 0)
			pitchBendRange = value <= 12 ? value : 0;
		else if (rpnLsb == 1)
			masterTune = static_cast<float>(std::clamp<int>(value, 14, 114) - 64) * 0.02f;
		break;
	case 7:
		if (midiSettings[receiveVolume])
			midiVolume = static_cast<float>(value) / 127.0f;
		break;
	case 10:
		if (midiSettings[receivePan])
		{
			panRight = static_cast<float>(std::min<int>(value, 64)) / 64.0f;
			panLeft = static_cast<float>(128 - std::max<int>(value, 64)) / 64.0f;
		}
		break;
	case 32:
		bankSelect = value;
		break;
	case 64:
		if (midiSettings[receiveHoldPedal])
		{
			holdPedal = value >= 64;
			onHoldPedalChanged();
		}
		break;
	case 100:
		rpnLsb = value;
		break;
	case 101:
		rpnMsb = value;
		break;
	case 123:
		holdPedal = false;
		for (Voice& voice : voices)
			voice.onNoteOff(127);
		std::fill(std::begin(noteDown), std::end(noteDown), 0);
		heldNotes.clear();
		break;
	case 124:
		midiSettings[omni] = 0;
		break;
	case 125:
		midiSettings[omni] = 1;
		break;
	default:
		break;
	}
}

void Engine::processProgramChange(uint8_t program)
{
	if (program > 63)
		return;
	const size_t storages = singles.size() / SinglesPerStorage;
	if (bankSelect < storages)
	{
		const size_t index = bankSelect * SinglesPerStorage + program;
		bankSelect = 255;
		setSingle(index);
	}
	else
	{
		setSingle(currentSingle / SinglesPerStorage * SinglesPerStorage + program);
	}
}

void Engine::processMidiNoteOn(uint8_t note, uint8_t velocity)
{
	note &= 0x7F;
	noteDown[note] = 1;
	removeHeldNote(heldNotes, note);
	heldNotes.push_back(note);

	switch (singles[currentSingle].polyMode)
	{
	case 2: // Solo: whatever sounds goes into the fast release
		for (Voice& voice : voices)
			voice.onNoteOff(127, 7);
		break;
	case 0: // Poly 1: a struck note replaces its own voice at once
		voices.remove_if([note](const Voice& voice) { return voice.getNote() == note; });
		break;
	default: // Poly 2: repeated notes stack
		break;
	}
	createVoice(note, velocity);
}

void Engine::processMidiNoteOff(uint8_t note, uint8_t velocity)
{
	note &= 0x7F;
	if (holdPedal)
	{
		noteSustained[note] = 1;
		return;
	}
	noteSustained[note] = 0;
	noteDown[note] = 0;
	removeHeldNote(heldNotes, note);

	if (singles[currentSingle].polyMode == 2)
	{
		auto oldest = std::find_if(voices.begin(), voices.end(), [note](const Voice& v) { return v.getNote() == note; });
		if (!heldNotes.empty() && oldest != voices.end() && oldest->getVelocity() != 0)
		{
			// Last-note priority: the key pressed most recently among those still held sounds again.
			const uint8_t retriggerVelocity = oldest->getVelocity();
			for (Voice& voice : voices)
				voice.onNoteOff(127, 7);
			createVoice(heldNotes.back(), retriggerVelocity);
			return;
		}
	}
	stopVoicesForNote(note, velocity, false);
}

void Engine::onHoldPedalChanged()
{
	if (holdPedal)
		return;
	for (int n = 0; n < 128; ++n)
	{
		if (noteSustained[n])
			processMidiNoteOff(static_cast<uint8_t>(n), 127);
	}
}

void Engine::createVoice(uint8_t note, uint8_t velocity)
{
	voices.emplace_back(*this, note, velocity, getProcessingSamplerate());
}

void Engine::stopVoicesForNote(uint8_t note, uint8_t velocity, bool immediately)
{
	if (immediately)
	{
		voices.remove_if([note](const Voice& voice) { return voice.getNote() == note; });
		return;
	}
	for (Voice& voice : voices)
	{
		if (voice.getNote() == note)
			voice.onNoteOff(velocity);
	}
}

void Engine::clearAllVoices()
{
	voices.clear();
	heldNotes.clear();
	std::fill(std::begin(noteDown), std::end(noteDown), 0);
}
}
