#include "ShellCommand.h"

#include <cstdlib>

namespace zenteditor
{
namespace
{
ShellCommandRunner* g_runner = nullptr;
}

ShellCommandRunner* setShellCommandRunner(ShellCommandRunner* runner)
{
	ShellCommandRunner* previous = g_runner;
	g_runner = runner;
	return previous;
}

void runShellCommand(const std::string& commandLine)
{
	if (g_runner)
		g_runner->run(commandLine);
	else
		static_cast<void>(std::system(commandLine.c_str()));
}
}
