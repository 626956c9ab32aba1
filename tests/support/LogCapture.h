#pragma once

#include <cstdio>
#include <string>
#include <vector>

// Captures everything written to standard output while it lives, so tests can assert the exact
// log lines the code wrote. Log lines have the form "<function>@<line>: <text>".
class LogCapture
{
public:
	LogCapture();
	~LogCapture();
	LogCapture(const LogCapture&) = delete;
	LogCapture& operator=(const LogCapture&) = delete;

	// Every complete line written so far.
	std::vector<std::string> lines();
	// The text of every line after its "<function>@<line>: " prefix.
	std::vector<std::string> texts();

private:
	std::FILE* m_file = nullptr;
	int m_savedStdout = -1;
};
