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

OSStatus AUMethodInitialize(void* self)
{
	OSStatus result = noErr;
	try
	{
		result = base(self)->DoInitialize();
	}
	COMPONENT_CATCH
	return result;
}

OSStatus AUMethodUninitialize(void* self)
{
	OSStatus result = noErr;
	try
	{
		base(self)->DoCleanup();
	}
	COMPONENT_CATCH
	return result;
}

OSStatus AUMethodGetPropertyInfo(void* self, AudioUnitPropertyID prop, AudioUnitScope scope, AudioUnitElement elem,
	UInt32* outDataSize, Boolean* outWritable)
{
	OSStatus result = noErr;
	try
	{
		UInt32 dataSize = 0;
		Boolean writable = false;
		result = base(self)->DispatchGetPropertyInfo(prop, scope, elem, dataSize, writable);
		if (outDataSize)
			*outDataSize = dataSize;
		if (outWritable)
			*outWritable = writable;
	}
	COMPONENT_CATCH
	return result;
}

OSStatus AUMethodGetProperty(void* self, AudioUnitPropertyID inID, AudioUnitScope inScope, AudioUnitElement inElement,
	void* outData, UInt32* ioDataSize)
{
	OSStatus result = noErr;
	try
	{
		if (!ioDataSize)
			return kAudio_ParamError;
		UInt32 actualSize = 0;
		Boolean writable = false;
		const UInt32 clientSize = *ioDataSize;
		result = base(self)->DispatchGetPropertyInfo(inID, inScope, inElement, actualSize, writable);
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
		result = base(self)->DispatchGetProperty(inID, inScope, inElement, dest);
		if (result == noErr)
		{
			if (clientSize < actualSize)
				std::memcpy(outData, temp.data(), clientSize);
			else
				*ioDataSize = actualSize;
		}
		else
			*ioDataSize = 0;
	}
	COMPONENT_CATCH
	return result;
}

OSStatus AUMethodSetProperty(void* self, AudioUnitPropertyID inID, AudioUnitScope inScope, AudioUnitElement inElement,
	const void* inData, UInt32 inDataSize)
{
	OSStatus result = noErr;
	try
	{
		if (!inData && inDataSize == 0)
			result = base(self)->DispatchRemovePropertyValue(inID, inScope, inElement);
		else if (!inData || inDataSize == 0)
			result = kAudio_ParamError;
		else
			result = base(self)->DispatchSetProperty(inID, inScope, inElement, inData, inDataSize);
	}
	COMPONENT_CATCH
	return result;
}

OSStatus AUMethodAddPropertyListener(void* self, AudioUnitPropertyID prop, AudioUnitPropertyListenerProc proc, void* userData)
{
	OSStatus result = noErr;
	try
	{
		result = base(self)->AddPropertyListener(prop, proc, userData);
	}
	COMPONENT_CATCH
	return result;
}

OSStatus AUMethodRemovePropertyListener(void* self, AudioUnitPropertyID prop, AudioUnitPropertyListenerProc proc)
{
	OSStatus result = noErr;
	try
	{
		result = base(self)->RemovePropertyListener(prop, proc, nullptr, false);
	}
	COMPONENT_CATCH
	return result;
}

OSStatus AUMethodRemovePropertyListenerWithUserData(void* self, AudioUnitPropertyID prop, AudioUnitPropertyListenerProc proc,
	void* userData)
{
	OSStatus result = noErr;
	try
	{
		result = base(self)->RemovePropertyListener(prop, proc, userData, true);
	}
	COMPONENT_CATCH
	return result;
}

OSStatus AUMethodAddRenderNotify(void* self, AURenderCallback proc, void* userData)
{
	OSStatus result = noErr;
	try
	{
		result = base(self)->SetRenderNotification(proc, userData);
	}
	COMPONENT_CATCH
	return result;
}

OSStatus AUMethodRemoveRenderNotify(void* self, AURenderCallback proc, void* userData)
{
	OSStatus result = noErr;
	try
	{
		result = base(self)->RemoveRenderNotification(proc, userData);
	}
	COMPONENT_CATCH
	return result;
}

OSStatus AUMethodGetParameter(void* self, AudioUnitParameterID param, AudioUnitScope scope, AudioUnitElement elem,
	AudioUnitParameterValue* value)
{
	OSStatus result = noErr;
	try
	{
		result = value ? base(self)->GetParameter(param, scope, elem, *value) : OSStatus(kAudio_ParamError);
	}
	COMPONENT_CATCH
	return result;
}

OSStatus AUMethodSetParameter(void* self, AudioUnitParameterID param, AudioUnitScope scope, AudioUnitElement elem,
	AudioUnitParameterValue value, UInt32 bufferOffset)
{
	OSStatus result = noErr;
	try
	{
		result = base(self)->SetParameter(param, scope, elem, value, bufferOffset);
	}
	COMPONENT_CATCH
	return result;
}

OSStatus AUMethodScheduleParameters(void* self, const AudioUnitParameterEvent* events, UInt32 numEvents)
{
	OSStatus result = noErr;
	try
	{
		result = events || numEvents == 0 ? base(self)->ScheduleParameter(events, numEvents) : OSStatus(kAudio_ParamError);
	}
	COMPONENT_CATCH
	return result;
}

OSStatus AUMethodRender(void* self, AudioUnitRenderActionFlags* ioActionFlags, const AudioTimeStamp* inTimeStamp,
	UInt32 inOutputBusNumber, UInt32 inNumberFrames, AudioBufferList* ioData)
{
	OSStatus result = noErr;
	try
	{
		if (!inTimeStamp || !ioData)
			return kAudio_ParamError;
		AudioUnitRenderActionFlags localFlags = 0;
		result = base(self)->DoRender(ioActionFlags ? *ioActionFlags : localFlags, *inTimeStamp, inOutputBusNumber,
			inNumberFrames, *ioData);
	}
	COMPONENT_CATCH
	return result;
}

OSStatus AUMethodReset(void* self, AudioUnitScope scope, AudioUnitElement elem)
{
	OSStatus result = noErr;
	try
	{
		result = base(self)->Reset(scope, elem);
	}
	COMPONENT_CATCH
	return result;
}

OSStatus AUMethodMIDIEvent(void* self, UInt32 inStatus, UInt32 inData1, UInt32 inData2, UInt32 inOffsetSampleFrame)
{
	OSStatus result = noErr;
	try
	{
		result = music(self)->MIDIEvent(inStatus, inData1, inData2, inOffsetSampleFrame);
	}
	COMPONENT_CATCH
	return result;
}

OSStatus AUMethodSysEx(void* self, const UInt8* inData, UInt32 inLength)
{
	OSStatus result = noErr;
	try
	{
		result = music(self)->SysEx(inData, inLength);
	}
	COMPONENT_CATCH
	return result;
}

OSStatus AUMethodPrepareInstrument(void* self, MusicDeviceInstrumentID inInstrument)
{
	OSStatus result = noErr;
	try
	{
		result = music(self)->PrepareInstrument(inInstrument);
	}
	COMPONENT_CATCH
	return result;
}

OSStatus AUMethodReleaseInstrument(void* self, MusicDeviceInstrumentID inInstrument)
{
	OSStatus result = noErr;
	try
	{
		result = music(self)->ReleaseInstrument(inInstrument);
	}
	COMPONENT_CATCH
	return result;
}

OSStatus AUMethodStartNote(void* self, MusicDeviceInstrumentID inInstrument, MusicDeviceGroupID inGroupID,
	NoteInstanceID* outNoteInstanceID, UInt32 inOffsetSampleFrame, const MusicDeviceNoteParams* inParams)
{
	OSStatus result = noErr;
	try
	{
		if (!inParams || !outNoteInstanceID)
			return kAudio_ParamError;
		result = music(self)->StartNote(inInstrument, inGroupID, outNoteInstanceID, inOffsetSampleFrame, *inParams);
	}
	COMPONENT_CATCH
	return result;
}

OSStatus AUMethodStopNote(void* self, MusicDeviceGroupID inGroupID, NoteInstanceID inNoteInstanceID, UInt32 inOffsetSampleFrame)
{
	OSStatus result = noErr;
	try
	{
		result = music(self)->StopNote(inGroupID, inNoteInstanceID, inOffsetSampleFrame);
	}
	COMPONENT_CATCH
	return result;
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
		{
			UInt32 size = 0;
			Boolean writable = false;
			result = This->DispatchGetPropertyInfo(u32(p, 0), u32(p, 1), u32(p, 2), size, writable);
			if (UInt32* outSize = ptr<UInt32>(p, 3))
				*outSize = size;
			if (Boolean* outWritable = ptr<Boolean>(p, 4))
				*outWritable = writable;
			break;
		}
		case kAudioUnitGetPropertySelect:
		case kAudioUnitSetPropertySelect:
		case kAudioUnitGetParameterSelect:
		case kAudioUnitRenderSelect:
		case kAudioUnitAddPropertyListenerSelect:
		case kAudioUnitRemovePropertyListenerSelect:
		case kAudioUnitRemovePropertyListenerWithUserDataSelect:
		case kAudioUnitAddRenderNotifySelect:
		case kAudioUnitRemoveRenderNotifySelect:
		case kAudioUnitScheduleParametersSelect:
		case kAudioUnitResetSelect:
		case kAudioUnitSetParameterSelect:
		{
			// The same checks as the plug-in interface's method wrappers.
			switch (p->what)
			{
			case kAudioUnitGetPropertySelect:
			{
				UInt32* ioSize = ptr<UInt32>(p, 4);
				void* out = ptr<void>(p, 3);
				if (!ioSize)
					return kAudio_ParamError;
				UInt32 actual = 0;
				Boolean writable = false;
				const UInt32 client = *ioSize;
				result = This->DispatchGetPropertyInfo(u32(p, 0), u32(p, 1), u32(p, 2), actual, writable);
				if (result != noErr)
					break;
				if (!out)
				{
					*ioSize = actual;
					break;
				}
				if (client == 0)
					return kAudio_ParamError;
				std::vector<UInt8> temp(client < actual ? actual : 0);
				result = This->DispatchGetProperty(u32(p, 0), u32(p, 1), u32(p, 2), client < actual ? temp.data() : out);
				if (result == noErr && client < actual)
					std::memcpy(out, temp.data(), client);
				else if (result == noErr)
					*ioSize = actual;
				else
					*ioSize = 0;
				break;
			}
			case kAudioUnitSetPropertySelect:
			{
				const void* data = ptr<const void>(p, 3);
				const UInt32 size = u32(p, 4);
				if (!data && size == 0)
					result = This->DispatchRemovePropertyValue(u32(p, 0), u32(p, 1), u32(p, 2));
				else if (!data || size == 0)
					result = kAudio_ParamError;
				else
					result = This->DispatchSetProperty(u32(p, 0), u32(p, 1), u32(p, 2), data, size);
				break;
			}
			case kAudioUnitGetParameterSelect:
			{
				auto* out = ptr<AudioUnitParameterValue>(p, 3);
				result = out ? This->GetParameter(u32(p, 0), u32(p, 1), u32(p, 2), *out) : OSStatus(kAudio_ParamError);
				break;
			}
			case kAudioUnitSetParameterSelect:
				result = This->SetParameter(u32(p, 0), u32(p, 1), u32(p, 2), f32(p, 3), u32(p, 4));
				break;
			case kAudioUnitRenderSelect:
			{
				auto* flags = ptr<AudioUnitRenderActionFlags>(p, 0);
				auto* ts = ptr<const AudioTimeStamp>(p, 1);
				auto* abl = ptr<AudioBufferList>(p, 4);
				if (!ts || !abl)
					return kAudio_ParamError;
				AudioUnitRenderActionFlags local = 0;
				result = This->DoRender(flags ? *flags : local, *ts, u32(p, 2), u32(p, 3), *abl);
				break;
			}
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
			}
			break;
		}
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
		{
			auto* outID = ptr<NoteInstanceID>(p, 2);
			auto* params = ptr<const MusicDeviceNoteParams>(p, 4);
			if (!outID || !params)
				return kAudio_ParamError;
			result = This->StartNote(u32(p, 0), u32(p, 1), outID, u32(p, 3), *params);
			break;
		}
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
