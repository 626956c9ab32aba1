#pragma once

#include "AUMIDIBase.h"

#include <AudioUnit/MusicDevice.h>

class MusicDeviceBase : public AUBase, public AUMIDIBase
{
public:
	MusicDeviceBase(AudioComponentInstance inInstance, UInt32 numInputs, UInt32 numOutputs, UInt32 numGroups = 0);

	// Straight to HandleMidiEvent: no initialisation check at this level.
	OSStatus MIDIEvent(UInt32 inStatus, UInt32 inData1, UInt32 inData2, UInt32 inOffsetSampleFrame) override;
	// Refused with kAudioUnitErr_Uninitialized before initialisation.
	OSStatus SysEx(const UInt8* inData, UInt32 inLength) override;

	OSStatus GetPropertyInfo(AudioUnitPropertyID inID, AudioUnitScope inScope, AudioUnitElement inElement,
		UInt32& outDataSize, Boolean& outWritable) override;
	OSStatus GetProperty(AudioUnitPropertyID inID, AudioUnitScope inScope, AudioUnitElement inElement, void* outData) override;

	virtual OSStatus GetInstrumentCount(UInt32& outInstCount) const;
	virtual OSStatus PrepareInstrument(MusicDeviceInstrumentID inInstrument);
	virtual OSStatus ReleaseInstrument(MusicDeviceInstrumentID inInstrument);
	virtual OSStatus StartNote(MusicDeviceInstrumentID inInstrument, MusicDeviceGroupID inGroupID,
		NoteInstanceID* outNoteInstanceID, UInt32 inOffsetSampleFrame, const MusicDeviceNoteParams& inParams);
	virtual OSStatus StopNote(MusicDeviceGroupID inGroupID, NoteInstanceID inNoteInstanceID, UInt32 inOffsetSampleFrame);

	static OSStatus ComponentEntryDispatch(ComponentParameters* params, MusicDeviceBase* This);

protected:
	OSStatus HandleNoteOn(UInt8 inChannel, UInt8 inNoteNumber, UInt8 inVelocity, UInt32 inStartFrame) override;
	OSStatus HandleNoteOff(UInt8 inChannel, UInt8 inNoteNumber, UInt8 inVelocity, UInt32 inStartFrame) override;
};
