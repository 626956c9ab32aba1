#include "CFCollection.h"

#include <vector>

const CFArrayCallBacks kCFTypeArrayCallBacks = {0, cfimpl::retainType, cfimpl::releaseType, CFCopyDescription,
	cfimpl::equalType};

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
			cfimpl::releaseWith(m_callBacks, m_allocator, v);
	}
	std::string describe() const override
	{
		std::string s = "(\n";
		for (size_t i = 0; i < m_values.size(); ++i)
			s += "    " + cfimpl::describeWith(m_callBacks.copyDescription, m_values[i]) +
				(i + 1 < m_values.size() ? ",\n" : "\n");
		return s + ")";
	}
	bool equals(const Object& other) const override
	{
		auto& o = static_cast<const __CFArray&>(other);
		if (m_values.size() != o.m_values.size())
			return false;
		for (size_t i = 0; i < m_values.size(); ++i)
			if (!cfimpl::equalWith(m_callBacks, m_values[i], o.m_values[i]))
				return false;
		return true;
	}
	CFHashCode hash() const override { return m_values.size(); }

	void append(const void* value)
	{
		m_values.push_back(cfimpl::retainWith(m_callBacks, m_allocator, value));
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
	return cfimpl::checkedMutable<__CFArray>(a, cfimpl::kTypeArray, function, "CFArray");
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
	cfimpl::releaseWith(a->m_callBacks, a->m_allocator, v);
}

void CFArrayRemoveAllValues(CFMutableArrayRef theArray)
{
	__CFArray* a = mutableArray(theArray, "CFArrayRemoveAllValues");
	std::vector<const void*> values;
	values.swap(a->m_values);
	for (const void* v : values)
		cfimpl::releaseWith(a->m_callBacks, a->m_allocator, v);
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
