#pragma once

#include <functional>

// A test program that links virel_allocationcounter has its global operator new replaced so that
// a thread can count its own allocations; other threads are not counted.
namespace allocations
{
void startCounting();
// Stops counting on this thread and returns what it allocated since startCounting.
long stopCounting();
// What `work` allocates on this thread.
long during(const std::function<void()>& work);
// The bytes those allocations ask for.
long bytesDuring(const std::function<void()>& work);
}
