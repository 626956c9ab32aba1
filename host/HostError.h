#pragma once

#include "PluginLog.h"

#include <cstdio>
#include <stdexcept>
#include <string>
#include <vector>

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

// Something the plug-in refused or got wrong. Its log lines of the moment say why, so they are kept with it,
// before closing the instance adds lines of its own.
class PluginError : public HostError
{
public:
	explicit PluginError(const std::string& message) : HostError(message), m_pluginLines(pluginLog::stepLines()) {}
	const std::vector<std::string>& pluginLines() const { return m_pluginLines; }

private:
	std::vector<std::string> m_pluginLines;
};

// A line on standard error about damage or a change the host made, which does not stop it.
inline void warn(const std::string& message)
{
	std::fprintf(stderr, "virel-host: warning: %s\n", message.c_str());
}

// The plug-in's lines that explain a failure or a warning, under the host's line.
inline void showPluginLines(const std::vector<std::string>& lines)
{
	for (const std::string& line : lines)
		std::fprintf(stderr, "  plug-in: %s\n", line.c_str());
}

inline HostError usageError(const std::string& message)
{
	return HostError(message + " (see --help)", 2);
}
