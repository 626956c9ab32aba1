#pragma once

#include <stdexcept>
#include <string>

// A failure the host reports as one line on standard error: exit code 1 for bad input or a failing plug-in,
// 2 for a usage error.
class HostError : public std::runtime_error
{
public:
	HostError(const std::string& message, int exitCode = 1) : std::runtime_error(message), m_exitCode(exitCode) {}
	int exitCode() const { return m_exitCode; }

private:
	int m_exitCode;
};

inline HostError usageError(const std::string& message)
{
	return HostError(message + " (see --help)", 2);
}
