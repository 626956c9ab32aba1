#pragma once

#include <AudioUnit/AudioUnit.h>
#include <CoreFoundation/CoreFoundation.h>

#ifdef __cplusplus
extern "C" {
#endif

typedef struct AUListenerBase* AUEventListenerRef;
typedef AUEventListenerRef AUParameterListenerRef;

typedef UInt32 AudioUnitEventType;
enum
{
	kAudioUnitEvent_ParameterValueChange = 0,
	kAudioUnitEvent_BeginParameterChangeGesture = 1,
	kAudioUnitEvent_EndParameterChangeGesture = 2,
	kAudioUnitEvent_PropertyChange = 3
};

enum
{
	kAUParameterListener_AnyParameter = 0xFFFFFFFF
};

struct AudioUnitEvent
{
	AudioUnitEventType mEventType;
	union
	{
		AudioUnitParameter mParameter;
		AudioUnitProperty mProperty;
	} mArgument;
};
typedef struct AudioUnitEvent AudioUnitEvent;

typedef void (*AUEventListenerProc)(void* inCallbackRefCon, void* inObject, const AudioUnitEvent* inEvent,
	UInt64 inEventHostTime, AudioUnitParameterValue inParameterValue);

// Events reach the listener on its run loop (the creating thread's when NULL), in the order they were sent,
// whenever that loop runs. Interval and granularity are accepted; every event is delivered.
OSStatus AUEventListenerCreate(AUEventListenerProc inProc, void* inCallbackRefCon, CFRunLoopRef inRunLoop,
	CFStringRef inRunLoopMode, Float32 inNotificationInterval, Float32 inValueChangeGranularity,
	AUEventListenerRef* outListener);
OSStatus AUEventListenerAddEventType(AUEventListenerRef inListener, void* inObject, const AudioUnitEvent* inEvent);
OSStatus AUEventListenerRemoveEventType(AUEventListenerRef inListener, void* inObject, const AudioUnitEvent* inEvent);
OSStatus AUListenerDispose(AUParameterListenerRef inListener);
// Queues the event to every listener registered for it, except the sender. A value change is delivered with the
// parameter's value as the listener's thread reads it back from the unit.
OSStatus AUEventListenerNotify(AUEventListenerRef inSendingListener, void* inSendingObject, const AudioUnitEvent* inEvent);

#ifdef __cplusplus
}
#endif
