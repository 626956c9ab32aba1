// Checks of what a unit says about itself: its description and required properties, every property it offers,
// the channel formats it accepts, the listeners it informs and the view it offers.

#include "HostedView.h"
#include "ValidationUnit.h"

#include <AudioToolbox/AudioUnitUtilities.h>

#include <algorithm>
#include <cctype>
#include <cstddef>
#include <cstring>
#include <atomic>
#include <chrono>
#include <set>
#include <thread>

namespace
{
AudioStreamBasicDescription streamFormat(AudioUnit unit, AudioUnitScope scope)
{
	AudioStreamBasicDescription format{};
	UInt32 size = sizeof format;
	require(AudioUnitGetProperty(unit, kAudioUnitProperty_StreamFormat, scope, 0, &format, &size), "reading a stream format");
	return format;
}

AudioStreamBasicDescription canonical(double rate, UInt32 channels)
{
	AudioStreamBasicDescription f{};
	f.mSampleRate = rate;
	f.mFormatID = kAudioFormatLinearPCM;
	f.mFormatFlags = kAudioFormatFlagsAudioUnitCanonical;
	f.mBytesPerPacket = f.mBytesPerFrame = 4;
	f.mFramesPerPacket = 1;
	f.mChannelsPerFrame = channels;
	f.mBitsPerChannel = 32;
	return f;
}

std::string component(ValidationContext& c)
{
	AudioComponentDescription d{};
	require(AudioComponentGetDescription(c.component, &d), "reading the component's description");
	const std::set<OSType> types = {kAudioUnitType_MusicDevice, kAudioUnitType_MusicEffect, kAudioUnitType_Effect,
		kAudioUnitType_Generator, kAudioUnitType_MIDIProcessor};
	require(types.count(d.componentType) == 1, "the component type is not one of an instrument or effect");
	const std::string manufacturer = fourCharText(d.componentManufacturer);
	require(std::any_of(manufacturer.begin(), manufacturer.end(), [](char ch) { return std::isupper(ch); }),
		"the manufacturer code '" + manufacturer + "' has no upper-case letter");

	ValidationUnit unit(c.component);
	const struct
	{
		AudioUnitPropertyID id;
		UInt32 size;
	} required[] = {{kAudioUnitProperty_SampleRate, 8}, {kAudioUnitProperty_StreamFormat, 40},
		{kAudioUnitProperty_MaximumFramesPerSlice, 4}, {kAudioUnitProperty_LastRenderError, 4}, {kAudioUnitProperty_Latency, 8}};
	for (const auto& r : required)
	{
		UInt32 size = 0;
		require(AudioUnitGetPropertyInfo(unit.unit(), r.id, kAudioUnitScope_Global, 0, &size, nullptr),
			"the information of required property " + std::to_string(r.id));
		require(size == r.size, "required property " + std::to_string(r.id) + " has " + std::to_string(size) + " bytes, not " +
									std::to_string(r.size));
	}
	const AudioStreamBasicDescription out = streamFormat(unit.unit(), kAudioUnitScope_Output);
	require(out.mSampleRate == 44100 && out.mFormatFlags == kAudioFormatFlagsAudioUnitCanonical && out.mBitsPerChannel == 32,
		"the default output format is not 32-bit float non-interleaved at 44100 Hz");
	return "type " + fourCharText(d.componentType) + ", default output " + std::to_string(out.mChannelsPerFrame) +
		   " channels at 44100 Hz";
}

// Releases what a property's value hands its reader to own.
void releaseValue(AudioUnitPropertyID id, std::vector<uint8_t>& value)
{
	auto releaseAt = [&](size_t offset) {
		CFTypeRef object = nullptr;
		std::memcpy(&object, value.data() + offset, sizeof object);
		if (object)
			CFRelease(object);
	};
	switch (id)
	{
	case kAudioUnitProperty_ClassInfo:
	case kAudioUnitProperty_FactoryPresets:
	case kAudioUnitProperty_MIDIOutputCallbackInfo:
	case kAudioUnitProperty_ContextName:
	case kAudioUnitProperty_NickName:
	case kAudioUnitProperty_IconLocation:
		releaseAt(0);
		break;
	case kAudioUnitProperty_CocoaUI:
		releaseAt(0);
		releaseAt(8);
		break;
	case kAudioUnitProperty_PresentPreset:
		releaseAt(offsetof(AUPreset, presetName));
		break;
	case kAudioUnitProperty_ParameterStringFromValue:
		releaseAt(offsetof(AudioUnitParameterStringFromValue, outString));
		break;
	case kAudioUnitProperty_ParameterInfo:
	{
		AudioUnitParameterInfo info;
		std::memcpy(&info, value.data(), sizeof info);
		if (info.flags & kAudioUnitParameterFlag_CFNameRelease)
			releaseAt(offsetof(AudioUnitParameterInfo, cfNameString));
		break;
	}
	default:
		break;
	}
}

// Every property the unit says it has in the global scope is read with the size it reports; before
// initialisation a property may answer that it needs an initialised unit.
std::string propertySweep(ValidationContext& c)
{
	ValidationUnit unit(c.component);
	std::vector<AudioUnitPropertyID> ids;
	for (AudioUnitPropertyID id = 0; id < 64; ++id)
		ids.push_back(id);
	for (AudioUnitPropertyID id = 1000; id < 1012; ++id)
		ids.push_back(id);
	int offered = 0;
	for (bool initialised : {false, true})
	{
		if (initialised)
			require(unit.prepare(44100, 512), "initialising");
		const std::vector<AudioUnitParameterID> parameters = unit.parameterIds();
		for (AudioUnitPropertyID id : ids)
		{
			UInt32 size = 0;
			Boolean writable = false;
			if (AudioUnitGetPropertyInfo(unit.unit(), id, kAudioUnitScope_Global, 0, &size, &writable) != noErr)
				continue;
			// Asked of a parameter or of a clump: only asked when there is one to name.
			AudioUnitElement element = 0;
			if (id == kAudioUnitProperty_ParameterInfo || id == kAudioUnitProperty_ParameterStringFromValue)
			{
				if (parameters.empty())
					continue;
				element = id == kAudioUnitProperty_ParameterInfo ? parameters.front() : 0;
			}
			if (id == kAudioUnitProperty_ParameterClumpName || id == kAudioUnitProperty_ParameterValueFromString)
				continue;
			offered += initialised;
			std::vector<uint8_t> value(std::max<UInt32>(size, 8) + 64, 0);
			if (id == kAudioUnitProperty_ParameterStringFromValue)
				std::memcpy(value.data(), &parameters.front(), sizeof(AudioUnitParameterID));
			UInt32 got = UInt32(value.size());
			const OSStatus status = AudioUnitGetProperty(unit.unit(), id, kAudioUnitScope_Global, element, value.data(), &got);
			if (!initialised && status == kAudioUnitErr_Uninitialized)
				continue;
			require(status, "reading offered property " + std::to_string(id) + (initialised ? "" : " before initialisation"));
			releaseValue(id, value);
			require(got == size, "property " + std::to_string(id) + " gave " + std::to_string(got) + " bytes, its information " +
									 std::to_string(size));
		}
	}
	return std::to_string(offered) + " properties offered in the global scope, each readable";
}

// Every pair of input and output channel counts from 0 to 8 is tried on a fresh unit: exactly the pairs the unit
// advertises are accepted, and a refused format leaves the format as it was.
std::string channelGrid(ValidationContext& c)
{
	std::set<std::pair<int, int>> advertised;
	{
		ValidationUnit unit(c.component);
		UInt32 size = 0;
		require(AudioUnitGetPropertyInfo(unit.unit(), kAudioUnitProperty_SupportedNumChannels, kAudioUnitScope_Global, 0,
					&size, nullptr),
			"reading the supported channel counts");
		std::vector<AUChannelInfo> table(size / sizeof(AUChannelInfo));
		require(AudioUnitGetProperty(
					unit.unit(), kAudioUnitProperty_SupportedNumChannels, kAudioUnitScope_Global, 0, table.data(), &size),
			"reading the supported channel counts");
		for (const AUChannelInfo& entry : table)
		{
			if (entry.inChannels < 0 || entry.outChannels < 0)
				throw CheckSkipped{"the unit advertises channel counts by wildcard"};
			advertised.insert({entry.inChannels, entry.outChannels});
		}
	}
	std::set<std::pair<int, int>> accepted;
	for (UInt32 in = 0; in <= 8; ++in)
		for (UInt32 out = 0; out <= 8; ++out)
		{
			ValidationUnit unit(c.component);
			UInt32 inputs = 0, size = sizeof inputs;
			AudioUnitGetProperty(unit.unit(), kAudioUnitProperty_ElementCount, kAudioUnitScope_Input, 0, &inputs, &size);
			const AudioStreamBasicDescription before = streamFormat(unit.unit(), kAudioUnitScope_Output);
			const AudioStreamBasicDescription input = canonical(44100, in), output = canonical(44100, out);
			const bool inputTaken = inputs == 0 ? in == 0
												: AudioUnitSetProperty(unit.unit(), kAudioUnitProperty_StreamFormat,
													  kAudioUnitScope_Input, 0, &input, sizeof input) == noErr;
			const bool outputTaken = AudioUnitSetProperty(unit.unit(), kAudioUnitProperty_StreamFormat, kAudioUnitScope_Output,
										 0, &output, sizeof output) == noErr;
			if (!outputTaken)
			{
				const AudioStreamBasicDescription after = streamFormat(unit.unit(), kAudioUnitScope_Output);
				require(std::memcmp(&before, &after, sizeof before) == 0,
					"a refused output of " + std::to_string(out) + " channels changed the format");
			}
			if (inputTaken && outputTaken)
				accepted.insert({int(in), int(out)});
		}
	auto list = [](const std::set<std::pair<int, int>>& pairs) {
		std::string text;
		for (const auto& [in, out] : pairs)
			text += (text.empty() ? "" : " ") + std::string("[") + std::to_string(in) + ", " + std::to_string(out) + "]";
		return text;
	};
	require(accepted == advertised, "accepts " + list(accepted) + " but advertises " + list(advertised));
	return "accepts exactly " + list(advertised);
}

void countProperty(void* refCon, AudioUnit, AudioUnitPropertyID, AudioUnitScope, AudioUnitElement)
{
	++*static_cast<int*>(refCon);
}

struct ParameterEvents
{
	std::set<AudioUnitParameterID> changed;
};

void recordParameterEvent(void* refCon, void*, const AudioUnitEvent* event, UInt64, AudioUnitParameterValue)
{
	if (event->mEventType == kAudioUnitEvent_ParameterValueChange)
		static_cast<ParameterEvents*>(refCon)->changed.insert(event->mArgument.mParameter.mParameterID);
}

void runMainLoop()
{
	while (CFRunLoopRunInMode(kCFRunLoopDefaultMode, 0, true) == kCFRunLoopRunHandledSource)
	{
	}
}

// Selecting a preset is announced to property listeners; a program change the unit receives as MIDI is announced,
// parameter by parameter, to parameter listeners for every value it changed.
std::string listeners(ValidationContext& c)
{
	ValidationUnit unit(c.component);
	require(unit.prepare(44100, 512), "initialising");
	int presetAnnouncements = 0;
	require(AudioUnitAddPropertyListener(unit.unit(), kAudioUnitProperty_PresentPreset, countProperty, &presetAnnouncements),
		"adding a property listener");
	CFArrayRef presets = nullptr;
	UInt32 size = sizeof presets;
	if (AudioUnitGetProperty(unit.unit(), kAudioUnitProperty_FactoryPresets, kAudioUnitScope_Global, 0, &presets, &size) != noErr ||
		!presets)
		throw CheckSkipped{"the unit has no factory presets to select"};
	const CFIndex count = CFArrayGetCount(presets);
	CFRelease(presets);
	require(count > 1, "fewer than two factory presets");

	AUPreset preset = {SInt32(1 + c.random() % (count - 1)), CFSTR("")};
	require(AudioUnitSetProperty(unit.unit(), kAudioUnitProperty_PresentPreset, kAudioUnitScope_Global, 0, &preset, sizeof preset),
		"selecting a preset");
	require(presetAnnouncements > 0, "selecting a preset was not announced");

	ParameterEvents events;
	AUEventListenerRef listener = nullptr;
	require(AUEventListenerCreate(recordParameterEvent, &events, CFRunLoopGetCurrent(), kCFRunLoopDefaultMode, 0, 0, &listener),
		"creating a parameter listener");
	const auto ids = unit.parameterIds();
	for (AudioUnitParameterID id : ids)
	{
		AudioUnitEvent event{};
		event.mEventType = kAudioUnitEvent_ParameterValueChange;
		event.mArgument.mParameter = {unit.unit(), id, kAudioUnitScope_Global, 0};
		AUEventListenerAddEventType(listener, &events, &event);
	}
	std::vector<float> before;
	for (AudioUnitParameterID id : ids)
		before.push_back(unit.parameter(id));
	require(unit.midi(0xC0, 0, 0), "a program change");
	require(unit.render(512), "rendering");
	runMainLoop();
	AUListenerDispose(listener);
	size_t changed = 0;
	for (size_t i = 0; i < ids.size(); ++i)
	{
		if (unit.parameter(ids[i]) == before[i])
			continue;
		++changed;
		require(events.changed.count(ids[i]) == 1,
			"parameter " + std::to_string(ids[i]) + " changed with a program change but no listener was told");
	}
	return "preset selection announced; " + std::to_string(changed) + " parameters changed by a program change, each announced";
}

// The Cocoa view, obtained as a host obtains it: opened and closed twice, then opened while a render thread
// plays, with the run loop turning so that its timers run.
std::string view(ValidationContext& c)
{
	ValidationUnit unit(c.component);
	require(unit.prepare(44100, 512), "initialising");
	if (AudioUnitGetPropertyInfo(unit.unit(), kAudioUnitProperty_CocoaUI, kAudioUnitScope_Global, 0, nullptr, nullptr) != noErr)
		throw CheckSkipped{"the unit offers no Cocoa view"};
	auto turnRunLoop = [] { CFRunLoopRunInMode(kCFRunLoopDefaultMode, 0.12, false); };
	std::string description;
	for (int i = 0; i < 2; ++i)
	{
		HostedView view(unit.unit(), NSMakeSize(0, 0));
		description = view.factoryDescription();
		turnRunLoop();
	}

	std::atomic<bool> stop{false};
	std::string renderFailure;
	std::thread renderer([&] {
		unit.midi(0x90, 64, 100);
		for (int b = 0; !stop && renderFailure.empty(); ++b)
		{
			if (const OSStatus s = unit.render(512))
				renderFailure = "block " + std::to_string(b) + " failed with status " + std::to_string(s);
			std::this_thread::sleep_for(std::chrono::milliseconds(2));
		}
	});
	std::string failure;
	try
	{
		HostedView view(unit.unit(), NSMakeSize(0, 0));
		turnRunLoop();
	}
	catch (const std::exception& e)
	{
		failure = e.what();
	}
	stop = true;
	renderer.join();
	require(failure.empty(), "opening the view while the unit renders: " + failure);
	require(renderFailure.empty(), renderFailure);
	return "\"" + description + "\" opened twice, then while rendering";
}
}

std::vector<Check> propertyChecks()
{
	return {
		{1, "component", component},
		{2, "properties", propertySweep},
		{2, "channel formats", channelGrid},
		{6, "listeners", listeners},
		{7, "view", view},
	};
}
