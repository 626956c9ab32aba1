// Kept in a file of its own so that no inlined new or delete meets the replacement below.
#include "AllocationCounter.h"

#include <cstdlib>
#include <new>

namespace
{
thread_local bool t_counting = false;
thread_local long t_count = 0;
thread_local long t_bytes = 0;
}

void allocations::startCounting()
{
	t_count = 0;
	t_bytes = 0;
	t_counting = true;
}

long allocations::stopCounting()
{
	t_counting = false;
	return t_count;
}

long allocations::during(const std::function<void()>& work)
{
	startCounting();
	work();
	return stopCounting();
}

long allocations::bytesDuring(const std::function<void()>& work)
{
	during(work);
	return t_bytes;
}

void* operator new(std::size_t size)
{
	if (t_counting)
	{
		++t_count;
		t_bytes += static_cast<long>(size);
	}
	if (void* p = std::malloc(size ? size : 1))
		return p;
	throw std::bad_alloc();
}

// Array forms too: a sanitizer runtime brings its own, which would bypass the count.
void* operator new[](std::size_t size)
{
	return operator new(size);
}

void operator delete(void* p) noexcept
{
	std::free(p);
}

void operator delete[](void* p) noexcept
{
	std::free(p);
}

void operator delete(void* p, std::size_t) noexcept
{
	std::free(p);
}

void operator delete[](void* p, std::size_t) noexcept
{
	std::free(p);
}
