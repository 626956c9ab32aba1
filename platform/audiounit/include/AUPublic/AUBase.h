#pragma once

#include "AUInputElement.h"
#include "AUOutputElement.h"
#include "AUPlugInDispatch.h"
#include "AUScopeElement.h"
#include "ComponentBase.h"

#include <mutex>
#include <vector>

enum
{
	kAUDefaultMaxFramesPerSlice = 1156
};

// The Audio Unit base: elements, properties, parameters, state, presets and the render path. Dispatch* does
// what the base handles itself and passes everything else to the virtuals.
class AUBase : public ComponentBase
{
public:
	AUBase(AudioComponentInstance inInstance, UInt32 numInputElements, UInt32 numOutputElements,
		UInt32 numGroupElements = 0);
	~AUBase() override;

	void PostConstructor() override;
	void PreDestructor() override;

	// Lifecycle.
	OSStatus DoInitialize();
	void DoCleanup();
	virtual OSStatus Initialize();
	virtual void Cleanup();
	virtual OSStatus Reset(AudioUnitScope inScope, AudioUnitElement inElement);
	bool IsInitialized() const { return mInitialized; }
	bool HasBegunInitializing() const { return mHasBegunInitializing; }

	// Properties.
	OSStatus DispatchGetPropertyInfo(AudioUnitPropertyID inID, AudioUnitScope inScope, AudioUnitElement inElement,
		UInt32& outDataSize, Boolean& outWritable);
	OSStatus DispatchGetProperty(AudioUnitPropertyID inID, AudioUnitScope inScope, AudioUnitElement inElement, void* outData);
	OSStatus DispatchSetProperty(AudioUnitPropertyID inID, AudioUnitScope inScope, AudioUnitElement inElement,
		const void* inData, UInt32 inDataSize);
	OSStatus DispatchRemovePropertyValue(AudioUnitPropertyID inID, AudioUnitScope inScope, AudioUnitElement inElement);
	virtual OSStatus GetPropertyInfo(AudioUnitPropertyID inID, AudioUnitScope inScope, AudioUnitElement inElement,
		UInt32& outDataSize, Boolean& outWritable);
	virtual OSStatus GetProperty(AudioUnitPropertyID inID, AudioUnitScope inScope, AudioUnitElement inElement, void* outData);
	virtual OSStatus SetProperty(AudioUnitPropertyID inID, AudioUnitScope inScope, AudioUnitElement inElement,
		const void* inData, UInt32 inDataSize);
	virtual OSStatus RemovePropertyValue(AudioUnitPropertyID inID, AudioUnitScope inScope, AudioUnitElement inElement);
	virtual OSStatus AddPropertyListener(AudioUnitPropertyID inID, AudioUnitPropertyListenerProc inProc, void* inProcRefCon);
	virtual OSStatus RemovePropertyListener(AudioUnitPropertyID inID, AudioUnitPropertyListenerProc inProc,
		void* inProcRefCon, bool refConSpecified);
	// Calls every listener registered for the ID, synchronously, on the calling thread.
	virtual void PropertyChanged(AudioUnitPropertyID inID, AudioUnitScope inScope, AudioUnitElement inElement);

	virtual OSStatus SetRenderNotification(AURenderCallback inProc, void* inRefCon);
	virtual OSStatus RemoveRenderNotification(AURenderCallback inProc, void* inRefCon);

	// Parameters.
	virtual OSStatus GetParameter(AudioUnitParameterID inID, AudioUnitScope inScope, AudioUnitElement inElement,
		AudioUnitParameterValue& outValue);
	virtual OSStatus SetParameter(AudioUnitParameterID inID, AudioUnitScope inScope, AudioUnitElement inElement,
		AudioUnitParameterValue inValue, UInt32 inBufferOffsetInFrames);
	virtual bool CanScheduleParameters() const = 0;
	virtual OSStatus ScheduleParameter(const AudioUnitParameterEvent* inParameterEvent, UInt32 inNumEvents);
	virtual OSStatus GetParameterList(AudioUnitScope inScope, AudioUnitParameterID* outParameterList,
		UInt32& outNumParameters);
	virtual OSStatus GetParameterInfo(AudioUnitScope inScope, AudioUnitParameterID inParameterID,
		AudioUnitParameterInfo& outParameterInfo);
	virtual OSStatus GetParameterValueStrings(AudioUnitScope inScope, AudioUnitParameterID inParameterID, CFArrayRef* outStrings);
	virtual OSStatus CopyClumpName(AudioUnitScope inScope, UInt32 inClumpID, UInt32 inDesiredNameLength, CFStringRef* outClumpName);

	// Render.
	OSStatus DoRender(AudioUnitRenderActionFlags& ioActionFlags, const AudioTimeStamp& inTimeStamp, UInt32 inBusNumber,
		UInt32 inNumberFrames, AudioBufferList& ioData);
	virtual OSStatus RenderBus(AudioUnitRenderActionFlags& ioActionFlags, const AudioTimeStamp& inTimeStamp,
		UInt32 inBusNumber, UInt32 inNumberFrames);
	virtual OSStatus Render(AudioUnitRenderActionFlags& ioActionFlags, const AudioTimeStamp& inTimeStamp, UInt32 inNumberFrames);
	// True, and remembered as the current render time, when the time stamp's sample time differs from the last one.
	bool NeedsToRender(const AudioTimeStamp& inTimeStamp);
	const AudioTimeStamp& CurrentRenderTime() const { return mCurrentRenderTime; }

	// State and presets.
	virtual OSStatus SaveState(CFPropertyListRef* outData);
	virtual OSStatus RestoreState(CFPropertyListRef inData);
	virtual OSStatus GetPresets(CFArrayRef* outData) const;
	virtual OSStatus NewFactoryPresetSet(const AUPreset& inNewFactoryPreset);
	virtual OSStatus NewCustomPresetSet(const AUPreset& inNewCustomPreset);
	// Refuses a negative number or a null name; otherwise keeps the record and retains the name.
	bool SetAFactoryPresetAsCurrent(const AUPreset& inPreset);
	AUPreset GetCurrentPreset() const { return mCurrentPreset; }

	// Views and capabilities.
	virtual int GetNumCustomUIComponents();
	virtual void GetUIComponentDescs(ComponentDescription* inDescArray);
	virtual CFURLRef CopyIconLocation();
	virtual Float64 GetLatency();
	virtual Float64 GetTailTime();
	virtual bool SupportsTail();

	// Stream formats.
	virtual bool StreamFormatWritable(AudioUnitScope scope, AudioUnitElement element) = 0;
	bool IsStreamFormatWritable(AudioUnitScope scope, AudioUnitElement element);
	virtual UInt32 SupportedNumChannels(const AUChannelInfo** outInfo);
	virtual bool ValidFormat(AudioUnitScope inScope, AudioUnitElement inElement, const CAStreamBasicDescription& inNewFormat);
	virtual OSStatus ChangeStreamFormat(AudioUnitScope inScope, AudioUnitElement inElement,
		const CAStreamBasicDescription& inPrevFormat, const CAStreamBasicDescription& inNewFormat);
	virtual const CAStreamBasicDescription& GetStreamFormat(AudioUnitScope inScope, AudioUnitElement inElement);
	bool FormatIsCanonical(const CAStreamBasicDescription& format);
	void MakeCanonicalFormat(CAStreamBasicDescription& outDesc, int numChannels = 2);

	virtual bool BusCountWritable(AudioUnitScope) { return false; }
	virtual OSStatus SetBusCount(AudioUnitScope inScope, UInt32 inCount);
	virtual OSStatus SetConnection(const AudioUnitConnection& inConnection);
	virtual OSStatus SetInputCallback(UInt32 inPropertyID, AudioUnitElement inElement, AURenderCallback inProc, void* inRefCon);

	UInt32 GetMaxFramesPerSlice() const { return mMaxFramesPerSlice; }
	virtual void SetMaxFramesPerSlice(UInt32 nFrames);
	virtual OSStatus CanSetMaxFrames() const;

	// Elements and scopes.
	void CreateElements();
	virtual void CreateExtendedElements() {}
	virtual AUElement* CreateElement(AudioUnitScope scope, AudioUnitElement element);
	AUScope& GetScope(AudioUnitScope inScope);
	virtual AUScope* GetScopeExtended(AudioUnitScope) { return nullptr; }
	AUScope& GlobalScope() { return mScopes[kAudioUnitScope_Global]; }
	AUScope& Inputs() { return mScopes[kAudioUnitScope_Input]; }
	AUScope& Outputs() { return mScopes[kAudioUnitScope_Output]; }
	AUScope& Groups() { return mScopes[kAudioUnitScope_Group]; }
	AUElement* Globals() { return mScopes[kAudioUnitScope_Global].GetElement(0); }
	// These throw kAudioUnitErr_InvalidElement (or InvalidScope); they never return null.
	AUElement* GetElement(AudioUnitScope inScope, AudioUnitElement inElement);
	AUElement* SafeGetElement(AudioUnitScope inScope, AudioUnitElement inElement);
	AUIOElement* GetIOElement(AudioUnitScope inScope, AudioUnitElement inElement);
	AUOutputElement* GetOutput(AudioUnitElement inElement);
	AUInputElement* GetInput(AudioUnitElement inElement);

	OSStatus GetLastRenderError() const { return mLastRenderError; }

	// The Audio Unit selectors of the Component Manager path; everything else goes to ComponentBase.
	static OSStatus ComponentEntryDispatch(ComponentParameters* params, AUBase* This);

protected:
	void SetRenderError(OSStatus err)
	{
		if (err != noErr && mLastRenderError == noErr)
			mLastRenderError = err;
	}
	virtual void ReallocateBuffers();

private:
	struct PropertyListener
	{
		AudioUnitPropertyID propertyID;
		AudioUnitPropertyListenerProc proc;
		void* refCon;
	};
	struct RenderNotification
	{
		AURenderCallback proc;
		void* refCon;
	};

	OSStatus RenderChecked(AudioUnitRenderActionFlags& ioActionFlags, const AudioTimeStamp& inTimeStamp, UInt32 inBusNumber,
		UInt32 inNumberFrames, AudioBufferList& ioData);
	OSStatus SetStreamFormatProperty(AudioUnitScope inScope, AudioUnitElement inElement, const CAStreamBasicDescription& desc);
	// Validates and applies the parameter data of a saved state; -10851 when it is malformed (nothing applied).
	OSStatus RestoreParameterData(CFDataRef data);

	AUScope mScopes[4];
	UInt32 mInitNumInputEls, mInitNumOutputEls, mInitNumGroupEls;
	bool mElementsCreated = false;
	bool mInitialized = false;
	bool mHasBegunInitializing = false;
	UInt32 mMaxFramesPerSlice = kAUDefaultMaxFramesPerSlice;
	AudioTimeStamp mCurrentRenderTime{};
	OSStatus mLastRenderError = noErr;
	AUPreset mCurrentPreset{};
	CFStringRef mContextName = nullptr;
	CFStringRef mNickName = nullptr;
	HostCallbackInfo mHostCallbackInfo{};
	UInt32 mHostCallbackInfoSize = 0;
	std::mutex mListenerMutex;
	std::vector<PropertyListener> mPropertyListeners;
	std::vector<RenderNotification> mRenderNotifications;
};
