#include "CFObject.h"

#include <CoreFoundation/CFStandIn.h>

#include <cstdio>
#include <iostream>
#include <mutex>
#include <string>
#include <unistd.h>

namespace
{
// For people: the terminal. A notice is printed; an alert lists its buttons and reads a choice.
class TerminalResponder : public cf::UserNotificationResponder
{
public:
	SInt32 display(const cf::UserNotification& request, CFOptionFlags* response) override
	{
		std::fprintf(stderr, "\n[%s]\n%s\n", request.header.c_str(), request.message.c_str());
		if (request.kind == cf::UserNotification::Kind::Notice)
			return 0;
		const std::string buttons[3] = {request.defaultButton.empty() ? "OK" : request.defaultButton,
			request.alternateButton, request.otherButton};
		for (int i = 0; i < 3; ++i)
			if (!buttons[i].empty())
				std::fprintf(stderr, "  %d) %s\n", i + 1, buttons[i].c_str());
		CFOptionFlags answer = kCFUserNotificationCancelResponse;
		if (isatty(STDIN_FILENO))
		{
			std::fprintf(stderr, "choice: ");
			std::string line;
			if (std::getline(std::cin, line) && !line.empty() && line[0] >= '1' && line[0] <= '3' &&
				!buttons[line[0] - '1'].empty())
				answer = static_cast<CFOptionFlags>(line[0] - '1');
		}
		if (response)
			*response = answer;
		return 0;
	}
};

std::mutex g_mutex;
TerminalResponder g_terminal;
cf::UserNotificationResponder* g_responder = &g_terminal;

std::string text(CFStringRef s)
{
	return s ? cfimpl::stringOf(s) : std::string();
}

SInt32 show(const cf::UserNotification& request, CFOptionFlags* response)
{
	cf::UserNotificationResponder* responder;
	{
		std::lock_guard<std::mutex> lock(g_mutex);
		responder = g_responder;
	}
	return responder->display(request, response);
}
}

namespace cf
{
UserNotificationResponder* setUserNotificationResponder(UserNotificationResponder* responder)
{
	std::lock_guard<std::mutex> lock(g_mutex);
	UserNotificationResponder* previous = g_responder;
	g_responder = responder ? responder : &g_terminal;
	return previous == &g_terminal ? nullptr : previous;
}

ScriptedUserNotifications::ScriptedUserNotifications() : m_previous(setUserNotificationResponder(this)) {}

ScriptedUserNotifications::~ScriptedUserNotifications()
{
	setUserNotificationResponder(m_previous);
}

void ScriptedUserNotifications::queueResponse(CFOptionFlags response)
{
	m_responses.push_back(response);
}

SInt32 ScriptedUserNotifications::display(const UserNotification& request, CFOptionFlags* response)
{
	m_shown.push_back(request);
	if (request.kind == UserNotification::Kind::Alert && response)
	{
		*response = kCFUserNotificationCancelResponse;
		if (!m_responses.empty())
		{
			*response = m_responses.front();
			m_responses.pop_front();
		}
	}
	return 0;
}
}

SInt32 CFUserNotificationDisplayNotice(CFTimeInterval timeout, CFOptionFlags flags, CFURLRef, CFURLRef, CFURLRef,
	CFStringRef alertHeader, CFStringRef alertMessage, CFStringRef defaultButtonTitle)
{
	cf::UserNotification request;
	request.kind = cf::UserNotification::Kind::Notice;
	request.timeout = timeout;
	request.flags = flags;
	request.header = text(alertHeader);
	request.message = text(alertMessage);
	request.defaultButton = text(defaultButtonTitle);
	return show(request, nullptr);
}

SInt32 CFUserNotificationDisplayAlert(CFTimeInterval timeout, CFOptionFlags flags, CFURLRef, CFURLRef, CFURLRef,
	CFStringRef alertHeader, CFStringRef alertMessage, CFStringRef defaultButtonTitle, CFStringRef alternateButtonTitle,
	CFStringRef otherButtonTitle, CFOptionFlags* responseFlags)
{
	cf::UserNotification request;
	request.kind = cf::UserNotification::Kind::Alert;
	request.timeout = timeout;
	request.flags = flags;
	request.header = text(alertHeader);
	request.message = text(alertMessage);
	request.defaultButton = text(defaultButtonTitle);
	request.alternateButton = text(alternateButtonTitle);
	request.otherButton = text(otherButtonTitle);
	CFOptionFlags answer = kCFUserNotificationCancelResponse;
	SInt32 status = show(request, &answer);
	if (responseFlags)
		*responseFlags = answer & 0x3;
	return status;
}
