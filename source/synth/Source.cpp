#include "Source.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "Curves.h"
#include "Engine.h"
#include "Voice.h"

namespace zentlib
{
namespace
{
// The sampled (PCM) waves never play below this pitch; lower pitch sums are raised by octaves.
constexpr unsigned char FirstPcmWave = 204;
constexpr double PcmMinPitch = 19.94;
constexpr double CyclicMinPitch = -128.0;

// Played instead of a wave that has no data, so that a source never reads through a null table.
const float Silence[1] = {0.0f};

unsigned char byteOf(uint32_t value)
{
	return static_cast<unsigned char>(std::min<uint32_t>(value, 255));
}

// Magnitude and sign of a stored signed amount (0..100, 50 neutral).
unsigned char magnitudeOf(int stored)
{
	return byteOf(static_cast<uint32_t>(stored < 50 ? 50 - stored : stored - 50));
}
}

float fastPow2(float x)
{
	const float c = std::max(x, -126.0f);
	const float o = x < 0.0f ? 1.0f : 0.0f;
	const float z = c - static_cast<float>(static_cast<int>(c)) + o;
	float t = c + 121.274055f;
	t = 27.728024f / (4.8425255f - z) + t;
	t = z * -1.4901291f + t;
	const auto bits = static_cast<uint32_t>(static_cast<int64_t>(t * 8388608.0f));
	float result;
	std::memcpy(&result, &bits, sizeof(result));
	return result;
}

// Until init chooses a wave the source reads silence, so processing it early reads no null table.
Source::Source(const Engine& engine, int index)
	: m_engine(&engine), m_index(static_cast<uint8_t>(index)), m_data(Silence), m_length(1)
{
}

const SingleSource& Source::getSource() const
{
	return m_engine->getCurrentSingle().sources[m_index];
}

void Source::init(unsigned char note, unsigned char velocity, float sampleRate)
{
	const SinglePreset& single = m_engine->getCurrentSingle();
	const SingleSource& src = single.sources[m_index];
	const unsigned char curve = byteOf(single.keyScaleCurve);
	m_velocity = velocity;

	// Pitch: coarse 84 with key tracking plays the key itself; without it coarse 24 is pitch 0.
	const float fine = static_cast<float>(static_cast<int>(src.fine) - 50) * 0.02f;
	if (src.keyTrack)
		m_pitch = (static_cast<float>(static_cast<int>(src.coarse) + note) - 84.0f) + fine;
	else
		m_pitch = static_cast<double>(static_cast<int>(src.coarse) - 24) + fine;

	const float ks = ksCurveMod(std::min<unsigned char>(note, 127), curve, true);
	const int d = static_cast<int>(src.freqKeyScaleToFreq);
	m_pitch += ksToFreq(magnitudeOf(d)) * (d >= 50 ? 1.0f : -1.0f) * ks;

	// The key index is the smallest integer not below the pitch.
	const float below = 65535.0f - static_cast<float>(m_pitch);
	const int key = std::clamp(65535 - static_cast<int>(below), 0, 127);

	const Waveforms::Waveform& wave = m_engine->waveforms.getWaveform(src.wave);
	const Waveforms::WaveformData& table = wave.perKey[key];
	if (table.data != nullptr && table.length != 0 && table.rootFreq > 0.0f)
	{
		m_data = table.data;
		m_length = table.length;
		m_step = (1.0f / table.rootFreq * wave.romRate) / sampleRate;
	}
	else
	{
		m_data = Silence;
		m_length = 1;
		m_step = 0.0;
	}
	m_phase = m_engine->waveforms.canRandomStart(src.wave) ? static_cast<double>(std::rand() & (m_length - 1)) : 0.0;
	m_minPitch = src.wave >= FirstPcmWave ? PcmMinPitch : CyclicMinPitch;
	m_rate = sampleRate;

	// Velocity and key scaling lengthen or shorten the attack only.
	const float vg = velocityToGain(velocity, byteOf(src.velCurve));
	int attack = static_cast<int>(std::min<uint32_t>(src.envAttack, 255));
	if (src.timeModVel != 50)
		attack = std::clamp(attack + static_cast<int>(static_cast<float>(static_cast<int>(src.timeModVel) - 50) * vg), 0, 100);
	const float k0 = ksCurveMod(note, curve, false);
	if (src.timeModKeyScale != 50)
		attack = std::clamp(attack + static_cast<int>(static_cast<float>(static_cast<int>(src.timeModKeyScale) - 50) * (k0 * 0.5f + 0.5f)), 0, 100);

	m_env.start(static_cast<uint32_t>(envDelayTime(byteOf(src.envDelay)) * sampleRate), envAttackTime(static_cast<unsigned char>(attack)));

	float level = static_cast<float>(src.envLevel) * 0.01f;
	if (src.levelModVel != 50)
	{
		const int dv = static_cast<int>(src.levelModVel) - 50;
		const float w = static_cast<float>(dv < 0 ? -dv : dv) * 0.02f;
		const float g = dv > 0 ? vg : 1.0f - vg;
		level = level * (g * w + (1.0f - w));
	}
	if (src.levelModKeyScale != 50)
	{
		const int dk = static_cast<int>(src.levelModKeyScale);
		const float m = static_cast<float>(magnitudeOf(dk)) * 0.02f;
		const float k = dk < 50 ? -k0 : k0;
		level = std::clamp(level + (k - 1.0f) * 0.5f * m, 0.0f, 1.0f);
	}
	m_level = envLevel(static_cast<unsigned char>(std::clamp(static_cast<int>(level * 100.0f + 0.5f), 0, 255)));
	m_decayTime = envDecayTime(byteOf(src.envDecay));
	m_sustain = envSustainLevel(byteOf(src.envSustain));
}

void Source::process(float* left, float* right, float& amplitude, const Voice& voice)
{
	const SampleInputs in = m_engine->sampleInputs();
	refreshSwitches(in.pressure);
	float sample;
	amplitude = render(in, voice.getPitchModulation(), sample);
	if (m_env.state == Env::Delay)
		return;
	*left += sample;
	*right += sample;
}

void Source::refreshSwitches(float pressure)
{
	const SingleSource& src = getSource();
	m_usesPitchModulation = src.vibABend;
	m_usesPressureOffset = src.pressureToFreq;
	float lv = m_level;
	if (src.levelModPressure != 50)
	{
		const float depth = genericDepthModToLevel(static_cast<int>(src.levelModPressure));
		const int p = static_cast<int>(pressure * 127.0f + 0.5f);
		const int q = src.levelModPressure >= 50 ? p : 127 - p;
		lv = std::clamp(lv - pressureToEnvLevel(static_cast<unsigned char>(std::clamp(q, 0, 127))) * depth, 0.0f, 1.0f);
	}
	m_liveLevel = lv;
	m_pitchDirty = true;
}

void Source::updateIncrement(const SampleInputs& in, float pitchModulation)
{
	double pitch = in.masterTune;
	pitch += m_usesPitchModulation ? pitchModulation : 0.0f;
	pitch += m_pitch;
	pitch += in.pitchBendSemitones;
	pitch += m_usesPressureOffset ? in.pressureFreqOffset : 0.0f;
	while (pitch < m_minPitch)
		pitch += 12.0;

	// The frequency only changes with the pitch sum; written to be true for NaN as well.
	if (!(pitch == m_lastPitch))
	{
		const float x = static_cast<float>(pitch - 69.0) / 12.0f;
		m_increment = static_cast<double>(fastPow2(x) * 440.0f) * m_step;
		m_lastPitch = pitch;
	}
	m_pitchDirty = false;
}

void Source::onNoteOff(unsigned char velocity)
{
	onNoteOff(velocity, byteOf(getSource().envRelease));
}

void Source::onNoteOff(unsigned char, unsigned char release)
{
	m_env.release(envDecayTime(release), m_rate);
}
}
