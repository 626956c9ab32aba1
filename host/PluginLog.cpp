#include "PluginLog.h"

#include "HostError.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <mutex>
#include <thread>

namespace
{
// Where the lines of a step are read back from: the private file or the log file. Shown lines are not kept.
int g_readBack = -1;
// A private file holds only the current step: it is emptied when a step begins.
bool g_private = false;
off_t g_stepStart = 0;
std::mutex g_mutex;
// With both verbose and a log file, a thread copies the lines from a pipe to both.
std::thread g_tee;

void writeAll(int fd, const char* data, size_t size)
{
	while (size > 0)
	{
		const ssize_t n = write(fd, data, size);
		if (n < 0 && errno == EINTR)
			continue;
		if (n <= 0)
			return;
		data += n;
		size -= size_t(n);
	}
}

// The file the plug-in's lines go to: created afresh, each line appended whole.
int openLogFile(const std::string& path)
{
	const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_APPEND | O_CLOEXEC, 0666);
	if (fd < 0)
		throw HostError("cannot write the log file '" + path + "': " + std::strerror(errno));
	return fd;
}

// Lines can be read back only from a regular file (a log sent to a terminal or a pipe is shown as it is written).
int readBackFrom(const std::string& path)
{
	struct stat s;
	if (stat(path.c_str(), &s) != 0 || !S_ISREG(s.st_mode))
		return -1;
	return open(path.c_str(), O_RDONLY | O_CLOEXEC);
}

int teeTo(int file)
{
	int ends[2];
	if (pipe2(ends, O_CLOEXEC) != 0)
		throw HostError(std::string("cannot make a pipe for the plug-in's log: ") + std::strerror(errno));
	g_tee = std::thread([in = ends[0], file] {
		char buffer[4096];
		for (ssize_t n; (n = read(in, buffer, sizeof buffer)) != 0;)
		{
			if (n < 0 && errno == EINTR)
				continue;
			if (n < 0)
				break;
			writeAll(STDERR_FILENO, buffer, size_t(n));
			writeAll(file, buffer, size_t(n));
		}
		close(in);
		close(file);
	});
	return ends[1];
}

int privateFile()
{
	std::FILE* file = std::tmpfile();
	const int fd = file ? dup(fileno(file)) : -1;
	if (file)
		std::fclose(file);
	if (fd < 0 || fcntl(fd, F_SETFL, O_APPEND) != 0)
		throw HostError(std::string("cannot make a file for the plug-in's log: ") + std::strerror(errno));
	return fd;
}

off_t endOfLog()
{
	struct stat s;
	return fstat(g_readBack, &s) == 0 ? s.st_size : 0;
}
}

namespace pluginLog
{
std::FILE* start(bool verbose, const std::string& path)
{
	int sink = -1;
	if (verbose && !path.empty())
		sink = teeTo(openLogFile(path));
	else if (verbose)
		sink = dup(STDERR_FILENO);
	else if (!path.empty())
	{
		sink = openLogFile(path);
		g_readBack = readBackFrom(path);
	}
	else
	{
		sink = privateFile();
		g_readBack = dup(sink);
		g_private = true;
	}
	std::fflush(stdout);
	const int results = dup(STDOUT_FILENO);
	std::FILE* resultsStream = results >= 0 ? fdopen(results, "w") : nullptr;
	if (!resultsStream || sink < 0 || dup2(sink, STDOUT_FILENO) < 0)
		throw HostError(std::string("cannot set the plug-in's log aside: ") + std::strerror(errno));
	close(sink);
	// Whole lines at once: a log file or a pipe shows each line as it is written and keeps the last ones when the
	// host is stopped.
	std::setvbuf(stdout, nullptr, _IOLBF, 0);
	return resultsStream;
}

void finish()
{
	std::fflush(stdout);
	if (!g_tee.joinable())
		return;
	// The tee thread ends when the last writing end of its pipe, standard output, is gone.
	const int nothing = open("/dev/null", O_WRONLY | O_CLOEXEC);
	if (nothing >= 0)
	{
		dup2(nothing, STDOUT_FILENO);
		close(nothing);
	}
	g_tee.join();
}

void beginStep()
{
	std::lock_guard<std::mutex> lock(g_mutex);
	if (g_readBack < 0)
		return;
	std::fflush(stdout);
	if (g_private && ftruncate(g_readBack, 0) == 0)
		g_stepStart = 0;
	else
		g_stepStart = endOfLog();
}

std::vector<std::string> stepLines(size_t most)
{
	std::lock_guard<std::mutex> lock(g_mutex);
	std::vector<std::string> lines;
	if (g_readBack < 0)
		return lines;
	std::fflush(stdout);
	// The last lines are all that is shown; the end of the step is enough to find them.
	const off_t end = endOfLog();
	const off_t from = std::max(g_stepStart, end - off_t(64 * 1024));
	std::string text(size_t(std::max<off_t>(end - from, 0)), '\0');
	const ssize_t got = text.empty() ? 0 : pread(g_readBack, text.data(), text.size(), from);
	text.resize(size_t(std::max<ssize_t>(got, 0)));
	size_t start = 0;
	if (from > g_stepStart)
		start = text.find('\n') == std::string::npos ? text.size() : text.find('\n') + 1; // a line cut by the window
	for (size_t stop; (stop = text.find('\n', start)) != std::string::npos; start = stop + 1)
		if (stop > start)
			lines.push_back(text.substr(start, stop - start));
	if (lines.size() > most)
		lines.erase(lines.begin(), lines.end() - long(most));
	return lines;
}
}
