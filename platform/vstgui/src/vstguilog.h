#pragma once

#include <cstdio>
#include <sstream>
#include <string>

// The toolkit's diagnostics share the program's log line shape, "<function>@<line>: <text>", on
// standard output, so one capture sees both.
namespace VSTGUI::Detail
{
inline void writeLog (const std::string& line)
{
	std::fwrite (line.data (), 1, line.size (), stdout);
	std::fputc ('\n', stdout);
	std::fflush (stdout);
}
}

#define VSTGUI_LOG(streamExpression)                                       \
	do                                                                     \
	{                                                                      \
		std::stringstream vstguiLogStream_;                                \
		vstguiLogStream_ << __func__ << "@" << __LINE__ << ": " << streamExpression; \
		VSTGUI::Detail::writeLog (vstguiLogStream_.str ());                \
	} while (false)
