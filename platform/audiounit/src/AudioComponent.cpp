// The host side: registered components, open instances and the C calls a host makes on them. Every call finds
// the instance's plug-in block and goes through its selector lookup, as a real host's call does.

#include <AudioUnit/AudioUnit.h>
#include <CoreServices/Components.h>

#include <memory>
#include <mutex>
#include <set>
#include <string>
#include <unordered_map>
#include <vector>

struct OpaqueAudioComponent
{
	AudioComponentDescription desc;
	CFStringRef name;
	UInt32 version;
	AudioComponentFactoryFunction factory;
};

struct ComponentInstanceRecord
{
	AudioComponent component;
	AudioComponentPlugInInterface* plugin;
};

namespace
{
struct Registry
{
	std::mutex mutex;
	std::vector<std::unique_ptr<OpaqueAudioComponent>> components;
	std::set<AudioComponentInstance> instances;
	std::unordered_map<AudioComponentInstance, void*> storage;
};

Registry& registry()
{
	static Registry* r = new Registry; // components stay registered for the life of the process
	return *r;
}

bool matches(const AudioComponentDescription& want, const AudioComponentDescription& have)
{
	return (!want.componentType || want.componentType == have.componentType) &&
		   (!want.componentSubType || want.componentSubType == have.componentSubType) &&
		   (!want.componentManufacturer || want.componentManufacturer == have.componentManufacturer);
}

// One fact about a component for a caller that passed somewhere to put it.
template <class T, class Read> OSStatus readComponent(AudioComponent component, T* out, Read read)
{
	if (!component || !out)
		return kAudio_ParamError;
	*out = read(*component);
	return noErr;
}

// The plug-in block of a live instance and the method for the selector; null with the status set otherwise.
template <class Method> Method method(AudioComponentInstance unit, SInt16 selector, void*& self, OSStatus& status)
{
	{
		Registry& r = registry();
		std::lock_guard<std::mutex> lock(r.mutex);
		if (!unit || !r.instances.count(unit))
		{
			status = badComponentInstance;
			return nullptr;
		}
	}
	self = unit->plugin;
	AudioComponentMethod m = unit->plugin->Lookup(selector);
	if (!m)
	{
		status = badComponentSelector;
		return nullptr;
	}
	status = noErr;
	return reinterpret_cast<Method>(m);
}
}

#define CALL(Type, selector, ...)                                  \
	void* self = nullptr;                                          \
	OSStatus status = noErr;                                       \
	auto m = method<Type>(inUnit, selector, self, status);         \
	return m ? m(self, ##__VA_ARGS__) : status

extern "C" {

AudioComponent AudioComponentRegister(const AudioComponentDescription* desc, CFStringRef name, UInt32 version,
	AudioComponentFactoryFunction factory)
{
	if (!desc || !factory)
		return nullptr;
	auto comp = std::make_unique<OpaqueAudioComponent>();
	comp->desc = *desc;
	comp->name = name ? CFStringCreateCopy(nullptr, name) : nullptr;
	comp->version = version;
	comp->factory = factory;
	Registry& r = registry();
	std::lock_guard<std::mutex> lock(r.mutex);
	r.components.push_back(std::move(comp));
	return r.components.back().get();
}

AudioComponent AudioComponentFindNext(AudioComponent inComponent, const AudioComponentDescription* inDesc)
{
	if (!inDesc)
		return nullptr;
	Registry& r = registry();
	std::lock_guard<std::mutex> lock(r.mutex);
	bool passed = inComponent == nullptr;
	for (auto& c : r.components)
	{
		if (!passed)
		{
			passed = c.get() == inComponent;
			continue;
		}
		if (matches(*inDesc, c->desc))
			return c.get();
	}
	return nullptr;
}

OSStatus AudioComponentGetDescription(AudioComponent inComponent, AudioComponentDescription* outDesc)
{
	return readComponent(inComponent, outDesc, [](const OpaqueAudioComponent& c) { return c.desc; });
}

OSStatus AudioComponentCopyName(AudioComponent inComponent, CFStringRef* outName)
{
	return readComponent(inComponent, outName,
		[](const OpaqueAudioComponent& c) { return c.name ? CFStringCreateCopy(nullptr, c.name) : nullptr; });
}

OSStatus AudioComponentGetVersion(AudioComponent inComponent, UInt32* outVersion)
{
	return readComponent(inComponent, outVersion, [](const OpaqueAudioComponent& c) { return c.version; });
}

OSStatus AudioComponentInstanceNew(AudioComponent inComponent, AudioComponentInstance* outInstance)
{
	if (!inComponent || !outInstance)
		return kAudio_ParamError;
	*outInstance = nullptr;
	AudioComponentPlugInInterface* plugin = inComponent->factory(&inComponent->desc);
	if (!plugin)
		return kAudio_MemFullError;
	if (!plugin->Open || !plugin->Close || !plugin->Lookup || plugin->reserved)
		return kAudioUnitErr_FailedInitialization; // not a plug-in interface this host can drive; nothing to free safely
	auto* instance = new ComponentInstanceRecord{inComponent, plugin};
	{
		Registry& r = registry();
		std::lock_guard<std::mutex> lock(r.mutex);
		r.instances.insert(instance);
	}
	const OSStatus status = plugin->Open(plugin, instance);
	if (status != noErr)
	{
		Registry& r = registry();
		std::lock_guard<std::mutex> lock(r.mutex);
		r.instances.erase(instance);
		delete instance;
		return status;
	}
	*outInstance = instance;
	return noErr;
}

OSStatus AudioComponentInstanceDispose(AudioComponentInstance inInstance)
{
	{
		Registry& r = registry();
		std::lock_guard<std::mutex> lock(r.mutex);
		if (!inInstance || !r.instances.erase(inInstance))
			return badComponentInstance;
		r.storage.erase(inInstance);
	}
	const OSStatus status = inInstance->plugin->Close(inInstance->plugin);
	delete inInstance;
	return status;
}

AudioComponent AudioComponentInstanceGetComponent(AudioComponentInstance inInstance)
{
	Registry& r = registry();
	std::lock_guard<std::mutex> lock(r.mutex);
	return inInstance && r.instances.count(inInstance) ? inInstance->component : nullptr;
}

void SetComponentInstanceStorage(ComponentInstance instance, void* storage)
{
	Registry& r = registry();
	std::lock_guard<std::mutex> lock(r.mutex);
	r.storage[instance] = storage;
}

void* GetComponentInstanceStorage(ComponentInstance instance)
{
	Registry& r = registry();
	std::lock_guard<std::mutex> lock(r.mutex);
	auto it = r.storage.find(instance);
	return it == r.storage.end() ? nullptr : it->second;
}

OSStatus AudioUnitInitialize(AudioUnit inUnit)
{
	CALL(OSStatus (*)(void*), kAudioUnitInitializeSelect);
}

OSStatus AudioUnitUninitialize(AudioUnit inUnit)
{
	CALL(OSStatus (*)(void*), kAudioUnitUninitializeSelect);
}

OSStatus AudioUnitGetPropertyInfo(AudioUnit inUnit, AudioUnitPropertyID inID, AudioUnitScope inScope,
	AudioUnitElement inElement, UInt32* outDataSize, Boolean* outWritable)
{
	CALL(OSStatus (*)(void*, AudioUnitPropertyID, AudioUnitScope, AudioUnitElement, UInt32*, Boolean*),
		kAudioUnitGetPropertyInfoSelect, inID, inScope, inElement, outDataSize, outWritable);
}

OSStatus AudioUnitGetProperty(AudioUnit inUnit, AudioUnitPropertyID inID, AudioUnitScope inScope,
	AudioUnitElement inElement, void* outData, UInt32* ioDataSize)
{
	CALL(OSStatus (*)(void*, AudioUnitPropertyID, AudioUnitScope, AudioUnitElement, void*, UInt32*),
		kAudioUnitGetPropertySelect, inID, inScope, inElement, outData, ioDataSize);
}

OSStatus AudioUnitSetProperty(AudioUnit inUnit, AudioUnitPropertyID inID, AudioUnitScope inScope,
	AudioUnitElement inElement, const void* inData, UInt32 inDataSize)
{
	CALL(OSStatus (*)(void*, AudioUnitPropertyID, AudioUnitScope, AudioUnitElement, const void*, UInt32),
		kAudioUnitSetPropertySelect, inID, inScope, inElement, inData, inDataSize);
}

OSStatus AudioUnitAddPropertyListener(AudioUnit inUnit, AudioUnitPropertyID inID, AudioUnitPropertyListenerProc inProc,
	void* inProcUserData)
{
	CALL(OSStatus (*)(void*, AudioUnitPropertyID, AudioUnitPropertyListenerProc, void*),
		kAudioUnitAddPropertyListenerSelect, inID, inProc, inProcUserData);
}

OSStatus AudioUnitRemovePropertyListenerWithUserData(AudioUnit inUnit, AudioUnitPropertyID inID,
	AudioUnitPropertyListenerProc inProc, void* inProcUserData)
{
	CALL(OSStatus (*)(void*, AudioUnitPropertyID, AudioUnitPropertyListenerProc, void*),
		kAudioUnitRemovePropertyListenerWithUserDataSelect, inID, inProc, inProcUserData);
}

OSStatus AudioUnitAddRenderNotify(AudioUnit inUnit, AURenderCallback inProc, void* inProcUserData)
{
	CALL(OSStatus (*)(void*, AURenderCallback, void*), kAudioUnitAddRenderNotifySelect, inProc, inProcUserData);
}

OSStatus AudioUnitRemoveRenderNotify(AudioUnit inUnit, AURenderCallback inProc, void* inProcUserData)
{
	CALL(OSStatus (*)(void*, AURenderCallback, void*), kAudioUnitRemoveRenderNotifySelect, inProc, inProcUserData);
}

OSStatus AudioUnitGetParameter(AudioUnit inUnit, AudioUnitParameterID inID, AudioUnitScope inScope,
	AudioUnitElement inElement, AudioUnitParameterValue* outValue)
{
	CALL(OSStatus (*)(void*, AudioUnitParameterID, AudioUnitScope, AudioUnitElement, AudioUnitParameterValue*),
		kAudioUnitGetParameterSelect, inID, inScope, inElement, outValue);
}

OSStatus AudioUnitSetParameter(AudioUnit inUnit, AudioUnitParameterID inID, AudioUnitScope inScope,
	AudioUnitElement inElement, AudioUnitParameterValue inValue, UInt32 inBufferOffsetInFrames)
{
	CALL(OSStatus (*)(void*, AudioUnitParameterID, AudioUnitScope, AudioUnitElement, AudioUnitParameterValue, UInt32),
		kAudioUnitSetParameterSelect, inID, inScope, inElement, inValue, inBufferOffsetInFrames);
}

OSStatus AudioUnitScheduleParameters(AudioUnit inUnit, const AudioUnitParameterEvent* inParameterEvent,
	UInt32 inNumParamEvents)
{
	CALL(OSStatus (*)(void*, const AudioUnitParameterEvent*, UInt32), kAudioUnitScheduleParametersSelect,
		inParameterEvent, inNumParamEvents);
}

OSStatus AudioUnitRender(AudioUnit inUnit, AudioUnitRenderActionFlags* ioActionFlags, const AudioTimeStamp* inTimeStamp,
	UInt32 inOutputBusNumber, UInt32 inNumberFrames, AudioBufferList* ioData)
{
	CALL(OSStatus (*)(void*, AudioUnitRenderActionFlags*, const AudioTimeStamp*, UInt32, UInt32, AudioBufferList*),
		kAudioUnitRenderSelect, ioActionFlags, inTimeStamp, inOutputBusNumber, inNumberFrames, ioData);
}

OSStatus AudioUnitReset(AudioUnit inUnit, AudioUnitScope inScope, AudioUnitElement inElement)
{
	CALL(OSStatus (*)(void*, AudioUnitScope, AudioUnitElement), kAudioUnitResetSelect, inScope, inElement);
}

OSStatus MusicDeviceMIDIEvent(MusicDeviceComponent inUnit, UInt32 inStatus, UInt32 inData1, UInt32 inData2,
	UInt32 inOffsetSampleFrame)
{
	CALL(OSStatus (*)(void*, UInt32, UInt32, UInt32, UInt32), kMusicDeviceMIDIEventSelect, inStatus, inData1, inData2,
		inOffsetSampleFrame);
}

OSStatus MusicDeviceSysEx(MusicDeviceComponent inUnit, const UInt8* inData, UInt32 inLength)
{
	CALL(OSStatus (*)(void*, const UInt8*, UInt32), kMusicDeviceSysExSelect, inData, inLength);
}

OSStatus MusicDeviceStartNote(MusicDeviceComponent inUnit, MusicDeviceInstrumentID inInstrument,
	MusicDeviceGroupID inGroupID, NoteInstanceID* outNoteInstanceID, UInt32 inOffsetSampleFrame,
	const MusicDeviceNoteParams* inParams)
{
	CALL(OSStatus (*)(void*, MusicDeviceInstrumentID, MusicDeviceGroupID, NoteInstanceID*, UInt32, const MusicDeviceNoteParams*),
		kMusicDeviceStartNoteSelect, inInstrument, inGroupID, outNoteInstanceID, inOffsetSampleFrame, inParams);
}

OSStatus MusicDeviceStopNote(MusicDeviceComponent inUnit, MusicDeviceGroupID inGroupID, NoteInstanceID inNoteInstanceID,
	UInt32 inOffsetSampleFrame)
{
	CALL(OSStatus (*)(void*, MusicDeviceGroupID, NoteInstanceID, UInt32), kMusicDeviceStopNoteSelect, inGroupID,
		inNoteInstanceID, inOffsetSampleFrame);
}
}
