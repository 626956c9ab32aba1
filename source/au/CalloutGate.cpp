#include "au/CalloutGate.h"

#include <algorithm>

const void* CalloutGate::retain(const void* gate)
{
	const_cast<CalloutGate*>(static_cast<const CalloutGate*>(gate))->m_references.fetch_add(1, std::memory_order_relaxed);
	return gate;
}

void CalloutGate::release(const void* gate)
{
	auto* self = const_cast<CalloutGate*>(static_cast<const CalloutGate*>(gate));
	if (self->m_references.fetch_sub(1, std::memory_order_acq_rel) == 1)
		delete self;
}

void CalloutGate::close()
{
	std::unique_lock<std::mutex> lock(m_mutex);
	m_closing.store(true, std::memory_order_release);
	const std::thread::id self = std::this_thread::get_id();
	m_calloutEnded.wait(lock, [&] {
		return std::all_of(m_callouts.begin(), m_callouts.end(), [&](std::thread::id t) { return t == self; });
	});
}

CalloutGate::Callout::Callout(CalloutGate& gate) : m_gate(gate)
{
	std::lock_guard<std::mutex> lock(m_gate.m_mutex);
	if (m_gate.closing())
		return;
	m_gate.m_callouts.push_back(std::this_thread::get_id());
	m_admitted = true;
}

CalloutGate::Callout::~Callout()
{
	if (!m_admitted)
		return;
	std::lock_guard<std::mutex> lock(m_gate.m_mutex);
	auto& callouts = m_gate.m_callouts;
	callouts.erase(std::find(callouts.begin(), callouts.end(), std::this_thread::get_id()));
	m_gate.m_calloutEnded.notify_all();
}
