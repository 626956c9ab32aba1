#pragma once

#include "TestInstrument.h"

#include <AudioUnit/AudioUnit.h>
#include <CoreFoundation/CFStandIn.h>

#include <gtest/gtest.h>

#include <vector>

extern "C" AudioComponentPlugInInterface* auPluginFactory(const AudioComponentDescription* desc);

// The test instrument registered as a component and opened the way a host opens it.
class UnitFixture : public ::testing::Test
{
protected:
	static AudioComponent component()
	{
		static AudioComponent comp = [] {
			AudioComponentDescription desc = {kAudioUnitType_MusicDevice, TestInstrument::kSubType,
				TestInstrument::kManufacturer, 0, 0};
			return AudioComponentRegister(&desc, CFSTR("Venz: Virel Test"), 0x10000, auPluginFactory);
		}();
		return comp;
	}

	void SetUp() override
	{
		component();
		m_liveObjects = cf::liveObjectCount(); // the registered component keeps its name for good
		ASSERT_EQ(AudioComponentInstanceNew(component(), &m_unit), noErr);
	}
	void TearDown() override
	{
		if (m_unit)
		{
			EXPECT_EQ(AudioComponentInstanceDispose(m_unit), noErr);
		}
		EXPECT_EQ(cf::liveObjectCount(), m_liveObjects);
	}

	// Renders one slice into two buffers of its own, advancing the sample time.
	OSStatus render(UInt32 frames, std::vector<float>& left, std::vector<float>& right)
	{
		left.assign(frames, 0.f);
		right.assign(frames, 0.f);
		std::vector<UInt8> storage(offsetof(AudioBufferList, mBuffers) + 2 * sizeof(AudioBuffer));
		auto* abl = reinterpret_cast<AudioBufferList*>(storage.data());
		abl->mNumberBuffers = 2;
		abl->mBuffers[0] = {1, frames * 4, left.data()};
		abl->mBuffers[1] = {1, frames * 4, right.data()};
		AudioTimeStamp ts{};
		ts.mSampleTime = m_sampleTime;
		ts.mFlags = kAudioTimeStampSampleTimeValid;
		m_sampleTime += frames;
		AudioUnitRenderActionFlags flags = 0;
		return AudioUnitRender(m_unit, &flags, &ts, 0, frames, abl);
	}

	AudioUnit m_unit = nullptr;
	Float64 m_sampleTime = 0;
	long m_liveObjects = 0;
};
