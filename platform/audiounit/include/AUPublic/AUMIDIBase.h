#pragma once

#include "AUBase.h"

struct MIDIPacketList;

// MIDI handling shared by instruments and effects: splits messages into the Handle* calls.
class AUMIDIBase
{
public:
	explicit AUMIDIBase(AUBase* inBase);
	virtual ~AUMIDIBase();

	virtual OSStatus MIDIEvent(UInt32 inStatus, UInt32 inData1, UInt32 inData2, UInt32 inOffsetSampleFrame);
	virtual OSStatus SysEx(const UInt8* inData, UInt32 inLength);

	// Property 1006 when GetXMLNames succeeds.
	virtual OSStatus DelegateGetPropertyInfo(AudioUnitPropertyID inID, AudioUnitScope inScope, AudioUnitElement inElement,
		UInt32& outDataSize, Boolean& outWritable);
	virtual OSStatus DelegateGetProperty(AudioUnitPropertyID inID, AudioUnitScope inScope, AudioUnitElement inElement, void* outData);
	virtual OSStatus GetXMLNames(CFURLRef* outNameDocument);

	// Each event of each packet, with the packet's time stamp as its start frame.
	OSStatus HandleMIDIPacketList(const MIDIPacketList* pktlist);

protected:
	virtual OSStatus HandleMidiEvent(UInt8 inStatus, UInt8 inChannel, UInt8 inData1, UInt8 inData2, UInt32 inStartFrame);
	virtual OSStatus HandleNonNoteEvent(UInt8 status, UInt8 channel, UInt8 data1, UInt8 data2, UInt32 inStartFrame);
	virtual OSStatus HandleNoteOn(UInt8 inChannel, UInt8 inNoteNumber, UInt8 inVelocity, UInt32 inStartFrame);
	virtual OSStatus HandleNoteOff(UInt8 inChannel, UInt8 inNoteNumber, UInt8 inVelocity, UInt32 inStartFrame);
	virtual OSStatus HandleControlChange(UInt8 inChannel, UInt8 inController, UInt8 inValue, UInt32 inStartFrame);
	virtual OSStatus HandlePitchWheel(UInt8 inChannel, UInt8 inPitch1, UInt8 inPitch2, UInt32 inStartFrame);
	virtual OSStatus HandleChannelPressure(UInt8 inChannel, UInt8 inValue, UInt32 inStartFrame);
	virtual OSStatus HandleProgramChange(UInt8 inChannel, UInt8 inValue);
	virtual OSStatus HandlePolyPressure(UInt8 inChannel, UInt8 inKey, UInt8 inValue, UInt32 inStartFrame);
	virtual OSStatus HandleResetAllControllers(UInt8 inChannel);
	virtual OSStatus HandleAllNotesOff(UInt8 inChannel);
	virtual OSStatus HandleAllSoundOff(UInt8 inChannel);
	virtual OSStatus HandleSysEx(const UInt8* inData, UInt32 inLength);

private:
	AUBase& mAUBaseInstance;
};
