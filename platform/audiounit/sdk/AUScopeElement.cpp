#include "AUBase.h"

#include <algorithm>
#include <cstring>

namespace
{
void appendBigEndian(CFMutableDataRef data, UInt32 value)
{
	const UInt8 bytes[4] = {UInt8(value >> 24), UInt8(value >> 16), UInt8(value >> 8), UInt8(value)};
	CFDataAppendBytes(data, bytes, 4);
}

UInt32 readBigEndian(const UInt8* p)
{
	return (UInt32(p[0]) << 24) | (UInt32(p[1]) << 16) | (UInt32(p[2]) << 8) | UInt32(p[3]);
}

UInt32 floatBits(Float32 f)
{
	UInt32 u;
	std::memcpy(&u, &f, 4);
	return u;
}

Float32 bitsFloat(UInt32 u)
{
	Float32 f;
	std::memcpy(&f, &u, 4);
	return f;
}
}

AUElement::AUElement(AUBase* audioUnit) : mAudioUnit(audioUnit) {}

AUElement::~AUElement()
{
	if (mElementName)
		CFRelease(mElementName);
}

UInt32 AUElement::GetNumberOfParameters() const
{
	return mUseIndexed ? mIndexedCount : UInt32(mParameters.size());
}

void AUElement::GetParameterList(AudioUnitParameterID* outList) const
{
	if (mUseIndexed)
	{
		for (UInt32 i = 0; i < mIndexedCount; ++i)
			outList[i] = i;
		return;
	}
	for (auto& [id, value] : mParameters)
		*outList++ = id;
}

AudioUnitParameterValue AUElement::GetParameter(AudioUnitParameterID paramID) const
{
	if (mUseIndexed)
	{
		if (paramID >= mIndexedCount)
			throw static_cast<OSStatus>(kAudioUnitErr_InvalidParameter);
		return mIndexedParameters[paramID].load(std::memory_order_relaxed);
	}
	auto it = mParameters.find(paramID);
	if (it == mParameters.end())
		throw static_cast<OSStatus>(kAudioUnitErr_InvalidParameter);
	return it->second.load(std::memory_order_relaxed);
}

void AUElement::SetParameter(AudioUnitParameterID paramID, AudioUnitParameterValue value, bool okWhenInitialized)
{
	if (mUseIndexed)
	{
		if (paramID >= mIndexedCount)
			throw static_cast<OSStatus>(kAudioUnitErr_InvalidParameter);
		mIndexedParameters[paramID].store(value, std::memory_order_relaxed);
		return;
	}
	auto it = mParameters.find(paramID);
	if (it != mParameters.end())
	{
		it->second.store(value, std::memory_order_relaxed);
		return;
	}
	if (mAudioUnit->IsInitialized() && !okWhenInitialized)
		return; // an initialised unit does not grow parameters behind its host's back
	mParameters[paramID].store(value, std::memory_order_relaxed);
}

void AUElement::UseIndexedParameters(int numberOfParameters)
{
	mUseIndexed = true;
	mIndexedCount = UInt32(std::max(0, numberOfParameters));
	mIndexedParameters = std::make_unique<Value[]>(mIndexedCount);
	for (UInt32 i = 0; i < mIndexedCount; ++i)
		mIndexedParameters[i].store(0.f, std::memory_order_relaxed);
}

void AUElement::SaveState(CFMutableDataRef data) const
{
	std::vector<AudioUnitParameterID> ids(GetNumberOfParameters());
	GetParameterList(ids.data());
	appendBigEndian(data, UInt32(ids.size()));
	for (AudioUnitParameterID id : ids)
	{
		appendBigEndian(data, id);
		appendBigEndian(data, floatBits(GetParameter(id)));
	}
}

const UInt8* AUElement::RestoreState(const UInt8* p, const UInt8* end)
{
	if (end - p < 4)
		return nullptr;
	const UInt32 count = readBigEndian(p);
	p += 4;
	if (UInt64(end - p) < UInt64(count) * 8)
		return nullptr;
	for (UInt32 i = 0; i < count; ++i, p += 8)
	{
		const AudioUnitParameterID id = readBigEndian(p);
		const Float32 value = bitsFloat(readBigEndian(p + 4));
		try
		{
			SetParameter(id, value);
		}
		catch (OSStatus)
		{
			// An ID this element does not have is skipped, the rest of the data still applies.
		}
	}
	return p;
}

void AUElement::SetName(CFStringRef name)
{
	if (mElementName)
		CFRelease(mElementName);
	mElementName = name ? static_cast<CFStringRef>(CFRetain(name)) : nullptr;
}

AUIOElement::AUIOElement(AUBase* audioUnit) : AUElement(audioUnit)
{
	mStreamFormat.mSampleRate = 44100.0;
	mStreamFormat.SetAUCanonical(2, false);
}

AUIOElement::~AUIOElement() = default;

OSStatus AUIOElement::SetStreamFormat(const CAStreamBasicDescription& desc)
{
	mStreamFormat = desc;
	return noErr;
}

void AUIOElement::AllocateBuffer(UInt32 maxFrames)
{
	const UInt32 streams = mStreamFormat.NumberChannelStreams();
	const UInt32 floatsPerFrame = mStreamFormat.mBytesPerFrame / sizeof(Float32);
	mMemory.assign(size_t(maxFrames) * std::max<UInt32>(1, floatsPerFrame) * streams, 0.f);
	mAllocatedFrames = maxFrames;
	mListStorage.assign(offsetof(AudioBufferList, mBuffers) + std::max<UInt32>(1, streams) * sizeof(AudioBuffer), 0);
	auto* abl = reinterpret_cast<AudioBufferList*>(mListStorage.data());
	abl->mNumberBuffers = streams;
	mPrepared = false;
}

void AUIOElement::DeallocateBuffer()
{
	mMemory.clear();
	mMemory.shrink_to_fit();
	mAllocatedFrames = 0;
	mPrepared = false;
}

AudioBufferList& AUIOElement::PrepareBuffer(UInt32 nFrames)
{
	if (nFrames > mAllocatedFrames || mListStorage.empty())
		throw static_cast<OSStatus>(kAudioUnitErr_TooManyFramesToProcess);
	auto* abl = reinterpret_cast<AudioBufferList*>(mListStorage.data());
	const UInt32 streams = abl->mNumberBuffers;
	const UInt32 bytesPerFrame = mStreamFormat.mBytesPerFrame;
	const size_t floatsPerStream = size_t(mAllocatedFrames) * std::max<UInt32>(1, bytesPerFrame / sizeof(Float32));
	for (UInt32 i = 0; i < streams; ++i)
	{
		abl->mBuffers[i].mNumberChannels = mStreamFormat.NumberInterleavedChannels();
		abl->mBuffers[i].mDataByteSize = nFrames * bytesPerFrame;
		abl->mBuffers[i].mData = mMemory.data() + i * floatsPerStream;
	}
	mPrepared = true;
	return *abl;
}

AudioBufferList& AUIOElement::SetBufferList(AudioBufferList& abl)
{
	const UInt32 n = abl.mNumberBuffers;
	if (mListStorage.size() < offsetof(AudioBufferList, mBuffers) + std::max<UInt32>(1, n) * sizeof(AudioBuffer))
		mListStorage.resize(offsetof(AudioBufferList, mBuffers) + std::max<UInt32>(1, n) * sizeof(AudioBuffer));
	auto* own = reinterpret_cast<AudioBufferList*>(mListStorage.data());
	own->mNumberBuffers = n;
	for (UInt32 i = 0; i < n; ++i)
		own->mBuffers[i] = abl.mBuffers[i];
	mPrepared = true;
	return *own;
}

AudioBufferList& AUIOElement::GetBufferList() const
{
	if (!mPrepared)
		throw static_cast<OSStatus>(-1);
	return *reinterpret_cast<AudioBufferList*>(const_cast<UInt8*>(mListStorage.data()));
}

void AUIOElement::CopyBufferContentsTo(AudioBufferList& abl) const
{
	const AudioBufferList& src = GetBufferList();
	const UInt32 n = std::min(src.mNumberBuffers, abl.mNumberBuffers);
	for (UInt32 i = 0; i < n; ++i)
	{
		AudioBuffer& dst = abl.mBuffers[i];
		if (!dst.mData)
		{
			dst = src.mBuffers[i];
			continue;
		}
		const UInt32 bytes = std::min(src.mBuffers[i].mDataByteSize, dst.mDataByteSize);
		if (src.mBuffers[i].mData && src.mBuffers[i].mData != dst.mData)
			std::memmove(dst.mData, src.mBuffers[i].mData, bytes);
		dst.mDataByteSize = bytes;
	}
}

void AUIOElement::CopyBufferListTo(AudioBufferList& abl) const
{
	const AudioBufferList& src = GetBufferList();
	const UInt32 n = std::min(src.mNumberBuffers, abl.mNumberBuffers);
	for (UInt32 i = 0; i < n; ++i)
		abl.mBuffers[i] = src.mBuffers[i];
}

AUOutputElement::AUOutputElement(AUBase* audioUnit) : AUIOElement(audioUnit) {}

OSStatus AUOutputElement::SetStreamFormat(const CAStreamBasicDescription& desc)
{
	OSStatus result = AUIOElement::SetStreamFormat(desc);
	if (result == noErr && mAudioUnit->HasBegunInitializing())
		AllocateBuffer(mAudioUnit->GetMaxFramesPerSlice());
	return result;
}

AUInputElement::AUInputElement(AUBase* audioUnit) : AUIOElement(audioUnit) {}

void AUInputElement::SetConnection(const AudioUnitConnection& conn)
{
	mConnection = conn;
	mInputProc = nullptr;
	mInputProcRefCon = nullptr;
}

void AUInputElement::SetInputCallback(AURenderCallback proc, void* refCon)
{
	mConnection = AudioUnitConnection{};
	mInputProc = proc;
	mInputProcRefCon = refCon;
}

AUScope::~AUScope()
{
	for (AUElement* e : mElements)
		delete e;
}

void AUScope::Initialize(AUBase* creator, AudioUnitScope scope, UInt32 numElements)
{
	mCreator = creator;
	mScope = scope;
	SetNumberOfElements(numElements);
}

void AUScope::SetNumberOfElements(UInt32 numElements)
{
	while (mElements.size() > numElements)
	{
		delete mElements.back();
		mElements.pop_back();
	}
	while (mElements.size() < numElements)
		mElements.push_back(mCreator->CreateElement(mScope, AudioUnitElement(mElements.size())));
}

AUElement* AUScope::SafeGetElement(UInt32 index) const
{
	AUElement* e = GetElement(index);
	if (!e)
		throw static_cast<OSStatus>(kAudioUnitErr_InvalidElement);
	return e;
}

AUIOElement* AUScope::GetIOElement(UInt32 index) const
{
	auto* io = dynamic_cast<AUIOElement*>(SafeGetElement(index));
	if (!io)
		throw static_cast<OSStatus>(kAudioUnitErr_InvalidElement);
	return io;
}

void AUScope::SaveState(CFMutableDataRef data) const
{
	for (UInt32 i = 0; i < mElements.size(); ++i)
	{
		if (mElements[i]->GetNumberOfParameters() == 0)
			continue;
		appendBigEndian(data, mScope);
		appendBigEndian(data, i);
		mElements[i]->SaveState(data);
	}
}
