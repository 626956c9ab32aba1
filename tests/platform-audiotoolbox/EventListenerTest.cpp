#include "UnitFixture.h"

#include <AudioToolbox/AudioUnitUtilities.h>

#include <thread>

namespace
{
struct Received
{
	void* object;
	AudioUnitEvent event;
	AudioUnitParameterValue value;
};

void record(void* refCon, void* object, const AudioUnitEvent* event, UInt64, AudioUnitParameterValue value)
{
	static_cast<std::vector<Received>*>(refCon)->push_back({object, *event, value});
}

AudioUnitEvent parameterEvent(AudioUnit unit, AudioUnitEventType type, AudioUnitParameterID id)
{
	AudioUnitEvent e{};
	e.mEventType = type;
	e.mArgument.mParameter = {unit, id, kAudioUnitScope_Global, 0};
	return e;
}

void runMainLoop()
{
	while (CFRunLoopRunInMode(kCFRunLoopDefaultMode, 0, true) == kCFRunLoopRunHandledSource)
	{
	}
}
}

class EventListenerTest : public UnitFixture
{
protected:
	void SetUp() override
	{
		UnitFixture::SetUp();
		ASSERT_EQ(AUEventListenerCreate(record, &m_received, CFRunLoopGetMain(), kCFRunLoopDefaultMode, 0.1f, 0.1f, &m_listener), noErr);
	}
	void TearDown() override
	{
		AUListenerDispose(m_listener);
		UnitFixture::TearDown();
	}
	AUEventListenerRef m_listener = nullptr;
	std::vector<Received> m_received;
};

TEST_F(EventListenerTest, RegisteredEventsArriveOnTheListenersLoopInOrderWithTheValueReadBack)
{
	int object = 0;
	for (AudioUnitEventType type : {kAudioUnitEvent_BeginParameterChangeGesture, kAudioUnitEvent_ParameterValueChange,
			 kAudioUnitEvent_EndParameterChangeGesture})
	{
		AudioUnitEvent e = parameterEvent(m_unit, type, 0);
		AUEventListenerAddEventType(m_listener, &object, &e);
	}
	AudioUnitSetParameter(m_unit, 0, kAudioUnitScope_Global, 0, 0.75f, 0);
	for (AudioUnitEventType type : {kAudioUnitEvent_BeginParameterChangeGesture, kAudioUnitEvent_ParameterValueChange,
			 kAudioUnitEvent_EndParameterChangeGesture})
	{
		AudioUnitEvent e = parameterEvent(m_unit, type, 0);
		EXPECT_EQ(AUEventListenerNotify(nullptr, nullptr, &e), noErr);
	}
	AudioUnitEvent unrelated = parameterEvent(m_unit, kAudioUnitEvent_ParameterValueChange, 1);
	AUEventListenerNotify(nullptr, nullptr, &unrelated);
	EXPECT_TRUE(m_received.empty()); // nothing arrives before the loop runs
	runMainLoop();
	ASSERT_EQ(m_received.size(), 3u);
	EXPECT_EQ(m_received[0].event.mEventType, UInt32(kAudioUnitEvent_BeginParameterChangeGesture));
	EXPECT_EQ(m_received[1].event.mEventType, UInt32(kAudioUnitEvent_ParameterValueChange));
	EXPECT_EQ(m_received[1].value, 0.75f);
	EXPECT_EQ(m_received[1].object, &object);
	EXPECT_EQ(m_received[2].event.mEventType, UInt32(kAudioUnitEvent_EndParameterChangeGesture));
}

TEST_F(EventListenerTest, AnyParameterMatchesAllAndTheSenderHearsNothingOfItsOwn)
{
	AudioUnitEvent any = parameterEvent(m_unit, kAudioUnitEvent_ParameterValueChange, kAUParameterListener_AnyParameter);
	AUEventListenerAddEventType(m_listener, nullptr, &any);
	AudioUnitEvent e = parameterEvent(m_unit, kAudioUnitEvent_ParameterValueChange, 1);
	AUEventListenerNotify(m_listener, nullptr, &e);
	runMainLoop();
	EXPECT_TRUE(m_received.empty());
	AUEventListenerNotify(nullptr, nullptr, &e);
	runMainLoop();
	ASSERT_EQ(m_received.size(), 1u);
	EXPECT_EQ(m_received[0].event.mArgument.mParameter.mParameterID, 1u);
}

TEST_F(EventListenerTest, NotificationsFromTheRenderThreadReachTheMainLoop)
{
	AudioUnitEvent any = parameterEvent(m_unit, kAudioUnitEvent_ParameterValueChange, kAUParameterListener_AnyParameter);
	AUEventListenerAddEventType(m_listener, nullptr, &any);
	ASSERT_EQ(AudioUnitInitialize(m_unit), noErr);
	ASSERT_EQ(MusicDeviceMIDIEvent(m_unit, 0xB0, 7, 127, 0), noErr); // the instrument announces its new gain
	std::thread renderer([this] {
		std::vector<float> l, r;
		render(64, l, r);
	});
	renderer.join();
	runMainLoop();
	ASSERT_EQ(m_received.size(), 1u);
	EXPECT_EQ(m_received[0].value, 1.f);
}

TEST_F(EventListenerTest, EventsQueuedForADisposedListenerAreDropped)
{
	std::vector<Received> other;
	AUEventListenerRef second = nullptr;
	AUEventListenerCreate(record, &other, nullptr, kCFRunLoopDefaultMode, 0, 0, &second);
	AudioUnitEvent e = parameterEvent(m_unit, kAudioUnitEvent_BeginParameterChangeGesture, 0);
	AUEventListenerAddEventType(second, nullptr, &e);
	AUEventListenerNotify(nullptr, nullptr, &e);
	AUListenerDispose(second);
	runMainLoop();
	EXPECT_TRUE(other.empty());
}
