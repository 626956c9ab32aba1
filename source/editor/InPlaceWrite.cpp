#include "InPlaceWrite.h"

#include <fcntl.h>
#include <poll.h>
#include <pthread.h>
#include <signal.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>

namespace
{
using Clock = std::chrono::steady_clock;

// A reader busy elsewhere gets a few seconds; a window frozen for longer looks hung to the person.
constexpr std::chrono::milliseconds stallLimit{3000};

// One write whose broken pipe shows only in its result. A write into a pipe that has lost its reader sends
// SIGPIPE to the writing thread, which by default ends the process, and the process is not ours to configure:
// the signal is held back for this thread alone and, when this write raised it, taken before the thread's own
// mask returns. One that was pending before (held back by our caller too) is not ours and stays; SIGPIPE does
// not queue, so ours merged into it.
ssize_t writeWithoutSigpipe(int fd, const uint8_t* data, size_t size)
{
	sigset_t sigpipe;
	sigemptyset(&sigpipe);
	sigaddset(&sigpipe, SIGPIPE);
	sigset_t previousMask;
	pthread_sigmask(SIG_BLOCK, &sigpipe, &previousMask);
	sigset_t pending;
	sigpending(&pending);
	const bool pendingBefore = sigismember(&pending, SIGPIPE) == 1;

	const ssize_t written = write(fd, data, size);
	const int error = errno;
	if (written < 0 && error == EPIPE && !pendingBefore)
	{
		const timespec noWait{};
		while (sigtimedwait(&sigpipe, nullptr, &noWait) < 0 && errno == EINTR)
		{
		}
	}
	pthread_sigmask(SIG_SETMASK, &previousMask, nullptr);
	errno = error;
	return written;
}

// False when the target has room for nothing more by the deadline. A reader that left wakes it as well; the
// next write tells that.
bool waitForRoom(int fd, Clock::time_point deadline)
{
	for (;;)
	{
		const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now());
		if (left.count() <= 0)
			return false;
		pollfd target{fd, POLLOUT, 0};
		const int ready = poll(&target, 1, static_cast<int>(left.count()));
		if (ready > 0)
			return true;
		if (ready < 0 && errno != EINTR)
			return false;
	}
}

bool writeAllWithoutStalling(int fd, const std::vector<uint8_t>& bytes)
{
	Clock::time_point deadline = Clock::now() + stallLimit;
	for (size_t done = 0; done < bytes.size();)
	{
		const ssize_t n = writeWithoutSigpipe(fd, bytes.data() + done, bytes.size() - done);
		if (n > 0)
		{
			done += static_cast<size_t>(n);
			deadline = Clock::now() + stallLimit;
		}
		else if (n < 0 && errno == EINTR)
			continue;
		else if ((n < 0 && errno != EAGAIN) || !waitForRoom(fd, deadline))
			return false;
	}
	return true;
}
}

bool writeInPlace(const std::string& path, const std::vector<uint8_t>& bytes)
{
	// Non-blocking, so the open waits for no reader and no write waits for room. A terminal opened here never
	// becomes the process's controlling terminal, whose hangup would end the process.
	const int fd = open(path.c_str(), O_WRONLY | O_TRUNC | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
	if (fd < 0)
		return false;
	const bool written = writeAllWithoutStalling(fd, bytes);
	return close(fd) == 0 && written;
}
