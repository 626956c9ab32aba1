#include <Foundation/NSObject.h>

#include <cstdio>
#include <vector>

namespace
{
// This thread's autoreleased objects, innermost pool last.
thread_local std::vector<NSObject*> t_autoreleased;
thread_local NSAutoreleasePool* t_innermost = nullptr;
}

NSObject::~NSObject() = default;

NSObject* NSObject::retain()
{
	m_retainCount.fetch_add(1, std::memory_order_relaxed);
	return this;
}

void NSObject::release()
{
	if (m_retainCount.fetch_sub(1, std::memory_order_acq_rel) == 1)
		dealloc();
}

NSObject* NSObject::autorelease()
{
	if (!t_innermost)
	{
		std::fprintf(stderr, "NSObject %p autoreleased with no pool in place - just leaking\n", static_cast<void*>(this));
		return this;
	}
	t_autoreleased.push_back(this);
	return this;
}

NSString* NSObject::description()
{
	return CFSTR("NSObject");
}

BOOL NSObject::conformsToProtocol(const char*) const
{
	return NO;
}

void NSObject::dealloc()
{
	delete this;
}

NSAutoreleasePool::NSAutoreleasePool() : m_outer(t_innermost), m_first(t_autoreleased.size())
{
	t_innermost = this;
}

NSAutoreleasePool::~NSAutoreleasePool()
{
	drain();
	t_innermost = m_outer;
}

void NSAutoreleasePool::drain()
{
	// A dealloc may autorelease more; those belong to this pool as well.
	while (t_autoreleased.size() > m_first)
	{
		NSObject* object = t_autoreleased.back();
		t_autoreleased.pop_back();
		object->release();
	}
}

NSUInteger NSAutoreleasePool::pendingCount()
{
	return t_autoreleased.size();
}
