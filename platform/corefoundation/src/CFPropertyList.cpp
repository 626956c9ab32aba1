#include "CFObject.h"

#include <expat.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <sstream>
#include <vector>

struct __CFError : cfimpl::Object
{
	explicit __CFError(std::string text) : Object(cfimpl::kTypeError, nullptr), m_text(std::move(text)) {}
	std::string describe() const override { return m_text; }
	std::string m_text;
};

CFTypeID CFErrorGetTypeID(void)
{
	return cfimpl::kTypeError;
}

CFStringRef CFErrorCopyDescription(CFErrorRef err)
{
	return cfimpl::makeString(cfimpl::checked(err, cfimpl::kTypeError, "CFErrorCopyDescription")->describe());
}

namespace
{
const char kBase64[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

std::string base64Encode(const UInt8* p, size_t n)
{
	std::string out;
	for (size_t i = 0; i < n; i += 3)
	{
		uint32_t v = uint32_t(p[i]) << 16;
		if (i + 1 < n)
			v |= uint32_t(p[i + 1]) << 8;
		if (i + 2 < n)
			v |= p[i + 2];
		out += kBase64[(v >> 18) & 63];
		out += kBase64[(v >> 12) & 63];
		out += i + 1 < n ? kBase64[(v >> 6) & 63] : '=';
		out += i + 2 < n ? kBase64[v & 63] : '=';
	}
	return out;
}

bool base64Decode(const std::string& text, std::vector<UInt8>& out)
{
	uint32_t acc = 0;
	int bits = 0;
	bool padding = false;
	for (char c : text)
	{
		if (c == ' ' || c == '\n' || c == '\r' || c == '\t')
			continue;
		if (c == '=')
		{
			padding = true;
			continue;
		}
		const char* at = std::strchr(kBase64, c);
		if (!at || !*at || padding)
			return false;
		acc = (acc << 6) | uint32_t(at - kBase64);
		bits += 6;
		if (bits >= 8)
		{
			bits -= 8;
			out.push_back(UInt8((acc >> bits) & 0xFF));
		}
	}
	return true;
}

std::string escape(const std::string& s)
{
	std::string out;
	for (char c : s)
		switch (c)
		{
		case '&': out += "&amp;"; break;
		case '<': out += "&lt;"; break;
		case '>': out += "&gt;"; break;
		case '\r': out += "&#13;"; break; // a reader turns a raw one into a line feed
		default: out += c;
		}
	return out;
}

bool write(CFPropertyListRef plist, int depth, std::string& out, std::string& error)
{
	const std::string indent(size_t(depth), '\t');
	const CFTypeID type = CFGetTypeID(plist);
	if (type == CFStringGetTypeID())
		out += indent + "<string>" + escape(cfimpl::stringOf(static_cast<CFStringRef>(plist))) + "</string>\n";
	else if (type == CFBooleanGetTypeID())
		out += indent + (CFBooleanGetValue(static_cast<CFBooleanRef>(plist)) ? "<true/>\n" : "<false/>\n");
	else if (type == CFNumberGetTypeID())
	{
		auto n = static_cast<CFNumberRef>(plist);
		if (CFNumberIsFloatType(n))
		{
			double d = 0;
			CFNumberGetValue(n, kCFNumberDoubleType, &d);
			std::ostringstream s;
			s.precision(17);
			s << d;
			out += indent + "<real>" + s.str() + "</real>\n";
		}
		else
		{
			long long v = 0;
			CFNumberGetValue(n, kCFNumberLongLongType, &v);
			out += indent + "<integer>" + std::to_string(v) + "</integer>\n";
		}
	}
	else if (type == CFDataGetTypeID())
	{
		auto d = static_cast<CFDataRef>(plist);
		std::string b = base64Encode(CFDataGetBytePtr(d), size_t(CFDataGetLength(d)));
		out += indent + "<data>\n";
		for (size_t i = 0; i < b.size(); i += 68)
			out += indent + b.substr(i, 68) + "\n";
		out += indent + "</data>\n";
	}
	else if (type == CFArrayGetTypeID())
	{
		auto a = static_cast<CFArrayRef>(plist);
		out += indent + "<array>\n";
		for (CFIndex i = 0; i < CFArrayGetCount(a); ++i)
			if (!write(CFArrayGetValueAtIndex(a, i), depth + 1, out, error))
				return false;
		out += indent + "</array>\n";
	}
	else if (type == CFDictionaryGetTypeID())
	{
		auto d = static_cast<CFDictionaryRef>(plist);
		const CFIndex n = CFDictionaryGetCount(d);
		std::vector<const void*> keys(static_cast<size_t>(n)), values(static_cast<size_t>(n));
		CFDictionaryGetKeysAndValues(d, keys.data(), values.data());
		std::vector<std::pair<std::string, const void*>> entries;
		for (CFIndex i = 0; i < n; ++i)
		{
			if (CFGetTypeID(keys[size_t(i)]) != CFStringGetTypeID())
			{
				error = "property list dictionaries need string keys";
				return false;
			}
			entries.emplace_back(cfimpl::stringOf(static_cast<CFStringRef>(keys[size_t(i)])), values[size_t(i)]);
		}
		std::sort(entries.begin(), entries.end(), [](auto& a, auto& b) { return a.first < b.first; });
		out += indent + "<dict>\n";
		for (auto& [key, value] : entries)
		{
			out += indent + "\t<key>" + escape(key) + "</key>\n";
			if (!write(value, depth + 1, out, error))
				return false;
		}
		out += indent + "</dict>\n";
	}
	else
	{
		error = "this object cannot be part of a property list";
		return false;
	}
	return true;
}

// The reader: expat events build values bottom-up on a stack of open containers.
struct Frame
{
	std::string element;
	std::string text;
	CFTypeRef container = nullptr; // array or dictionary being filled
	CFStringRef pendingKey = nullptr;
};

struct Reader
{
	XML_Parser parser = nullptr;
	std::vector<Frame> stack;
	CFTypeRef result = nullptr;
	std::string error;
	bool sawPlist = false;

	~Reader()
	{
		for (Frame& f : stack)
		{
			if (f.container)
				CFRelease(f.container);
			if (f.pendingKey)
				CFRelease(f.pendingKey);
		}
		if (result)
			CFRelease(result);
	}

	void fail(const std::string& message)
	{
		if (error.empty())
			error = message;
		XML_StopParser(parser, XML_FALSE);
	}

	// Hands a finished value to its parent, which takes over the reference.
	void deliver(CFTypeRef value)
	{
		if (stack.empty() || stack.back().element == "plist")
		{
			if (result)
			{
				CFRelease(value);
				return fail("a property list holds one top-level value");
			}
			result = value;
			return;
		}
		Frame& parent = stack.back();
		if (parent.element == "array")
			CFArrayAppendValue((CFMutableArrayRef)parent.container, value);
		else if (parent.element == "dict")
		{
			if (!parent.pendingKey)
			{
				CFRelease(value);
				return fail("a dictionary value without a key");
			}
			CFDictionarySetValue((CFMutableDictionaryRef)parent.container, parent.pendingKey, value);
			CFRelease(parent.pendingKey);
			parent.pendingKey = nullptr;
		}
		else
		{
			CFRelease(value);
			return fail("a value inside <" + parent.element + ">");
		}
		CFRelease(value);
	}

	void start(const std::string& name)
	{
		if (!stack.empty() && stack.back().element != "array" && stack.back().element != "dict" &&
			stack.back().element != "plist")
			return fail("<" + name + "> inside <" + stack.back().element + ">");
		Frame f;
		f.element = name;
		if (name == "plist")
		{
			if (sawPlist || !stack.empty())
				return fail("a nested <plist>");
			sawPlist = true;
		}
		else if (name == "array")
			f.container = CFArrayCreateMutable(nullptr, 0, &kCFTypeArrayCallBacks);
		else if (name == "dict")
			f.container = CFDictionaryCreateMutable(nullptr, 0, &kCFTypeDictionaryKeyCallBacks, &kCFTypeDictionaryValueCallBacks);
		else if (name != "key" && name != "string" && name != "integer" && name != "real" && name != "data" &&
				 name != "true" && name != "false")
			return fail("an unsupported element <" + name + ">");
		stack.push_back(std::move(f));
	}

	void end()
	{
		Frame f = std::move(stack.back());
		stack.pop_back();
		const std::string& n = f.element;
		if (n == "plist")
			return;
		if (n == "array" || n == "dict")
		{
			if (f.pendingKey)
			{
				CFRelease(f.pendingKey);
				CFRelease(f.container);
				return fail("a dictionary key without a value");
			}
			return deliver(f.container);
		}
		if (n == "key")
		{
			if (stack.empty() || stack.back().element != "dict" || stack.back().pendingKey)
				return fail("a <key> out of place");
			stack.back().pendingKey = cfimpl::makeString(f.text);
			return;
		}
		if (n == "string")
			return deliver(cfimpl::makeString(f.text));
		if (n == "true" || n == "false")
			return deliver(n == "true" ? kCFBooleanTrue : kCFBooleanFalse);
		if (n == "integer")
		{
			char* endPtr = nullptr;
			errno = 0;
			long long v = std::strtoll(f.text.c_str(), &endPtr, 10);
			if (f.text.empty() || *endPtr || errno)
				return fail("a malformed <integer>");
			return deliver(CFNumberCreate(nullptr, kCFNumberLongLongType, &v));
		}
		if (n == "real")
		{
			char* endPtr = nullptr;
			double v = std::strtod(f.text.c_str(), &endPtr);
			if (f.text.empty() || *endPtr)
				return fail("a malformed <real>");
			return deliver(CFNumberCreate(nullptr, kCFNumberDoubleType, &v));
		}
		if (n == "data")
		{
			std::vector<UInt8> bytes;
			if (!base64Decode(f.text, bytes))
				return fail("malformed base64 in <data>");
			return deliver(CFDataCreate(nullptr, bytes.data(), CFIndex(bytes.size())));
		}
	}
};

void XMLCALL onStart(void* user, const XML_Char* name, const XML_Char**)
{
	static_cast<Reader*>(user)->start(name);
}

void XMLCALL onEnd(void* user, const XML_Char*)
{
	auto* r = static_cast<Reader*>(user);
	if (!r->stack.empty())
		r->end();
}

void XMLCALL onText(void* user, const XML_Char* s, int len)
{
	auto* r = static_cast<Reader*>(user);
	if (!r->stack.empty())
		r->stack.back().text.append(s, size_t(len));
}

void setError(CFErrorRef* error, const std::string& text)
{
	if (error)
		*error = cfimpl::track(new __CFError(text));
}
}

CFPropertyListRef CFPropertyListCreateWithData(CFAllocatorRef, CFDataRef data, CFOptionFlags, CFPropertyListFormat* format,
	CFErrorRef* error)
{
	if (error)
		*error = nullptr;
	Reader reader;
	std::unique_ptr<std::remove_pointer_t<XML_Parser>, void (*)(XML_Parser)> parser(XML_ParserCreate("UTF-8"), XML_ParserFree);
	reader.parser = parser.get();
	XML_SetUserData(reader.parser, &reader);
	XML_SetElementHandler(reader.parser, onStart, onEnd);
	XML_SetCharacterDataHandler(reader.parser, onText);
	const CFIndex length = CFDataGetLength(data);
	if (XML_Parse(reader.parser, reinterpret_cast<const char*>(CFDataGetBytePtr(data)), int(length), XML_TRUE) != XML_STATUS_OK ||
		!reader.error.empty())
	{
		std::string why = reader.error.empty() ? XML_ErrorString(XML_GetErrorCode(reader.parser)) : reader.error;
		setError(error, "not an XML property list: " + why + " (line " +
							std::to_string(XML_GetCurrentLineNumber(reader.parser)) + ")");
		return nullptr;
	}
	if (!reader.result)
	{
		setError(error, "not an XML property list: no value");
		return nullptr;
	}
	if (format)
		*format = kCFPropertyListXMLFormat_v1_0;
	CFTypeRef result = reader.result;
	reader.result = nullptr;
	return result;
}

CFDataRef CFPropertyListCreateData(CFAllocatorRef, CFPropertyListRef propertyList, CFPropertyListFormat format,
	CFOptionFlags, CFErrorRef* error)
{
	if (error)
		*error = nullptr;
	if (format != kCFPropertyListXMLFormat_v1_0)
	{
		setError(error, "only the XML property list format can be written");
		return nullptr;
	}
	std::string out =
		"<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
		"<!DOCTYPE plist PUBLIC \"-//Apple//DTD PLIST 1.0//EN\" \"http://www.apple.com/DTDs/PropertyList-1.0.dtd\">\n"
		"<plist version=\"1.0\">\n";
	std::string why;
	if (!write(propertyList, 0, out, why))
	{
		setError(error, why);
		return nullptr;
	}
	out += "</plist>\n";
	return CFDataCreate(nullptr, reinterpret_cast<const UInt8*>(out.data()), CFIndex(out.size()));
}
