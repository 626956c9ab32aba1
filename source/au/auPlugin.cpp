#include "au/auPlugin.h"

#include "au/CalloutGate.h"
#include "au/auEditor.h"

#include "synth/Plugin.h"
#include "synth/log.h"

namespace
{
// The rates a host may run the instrument at: from the lowest rate audio hardware offers to four times
// the highest common studio rate. Outside them the converter from the engine's rate has nothing
// sensible to do (a rate of 0, 1 or not a number included).
constexpr double kMinSampleRate = 8000;
constexpr double kMaxSampleRate = 768000;

// How often the main thread looks for preset changes the engine recorded on another thread.
constexpr CFTimeInterval kPresetAnnouncementInterval = 0.05;
}

auPlugin::auPlugin(ComponentInstanceRecord* instance)
	: AUInstrumentBase(instance, 1, 1, 16, 1), m_channelInfo{{0, 2}, {2, 2}}, m_parameterIds{}
{
	ZENT_LOG("AudioUnit constructed");
	m_timerGate = new CalloutGate(this);
	CFRunLoopTimerContext context{0, m_timerGate, CalloutGate::retain, CalloutGate::release, nullptr};
	m_presetTimer = CFRunLoopTimerCreate(kCFAllocatorDefault, CFAbsoluteTimeGetCurrent() + kPresetAnnouncementInterval,
		kPresetAnnouncementInterval, 0, 0, presetTimerFired, &context);
	if (m_presetTimer)
		CFRunLoopAddTimer(CFRunLoopGetMain(), m_presetTimer, kCFRunLoopCommonModes);
}

auPlugin::~auPlugin()
{
	ZENT_LOG("AudioUnit being destroyed");
	// Hosts close instances on any thread: an announcement the timer is making on another one is waited for.
	m_timerGate->close();
	if (m_presetTimer)
	{
		CFRunLoopTimerInvalidate(m_presetTimer);
		CFRelease(m_presetTimer);
	}
	CalloutGate::release(m_timerGate);
	// The editor owner goes first: its window holds the facade.
	delete m_editor;
	m_editor = nullptr;
	delete m_plugin;
	m_plugin = nullptr;
}

OSStatus auPlugin::Version()
{
	return 0x00010101;
}

void auPlugin::InitializePlugin()
{
	ZENT_LOG("Initializing plugin");
	if (m_plugin)
		return;
	m_plugin = new zentlib::Plugin(this);
	// The engine starts on a single without announcing it; the host is shown that single rather than an
	// untitled preset, so a state saved now comes back under the same name. Nothing changed that a host was
	// told of, so nothing is announced.
	std::lock_guard<OwnedRecursiveMutex> lock(m_presetLock);
	presentSingle(m_plugin->getCurrentSingleIndex());
}

OSStatus auPlugin::Initialize()
{
	if (!m_plugin)
		InitializePlugin();

	const double rate = GetOutput(0)->GetStreamFormat().mSampleRate;
	m_plugin->setSampleRate(static_cast<float>(rate));
	ZENT_LOG("Setting samplerate to " << rate);

	for (AudioUnitParameterID id = 0; id < zentlib::ParamCount; ++id)
		m_parameterIds[id] = id;

	AUInstrumentBase::Initialize();
	return noErr;
}

void auPlugin::Cleanup()
{
	ZENT_LOG("Cleanup");
	AUInstrumentBase::Cleanup();
}

OSStatus auPlugin::Reset(AudioUnitScope scope, AudioUnitElement element)
{
	// Held notes keep sounding: a reset only makes sure the engine runs at the output's rate.
	if (scope != kAudioUnitScope_Global || element != 0 || !m_plugin)
		return noErr;
	m_plugin->setSampleRate(static_cast<float>(GetOutput(0)->GetStreamFormat().mSampleRate));
	return noErr;
}

OSStatus auPlugin::ChangeStreamFormat(AudioUnitScope scope, AudioUnitElement element,
	const CAStreamBasicDescription& oldFormat, const CAStreamBasicDescription& newFormat)
{
	const OSStatus result = AUInstrumentBase::ChangeStreamFormat(scope, element, oldFormat, newFormat);
	ZENT_LOG("AU: Changing stream format, new samplerate = " << newFormat.mSampleRate);
	// The input is never read, so its rate means nothing to the engine; the global format is the output's.
	if (m_plugin && scope != kAudioUnitScope_Input)
		m_plugin->setSampleRate(static_cast<float>(GetOutput(0)->GetStreamFormat().mSampleRate));
	return result;
}

bool auPlugin::ValidFormat(AudioUnitScope scope, AudioUnitElement element, const CAStreamBasicDescription& format)
{
	if (!FormatIsCanonical(format) || element != 0)
		return false;
	if (!(format.mSampleRate >= kMinSampleRate && format.mSampleRate <= kMaxSampleRate))
		return false;
	switch (scope)
	{
	case kAudioUnitScope_Global: // the output's format, set through the global scope
	case kAudioUnitScope_Output:
		return format.mChannelsPerFrame == 2;
	case kAudioUnitScope_Input:
		return format.mChannelsPerFrame == 0 || format.mChannelsPerFrame == 2;
	default:
		return false;
	}
}

UInt32 auPlugin::SupportedNumChannels(const AUChannelInfo** outInfo)
{
	if (outInfo)
		*outInfo = m_channelInfo;
	return 2;
}

bool auPlugin::StreamFormatWritable(AudioUnitScope, AudioUnitElement)
{
	return true;
}

OSStatus auPlugin::StartNote(MusicDeviceInstrumentID, MusicDeviceGroupID, NoteInstanceID*, UInt32,
	const MusicDeviceNoteParams&)
{
	return noErr;
}

OSStatus auPlugin::StopNote(MusicDeviceGroupID, NoteInstanceID, UInt32)
{
	return noErr;
}

OSStatus auPlugin::Render(AudioUnitRenderActionFlags&, const AudioTimeStamp& timeStamp, UInt32 frames)
{
	AudioBufferList& buffers = GetOutput(0)->PrepareBuffer(frames);
	float* outputs[2] = {
		buffers.mNumberBuffers >= 1 && buffers.mBuffers[0].mDataByteSize != 0
			? static_cast<float*>(buffers.mBuffers[0].mData)
			: nullptr,
		buffers.mNumberBuffers >= 2 && buffers.mBuffers[1].mDataByteSize != 0
			? static_cast<float*>(buffers.mBuffers[1].mData)
			: nullptr};
	m_plugin->process(outputs, frames);
	// MIDI sent while the block rendered went out with the previous block's time.
	m_lastTimeStamp.store(timeStamp);
	return noErr;
}

OSStatus auPlugin::HandleMidiEvent(UInt8 status, UInt8 channel, UInt8 data1, UInt8 data2, UInt32 startFrame)
{
	if (!IsInitialized())
		return kAudioUnitErr_Uninitialized;
	zentlib::SMidiEvent event;
	event.status = static_cast<uint8_t>(status | channel);
	event.data1 = data1;
	event.data2 = data2;
	event.sampleOffset = startFrame;
	m_plugin->addMidiEvent(event);
	return noErr;
}

OSStatus auPlugin::HandleSysEx(const UInt8* data, UInt32 length)
{
	if (length == 0)
		return noErr;
	zentlib::SMidiEvent event;
	event.sysex.assign(data, data + length);
	m_plugin->addMidiEvent(event);
	return noErr;
}
