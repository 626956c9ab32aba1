#include "CFObject.h"

#include <cstdio>
#include <functional>
#include <vector>

struct __CFData : cfimpl::Object
{
	__CFData(CFAllocatorRef allocator, bool isMutable) : Object(cfimpl::kTypeData, allocator), m_mutable(isMutable) {}
	std::string describe() const override
	{
		std::string s = "<CFData " + std::to_string(m_bytes.size()) + " bytes>{";
		char hex[3];
		for (size_t i = 0; i < m_bytes.size() && i < 24; ++i)
		{
			std::snprintf(hex, sizeof hex, "%02x", m_bytes[i]);
			s += hex;
		}
		return s + (m_bytes.size() > 24 ? "...}" : "}");
	}
	bool equals(const Object& other) const override { return m_bytes == static_cast<const __CFData&>(other).m_bytes; }
	CFHashCode hash() const override
	{
		return std::hash<std::string_view>()(std::string_view(reinterpret_cast<const char*>(m_bytes.data()), m_bytes.size()));
	}
	std::vector<UInt8> m_bytes;
	const bool m_mutable;
	CFIndex m_capacity = 0;
};

namespace
{
__CFData* data(CFTypeRef d, const char* function)
{
	return cfimpl::checkedAs<__CFData>(d, cfimpl::kTypeData, function);
}
}

CFTypeID CFDataGetTypeID(void)
{
	return cfimpl::kTypeData;
}

CFDataRef CFDataCreate(CFAllocatorRef allocator, const UInt8* bytes, CFIndex length)
{
	if (length < 0 || (length > 0 && !bytes))
		cfimpl::fatal("CFDataCreate called with a negative length or NULL bytes");
	auto* d = new __CFData(allocator, false);
	d->m_bytes.assign(bytes, bytes + length);
	return cfimpl::track(d);
}

CFMutableDataRef CFDataCreateMutable(CFAllocatorRef allocator, CFIndex capacity)
{
	if (capacity < 0)
		cfimpl::fatal("CFDataCreateMutable called with a negative capacity");
	auto* d = new __CFData(allocator, true);
	d->m_capacity = capacity;
	return cfimpl::track(d);
}

void CFDataAppendBytes(CFMutableDataRef theData, const UInt8* bytes, CFIndex length)
{
	__CFData* d = data(theData, "CFDataAppendBytes");
	if (!d->m_mutable)
		cfimpl::fatal("CFDataAppendBytes called on an immutable CFData");
	if (length < 0 || (length > 0 && !bytes))
		cfimpl::fatal("CFDataAppendBytes called with a negative length or NULL bytes");
	if (d->m_capacity > 0 && static_cast<CFIndex>(d->m_bytes.size()) + length > d->m_capacity)
		cfimpl::fatal("CFDataAppendBytes would grow a CFData beyond its capacity");
	d->m_bytes.insert(d->m_bytes.end(), bytes, bytes + length);
}

CFIndex CFDataGetLength(CFDataRef theData)
{
	return static_cast<CFIndex>(data(theData, "CFDataGetLength")->m_bytes.size());
}

const UInt8* CFDataGetBytePtr(CFDataRef theData)
{
	return data(theData, "CFDataGetBytePtr")->m_bytes.data();
}

UInt8* CFDataGetMutableBytePtr(CFMutableDataRef theData)
{
	__CFData* d = data(theData, "CFDataGetMutableBytePtr");
	return d->m_mutable ? d->m_bytes.data() : nullptr;
}
