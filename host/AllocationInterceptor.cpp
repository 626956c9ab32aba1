// The replacements live in a file of their own, so that no inlined new or delete of another file meets them.
#include "AllocationInterceptor.h"

#include <cstddef>
#include <cstdlib>
#include <new>

#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
#define VIREL_SANITIZER_OWNS_MALLOC 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer) || __has_feature(thread_sanitizer) || __has_feature(memory_sanitizer)
#define VIREL_SANITIZER_OWNS_MALLOC 1
#endif
#endif

#ifndef VIREL_SANITIZER_OWNS_MALLOC
// glibc's own entry points, which the replacements below hand over to after counting.
extern "C" void* __libc_malloc(std::size_t);
extern "C" void* __libc_calloc(std::size_t, std::size_t);
extern "C" void* __libc_realloc(void*, std::size_t);
#endif

namespace
{
// Plain thread-local integers: set up with the thread, before any allocation of its own, so reading them inside
// malloc cannot recurse.
thread_local bool t_armed = false;
thread_local long t_count = 0;

inline void count()
{
	if (t_armed)
		++t_count;
}

// Memory for operator new, not counted a second time by a replaced malloc.
void* uncountedMalloc(std::size_t size)
{
#ifdef VIREL_SANITIZER_OWNS_MALLOC
	return std::malloc(size);
#else
	return __libc_malloc(size);
#endif
}

void* allocate(std::size_t size)
{
	count();
	if (void* p = uncountedMalloc(size ? size : 1))
		return p;
	throw std::bad_alloc();
}

void* allocateAligned(std::size_t size, std::align_val_t alignment)
{
	count();
	const std::size_t a = static_cast<std::size_t>(alignment);
	if (void* p = std::aligned_alloc(a, (size + a - 1) / a * a))
		return p;
	throw std::bad_alloc();
}
}

void allocationInterceptor::arm()
{
	t_count = 0;
	t_armed = true;
}

long allocationInterceptor::disarm()
{
	t_armed = false;
	return t_count;
}

#ifdef VIREL_SANITIZER_OWNS_MALLOC
bool allocationInterceptor::countsMalloc()
{
	return false;
}
#else
bool allocationInterceptor::countsMalloc()
{
	return true;
}

// free stays glibc's: it takes back what either entry handed out.
extern "C" void* malloc(std::size_t size)
{
	count();
	return __libc_malloc(size);
}

extern "C" void* calloc(std::size_t count_, std::size_t size)
{
	count();
	return __libc_calloc(count_, size);
}

extern "C" void* realloc(void* p, std::size_t size)
{
	count();
	return __libc_realloc(p, size);
}
#endif

void* operator new(std::size_t size)
{
	return allocate(size);
}

void* operator new[](std::size_t size)
{
	return allocate(size);
}

void* operator new(std::size_t size, const std::nothrow_t&) noexcept
{
	try
	{
		return allocate(size);
	}
	catch (...)
	{
		return nullptr;
	}
}

void* operator new[](std::size_t size, const std::nothrow_t&) noexcept
{
	return operator new(size, std::nothrow);
}

void* operator new(std::size_t size, std::align_val_t alignment)
{
	return allocateAligned(size, alignment);
}

void* operator new[](std::size_t size, std::align_val_t alignment)
{
	return allocateAligned(size, alignment);
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

void operator delete(void* p, std::align_val_t) noexcept
{
	std::free(p);
}

void operator delete[](void* p, std::align_val_t) noexcept
{
	std::free(p);
}

void operator delete(void* p, std::size_t, std::align_val_t) noexcept
{
	std::free(p);
}

void operator delete[](void* p, std::size_t, std::align_val_t) noexcept
{
	std::free(p);
}
