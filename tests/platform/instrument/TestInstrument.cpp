#include "TestInstrument.h"

#include <AudioToolbox/AudioUnitUtilities.h>
#include <CoreMIDI/CoreMIDI.h>
#include <objc/ClassRegistration.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace
{
const char* const kParamNames[TestInstrument::kNumParams] = {"Gain", "Tone"};
const AudioUnitParameterValue kDefaults[TestInstrument::kNumParams] = {0.5f, 0.f};
struct Preset
{
	const char* name;
	float gain, tone;
};
const Preset kPresets[TestInstrument::kNumPresets] = {{"Soft", 0.3f, 0.f}, {"Bright", 0.5f, 1.f}, {"Loud", 1.f, 0.2f}};
const AUChannelInfo kChannels[] = {{0, 2}};
}

TestInstrument::TestInstrument(AudioComponentInstance instance) : AUInstrumentBase(instance, 0, 1)
{
	if (const char* fault = std::getenv("VIREL_TEST_INSTRUMENT_FAULT"))
	{
		const std::string name = fault;
		m_fault = name == "parameter-not-restored"	   ? Fault::ParameterNotRestored
				  : name == "render-allocates"		   ? Fault::RenderAllocates
				  : name == "nan-output"			   ? Fault::NanOutput
				  : name == "state-changes"			   ? Fault::StateChanges
				  : name == "midi-before-initialisation" ? Fault::MidiBeforeInitialisation
				  : name == "preset-beyond-range"		   ? Fault::PresetBeyondRange
													   : Fault::None;
	}
	CreateElements();
	Globals()->UseIndexedParameters(kNumParams);
	for (int i = 0; i < kNumParams; ++i)
		Globals()->SetParameter(AudioUnitParameterID(i), kDefaults[i]);
}

OSStatus TestInstrument::Initialize()
{
	m_sampleRate = GetOutput(0)->GetStreamFormat().mSampleRate;
	m_voices.clear();
	return AUInstrumentBase::Initialize();
}

UInt32 TestInstrument::SupportedNumChannels(const AUChannelInfo** outInfo)
{
	if (outInfo)
		*outInfo = kChannels;
	return 1;
}

OSStatus TestInstrument::GetPropertyInfo(AudioUnitPropertyID id, AudioUnitScope scope, AudioUnitElement element,
	UInt32& size, Boolean& writable)
{
	if (scope == kAudioUnitScope_Global)
		switch (id)
		{
		case kAudioUnitProperty_ParameterStringFromValue:
			size = sizeof(AudioUnitParameterStringFromValue);
			writable = false;
			return noErr;
		case kAudioUnitProperty_MIDIOutputCallbackInfo:
			size = sizeof(CFArrayRef);
			writable = false;
			return noErr;
		case kAudioUnitProperty_MIDIOutputCallback:
			size = sizeof(AUMIDIOutputCallbackStruct);
			writable = true;
			return noErr;
		}
	return AUInstrumentBase::GetPropertyInfo(id, scope, element, size, writable);
}

OSStatus TestInstrument::GetProperty(AudioUnitPropertyID id, AudioUnitScope scope, AudioUnitElement element, void* data)
{
	if (scope == kAudioUnitScope_Global)
		switch (id)
		{
		case kAudioUnitProperty_ParameterStringFromValue:
		{
			auto* request = static_cast<AudioUnitParameterStringFromValue*>(data);
			if (request->inParamID >= kNumParams)
				return kAudioUnitErr_InvalidParameter;
			const float value = request->inValue ? *request->inValue : Globals()->GetParameter(request->inParamID);
			char text[32];
			std::snprintf(text, sizeof text, "%d%%", int(std::lround(value * 100)));
			request->outString = CFStringCreateWithCString(nullptr, text, kCFStringEncodingUTF8);
			return noErr;
		}
		case kAudioUnitProperty_MIDIOutputCallback:
			*static_cast<AUMIDIOutputCallbackStruct*>(data) = m_midiOut;
			return noErr;
		case kAudioUnitProperty_MIDIOutputCallbackInfo:
		{
			CFStringRef name = CFSTR("MIDI Out");
			*static_cast<CFArrayRef*>(data) =
				CFArrayCreate(nullptr, reinterpret_cast<const void**>(&name), 1, &kCFTypeArrayCallBacks);
			return noErr;
		}
		}
	return AUInstrumentBase::GetProperty(id, scope, element, data);
}

OSStatus TestInstrument::SetProperty(AudioUnitPropertyID id, AudioUnitScope scope, AudioUnitElement element,
	const void* data, UInt32 size)
{
	if (scope == kAudioUnitScope_Global && id == kAudioUnitProperty_MIDIOutputCallback)
	{
		if (size < sizeof(AUMIDIOutputCallbackStruct))
			return kAudioUnitErr_InvalidPropertyValue;
		m_midiOut = *static_cast<const AUMIDIOutputCallbackStruct*>(data);
		return noErr;
	}
	return AUInstrumentBase::SetProperty(id, scope, element, data, size);
}

OSStatus TestInstrument::GetParameterInfo(AudioUnitScope scope, AudioUnitParameterID id, AudioUnitParameterInfo& info)
{
	if (scope != kAudioUnitScope_Global || id >= kNumParams)
		return kAudioUnitErr_InvalidParameter;
	std::snprintf(info.name, sizeof info.name, "%s", kParamNames[id]);
	info.cfNameString = CFStringCreateWithCString(nullptr, kParamNames[id], kCFStringEncodingUTF8);
	info.unit = kAudioUnitParameterUnit_Generic;
	info.minValue = 0;
	info.maxValue = 1;
	info.defaultValue = kDefaults[id];
	info.flags = kAudioUnitParameterFlag_IsReadable | kAudioUnitParameterFlag_IsWritable |
				 kAudioUnitParameterFlag_HasCFNameString | kAudioUnitParameterFlag_CFNameRelease |
				 kAudioUnitParameterFlag_ValuesHaveStrings;
	return noErr;
}

OSStatus TestInstrument::SetParameter(AudioUnitParameterID id, AudioUnitScope scope, AudioUnitElement element,
	AudioUnitParameterValue value, UInt32 bufferOffset)
{
	if (std::isnan(value))
		return kAudioUnitErr_InvalidParameterValue;
	return AUInstrumentBase::SetParameter(id, scope, element, std::clamp(value, 0.f, 1.f), bufferOffset);
}

bool TestInstrument::ValidFormat(AudioUnitScope scope, AudioUnitElement element, const CAStreamBasicDescription& format)
{
	return AUInstrumentBase::ValidFormat(scope, element, format) && format.mChannelsPerFrame == 2;
}

OSStatus TestInstrument::GetPresets(CFArrayRef* outData) const
{
	if (!outData)
		return noErr;
	// The records never change, so the array holds plain pointers to them.
	static const AUPreset records[kNumPresets] = {{0, __CFStringMakeConstantString(kPresets[0].name)},
		{1, __CFStringMakeConstantString(kPresets[1].name)}, {2, __CFStringMakeConstantString(kPresets[2].name)}};
	CFMutableArrayRef presets = CFArrayCreateMutable(nullptr, kNumPresets, nullptr);
	for (const AUPreset& record : records)
		CFArrayAppendValue(presets, &record);
	*outData = presets;
	return noErr;
}

OSStatus TestInstrument::NewFactoryPresetSet(const AUPreset& preset)
{
	if (preset.presetNumber < 0 || preset.presetNumber >= kNumPresets)
		return kAudioUnitErr_InvalidPropertyValue;
	selectPreset(preset.presetNumber);
	return noErr;
}

void TestInstrument::selectPreset(int index)
{
	Globals()->SetParameter(kParamGain, kPresets[index].gain);
	Globals()->SetParameter(kParamTone, m_fault == Fault::PresetBeyondRange ? 1.5f : kPresets[index].tone);
	AUPreset current = {index, __CFStringMakeConstantString(kPresets[index].name)};
	SetAFactoryPresetAsCurrent(current);
}

OSStatus TestInstrument::SaveState(CFPropertyListRef* outData)
{
	OSStatus result = AUInstrumentBase::SaveState(outData);
	if (result != noErr)
		return result;
	CFDataRef chunk = CFDataCreate(nullptr, m_lastSysEx.data(), CFIndex(m_lastSysEx.size()));
	CFDictionarySetValue((CFMutableDictionaryRef)*outData, CFSTR("vTst_chunk"), chunk);
	CFRelease(chunk);
	if (m_fault == Fault::StateChanges)
	{
		const SInt32 saves = ++m_saves;
		CFNumberRef number = CFNumberCreate(nullptr, kCFNumberSInt32Type, &saves);
		CFDictionarySetValue((CFMutableDictionaryRef)*outData, CFSTR("vTst_saves"), number);
		CFRelease(number);
	}
	return noErr;
}

OSStatus TestInstrument::RestoreState(CFPropertyListRef data)
{
	OSStatus result = AUInstrumentBase::RestoreState(data);
	if (result != noErr)
		return result;
	const void* chunk = CFDictionaryGetValue(static_cast<CFDictionaryRef>(data), CFSTR("vTst_chunk"));
	if (chunk && CFGetTypeID(chunk) == CFDataGetTypeID())
	{
		auto d = static_cast<CFDataRef>(chunk);
		m_lastSysEx.assign(CFDataGetBytePtr(d), CFDataGetBytePtr(d) + CFDataGetLength(d));
	}
	if (m_fault == Fault::ParameterNotRestored)
		Globals()->SetParameter(kParamTone, kDefaults[kParamTone]);
	return noErr;
}

OSStatus TestInstrument::HandleMidiEvent(UInt8 status, UInt8 channel, UInt8 data1, UInt8 data2, UInt32 startFrame)
{
	if (!IsInitialized() && m_fault != Fault::MidiBeforeInitialisation)
		return kAudioUnitErr_Uninitialized;
	m_pending.push_back({UInt8(status | channel), data1, data2, startFrame, {}});
	return noErr;
}

OSStatus TestInstrument::HandleSysEx(const UInt8* data, UInt32 length)
{
	if (length > 0)
		m_pending.push_back({0, 0, 0, 0, std::vector<UInt8>(data, data + length)});
	return noErr;
}

void TestInstrument::sendMidi(const std::vector<UInt8>& bytes)
{
	if (!m_midiOut.midiOutputCallback)
		return;
	std::vector<Byte> storage(bytes.size() + 256, 0);
	auto* list = reinterpret_cast<MIDIPacketList*>(storage.data());
	MIDIPacket* packet = MIDIPacketListInit(list);
	MIDIPacketListAdd(list, storage.size(), packet, 0, bytes.size(), bytes.data());
	m_midiOut.midiOutputCallback(m_midiOut.userData, &m_lastTime, 0, list);
}

void TestInstrument::notifyParameter(AudioUnitParameterID id)
{
	AudioUnitEvent event{};
	event.mEventType = kAudioUnitEvent_ParameterValueChange;
	event.mArgument.mParameter = {GetComponentInstance(), id, kAudioUnitScope_Global, 0};
	AUEventListenerNotify(nullptr, nullptr, &event);
}

void TestInstrument::apply(const Event& e)
{
	if (!e.sysex.empty())
	{
		m_lastSysEx = e.sysex;
		sendMidi(e.sysex);
		return;
	}
	const UInt8 type = e.status & 0xF0;
	if (type == 0x90 && e.data2 > 0)
	{
		const double frequency = 440.0 * std::pow(2.0, (e.data1 - 69) / 12.0);
		m_voices.push_back({e.data1, 0.0, frequency / m_sampleRate, e.data2 / 127.0});
		m_played = true;
	}
	else if (type == 0x80 || type == 0x90)
		m_voices.erase(std::remove_if(m_voices.begin(), m_voices.end(), [&](const Voice& v) { return v.note == e.data1; }),
			m_voices.end());
	else if (type == 0xB0 && e.data1 == 7)
	{
		Globals()->SetParameter(kParamGain, e.data2 / 127.f);
		notifyParameter(kParamGain);
	}
	else if (type == 0xB0 && (e.data1 == 120 || e.data1 == 123))
		m_voices.clear();
	else if (type == 0xC0 && e.data1 < kNumPresets)
	{
		const float before[kNumParams] = {Globals()->GetParameter(kParamGain), Globals()->GetParameter(kParamTone)};
		selectPreset(e.data1);
		PropertyChanged(kAudioUnitProperty_PresentPreset, kAudioUnitScope_Global, 0);
		for (AudioUnitParameterID id = 0; id < kNumParams; ++id)
			if (Globals()->GetParameter(id) != before[id])
				notifyParameter(id);
	}
}

OSStatus TestInstrument::Render(AudioUnitRenderActionFlags&, const AudioTimeStamp& time, UInt32 frames)
{
	AudioBufferList& abl = GetOutput(0)->PrepareBuffer(frames);
	auto* left = abl.mNumberBuffers > 0 ? static_cast<float*>(abl.mBuffers[0].mData) : nullptr;
	auto* right = abl.mNumberBuffers > 1 ? static_cast<float*>(abl.mBuffers[1].mData) : nullptr;
	// In order of offset, events of one offset as they came; sorted in place, since a stable sort would allocate.
	for (size_t i = 1; i < m_pending.size(); ++i)
		for (size_t k = i; k > 0 && m_pending[k - 1].offset > m_pending[k].offset; --k)
			std::swap(m_pending[k - 1], m_pending[k]);
	if (m_fault == Fault::RenderAllocates)
		m_scratch = std::make_unique<float[]>(frames);
	size_t next = 0;
	const float gain = Globals()->GetParameter(kParamGain);
	const float tone = Globals()->GetParameter(kParamTone);
	for (UInt32 i = 0; i < frames; ++i)
	{
		while (next < m_pending.size() && m_pending[next].offset <= i)
			apply(m_pending[next++]);
		double sample = 0;
		for (Voice& v : m_voices)
		{
			const double sine = std::sin(2 * M_PI * v.phase);
			const double square = v.phase < 0.5 ? 1.0 : -1.0;
			sample += v.amplitude * ((1 - tone) * sine + tone * square);
			v.phase += v.step;
			v.phase -= std::floor(v.phase);
		}
		const float out = float(sample * gain * 0.25);
		if (left)
			left[i] = out;
		if (right)
			right[i] = out;
	}
	if (m_fault == Fault::NanOutput && m_played && left)
		left[0] = std::nanf("");
	while (next < m_pending.size())
		apply(m_pending[next++]);
	m_pending.clear();
	m_lastTime = time;
	return noErr;
}

// A class of this image, so that a host can find the bundle through the class runtime as it finds a view factory.
static ClassRegistration s_viewFactory("VirelTestCocoaUI", Nil, [] { return id(nullptr); });

extern "C" __attribute__((visibility("default"))) AudioComponentPlugInInterface* auPluginFactory(
	const AudioComponentDescription* desc)
{
	return AUMusicDeviceFactory<TestInstrument>::Factory(desc);
}
