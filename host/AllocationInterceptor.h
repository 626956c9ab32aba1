#pragma once

// Counts the heap allocations one thread makes while it is armed, anywhere in the process: the host, the
// plug-in and the libraries they call. C++ allocations are always counted; malloc, calloc and realloc too, except
// in builds whose sanitizer runtime owns those functions.
namespace allocationInterceptor
{
// Starts counting on the calling thread, from zero.
void arm();
// Stops counting on the calling thread and returns what it allocated since arm().
long disarm();
// Whether malloc and its kin are counted in this build.
bool countsMalloc();
}
