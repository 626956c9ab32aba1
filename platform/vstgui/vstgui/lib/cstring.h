#pragma once

#include "vstguibase.h"

#include <string>

namespace VSTGUI
{
class UTF8String
{
public:
	UTF8String (UTF8StringPtr str = nullptr) : string (str ? str : "") {}
	explicit UTF8String (const std::string& str) : string (str) {}
	UTF8String (std::string&& str) noexcept : string (std::move (str)) {}
	UTF8String (const UTF8String&) = default;
	UTF8String (UTF8String&&) noexcept = default;
	UTF8String& operator= (const UTF8String&) = default;
	UTF8String& operator= (UTF8String&&) noexcept = default;
	UTF8String& operator= (UTF8StringPtr str)
	{
		string = str ? str : "";
		return *this;
	}

	size_t length () const noexcept { return string.length (); }
	bool empty () const noexcept { return string.empty (); }
	UTF8StringPtr data () const noexcept { return string.data (); }
	operator UTF8StringPtr () const noexcept { return data (); }
	const std::string& getString () const noexcept { return string; }

	bool operator== (UTF8StringPtr str) const noexcept { return string == (str ? str : ""); }
	bool operator!= (UTF8StringPtr str) const noexcept { return !(*this == str); }
	bool operator== (const UTF8String& str) const noexcept { return string == str.string; }
	bool operator!= (const UTF8String& str) const noexcept { return string != str.string; }
	bool operator== (const std::string& str) const noexcept { return string == str; }
	bool operator!= (const std::string& str) const noexcept { return string != str; }

	UTF8String& operator+= (const UTF8String& other)
	{
		string += other.string;
		return *this;
	}
	UTF8String operator+ (const UTF8String& other) const { return UTF8String (string + other.string); }

	void clear () noexcept { string.clear (); }

private:
	std::string string;
};
} // VSTGUI
