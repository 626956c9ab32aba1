#pragma once

#include <CoreAudio/CoreAudioTypes.h>

#include <cstring>

// An AudioStreamBasicDescription with the helpers the base classes and instruments use.
class CAStreamBasicDescription : public AudioStreamBasicDescription
{
public:
	CAStreamBasicDescription() { std::memset(static_cast<AudioStreamBasicDescription*>(this), 0, sizeof(AudioStreamBasicDescription)); }
	CAStreamBasicDescription(const AudioStreamBasicDescription& desc) { SetFrom(desc); }

	void SetFrom(const AudioStreamBasicDescription& desc)
	{
		std::memcpy(static_cast<AudioStreamBasicDescription*>(this), &desc, sizeof(AudioStreamBasicDescription));
	}

	bool IsPCM() const { return mFormatID == kAudioFormatLinearPCM; }
	bool IsInterleaved() const { return !(mFormatFlags & kAudioFormatFlagIsNonInterleaved); }
	UInt32 NumberChannels() const { return mChannelsPerFrame; }
	UInt32 NumberInterleavedChannels() const { return IsInterleaved() ? mChannelsPerFrame : 1; }
	UInt32 NumberChannelStreams() const { return IsInterleaved() ? 1 : mChannelsPerFrame; }

	// 32-bit native float linear PCM; the sample rate is left as it is.
	void SetAUCanonical(UInt32 nChannels, bool interleaved)
	{
		mFormatID = kAudioFormatLinearPCM;
		mFormatFlags = kAudioFormatFlagsCanonical | (interleaved ? 0u : UInt32(kAudioFormatFlagIsNonInterleaved));
		mChannelsPerFrame = nChannels;
		mFramesPerPacket = 1;
		mBitsPerChannel = 32;
		mBytesPerFrame = mBytesPerPacket = (interleaved ? nChannels : 1) * sizeof(Float32);
		mReserved = 0;
	}
	void SetCanonical(UInt32 nChannels, bool interleaved) { SetAUCanonical(nChannels, interleaved); }

	// Compares everything but mReserved; with wildcards a zero field on either side matches anything.
	bool IsEqual(const AudioStreamBasicDescription& other, bool interpretingWildcards = true) const
	{
		auto same = [&](double a, double b) { return a == b || (interpretingWildcards && (a == 0 || b == 0)); };
		return same(mSampleRate, other.mSampleRate) && same(mFormatID, other.mFormatID) &&
			   same(mFormatFlags, other.mFormatFlags) && same(mBytesPerPacket, other.mBytesPerPacket) &&
			   same(mFramesPerPacket, other.mFramesPerPacket) && same(mBytesPerFrame, other.mBytesPerFrame) &&
			   same(mChannelsPerFrame, other.mChannelsPerFrame) && same(mBitsPerChannel, other.mBitsPerChannel);
	}
	bool operator==(const AudioStreamBasicDescription& other) const { return IsEqual(other, false); }
	// Two descriptions compare here: with the one above alone, C++20 could take it either way round (each side
	// converted to the base), and neither is better.
	bool operator==(const CAStreamBasicDescription& other) const { return IsEqual(other, false); }
};
