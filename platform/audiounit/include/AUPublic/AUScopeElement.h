#pragma once

#include "CAStreamBasicDescription.h"

#include <AudioUnit/AudioUnit.h>
#include <CoreFoundation/CoreFoundation.h>

#include <atomic>
#include <map>
#include <memory>
#include <vector>

class AUBase;

// One element (bus, group, part) of a scope, with its parameters. Parameters live either in a map (created on
// first set) or, after UseIndexedParameters, in a fixed array indexed by ID.
class AUElement
{
public:
	explicit AUElement(AUBase* audioUnit);
	virtual ~AUElement();
	AUElement(const AUElement&) = delete;
	AUElement& operator=(const AUElement&) = delete;

	UInt32 GetNumberOfParameters() const;
	void GetParameterList(AudioUnitParameterID* outList) const;
	// Throws kAudioUnitErr_InvalidParameter for an unknown parameter.
	AudioUnitParameterValue GetParameter(AudioUnitParameterID paramID) const;
	// A map-based element does not grow new parameters once the unit is initialised (the call is ignored);
	// an indexed one throws kAudioUnitErr_InvalidParameter out of range.
	void SetParameter(AudioUnitParameterID paramID, AudioUnitParameterValue value, bool okWhenInitialized = false);
	void UseIndexedParameters(int numberOfParameters);

	// Appends count, then (ID, value) pairs, all big-endian.
	void SaveState(CFMutableDataRef data) const;
	// Reads what SaveState wrote from [p, end); returns the byte after it, or null when the data runs out first.
	const UInt8* RestoreState(const UInt8* p, const UInt8* end);

	CFStringRef GetName() const { return mElementName; }
	void SetName(CFStringRef name);
	bool HasName() const { return mElementName != nullptr; }

	AUBase* GetAudioUnit() const { return mAudioUnit; }

protected:
	AUBase* mAudioUnit;

private:
	// A host sets values on one thread while the render thread reads them: each is one relaxed atomic, as an
	// aligned float is on the machines the real classes run on.
	using Value = std::atomic<AudioUnitParameterValue>;
	bool mUseIndexed = false;
	UInt32 mIndexedCount = 0;
	std::unique_ptr<Value[]> mIndexedParameters;
	std::map<AudioUnitParameterID, Value> mParameters;
	CFStringRef mElementName = nullptr;
};

// An element that carries a stream: its format and, once the unit is initialised, its own buffers.
class AUIOElement : public AUElement
{
public:
	explicit AUIOElement(AUBase* audioUnit);
	~AUIOElement() override;

	const CAStreamBasicDescription& GetStreamFormat() const { return mStreamFormat; }
	virtual OSStatus SetStreamFormat(const CAStreamBasicDescription& desc);

	// Sizes the element's own memory for the unit's maximum frames per slice.
	void AllocateBuffer(UInt32 maxFrames);
	void DeallocateBuffer();
	bool HasBuffer() const { return !mMemory.empty() || mAllocatedFrames > 0; }

	// Points the element's list at its own memory for nFrames frames; throws kAudioUnitErr_TooManyFramesToProcess
	// when that is more than was allocated.
	AudioBufferList& PrepareBuffer(UInt32 nFrames);
	// Points the element's list at the caller's buffers.
	AudioBufferList& SetBufferList(AudioBufferList& abl);
	// The prepared list; throws -1 when nothing was prepared.
	AudioBufferList& GetBufferList() const;
	// Copies the rendered samples into the caller's buffers; a null caller buffer gets the element's pointer.
	void CopyBufferContentsTo(AudioBufferList& abl) const;
	// Hands the caller the element's buffer pointers.
	void CopyBufferListTo(AudioBufferList& abl) const;

protected:
	CAStreamBasicDescription mStreamFormat;

private:
	std::vector<Float32> mMemory;
	UInt32 mAllocatedFrames = 0;
	std::vector<UInt8> mListStorage;
	bool mPrepared = false;
};

// The elements of one scope, owned by it.
class AUScope
{
public:
	AUScope() = default;
	~AUScope();
	AUScope(const AUScope&) = delete;
	AUScope& operator=(const AUScope&) = delete;

	void Initialize(AUBase* creator, AudioUnitScope scope, UInt32 numElements);
	AudioUnitScope GetScope() const { return mScope; }
	UInt32 GetNumberOfElements() const { return UInt32(mElements.size()); }
	void SetNumberOfElements(UInt32 numElements);
	// Null when there is no such element.
	AUElement* GetElement(UInt32 index) const { return index < mElements.size() ? mElements[index] : nullptr; }
	// Throws kAudioUnitErr_InvalidElement when there is no such element.
	AUElement* SafeGetElement(UInt32 index) const;
	AUIOElement* GetIOElement(UInt32 index) const;

	void SaveState(CFMutableDataRef data) const;

private:
	AUBase* mCreator = nullptr;
	AudioUnitScope mScope = 0;
	std::vector<AUElement*> mElements;
};
