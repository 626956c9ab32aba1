#include <gtest/gtest.h>

#include <cstdlib>
#include <limits>

#include "EngineTestSupport.h"
#include "QuietEngineListener.h"
#include "synth/Sysex.h"

using namespace zentlib;

namespace
{
// Counts engine samples through the parameter store: a ramp that never moves its value and lasts
// longer than any test loses one step per rendered engine sample. Each SysEx reply then tells the
// engine sample at which its request was handled.
class ClockListener : public QuietEngineListener
{
public:
	void start(Engine& e)
	{
		engine = &e;
		e.parameters.rampFactor = 0.0f;
		e.parameters.rampSteps = std::numeric_limits<uint32_t>::max();
		e.parameters.setVSTParam(Param_SourceMix12, e.parameters.vstParams[Param_SourceMix12] == 0.0f ? 1.0f : 0.0f);
	}

	// Engine samples stepped so far, the one being rendered included.
	uint64_t now() const
	{
		return std::numeric_limits<uint32_t>::max() - engine->parameters.dirtyParams[Param_SourceMix12].remainingSteps;
	}

	void sendMidi(const SMidiEvent&) override { handledAt.push_back(now() - 1); }

	Engine* engine = nullptr;
	std::vector<uint64_t> handledAt;
};

SMidiEvent clockTick(uint32_t offset)
{
	std::vector<uint8_t> request;
	Sysex::writeMachineIdRequest(request, 0);
	return sysexEvent(std::move(request), offset);
}

// Linear reading of x at a fractional position.
float at(const std::vector<float>& x, double position)
{
	const size_t i = static_cast<size_t>(position);
	if (i + 1 >= x.size())
		return x.back();
	const float f = static_cast<float>(position - double(i));
	return x[i] + (x[i + 1] - x[i]) * f;
}
}

TEST(Resampler, OnePassTakesTheRoundedEngineCountAndRetimesEvents)
{
	ClockListener clock;
	Engine engine(&clock);
	engine.setSamplerate(44100.0f);
	clock.start(engine);
	std::vector<float> l(512), r(512);
	float* out[2] = {l.data(), r.data()};
	std::vector<SMidiEvent> events = {clockTick(100), midiEvent(0x90, 60, 100, 300)};

	const int written = engine.resampler->processResample(out, 512, events);
	EXPECT_EQ(engine.resampler->getRenderedSamples(), 580u) << "512 x 49,920 / 44,100 = 579.6";
	ASSERT_EQ(clock.handledAt.size(), 1u);
	EXPECT_EQ(clock.handledAt[0], 113u) << "100 x 1.13197 = 113.2";
	EXPECT_EQ(engine.noteDown[60], 1);
	EXPECT_TRUE(events.empty()) << "events handed to the engine leave the block";
	EXPECT_GT(written, 400);
	EXPECT_LE(written, 512);
}

TEST(Resampler, EngineRateRendersDirectly)
{
	ClockListener clock;
	Engine engine(&clock);
	engine.setSamplerate(Engine::InternalSamplerate);
	clock.start(engine);
	std::vector<SMidiEvent> events = {clockTick(37), clockTick(64), clockTick(90)};
	std::vector<float> l(64), r(64);
	float* out[2] = {l.data(), r.data()};
	engine.process(out, 64, events);
	EXPECT_EQ(clock.handledAt, std::vector<uint64_t>{37}) << "at the offset it was given";
	// Events at or past the block's end are taken at the next block's first sample, as at every other rate.
	events = {clockTick(5)};
	engine.process(out, 64, events);
	EXPECT_EQ(clock.handledAt, (std::vector<uint64_t>{37, 64, 64, 69}));
}

TEST(Resampler, ClearMidiEventsDropsThePastAndMovesTheRest)
{
	std::vector<SMidiEvent> events = {midiEvent(0x90, 1, 1, 2), midiEvent(0x90, 2, 1, 5), midiEvent(0x90, 3, 1, 9)};
	Resampler::clearMidiEvents(events, 10, 5);
	ASSERT_EQ(events.size(), 2u);
	EXPECT_EQ(events[0].data1, 2);
	EXPECT_EQ(events[0].sampleOffset, 0u);
	EXPECT_EQ(events[1].sampleOffset, 4u);
	Resampler::clearMidiEvents(events, 10, 10);
	EXPECT_TRUE(events.empty());
}

TEST(Resampler, UnusableRatesRenderSilence)
{
	for (float rate : {-44100.0f, std::numeric_limits<float>::quiet_NaN(), std::numeric_limits<float>::infinity()})
	{
		Engine engine(QuietEngineListener::instance());
		engine.setSamplerate(rate);
		std::vector<float> l(256, 1.0f), r(256, 1.0f);
		float* out[2] = {l.data(), r.data()};
		std::vector<SMidiEvent> events = {midiEvent(0x90, 60, 100)};
		engine.process(out, 256, events);
		EXPECT_EQ(peak(l), 0.0f) << rate;
		EXPECT_EQ(peak(r), 0.0f) << rate;
	}
}

// The same notes at every host rate and block size: each event is handled once, at its host time
// in engine samples plus the converter's constant look-ahead, and the output is the engine's audio
// at the host rate. (The look-ahead builds up during the first block, so the events come later.)
TEST(Resampler, EveryRateAndBlockSizeGivesTheSameAudioAndTiming)
{
	const uint32_t hostTimes[] = {5000, 7301, 10800, 13300};
	for (float rate : {44100.0f, 48000.0f, 49920.0f, 96000.0f})
	{
		const double r = Engine::InternalSamplerate / rate;
		const int frames = static_cast<int>(rate * 0.4f);
		for (int block : {1, 64, 512, 4096})
		{
			SCOPED_TRACE("rate " + std::to_string(rate) + " block " + std::to_string(block));
			std::srand(7);
			ClockListener clock;
			Engine engine(&clock);
			engine.setSamplerate(rate);
			playSingle(engine, sineSingle());
			clock.start(engine);

			std::vector<SMidiEvent> events;
			for (size_t j = 0; j < std::size(hostTimes); ++j)
			{
				const uint32_t t = static_cast<uint32_t>(hostTimes[j] * rate / 44100.0f);
				events.push_back(midiEvent(j % 2 ? 0x80 : 0x90, 69, 100, t));
				events.push_back(clockTick(t));
			}
			const Stereo out = render(engine, frames, events, block);
			ASSERT_EQ(clock.handledAt.size(), std::size(hostTimes)) << "every event once";

			// The converter looks a few dozen engine samples ahead, the same for every event.
			std::vector<uint64_t> engineTimes;
			double lowest = 1e9, highest = -1e9;
			for (size_t j = 0; j < std::size(hostTimes); ++j)
			{
				const double ideal = double(events[2 * j].sampleOffset) * r;
				const double lag = double(clock.handledAt[j]) - ideal;
				lowest = std::min(lowest, lag);
				highest = std::max(highest, lag);
				engineTimes.push_back(clock.handledAt[j]);
			}
			EXPECT_LE(highest - lowest, 2.0);
			EXPECT_GE(lowest, -1.0);
			EXPECT_LE(highest, rate == Engine::InternalSamplerate ? 0.0 : 40.0);

			// The engine's own audio for the notes at the engine times they were handled at.
			std::srand(7);
			Engine reference(QuietEngineListener::instance());
			reference.setSamplerate(Engine::InternalSamplerate);
			playSingle(reference, sineSingle());
			std::vector<SMidiEvent> engineEvents;
			for (size_t j = 0; j < engineTimes.size(); ++j)
				engineEvents.push_back(midiEvent(j % 2 ? 0x80 : 0x90, 69, 100, static_cast<uint32_t>(engineTimes[j])));
			const Stereo expected = render(reference, static_cast<int>(frames * r) + 64, engineEvents);

			double error = 0.0, energy = 0.0;
			for (int i = 0; i < frames; ++i)
			{
				const double e = out.left[i] - at(expected.left, i * r);
				error += e * e;
				energy += double(out.left[i]) * out.left[i];
			}
			ASSERT_GT(energy, 1.0);
			EXPECT_LT(std::sqrt(error / energy), 0.01) << "relative difference to the engine's audio";
		}
	}
}

// Ten minutes of host time at 44.1 kHz in 512-frame blocks (one under the sanitizers): the held
// sine runs on without a gap or a step, and the engine stays the same few samples ahead.
TEST(Resampler, LongHeldSineHasNoGapAndNoGrowingLatency)
{
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
	constexpr int Minutes = 1;
#else
	constexpr int Minutes = 10;
#endif
	constexpr float Rate = 44100.0f;
	constexpr int Block = 512;
	const double r = Engine::InternalSamplerate / Rate;
	Engine engine(QuietEngineListener::instance());
	engine.setSamplerate(Rate);
	playSingle(engine, sineSingle());

	std::vector<float> l(Block), r0(Block);
	float* out[2] = {l.data(), r0.data()};
	std::vector<SMidiEvent> events = {midiEvent(0x90, 45, 100)};
	engine.process(out, Block, events);

	// Learn the sine over the first second: x[n-1] + x[n+1] = c x[n] with c = 2 cos(w).
	std::vector<float> learn;
	for (int b = 0; b < int(Rate) / Block; ++b)
	{
		std::vector<SMidiEvent> none;
		engine.process(out, Block, none);
		learn.insert(learn.end(), l.begin(), l.end());
	}
	double num = 0.0, den = 0.0, amplitude = 0.0;
	for (size_t n = 1; n + 1 < learn.size(); ++n)
	{
		num += double(learn[n]) * (learn[n - 1] + learn[n + 1]);
		den += double(learn[n]) * learn[n];
		amplitude = std::max(amplitude, double(std::fabs(learn[n])));
	}
	const double c = num / den;
	ASSERT_GT(amplitude, 0.1);

	const int64_t hostStart = int64_t(learn.size()) + Block;
	const double leadAtStart = double(engine.resampler->getRenderedSamples()) - double(hostStart) * r;
	double worstResidual = 0.0, lowestLead = leadAtStart, highestLead = leadAtStart;
	float prev2 = learn[learn.size() - 2], prev1 = learn.back();
	const int64_t blocks = int64_t(Minutes) * 60 * int64_t(Rate) / Block;
	for (int64_t b = 1; b <= blocks; ++b)
	{
		std::vector<SMidiEvent> none;
		engine.process(out, Block, none);
		for (int i = 0; i < Block; ++i)
		{
			worstResidual = std::max(worstResidual, std::fabs(prev2 + l[i] - c * prev1));
			prev2 = prev1;
			prev1 = l[i];
		}
		const double lead = double(engine.resampler->getRenderedSamples()) - double(hostStart + b * Block) * r;
		lowestLead = std::min(lowestLead, lead);
		highestLead = std::max(highestLead, lead);
	}
	EXPECT_LT(worstResidual, 0.01 * amplitude) << "a gap or a step in the sine";
	EXPECT_LT(highestLead - lowestLead, 3.0) << "engine samples ahead of the host drift";
	EXPECT_LT(highestLead, 40.0);
	EXPECT_EQ(engine.voices.size(), 1u);
}

// Far above the engine's rate a one-frame block asks for a fraction of an engine sample: the
// converter must still be fed, not left to run dry into silence.
TEST(Resampler, HighHostRatesInTinyBlocksHaveNoGaps)
{
	for (float rate : {192000.0f, 384000.0f})
	{
		for (int block : {1, 3})
		{
			SCOPED_TRACE("rate " + std::to_string(rate) + " block " + std::to_string(block));
			Engine engine(QuietEngineListener::instance());
			engine.setSamplerate(rate);
			playSingle(engine, sineSingle());
			const int frames = static_cast<int>(rate * 0.2f);
			const Stereo out = render(engine, frames, {midiEvent(0x90, 57, 100)}, block);
			const std::vector<float>& x = out.left;
			double num = 0.0, den = 0.0, amplitude = 0.0;
			for (size_t n = 2000; n + 1 < x.size(); ++n)
			{
				num += double(x[n]) * (x[n - 1] + x[n + 1]);
				den += double(x[n]) * x[n];
				amplitude = std::max(amplitude, double(std::fabs(x[n])));
			}
			ASSERT_GT(amplitude, 0.1);
			double worst = 0.0;
			for (size_t n = 2000; n + 1 < x.size(); ++n)
				worst = std::max(worst, std::fabs(x[n - 1] + x[n + 1] - num / den * x[n]));
			EXPECT_LT(worst, 0.01 * amplitude);
			const double lead = double(engine.resampler->getRenderedSamples()) - frames * Engine::InternalSamplerate / rate;
			EXPECT_LT(lead, 40.0);
		}
	}
}

// Hosts send blocks of a few frames around automation and loop points. Far above the engine's rate
// such a block needs less than one engine sample; an event in every block must neither pile up
// engine samples (latency) nor be lost or handled twice.
TEST(Resampler, AnEventInEveryTinyBlockKeepsTheLatencyAndIsHandledOnce)
{
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
	constexpr float Seconds = 1.0f;
#else
	constexpr float Seconds = 10.0f;
#endif
	for (float rate : {96000.0f, 192000.0f})
	{
		SCOPED_TRACE("rate " + std::to_string(rate));
		ClockListener clock;
		Engine engine(&clock);
		engine.setSamplerate(rate);
		clock.start(engine);

		float l[3], r[3];
		float* out[2] = {l, r};
		const int64_t frames = static_cast<int64_t>(rate * Seconds);
		uint64_t sent = 0;
		size_t mostWaiting = 0;
		std::vector<SMidiEvent> events;
		for (int64_t done = 0, b = 0; done < frames; ++b)
		{
			const int block = static_cast<int>(b * 7 % 3) + 1;
			events.assign(1, clockTick(static_cast<uint32_t>(b % block)));
			engine.process(out, block, events);
			ASSERT_TRUE(events.empty());
			++sent;
			done += block;
			mostWaiting = std::max(mostWaiting, engine.resampler->getWaitingSamples());
		}
		EXPECT_LE(mostWaiting, 40u) << "engine samples waiting for the converter";
		EXPECT_LE(engine.resampler->getCarriedEvents().size(), 8u);
		EXPECT_EQ(clock.handledAt.size() + engine.resampler->getCarriedEvents().size(), sent) << "every event once";
		EXPECT_TRUE(std::is_sorted(clock.handledAt.begin(), clock.handledAt.end()));
		const double lead = double(engine.resampler->getRenderedSamples()) - double(frames) * Engine::InternalSamplerate / rate;
		EXPECT_LT(lead, 40.0);

		// A new rate takes over the events the old converter still held.
		engine.setSamplerate(44100.0f);
		EXPECT_EQ(clock.handledAt.size(), sent);
	}
}
