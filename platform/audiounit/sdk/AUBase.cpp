#include "AUBase.h"

#include <algorithm>
#include <cstring>

namespace
{
// The most frames per slice a host may set. Hosts ask for a few thousand at most; a size far past that is a wrong
// value, which would otherwise be allocated in full for each output at initialisation.
constexpr UInt32 kMaxFramesPerSliceLimit = 65536;

OSStatus requireGlobal(AudioUnitScope scope)
{
	return scope == kAudioUnitScope_Global ? noErr : OSStatus(kAudioUnitErr_InvalidScope);
}

CFNumberRef makeNumber(SInt32 value)
{
	return CFNumberCreate(nullptr, kCFNumberSInt32Type, &value);
}

bool readNumber(CFDictionaryRef dict, CFStringRef key, SInt32& out)
{
	const void* value = nullptr;
	if (!CFDictionaryGetValueIfPresent(dict, key, &value) || !value || CFGetTypeID(value) != CFNumberGetTypeID())
		return false;
	return CFNumberGetValue(static_cast<CFNumberRef>(value), kCFNumberSInt32Type, &out);
}
}

AUBase::AUBase(AudioComponentInstance inInstance, UInt32 numInputElements, UInt32 numOutputElements, UInt32 numGroupElements)
	: ComponentBase(inInstance), mInitNumInputEls(numInputElements), mInitNumOutputEls(numOutputElements),
	  mInitNumGroupEls(numGroupElements)
{
	GlobalScope().Initialize(this, kAudioUnitScope_Global, 1);
	mCurrentRenderTime.mSampleTime = -1;
	mCurrentPreset.presetNumber = -1;
	mCurrentPreset.presetName = CFSTR("Untitled");
	CFRetain(mCurrentPreset.presetName);
}

AUBase::~AUBase()
{
	if (mCurrentPreset.presetName)
		CFRelease(mCurrentPreset.presetName);
	if (mContextName)
		CFRelease(mContextName);
	if (mNickName)
		CFRelease(mNickName);
}

void AUBase::PostConstructor()
{
	CreateElements();
}

void AUBase::PreDestructor()
{
	DoCleanup();
}

void AUBase::CreateElements()
{
	if (mElementsCreated)
		return;
	Inputs().Initialize(this, kAudioUnitScope_Input, mInitNumInputEls);
	Outputs().Initialize(this, kAudioUnitScope_Output, mInitNumOutputEls);
	Groups().Initialize(this, kAudioUnitScope_Group, mInitNumGroupEls);
	CreateExtendedElements();
	mElementsCreated = true;
}

AUElement* AUBase::CreateElement(AudioUnitScope scope, AudioUnitElement)
{
	switch (scope)
	{
	case kAudioUnitScope_Input: return new AUInputElement(this);
	case kAudioUnitScope_Output: return new AUOutputElement(this);
	default: return new AUElement(this);
	}
}

AUScope& AUBase::GetScope(AudioUnitScope inScope)
{
	if (inScope < 4)
		return mScopes[inScope];
	if (AUScope* extended = GetScopeExtended(inScope))
		return *extended;
	throw static_cast<OSStatus>(kAudioUnitErr_InvalidScope);
}

AUElement* AUBase::GetElement(AudioUnitScope inScope, AudioUnitElement inElement)
{
	return GetScope(inScope).SafeGetElement(inElement);
}

AUElement* AUBase::SafeGetElement(AudioUnitScope inScope, AudioUnitElement inElement)
{
	return GetElement(inScope, inElement);
}

AUIOElement* AUBase::GetIOElement(AudioUnitScope inScope, AudioUnitElement inElement)
{
	if (inScope != kAudioUnitScope_Input && inScope != kAudioUnitScope_Output)
		throw static_cast<OSStatus>(kAudioUnitErr_InvalidScope);
	return GetScope(inScope).GetIOElement(inElement);
}

AUOutputElement* AUBase::GetOutput(AudioUnitElement inElement)
{
	return static_cast<AUOutputElement*>(Outputs().GetIOElement(inElement));
}

AUInputElement* AUBase::GetInput(AudioUnitElement inElement)
{
	return static_cast<AUInputElement*>(Inputs().GetIOElement(inElement));
}

// Lifecycle ----------------------------------------------------------------------------------------------------

OSStatus AUBase::DoInitialize()
{
	if (mInitialized)
		return noErr;
	// Initialize runs before the buffers exist and before IsInitialized turns true.
	const OSStatus result = Initialize();
	if (result != noErr)
		return result;
	mHasBegunInitializing = true;
	ReallocateBuffers();
	mInitialized = true;
	return noErr;
}

void AUBase::DoCleanup()
{
	if (mInitialized)
		Cleanup();
	for (UInt32 i = 0; i < Outputs().GetNumberOfElements(); ++i)
		GetOutput(i)->DeallocateBuffer();
	mCurrentRenderTime = AudioTimeStamp{};
	mCurrentRenderTime.mSampleTime = -1;
	mInitialized = false;
	mHasBegunInitializing = false;
}

OSStatus AUBase::Initialize()
{
	return noErr;
}

void AUBase::Cleanup() {}

OSStatus AUBase::Reset(AudioUnitScope, AudioUnitElement)
{
	mCurrentRenderTime = AudioTimeStamp{};
	mCurrentRenderTime.mSampleTime = -1;
	return noErr;
}

void AUBase::ReallocateBuffers()
{
	for (UInt32 i = 0; i < Outputs().GetNumberOfElements(); ++i)
		GetOutput(i)->AllocateBuffer(mMaxFramesPerSlice);
}

void AUBase::SetMaxFramesPerSlice(UInt32 nFrames)
{
	mMaxFramesPerSlice = nFrames;
	if (mHasBegunInitializing)
		ReallocateBuffers();
	PropertyChanged(kAudioUnitProperty_MaximumFramesPerSlice, kAudioUnitScope_Global, 0);
}

OSStatus AUBase::CanSetMaxFrames() const
{
	return mInitialized ? OSStatus(kAudioUnitErr_Initialized) : noErr;
}

// Properties ---------------------------------------------------------------------------------------------------

OSStatus AUBase::DispatchGetPropertyInfo(AudioUnitPropertyID inID, AudioUnitScope inScope, AudioUnitElement inElement,
	UInt32& outDataSize, Boolean& outWritable)
{
	OSStatus result = noErr;
	bool validateElement = true;
	switch (inID)
	{
	case kAudioUnitProperty_ClassInfo:
		if ((result = requireGlobal(inScope)))
			return result;
		outDataSize = sizeof(CFPropertyListRef);
		outWritable = true;
		break;
	case kAudioUnitProperty_MakeConnection:
	case kAudioUnitProperty_SetRenderCallback:
		if (inScope != kAudioUnitScope_Input)
			return kAudioUnitErr_InvalidScope;
		outDataSize = inID == kAudioUnitProperty_MakeConnection ? sizeof(AudioUnitConnection) : sizeof(AURenderCallbackStruct);
		outWritable = true;
		break;
	case kAudioUnitProperty_SampleRate:
	case kAudioUnitProperty_StreamFormat:
		outDataSize = inID == kAudioUnitProperty_SampleRate ? sizeof(Float64) : sizeof(AudioStreamBasicDescription);
		outWritable = IsStreamFormatWritable(inScope, inElement);
		break;
	case kAudioUnitProperty_ParameterList:
	{
		UInt32 n = 0;
		result = GetParameterList(inScope, nullptr, n);
		outDataSize = n * sizeof(AudioUnitParameterID);
		outWritable = false;
		validateElement = false;
		break;
	}
	case kAudioUnitProperty_ParameterInfo:
		outDataSize = sizeof(AudioUnitParameterInfo);
		outWritable = false;
		validateElement = false; // the element carries the parameter ID
		break;
	case kAudioUnitProperty_ElementCount:
		outDataSize = sizeof(UInt32);
		outWritable = BusCountWritable(inScope);
		validateElement = false;
		GetScope(inScope);
		break;
	case kAudioUnitProperty_Latency:
		if ((result = requireGlobal(inScope)))
			return result;
		outDataSize = sizeof(Float64);
		outWritable = false;
		break;
	case kAudioUnitProperty_SupportedNumChannels:
	{
		if ((result = requireGlobal(inScope)))
			return result;
		const UInt32 n = SupportedNumChannels(nullptr);
		if (n == 0)
			return kAudioUnitErr_InvalidProperty;
		outDataSize = n * sizeof(AUChannelInfo);
		outWritable = false;
		break;
	}
	case kAudioUnitProperty_MaximumFramesPerSlice:
		if ((result = requireGlobal(inScope)))
			return result;
		outDataSize = sizeof(UInt32);
		outWritable = true;
		break;
	case kAudioUnitProperty_GetUIComponentList:
	{
		if ((result = requireGlobal(inScope)))
			return result;
		const int n = GetNumCustomUIComponents();
		if (n <= 0)
			return kAudioUnitErr_InvalidProperty;
		outDataSize = UInt32(n) * sizeof(AudioComponentDescription);
		outWritable = false;
		break;
	}
	case kAudioUnitProperty_TailTime:
		if (!SupportsTail())
			return kAudioUnitErr_InvalidProperty;
		if ((result = requireGlobal(inScope)))
			return result;
		outDataSize = sizeof(Float64);
		outWritable = false;
		break;
	case kAudioUnitProperty_LastRenderError:
		if ((result = requireGlobal(inScope)))
			return result;
		outDataSize = sizeof(OSStatus);
		outWritable = false;
		break;
	case kAudioUnitProperty_FactoryPresets:
		if ((result = requireGlobal(inScope)))
			return result;
		if ((result = GetPresets(nullptr)) != noErr)
			return result;
		outDataSize = sizeof(CFArrayRef);
		outWritable = false;
		break;
	case kAudioUnitProperty_PresentPreset:
		if ((result = requireGlobal(inScope)))
			return result;
		outDataSize = sizeof(AUPreset);
		outWritable = true;
		break;
	case kAudioUnitProperty_ContextName:
	case kAudioUnitProperty_NickName:
		if ((result = requireGlobal(inScope)))
			return result;
		outDataSize = sizeof(CFStringRef);
		outWritable = true;
		break;
	case kAudioUnitProperty_HostCallbacks:
		if ((result = requireGlobal(inScope)))
			return result;
		outDataSize = sizeof(HostCallbackInfo);
		outWritable = true;
		break;
	case kAudioUnitProperty_IconLocation:
	{
		CFURLRef icon = CopyIconLocation();
		if (!icon)
			return kAudioUnitErr_InvalidProperty;
		CFRelease(icon);
		outDataSize = sizeof(CFURLRef);
		outWritable = false;
		break;
	}
	case kAudioUnitProperty_ParameterValueStrings:
		if ((result = GetParameterValueStrings(inScope, inElement, nullptr)) != noErr)
			return result;
		outDataSize = sizeof(CFArrayRef);
		outWritable = false;
		validateElement = false;
		break;
	case kAudioUnitProperty_ParameterClumpName:
		outDataSize = sizeof(AudioUnitParameterNameInfo);
		outWritable = false;
		validateElement = false;
		break;
	case kAudioUnitProperty_LastRenderedSampleTime:
		outDataSize = sizeof(Float64);
		outWritable = false;
		break;
	default:
		result = GetPropertyInfo(inID, inScope, inElement, outDataSize, outWritable);
		validateElement = false;
		break;
	}
	if (result == noErr && validateElement)
		GetElement(inScope, inScope == kAudioUnitScope_Global ? 0 : inElement);
	return result;
}

OSStatus AUBase::DispatchGetProperty(AudioUnitPropertyID inID, AudioUnitScope inScope, AudioUnitElement inElement, void* outData)
{
	OSStatus result = noErr;
	switch (inID)
	{
	case kAudioUnitProperty_ClassInfo:
		*static_cast<CFPropertyListRef*>(outData) = nullptr;
		return SaveState(static_cast<CFPropertyListRef*>(outData));
	case kAudioUnitProperty_MakeConnection:
		*static_cast<AudioUnitConnection*>(outData) = GetInput(inElement)->GetConnection();
		return noErr;
	case kAudioUnitProperty_SetRenderCallback:
		return kAudioUnitErr_InvalidProperty;
	case kAudioUnitProperty_SampleRate:
		*static_cast<Float64*>(outData) = GetStreamFormat(inScope, inElement).mSampleRate;
		return noErr;
	case kAudioUnitProperty_StreamFormat:
		*static_cast<AudioStreamBasicDescription*>(outData) = GetStreamFormat(inScope, inElement);
		return noErr;
	case kAudioUnitProperty_ParameterList:
	{
		UInt32 n = 0;
		return GetParameterList(inScope, static_cast<AudioUnitParameterID*>(outData), n);
	}
	case kAudioUnitProperty_ParameterInfo:
		return GetParameterInfo(inScope, inElement, *static_cast<AudioUnitParameterInfo*>(outData));
	case kAudioUnitProperty_ElementCount:
		*static_cast<UInt32*>(outData) = GetScope(inScope).GetNumberOfElements();
		return noErr;
	case kAudioUnitProperty_Latency:
		*static_cast<Float64*>(outData) = GetLatency();
		return noErr;
	case kAudioUnitProperty_SupportedNumChannels:
	{
		const AUChannelInfo* info = nullptr;
		const UInt32 n = SupportedNumChannels(&info);
		if (n > 0 && info)
			std::memcpy(outData, info, n * sizeof(AUChannelInfo));
		return noErr;
	}
	case kAudioUnitProperty_MaximumFramesPerSlice:
		*static_cast<UInt32*>(outData) = mMaxFramesPerSlice;
		return noErr;
	case kAudioUnitProperty_GetUIComponentList:
		GetUIComponentDescs(static_cast<ComponentDescription*>(outData));
		return noErr;
	case kAudioUnitProperty_TailTime:
		*static_cast<Float64*>(outData) = GetTailTime();
		return noErr;
	case kAudioUnitProperty_LastRenderError:
		*static_cast<OSStatus*>(outData) = mLastRenderError;
		mLastRenderError = noErr;
		return noErr;
	case kAudioUnitProperty_FactoryPresets:
		*static_cast<CFArrayRef*>(outData) = nullptr;
		return GetPresets(static_cast<CFArrayRef*>(outData));
	case kAudioUnitProperty_PresentPreset:
	{
		auto* preset = static_cast<AUPreset*>(outData);
		*preset = mCurrentPreset;
		if (preset->presetName)
			CFRetain(preset->presetName); // the caller owns this reference
		return noErr;
	}
	case kAudioUnitProperty_ContextName:
	case kAudioUnitProperty_NickName:
	{
		CFStringRef name = inID == kAudioUnitProperty_ContextName ? mContextName : mNickName;
		*static_cast<CFStringRef*>(outData) = name ? static_cast<CFStringRef>(CFRetain(name)) : nullptr;
		return noErr;
	}
	case kAudioUnitProperty_HostCallbacks:
		std::memcpy(outData, &mHostCallbackInfo, sizeof mHostCallbackInfo);
		return noErr;
	case kAudioUnitProperty_IconLocation:
		*static_cast<CFURLRef*>(outData) = CopyIconLocation();
		return noErr;
	case kAudioUnitProperty_ParameterValueStrings:
		return GetParameterValueStrings(inScope, inElement, static_cast<CFArrayRef*>(outData));
	case kAudioUnitProperty_ParameterClumpName:
	{
		auto* info = static_cast<AudioUnitParameterNameInfo*>(outData);
		return CopyClumpName(inScope, info->inID, UInt32(std::max<SInt32>(info->inDesiredLength, 0)), &info->outName);
	}
	case kAudioUnitProperty_LastRenderedSampleTime:
		*static_cast<Float64*>(outData) = mCurrentRenderTime.mSampleTime;
		return noErr;
	default:
		result = GetProperty(inID, inScope, inElement, outData);
		break;
	}
	return result;
}

OSStatus AUBase::DispatchSetProperty(AudioUnitPropertyID inID, AudioUnitScope inScope, AudioUnitElement inElement,
	const void* inData, UInt32 inDataSize)
{
	OSStatus result = noErr;
	switch (inID)
	{
	case kAudioUnitProperty_ClassInfo:
		if (inDataSize != sizeof(CFPropertyListRef))
			return kAudioUnitErr_InvalidPropertyValue;
		if ((result = requireGlobal(inScope)))
			return result;
		return RestoreState(*static_cast<const CFPropertyListRef*>(inData));
	case kAudioUnitProperty_MakeConnection:
	{
		if (inScope != kAudioUnitScope_Input)
			return kAudioUnitErr_InvalidScope;
		if (inDataSize != sizeof(AudioUnitConnection))
			return kAudioUnitErr_InvalidPropertyValue;
		AudioUnitConnection conn = *static_cast<const AudioUnitConnection*>(inData);
		conn.destInputNumber = inElement;
		if ((result = SetConnection(conn)) == noErr)
			PropertyChanged(inID, inScope, inElement);
		return result;
	}
	case kAudioUnitProperty_SetRenderCallback:
	{
		if (inScope != kAudioUnitScope_Input)
			return kAudioUnitErr_InvalidScope;
		if (inDataSize != sizeof(AURenderCallbackStruct))
			return kAudioUnitErr_InvalidPropertyValue;
		auto* cb = static_cast<const AURenderCallbackStruct*>(inData);
		if ((result = SetInputCallback(inID, inElement, cb->inputProc, cb->inputProcRefCon)) == noErr)
			PropertyChanged(inID, inScope, inElement);
		return result;
	}
	case kAudioUnitProperty_SampleRate:
	{
		if (inDataSize != sizeof(Float64))
			return kAudioUnitErr_InvalidPropertyValue;
		CAStreamBasicDescription desc = GetStreamFormat(inScope, inElement);
		desc.mSampleRate = *static_cast<const Float64*>(inData);
		return SetStreamFormatProperty(inScope, inElement, desc);
	}
	case kAudioUnitProperty_StreamFormat:
	{
		if (inDataSize < 36)
			return kAudioUnitErr_InvalidPropertyValue;
		CAStreamBasicDescription desc;
		std::memcpy(static_cast<AudioStreamBasicDescription*>(&desc), inData, 36);
		desc.mReserved = 0;
		return SetStreamFormatProperty(inScope, inElement, desc);
	}
	case kAudioUnitProperty_MaximumFramesPerSlice:
		if ((result = requireGlobal(inScope)))
			return result;
		if (inDataSize != sizeof(UInt32))
			return kAudioUnitErr_InvalidPropertyValue;
		// No block is empty, nor without bound.
		if (*static_cast<const UInt32*>(inData) == 0 || *static_cast<const UInt32*>(inData) > kMaxFramesPerSliceLimit)
			return kAudioUnitErr_InvalidPropertyValue;
		if ((result = CanSetMaxFrames()) != noErr)
			return result;
		SetMaxFramesPerSlice(*static_cast<const UInt32*>(inData));
		return noErr;
	case kAudioUnitProperty_ElementCount:
		if (!BusCountWritable(inScope))
			return kAudioUnitErr_PropertyNotWritable;
		if (inDataSize != sizeof(UInt32))
			return kAudioUnitErr_InvalidPropertyValue;
		if ((result = SetBusCount(inScope, *static_cast<const UInt32*>(inData))) == noErr)
			PropertyChanged(inID, inScope, inElement);
		return result;
	case kAudioUnitProperty_PresentPreset:
	{
		if ((result = requireGlobal(inScope)))
			return result;
		if (inDataSize != sizeof(AUPreset))
			return kAudioUnitErr_InvalidPropertyValue;
		const AUPreset& preset = *static_cast<const AUPreset*>(inData);
		if (preset.presetNumber >= 0)
			result = NewFactoryPresetSet(preset);
		else if (preset.presetName)
			result = NewCustomPresetSet(preset);
		else
			return kAudioUnitErr_InvalidPropertyValue;
		if (result == noErr)
			PropertyChanged(inID, inScope, inElement);
		return result;
	}
	case kAudioUnitProperty_ContextName:
	case kAudioUnitProperty_NickName:
	{
		if ((result = requireGlobal(inScope)))
			return result;
		if (inDataSize != sizeof(CFStringRef))
			return kAudioUnitErr_InvalidPropertyValue;
		CFStringRef name = *static_cast<const CFStringRef*>(inData);
		if (name && CFGetTypeID(name) != CFStringGetTypeID())
			return kAudioUnitErr_InvalidPropertyValue;
		CFStringRef& slot = inID == kAudioUnitProperty_ContextName ? mContextName : mNickName;
		if (name)
			CFRetain(name);
		if (slot)
			CFRelease(slot);
		slot = name;
		PropertyChanged(inID, inScope, inElement);
		return noErr;
	}
	case kAudioUnitProperty_HostCallbacks:
		if ((result = requireGlobal(inScope)))
			return result;
		mHostCallbackInfo = HostCallbackInfo{};
		mHostCallbackInfoSize = std::min<UInt32>(inDataSize, sizeof mHostCallbackInfo);
		std::memcpy(&mHostCallbackInfo, inData, mHostCallbackInfoSize);
		PropertyChanged(inID, inScope, inElement);
		return noErr;
	case kAudioUnitProperty_ParameterList:
	case kAudioUnitProperty_ParameterInfo:
	case kAudioUnitProperty_Latency:
	case kAudioUnitProperty_SupportedNumChannels:
	case kAudioUnitProperty_GetUIComponentList:
	case kAudioUnitProperty_TailTime:
	case kAudioUnitProperty_LastRenderError:
	case kAudioUnitProperty_FactoryPresets:
	case kAudioUnitProperty_LastRenderedSampleTime:
		return kAudioUnitErr_PropertyNotWritable;
	default:
		result = SetProperty(inID, inScope, inElement, inData, inDataSize);
		if (result == noErr)
			PropertyChanged(inID, inScope, inElement);
		return result;
	}
}

OSStatus AUBase::DispatchRemovePropertyValue(AudioUnitPropertyID inID, AudioUnitScope inScope, AudioUnitElement inElement)
{
	switch (inID)
	{
	case kAudioUnitProperty_ContextName:
	case kAudioUnitProperty_NickName:
	{
		if (OSStatus result = requireGlobal(inScope))
			return result;
		CFStringRef& slot = inID == kAudioUnitProperty_ContextName ? mContextName : mNickName;
		if (slot)
			CFRelease(slot);
		slot = nullptr;
		PropertyChanged(inID, inScope, inElement);
		return noErr;
	}
	case kAudioUnitProperty_HostCallbacks:
		if (OSStatus result = requireGlobal(inScope))
			return result;
		mHostCallbackInfo = HostCallbackInfo{};
		mHostCallbackInfoSize = 0;
		PropertyChanged(inID, inScope, inElement);
		return noErr;
	default:
	{
		const OSStatus result = RemovePropertyValue(inID, inScope, inElement);
		if (result == noErr)
			PropertyChanged(inID, inScope, inElement);
		return result;
	}
	}
}

OSStatus AUBase::GetPropertyInfo(AudioUnitPropertyID, AudioUnitScope, AudioUnitElement, UInt32&, Boolean&)
{
	return kAudioUnitErr_InvalidProperty;
}

OSStatus AUBase::GetProperty(AudioUnitPropertyID, AudioUnitScope, AudioUnitElement, void*)
{
	return kAudioUnitErr_InvalidProperty;
}

OSStatus AUBase::SetProperty(AudioUnitPropertyID, AudioUnitScope, AudioUnitElement, const void*, UInt32)
{
	return kAudioUnitErr_InvalidProperty;
}

OSStatus AUBase::RemovePropertyValue(AudioUnitPropertyID, AudioUnitScope, AudioUnitElement)
{
	return kAudioUnitErr_InvalidProperty;
}

OSStatus AUBase::AddPropertyListener(AudioUnitPropertyID inID, AudioUnitPropertyListenerProc inProc, void* inProcRefCon)
{
	std::lock_guard<std::mutex> lock(mListenerMutex);
	mPropertyListeners.push_back({inID, inProc, inProcRefCon});
	return noErr;
}

OSStatus AUBase::RemovePropertyListener(AudioUnitPropertyID inID, AudioUnitPropertyListenerProc inProc, void* inProcRefCon,
	bool refConSpecified)
{
	std::lock_guard<std::mutex> lock(mListenerMutex);
	auto& v = mPropertyListeners;
	v.erase(std::remove_if(v.begin(), v.end(),
				[&](const PropertyListener& l) {
					return l.propertyID == inID && l.proc == inProc && (!refConSpecified || l.refCon == inProcRefCon);
				}),
		v.end());
	return noErr;
}

void AUBase::PropertyChanged(AudioUnitPropertyID inID, AudioUnitScope inScope, AudioUnitElement inElement)
{
	std::vector<PropertyListener> listeners;
	{
		// Copied so that a listener may add or remove listeners while it is called.
		std::lock_guard<std::mutex> lock(mListenerMutex);
		for (const PropertyListener& l : mPropertyListeners)
			if (l.propertyID == inID)
				listeners.push_back(l);
	}
	for (const PropertyListener& l : listeners)
		l.proc(l.refCon, GetComponentInstance(), inID, inScope, inElement);
}

OSStatus AUBase::SetRenderNotification(AURenderCallback inProc, void* inRefCon)
{
	if (!inProc)
		return kAudio_ParamError;
	std::lock_guard<std::mutex> lock(mListenerMutex);
	for (auto& n : mRenderNotifications)
		if (n.proc == inProc && n.refCon == inRefCon)
			return noErr;
	mRenderNotifications.push_back({inProc, inRefCon});
	return noErr;
}

OSStatus AUBase::RemoveRenderNotification(AURenderCallback inProc, void* inRefCon)
{
	std::lock_guard<std::mutex> lock(mListenerMutex);
	auto& v = mRenderNotifications;
	v.erase(std::remove_if(v.begin(), v.end(), [&](auto& n) { return n.proc == inProc && n.refCon == inRefCon; }), v.end());
	return noErr;
}

// Parameters ---------------------------------------------------------------------------------------------------

OSStatus AUBase::GetParameter(AudioUnitParameterID inID, AudioUnitScope inScope, AudioUnitElement inElement,
	AudioUnitParameterValue& outValue)
{
	outValue = SafeGetElement(inScope, inElement)->GetParameter(inID);
	return noErr;
}

OSStatus AUBase::SetParameter(AudioUnitParameterID inID, AudioUnitScope inScope, AudioUnitElement inElement,
	AudioUnitParameterValue inValue, UInt32)
{
	SafeGetElement(inScope, inElement)->SetParameter(inID, inValue);
	return noErr;
}

OSStatus AUBase::ScheduleParameter(const AudioUnitParameterEvent* inParameterEvent, UInt32 inNumEvents)
{
	// Without scheduling support only immediate events apply, at once; ramps are dropped.
	for (UInt32 i = 0; i < inNumEvents; ++i)
	{
		const AudioUnitParameterEvent& e = inParameterEvent[i];
		if (e.eventType != kParameterEvent_Immediate)
			continue;
		const OSStatus result = SetParameter(e.parameter, e.scope, e.element, e.eventValues.immediate.value,
			e.eventValues.immediate.bufferOffset);
		if (result != noErr)
			return result;
	}
	return noErr;
}

OSStatus AUBase::GetParameterList(AudioUnitScope inScope, AudioUnitParameterID* outParameterList, UInt32& outNumParameters)
{
	AUScope& scope = GetScope(inScope);
	AUElement* best = nullptr;
	for (UInt32 i = 0; i < scope.GetNumberOfElements(); ++i)
	{
		AUElement* e = scope.GetElement(i);
		if (!best || e->GetNumberOfParameters() > best->GetNumberOfParameters())
			best = e;
	}
	outNumParameters = best ? best->GetNumberOfParameters() : 0;
	if (best && outParameterList)
		best->GetParameterList(outParameterList);
	return noErr;
}

OSStatus AUBase::GetParameterInfo(AudioUnitScope, AudioUnitParameterID, AudioUnitParameterInfo&)
{
	return kAudioUnitErr_InvalidParameter;
}

OSStatus AUBase::GetParameterValueStrings(AudioUnitScope, AudioUnitParameterID, CFArrayRef*)
{
	return kAudioUnitErr_InvalidProperty;
}

OSStatus AUBase::CopyClumpName(AudioUnitScope, UInt32, UInt32, CFStringRef*)
{
	return kAudioUnitErr_InvalidProperty;
}

// Render -------------------------------------------------------------------------------------------------------

bool AUBase::NeedsToRender(const AudioTimeStamp& inTimeStamp)
{
	const bool needs = inTimeStamp.mSampleTime != mCurrentRenderTime.mSampleTime;
	if (needs)
		mCurrentRenderTime = inTimeStamp;
	return needs;
}

OSStatus AUBase::RenderBus(AudioUnitRenderActionFlags& ioActionFlags, const AudioTimeStamp& inTimeStamp, UInt32,
	UInt32 inNumberFrames)
{
	if (NeedsToRender(inTimeStamp))
		return Render(ioActionFlags, inTimeStamp, inNumberFrames);
	return noErr;
}

OSStatus AUBase::Render(AudioUnitRenderActionFlags&, const AudioTimeStamp&, UInt32)
{
	return noErr;
}

OSStatus AUBase::DoRender(AudioUnitRenderActionFlags& ioActionFlags, const AudioTimeStamp& inTimeStamp, UInt32 inBusNumber,
	UInt32 inNumberFrames, AudioBufferList& ioData)
{
	const OSStatus result = RenderChecked(ioActionFlags, inTimeStamp, inBusNumber, inNumberFrames, ioData);
	SetRenderError(result);
	return result;
}

OSStatus AUBase::RenderChecked(AudioUnitRenderActionFlags& ioActionFlags, const AudioTimeStamp& inTimeStamp,
	UInt32 inBusNumber, UInt32 inNumberFrames, AudioBufferList& ioData)
{
	OSStatus result = noErr;
	try
	{
		if (!mInitialized)
			return kAudioUnitErr_Uninitialized;
		if (inNumberFrames > mMaxFramesPerSlice)
			return kAudioUnitErr_TooManyFramesToProcess;
		AUOutputElement* output = GetOutput(inBusNumber);
		const CAStreamBasicDescription& format = output->GetStreamFormat();
		if (ioData.mNumberBuffers != format.NumberChannelStreams())
			return kAudio_ParamError;
		const UInt32 byteSize = inNumberFrames * format.mBytesPerFrame;
		for (UInt32 i = 0; i < ioData.mNumberBuffers; ++i)
		{
			AudioBuffer& b = ioData.mBuffers[i];
			if (b.mData)
			{
				if (b.mDataByteSize < byteSize)
					return kAudio_ParamError;
				b.mDataByteSize = byteSize;
			}
		}

		std::vector<RenderNotification> notifications;
		{
			std::lock_guard<std::mutex> lock(mListenerMutex);
			notifications = mRenderNotifications;
		}
		for (auto& n : notifications)
		{
			AudioUnitRenderActionFlags flags = ioActionFlags | kAudioUnitRenderAction_PreRender;
			n.proc(n.refCon, &flags, &inTimeStamp, inBusNumber, inNumberFrames, &ioData);
		}

		const bool callerBuffers = ioData.mBuffers[0].mData != nullptr || ioData.mNumberBuffers == 0;
		if (callerBuffers)
			output->SetBufferList(ioData);
		else
			output->PrepareBuffer(inNumberFrames);
		result = RenderBus(ioActionFlags, inTimeStamp, inBusNumber, inNumberFrames);
		if (result == noErr)
		{
			if (callerBuffers)
				output->CopyBufferContentsTo(ioData);
			else
				output->CopyBufferListTo(ioData);
		}

		for (auto& n : notifications)
		{
			AudioUnitRenderActionFlags flags = ioActionFlags | kAudioUnitRenderAction_PostRender;
			if (result != noErr)
				flags |= kAudioUnitRenderAction_PostRenderError;
			n.proc(n.refCon, &flags, &inTimeStamp, inBusNumber, inNumberFrames, &ioData);
		}
	}
	COMPONENT_CATCH
	return result;
}

// State and presets --------------------------------------------------------------------------------------------

OSStatus AUBase::SaveState(CFPropertyListRef* outData)
{
	const AudioComponentDescription desc = GetComponentDescription();
	CFMutableDictionaryRef dict =
		CFDictionaryCreateMutable(nullptr, 0, &kCFTypeDictionaryKeyCallBacks, &kCFTypeDictionaryValueCallBacks);
	auto setNumber = [&](CFStringRef key, SInt32 value) {
		CFNumberRef n = makeNumber(value);
		CFDictionarySetValue(dict, key, n);
		CFRelease(n);
	};
	setNumber(CFSTR("version"), 0);
	setNumber(CFSTR("type"), SInt32(desc.componentType));
	setNumber(CFSTR("subtype"), SInt32(desc.componentSubType));
	setNumber(CFSTR("manufacturer"), SInt32(desc.componentManufacturer));

	CFMutableDataRef data = CFDataCreateMutable(nullptr, 0);
	for (AudioUnitScope s = kAudioUnitScope_Global; s <= kAudioUnitScope_Group; ++s)
		GetScope(s).SaveState(data);
	CFDictionarySetValue(dict, CFSTR("data"), data);
	CFRelease(data);

	CFDictionarySetValue(dict, CFSTR("name"), mCurrentPreset.presetName ? mCurrentPreset.presetName : CFSTR("Untitled"));

	// Render quality and CPU load are asked of the instrument itself; they are stored only when it answers.
	UInt32 value = 0;
	if (DispatchGetProperty(kAudioUnitProperty_RenderQuality, kAudioUnitScope_Global, 0, &value) == noErr)
		setNumber(CFSTR("render-quality"), SInt32(value));
	Float32 load = 0;
	if (DispatchGetProperty(kAudioUnitProperty_CPULoad, kAudioUnitScope_Global, 0, &load) == noErr)
	{
		CFNumberRef n = CFNumberCreate(nullptr, kCFNumberFloat32Type, &load);
		CFDictionarySetValue(dict, CFSTR("cpu-load"), n);
		CFRelease(n);
	}
	*outData = dict;
	return noErr;
}

OSStatus AUBase::RestoreParameterData(CFDataRef data)
{
	// Walked twice: first to check that every entry is complete, then to apply it, so a truncated blob
	// changes nothing.
	const UInt8* begin = CFDataGetBytePtr(data);
	const UInt8* end = begin + CFDataGetLength(data);
	for (int pass = 0; pass < 2; ++pass)
	{
		const UInt8* p = begin;
		while (p < end)
		{
			if (end - p < 12)
				return kAudioUnitErr_InvalidPropertyValue;
			const UInt32 scope = (UInt32(p[0]) << 24) | (UInt32(p[1]) << 16) | (UInt32(p[2]) << 8) | p[3];
			const UInt32 element = (UInt32(p[4]) << 24) | (UInt32(p[5]) << 16) | (UInt32(p[6]) << 8) | p[7];
			p += 8;
			const UInt32 count = (UInt32(p[0]) << 24) | (UInt32(p[1]) << 16) | (UInt32(p[2]) << 8) | p[3];
			if (UInt64(end - p - 4) < UInt64(count) * 8)
				return kAudioUnitErr_InvalidPropertyValue;
			AUElement* e = nullptr;
			if (pass == 1)
			{
				try
				{
					e = GetScope(scope).GetElement(element);
				}
				catch (OSStatus)
				{
					e = nullptr; // a scope this unit lacks: skipped like a missing element
				}
			}
			if (e)
				p = e->RestoreState(p, end);
			else
				p += 4 + size_t(count) * 8;
		}
	}
	return noErr;
}

OSStatus AUBase::RestoreState(CFPropertyListRef plist)
{
	if (!plist || CFGetTypeID(plist) != CFDictionaryGetTypeID())
		return kAudioUnitErr_InvalidPropertyValue;
	auto dict = static_cast<CFDictionaryRef>(plist);
	if (CFDictionaryContainsKey(dict, CFSTR("part")))
		return kAudioUnitErr_InvalidPropertyValue;
	const AudioComponentDescription desc = GetComponentDescription();
	SInt32 version = -1, subtype = 0, manufacturer = 0;
	if (!readNumber(dict, CFSTR("version"), version) || version != 0)
		return kAudioUnitErr_InvalidPropertyValue;
	if (!readNumber(dict, CFSTR("subtype"), subtype) || UInt32(subtype) != desc.componentSubType)
		return kAudioUnitErr_InvalidPropertyValue;
	if (!readNumber(dict, CFSTR("manufacturer"), manufacturer) || UInt32(manufacturer) != desc.componentManufacturer)
		return kAudioUnitErr_InvalidPropertyValue;

	const void* data = nullptr;
	if (CFDictionaryGetValueIfPresent(dict, CFSTR("data"), &data))
	{
		if (!data || CFGetTypeID(data) != CFDataGetTypeID())
			return kAudioUnitErr_InvalidPropertyValue;
		if (OSStatus result = RestoreParameterData(static_cast<CFDataRef>(data)))
			return result;
	}

	const void* name = CFDictionaryGetValue(dict, CFSTR("name"));
	AUPreset preset;
	preset.presetNumber = -1;
	preset.presetName = name && CFGetTypeID(name) == CFStringGetTypeID() ? static_cast<CFStringRef>(name) : CFSTR("Untitled");
	CFRetain(preset.presetName);
	if (mCurrentPreset.presetName)
		CFRelease(mCurrentPreset.presetName);
	mCurrentPreset = preset;
	PropertyChanged(kAudioUnitProperty_PresentPreset, kAudioUnitScope_Global, 0);

	SInt32 quality = 0;
	if (readNumber(dict, CFSTR("render-quality"), quality))
	{
		UInt32 q = UInt32(quality);
		DispatchSetProperty(kAudioUnitProperty_RenderQuality, kAudioUnitScope_Global, 0, &q, sizeof q);
	}
	const void* load = CFDictionaryGetValue(dict, CFSTR("cpu-load"));
	if (load && CFGetTypeID(load) == CFNumberGetTypeID())
	{
		Float32 l = 0;
		CFNumberGetValue(static_cast<CFNumberRef>(load), kCFNumberFloat32Type, &l);
		DispatchSetProperty(kAudioUnitProperty_CPULoad, kAudioUnitScope_Global, 0, &l, sizeof l);
	}
	return noErr;
}

OSStatus AUBase::GetPresets(CFArrayRef*) const
{
	return kAudioUnitErr_InvalidProperty;
}

OSStatus AUBase::NewFactoryPresetSet(const AUPreset&)
{
	return kAudioUnitErr_InvalidProperty;
}

OSStatus AUBase::NewCustomPresetSet(const AUPreset& inNewCustomPreset)
{
	CFStringRef name = inNewCustomPreset.presetName;
	if (name)
		CFRetain(name);
	if (mCurrentPreset.presetName)
		CFRelease(mCurrentPreset.presetName);
	mCurrentPreset = inNewCustomPreset;
	return noErr;
}

bool AUBase::SetAFactoryPresetAsCurrent(const AUPreset& inPreset)
{
	if (inPreset.presetNumber < 0 || !inPreset.presetName)
		return false;
	CFRetain(inPreset.presetName);
	if (mCurrentPreset.presetName)
		CFRelease(mCurrentPreset.presetName);
	mCurrentPreset = inPreset;
	return true;
}

// Views, capabilities, formats ---------------------------------------------------------------------------------

int AUBase::GetNumCustomUIComponents()
{
	return 0;
}

void AUBase::GetUIComponentDescs(ComponentDescription*) {}

CFURLRef AUBase::CopyIconLocation()
{
	return nullptr;
}

Float64 AUBase::GetLatency()
{
	return 0;
}

Float64 AUBase::GetTailTime()
{
	return 0;
}

bool AUBase::SupportsTail()
{
	return false;
}

UInt32 AUBase::SupportedNumChannels(const AUChannelInfo**)
{
	return 0;
}

bool AUBase::IsStreamFormatWritable(AudioUnitScope scope, AudioUnitElement element)
{
	switch (scope)
	{
	case kAudioUnitScope_Input:
		if (GetInput(element)->IsConnected())
			return false;
		return StreamFormatWritable(scope, element);
	case kAudioUnitScope_Output:
		return StreamFormatWritable(scope, element);
	case kAudioUnitScope_Global:
		return StreamFormatWritable(kAudioUnitScope_Output, 0);
	default:
		return false;
	}
}

bool AUBase::FormatIsCanonical(const CAStreamBasicDescription& f)
{
	return f.mFormatID == kAudioFormatLinearPCM && f.mFramesPerPacket == 1 && f.mBytesPerPacket == f.mBytesPerFrame &&
		   (f.mFormatFlags & kAudioFormatFlagIsFloat) &&
		   (f.mChannelsPerFrame == 1 || (f.mFormatFlags & kAudioFormatFlagIsNonInterleaved)) &&
		   !(f.mFormatFlags & kAudioFormatFlagIsBigEndian) && f.mBitsPerChannel == 32 &&
		   f.mBytesPerFrame == f.NumberInterleavedChannels() * sizeof(Float32);
}

void AUBase::MakeCanonicalFormat(CAStreamBasicDescription& outDesc, int numChannels)
{
	outDesc.SetAUCanonical(UInt32(numChannels), false);
}

bool AUBase::ValidFormat(AudioUnitScope, AudioUnitElement, const CAStreamBasicDescription& inNewFormat)
{
	return FormatIsCanonical(inNewFormat);
}

const CAStreamBasicDescription& AUBase::GetStreamFormat(AudioUnitScope inScope, AudioUnitElement inElement)
{
	if (inScope == kAudioUnitScope_Global)
		return GetOutput(0)->GetStreamFormat();
	return GetIOElement(inScope, inElement)->GetStreamFormat();
}

OSStatus AUBase::SetStreamFormatProperty(AudioUnitScope inScope, AudioUnitElement inElement, const CAStreamBasicDescription& desc)
{
	const CAStreamBasicDescription current = GetStreamFormat(inScope, inElement); // throws for a missing element
	if (!ValidFormat(inScope, inElement, desc))
		return kAudioUnitErr_FormatNotSupported;
	if (current == desc)
		return noErr;
	if (!IsStreamFormatWritable(inScope, inElement))
		return kAudioUnitErr_PropertyNotWritable;
	return ChangeStreamFormat(inScope, inElement, current, desc);
}

OSStatus AUBase::ChangeStreamFormat(AudioUnitScope inScope, AudioUnitElement inElement, const CAStreamBasicDescription&,
	const CAStreamBasicDescription& inNewFormat)
{
	AUIOElement* element = inScope == kAudioUnitScope_Global ? GetOutput(0) : GetIOElement(inScope, inElement);
	element->SetStreamFormat(inNewFormat);
	PropertyChanged(kAudioUnitProperty_StreamFormat, inScope, inElement);
	return noErr;
}

OSStatus AUBase::SetBusCount(AudioUnitScope inScope, UInt32 inCount)
{
	if (mInitialized)
		return kAudioUnitErr_Initialized;
	GetScope(inScope).SetNumberOfElements(inCount);
	return noErr;
}

OSStatus AUBase::SetConnection(const AudioUnitConnection& inConnection)
{
	GetInput(inConnection.destInputNumber)->SetConnection(inConnection);
	return noErr;
}

OSStatus AUBase::SetInputCallback(UInt32, AudioUnitElement inElement, AURenderCallback inProc, void* inRefCon)
{
	GetInput(inElement)->SetInputCallback(inProc, inRefCon);
	return noErr;
}
