// The two functions a host finds in the module: the Component Manager entry point and the Audio Component factory.

#include "au/auPlugin.h"

#include "AUPlugInDispatch.h"

namespace
{
using GetPropertyMethod = OSStatus (*)(void* self, AudioUnitPropertyID id, AudioUnitScope scope,
	AudioUnitElement element, void* outData, UInt32* ioDataSize);

bool readsPresentPreset(AudioUnitPropertyID id)
{
	return id == kAudioUnitProperty_PresentPreset;
}

OSStatus getProperty(void* self, AudioUnitPropertyID id, AudioUnitScope scope, AudioUnitElement element,
	void* outData, UInt32* ioDataSize)
{
	static const auto sdkGetProperty =
		reinterpret_cast<GetPropertyMethod>(AUMusicLookup::Lookup(kAudioUnitGetPropertySelect));
	auto call = [&] { return sdkGetProperty(self, id, scope, element, outData, ioDataSize); };
	if (!readsPresentPreset(id))
		return call();
	auto* instance = static_cast<AudioComponentPlugInInstance*>(self);
	return reinterpret_cast<auPlugin*>(instance->mInstanceStorage)->readPresentPreset(call);
}

// The music device's selectors, with the present preset's reads put in order by the instrument.
struct auPluginLookup
{
	static AudioComponentMethod Lookup(SInt16 selector)
	{
		if (selector == kAudioUnitGetPropertySelect)
			return reinterpret_cast<AudioComponentMethod>(getProperty);
		return AUMusicLookup::Lookup(selector);
	}
};
}

extern "C" __attribute__((visibility("default"))) OSStatus auPluginEntry(ComponentParameters* params, auPlugin* obj)
{
	auto call = [&] { return ComponentEntryPoint<auPlugin>::Dispatch(params, obj); };
	// The first argument after the instance is the property's ID.
	if (obj && params->what == kAudioUnitGetPropertySelect && readsPresentPreset(AudioUnitPropertyID(params->params[1])))
		return obj->readPresentPreset(call);
	return call();
}

// Declared as the factory type hosts call it through, so that a host built to check indirect calls can.
extern "C" __attribute__((visibility("default"))) AudioComponentPlugInInterface* auPluginFactory(
	const AudioComponentDescription* desc)
{
	return APFactory<auPluginLookup, auPlugin>::Factory(desc);
}
