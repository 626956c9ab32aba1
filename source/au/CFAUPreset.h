#pragma once

#include <AudioUnit/AudioUnit.h>
#include <CoreFoundation/CoreFoundation.h>

// A reference-counted preset record for the factory-preset array. Its first two fields have the layout
// of AUPreset, so a host reads each array element as one.
struct CFAUPreset
{
	SInt32 presetNumber;
	CFStringRef presetName;
	CFAllocatorRef allocator;
	CFIndex retainCount;
};
typedef struct CFAUPreset CFAUPreset;
typedef const CFAUPreset* CFAUPresetRef;

// A new record with its own copy of name (which may be null) and a count of 1; null when the allocator
// has no memory.
CFAUPresetRef CFAUPresetCreate(CFAllocatorRef allocator, SInt32 presetNumber, CFStringRef presetName);
// The name's reference count follows the record's: each retain retains it and each release releases it.
CFAUPresetRef CFAUPresetRetain(void* preset);
void CFAUPresetRelease(void* preset);

const void* CFAUPresetArrayRetainCallBack(CFAllocatorRef allocator, const void* value);
void CFAUPresetArrayReleaseCallBack(CFAllocatorRef allocator, const void* value);
CFStringRef CFAUPresetArrayCopyDescriptionCallBack(const void* value);
Boolean CFAUPresetArrayEqualCallBack(const void* value1, const void* value2);
void CFAUPresetArrayCallBacks_Init(CFArrayCallBacks* callbacks);

extern const CFArrayCallBacks kCFAUPresetArrayCallBacks;
