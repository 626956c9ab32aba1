#pragma once

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <thread>
#include <vector>

// Keeps the callouts a run loop makes into an instance (its timer's) and the instance's closing, on any thread,
// apart: closing waits for a callout in progress on another thread, and once it has begun no callout is let in.
// A callout on the closing thread itself (a host listener that closes the instance from inside an announcement)
// cannot be waited for: after each call into the host it asks whether closing has begun, and touches nothing of
// the instance if so. Counted references, handed to the timer as its context, keep the gate itself alive until
// both the instance and the timer are gone.
class CalloutGate
{
public:
	explicit CalloutGate(void* target) : m_target(target) {}
	CalloutGate(const CalloutGate&) = delete;
	CalloutGate& operator=(const CalloutGate&) = delete;

	// As Core Foundation's context callbacks expect them; the creator holds the first reference.
	static const void* retain(const void* gate);
	static void release(const void* gate);

	// What the callouts reach; valid inside an admitted callout, until closing begins.
	void* target() const { return m_target; }
	bool closing() const { return m_closing.load(std::memory_order_acquire); }
	// Begins closing and waits until no callout is in progress on another thread.
	void close();

	// One callout, in progress while it lives.
	class Callout
	{
	public:
		explicit Callout(CalloutGate& gate);
		~Callout();
		Callout(const Callout&) = delete;
		Callout& operator=(const Callout&) = delete;
		// False once closing has begun: the callout must not touch the target.
		bool admitted() const { return m_admitted; }

	private:
		CalloutGate& m_gate;
		bool m_admitted = false;
	};

private:
	~CalloutGate() = default;

	void* const m_target;
	std::atomic<int> m_references{1};
	std::atomic<bool> m_closing{false};
	std::mutex m_mutex;
	std::condition_variable m_calloutEnded;
	// The thread of every callout in progress (a listener may turn the run loop, nesting callouts on one thread).
	std::vector<std::thread::id> m_callouts;
};
