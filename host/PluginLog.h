#pragma once

#include <cstddef>
#include <cstdio>
#include <string>
#include <vector>

// The plug-in writes its log to standard output, a line at a time; a plain render makes dozens of lines and a
// validation thousands, which would bury the host's own lines. The host keeps standard output for its results and
// standard error for its own messages, and sends the plug-in's lines elsewhere: out of sight by default, to standard
// error with verbose, into a file with a log path (both with both). When something fails, the plug-in's last lines
// before it are shown with the failure, since they say why; the host keeps them itself, whatever the log's file.
namespace pluginLog
{
// Takes over file descriptor 1 for the plug-in's lines; returns the stream for the host's results (the standard
// output the host was started with). Throws HostError when the log file cannot be written.
std::FILE* start(bool verbose, const std::string& path);
// Sees every line written so far to its place; the log takes nothing more. Warns when the log file could not take
// them all (a full disk, a size limit).
void finish();
// What the plug-in writes from here on explains a failure of the operation about to begin.
void beginStep();
// At most `most` of the last lines the plug-in wrote since the step began; none when they were shown as written.
std::vector<std::string> stepLines(size_t most = 10);
}
