#pragma once

struct HostOptions;

// Refuses, before anything is read or written, a command whose output would replace one of its inputs or another of
// its outputs, but for a state saved back over the state it started from; and one whose output is one of the host's own
// channels (standard input, output or error, a descriptor the host opens for itself).
// Files are compared by identity, so links and other spellings of a path are caught. Throws a usage error.
void refuseSharedFiles(const HostOptions& options);
