#pragma once

struct HostOptions;

// Refuses, before anything is read or written, a command whose output would replace one of its inputs or another of
// its outputs. Files are compared by identity, so links and other spellings of a path are caught. Throws a usage error.
void refuseSharedFiles(const HostOptions& options);
