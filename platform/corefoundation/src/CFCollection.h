#pragma once

// What CFArray and CFDictionary share: the callbacks of the CF-type collections and the way a collection applies
// whichever callbacks its creator passed (any of them may be NULL).

#include "CFObject.h"

#include <cstdint>
#include <string>

namespace cfimpl
{
inline const void* retainType(CFAllocatorRef, const void* value)
{
	return CFRetain(value);
}

inline void releaseType(CFAllocatorRef, const void* value)
{
	CFRelease(value);
}

inline Boolean equalType(const void* a, const void* b)
{
	return CFEqual(a, b);
}

template <class CallBacks> const void* retainWith(const CallBacks& callBacks, CFAllocatorRef allocator, const void* value)
{
	return callBacks.retain ? callBacks.retain(allocator, value) : value;
}

template <class CallBacks> void releaseWith(const CallBacks& callBacks, CFAllocatorRef allocator, const void* value)
{
	if (callBacks.release)
		callBacks.release(allocator, value);
}

template <class CallBacks> bool equalWith(const CallBacks& callBacks, const void* a, const void* b)
{
	return a == b || (callBacks.equal && callBacks.equal(a, b));
}

// An element as a collection's description lists it; without a description callback only its address is known.
inline std::string describeWith(CFStringRef (*copyDescription)(const void*), const void* value)
{
	if (!copyDescription)
		return "<" + std::to_string(reinterpret_cast<uintptr_t>(value)) + ">";
	CFStringRef d = copyDescription(value);
	std::string s = d ? stringOf(d) : "(null)";
	if (d)
		CFRelease(d);
	return s;
}

// The collection behind a reference that is about to be changed; stops the program when it was created immutable.
template <class T> T* checkedMutable(CFTypeRef cf, CFTypeID typeID, const char* function, const char* typeName)
{
	T* r = checkedAs<T>(cf, typeID, function);
	if (!r->m_mutable)
		fatal(std::string(function) + " called on an immutable " + typeName);
	return r;
}
}
