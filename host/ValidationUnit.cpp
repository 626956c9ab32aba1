#include "ValidationUnit.h"

#include "AllocationInterceptor.h"

#include <cfloat>
#include <cmath>
#include <cstddef>

ValidationUnit::ValidationUnit(AudioComponent component)
{
	const OSStatus status = AudioComponentInstanceNew(component, &m_unit);
	if (status != noErr)
	{
		m_unit = nullptr;
		throw CheckFailed{"the unit did not open (status " + std::to_string(status) + ")"};
	}
}

ValidationUnit::~ValidationUnit()
{
	if (m_unit)
		AudioComponentInstanceDispose(m_unit);
}

OSStatus ValidationUnit::prepare(double sampleRate, UInt32 maxFrames)
{
	AudioUnitUninitialize(m_unit);
	OSStatus status =
		AudioUnitSetProperty(m_unit, kAudioUnitProperty_SampleRate, kAudioUnitScope_Output, 0, &sampleRate, sizeof sampleRate);
	if (status == noErr)
		status = AudioUnitSetProperty(
			m_unit, kAudioUnitProperty_MaximumFramesPerSlice, kAudioUnitScope_Global, 0, &maxFrames, sizeof maxFrames);
	if (status == noErr)
		status = AudioUnitInitialize(m_unit);
	return status;
}

OSStatus ValidationUnit::render(UInt32 frames, long* allocations)
{
	m_left.assign(frames, 0.f);
	m_right.assign(frames, 0.f);
	m_bufferList.assign(offsetof(AudioBufferList, mBuffers) + 2 * sizeof(AudioBuffer), 0);
	auto* buffers = reinterpret_cast<AudioBufferList*>(m_bufferList.data());
	buffers->mNumberBuffers = 2;
	buffers->mBuffers[0] = {1, frames * UInt32(sizeof(float)), m_left.data()};
	buffers->mBuffers[1] = {1, frames * UInt32(sizeof(float)), m_right.data()};
	AudioTimeStamp time{};
	time.mSampleTime = m_sampleTime;
	time.mFlags = kAudioTimeStampSampleTimeValid;
	AudioUnitRenderActionFlags flags = 0;
	if (allocations)
		allocationInterceptor::arm();
	const OSStatus status = AudioUnitRender(m_unit, &flags, &time, 0, frames, buffers);
	if (allocations)
		*allocations += allocationInterceptor::disarm();
	if (status == noErr)
		m_sampleTime += frames;
	return status;
}

OSStatus ValidationUnit::midi(UInt8 status, UInt8 data1, UInt8 data2, UInt32 offset)
{
	return MusicDeviceMIDIEvent(m_unit, status, data1, data2, offset);
}

std::vector<AudioUnitParameterID> ValidationUnit::parameterIds()
{
	UInt32 size = 0;
	if (AudioUnitGetPropertyInfo(m_unit, kAudioUnitProperty_ParameterList, kAudioUnitScope_Global, 0, &size, nullptr) != noErr ||
		size == 0)
		return {};
	std::vector<AudioUnitParameterID> ids(size / sizeof(AudioUnitParameterID));
	require(AudioUnitGetProperty(m_unit, kAudioUnitProperty_ParameterList, kAudioUnitScope_Global, 0, ids.data(), &size),
		"reading the parameter list");
	return ids;
}

AudioUnitParameterInfo ValidationUnit::parameterInfo(AudioUnitParameterID id)
{
	AudioUnitParameterInfo info{};
	UInt32 size = sizeof info;
	require(AudioUnitGetProperty(m_unit, kAudioUnitProperty_ParameterInfo, kAudioUnitScope_Global, id, &info, &size),
		"reading the record of parameter " + std::to_string(id));
	if ((info.flags & kAudioUnitParameterFlag_CFNameRelease) && info.cfNameString)
		CFRelease(info.cfNameString);
	info.cfNameString = nullptr;
	return info;
}

float ValidationUnit::parameter(AudioUnitParameterID id)
{
	AudioUnitParameterValue value = 0;
	require(AudioUnitGetParameter(m_unit, id, kAudioUnitScope_Global, 0, &value), "reading parameter " + std::to_string(id));
	return value;
}

OSStatus ValidationUnit::setParameter(AudioUnitParameterID id, float value)
{
	return AudioUnitSetParameter(m_unit, id, kAudioUnitScope_Global, 0, value, 0);
}

CFPropertyListRef ValidationUnit::saveState()
{
	CFPropertyListRef state = nullptr;
	UInt32 size = sizeof state;
	require(AudioUnitGetProperty(m_unit, kAudioUnitProperty_ClassInfo, kAudioUnitScope_Global, 0, &state, &size),
		"saving the state");
	require(state != nullptr, "saving the state gave nothing");
	return state;
}

std::string ValidationUnit::stateXml()
{
	CFPropertyListRef state = saveState();
	CFDataRef xml = CFPropertyListCreateData(nullptr, state, kCFPropertyListXMLFormat_v1_0, 0, nullptr);
	CFRelease(state);
	require(xml != nullptr, "the saved state is not a property list");
	std::string text(reinterpret_cast<const char*>(CFDataGetBytePtr(xml)), size_t(CFDataGetLength(xml)));
	CFRelease(xml);
	return text;
}

OSStatus ValidationUnit::restoreState(CFPropertyListRef state)
{
	return AudioUnitSetProperty(m_unit, kAudioUnitProperty_ClassInfo, kAudioUnitScope_Global, 0, &state, sizeof state);
}

void require(OSStatus status, const std::string& what)
{
	if (status != noErr)
		throw CheckFailed{what + " failed with status " + std::to_string(status)};
}

void require(bool condition, const std::string& why)
{
	if (!condition)
		throw CheckFailed{why};
}

std::string firstBadSample(const std::vector<float>& samples)
{
	for (size_t i = 0; i < samples.size(); ++i)
	{
		const float x = samples[i];
		if (!std::isfinite(x))
			return "sample " + std::to_string(i) + " is " + (std::isnan(x) ? "not a number" : "infinite");
		if (x != 0 && std::fabs(x) < FLT_MIN)
			return "sample " + std::to_string(i) + " is subnormal";
	}
	return {};
}

std::string textOf(CFStringRef text)
{
	if (!text)
		return {};
	std::vector<char> buffer(size_t(CFStringGetLength(text)) * 4 + 1);
	return CFStringGetCString(text, buffer.data(), CFIndex(buffer.size()), kCFStringEncodingUTF8) ? buffer.data() : "";
}
