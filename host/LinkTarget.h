#pragma once

#include <string>

// Where a path leads once every link on the way is followed, as the system follows them, without the file at the
// end having to exist: a link to a file yet to be made leads to the name a write through it creates.
struct LinkTarget
{
	std::string path; // absolute, links and dots resolved; empty when it leads to no name
	int descriptor = -1; // the host's own descriptor it leads to (/dev/stdout leads to 1), else -1
	int error = 0; // why it leads to no name: a missing folder on the way, a loop of links, a descriptor
};

LinkTarget followLinks(const std::string& path);
