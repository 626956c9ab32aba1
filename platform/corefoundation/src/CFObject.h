#pragma once

// The object model behind every CF reference: a C++ object with a retain count, registered while alive so
// that a reference to a freed object is caught before it is touched.

#include <CoreFoundation/CoreFoundation.h>

#include <atomic>
#include <string>

namespace cfimpl
{
enum : CFTypeID
{
	kTypeAllocator = 2,
	kTypeString = 7,
	kTypeBoolean = 21,
	kTypeNumber = 22,
	kTypeData = 20,
	kTypeArray = 19,
	kTypeDictionary = 18,
	kTypeURL = 29,
	kTypeBundle = 31,
	kTypeRunLoop = 43,
	kTypeRunLoopTimer = 47,
	kTypeError = 1,
};

struct Object
{
	Object(CFTypeID typeID, CFAllocatorRef allocator) : m_typeID(typeID), m_allocator(allocator) {}
	virtual ~Object() = default;
	Object(const Object&) = delete;
	Object& operator=(const Object&) = delete;

	// The UTF-8 text CFCopyDescription returns.
	virtual std::string describe() const;
	virtual bool equals(const Object& other) const { return this == &other; }
	virtual CFHashCode hash() const { return reinterpret_cast<CFHashCode>(this); }

	const CFTypeID m_typeID;
	const CFAllocatorRef m_allocator;
	std::atomic<CFIndex> m_retainCount{1};
	bool m_constant = false;
};

// Registers a new object as alive (counted) and returns it.
template <class T> T* track(T* object);
void registerObject(Object* object, bool constant);

// The live object behind a reference; stops the program with a message when the reference is NULL, freed or
// of another type (typeID 0 accepts any type).
Object* checked(CFTypeRef cf, CFTypeID typeID, const char* function);

template <class T> T* checkedAs(CFTypeRef cf, CFTypeID typeID, const char* function)
{
	return static_cast<T*>(checked(cf, typeID, function));
}

[[noreturn]] void fatal(const std::string& message);

std::string describe(CFTypeRef cf);
std::string stringOf(CFStringRef s);
CFStringRef makeString(const std::string& utf8);

template <class T> T* track(T* object)
{
	registerObject(object, false);
	return object;
}
}

// The concrete objects, shared between the files that build and read them.
struct __CFString : cfimpl::Object
{
	explicit __CFString(std::string text) : Object(cfimpl::kTypeString, nullptr), m_text(std::move(text)) {}
	std::string describe() const override { return m_text; }
	bool equals(const Object& other) const override;
	CFHashCode hash() const override;
	std::string m_text; // UTF-8
};
