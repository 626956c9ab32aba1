#pragma once

#include <AudioUnit/AUComponent.h>

#ifdef __cplusplus
extern "C" {
#endif

typedef AudioComponentInstance MusicDeviceComponent;
typedef UInt32 MusicDeviceInstrumentID;
typedef UInt32 MusicDeviceGroupID;
typedef UInt32 NoteInstanceID;

enum
{
	kMusicNoteEvent_UseGroupInstrument = 0xFFFFFFFF,
	kMusicNoteEvent_Unused = 0xFFFFFFFF
};

enum
{
	kMusicDeviceSampleFrameMask_SampleOffset = 0xFFFFFF,
	kMusicDeviceSampleFrameMask_IsScheduled = 0x01000000
};

struct NoteParamsControlValue
{
	AudioUnitParameterID mID;
	AudioUnitParameterValue mValue;
};
typedef struct NoteParamsControlValue NoteParamsControlValue;

// argCount = 2 + the number of controls.
struct MusicDeviceNoteParams
{
	UInt32 argCount;
	Float32 mPitch;
	Float32 mVelocity;
	NoteParamsControlValue mControls[1];
};
typedef struct MusicDeviceNoteParams MusicDeviceNoteParams;

enum
{
	kMusicDeviceRange = 0x0100,
	kMusicDeviceMIDIEventSelect = 0x0101,
	kMusicDeviceSysExSelect = 0x0102,
	kMusicDevicePrepareInstrumentSelect = 0x0103,
	kMusicDeviceReleaseInstrumentSelect = 0x0104,
	kMusicDeviceStartNoteSelect = 0x0105,
	kMusicDeviceStopNoteSelect = 0x0106
};

enum
{
	kMusicDeviceProperty_InstrumentCount = 1000,
	kMusicDeviceProperty_MIDIXMLNames = 1006
};

OSStatus MusicDeviceMIDIEvent(MusicDeviceComponent inUnit, UInt32 inStatus, UInt32 inData1, UInt32 inData2,
	UInt32 inOffsetSampleFrame);
OSStatus MusicDeviceSysEx(MusicDeviceComponent inUnit, const UInt8* inData, UInt32 inLength);
OSStatus MusicDeviceStartNote(MusicDeviceComponent inUnit, MusicDeviceInstrumentID inInstrument,
	MusicDeviceGroupID inGroupID, NoteInstanceID* outNoteInstanceID, UInt32 inOffsetSampleFrame,
	const MusicDeviceNoteParams* inParams);
OSStatus MusicDeviceStopNote(MusicDeviceComponent inUnit, MusicDeviceGroupID inGroupID, NoteInstanceID inNoteInstanceID,
	UInt32 inOffsetSampleFrame);

#ifdef __cplusplus
}
#endif
