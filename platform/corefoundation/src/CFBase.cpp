#include "CFObject.h"

#include <CoreFoundation/CFStandIn.h>

#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <sstream>
#include <unordered_map>
#include <unordered_set>

#if defined(__SANITIZE_THREAD__)
#define VIREL_THREAD_SANITIZER 1
#elif defined(__has_feature)
#if __has_feature(thread_sanitizer)
#define VIREL_THREAD_SANITIZER 1
#endif
#endif

#ifdef VIREL_THREAD_SANITIZER
extern "C" void AnnotateIgnoreSyncBegin(const char* file, int line);
extern "C" void AnnotateIgnoreSyncEnd(const char* file, int line);
extern "C" void __tsan_ignore_thread_begin();
extern "C" void __tsan_ignore_thread_end();
#endif

namespace
{
struct Registry
{
	std::mutex mutex;
	std::unordered_set<const cfimpl::Object*> alive;
	long counted = 0;
	std::unordered_map<void*, CFIndex> blocks;
};

Registry& registry()
{
	static Registry* instance = new Registry; // never destroyed: objects may be released during static teardown
	return *instance;
}

// The registry under its lock. Real Core Foundation keeps no such registry: two threads that only meet in it
// would not be ordered on a Mac, so ThreadSanitizer is kept from seeing the lock (or the registry's own
// memory, which only the lock orders) and still reports a race between them.
class RegistryAccess
{
public:
	RegistryAccess() : m_registry(registry())
	{
#ifdef VIREL_THREAD_SANITIZER
		AnnotateIgnoreSyncBegin(__FILE__, __LINE__);
		__tsan_ignore_thread_begin();
#endif
		m_registry.mutex.lock();
	}
	~RegistryAccess()
	{
		m_registry.mutex.unlock();
#ifdef VIREL_THREAD_SANITIZER
		__tsan_ignore_thread_end();
		AnnotateIgnoreSyncEnd(__FILE__, __LINE__);
#endif
	}
	RegistryAccess(const RegistryAccess&) = delete;
	RegistryAccess& operator=(const RegistryAccess&) = delete;

	Registry* operator->() const { return &m_registry; }

private:
	Registry& m_registry;
};

const char* typeName(CFTypeID id)
{
	switch (id)
	{
	case cfimpl::kTypeString: return "CFString";
	case cfimpl::kTypeBoolean: return "CFBoolean";
	case cfimpl::kTypeNumber: return "CFNumber";
	case cfimpl::kTypeData: return "CFData";
	case cfimpl::kTypeArray: return "CFArray";
	case cfimpl::kTypeDictionary: return "CFDictionary";
	case cfimpl::kTypeURL: return "CFURL";
	case cfimpl::kTypeBundle: return "CFBundle";
	case cfimpl::kTypeRunLoop: return "CFRunLoop";
	case cfimpl::kTypeRunLoopTimer: return "CFRunLoopTimer";
	case cfimpl::kTypeError: return "CFError";
	default: return "CFType";
	}
}
}

namespace cfimpl
{
void fatal(const std::string& message)
{
	std::fprintf(stderr, "CoreFoundation: %s\n", message.c_str());
	std::fflush(stderr);
	std::abort();
}

void registerObject(Object* object, bool constant)
{
	object->m_constant = constant;
	RegistryAccess r;
	r->alive.insert(object);
	if (!constant)
		++r->counted;
}

Object* checked(CFTypeRef cf, CFTypeID typeID, const char* function)
{
	if (!cf)
		fatal(std::string(function) + " called with NULL");
	auto* object = static_cast<const Object*>(cf);
	{
		RegistryAccess r;
		if (!r->alive.count(object))
		{
			std::ostringstream s;
			s << function << " called with " << cf << ", which is not a live object (freed twice or never created)";
			fatal(s.str());
		}
	}
	if (typeID != 0 && object->m_typeID != typeID)
		fatal(std::string(function) + " called with a " + typeName(object->m_typeID) + " instead of a " + typeName(typeID));
	return const_cast<Object*>(object);
}

std::string Object::describe() const
{
	std::ostringstream s;
	s << "<" << typeName(m_typeID) << " " << static_cast<const void*>(this) << ">";
	return s.str();
}

std::string describe(CFTypeRef cf)
{
	if (!cf)
		return "(null)";
	return checked(cf, 0, "CFCopyDescription")->describe();
}
}

namespace cf
{
long liveObjectCount()
{
	return RegistryAccess()->counted;
}

long liveAllocationCount()
{
	return static_cast<long>(RegistryAccess()->blocks.size());
}
}

CFTypeRef CFRetain(CFTypeRef cf)
{
	cfimpl::Object* object = cfimpl::checked(cf, 0, "CFRetain");
	if (!object->m_constant)
		++object->m_retainCount;
	return cf;
}

void CFRelease(CFTypeRef cf)
{
	cfimpl::Object* object = cfimpl::checked(cf, 0, "CFRelease");
	if (object->m_constant)
		return;
	if (--object->m_retainCount > 0)
		return;
	{
		RegistryAccess r;
		r->alive.erase(object);
		--r->counted;
	}
	// Outside the lock: the destructor releases what the object holds.
	delete object;
}

CFIndex CFGetRetainCount(CFTypeRef cf)
{
	return cfimpl::checked(cf, 0, "CFGetRetainCount")->m_retainCount;
}

CFTypeID CFGetTypeID(CFTypeRef cf)
{
	return cfimpl::checked(cf, 0, "CFGetTypeID")->m_typeID;
}

Boolean CFEqual(CFTypeRef cf1, CFTypeRef cf2)
{
	cfimpl::Object* a = cfimpl::checked(cf1, 0, "CFEqual");
	cfimpl::Object* b = cfimpl::checked(cf2, 0, "CFEqual");
	if (a == b)
		return true;
	return a->m_typeID == b->m_typeID && a->equals(*b);
}

CFHashCode CFHash(CFTypeRef cf)
{
	return cfimpl::checked(cf, 0, "CFHash")->hash();
}

CFStringRef CFCopyDescription(CFTypeRef cf)
{
	return cfimpl::makeString(cfimpl::describe(cf));
}

CFStringRef CFCopyTypeIDDescription(CFTypeID typeID)
{
	return cfimpl::makeString(typeName(typeID));
}

CFAllocatorRef CFGetAllocator(CFTypeRef cf)
{
	return cfimpl::checked(cf, 0, "CFGetAllocator")->m_allocator;
}

CFAllocatorRef CFAllocatorGetDefault(void)
{
	return kCFAllocatorDefault;
}

void* CFAllocatorAllocate(CFAllocatorRef, CFIndex size, CFOptionFlags)
{
	if (size <= 0)
		return nullptr;
	void* block = std::malloc(static_cast<size_t>(size));
	if (!block)
		return nullptr;
	RegistryAccess()->blocks[block] = size;
	return block;
}

void CFAllocatorDeallocate(CFAllocatorRef, void* ptr)
{
	if (!ptr)
		return;
	if (!RegistryAccess()->blocks.erase(ptr))
		cfimpl::fatal("CFAllocatorDeallocate called with a block the allocator did not hand out (or freed twice)");
	std::free(ptr);
}
