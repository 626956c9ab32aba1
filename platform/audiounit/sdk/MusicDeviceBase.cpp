#include "MusicDeviceBase.h"

MusicDeviceBase::MusicDeviceBase(AudioComponentInstance inInstance, UInt32 numInputs, UInt32 numOutputs, UInt32 numGroups)
	: AUBase(inInstance, numInputs, numOutputs, numGroups), AUMIDIBase(this)
{
}

OSStatus MusicDeviceBase::MIDIEvent(UInt32 inStatus, UInt32 inData1, UInt32 inData2, UInt32 inOffsetSampleFrame)
{
	return AUMIDIBase::MIDIEvent(inStatus, inData1, inData2, inOffsetSampleFrame);
}

OSStatus MusicDeviceBase::SysEx(const UInt8* inData, UInt32 inLength)
{
	return AUMIDIBase::SysEx(inData, inLength);
}

OSStatus MusicDeviceBase::GetPropertyInfo(AudioUnitPropertyID inID, AudioUnitScope inScope, AudioUnitElement inElement,
	UInt32& outDataSize, Boolean& outWritable)
{
	if (inID == kMusicDeviceProperty_InstrumentCount)
	{
		if (inScope != kAudioUnitScope_Global)
			return kAudioUnitErr_InvalidScope;
		outDataSize = sizeof(UInt32);
		outWritable = false;
		return noErr;
	}
	OSStatus result = AUBase::GetPropertyInfo(inID, inScope, inElement, outDataSize, outWritable);
	if (result == kAudioUnitErr_InvalidProperty)
		result = AUMIDIBase::DelegateGetPropertyInfo(inID, inScope, inElement, outDataSize, outWritable);
	return result;
}

OSStatus MusicDeviceBase::GetProperty(AudioUnitPropertyID inID, AudioUnitScope inScope, AudioUnitElement inElement, void* outData)
{
	if (inID == kMusicDeviceProperty_InstrumentCount)
	{
		if (inScope != kAudioUnitScope_Global)
			return kAudioUnitErr_InvalidScope;
		UInt32 count = 0;
		const OSStatus result = GetInstrumentCount(count);
		*static_cast<UInt32*>(outData) = count;
		return result;
	}
	OSStatus result = AUBase::GetProperty(inID, inScope, inElement, outData);
	if (result == kAudioUnitErr_InvalidProperty)
		result = AUMIDIBase::DelegateGetProperty(inID, inScope, inElement, outData);
	return result;
}

OSStatus MusicDeviceBase::GetInstrumentCount(UInt32& outInstCount) const
{
	outInstCount = 0;
	return noErr;
}

OSStatus MusicDeviceBase::PrepareInstrument(MusicDeviceInstrumentID)
{
	return noErr;
}

OSStatus MusicDeviceBase::ReleaseInstrument(MusicDeviceInstrumentID)
{
	return noErr;
}

OSStatus MusicDeviceBase::StartNote(MusicDeviceInstrumentID, MusicDeviceGroupID, NoteInstanceID*, UInt32,
	const MusicDeviceNoteParams&)
{
	return kAudio_UnimplementedError;
}

OSStatus MusicDeviceBase::StopNote(MusicDeviceGroupID, NoteInstanceID, UInt32)
{
	return kAudio_UnimplementedError;
}

OSStatus MusicDeviceBase::HandleNoteOn(UInt8 inChannel, UInt8 inNoteNumber, UInt8 inVelocity, UInt32 inStartFrame)
{
	MusicDeviceNoteParams params{};
	params.argCount = 2;
	params.mPitch = inNoteNumber;
	params.mVelocity = inVelocity;
	NoteInstanceID id = 0;
	return StartNote(kMusicNoteEvent_UseGroupInstrument, inChannel, &id, inStartFrame, params);
}

OSStatus MusicDeviceBase::HandleNoteOff(UInt8 inChannel, UInt8 inNoteNumber, UInt8, UInt32 inStartFrame)
{
	return StopNote(inChannel, inNoteNumber, inStartFrame);
}
