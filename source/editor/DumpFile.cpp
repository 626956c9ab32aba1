#include "DumpFile.h"

#include "InPlaceWrite.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <filesystem>

namespace
{
bool writeAll(int fd, const std::vector<uint8_t>& bytes)
{
	for (size_t done = 0; done < bytes.size();)
	{
		const ssize_t n = write(fd, bytes.data() + done, bytes.size() - done);
		if (n > 0)
			done += static_cast<size_t>(n);
		else if (n < 0 && errno != EINTR)
			return false;
	}
	return true;
}

// Written under a name of its own in the target's folder, as short as can be, so any name the file system
// allows for the target can be replaced.
bool replace(const std::filesystem::path& target, const struct stat* existing, const std::vector<uint8_t>& bytes)
{
	const std::filesystem::path folder = target.has_parent_path() ? target.parent_path() : ".";
	std::string temporary;
	int fd = -1;
	for (unsigned attempt = 0; fd < 0 && attempt < 100; ++attempt)
	{
		temporary = (folder / (".virel" + std::to_string(getpid()) + "-" + std::to_string(attempt))).string();
		fd = open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
		if (fd < 0 && errno != EEXIST)
			return false;
	}
	if (fd < 0)
		return false;
	// A file replaced keeps its permissions; a new one gets the ones the umask leaves.
	if (existing)
		fchmod(fd, existing->st_mode & 07777);
	bool written = writeAll(fd, bytes);
	written = fsync(fd) == 0 && written;
	written = close(fd) == 0 && written;
	if (!written || std::rename(temporary.c_str(), target.c_str()) != 0)
	{
		unlink(temporary.c_str());
		return false;
	}
	return true;
}
}

bool writeDumpFile(const std::string& path, const std::vector<uint8_t>& bytes)
{
	struct stat existing;
	if (stat(path.c_str(), &existing) != 0)
	{
		// Nothing there yet, or a link to nothing: a new file, though never in place of a link.
		struct stat link;
		return errno == ENOENT && lstat(path.c_str(), &link) != 0 && replace(path, nullptr, bytes);
	}
	std::error_code error;
	const std::filesystem::path target = std::filesystem::canonical(path, error);
	// A file with no name to resolve to (behind /proc/self/fd, say) cannot be replaced by name either.
	if (!S_ISREG(existing.st_mode) || error)
		return writeInPlace(path, bytes);
	return access(target.c_str(), W_OK) == 0 && replace(target, &existing, bytes);
}
