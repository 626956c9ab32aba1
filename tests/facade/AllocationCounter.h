#pragma once

// This test program replaces the global operator new so that a thread can count its own
// allocations; other threads are not counted.
namespace allocations
{
void startCounting();
// Stops counting on this thread and returns what it allocated since startCounting.
long stopCounting();
}
