#pragma once

#include <cstddef>
#include <string>

// A file the host writes. It is written under a temporary name beside the target and renamed over it once written
// and closed, so a write that fails part-way (a full disk, a size limit, the host stopped) leaves the target as it
// was and no half file behind. A target that is no plain file (/dev/null, a pipe) is written in place, and so is a
// plain file reached only through a descriptor (/dev/fd/3), which is left empty when the write fails.
class OutputFile
{
public:
	// `what` names the file in messages ("state file"). Throws HostError naming the cause when it cannot be made.
	OutputFile(const std::string& path, const std::string& what);
	// Removes the temporary file, or empties the file written in place, unless it was committed.
	~OutputFile();
	OutputFile(const OutputFile&) = delete;
	OutputFile& operator=(const OutputFile&) = delete;

	int descriptor() const { return m_fd; }
	// Throws HostError naming the cause when the bytes cannot be written.
	void write(const void* data, size_t size);
	// The written file takes the target's place; throws HostError when it cannot be completed.
	void commit();
	// Throws the HostError for a failed write with this error number.
	[[noreturn]] void fail(int error) const;

private:
	std::string m_path;
	std::string m_what;
	std::string m_target; // the file replaced, links followed
	std::string m_temporary; // empty when written in place
	int m_fd = -1;
	int m_slot = -1; // where a signal finds the temporary name or the descriptor to empty
	bool m_emptyOnFailure = false;
};
