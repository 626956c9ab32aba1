#pragma once

// Reference-counted objects as manual reference counting has them. C++ stands in for Objective-C here: a selector
// `initWithFrame:` is the member function initWithFrame, `[super dealloc]` is a call to the base's dealloc, and
// `[[T alloc] init…]` is NSObject::alloc<T>() followed by the init member, which returns the object or nil (having
// released it). An object starts with one reference; the last release runs dealloc, which ends in NSObject's.

#include <CoreFoundation/CoreFoundation.h>
#include <objc/runtime.h>

#include <atomic>

// The framework's classes live once, in the program; a plug-in built with hidden symbols derives from them.
#define COCOA_EXPORT __attribute__((visibility("default")))

// What an id points to.
struct COCOA_EXPORT objc_object
{
	virtual ~objc_object() = default;
};

typedef long NSInteger;
typedef unsigned long NSUInteger;
typedef signed char BOOL;
#ifndef YES
#define YES ((BOOL)1)
#define NO ((BOOL)0)
#endif

// Toll-free bridged: an NSString* is a CFStringRef.
typedef const struct __CFString NSString;

class COCOA_EXPORT NSObject : public objc_object
{
public:
	template <class T>
	static T* alloc()
	{
		return new T;
	}

	NSObject* init() { return this; }
	NSObject* retain();
	void release();
	// Hands one reference to the innermost autorelease pool of this thread.
	NSObject* autorelease();
	NSUInteger retainCount() const { return m_retainCount.load(); }

	// The name a person reads; a constant string or one owned by the object, not to be released by the caller.
	virtual NSString* description();
	// Whether the object adopts the protocol of that name; a protocol here is an interface class derived from
	// NSObject, to which a conforming object may then be cast.
	virtual BOOL conformsToProtocol(const char* protocolName) const;

protected:
	NSObject() = default;
	~NSObject() override;
	// Frees the object; overrides end with their base's dealloc.
	virtual void dealloc();

private:
	NSObject(const NSObject&) = delete;
	NSObject& operator=(const NSObject&) = delete;

	std::atomic<NSUInteger> m_retainCount{1};
};

// An id as the NSObject it is (nil stays nil).
inline NSObject* asNSObject(id object)
{
	return static_cast<NSObject*>(object);
}
inline id asId(NSObject* object)
{
	return object;
}

// Autoreleased objects are released when the innermost pool of their thread is drained or destroyed.
class COCOA_EXPORT NSAutoreleasePool
{
public:
	NSAutoreleasePool();
	~NSAutoreleasePool();
	NSAutoreleasePool(const NSAutoreleasePool&) = delete;
	NSAutoreleasePool& operator=(const NSAutoreleasePool&) = delete;

	void drain();
	// Objects waiting in this thread's pools.
	static NSUInteger pendingCount();

private:
	NSAutoreleasePool* m_outer;
	size_t m_first;
};
