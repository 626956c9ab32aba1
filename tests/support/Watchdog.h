#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <stop_token>
#include <thread>

// Ends the test program with a line saying what hung when it is not destroyed in time: threads that wait for
// each other for ever can be neither joined nor reported any other way.
class Watchdog
{
public:
	Watchdog(std::chrono::seconds limit, const char* what)
		: m_thread([limit, what, this](std::stop_token stop) {
			  std::unique_lock<std::mutex> lock(m_mutex);
			  if (m_stopped.wait_for(lock, stop, limit, [] { return false; }) || stop.stop_requested())
				  return;
			  std::fprintf(stderr, "Hung for %lld s: %s\n", static_cast<long long>(limit.count()), what);
			  std::fflush(stderr);
			  std::_Exit(EXIT_FAILURE);
		  })
	{
	}

private:
	std::mutex m_mutex;
	std::condition_variable_any m_stopped;
	std::jthread m_thread;
};
