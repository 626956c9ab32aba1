#include "PluginLog.h"

#include "HostError.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <cerrno>
#include <condition_variable>
#include <cstdint>
#include <cstring>
#include <mutex>
#include <thread>

namespace
{
// The last lines of a step are all that is ever shown; a step that logs more keeps its end.
constexpr size_t kMostStepBytes = 64 * 1024;

// Unless the lines are only shown as they come (--verbose alone), the plug-in writes into a pipe, and one thread reads
// it: it keeps the current step's lines for the host, whatever the log's file is (/dev/null, a FIFO, a full disk),
// and passes every line on to the log file and, with --verbose, to standard error.
struct Tee
{
	int in = -1; // the pipe's reading end
	int stop = -1, stopIn = -1; // a byte written to stop ends the thread once it has read what was written
	int log = -1;
	std::string logPath;
	bool shown = false; // the lines go to standard error as they come, and tell for themselves
	std::thread thread;

	std::mutex mutex;
	std::condition_variable advanced;
	uint64_t taken = 0; // bytes read from the pipe
	bool ended = false;
	std::string step; // what the plug-in wrote since the step began, at most its last kMostStepBytes
	bool stepCut = false; // its first line lost its beginning to the limit

	int logError = 0; // why the log file lacks lines from some point on; the reading thread's alone until it ends
};
Tee g_tee;

// False with errno set when the bytes could not all be written.
bool writeAll(int fd, const char* data, size_t size)
{
	while (size > 0)
	{
		const ssize_t n = write(fd, data, size);
		if (n < 0 && errno == EINTR)
			continue;
		if (n <= 0)
			return false;
		data += n;
		size -= size_t(n);
	}
	return true;
}

// The file the plug-in's lines go to: created afresh, each line appended whole.
int openLogFile(const std::string& path)
{
	const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_APPEND | O_CLOEXEC, 0666);
	if (fd < 0)
		throw HostError("cannot write the log file '" + path + "': " + std::strerror(errno));
	return fd;
}

void keepForStep(const char* data, size_t size)
{
	g_tee.step.append(data, size);
	if (g_tee.step.size() > kMostStepBytes)
	{
		g_tee.step.erase(0, g_tee.step.size() - kMostStepBytes);
		g_tee.stepCut = true;
	}
}

void passOn(const char* data, size_t size)
{
	if (g_tee.shown)
		writeAll(STDERR_FILENO, data, size);
	if (g_tee.log >= 0 && !g_tee.logError && !writeAll(g_tee.log, data, size))
		g_tee.logError = errno ? errno : EIO;
}

// Reads the pipe until the host ends: what it reads, it keeps under the lock in the same hold as the read, so that
// a count of the bytes still in the pipe tells a waiting thread exactly when its own lines have been kept.
void readPipe()
{
	char buffer[4096];
	for (;;)
	{
		pollfd ends[2] = {{g_tee.in, POLLIN, 0}, {g_tee.stopIn, POLLIN, 0}};
		if (poll(ends, 2, -1) < 0 && errno != EINTR)
			break;
		ssize_t n;
		int error = 0;
		{
			std::lock_guard<std::mutex> lock(g_tee.mutex);
			n = read(g_tee.in, buffer, sizeof buffer);
			error = errno;
			if (n > 0)
			{
				keepForStep(buffer, size_t(n));
				g_tee.taken += uint64_t(n);
			}
		}
		g_tee.advanced.notify_all();
		if (n > 0)
			passOn(buffer, size_t(n));
		else if (n == 0 || (error != EAGAIN && error != EINTR) || (ends[1].revents & POLLIN))
			break;
	}
	{
		std::lock_guard<std::mutex> lock(g_tee.mutex);
		g_tee.ended = true;
	}
	g_tee.advanced.notify_all();
}

// Waits until every line written before the call has been kept.
void catchUp()
{
	std::fflush(stdout);
	std::unique_lock<std::mutex> lock(g_tee.mutex);
	int waiting = 0;
	if (g_tee.in < 0 || ioctl(g_tee.in, FIONREAD, &waiting) != 0)
		return;
	const uint64_t target = g_tee.taken + uint64_t(waiting);
	g_tee.advanced.wait(lock, [&] { return g_tee.taken >= target || g_tee.ended; });
}

int startTee(bool verbose, const std::string& path)
{
	if (!path.empty())
	{
		g_tee.log = openLogFile(path);
		g_tee.logPath = path;
	}
	int pipeEnds[2], stopEnds[2];
	if (pipe2(pipeEnds, O_CLOEXEC) != 0 || pipe2(stopEnds, O_CLOEXEC) != 0 || fcntl(pipeEnds[0], F_SETFL, O_NONBLOCK) != 0)
		throw HostError(std::string("cannot make a pipe for the plug-in's log: ") + std::strerror(errno));
	g_tee.in = pipeEnds[0];
	g_tee.stopIn = stopEnds[0];
	g_tee.stop = stopEnds[1];
	g_tee.shown = verbose;
	g_tee.thread = std::thread(readPipe);
	return pipeEnds[1];
}
}

namespace pluginLog
{
std::FILE* start(bool verbose, const std::string& path)
{
	const int sink = verbose && path.empty() ? dup(STDERR_FILENO) : startTee(verbose, path);
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
	if (!g_tee.thread.joinable())
		return;
	// From here on the plug-in's lines go nowhere; those written before are passed on first. A process the plug-in
	// started may still hold the pipe, so the thread is told to end rather than left to wait for the pipe's end.
	const int nothing = open("/dev/null", O_WRONLY | O_CLOEXEC);
	if (nothing >= 0)
	{
		dup2(nothing, STDOUT_FILENO);
		close(nothing);
	}
	catchUp();
	writeAll(g_tee.stop, "", 1);
	g_tee.thread.join();
	if (g_tee.log >= 0 && close(g_tee.log) != 0 && !g_tee.logError)
		g_tee.logError = errno;
	if (g_tee.logError)
		warn("cannot write the log file '" + g_tee.logPath + "': " + std::strerror(g_tee.logError) +
			 "; it lacks the plug-in's lines from then on");
}

void beginStep()
{
	if (g_tee.in < 0 || g_tee.shown)
		return;
	catchUp();
	std::lock_guard<std::mutex> lock(g_tee.mutex);
	g_tee.step.clear();
	g_tee.stepCut = false;
}

std::vector<std::string> stepLines(size_t most)
{
	std::vector<std::string> lines;
	if (g_tee.in < 0 || g_tee.shown)
		return lines;
	catchUp();
	std::string text;
	bool cut = false;
	{
		std::lock_guard<std::mutex> lock(g_tee.mutex);
		text = g_tee.step;
		cut = g_tee.stepCut;
	}
	size_t start = 0;
	if (cut)
		start = text.find('\n') == std::string::npos ? text.size() : text.find('\n') + 1;
	for (size_t stop; (stop = text.find('\n', start)) != std::string::npos; start = stop + 1)
		if (stop > start)
			lines.push_back(text.substr(start, stop - start));
	if (lines.size() > most)
		lines.erase(lines.begin(), lines.end() - long(most));
	return lines;
}
}
