#pragma once

#include <CoreFoundation/CoreFoundation.h>
#include <CoreAudio/CoreAudioTypes.h>

#ifdef __cplusplus
extern "C" {
#endif

typedef struct ComponentInstanceRecord* AudioComponentInstance;
typedef struct OpaqueAudioComponent* AudioComponent;

struct AudioComponentDescription
{
	OSType componentType;
	OSType componentSubType;
	OSType componentManufacturer;
	UInt32 componentFlags;
	UInt32 componentFlagsMask;
};
typedef struct AudioComponentDescription AudioComponentDescription;

typedef OSStatus (*AudioComponentMethod)(void* self, ...);

// self is always the pointer the factory returned.
struct AudioComponentPlugInInterface
{
	OSStatus (*Open)(void* self, AudioComponentInstance mInstance);
	OSStatus (*Close)(void* self);
	AudioComponentMethod (*Lookup)(SInt16 selector);
	void* reserved; // must be NULL
};
typedef struct AudioComponentPlugInInterface AudioComponentPlugInInterface;

typedef AudioComponentPlugInInterface* (*AudioComponentFactoryFunction)(const AudioComponentDescription* inDesc);

// The host side of components. A component made in-process is registered with its factory; a zero field of the
// looked-for description matches anything.
AudioComponent AudioComponentRegister(const AudioComponentDescription* desc, CFStringRef name, UInt32 version,
	AudioComponentFactoryFunction factory);
AudioComponent AudioComponentFindNext(AudioComponent inComponent, const AudioComponentDescription* inDesc);
OSStatus AudioComponentGetDescription(AudioComponent inComponent, AudioComponentDescription* outDesc);
OSStatus AudioComponentCopyName(AudioComponent inComponent, CFStringRef* outName);
OSStatus AudioComponentGetVersion(AudioComponent inComponent, UInt32* outVersion);
// Calls the factory and opens the instance; a failed open leaves nothing to dispose.
OSStatus AudioComponentInstanceNew(AudioComponent inComponent, AudioComponentInstance* outInstance);
// Closes the instance (which frees the plug-in's block).
OSStatus AudioComponentInstanceDispose(AudioComponentInstance inInstance);
AudioComponent AudioComponentInstanceGetComponent(AudioComponentInstance inInstance);

#ifdef __cplusplus
}
#endif
