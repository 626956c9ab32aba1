#pragma once

#include "MusicDeviceBase.h"

// The instrument base: Part elements, canonical-format checks and a render that hands out silent buffers.
// Instruments with their own voices override Render and the MIDI handlers.
class AUInstrumentBase : public MusicDeviceBase
{
public:
	AUInstrumentBase(AudioComponentInstance inInstance, UInt32 numInputs, UInt32 numOutputs, UInt32 numGroups = 16,
		UInt32 numParts = 1);
	~AUInstrumentBase() override;

	OSStatus Initialize() override;
	void Cleanup() override;
	OSStatus Reset(AudioUnitScope inScope, AudioUnitElement inElement) override;
	bool ValidFormat(AudioUnitScope inScope, AudioUnitElement inElement, const CAStreamBasicDescription& inNewFormat) override;
	bool StreamFormatWritable(AudioUnitScope scope, AudioUnitElement element) override;
	bool CanScheduleParameters() const override { return false; }
	OSStatus Render(AudioUnitRenderActionFlags& ioActionFlags, const AudioTimeStamp& inTimeStamp, UInt32 inNumberFrames) override;
	OSStatus StartNote(MusicDeviceInstrumentID inInstrument, MusicDeviceGroupID inGroupID, NoteInstanceID* outNoteInstanceID,
		UInt32 inOffsetSampleFrame, const MusicDeviceNoteParams& inParams) override;
	OSStatus StopNote(MusicDeviceGroupID inGroupID, NoteInstanceID inNoteInstanceID, UInt32 inOffsetSampleFrame) override;

	void CreateExtendedElements() override;
	AUScope* GetScopeExtended(AudioUnitScope inScope) override;
	AUScope& Parts() { return mPartScope; }

protected:
	UInt32 mNumParts;
	AUScope mPartScope;
	NoteInstanceID mNoteIDCounter = 128;
	UInt64 mAbsoluteSampleFrame = 0;
};
