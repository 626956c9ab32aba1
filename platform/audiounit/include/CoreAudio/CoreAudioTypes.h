#pragma once

#include <MacTypes.h>

#ifdef __cplusplus
extern "C" {
#endif

enum
{
	kAudio_UnimplementedError = -4,
	kAudio_FileNotFoundError = -43,
	kAudio_ParamError = -50,
	kAudio_MemFullError = -108
};

typedef Float32 AudioSampleType;
typedef Float32 AudioUnitSampleType;

struct AudioStreamBasicDescription
{
	Float64 mSampleRate;
	UInt32 mFormatID;
	UInt32 mFormatFlags;
	UInt32 mBytesPerPacket;
	UInt32 mFramesPerPacket;
	UInt32 mBytesPerFrame;
	UInt32 mChannelsPerFrame;
	UInt32 mBitsPerChannel;
	UInt32 mReserved;
};
typedef struct AudioStreamBasicDescription AudioStreamBasicDescription;

enum
{
	kAudioFormatLinearPCM = 0x6C70636D // 'lpcm'
};

enum
{
	kAudioFormatFlagIsFloat = (1U << 0),
	kAudioFormatFlagIsBigEndian = (1U << 1),
	kAudioFormatFlagIsSignedInteger = (1U << 2),
	kAudioFormatFlagIsPacked = (1U << 3),
	kAudioFormatFlagIsAlignedHigh = (1U << 4),
	kAudioFormatFlagIsNonInterleaved = (1U << 5),
	kAudioFormatFlagIsNonMixable = (1U << 6),
	kAudioFormatFlagsAreAllClear = 0x80000000,

	kLinearPCMFormatFlagIsFloat = kAudioFormatFlagIsFloat,
	kLinearPCMFormatFlagIsBigEndian = kAudioFormatFlagIsBigEndian,
	kLinearPCMFormatFlagIsSignedInteger = kAudioFormatFlagIsSignedInteger,
	kLinearPCMFormatFlagIsPacked = kAudioFormatFlagIsPacked,
	kLinearPCMFormatFlagIsAlignedHigh = kAudioFormatFlagIsAlignedHigh,
	kLinearPCMFormatFlagIsNonInterleaved = kAudioFormatFlagIsNonInterleaved,
	kLinearPCMFormatFlagIsNonMixable = kAudioFormatFlagIsNonMixable,
	kLinearPCMFormatFlagsSampleFractionShift = 7,
	kLinearPCMFormatFlagsSampleFractionMask = (0x3F << kLinearPCMFormatFlagsSampleFractionShift),
	kLinearPCMFormatFlagsAreAllClear = kAudioFormatFlagsAreAllClear,

	kAudioFormatFlagsNativeEndian = 0,
	kAudioFormatFlagsCanonical = kAudioFormatFlagIsFloat | kAudioFormatFlagsNativeEndian | kAudioFormatFlagIsPacked,
	kAudioFormatFlagsAudioUnitCanonical = kAudioFormatFlagsCanonical | kAudioFormatFlagIsNonInterleaved,
	kAudioFormatFlagsNativeFloatPacked = kAudioFormatFlagIsFloat | kAudioFormatFlagsNativeEndian | kAudioFormatFlagIsPacked
};

struct AudioBuffer
{
	UInt32 mNumberChannels;
	UInt32 mDataByteSize;
	void* mData;
};
typedef struct AudioBuffer AudioBuffer;

// Variable length: allocate offsetof(AudioBufferList, mBuffers) + n * sizeof(AudioBuffer).
struct AudioBufferList
{
	UInt32 mNumberBuffers;
	AudioBuffer mBuffers[1];
};
typedef struct AudioBufferList AudioBufferList;

struct SMPTETime
{
	SInt16 mSubframes;
	SInt16 mSubframeDivisor;
	UInt32 mCounter;
	UInt32 mType;
	UInt32 mFlags;
	SInt16 mHours;
	SInt16 mMinutes;
	SInt16 mSeconds;
	SInt16 mFrames;
};
typedef struct SMPTETime SMPTETime;

struct AudioTimeStamp
{
	Float64 mSampleTime;
	UInt64 mHostTime;
	Float64 mRateScalar;
	UInt64 mWordClockTime;
	SMPTETime mSMPTETime;
	UInt32 mFlags;
	UInt32 mReserved;
};
typedef struct AudioTimeStamp AudioTimeStamp;

enum
{
	kAudioTimeStampSampleTimeValid = (1U << 0),
	kAudioTimeStampHostTimeValid = (1U << 1),
	kAudioTimeStampRateScalarValid = (1U << 2),
	kAudioTimeStampWordClockTimeValid = (1U << 3),
	kAudioTimeStampSMPTETimeValid = (1U << 4),
	kAudioTimeStampSampleHostTimeValid = kAudioTimeStampSampleTimeValid | kAudioTimeStampHostTimeValid
};

#ifdef __cplusplus
}
#endif
