#pragma once

#include <string>

namespace zenteditor
{
// Where the editor's shell commands go. For people the C library's command runner runs them; tests put
// a recorder in its place, so that no browser starts.
class ShellCommandRunner
{
public:
	virtual ~ShellCommandRunner() = default;
	virtual void run(const std::string& commandLine) = 0;
};

// Installs a runner for the whole process and returns the previous one; null restores the C library's.
ShellCommandRunner* setShellCommandRunner(ShellCommandRunner* runner);
// Hands the command line to the installed runner; what the command does or returns is not looked at.
void runShellCommand(const std::string& commandLine);
}
