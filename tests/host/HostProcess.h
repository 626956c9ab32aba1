#pragma once

#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

// One run of virel-host as a separate process, its standard output and error kept in files.
struct HostRun
{
	int exitCode = -1;
	bool crashed = false;
	std::string out;
	std::string err;
};

inline std::string slurp(const std::filesystem::path& p)
{
	std::ifstream in(p, std::ios::binary);
	return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

// The shell command line that runs the host with these arguments, output to dir/stdout and dir/stderr.
inline std::string hostCommand(const std::vector<std::string>& args, const std::filesystem::path& dir,
	const std::string& environment = "")
{
	std::string command = environment + " '" + VIREL_HOST_PATH + "'";
	for (const std::string& a : args)
		command += " '" + a + "'";
	return command + " >'" + (dir / "stdout").string() + "' 2>'" + (dir / "stderr").string() + "' </dev/null";
}

inline HostRun runHost(const std::vector<std::string>& args, const std::filesystem::path& dir,
	const std::string& environment = "")
{
	const int status = std::system(hostCommand(args, dir, environment).c_str());
	HostRun r;
	r.crashed = !WIFEXITED(status);
	r.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
	r.out = slurp(dir / "stdout");
	r.err = slurp(dir / "stderr");
	return r;
}
