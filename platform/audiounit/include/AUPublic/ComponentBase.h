#pragma once

#include <AudioUnit/AudioUnit.h>
#include <CoreServices/Components.h>

#include <cstddef>
#include <cstdlib>
#include <new>

// Turns whatever a member threw into the status the host sees: status codes are thrown as plain integers.
#define COMPONENT_CATCH                             \
	catch (OSStatus err) { result = err; }          \
	catch (OSErr err) { result = err; }             \
	catch (const std::bad_alloc&) { result = kAudio_MemFullError; } \
	catch (...) { result = -1; }

// The block the factory hands the host: the plug-in interface, the hooks that build and destroy the
// implementation, and the implementation itself at offset 64.
struct AudioComponentPlugInInstance
{
	AudioComponentPlugInInterface mPlugInInterface;
	void* (*mConstruct)(void* memory, AudioComponentInstance ci);
	void (*mDestruct)(void* memory);
	void* mPad[2];
	alignas(16) unsigned char mInstanceStorage[16];
};
static_assert(offsetof(AudioComponentPlugInInstance, mInstanceStorage) == 64, "implementation storage at offset 64");

class ComponentBase
{
public:
	explicit ComponentBase(AudioComponentInstance inInstance);
	virtual ~ComponentBase();

	// Called after construction, when virtual calls reach the finished object.
	virtual void PostConstructor();
	// Called before destruction, for the same reason.
	virtual void PreDestructor();
	// Reached only through the Component Manager's version selector.
	virtual OSStatus Version();

	AudioComponentInstance GetComponentInstance() const { return mComponentInstance; }
	// The instance's real codes, asked of the host; all zeros when the host does not know the instance.
	AudioComponentDescription GetComponentDescription() const;

	static OSStatus AP_Open(void* self, AudioComponentInstance compInstance);
	static OSStatus AP_Close(void* self);

	// Close, Version and CanDo of the Component Manager path.
	static OSStatus ComponentEntryDispatch(ComponentParameters* params, ComponentBase* This);

protected:
	AudioComponentInstance mComponentInstance;
};

template <class Lookup, class Implementor> class APFactory
{
public:
	static void* Construct(void* memory, AudioComponentInstance compInstance)
	{
		return new (memory) Implementor(compInstance);
	}

	static void Destruct(void* memory) { static_cast<Implementor*>(memory)->~Implementor(); }

	static AudioComponentPlugInInterface* Factory(const AudioComponentDescription*)
	{
		auto* acpi = static_cast<AudioComponentPlugInInstance*>(
			std::malloc(offsetof(AudioComponentPlugInInstance, mInstanceStorage) + sizeof(Implementor)));
		if (!acpi)
			return nullptr;
		acpi->mPlugInInterface.Open = ComponentBase::AP_Open;
		acpi->mPlugInInterface.Close = ComponentBase::AP_Close;
		acpi->mPlugInInterface.Lookup = Lookup::Lookup;
		acpi->mPlugInInterface.reserved = nullptr;
		acpi->mConstruct = Construct;
		acpi->mDestruct = Destruct;
		acpi->mPad[0] = nullptr;
		acpi->mPad[1] = nullptr;
		return &acpi->mPlugInInterface;
	}
};

// The Component Manager's storage slot of an instance: where the open call leaves the object.
extern "C" void SetComponentInstanceStorage(ComponentInstance instance, void* storage);
extern "C" void* GetComponentInstanceStorage(ComponentInstance instance);

template <class Class> class ComponentEntryPoint
{
public:
	static OSStatus Dispatch(ComponentParameters* params, Class* obj)
	{
		OSStatus result = noErr;
		try
		{
			if (params->what == kComponentOpenSelect)
			{
				auto ci = reinterpret_cast<AudioComponentInstance>(params->params[0]);
				Class* This = new Class(ci);
				This->PostConstructor();
				SetComponentInstanceStorage(ci, This);
			}
			else
				result = Class::ComponentEntryDispatch(params, obj);
		}
		COMPONENT_CATCH
		return result;
	}
};

#define AUDIOCOMPONENT_ENTRY(FactoryType, Class)                                                              \
	extern "C" OSStatus Class##Entry(ComponentParameters* params, Class* obj);                             \
	extern "C" OSStatus Class##Entry(ComponentParameters* params, Class* obj)                              \
	{                                                                                                      \
		return ComponentEntryPoint<Class>::Dispatch(params, obj);                                          \
	}                                                                                                      \
	extern "C" void* Class##Factory(const AudioComponentDescription* inDesc);                              \
	extern "C" void* Class##Factory(const AudioComponentDescription* inDesc)                               \
	{                                                                                                      \
		return FactoryType<Class>::Factory(inDesc);                                                     \
	}
