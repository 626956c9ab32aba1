#include "AUPlugInDispatch.h"

#include <mutex>

namespace
{
std::recursive_mutex& openMutex()
{
	static std::recursive_mutex mutex;
	return mutex;
}
}

ComponentBase::ComponentBase(AudioComponentInstance inInstance) : mComponentInstance(inInstance) {}

ComponentBase::~ComponentBase() = default;

void ComponentBase::PostConstructor() {}

void ComponentBase::PreDestructor() {}

OSStatus ComponentBase::Version()
{
	return 1;
}

AudioComponentDescription ComponentBase::GetComponentDescription() const
{
	AudioComponentDescription desc{};
	AudioComponent comp = AudioComponentInstanceGetComponent(mComponentInstance);
	if (!comp || AudioComponentGetDescription(comp, &desc) != noErr)
		desc = AudioComponentDescription{};
	return desc;
}

OSStatus ComponentBase::AP_Open(void* self, AudioComponentInstance compInstance)
{
	OSStatus result = noErr;
	auto* acpi = static_cast<AudioComponentPlugInInstance*>(self);
	ComponentBase* cb = nullptr;
	try
	{
		std::lock_guard<std::recursive_mutex> lock(openMutex());
		cb = static_cast<ComponentBase*>(acpi->mConstruct(&acpi->mInstanceStorage, compInstance));
		cb->PostConstructor();
	}
	COMPONENT_CATCH
	if (result != noErr)
	{
		// The block came from malloc: destroy what was built and free it; the host must not close it.
		if (cb)
			acpi->mDestruct(&acpi->mInstanceStorage);
		std::free(acpi);
	}
	return result;
}

OSStatus ComponentBase::AP_Close(void* self)
{
	OSStatus result = noErr;
	auto* acpi = static_cast<AudioComponentPlugInInstance*>(self);
	try
	{
		static_cast<ComponentBase*>(static_cast<void*>(&acpi->mInstanceStorage))->PreDestructor();
	}
	COMPONENT_CATCH
	acpi->mDestruct(&acpi->mInstanceStorage);
	std::free(acpi);
	return result;
}

OSStatus ComponentBase::ComponentEntryDispatch(ComponentParameters* params, ComponentBase* This)
{
	OSStatus result = noErr;
	try
	{
		switch (params->what)
		{
		case kComponentCloseSelect:
			if (This)
			{
				This->PreDestructor();
				delete This;
			}
			break;
		case kComponentVersionSelect:
			result = This ? This->Version() : badComponentInstance;
			break;
		case kComponentCanDoSelect:
		{
			const auto selector = static_cast<SInt16>(params->params[1]);
			result = (selector >= kComponentUnregisterSelect && selector <= kComponentOpenSelect &&
						 selector != kComponentRegisterSelect && selector != kComponentTargetSelect &&
						 selector != kComponentUnregisterSelect) ||
							 AUMusicLookup::Lookup(selector) != nullptr
						 ? 1
						 : 0;
			break;
		}
		default:
			result = badComponentSelector;
			break;
		}
	}
	COMPONENT_CATCH
	return result;
}
