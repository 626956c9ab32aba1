#pragma once

#include <sstream>
#include <string>

// The one log sink: writes the message and a line break to standard output. Every log line of the
// program goes through it. No levels, no filter, no time stamps.
int g_logUnix(const std::string& message);

// Builds a log line as "<function>@<line>: <text>" and writes it. The argument is a stream
// expression, so call sites write ZENT_LOG("expected " << a << " but got " << b).
#define ZENT_LOG(streamExpression)                                          \
	do                                                                      \
	{                                                                       \
		std::stringstream zentLogStream_;                                   \
		zentLogStream_ << __func__ << "@" << __LINE__ << ": " << streamExpression; \
		g_logUnix(zentLogStream_.str());                                    \
	} while (false)
