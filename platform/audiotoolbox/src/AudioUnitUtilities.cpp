#include <AudioToolbox/AudioUnitUtilities.h>
#include <CoreFoundation/CFStandIn.h>

#include <algorithm>
#include <chrono>
#include <memory>
#include <mutex>
#include <vector>

namespace
{
struct Registration
{
	void* object;
	AudioUnitEvent event;
};

struct ListenerState
{
	AUEventListenerProc proc;
	void* refCon;
	CFRunLoopRef runLoop;
	std::vector<Registration> registrations;
	bool alive = true;
};

std::mutex g_mutex;
std::vector<std::shared_ptr<ListenerState>> g_listeners;

bool sameTarget(const AudioUnitEvent& registered, const AudioUnitEvent& sent)
{
	if (registered.mEventType != sent.mEventType)
		return false;
	if (sent.mEventType == kAudioUnitEvent_PropertyChange)
	{
		const AudioUnitProperty& a = registered.mArgument.mProperty;
		const AudioUnitProperty& b = sent.mArgument.mProperty;
		return a.mAudioUnit == b.mAudioUnit && a.mPropertyID == b.mPropertyID && a.mScope == b.mScope &&
			   a.mElement == b.mElement;
	}
	const AudioUnitParameter& a = registered.mArgument.mParameter;
	const AudioUnitParameter& b = sent.mArgument.mParameter;
	return a.mAudioUnit == b.mAudioUnit && a.mScope == b.mScope && a.mElement == b.mElement &&
		   (a.mParameterID == kAUParameterListener_AnyParameter || a.mParameterID == b.mParameterID);
}

UInt64 hostTime()
{
	return UInt64(std::chrono::duration_cast<std::chrono::nanoseconds>(
		std::chrono::steady_clock::now().time_since_epoch()).count());
}
}

struct AUListenerBase
{
	std::shared_ptr<ListenerState> state;
};

OSStatus AUEventListenerCreate(AUEventListenerProc inProc, void* inCallbackRefCon, CFRunLoopRef inRunLoop, CFStringRef,
	Float32, Float32, AUEventListenerRef* outListener)
{
	if (!inProc || !outListener)
		return kAudio_ParamError;
	auto state = std::make_shared<ListenerState>();
	state->proc = inProc;
	state->refCon = inCallbackRefCon;
	state->runLoop = inRunLoop ? inRunLoop : CFRunLoopGetCurrent();
	{
		std::lock_guard<std::mutex> lock(g_mutex);
		g_listeners.push_back(state);
	}
	*outListener = new AUListenerBase{state};
	return noErr;
}

OSStatus AUEventListenerAddEventType(AUEventListenerRef inListener, void* inObject, const AudioUnitEvent* inEvent)
{
	if (!inListener || !inEvent)
		return kAudio_ParamError;
	std::lock_guard<std::mutex> lock(g_mutex);
	inListener->state->registrations.push_back({inObject, *inEvent});
	return noErr;
}

OSStatus AUEventListenerRemoveEventType(AUEventListenerRef inListener, void* inObject, const AudioUnitEvent* inEvent)
{
	if (!inListener || !inEvent)
		return kAudio_ParamError;
	std::lock_guard<std::mutex> lock(g_mutex);
	auto& r = inListener->state->registrations;
	r.erase(std::remove_if(r.begin(), r.end(),
				[&](const Registration& x) {
					return x.object == inObject && sameTarget(x.event, *inEvent) && sameTarget(*inEvent, x.event);
				}),
		r.end());
	return noErr;
}

OSStatus AUListenerDispose(AUParameterListenerRef inListener)
{
	if (!inListener)
		return kAudio_ParamError;
	{
		std::lock_guard<std::mutex> lock(g_mutex);
		inListener->state->alive = false; // events already queued for it are dropped
		g_listeners.erase(std::remove(g_listeners.begin(), g_listeners.end(), inListener->state), g_listeners.end());
	}
	delete inListener;
	return noErr;
}

OSStatus AUEventListenerNotify(AUEventListenerRef inSendingListener, void*, const AudioUnitEvent* inEvent)
{
	if (!inEvent)
		return kAudio_ParamError;
	const AudioUnitEvent event = *inEvent;
	const UInt64 time = hostTime();
	std::lock_guard<std::mutex> lock(g_mutex);
	for (const auto& state : g_listeners)
	{
		if (inSendingListener && inSendingListener->state == state)
			continue;
		for (const Registration& r : state->registrations)
		{
			if (!sameTarget(r.event, event))
				continue;
			void* object = r.object;
			cf::performOnRunLoop(state->runLoop, [state, object, event, time] {
				{
					std::lock_guard<std::mutex> aliveLock(g_mutex);
					if (!state->alive)
						return;
				}
				AudioUnitParameterValue value = 0;
				if (event.mEventType == kAudioUnitEvent_ParameterValueChange)
				{
					const AudioUnitParameter& p = event.mArgument.mParameter;
					AudioUnitGetParameter(p.mAudioUnit, p.mParameterID, p.mScope, p.mElement, &value);
				}
				state->proc(state->refCon, object, &event, time, value);
			});
			break; // one delivery per listener and event
		}
	}
	return noErr;
}
