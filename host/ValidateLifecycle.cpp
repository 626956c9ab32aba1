// Checks of a unit's life: opening cold and warm, reinitialising at new rates, blocks larger than prepared, and
// changes from other threads while it renders.

#include "ValidationUnit.h"

#include <atomic>
#include <chrono>
#include <cstdio>
#include <thread>

namespace
{
using Clock = std::chrono::steady_clock;

double msSince(Clock::time_point start)
{
	return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

std::string format(const char* pattern, double a, double b = 0, double c = 0)
{
	char text[160];
	std::snprintf(text, sizeof text, pattern, a, b, c);
	return text;
}

// A note held for a fifth of a second at the prepared rate; returns the loudest sample.
float playNote(ValidationUnit& unit, double rate, UInt32 block)
{
	require(unit.midi(0x90, 69, 100), "a note-on");
	float peak = 0;
	for (double done = 0; done < rate / 5; done += block)
	{
		require(unit.render(block), "rendering");
		for (const auto* channel : {&unit.left(), &unit.right()})
		{
			const std::string bad = firstBadSample(*channel);
			require(bad.empty(), "at " + std::to_string(int(rate)) + " Hz " + bad);
			for (float x : *channel)
				peak = std::max(peak, std::fabs(x));
		}
	}
	require(unit.midi(0x80, 69, 0), "a note-off");
	return peak;
}

std::string openTimes(ValidationContext& c)
{
	const auto cold = Clock::now();
	double openMs = 0, initialiseMs = 0;
	{
		ValidationUnit unit(c.component);
		openMs = msSince(cold);
		const auto start = Clock::now();
		require(unit.prepare(44100, 512), "the first initialisation");
		initialiseMs = msSince(start);
	}
	const int warmOpens = c.trials(4);
	const auto warm = Clock::now();
	for (int i = 0; i < warmOpens; ++i)
	{
		ValidationUnit unit(c.component);
		if (i % 2)
			require(unit.prepare(44100, 512), "initialising a warm instance");
	}
	return format("cold open %.1f ms, first initialisation %.1f ms, warm open and close %.2f ms", openMs, initialiseMs,
		msSince(warm) / warmOpens);
}

// Uninitialise, new rate, initialise, in one instance: the parameter values the host set survive every cycle and
// a reset; with the values it started with, the unit plays at each rate.
std::string reinitialise(ValidationContext& c)
{
	ValidationUnit unit(c.component);
	require(unit.prepare(44100, 512), "initialising");
	const auto ids = unit.parameterIds();
	std::vector<float> initial, written;
	for (AudioUnitParameterID id : ids)
	{
		initial.push_back(unit.parameter(id));
		const AudioUnitParameterInfo info = unit.parameterInfo(id);
		const float value = info.minValue + (info.maxValue - info.minValue) * std::uniform_real_distribution<float>(0, 1)(c.random);
		require(unit.setParameter(id, value), "setting parameter " + std::to_string(id));
		written.push_back(unit.parameter(id));
	}
	auto compare = [&](const std::string& after) {
		for (size_t i = 0; i < ids.size(); ++i)
			require(unit.parameter(ids[i]) == written[i], "parameter " + std::to_string(ids[i]) + " changed after " + after);
	};
	for (double rate : c.options.sampleRates)
	{
		require(unit.prepare(rate, 512), "reinitialising at " + std::to_string(int(rate)) + " Hz");
		compare("reinitialising at " + std::to_string(int(rate)) + " Hz");
	}
	require(AudioUnitReset(unit.unit(), kAudioUnitScope_Global, 0), "a global reset");
	compare("a reset");

	// Random values may well make no sound; the ones the unit started with should.
	for (size_t i = 0; i < ids.size(); ++i)
		require(unit.setParameter(ids[i], initial[i]), "setting parameter " + std::to_string(ids[i]) + " back");
	for (double rate : c.options.sampleRates)
	{
		require(unit.prepare(rate, 512), "reinitialising at " + std::to_string(int(rate)) + " Hz");
		require(playNote(unit, rate, 512) > 0, "silent at " + std::to_string(int(rate)) + " Hz");
	}
	return std::to_string(c.options.sampleRates.size()) + " rates, " + std::to_string(ids.size()) +
		   " parameters kept, a note at each rate";
}

std::string tooManyFrames(ValidationContext& c)
{
	ValidationUnit unit(c.component);
	const UInt32 prepared = 512;
	require(unit.prepare(44100, prepared), "initialising");
	const OSStatus status = unit.render(2 * prepared);
	require(status == kAudioUnitErr_TooManyFramesToProcess,
		"a block of twice the prepared size gave status " + std::to_string(status) + ", not " +
			std::to_string(kAudioUnitErr_TooManyFramesToProcess));
	require(playNote(unit, 44100, prepared) > 0, "silent after the refused block");
	return "refused with " + std::to_string(status) + "; the unit plays on";
}

// A render thread plays 500 blocks while this thread sets parameters and saves and restores the state, as a host's
// user interface and automation do.
std::string otherThreads(ValidationContext& c)
{
	ValidationUnit unit(c.component);
	const UInt32 block = 256;
	require(unit.prepare(48000, block), "initialising");
	const auto ids = unit.parameterIds();
	std::vector<AudioUnitParameterInfo> infos;
	for (AudioUnitParameterID id : ids)
		infos.push_back(unit.parameterInfo(id));
	CFPropertyListRef state = unit.saveState();

	std::atomic<bool> done{false};
	std::string renderFailure;
	std::thread renderer([&] {
		for (int b = 0; b < 500 && renderFailure.empty(); ++b)
		{
			if (b % 25 == 0)
				unit.midi(0x90, UInt8(48 + b / 25), 90, b % block);
			if (b % 25 == 20)
				unit.midi(0x80, UInt8(48 + b / 25), 0);
			if (const OSStatus s = unit.render(block))
				renderFailure = "block " + std::to_string(b) + " failed with status " + std::to_string(s);
			else if (std::string bad = firstBadSample(unit.left()); !bad.empty())
				renderFailure = "block " + std::to_string(b) + ": " + bad;
			// At about the pace of real time for small blocks, so that the other thread's changes fall between them.
			std::this_thread::sleep_for(std::chrono::microseconds(100));
		}
		done = true;
	});
	int changes = 0, restores = 0;
	std::string failure;
	std::uniform_real_distribution<float> unitInterval(0, 1);
	while (!done && failure.empty())
	{
		if (!ids.empty())
		{
			const size_t k = c.random() % ids.size();
			const float value = infos[k].minValue + (infos[k].maxValue - infos[k].minValue) * unitInterval(c.random);
			if (const OSStatus s = unit.setParameter(ids[k], value))
				failure = "setting parameter " + std::to_string(ids[k]) + " failed with status " + std::to_string(s);
			++changes;
		}
		if (changes % 16 == 0)
		{
			if (const OSStatus s = unit.restoreState(state))
				failure = "restoring the state failed with status " + std::to_string(s);
			try
			{
				CFRelease(unit.saveState());
			}
			catch (const CheckFailed& f)
			{
				failure = f.why; // reported once the render thread is done
			}
			++restores;
		}
		std::this_thread::yield();
	}
	renderer.join();
	CFRelease(state);
	require(failure.empty(), failure);
	require(renderFailure.empty(), renderFailure);
	return "500 blocks, " + std::to_string(changes) + " parameter changes and " + std::to_string(restores) +
		   " saves and restores from another thread";
}
}

std::vector<Check> lifecycleChecks()
{
	return {
		{1, "open", openTimes},
		{4, "reinitialise", reinitialise},
		{5, "block too large", tooManyFrames},
		{8, "other threads", otherThreads},
	};
}
