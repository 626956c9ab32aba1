#include "CFObject.h"

#include <vector>

namespace
{
const void* retainType(CFAllocatorRef, const void* value)
{
	return CFRetain(value);
}

void releaseType(CFAllocatorRef, const void* value)
{
	CFRelease(value);
}

Boolean equalType(const void* a, const void* b)
{
	return CFEqual(a, b);
}
}

const CFArrayCallBacks kCFTypeArrayCallBacks = {0, retainType, releaseType, CFCopyDescription, equalType};

struct __CFArray : cfimpl::Object
{
	__CFArray(CFAllocatorRef allocator, CFIndex capacity, const CFArrayCallBacks* callBacks, bool isMutable)
		: Object(cfimpl::kTypeArray, allocator), m_capacity(capacity), m_mutable(isMutable)
	{
		if (callBacks)
			m_callBacks = *callBacks;
	}
	~__CFArray() override
	{
		for (const void* v : m_values)
			if (m_callBacks.release)
				m_callBacks.release(m_allocator, v);
	}
	std::string describe() const override
	{
		std::string s = "(\n";
		for (size_t i = 0; i < m_values.size(); ++i)
		{
			std::string item;
			if (m_callBacks.copyDescription)
			{
				CFStringRef d = m_callBacks.copyDescription(m_values[i]);
				item = d ? cfimpl::stringOf(d) : "(null)";
				if (d)
					CFRelease(d);
			}
			else
				item = "<" + std::to_string(reinterpret_cast<uintptr_t>(m_values[i])) + ">";
			s += "    " + item + (i + 1 < m_values.size() ? ",\n" : "\n");
		}
		return s + ")";
	}
	bool equals(const Object& other) const override
	{
		auto& o = static_cast<const __CFArray&>(other);
		if (m_values.size() != o.m_values.size())
			return false;
		for (size_t i = 0; i < m_values.size(); ++i)
			if (m_values[i] != o.m_values[i] && !(m_callBacks.equal && m_callBacks.equal(m_values[i], o.m_values[i])))
				return false;
		return true;
	}
	CFHashCode hash() const override { return m_values.size(); }

	void append(const void* value)
	{
		m_values.push_back(m_callBacks.retain ? m_callBacks.retain(m_allocator, value) : value);
	}

	std::vector<const void*> m_values;
	CFArrayCallBacks m_callBacks{};
	const CFIndex m_capacity;
	const bool m_mutable;
};

namespace
{
__CFArray* array(CFTypeRef a, const char* function)
{
	return cfimpl::checkedAs<__CFArray>(a, cfimpl::kTypeArray, function);
}

__CFArray* mutableArray(CFTypeRef a, const char* function)
{
	__CFArray* r = array(a, function);
	if (!r->m_mutable)
		cfimpl::fatal(std::string(function) + " called on an immutable CFArray");
	return r;
}
}

CFTypeID CFArrayGetTypeID(void)
{
	return cfimpl::kTypeArray;
}

CFArrayRef CFArrayCreate(CFAllocatorRef allocator, const void** values, CFIndex numValues, const CFArrayCallBacks* callBacks)
{
	if (numValues < 0 || (numValues > 0 && !values))
		cfimpl::fatal("CFArrayCreate called with a negative count or NULL values");
	auto* a = new __CFArray(allocator, 0, callBacks, false);
	for (CFIndex i = 0; i < numValues; ++i)
		a->append(values[i]);
	return cfimpl::track(a);
}

CFMutableArrayRef CFArrayCreateMutable(CFAllocatorRef allocator, CFIndex capacity, const CFArrayCallBacks* callBacks)
{
	if (capacity < 0)
		cfimpl::fatal("CFArrayCreateMutable called with a negative capacity");
	return cfimpl::track(new __CFArray(allocator, capacity, callBacks, true));
}

void CFArrayAppendValue(CFMutableArrayRef theArray, const void* value)
{
	__CFArray* a = mutableArray(theArray, "CFArrayAppendValue");
	if (a->m_capacity > 0 && static_cast<CFIndex>(a->m_values.size()) >= a->m_capacity)
		cfimpl::fatal("CFArrayAppendValue would grow a CFArray beyond the capacity it was created with");
	a->append(value);
}

void CFArrayRemoveValueAtIndex(CFMutableArrayRef theArray, CFIndex idx)
{
	__CFArray* a = mutableArray(theArray, "CFArrayRemoveValueAtIndex");
	if (idx < 0 || idx >= static_cast<CFIndex>(a->m_values.size()))
		cfimpl::fatal("CFArrayRemoveValueAtIndex called with an index out of bounds");
	const void* v = a->m_values[static_cast<size_t>(idx)];
	a->m_values.erase(a->m_values.begin() + idx);
	if (a->m_callBacks.release)
		a->m_callBacks.release(a->m_allocator, v);
}

void CFArrayRemoveAllValues(CFMutableArrayRef theArray)
{
	__CFArray* a = mutableArray(theArray, "CFArrayRemoveAllValues");
	std::vector<const void*> values;
	values.swap(a->m_values);
	for (const void* v : values)
		if (a->m_callBacks.release)
			a->m_callBacks.release(a->m_allocator, v);
}

CFIndex CFArrayGetCount(CFArrayRef theArray)
{
	return static_cast<CFIndex>(array(theArray, "CFArrayGetCount")->m_values.size());
}

const void* CFArrayGetValueAtIndex(CFArrayRef theArray, CFIndex idx)
{
	__CFArray* a = array(theArray, "CFArrayGetValueAtIndex");
	if (idx < 0 || idx >= static_cast<CFIndex>(a->m_values.size()))
		cfimpl::fatal("CFArrayGetValueAtIndex called with an index out of bounds");
	return a->m_values[static_cast<size_t>(idx)];
}
