#include "AuHost.h"

#include <dlfcn.h>

#include <cmath>
#include <cstddef>

namespace auhost
{
std::string toString(CFStringRef text)
{
	if (!text)
		return "(null)";
	std::vector<char> buffer(size_t(CFStringGetLength(text)) * 4 + 1);
	if (!CFStringGetCString(text, buffer.data(), CFIndex(buffer.size()), kCFStringEncodingUTF8))
		return "(not UTF-8)";
	return buffer.data();
}

namespace
{
void* g_module = nullptr;

CFTypeRef infoValue(CFDictionaryRef dictionary, const char* key)
{
	CFStringRef cfKey = CFStringCreateWithCString(nullptr, key, kCFStringEncodingUTF8);
	CFTypeRef value = CFDictionaryGetValue(dictionary, cfKey);
	CFRelease(cfKey);
	return value;
}

AudioComponent loadBundle()
{
	CFStringRef path = CFStringCreateWithCString(nullptr, VIREL_COMPONENT_BUNDLE, kCFStringEncodingUTF8);
	CFURLRef url = CFURLCreateWithFileSystemPath(nullptr, path, kCFURLPOSIXPathStyle, true);
	CFBundleRef bundle = CFBundleCreate(nullptr, url);
	CFRelease(url);
	CFRelease(path);
	if (!bundle)
		return nullptr;

	AudioComponent result = nullptr;
	CFURLRef executable = CFBundleCopyExecutableURL(bundle);
	auto components = static_cast<CFArrayRef>(CFBundleGetValueForInfoDictionaryKey(bundle, CFSTR("AudioComponents")));
	if (executable && components && CFArrayGetCount(components) == 1)
	{
		auto entry = static_cast<CFDictionaryRef>(CFArrayGetValueAtIndex(components, 0));
		CFStringRef executablePath = CFURLCopyFileSystemPath(executable, kCFURLPOSIXPathStyle);
		// Kept loaded for the whole process, as a host keeps a plug-in it has opened.
		void* module = dlopen(toString(executablePath).c_str(), RTLD_NOW | RTLD_LOCAL);
		g_module = module;
		CFRelease(executablePath);
		const std::string factoryName = toString(static_cast<CFStringRef>(infoValue(entry, "factoryFunction")));
		void* factory = module ? dlsym(module, factoryName.c_str()) : nullptr;
		if (!module)
			ADD_FAILURE() << dlerror();
		if (factory)
		{
			AudioComponentDescription desc = {kType, kSubType, kManufacturer, 0, 0};
			SInt32 version = 0;
			CFNumberGetValue(static_cast<CFNumberRef>(infoValue(entry, "version")), kCFNumberSInt32Type, &version);
			result = AudioComponentRegister(&desc, static_cast<CFStringRef>(infoValue(entry, "name")),
				static_cast<UInt32>(version), reinterpret_cast<AudioComponentFactoryFunction>(factory));
		}
	}
	if (executable)
		CFRelease(executable);
	CFRelease(bundle);
	return result;
}
}

AudioComponent component()
{
	static AudioComponent registered = loadBundle();
	EXPECT_NE(registered, nullptr) << "cannot load " << VIREL_COMPONENT_BUNDLE;
	return registered;
}

void* pluginSymbol(const char* name)
{
	component();
	return g_module ? dlsym(g_module, name) : nullptr;
}

OSStatus MidiOutCapture::callback(void* userData, const AudioTimeStamp* time, UInt32, const MIDIPacketList* list)
{
	auto* self = static_cast<MidiOutCapture*>(userData);
	std::lock_guard<std::mutex> lock(self->m_mutex);
	const MIDIPacket* packet = &list->packet[0];
	for (UInt32 i = 0; i < list->numPackets; ++i)
	{
		SentPacket sent;
		const auto* data = reinterpret_cast<const uint8_t*>(packet) + offsetof(MIDIPacket, data);
		sent.bytes.assign(data, data + packet->length);
		sent.packetTime = packet->timeStamp;
		sent.packetCount = list->numPackets;
		sent.blockTime = *time;
		self->m_packets.push_back(sent);
		packet = MIDIPacketNext(packet);
	}
	return self->result;
}

std::vector<SentPacket> MidiOutCapture::packets() const
{
	std::lock_guard<std::mutex> lock(m_mutex);
	return m_packets;
}

void MidiOutCapture::clear()
{
	std::lock_guard<std::mutex> lock(m_mutex);
	m_packets.clear();
}

Instance::Instance()
{
	EXPECT_EQ(AudioComponentInstanceNew(component(), &m_unit), noErr);
}

Instance::~Instance()
{
	close();
}

void Instance::close()
{
	if (m_unit)
	{
		EXPECT_EQ(AudioComponentInstanceDispose(m_unit), noErr);
	}
	m_unit = nullptr;
}

OSStatus Instance::initialize(double sampleRate)
{
	OSStatus status =
		AudioUnitSetProperty(m_unit, kAudioUnitProperty_SampleRate, kAudioUnitScope_Output, 0, &sampleRate, sizeof sampleRate);
	if (status != noErr)
		return status;
	const UInt32 maxFrames = 4096;
	status = AudioUnitSetProperty(
		m_unit, kAudioUnitProperty_MaximumFramesPerSlice, kAudioUnitScope_Global, 0, &maxFrames, sizeof maxFrames);
	if (status != noErr)
		return status;
	return AudioUnitInitialize(m_unit);
}

OSStatus Instance::render(UInt32 frames, std::vector<float>& left, std::vector<float>& right)
{
	left.assign(frames, 0.f);
	right.assign(frames, 0.f);
	std::vector<uint8_t> storage(offsetof(AudioBufferList, mBuffers) + 2 * sizeof(AudioBuffer));
	auto* buffers = reinterpret_cast<AudioBufferList*>(storage.data());
	buffers->mNumberBuffers = 2;
	buffers->mBuffers[0] = {1, frames * 4, left.data()};
	buffers->mBuffers[1] = {1, frames * 4, right.data()};
	AudioTimeStamp time{};
	time.mSampleTime = m_sampleTime;
	time.mFlags = kAudioTimeStampSampleTimeValid;
	m_sampleTime += frames;
	AudioUnitRenderActionFlags flags = 0;
	return AudioUnitRender(m_unit, &flags, &time, 0, frames, buffers);
}

void Instance::renderInto(size_t frames, UInt32 block, std::vector<float>& left, std::vector<float>& right)
{
	std::vector<float> l, r;
	for (size_t done = 0; done < frames; done += block)
	{
		ASSERT_EQ(render(block, l, r), noErr);
		left.insert(left.end(), l.begin(), l.end());
		right.insert(right.end(), r.begin(), r.end());
	}
}

OSStatus Instance::midi(UInt8 status, UInt8 data1, UInt8 data2, UInt32 offset)
{
	return MusicDeviceMIDIEvent(m_unit, status, data1, data2, offset);
}

OSStatus Instance::sysex(const std::vector<uint8_t>& message)
{
	return MusicDeviceSysEx(m_unit, message.data(), static_cast<UInt32>(message.size()));
}

void Instance::connectMidiOut(MidiOutCapture& capture)
{
	AUMIDIOutputCallbackStruct callback = {MidiOutCapture::callback, &capture};
	EXPECT_EQ(AudioUnitSetProperty(
				  m_unit, kAudioUnitProperty_MIDIOutputCallback, kAudioUnitScope_Global, 0, &callback, sizeof callback),
		noErr);
}

float Instance::parameter(AudioUnitParameterID id)
{
	AudioUnitParameterValue value = -1;
	EXPECT_EQ(AudioUnitGetParameter(m_unit, id, kAudioUnitScope_Global, 0, &value), noErr);
	return value;
}

std::string Instance::parameterText(AudioUnitParameterID id, const float* value)
{
	AudioUnitParameterStringFromValue request{};
	request.inParamID = id;
	request.inValue = value;
	UInt32 size = sizeof request;
	EXPECT_EQ(AudioUnitGetProperty(
				  m_unit, kAudioUnitProperty_ParameterStringFromValue, kAudioUnitScope_Global, 0, &request, &size),
		noErr);
	const std::string text = toString(request.outString);
	if (request.outString)
		CFRelease(request.outString);
	return text;
}

int Instance::presentPresetNumber()
{
	AUPreset preset{};
	UInt32 size = sizeof preset;
	EXPECT_EQ(AudioUnitGetProperty(m_unit, kAudioUnitProperty_PresentPreset, kAudioUnitScope_Global, 0, &preset, &size),
		noErr);
	if (preset.presetName)
		CFRelease(preset.presetName);
	return preset.presetNumber;
}

std::string Instance::presentPresetName()
{
	AUPreset preset{};
	UInt32 size = sizeof preset;
	EXPECT_EQ(AudioUnitGetProperty(m_unit, kAudioUnitProperty_PresentPreset, kAudioUnitScope_Global, 0, &preset, &size),
		noErr);
	const std::string name = toString(preset.presetName);
	if (preset.presetName)
		CFRelease(preset.presetName);
	return name;
}

CFPropertyListRef Instance::saveState(OSStatus* status)
{
	CFPropertyListRef state = nullptr;
	UInt32 size = sizeof state;
	const OSStatus result =
		AudioUnitGetProperty(m_unit, kAudioUnitProperty_ClassInfo, kAudioUnitScope_Global, 0, &state, &size);
	if (status)
		*status = result;
	return state;
}

OSStatus Instance::restoreState(CFPropertyListRef state)
{
	return AudioUnitSetProperty(m_unit, kAudioUnitProperty_ClassInfo, kAudioUnitScope_Global, 0, &state, sizeof state);
}

ParameterEvents::ParameterEvents(AudioUnit unit, const std::vector<AudioUnitParameterID>& ids)
{
	auto record = [](void* refCon, void*, const AudioUnitEvent* event, UInt64, AudioUnitParameterValue) {
		static_cast<ParameterEvents*>(refCon)->received.push_back(
			{event->mEventType, event->mArgument.mParameter.mParameterID});
	};
	EXPECT_EQ(AUEventListenerCreate(record, this, CFRunLoopGetMain(), kCFRunLoopDefaultMode, 0, 0, &m_listener), noErr);
	for (AudioUnitParameterID id : ids)
		for (AudioUnitEventType type : {kAudioUnitEvent_BeginParameterChangeGesture, kAudioUnitEvent_ParameterValueChange,
				 kAudioUnitEvent_EndParameterChangeGesture})
		{
			AudioUnitEvent event{};
			event.mEventType = type;
			event.mArgument.mParameter = {unit, id, kAudioUnitScope_Global, 0};
			AUEventListenerAddEventType(m_listener, nullptr, &event);
		}
}

ParameterEvents::~ParameterEvents()
{
	AUListenerDispose(m_listener);
}

void ParameterEvents::runLoop()
{
	while (CFRunLoopRunInMode(kCFRunLoopDefaultMode, 0, true) == kCFRunLoopRunHandledSource)
	{
	}
}

void turnMainLoop()
{
	CFRunLoopRunInMode(kCFRunLoopDefaultMode, 0.12, false);
}

std::string xmlOf(CFPropertyListRef state)
{
	CFDataRef xml = CFPropertyListCreateData(nullptr, state, kCFPropertyListXMLFormat_v1_0, 0, nullptr);
	if (!xml)
		return {};
	std::string text(reinterpret_cast<const char*>(CFDataGetBytePtr(xml)), size_t(CFDataGetLength(xml)));
	CFRelease(xml);
	return text;
}

double rms(const std::vector<float>& samples, size_t from, size_t to)
{
	to = std::min(to, samples.size());
	if (from >= to)
		return 0;
	double sum = 0;
	for (size_t i = from; i < to; ++i)
		sum += double(samples[i]) * samples[i];
	return std::sqrt(sum / double(to - from));
}
}
