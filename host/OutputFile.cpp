#include "OutputFile.h"

#include "HostError.h"
#include "LinkTarget.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <csignal>
#include <cstring>
#include <filesystem>

namespace
{
// Temporary files, and files written in place, that a signal stopping the host must not leave half written. A
// handler can do little more than unlink or truncate, so names and descriptors wait in fixed slots, each marked used
// once its name or descriptor is in place.
constexpr int kSlots = 4;
char g_names[kSlots][PATH_MAX];
int g_descriptors[kSlots]; // a file to empty rather than a name to remove; -1 for none
volatile std::sig_atomic_t g_used[kSlots];

void removeTemporaries(int signal)
{
	for (int i = 0; i < kSlots; ++i)
		if (g_used[i] && g_descriptors[i] >= 0)
			(void)ftruncate(g_descriptors[i], 0);
		else if (g_used[i])
			unlink(g_names[i]);
	std::signal(signal, SIG_DFL);
	std::raise(signal);
}

// A host started with a signal ignored (in the background, say) keeps ignoring it. A broken pipe stops it too: a
// warning written while it renders, to a reader that has gone (| head).
void watchStoppingSignals()
{
	static const bool watching = [] {
		for (int s : {SIGINT, SIGTERM, SIGHUP, SIGPIPE})
		{
			struct sigaction now;
			if (sigaction(s, nullptr, &now) == 0 && now.sa_handler == SIG_DFL)
				std::signal(s, removeTemporaries);
		}
		return true;
	}();
	(void)watching;
}

// A temporary file by its name, or a file written in place by its descriptor (name empty).
int takeSlot(const std::string& name, int descriptor = -1)
{
	watchStoppingSignals();
	for (int i = 0; i < kSlots; ++i)
		if (!g_used[i] && name.size() < PATH_MAX)
		{
			std::memcpy(g_names[i], name.c_str(), name.size() + 1);
			g_descriptors[i] = descriptor;
			g_used[i] = 1;
			return i;
		}
	return -1;
}

void releaseSlot(int slot)
{
	if (slot >= 0)
		g_used[slot] = 0;
}
}

OutputFile::OutputFile(const std::string& path, const std::string& what) : m_path(path), m_what(what)
{
	// Through a link, the file it leads to is the one replaced; the link stays.
	const LinkTarget target = followLinks(path);
	struct stat s;
	const bool exists = stat(path.c_str(), &s) == 0;
	// No plain file, or one reached only through a descriptor (a pipe or a file behind /dev/fd/N), cannot be
	// replaced by name: it is written in place.
	if (exists && (!S_ISREG(s.st_mode) || target.path.empty()))
	{
		m_fd = open(path.c_str(), O_WRONLY | O_TRUNC | O_CLOEXEC);
		if (m_fd < 0)
			fail(errno);
		// A plain file reached through a descriptor the caller gave is emptied again when the output fails, so
		// that it holds the whole output or nothing.
		m_emptyOnFailure = S_ISREG(s.st_mode);
		if (m_emptyOnFailure)
			m_slot = takeSlot({}, m_fd);
		return;
	}
	// A rename towards a name that cannot be resolved would replace the link on the way instead.
	if (target.path.empty())
		fail(target.error);
	// Replacing a file is no way round its being read-only.
	if (exists && access(target.path.c_str(), W_OK) != 0)
		fail(errno);
	m_target = target.path;
	// Beside the target, under a name short enough for any folder whatever the target's own name.
	const std::string directory = std::filesystem::path(m_target).parent_path().string();
	for (int attempt = 0; m_fd < 0; ++attempt)
	{
		m_temporary = directory + "/.virel-host-" + std::to_string(getpid()) + "-" + std::to_string(attempt);
		m_fd = open(m_temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
		if (m_fd < 0 && (errno != EEXIST || attempt == 100))
		{
			const int cause = errno;
			m_temporary.clear();
			fail(cause);
		}
	}
	if (exists)
		fchmod(m_fd, s.st_mode & 07777);
	m_slot = takeSlot(m_temporary);
}

OutputFile::~OutputFile()
{
	if (m_fd >= 0 && m_emptyOnFailure)
		(void)ftruncate(m_fd, 0);
	if (!m_temporary.empty())
		unlink(m_temporary.c_str());
	releaseSlot(m_slot);
	if (m_fd >= 0)
		close(m_fd);
}

void OutputFile::write(const void* data, size_t size)
{
	auto* bytes = static_cast<const char*>(data);
	while (size > 0)
	{
		const ssize_t n = ::write(m_fd, bytes, size);
		if (n < 0 && errno == EINTR)
			continue;
		if (n < 0)
			fail(errno);
		bytes += n;
		size -= size_t(n);
	}
}

void OutputFile::commit()
{
	// A full disk may show only when the data reach it.
	if ((!m_temporary.empty() || m_emptyOnFailure) && fsync(m_fd) != 0)
		fail(errno);
	// Written whole: a signal from here on finds nothing to empty, and no closed number that another file takes.
	if (m_emptyOnFailure)
	{
		releaseSlot(m_slot);
		m_slot = -1;
	}
	const int fd = m_fd;
	m_fd = -1;
	if (close(fd) != 0)
		fail(errno);
	if (m_temporary.empty())
		return;
	if (rename(m_temporary.c_str(), m_target.c_str()) != 0)
		fail(errno);
	m_temporary.clear();
	releaseSlot(m_slot);
	m_slot = -1;
}

void OutputFile::fail(int error) const
{
	throw HostError("cannot write the " + m_what + " '" + m_path + "': " + std::strerror(error));
}
