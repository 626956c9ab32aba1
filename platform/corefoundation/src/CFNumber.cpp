#include "CFObject.h"

#include <cmath>
#include <cstring>
#include <sstream>

struct __CFNumber : cfimpl::Object
{
	__CFNumber() : Object(cfimpl::kTypeNumber, nullptr) {}
	std::string describe() const override
	{
		std::ostringstream s;
		if (m_isFloat)
			s << m_double;
		else
			s << m_int;
		return s.str();
	}
	bool equals(const Object& other) const override
	{
		auto& o = static_cast<const __CFNumber&>(other);
		return value() == o.value() && (m_isFloat || o.m_isFloat || m_int == o.m_int);
	}
	CFHashCode hash() const override { return static_cast<CFHashCode>(m_isFloat ? static_cast<long long>(m_double) : m_int); }
	long double value() const { return m_isFloat ? m_double : m_int; }
	CFNumberType m_type = kCFNumberSInt32Type;
	bool m_isFloat = false;
	long long m_int = 0;
	double m_double = 0;
};

struct __CFBoolean : cfimpl::Object
{
	explicit __CFBoolean(bool value) : Object(cfimpl::kTypeBoolean, nullptr), m_value(value)
	{
		cfimpl::registerObject(this, true);
	}
	std::string describe() const override { return m_value ? "true" : "false"; }
	const bool m_value;
};

const CFBooleanRef kCFBooleanTrue = new __CFBoolean(true);
const CFBooleanRef kCFBooleanFalse = new __CFBoolean(false);

namespace
{
bool isFloatType(CFNumberType t)
{
	return t == kCFNumberFloat32Type || t == kCFNumberFloat64Type || t == kCFNumberFloatType ||
		   t == kCFNumberDoubleType || t == kCFNumberCGFloatType;
}

// Size and signedness of the integer types, by the C types they stand for on LP64.
int integerSize(CFNumberType t)
{
	switch (t)
	{
	case kCFNumberSInt8Type:
	case kCFNumberCharType: return 1;
	case kCFNumberSInt16Type:
	case kCFNumberShortType: return 2;
	case kCFNumberSInt32Type:
	case kCFNumberIntType: return 4;
	default: return 8;
	}
}

template <class T> bool storeInteger(long long v, void* out)
{
	T t = static_cast<T>(v);
	std::memcpy(out, &t, sizeof t);
	return static_cast<long long>(t) == v;
}
}

CFTypeID CFNumberGetTypeID(void)
{
	return cfimpl::kTypeNumber;
}

CFTypeID CFBooleanGetTypeID(void)
{
	return cfimpl::kTypeBoolean;
}

Boolean CFBooleanGetValue(CFBooleanRef boolean)
{
	return cfimpl::checkedAs<__CFBoolean>(boolean, cfimpl::kTypeBoolean, "CFBooleanGetValue")->m_value;
}

CFNumberRef CFNumberCreate(CFAllocatorRef, CFNumberType theType, const void* valuePtr)
{
	if (!valuePtr || theType < kCFNumberSInt8Type || theType > kCFNumberCGFloatType)
		cfimpl::fatal("CFNumberCreate called with NULL or an unknown number type");
	auto* n = new __CFNumber;
	n->m_type = theType;
	n->m_isFloat = isFloatType(theType);
	if (theType == kCFNumberFloat32Type || theType == kCFNumberFloatType)
		n->m_double = *static_cast<const float*>(valuePtr);
	else if (n->m_isFloat)
		n->m_double = *static_cast<const double*>(valuePtr);
	else
		switch (integerSize(theType))
		{
		case 1: n->m_int = *static_cast<const int8_t*>(valuePtr); break;
		case 2: n->m_int = *static_cast<const int16_t*>(valuePtr); break;
		case 4: n->m_int = *static_cast<const int32_t*>(valuePtr); break;
		default: n->m_int = *static_cast<const int64_t*>(valuePtr); break;
		}
	return cfimpl::track(n);
}

Boolean CFNumberGetValue(CFNumberRef number, CFNumberType theType, void* valuePtr)
{
	auto* n = cfimpl::checkedAs<__CFNumber>(number, cfimpl::kTypeNumber, "CFNumberGetValue");
	if (!valuePtr)
		return false;
	if (theType == kCFNumberFloat32Type || theType == kCFNumberFloatType)
	{
		float f = n->m_isFloat ? static_cast<float>(n->m_double) : static_cast<float>(n->m_int);
		std::memcpy(valuePtr, &f, sizeof f);
		return n->m_isFloat ? (std::isnan(n->m_double) || f == n->m_double) : static_cast<long long>(f) == n->m_int;
	}
	if (isFloatType(theType))
	{
		double d = n->m_isFloat ? n->m_double : static_cast<double>(n->m_int);
		std::memcpy(valuePtr, &d, sizeof d);
		return n->m_isFloat || static_cast<long long>(d) == n->m_int;
	}
	long long v = n->m_isFloat ? static_cast<long long>(n->m_double) : n->m_int;
	bool exact = !n->m_isFloat || static_cast<double>(v) == n->m_double;
	switch (integerSize(theType))
	{
	case 1: return storeInteger<int8_t>(v, valuePtr) && exact;
	case 2: return storeInteger<int16_t>(v, valuePtr) && exact;
	case 4: return storeInteger<int32_t>(v, valuePtr) && exact;
	default: return storeInteger<int64_t>(v, valuePtr) && exact;
	}
}

CFNumberType CFNumberGetType(CFNumberRef number)
{
	return cfimpl::checkedAs<__CFNumber>(number, cfimpl::kTypeNumber, "CFNumberGetType")->m_type;
}

Boolean CFNumberIsFloatType(CFNumberRef number)
{
	return cfimpl::checkedAs<__CFNumber>(number, cfimpl::kTypeNumber, "CFNumberIsFloatType")->m_isFloat;
}
