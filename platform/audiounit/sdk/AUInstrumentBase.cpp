#include "AUInstrumentBase.h"

#include <cstring>

AUInstrumentBase::AUInstrumentBase(AudioComponentInstance inInstance, UInt32 numInputs, UInt32 numOutputs, UInt32 numGroups,
	UInt32 numParts)
	: MusicDeviceBase(inInstance, numInputs, numOutputs, numGroups), mNumParts(numParts)
{
}

AUInstrumentBase::~AUInstrumentBase() = default;

void AUInstrumentBase::CreateExtendedElements()
{
	mPartScope.Initialize(this, kAudioUnitScope_Part, mNumParts);
}

AUScope* AUInstrumentBase::GetScopeExtended(AudioUnitScope inScope)
{
	return inScope == kAudioUnitScope_Part ? &mPartScope : nullptr;
}

OSStatus AUInstrumentBase::Initialize()
{
	mNoteIDCounter = 128;
	mAbsoluteSampleFrame = 0;
	return noErr;
}

void AUInstrumentBase::Cleanup() {}

OSStatus AUInstrumentBase::Reset(AudioUnitScope inScope, AudioUnitElement inElement)
{
	if (inScope == kAudioUnitScope_Global)
		mAbsoluteSampleFrame = 0; // no voices of its own to stop
	return AUBase::Reset(inScope, inElement);
}

bool AUInstrumentBase::ValidFormat(AudioUnitScope inScope, AudioUnitElement inElement, const CAStreamBasicDescription& inNewFormat)
{
	if (SupportedNumChannels(nullptr) != 0)
		return FormatIsCanonical(inNewFormat);
	// Without a channel table the channel count may not change.
	return FormatIsCanonical(inNewFormat) &&
		   inNewFormat.NumberChannels() == GetStreamFormat(inScope, inElement).NumberChannels();
}

bool AUInstrumentBase::StreamFormatWritable(AudioUnitScope, AudioUnitElement)
{
	return !IsInitialized();
}

OSStatus AUInstrumentBase::Render(AudioUnitRenderActionFlags& ioActionFlags, const AudioTimeStamp&, UInt32 inNumberFrames)
{
	for (UInt32 i = 0; i < Outputs().GetNumberOfElements(); ++i)
	{
		AudioBufferList& abl = GetOutput(i)->PrepareBuffer(inNumberFrames);
		for (UInt32 b = 0; b < abl.mNumberBuffers; ++b)
			if (abl.mBuffers[b].mData)
				std::memset(abl.mBuffers[b].mData, 0, abl.mBuffers[b].mDataByteSize);
	}
	ioActionFlags |= kAudioUnitRenderAction_OutputIsSilence;
	mAbsoluteSampleFrame += inNumberFrames;
	return noErr;
}

OSStatus AUInstrumentBase::StartNote(MusicDeviceInstrumentID, MusicDeviceGroupID, NoteInstanceID* outNoteInstanceID, UInt32,
	const MusicDeviceNoteParams&)
{
	if (outNoteInstanceID)
		*outNoteInstanceID = mNoteIDCounter++;
	return noErr;
}

OSStatus AUInstrumentBase::StopNote(MusicDeviceGroupID, NoteInstanceID, UInt32)
{
	return noErr;
}
