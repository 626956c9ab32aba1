// Checks of what a unit renders: every rate and block size with notes, every kind of MIDI message, automation
// between sub-blocks, and no allocation on the render path except where a note-on adds a voice.

#include "AllocationInterceptor.h"
#include "ValidationUnit.h"

#include <algorithm>
#include <cmath>

namespace
{
std::string where(double rate, UInt32 block)
{
	return std::to_string(int(rate)) + " Hz in blocks of " + std::to_string(block);
}

// Renders frames in blocks, checking every sample; returns the loudest.
float renderChecked(ValidationUnit& unit, double frames, UInt32 block, const std::string& context)
{
	float peak = 0;
	for (double done = 0; done < frames; done += block)
	{
		require(unit.render(block), "rendering at " + context);
		for (const auto* channel : {&unit.left(), &unit.right()})
		{
			const std::string bad = firstBadSample(*channel);
			require(bad.empty(), "at " + context + ": " + bad);
			for (float x : *channel)
				peak = std::max(peak, std::fabs(x));
		}
	}
	return peak;
}

// At every rate and block size: silence before any note, a chord that sounds, then its release; no sample is
// not a number, infinite or subnormal.
std::string audio(ValidationContext& c)
{
	ValidationUnit unit(c.component);
	int runs = 0;
	for (double rate : c.options.sampleRates)
	{
		require(unit.prepare(rate, c.largestBlock()), "initialising at " + std::to_string(int(rate)) + " Hz");
		for (UInt32 block : c.options.blockSizes)
		{
			const std::string context = where(rate, block);
			const UInt8 root = UInt8(48 + c.random() % 24);
			for (UInt8 step : {0, 4, 7})
				require(unit.midi(0x90, UInt8(root + step), 100, UInt32(c.random() % block)), "a note-on");
			const float held = renderChecked(unit, rate / 4, block, context);
			require(held > 1e-4f, "a chord at " + context + " is silent");
			for (UInt8 step : {0, 4, 7})
				require(unit.midi(0x80, UInt8(root + step), 0, UInt32(c.random() % block)), "a note-off");
			renderChecked(unit, rate / 4, block, context);
			require(unit.midi(0xB0, 123, 0), "all notes off");
			++runs;
		}
	}
	return std::to_string(runs) + " runs of notes at " + std::to_string(c.options.sampleRates.size()) + " rates, every sample clean";
}

// A host that automates splits its blocks where values change; here every 32 frames.
std::string automation(ValidationContext& c)
{
	ValidationUnit unit(c.component);
	const double rate = 48000;
	require(unit.prepare(rate, 512), "initialising");
	std::vector<std::pair<AudioUnitParameterID, AudioUnitParameterInfo>> parameters;
	for (AudioUnitParameterID id : unit.parameterIds())
		parameters.push_back({id, unit.parameterInfo(id)});
	if (parameters.empty())
		throw CheckSkipped{"the unit has no parameters"};
	require(unit.midi(0x90, 60, 100), "a note-on");
	const int blocks = c.trials(300);
	for (int b = 0; b < blocks; ++b)
	{
		const auto& [id, info] = parameters[c.random() % parameters.size()];
		const float value = info.minValue + (info.maxValue - info.minValue) * std::uniform_real_distribution<float>(0, 1)(c.random);
		require(unit.setParameter(id, value), "automating parameter " + std::to_string(id));
		renderChecked(unit, 32, 32, "sub-block " + std::to_string(b));
	}
	return std::to_string(blocks) + " sub-blocks of 32 frames, a parameter changed before each";
}

OSStatus silentInput(void*, AudioUnitRenderActionFlags*, const AudioTimeStamp*, UInt32, UInt32, AudioBufferList* data)
{
	for (UInt32 b = 0; b < data->mNumberBuffers; ++b)
		std::fill_n(static_cast<float*>(data->mBuffers[b].mData), data->mBuffers[b].mDataByteSize / sizeof(float), 0.f);
	return noErr;
}

// What hosts' validators send an instrument: before initialisation MIDI and rendering are refused as
// uninitialised; after it, every kind of channel message on every channel, the controllers that silence and an
// empty SysEx message are each taken, and an input fed by a render callback does not stop the unit rendering.
std::string midi(ValidationContext& c)
{
	ValidationUnit unit(c.component);
	const OSStatus early = unit.midi(0x90, 60, 100);
	require(early == kAudioUnitErr_Uninitialized,
		"a note-on before initialisation returned " + std::to_string(early) + " rather than -10867");
	const OSStatus earlyRender = unit.render(64);
	require(earlyRender == kAudioUnitErr_Uninitialized,
		"rendering before initialisation returned " + std::to_string(earlyRender) + " rather than -10867");
	UInt32 inputs = 0, size = sizeof inputs;
	require(AudioUnitGetProperty(unit.unit(), kAudioUnitProperty_ElementCount, kAudioUnitScope_Input, 0, &inputs, &size),
		"reading the input count");
	if (inputs > 0)
	{
		const AURenderCallbackStruct input = {silentInput, nullptr};
		require(AudioUnitSetProperty(
					unit.unit(), kAudioUnitProperty_SetRenderCallback, kAudioUnitScope_Input, 0, &input, sizeof input),
			"feeding input 0 from a render callback");
	}
	require(unit.prepare(44100, 512), "initialising");

	for (UInt8 channel = 0; channel < 16; ++channel)
	{
		const UInt8 note = UInt8(36 + c.random() % 60);
		const UInt8 messages[][3] = {{0x90, note, 100}, {0xA0, note, 64}, {0xB0, 1, 90}, {0xD0, 70, 0}, {0xE0, 0, 80},
			{0xC0, UInt8(c.random() % 128), 0}, {0x80, note, 0}, {0xB0, 120, 0}, {0xB0, 121, 0}, {0xB0, 123, 0}};
		for (const auto& m : messages)
			require(unit.midi(UInt8(m[0] | channel), m[1], m[2], UInt32(c.random() % 512)),
				"MIDI message " + std::to_string(m[0] | channel) + " " + std::to_string(m[1]) + " " + std::to_string(m[2]));
		renderChecked(unit, 512, 512, "after the messages of channel " + std::to_string(channel + 1));
	}
	const UInt8 nothing[1] = {0};
	require(MusicDeviceSysEx(unit.unit(), nothing, 0), "an empty SysEx message");
	renderChecked(unit, 8 * 64, 64, "slices of 64 frames");
	return std::string("every channel message on 16 channels and an empty SysEx message taken, refused before "
					   "initialisation") +
		   (inputs > 0 ? "; an input callback accepted" : "");
}

// Blocks that only continue what sounds allocate nothing; only a block with a note-on may, for its voice.
std::string allocation(ValidationContext& c)
{
	ValidationUnit unit(c.component);
	const UInt32 block = 256;
	require(unit.prepare(48000, block), "initialising");
	// The first notes may size what later notes reuse.
	for (UInt8 note : {60, 64, 67})
		require(unit.midi(0x90, note, 100), "a note-on");
	renderChecked(unit, 4096, block, "warming up");
	for (UInt8 note : {60, 64, 67})
		require(unit.midi(0x80, note, 0), "a note-off");
	renderChecked(unit, 48000, block, "warming up");

	long steady = 0, noteOffs = 0, automated = 0;
	auto armedBlocks = [&](int count, long& total) {
		for (int b = 0; b < count; ++b)
			require(unit.render(block, &total), "rendering");
	};
	armedBlocks(32, steady);
	const int trials = c.trials(4);
	for (int t = 0; t < trials; ++t)
	{
		const UInt8 note = UInt8(48 + c.random() % 24);
		long withNoteOn = 0;
		require(unit.midi(0x90, note, 100, UInt32(c.random() % block)), "a note-on");
		require(unit.render(block, &withNoteOn), "rendering");
		armedBlocks(16, steady);
		require(unit.midi(0x80, note, 0, UInt32(c.random() % block)), "a note-off");
		armedBlocks(1, noteOffs);
		armedBlocks(64, steady);
	}
	const auto ids = unit.parameterIds();
	if (!ids.empty())
	{
		require(unit.midi(0x90, 60, 100), "a note-on");
		require(unit.render(block), "rendering");
		for (int b = 0; b < 32; ++b)
		{
			const AudioUnitParameterID id = ids[c.random() % ids.size()];
			const AudioUnitParameterInfo info = unit.parameterInfo(id);
			require(unit.setParameter(id, info.minValue + (info.maxValue - info.minValue) * float(b % 2)), "automating");
			armedBlocks(1, automated);
		}
	}
	require(steady == 0, std::to_string(steady) + " allocations in blocks that only continued what sounded");
	require(noteOffs == 0, std::to_string(noteOffs) + " allocations in blocks with a note-off");
	require(automated == 0, std::to_string(automated) + " allocations in blocks after a parameter change");
	return std::string("none outside note-on blocks (") +
		   (allocationInterceptor::countsMalloc() ? "malloc and new counted" : "new counted; malloc belongs to the sanitizer") +
		   ")";
}
}

std::vector<Check> audioChecks()
{
	return {
		{5, "audio", audio},
		{5, "midi", midi},
		{6, "automation", automation},
		{9, "render allocation", allocation},
	};
}
