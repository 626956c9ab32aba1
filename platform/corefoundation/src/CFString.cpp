#include "CFObject.h"

#include <cctype>
#include <cstdio>
#include <cstring>
#include <functional>
#include <map>
#include <mutex>

namespace
{
bool validUtf8(const unsigned char* s, size_t n)
{
	size_t i = 0;
	while (i < n)
	{
		unsigned char c = s[i];
		size_t extra;
		uint32_t cp;
		if (c < 0x80)
		{
			++i;
			continue;
		}
		else if ((c & 0xE0) == 0xC0)
			extra = 1, cp = c & 0x1F;
		else if ((c & 0xF0) == 0xE0)
			extra = 2, cp = c & 0x0F;
		else if ((c & 0xF8) == 0xF0)
			extra = 3, cp = c & 0x07;
		else
			return false;
		if (i + extra >= n)
			return false;
		for (size_t k = 1; k <= extra; ++k)
		{
			if ((s[i + k] & 0xC0) != 0x80)
				return false;
			cp = (cp << 6) | (s[i + k] & 0x3F);
		}
		static const uint32_t minimum[] = {0, 0x80, 0x800, 0x10000};
		if (cp < minimum[extra] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))
			return false;
		i += extra + 1;
	}
	return true;
}

// Converts bytes in the given encoding to UTF-8; false when they are not valid in it or the encoding is not
// one this platform knows.
bool toUtf8(const unsigned char* bytes, size_t n, CFStringEncoding encoding, std::string& out)
{
	switch (encoding)
	{
	case kCFStringEncodingUTF8:
		if (!validUtf8(bytes, n))
			return false;
		out.assign(reinterpret_cast<const char*>(bytes), n);
		return true;
	case kCFStringEncodingASCII:
		for (size_t i = 0; i < n; ++i)
			if (bytes[i] >= 0x80)
				return false;
		out.assign(reinterpret_cast<const char*>(bytes), n);
		return true;
	case kCFStringEncodingISOLatin1:
		out.clear();
		for (size_t i = 0; i < n; ++i)
		{
			if (bytes[i] < 0x80)
				out += static_cast<char>(bytes[i]);
			else
			{
				out += static_cast<char>(0xC0 | (bytes[i] >> 6));
				out += static_cast<char>(0x80 | (bytes[i] & 0x3F));
			}
		}
		return true;
	default:
		return false;
	}
}

// UTF-8 to the given encoding; false when a character has no representation in it.
bool fromUtf8(const std::string& text, CFStringEncoding encoding, std::string& out)
{
	if (encoding == kCFStringEncodingUTF8)
	{
		out = text;
		return true;
	}
	out.clear();
	for (size_t i = 0; i < text.size(); ++i)
	{
		unsigned char c = static_cast<unsigned char>(text[i]);
		if (c < 0x80)
		{
			out += static_cast<char>(c);
			continue;
		}
		if (encoding != kCFStringEncodingISOLatin1 || (c & 0xE0) != 0xC0 || c > 0xC3 || i + 1 >= text.size())
			return false;
		out += static_cast<char>(((c & 0x1F) << 6) | (static_cast<unsigned char>(text[i + 1]) & 0x3F));
		++i;
	}
	return true;
}

CFIndex utf16Length(const std::string& text)
{
	CFIndex n = 0;
	for (size_t i = 0; i < text.size(); ++i)
	{
		unsigned char c = static_cast<unsigned char>(text[i]);
		if ((c & 0xC0) == 0x80)
			continue;
		n += (c >= 0xF0) ? 2 : 1;
	}
	return n;
}

// printf-style formatting with %@ for CF objects.
std::string format(const std::string& fmt, va_list args)
{
	std::string out;
	for (size_t i = 0; i < fmt.size(); ++i)
	{
		if (fmt[i] != '%')
		{
			out += fmt[i];
			continue;
		}
		size_t start = i++;
		while (i < fmt.size() && std::strchr("-+ #0123456789.*", fmt[i]))
			++i;
		std::string lengthModifier;
		while (i < fmt.size() && std::strchr("hlqLzjt", fmt[i]))
			lengthModifier += fmt[i++];
		if (i >= fmt.size())
			break;
		char conversion = fmt[i];
		std::string directive = fmt.substr(start, i - start + 1);
		char buffer[512];
		buffer[0] = 0;
		switch (conversion)
		{
		case '%':
			out += '%';
			continue;
		case '@':
			out += cfimpl::describe(va_arg(args, CFTypeRef));
			continue;
		case 'd':
		case 'i':
		case 'u':
		case 'x':
		case 'X':
		case 'o':
		case 'c':
			if (lengthModifier.empty() || lengthModifier == "h" || lengthModifier == "hh")
				std::snprintf(buffer, sizeof buffer, directive.c_str(), va_arg(args, int));
			else if (lengthModifier == "ll" || lengthModifier == "q")
			{
				std::string s = directive;
				if (lengthModifier == "q")
					s.replace(s.find('q'), 1, "ll");
				std::snprintf(buffer, sizeof buffer, s.c_str(), va_arg(args, long long));
			}
			else
				std::snprintf(buffer, sizeof buffer, directive.c_str(), va_arg(args, long));
			break;
		case 'f':
		case 'F':
		case 'g':
		case 'G':
		case 'e':
		case 'E':
			std::snprintf(buffer, sizeof buffer, directive.c_str(), va_arg(args, double));
			break;
		case 's':
		{
			const char* s = va_arg(args, const char*);
			out += s ? s : "(null)";
			continue;
		}
		case 'p':
			std::snprintf(buffer, sizeof buffer, "%p", va_arg(args, void*));
			break;
		default:
			out += directive;
			continue;
		}
		out += buffer;
	}
	return out;
}
}

bool __CFString::equals(const Object& other) const
{
	return m_text == static_cast<const __CFString&>(other).m_text;
}

CFHashCode __CFString::hash() const
{
	return std::hash<std::string>()(m_text);
}

namespace cfimpl
{
std::string stringOf(CFStringRef s)
{
	return checkedAs<__CFString>(s, kTypeString, "CFString")->m_text;
}

CFStringRef makeString(const std::string& utf8)
{
	return track(new __CFString(utf8));
}
}

CFTypeID CFStringGetTypeID(void)
{
	return cfimpl::kTypeString;
}

CFStringRef __CFStringMakeConstantString(const char* cStr)
{
	static std::mutex mutex;
	static auto* constants = new std::map<std::string, __CFString*>;
	std::lock_guard<std::mutex> lock(mutex);
	__CFString*& s = (*constants)[cStr];
	if (!s)
	{
		s = new __CFString(cStr);
		cfimpl::registerObject(s, true);
	}
	return s;
}

CFStringRef CFStringCreateWithCString(CFAllocatorRef, const char* cStr, CFStringEncoding encoding)
{
	if (!cStr)
		cfimpl::fatal("CFStringCreateWithCString called with NULL");
	std::string text;
	if (!toUtf8(reinterpret_cast<const unsigned char*>(cStr), std::strlen(cStr), encoding, text))
		return nullptr;
	return cfimpl::makeString(text);
}

CFStringRef CFStringCreateWithBytes(CFAllocatorRef, const UInt8* bytes, CFIndex numBytes, CFStringEncoding encoding,
	Boolean)
{
	if (numBytes < 0 || (!bytes && numBytes > 0))
		return nullptr;
	std::string text;
	if (!toUtf8(bytes, static_cast<size_t>(numBytes), encoding, text))
		return nullptr;
	return cfimpl::makeString(text);
}

CFStringRef CFStringCreateCopy(CFAllocatorRef, CFStringRef theString)
{
	return cfimpl::makeString(cfimpl::stringOf(theString));
}

CFStringRef CFStringCreateWithFormatAndArguments(CFAllocatorRef, CFDictionaryRef, CFStringRef fmt, va_list arguments)
{
	return cfimpl::makeString(format(cfimpl::stringOf(fmt), arguments));
}

CFStringRef CFStringCreateWithFormat(CFAllocatorRef alloc, CFDictionaryRef formatOptions, CFStringRef fmt, ...)
{
	va_list args;
	va_start(args, fmt);
	CFStringRef s = CFStringCreateWithFormatAndArguments(alloc, formatOptions, fmt, args);
	va_end(args);
	return s;
}

CFIndex CFStringGetLength(CFStringRef theString)
{
	return utf16Length(cfimpl::stringOf(theString));
}

CFIndex CFStringGetMaximumSizeForEncoding(CFIndex length, CFStringEncoding encoding)
{
	return encoding == kCFStringEncodingUTF8 ? length * 3 : length;
}

Boolean CFStringGetCString(CFStringRef theString, char* buffer, CFIndex bufferSize, CFStringEncoding encoding)
{
	std::string out;
	if (!buffer || bufferSize <= 0 || !fromUtf8(cfimpl::stringOf(theString), encoding, out))
		return false;
	if (static_cast<CFIndex>(out.size()) + 1 > bufferSize)
		return false;
	std::memcpy(buffer, out.c_str(), out.size() + 1);
	return true;
}

const char* CFStringGetCStringPtr(CFStringRef theString, CFStringEncoding encoding)
{
	auto* s = cfimpl::checkedAs<__CFString>(theString, cfimpl::kTypeString, "CFStringGetCStringPtr");
	return encoding == kCFStringEncodingUTF8 ? s->m_text.c_str() : nullptr;
}

CFComparisonResult CFStringCompare(CFStringRef theString1, CFStringRef theString2, CFStringCompareFlags compareOptions)
{
	std::string a = cfimpl::stringOf(theString1);
	std::string b = cfimpl::stringOf(theString2);
	if (compareOptions & kCFCompareCaseInsensitive)
	{
		for (auto& c : a)
			c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
		for (auto& c : b)
			c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
	}
	int r = a.compare(b);
	return r < 0 ? kCFCompareLessThan : (r > 0 ? kCFCompareGreaterThan : kCFCompareEqualTo);
}
