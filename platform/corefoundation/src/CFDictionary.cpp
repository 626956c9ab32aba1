#include "CFCollection.h"

#include <vector>

const CFDictionaryKeyCallBacks kCFTypeDictionaryKeyCallBacks = {0, cfimpl::retainType, cfimpl::releaseType,
	CFCopyDescription, cfimpl::equalType, CFHash};
const CFDictionaryValueCallBacks kCFTypeDictionaryValueCallBacks = {0, cfimpl::retainType, cfimpl::releaseType,
	CFCopyDescription, cfimpl::equalType};

struct __CFDictionary : cfimpl::Object
{
	__CFDictionary(CFAllocatorRef allocator, CFIndex capacity, const CFDictionaryKeyCallBacks* keys,
		const CFDictionaryValueCallBacks* values, bool isMutable)
		: Object(cfimpl::kTypeDictionary, allocator), m_capacity(capacity), m_mutable(isMutable)
	{
		if (keys)
			m_keyCallBacks = *keys;
		if (values)
			m_valueCallBacks = *values;
	}
	~__CFDictionary() override
	{
		for (auto& [k, v] : m_entries)
			forget(k, v);
	}
	std::string describe() const override
	{
		std::string s = "{\n";
		for (auto& [k, v] : m_entries)
			s += "    " + cfimpl::describeWith(m_keyCallBacks.copyDescription, k) + " = " +
				cfimpl::describeWith(m_valueCallBacks.copyDescription, v) + ";\n";
		return s + "}";
	}
	bool equals(const Object& other) const override
	{
		auto& o = static_cast<const __CFDictionary&>(other);
		if (m_entries.size() != o.m_entries.size())
			return false;
		for (auto& [k, v] : m_entries)
		{
			const std::pair<const void*, const void*>* e = o.find(k);
			if (!e || !cfimpl::equalWith(m_valueCallBacks, e->second, v))
				return false;
		}
		return true;
	}
	CFHashCode hash() const override { return m_entries.size(); }

	bool sameKey(const void* a, const void* b) const { return cfimpl::equalWith(m_keyCallBacks, a, b); }
	const std::pair<const void*, const void*>* find(const void* key) const
	{
		for (auto& e : m_entries)
			if (sameKey(e.first, key))
				return &e;
		return nullptr;
	}
	void forget(const void* k, const void* v)
	{
		cfimpl::releaseWith(m_keyCallBacks, m_allocator, k);
		cfimpl::releaseWith(m_valueCallBacks, m_allocator, v);
	}
	void set(const void* key, const void* value, bool replace, bool add)
	{
		for (auto& e : m_entries)
			if (sameKey(e.first, key))
			{
				if (!replace)
					return;
				const void* old = e.second;
				e.second = cfimpl::retainWith(m_valueCallBacks, m_allocator, value);
				cfimpl::releaseWith(m_valueCallBacks, m_allocator, old);
				return;
			}
		if (!add)
			return;
		if (m_capacity > 0 && static_cast<CFIndex>(m_entries.size()) >= m_capacity)
			cfimpl::fatal("CFDictionary would grow beyond the capacity it was created with");
		m_entries.emplace_back(cfimpl::retainWith(m_keyCallBacks, m_allocator, key),
			cfimpl::retainWith(m_valueCallBacks, m_allocator, value));
	}

	std::vector<std::pair<const void*, const void*>> m_entries; // insertion order
	CFDictionaryKeyCallBacks m_keyCallBacks{};
	CFDictionaryValueCallBacks m_valueCallBacks{};
	const CFIndex m_capacity;
	const bool m_mutable;
};

namespace
{
__CFDictionary* dictionary(CFTypeRef d, const char* function)
{
	return cfimpl::checkedAs<__CFDictionary>(d, cfimpl::kTypeDictionary, function);
}

__CFDictionary* mutableDictionary(CFTypeRef d, const char* function)
{
	return cfimpl::checkedMutable<__CFDictionary>(d, cfimpl::kTypeDictionary, function, "CFDictionary");
}
}

CFTypeID CFDictionaryGetTypeID(void)
{
	return cfimpl::kTypeDictionary;
}

CFDictionaryRef CFDictionaryCreate(CFAllocatorRef allocator, const void** keys, const void** values, CFIndex numValues,
	const CFDictionaryKeyCallBacks* keyCallBacks, const CFDictionaryValueCallBacks* valueCallBacks)
{
	if (numValues < 0 || (numValues > 0 && (!keys || !values)))
		cfimpl::fatal("CFDictionaryCreate called with a negative count or NULL arrays");
	auto* d = new __CFDictionary(allocator, 0, keyCallBacks, valueCallBacks, false);
	for (CFIndex i = 0; i < numValues; ++i)
		d->set(keys[i], values[i], true, true);
	return cfimpl::track(d);
}

CFMutableDictionaryRef CFDictionaryCreateMutable(CFAllocatorRef allocator, CFIndex capacity,
	const CFDictionaryKeyCallBacks* keyCallBacks, const CFDictionaryValueCallBacks* valueCallBacks)
{
	if (capacity < 0)
		cfimpl::fatal("CFDictionaryCreateMutable called with a negative capacity");
	return cfimpl::track(new __CFDictionary(allocator, capacity, keyCallBacks, valueCallBacks, true));
}

CFIndex CFDictionaryGetCount(CFDictionaryRef theDict)
{
	return static_cast<CFIndex>(dictionary(theDict, "CFDictionaryGetCount")->m_entries.size());
}

const void* CFDictionaryGetValue(CFDictionaryRef theDict, const void* key)
{
	auto* e = dictionary(theDict, "CFDictionaryGetValue")->find(key);
	return e ? e->second : nullptr;
}

Boolean CFDictionaryGetValueIfPresent(CFDictionaryRef theDict, const void* key, const void** value)
{
	auto* e = dictionary(theDict, "CFDictionaryGetValueIfPresent")->find(key);
	if (e && value)
		*value = e->second;
	return e != nullptr;
}

Boolean CFDictionaryContainsKey(CFDictionaryRef theDict, const void* key)
{
	return dictionary(theDict, "CFDictionaryContainsKey")->find(key) != nullptr;
}

void CFDictionaryGetKeysAndValues(CFDictionaryRef theDict, const void** keys, const void** values)
{
	auto* d = dictionary(theDict, "CFDictionaryGetKeysAndValues");
	for (size_t i = 0; i < d->m_entries.size(); ++i)
	{
		if (keys)
			keys[i] = d->m_entries[i].first;
		if (values)
			values[i] = d->m_entries[i].second;
	}
}

void CFDictionarySetValue(CFMutableDictionaryRef theDict, const void* key, const void* value)
{
	mutableDictionary(theDict, "CFDictionarySetValue")->set(key, value, true, true);
}

void CFDictionaryAddValue(CFMutableDictionaryRef theDict, const void* key, const void* value)
{
	mutableDictionary(theDict, "CFDictionaryAddValue")->set(key, value, false, true);
}

void CFDictionaryRemoveValue(CFMutableDictionaryRef theDict, const void* key)
{
	auto* d = mutableDictionary(theDict, "CFDictionaryRemoveValue");
	for (auto it = d->m_entries.begin(); it != d->m_entries.end(); ++it)
		if (d->sameKey(it->first, key))
		{
			auto [k, v] = *it;
			d->m_entries.erase(it);
			d->forget(k, v);
			return;
		}
}
