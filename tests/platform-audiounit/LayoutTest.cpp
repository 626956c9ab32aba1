#include "AUPlugInDispatch.h"

#include <AudioUnit/AudioUnit.h>
#include <CoreServices/Components.h>

#include <gtest/gtest.h>

#include <cstddef>
#include <type_traits>

// Hosts and plug-ins meet in these layouts and values; a difference here breaks every call between them.
TEST(Layout, StatusIsExactlyIntSoThrownCodesAreCaughtAsStatus)
{
	static_assert(std::is_same_v<OSStatus, int>);
	OSStatus caught = 0;
	try
	{
		throw static_cast<OSStatus>(kAudioUnitErr_InvalidElement);
	}
	catch (OSStatus e)
	{
		caught = e;
	}
	EXPECT_EQ(caught, -10877);
}

TEST(Layout, CoreAudioStructures)
{
	EXPECT_EQ(sizeof(AudioStreamBasicDescription), 40u);
	EXPECT_EQ(sizeof(AudioBuffer), 16u);
	EXPECT_EQ(offsetof(AudioBufferList, mBuffers), 8u);
	EXPECT_EQ(sizeof(AudioBufferList), 24u);
	EXPECT_EQ(sizeof(SMPTETime), 24u);
	EXPECT_EQ(sizeof(AudioTimeStamp), 64u);
	EXPECT_EQ(offsetof(AudioTimeStamp, mHostTime), 8u);
	EXPECT_EQ(offsetof(AudioTimeStamp, mRateScalar), 16u);
	EXPECT_EQ(offsetof(AudioTimeStamp, mWordClockTime), 24u);
	EXPECT_EQ(offsetof(AudioTimeStamp, mSMPTETime), 32u);
	EXPECT_EQ(offsetof(AudioTimeStamp, mFlags), 56u);
	EXPECT_EQ(offsetof(AudioTimeStamp, mReserved), 60u);
	EXPECT_EQ(kAudioFormatFlagsAudioUnitCanonical, 0x29u);
	EXPECT_EQ(kAudioFormatLinearPCM, 0x6C70636Du);
	EXPECT_EQ(kAudioUnitType_MusicDevice, 0x61756D75u);
}

TEST(Layout, AudioUnitStructures)
{
	EXPECT_EQ(sizeof(AudioComponentDescription), 20u);
	EXPECT_EQ(sizeof(AudioComponentPlugInInterface), 32u);
	EXPECT_EQ(offsetof(AudioComponentPlugInInstance, mInstanceStorage), 64u);
	EXPECT_EQ(sizeof(AudioUnitParameterInfo), 104u);
	EXPECT_EQ(offsetof(AudioUnitParameterInfo, unitName), 56u);
	EXPECT_EQ(offsetof(AudioUnitParameterInfo, clumpID), 64u);
	EXPECT_EQ(offsetof(AudioUnitParameterInfo, cfNameString), 72u);
	EXPECT_EQ(offsetof(AudioUnitParameterInfo, unit), 80u);
	EXPECT_EQ(offsetof(AudioUnitParameterInfo, minValue), 84u);
	EXPECT_EQ(offsetof(AudioUnitParameterInfo, flags), 96u);
	EXPECT_EQ(sizeof(AUPreset), 16u);
	EXPECT_EQ(offsetof(AUPreset, presetName), 8u);
	EXPECT_EQ(sizeof(AudioUnitCocoaViewInfo), 16u);
	EXPECT_EQ(sizeof(AudioUnitParameterStringFromValue), 24u);
	EXPECT_EQ(sizeof(AudioUnitParameterNameInfo), 16u);
	EXPECT_EQ(sizeof(AUMIDIOutputCallbackStruct), 16u);
	EXPECT_EQ(sizeof(AudioUnitConnection), 16u);
	EXPECT_EQ(sizeof(AURenderCallbackStruct), 16u);
	EXPECT_EQ(sizeof(AudioUnitParameter), 24u);
	EXPECT_EQ(sizeof(AudioUnitProperty), 24u);
	EXPECT_EQ(sizeof(AudioUnitParameterEvent), 32u);
	EXPECT_EQ(sizeof(AUChannelInfo), 4u);
	EXPECT_EQ(offsetof(ComponentParameters, params), 8u);
	EXPECT_EQ(kAudioUnitParameterFlag_IsReadable | kAudioUnitParameterFlag_IsWritable |
				  kAudioUnitParameterFlag_HasCFNameString | kAudioUnitParameterFlag_ValuesHaveStrings |
				  kAudioUnitParameterFlag_CFNameRelease,
		0xC8200010u);
}
