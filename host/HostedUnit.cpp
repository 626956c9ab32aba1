#include "HostedUnit.h"

#include "HostError.h"
#include "InputFile.h"
#include "OutputFile.h"
#include "PluginLog.h"

#include <CoreMIDI/CoreMIDI.h>

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <strings.h>

namespace
{
std::string status(OSStatus s)
{
	return "status " + std::to_string(s);
}

std::string text(CFStringRef s)
{
	if (!s)
		return {};
	char buffer[1024];
	return CFStringGetCString(s, buffer, sizeof buffer, kCFStringEncodingUTF8) ? buffer : "";
}

// Digits only, as many as a 32-bit number holds: "4294967301" names no parameter rather than parameter 5.
bool wholeNumber(const std::string& s, uint32_t& out)
{
	if (s.empty() || s.size() > 10 || s.find_first_not_of("0123456789") != std::string::npos)
		return false;
	const unsigned long long value = std::stoull(s);
	out = uint32_t(value);
	return value <= UINT32_MAX;
}

std::string number(float value)
{
	char text[32];
	std::snprintf(text, sizeof text, "%g", value);
	return text;
}

// A parameter or preset named on the command line: by number, else by its name as written, else by its name in any
// case, as a person types it.
template <typename T, typename NumberOf>
const T* findByNumberOrName(const std::vector<T>& all, const std::string& key, NumberOf numberOf)
{
	auto first = [&](auto matches) -> const T* {
		for (const T& item : all)
			if (matches(item))
				return &item;
		return nullptr;
	};
	uint32_t wanted = 0;
	const bool byNumber = wholeNumber(key, wanted);
	if (const T* found = first([&](const T& t) { return byNumber && numberOf(t) == int64_t(wanted); }))
		return found;
	if (const T* found = first([&](const T& t) { return t.name == key; }))
		return found;
	return first([&](const T& t) { return strcasecmp(t.name.c_str(), key.c_str()) == 0; });
}

// What the line refusing an unknown name says is valid: the range of numbers when they run without a gap.
template <typename T, typename NumberOf>
std::string validChoices(const std::vector<T>& all, NumberOf numberOf, const std::string& kind, const std::string& numbered)
{
	if (all.empty())
		return "the plug-in has no " + kind + "s";
	std::vector<int64_t> numbers;
	for (const T& item : all)
		numbers.push_back(numberOf(item));
	std::sort(numbers.begin(), numbers.end());
	const bool runs = std::adjacent_find(numbers.begin(), numbers.end(), [](int64_t a, int64_t b) { return b != a + 1; }) ==
					  numbers.end();
	const std::string byNumber =
		numbered + (runs ? " from " + std::to_string(numbers.front()) + " to " + std::to_string(numbers.back()) : "");
	return "a " + kind + " is " + byNumber + " or a name, in any case; virel-host info lists them";
}

int64_t idOf(const HostedUnit::Parameter& p)
{
	return p.id;
}

int64_t numberOf(const HostedUnit::Preset& p)
{
	return p.number;
}
}

HostedUnit::HostedUnit(AudioComponent component)
{
	pluginLog::beginStep();
	const OSStatus s = AudioComponentInstanceNew(component, &m_unit);
	if (s != noErr)
		throw PluginError("the plug-in failed to open (" + status(s) + ")");
}

HostedUnit::~HostedUnit()
{
	if (m_unit)
	{
		AudioUnitUninitialize(m_unit);
		AudioComponentInstanceDispose(m_unit);
	}
}

void HostedUnit::check(OSStatus s, const std::string& what)
{
	if (s != noErr)
		throw PluginError(what + " failed (" + status(s) + ")");
}

void HostedUnit::prepare(double sampleRate, UInt32 maxFrames)
{
	pluginLog::beginStep();
	AudioStreamBasicDescription format{};
	UInt32 size = sizeof format;
	check(AudioUnitGetProperty(m_unit, kAudioUnitProperty_StreamFormat, kAudioUnitScope_Output, 0, &format, &size),
		"reading the output format");
	if (format.mSampleRate != sampleRate)
	{
		format.mSampleRate = sampleRate;
		check(AudioUnitSetProperty(m_unit, kAudioUnitProperty_StreamFormat, kAudioUnitScope_Output, 0, &format, sizeof format),
			"setting the sample rate to " + std::to_string(int(sampleRate)) + " Hz");
	}
	check(AudioUnitSetProperty(m_unit, kAudioUnitProperty_MaximumFramesPerSlice, kAudioUnitScope_Global, 0, &maxFrames,
			  sizeof maxFrames),
		"setting the block size");
	if (AudioUnitGetPropertyInfo(m_unit, kAudioUnitProperty_MIDIOutputCallback, kAudioUnitScope_Global, 0, nullptr, nullptr) == noErr)
	{
		AUMIDIOutputCallbackStruct callback = {onMidiOutput, this};
		check(AudioUnitSetProperty(m_unit, kAudioUnitProperty_MIDIOutputCallback, kAudioUnitScope_Global, 0, &callback,
				  sizeof callback),
			"connecting the MIDI output");
	}
	check(AudioUnitInitialize(m_unit), "initialising the plug-in");
	const UInt32 channels = format.mChannelsPerFrame ? format.mChannelsPerFrame : 2;
	m_bufferList.assign(offsetof(AudioBufferList, mBuffers) + channels * sizeof(AudioBuffer), 0);
}

std::vector<HostedUnit::Parameter> HostedUnit::parameters()
{
	std::vector<Parameter> result;
	UInt32 size = 0;
	if (AudioUnitGetPropertyInfo(m_unit, kAudioUnitProperty_ParameterList, kAudioUnitScope_Global, 0, &size, nullptr) != noErr ||
		size == 0)
		return result;
	std::vector<AudioUnitParameterID> ids(size / sizeof(AudioUnitParameterID));
	check(AudioUnitGetProperty(m_unit, kAudioUnitProperty_ParameterList, kAudioUnitScope_Global, 0, ids.data(), &size),
		"reading the parameter list");
	for (AudioUnitParameterID id : ids)
	{
		Parameter p{id, {}, {}};
		UInt32 infoSize = sizeof p.info;
		if (AudioUnitGetProperty(m_unit, kAudioUnitProperty_ParameterInfo, kAudioUnitScope_Global, id, &p.info, &infoSize) != noErr)
			continue;
		if (p.info.flags & kAudioUnitParameterFlag_HasCFNameString)
		{
			p.name = text(p.info.cfNameString);
			if ((p.info.flags & kAudioUnitParameterFlag_CFNameRelease) && p.info.cfNameString)
				CFRelease(p.info.cfNameString);
			p.info.cfNameString = nullptr;
		}
		if (p.name.empty())
			p.name.assign(p.info.name, strnlen(p.info.name, sizeof p.info.name));
		result.push_back(p);
	}
	return result;
}

std::string HostedUnit::valueText(AudioUnitParameterID id, const AudioUnitParameterValue* value)
{
	AudioUnitParameterStringFromValue request = {id, value, nullptr};
	UInt32 size = sizeof request;
	if (AudioUnitGetProperty(m_unit, kAudioUnitProperty_ParameterStringFromValue, kAudioUnitScope_Global, 0, &request, &size) !=
			noErr ||
		!request.outString)
		return {};
	std::string s = text(request.outString);
	CFRelease(request.outString);
	return s;
}

AudioUnitParameterValue HostedUnit::parameter(AudioUnitParameterID id)
{
	AudioUnitParameterValue v = 0;
	check(AudioUnitGetParameter(m_unit, id, kAudioUnitScope_Global, 0, &v), "reading parameter " + std::to_string(id));
	return v;
}

void HostedUnit::setParameter(const std::string& idOrName, float value)
{
	pluginLog::beginStep();
	const std::vector<Parameter> all = parameters();
	const Parameter* found = findByNumberOrName(all, idOrName, idOf);
	if (!found)
		throw HostError("unknown parameter '" + idOrName + "': " + validChoices(all, idOf, "parameter", "an ID"));
	const AudioUnitParameterInfo& info = found->info;
	const float inRange = info.minValue <= info.maxValue ? std::clamp(value, info.minValue, info.maxValue) : value;
	if (inRange != value)
		warn("parameter '" + found->name + "' takes values from " + number(info.minValue) + " to " +
			 number(info.maxValue) + "; " + number(value) + " was brought to " + number(inRange));
	check(AudioUnitSetParameter(m_unit, found->id, kAudioUnitScope_Global, 0, inRange, 0),
		"setting parameter '" + found->name + "'");
}

std::vector<HostedUnit::Preset> HostedUnit::presets()
{
	std::vector<Preset> result;
	CFArrayRef array = nullptr;
	UInt32 size = sizeof array;
	if (AudioUnitGetProperty(m_unit, kAudioUnitProperty_FactoryPresets, kAudioUnitScope_Global, 0, &array, &size) != noErr ||
		!array)
		return result;
	for (CFIndex i = 0; i < CFArrayGetCount(array); ++i)
	{
		auto* p = static_cast<const AUPreset*>(CFArrayGetValueAtIndex(array, i));
		result.push_back({p->presetNumber, text(p->presetName)});
	}
	CFRelease(array);
	return result;
}

void HostedUnit::selectPreset(const std::string& numberOrName)
{
	pluginLog::beginStep();
	const std::vector<Preset> all = presets();
	const Preset* found = findByNumberOrName(all, numberOrName, numberOf);
	if (!found)
		throw HostError("unknown preset '" + numberOrName + "': " + validChoices(all, numberOf, "preset", "a number"));
	CFStringRef name = CFStringCreateWithCString(nullptr, found->name.c_str(), kCFStringEncodingUTF8);
	AUPreset preset = {found->number, name};
	const OSStatus s =
		AudioUnitSetProperty(m_unit, kAudioUnitProperty_PresentPreset, kAudioUnitScope_Global, 0, &preset, sizeof preset);
	if (name)
		CFRelease(name);
	check(s, "selecting preset '" + found->name + "'");
}

void HostedUnit::restoreState(const std::string& path)
{
	pluginLog::beginStep();
	const std::vector<uint8_t> bytes = readInputFile(path, kStateFile);
	CFDataRef data = CFDataCreate(nullptr, reinterpret_cast<const UInt8*>(bytes.data()), CFIndex(bytes.size()));
	CFErrorRef error = nullptr;
	CFPropertyListRef plist = CFPropertyListCreateWithData(nullptr, data, 0, nullptr, &error);
	CFRelease(data);
	if (!plist)
	{
		CFStringRef why = CFErrorCopyDescription(error);
		const std::string reason = text(why);
		CFRelease(why);
		CFRelease(error);
		throw HostError("cannot load the state file '" + path + "': " + reason);
	}
	const OSStatus s = AudioUnitSetProperty(m_unit, kAudioUnitProperty_ClassInfo, kAudioUnitScope_Global, 0, &plist, sizeof plist);
	CFRelease(plist);
	if (s != noErr)
		throw PluginError("the plug-in refused the state in '" + path + "' (" + status(s) + ")");
}

void HostedUnit::saveState(const std::string& path)
{
	pluginLog::beginStep();
	CFPropertyListRef plist = nullptr;
	UInt32 size = sizeof plist;
	check(AudioUnitGetProperty(m_unit, kAudioUnitProperty_ClassInfo, kAudioUnitScope_Global, 0, &plist, &size),
		"saving the plug-in's state");
	CFDataRef xml = CFPropertyListCreateData(nullptr, plist, kCFPropertyListXMLFormat_v1_0, 0, nullptr);
	CFRelease(plist);
	if (!xml)
		throw PluginError("the plug-in's state is not a property list");
	const std::vector<UInt8> bytes(CFDataGetBytePtr(xml), CFDataGetBytePtr(xml) + CFDataGetLength(xml));
	CFRelease(xml);
	OutputFile out(path, "state file");
	out.write(bytes.data(), bytes.size());
	out.commit();
}

void HostedUnit::sendSysEx(const std::vector<UInt8>& message)
{
	pluginLog::beginStep();
	check(MusicDeviceSysEx(m_unit, message.data(), UInt32(message.size())), "sending SysEx");
}

void HostedUnit::sendMidi(const std::vector<UInt8>& message, UInt32 offset)
{
	if (message.empty())
		return;
	if (message[0] == 0xF0)
		return sendSysEx(message);
	check(MusicDeviceMIDIEvent(m_unit, message[0], message.size() > 1 ? message[1] : 0, message.size() > 2 ? message[2] : 0,
			  offset),
		"sending MIDI");
}

void HostedUnit::render(float* left, float* right, UInt32 frames)
{
	auto* abl = reinterpret_cast<AudioBufferList*>(m_bufferList.data());
	abl->mNumberBuffers = UInt32((m_bufferList.size() - offsetof(AudioBufferList, mBuffers)) / sizeof(AudioBuffer));
	float* channels[2] = {left, right};
	for (UInt32 i = 0; i < abl->mNumberBuffers; ++i)
		abl->mBuffers[i] = {1, frames * UInt32(sizeof(float)), i < 2 ? channels[i] : nullptr};
	AudioTimeStamp ts{};
	ts.mSampleTime = m_sampleTime;
	ts.mFlags = kAudioTimeStampSampleTimeValid;
	AudioUnitRenderActionFlags flags = 0;
	check(AudioUnitRender(m_unit, &flags, &ts, 0, frames, abl), "rendering");
	m_sampleTime += frames;
}

OSStatus HostedUnit::onMidiOutput(void* userData, const AudioTimeStamp*, UInt32, const MIDIPacketList* list)
{
	auto* self = static_cast<HostedUnit*>(userData);
	std::lock_guard<std::mutex> lock(self->m_midiMutex);
	const MIDIPacket* packet = &list->packet[0];
	for (UInt32 i = 0; i < list->numPackets; ++i, packet = MIDIPacketNext(packet))
	{
		const UInt16 length = packet->length;
		for (UInt16 k = 0; k < length; ++k)
		{
			const UInt8 b = packet->data[k];
			// SysEx may arrive split over packets; short messages are not SysEx and are not captured.
			if (b == 0xF0)
				self->m_partialSysEx.assign(1, b);
			else if (b >= 0x80 && b < 0xF7)
				self->m_partialSysEx.clear(); // a new status ends an unterminated message
			else if (!self->m_partialSysEx.empty())
			{
				self->m_partialSysEx.push_back(b);
				if (b == 0xF7)
				{
					self->m_midiOut.push_back(std::move(self->m_partialSysEx));
					self->m_partialSysEx.clear();
				}
			}
		}
	}
	return noErr;
}

std::vector<std::vector<UInt8>> HostedUnit::takeMidiOutput()
{
	std::lock_guard<std::mutex> lock(m_midiMutex);
	std::vector<std::vector<UInt8>> out;
	out.swap(m_midiOut);
	return out;
}
