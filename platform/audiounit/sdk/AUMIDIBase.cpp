#include "AUMIDIBase.h"

#include <CoreMIDI/MIDIServices.h>

AUMIDIBase::AUMIDIBase(AUBase* inBase) : mAUBaseInstance(*inBase) {}

AUMIDIBase::~AUMIDIBase() = default;

OSStatus AUMIDIBase::MIDIEvent(UInt32 inStatus, UInt32 inData1, UInt32 inData2, UInt32 inOffsetSampleFrame)
{
	return HandleMidiEvent(UInt8(inStatus & 0xF0), UInt8(inStatus & 0x0F), UInt8(inData1), UInt8(inData2), inOffsetSampleFrame);
}

OSStatus AUMIDIBase::SysEx(const UInt8* inData, UInt32 inLength)
{
	if (!mAUBaseInstance.IsInitialized())
		return kAudioUnitErr_Uninitialized;
	return HandleSysEx(inData, inLength);
}

OSStatus AUMIDIBase::DelegateGetPropertyInfo(AudioUnitPropertyID inID, AudioUnitScope inScope, AudioUnitElement,
	UInt32& outDataSize, Boolean& outWritable)
{
	if (inID != kMusicDeviceProperty_MIDIXMLNames)
		return kAudioUnitErr_InvalidProperty;
	if (inScope != kAudioUnitScope_Global)
		return kAudioUnitErr_InvalidScope;
	CFURLRef url = nullptr;
	const OSStatus result = GetXMLNames(&url);
	if (url)
		CFRelease(url);
	if (result != noErr)
		return kAudioUnitErr_InvalidProperty;
	outDataSize = sizeof(CFURLRef);
	outWritable = false;
	return noErr;
}

OSStatus AUMIDIBase::DelegateGetProperty(AudioUnitPropertyID inID, AudioUnitScope inScope, AudioUnitElement, void* outData)
{
	if (inID != kMusicDeviceProperty_MIDIXMLNames)
		return kAudioUnitErr_InvalidProperty;
	if (inScope != kAudioUnitScope_Global)
		return kAudioUnitErr_InvalidScope;
	return GetXMLNames(static_cast<CFURLRef*>(outData));
}

OSStatus AUMIDIBase::GetXMLNames(CFURLRef*)
{
	return kAudioUnitErr_InvalidProperty;
}

OSStatus AUMIDIBase::HandleMidiEvent(UInt8 status, UInt8 channel, UInt8 data1, UInt8 data2, UInt32 inStartFrame)
{
	if (!mAUBaseInstance.IsInitialized())
		return kAudioUnitErr_Uninitialized;
	switch (status)
	{
	case 0x90:
		if (data2 == 0)
			return HandleNoteOff(channel, data1, data2, inStartFrame);
		return HandleNoteOn(channel, data1, data2, inStartFrame);
	case 0x80:
		return HandleNoteOff(channel, data1, data2, inStartFrame);
	default:
		return HandleNonNoteEvent(status, channel, data1, data2, inStartFrame);
	}
}

OSStatus AUMIDIBase::HandleNonNoteEvent(UInt8 status, UInt8 channel, UInt8 data1, UInt8 data2, UInt32 inStartFrame)
{
	switch (status)
	{
	case 0xB0:
		switch (data1)
		{
		case 120: return HandleAllSoundOff(channel);
		case 121: return HandleResetAllControllers(channel);
		case 123: return HandleAllNotesOff(channel);
		default: return HandleControlChange(channel, data1, data2, inStartFrame);
		}
	case 0xC0: return HandleProgramChange(channel, data1);
	case 0xD0: return HandleChannelPressure(channel, data1, inStartFrame);
	case 0xE0: return HandlePitchWheel(channel, data1, data2, inStartFrame);
	case 0xA0: return HandlePolyPressure(channel, data1, data2, inStartFrame);
	default: return noErr;
	}
}

OSStatus AUMIDIBase::HandleNoteOn(UInt8, UInt8, UInt8, UInt32)
{
	return noErr;
}

OSStatus AUMIDIBase::HandleNoteOff(UInt8, UInt8, UInt8, UInt32)
{
	return noErr;
}

OSStatus AUMIDIBase::HandleControlChange(UInt8, UInt8, UInt8, UInt32)
{
	return noErr;
}

OSStatus AUMIDIBase::HandlePitchWheel(UInt8, UInt8, UInt8, UInt32)
{
	return noErr;
}

OSStatus AUMIDIBase::HandleChannelPressure(UInt8, UInt8, UInt32)
{
	return noErr;
}

OSStatus AUMIDIBase::HandleProgramChange(UInt8, UInt8)
{
	return noErr;
}

OSStatus AUMIDIBase::HandlePolyPressure(UInt8, UInt8, UInt8, UInt32)
{
	return noErr;
}

OSStatus AUMIDIBase::HandleResetAllControllers(UInt8)
{
	return noErr;
}

OSStatus AUMIDIBase::HandleAllNotesOff(UInt8)
{
	return noErr;
}

OSStatus AUMIDIBase::HandleAllSoundOff(UInt8)
{
	return noErr;
}

OSStatus AUMIDIBase::HandleSysEx(const UInt8*, UInt32)
{
	return noErr;
}

OSStatus AUMIDIBase::HandleMIDIPacketList(const MIDIPacketList* pktlist)
{
	if (!mAUBaseInstance.IsInitialized())
		return kAudioUnitErr_Uninitialized;
	const MIDIPacket* packet = &pktlist->packet[0];
	for (UInt32 i = 0; i < pktlist->numPackets; ++i, packet = MIDIPacketNext(packet))
	{
		const Byte* p = packet->data;
		const Byte* end = p + packet->length;
		const UInt32 startFrame = UInt32(packet->timeStamp);
		while (p < end)
		{
			const Byte status = *p;
			if (status == 0xF0)
			{
				const Byte* q = p + 1;
				while (q < end && *q != 0xF7)
					++q;
				const Byte* stop = q < end ? q + 1 : end;
				HandleSysEx(p, UInt32(stop - p));
				p = stop;
				continue;
			}
			if (status < 0x80 || status >= 0xF0)
			{
				++p; // stray data or system messages carry nothing for an instrument
				continue;
			}
			const int size = (status & 0xF0) == 0xC0 || (status & 0xF0) == 0xD0 ? 2 : 3;
			if (end - p < size)
				break;
			HandleMidiEvent(status & 0xF0, status & 0x0F, p[1], size == 3 ? p[2] : 0, startFrame);
			p += size;
		}
	}
	return noErr;
}
