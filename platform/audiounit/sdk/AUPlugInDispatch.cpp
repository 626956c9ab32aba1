#include "AUPlugInDispatch.h"

#include "MusicDeviceBase.h"

#include <cstring>
#include <vector>

namespace
{
AUBase* base(void* self)
{
	return static_cast<AUBase*>(static_cast<void*>(&static_cast<AudioComponentPlugInInstance*>(self)->mInstanceStorage));
}

MusicDeviceBase* music(void* self)
{
	return static_cast<MusicDeviceBase*>(base(self));
}

// A member's status, or the status for whatever it threw.
template <class Body> OSStatus guarded(Body body)
{
	OSStatus result = noErr;
	try
	{
		result = body();
	}
	COMPONENT_CATCH
	return result;
}

// The argument checks below are shared by the plug-in interface's methods and the component entry point.

OSStatus getPropertyInfo(AUBase* au, AudioUnitPropertyID inID, AudioUnitScope inScope, AudioUnitElement inElement,
	UInt32* outDataSize, Boolean* outWritable)
{
	UInt32 dataSize = 0;
	Boolean writable = false;
	const OSStatus result = au->DispatchGetPropertyInfo(inID, inScope, inElement, dataSize, writable);
	if (outDataSize)
		*outDataSize = dataSize;
	if (outWritable)
		*outWritable = writable;
	return result;
}

OSStatus getProperty(AUBase* au, AudioUnitPropertyID inID, AudioUnitScope inScope, AudioUnitElement inElement,
	void* outData, UInt32* ioDataSize)
{
	if (!ioDataSize)
		return kAudio_ParamError;
	UInt32 actualSize = 0;
	Boolean writable = false;
	const UInt32 clientSize = *ioDataSize;
	OSStatus result = au->DispatchGetPropertyInfo(inID, inScope, inElement, actualSize, writable);
	if (result != noErr)
		return result;
	if (!outData)
	{
		*ioDataSize = actualSize;
		return noErr;
	}
	if (clientSize == 0)
		return kAudio_ParamError;
	// A smaller client buffer gets a truncated copy of the whole value.
	std::vector<UInt8> temp;
	void* dest = outData;
	if (clientSize < actualSize)
	{
		temp.assign(actualSize, 0);
		dest = temp.data();
	}
	result = au->DispatchGetProperty(inID, inScope, inElement, dest);
	if (result == noErr)
	{
		if (clientSize < actualSize)
			std::memcpy(outData, temp.data(), clientSize);
		else
			*ioDataSize = actualSize;
	}
	else
		*ioDataSize = 0;
	return result;
}

OSStatus setProperty(AUBase* au, AudioUnitPropertyID inID, AudioUnitScope inScope, AudioUnitElement inElement,
	const void* inData, UInt32 inDataSize)
{
	if (!inData && inDataSize == 0)
		return au->DispatchRemovePropertyValue(inID, inScope, inElement);
	if (!inData || inDataSize == 0)
		return kAudio_ParamError;
	return au->DispatchSetProperty(inID, inScope, inElement, inData, inDataSize);
}

OSStatus getParameter(AUBase* au, AudioUnitParameterID param, AudioUnitScope scope, AudioUnitElement elem,
	AudioUnitParameterValue* value)
{
	return value ? au->GetParameter(param, scope, elem, *value) : OSStatus(kAudio_ParamError);
}

OSStatus render(AUBase* au, AudioUnitRenderActionFlags* ioActionFlags, const AudioTimeStamp* inTimeStamp,
	UInt32 inOutputBusNumber, UInt32 inNumberFrames, AudioBufferList* ioData)
{
	if (!inTimeStamp || !ioData)
		return kAudio_ParamError;
	AudioUnitRenderActionFlags localFlags = 0;
	return au->DoRender(ioActionFlags ? *ioActionFlags : localFlags, *inTimeStamp, inOutputBusNumber, inNumberFrames,
		*ioData);
}

OSStatus startNote(MusicDeviceBase* device, MusicDeviceInstrumentID inInstrument, MusicDeviceGroupID inGroupID,
	NoteInstanceID* outNoteInstanceID, UInt32 inOffsetSampleFrame, const MusicDeviceNoteParams* inParams)
{
	if (!inParams || !outNoteInstanceID)
		return kAudio_ParamError;
	return device->StartNote(inInstrument, inGroupID, outNoteInstanceID, inOffsetSampleFrame, *inParams);
}

OSStatus AUMethodInitialize(void* self)
{
	return guarded([&] { return base(self)->DoInitialize(); });
}

OSStatus AUMethodUninitialize(void* self)
{
	return guarded([&] {
		base(self)->DoCleanup();
		return OSStatus(noErr);
	});
}

OSStatus AUMethodGetPropertyInfo(void* self, AudioUnitPropertyID prop, AudioUnitScope scope, AudioUnitElement elem,
	UInt32* outDataSize, Boolean* outWritable)
{
	return guarded([&] { return getPropertyInfo(base(self), prop, scope, elem, outDataSize, outWritable); });
}

OSStatus AUMethodGetProperty(void* self, AudioUnitPropertyID inID, AudioUnitScope inScope, AudioUnitElement inElement,
	void* outData, UInt32* ioDataSize)
{
	return guarded([&] { return getProperty(base(self), inID, inScope, inElement, outData, ioDataSize); });
}

OSStatus AUMethodSetProperty(void* self, AudioUnitPropertyID inID, AudioUnitScope inScope, AudioUnitElement inElement,
	const void* inData, UInt32 inDataSize)
{
	return guarded([&] { return setProperty(base(self), inID, inScope, inElement, inData, inDataSize); });
}

OSStatus AUMethodAddPropertyListener(void* self, AudioUnitPropertyID prop, AudioUnitPropertyListenerProc proc, void* userData)
{
	return guarded([&] { return base(self)->AddPropertyListener(prop, proc, userData); });
}

OSStatus AUMethodRemovePropertyListener(void* self, AudioUnitPropertyID prop, AudioUnitPropertyListenerProc proc)
{
	return guarded([&] { return base(self)->RemovePropertyListener(prop, proc, nullptr, false); });
}

OSStatus AUMethodRemovePropertyListenerWithUserData(void* self, AudioUnitPropertyID prop, AudioUnitPropertyListenerProc proc,
	void* userData)
{
	return guarded([&] { return base(self)->RemovePropertyListener(prop, proc, userData, true); });
}

OSStatus AUMethodAddRenderNotify(void* self, AURenderCallback proc, void* userData)
{
	return guarded([&] { return base(self)->SetRenderNotification(proc, userData); });
}

OSStatus AUMethodRemoveRenderNotify(void* self, AURenderCallback proc, void* userData)
{
	return guarded([&] { return base(self)->RemoveRenderNotification(proc, userData); });
}

OSStatus AUMethodGetParameter(void* self, AudioUnitParameterID param, AudioUnitScope scope, AudioUnitElement elem,
	AudioUnitParameterValue* value)
{
	return guarded([&] { return getParameter(base(self), param, scope, elem, value); });
}

OSStatus AUMethodSetParameter(void* self, AudioUnitParameterID param, AudioUnitScope scope, AudioUnitElement elem,
	AudioUnitParameterValue value, UInt32 bufferOffset)
{
	return guarded([&] { return base(self)->SetParameter(param, scope, elem, value, bufferOffset); });
}

OSStatus AUMethodScheduleParameters(void* self, const AudioUnitParameterEvent* events, UInt32 numEvents)
{
	return guarded([&] {
		return events || numEvents == 0 ? base(self)->ScheduleParameter(events, numEvents) : OSStatus(kAudio_ParamError);
	});
}

OSStatus AUMethodRender(void* self, AudioUnitRenderActionFlags* ioActionFlags, const AudioTimeStamp* inTimeStamp,
	UInt32 inOutputBusNumber, UInt32 inNumberFrames, AudioBufferList* ioData)
{
	return guarded(
		[&] { return render(base(self), ioActionFlags, inTimeStamp, inOutputBusNumber, inNumberFrames, ioData); });
}

OSStatus AUMethodReset(void* self, AudioUnitScope scope, AudioUnitElement elem)
{
	return guarded([&] { return base(self)->Reset(scope, elem); });
}

OSStatus AUMethodMIDIEvent(void* self, UInt32 inStatus, UInt32 inData1, UInt32 inData2, UInt32 inOffsetSampleFrame)
{
	return guarded([&] { return music(self)->MIDIEvent(inStatus, inData1, inData2, inOffsetSampleFrame); });
}

OSStatus AUMethodSysEx(void* self, const UInt8* inData, UInt32 inLength)
{
	return guarded([&] { return music(self)->SysEx(inData, inLength); });
}

OSStatus AUMethodPrepareInstrument(void* self, MusicDeviceInstrumentID inInstrument)
{
	return guarded([&] { return music(self)->PrepareInstrument(inInstrument); });
}

OSStatus AUMethodReleaseInstrument(void* self, MusicDeviceInstrumentID inInstrument)
{
	return guarded([&] { return music(self)->ReleaseInstrument(inInstrument); });
}

OSStatus AUMethodStartNote(void* self, MusicDeviceInstrumentID inInstrument, MusicDeviceGroupID inGroupID,
	NoteInstanceID* outNoteInstanceID, UInt32 inOffsetSampleFrame, const MusicDeviceNoteParams* inParams)
{
	return guarded(
		[&] { return startNote(music(self), inInstrument, inGroupID, outNoteInstanceID, inOffsetSampleFrame, inParams); });
}

OSStatus AUMethodStopNote(void* self, MusicDeviceGroupID inGroupID, NoteInstanceID inNoteInstanceID, UInt32 inOffsetSampleFrame)
{
	return guarded([&] { return music(self)->StopNote(inGroupID, inNoteInstanceID, inOffsetSampleFrame); });
}

template <class T> T* ptr(ComponentParameters* p, int index)
{
	return reinterpret_cast<T*>(p->params[index + 1]);
}

UInt32 u32(ComponentParameters* p, int index)
{
	return UInt32(p->params[index + 1]);
}

Float32 f32(ComponentParameters* p, int index)
{
	// A Float32 argument travels as its bit pattern in the low 32 bits of its slot.
	const UInt32 bits = UInt32(p->params[index + 1]);
	Float32 f;
	std::memcpy(&f, &bits, sizeof f);
	return f;
}
}

AudioComponentMethod AUBaseLookup::Lookup(SInt16 selector)
{
	switch (selector)
	{
	case kAudioUnitInitializeSelect: return (AudioComponentMethod)AUMethodInitialize;
	case kAudioUnitUninitializeSelect: return (AudioComponentMethod)AUMethodUninitialize;
	case kAudioUnitGetPropertyInfoSelect: return (AudioComponentMethod)AUMethodGetPropertyInfo;
	case kAudioUnitGetPropertySelect: return (AudioComponentMethod)AUMethodGetProperty;
	case kAudioUnitSetPropertySelect: return (AudioComponentMethod)AUMethodSetProperty;
	case kAudioUnitAddPropertyListenerSelect: return (AudioComponentMethod)AUMethodAddPropertyListener;
	case kAudioUnitRemovePropertyListenerSelect: return (AudioComponentMethod)AUMethodRemovePropertyListener;
	case kAudioUnitRemovePropertyListenerWithUserDataSelect:
		return (AudioComponentMethod)AUMethodRemovePropertyListenerWithUserData;
	case kAudioUnitAddRenderNotifySelect: return (AudioComponentMethod)AUMethodAddRenderNotify;
	case kAudioUnitRemoveRenderNotifySelect: return (AudioComponentMethod)AUMethodRemoveRenderNotify;
	case kAudioUnitGetParameterSelect: return (AudioComponentMethod)AUMethodGetParameter;
	case kAudioUnitSetParameterSelect: return (AudioComponentMethod)AUMethodSetParameter;
	case kAudioUnitScheduleParametersSelect: return (AudioComponentMethod)AUMethodScheduleParameters;
	case kAudioUnitRenderSelect: return (AudioComponentMethod)AUMethodRender;
	case kAudioUnitResetSelect: return (AudioComponentMethod)AUMethodReset;
	default: return nullptr;
	}
}

AudioComponentMethod AUMusicLookup::Lookup(SInt16 selector)
{
	if (AudioComponentMethod method = AUBaseLookup::Lookup(selector))
		return method;
	switch (selector)
	{
	case kMusicDeviceStartNoteSelect: return (AudioComponentMethod)AUMethodStartNote;
	case kMusicDeviceStopNoteSelect: return (AudioComponentMethod)AUMethodStopNote;
	case kMusicDevicePrepareInstrumentSelect: return (AudioComponentMethod)AUMethodPrepareInstrument;
	case kMusicDeviceReleaseInstrumentSelect: return (AudioComponentMethod)AUMethodReleaseInstrument;
	case kMusicDeviceMIDIEventSelect: return (AudioComponentMethod)AUMethodMIDIEvent;
	case kMusicDeviceSysExSelect: return (AudioComponentMethod)AUMethodSysEx;
	default: return nullptr;
	}
}

OSStatus AUBase::ComponentEntryDispatch(ComponentParameters* p, AUBase* This)
{
	if (!This)
		return badComponentInstance;
	OSStatus result = noErr;
	try
	{
		switch (p->what)
		{
		case kAudioUnitInitializeSelect:
			result = This->DoInitialize();
			break;
		case kAudioUnitUninitializeSelect:
			This->DoCleanup();
			break;
		case kAudioUnitGetPropertyInfoSelect:
			result = getPropertyInfo(This, u32(p, 0), u32(p, 1), u32(p, 2), ptr<UInt32>(p, 3), ptr<Boolean>(p, 4));
			break;
		case kAudioUnitGetPropertySelect:
			result = getProperty(This, u32(p, 0), u32(p, 1), u32(p, 2), ptr<void>(p, 3), ptr<UInt32>(p, 4));
			break;
		case kAudioUnitSetPropertySelect:
			result = setProperty(This, u32(p, 0), u32(p, 1), u32(p, 2), ptr<const void>(p, 3), u32(p, 4));
			break;
		case kAudioUnitGetParameterSelect:
			result = getParameter(This, u32(p, 0), u32(p, 1), u32(p, 2), ptr<AudioUnitParameterValue>(p, 3));
			break;
		case kAudioUnitSetParameterSelect:
			result = This->SetParameter(u32(p, 0), u32(p, 1), u32(p, 2), f32(p, 3), u32(p, 4));
			break;
		case kAudioUnitRenderSelect:
			result = render(This, ptr<AudioUnitRenderActionFlags>(p, 0), ptr<const AudioTimeStamp>(p, 1), u32(p, 2),
				u32(p, 3), ptr<AudioBufferList>(p, 4));
			break;
		case kAudioUnitAddPropertyListenerSelect:
			result = This->AddPropertyListener(u32(p, 0), reinterpret_cast<AudioUnitPropertyListenerProc>(p->params[2]),
				ptr<void>(p, 2));
			break;
		case kAudioUnitRemovePropertyListenerSelect:
			result = This->RemovePropertyListener(u32(p, 0), reinterpret_cast<AudioUnitPropertyListenerProc>(p->params[2]),
				nullptr, false);
			break;
		case kAudioUnitRemovePropertyListenerWithUserDataSelect:
			result = This->RemovePropertyListener(u32(p, 0), reinterpret_cast<AudioUnitPropertyListenerProc>(p->params[2]),
				ptr<void>(p, 2), true);
			break;
		case kAudioUnitAddRenderNotifySelect:
			result = This->SetRenderNotification(reinterpret_cast<AURenderCallback>(p->params[1]), ptr<void>(p, 1));
			break;
		case kAudioUnitRemoveRenderNotifySelect:
			result = This->RemoveRenderNotification(reinterpret_cast<AURenderCallback>(p->params[1]), ptr<void>(p, 1));
			break;
		case kAudioUnitScheduleParametersSelect:
			result = This->ScheduleParameter(ptr<const AudioUnitParameterEvent>(p, 0), u32(p, 1));
			break;
		case kAudioUnitResetSelect:
			result = This->Reset(u32(p, 0), u32(p, 1));
			break;
		default:
			result = ComponentBase::ComponentEntryDispatch(p, This);
			break;
		}
	}
	COMPONENT_CATCH
	return result;
}

OSStatus MusicDeviceBase::ComponentEntryDispatch(ComponentParameters* p, MusicDeviceBase* This)
{
	if (!This)
		return badComponentInstance;
	OSStatus result = noErr;
	try
	{
		switch (p->what)
		{
		case kMusicDeviceMIDIEventSelect:
			result = This->MIDIEvent(u32(p, 0), u32(p, 1), u32(p, 2), u32(p, 3));
			break;
		case kMusicDeviceSysExSelect:
			result = This->SysEx(ptr<const UInt8>(p, 0), u32(p, 1));
			break;
		case kMusicDevicePrepareInstrumentSelect:
			result = This->PrepareInstrument(u32(p, 0));
			break;
		case kMusicDeviceReleaseInstrumentSelect:
			result = This->ReleaseInstrument(u32(p, 0));
			break;
		case kMusicDeviceStartNoteSelect:
			result = startNote(This, u32(p, 0), u32(p, 1), ptr<NoteInstanceID>(p, 2), u32(p, 3),
				ptr<const MusicDeviceNoteParams>(p, 4));
			break;
		case kMusicDeviceStopNoteSelect:
			result = This->StopNote(u32(p, 0), u32(p, 1), u32(p, 2));
			break;
		default:
			result = AUBase::ComponentEntryDispatch(p, This);
			break;
		}
	}
	COMPONENT_CATCH
	return result;
}
