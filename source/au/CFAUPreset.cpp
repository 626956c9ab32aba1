#include "au/CFAUPreset.h"

#include <cstddef>

CFAUPresetRef CFAUPresetCreate(CFAllocatorRef allocator, SInt32 presetNumber, CFStringRef presetName)
{
	auto* preset = static_cast<CFAUPreset*>(CFAllocatorAllocate(allocator, sizeof(CFAUPreset), 0));
	if (!preset)
		return nullptr;
	preset->presetNumber = presetNumber;
	preset->presetName = presetName ? CFStringCreateCopy(allocator, presetName) : nullptr;
	preset->allocator = allocator;
	preset->retainCount = 1;
	return preset;
}

CFAUPresetRef CFAUPresetRetain(void* preset)
{
	auto* record = static_cast<CFAUPreset*>(preset);
	if (!record)
		return nullptr;
	if (record->presetName)
		CFRetain(record->presetName);
	++record->retainCount;
	return record;
}

void CFAUPresetRelease(void* preset)
{
	auto* record = static_cast<CFAUPreset*>(preset);
	if (!record || record->retainCount < 1)
		return;
	if (record->presetName)
		CFRelease(record->presetName);
	if (--record->retainCount == 0)
		CFAllocatorDeallocate(record->allocator, record);
}

const void* CFAUPresetArrayRetainCallBack(CFAllocatorRef, const void* value)
{
	return CFAUPresetRetain(const_cast<void*>(value));
}

void CFAUPresetArrayReleaseCallBack(CFAllocatorRef, const void* value)
{
	CFAUPresetRelease(const_cast<void*>(value));
}

CFStringRef CFAUPresetArrayCopyDescriptionCallBack(const void* value)
{
	const auto* record = static_cast<CFAUPresetRef>(value);
	return CFStringCreateWithFormat(kCFAllocatorDefault, nullptr,
		CFSTR("AUPreset:\npreset number = %d\npreset name = %@"), static_cast<int>(record->presetNumber),
		record->presetName);
}

Boolean CFAUPresetArrayEqualCallBack(const void* value1, const void* value2)
{
	const auto* a = static_cast<CFAUPresetRef>(value1);
	const auto* b = static_cast<CFAUPresetRef>(value2);
	if (a->presetNumber != b->presetNumber)
		return false;
	// A name that could not be made is null; two of them are alike, and Core Foundation compares no null.
	if (!a->presetName || !b->presetName)
		return a->presetName == b->presetName;
	return CFStringCompare(a->presetName, b->presetName, 0) == kCFCompareEqualTo;
}

void CFAUPresetArrayCallBacks_Init(CFArrayCallBacks* callbacks)
{
	if (!callbacks)
		return;
	callbacks->version = 0;
	callbacks->retain = CFAUPresetArrayRetainCallBack;
	callbacks->release = CFAUPresetArrayReleaseCallBack;
	callbacks->copyDescription = CFAUPresetArrayCopyDescriptionCallBack;
	callbacks->equal = CFAUPresetArrayEqualCallBack;
}

const CFArrayCallBacks kCFAUPresetArrayCallBacks = {0, CFAUPresetArrayRetainCallBack, CFAUPresetArrayReleaseCallBack,
	CFAUPresetArrayCopyDescriptionCallBack, CFAUPresetArrayEqualCallBack};
