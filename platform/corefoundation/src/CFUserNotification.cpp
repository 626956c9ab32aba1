#include "CFObject.h"

#include <CoreFoundation/CFStandIn.h>

#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <mutex>
#include <string>
#include <vector>

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

// zenity ends with status 1 for its cancel button, and for Escape and closing the window unless it honours
// ZENITY_ESC; the default answer sits on the cancel button, so a 1 is the safe answer whatever the program
// makes of Escape. A zenity that reads the variable tells dismissing apart by a status of its own.
constexpr int kDismissedStatus = 70;

// zenity's dialog for a notice at this alert level: failures (the stop level) look like errors.
const char* noticeKind(CFOptionFlags flags)
{
	switch (flags & 0x3)
	{
		case kCFUserNotificationStopAlertLevel:
			return "--error";
		case kCFUserNotificationCautionAlertLevel:
			return "--warning";
		default:
			return "--info";
	}
}

// For people at a desktop: the dialog program every desktop here has (zenity); the terminal without one. A
// question puts its default button on zenity's cancel button, chosen by Return (--default-cancel), and the
// alternate one on its OK button; a notice's one button is its OK button.
class DesktopResponder : public cf::UserNotificationResponder
{
public:
	SInt32 display(const cf::UserNotification& request, CFOptionFlags* response) override
	{
		if (!std::getenv("DISPLAY") || !cf::programOnPath("zenity"))
			return m_terminal.display(request, response);
		const bool alert = request.kind == cf::UserNotification::Kind::Alert;
		const std::string defaultButton = request.defaultButton.empty() ? "OK" : request.defaultButton;
		const bool twoAnswers = alert && !request.alternateButton.empty();
		std::vector<std::string> args = {"zenity", alert ? "--question" : noticeKind(request.flags), "--no-markup",
			"--title=" + request.header, "--text=" + request.message};
		if (twoAnswers)
			args.insert(args.end(), {"--ok-label=" + request.alternateButton, "--cancel-label=" + defaultButton,
				"--default-cancel"});
		else
			args.push_back("--ok-label=" + defaultButton);
		if (request.timeout > 0)
			args.push_back("--timeout=" + std::to_string(int(std::ceil(request.timeout))));
		// Kept above the window it is about; a question also keeps that window from input until answered.
		if (const unsigned long parent = cf::dialogParentWindow())
		{
			args.push_back("--attach=" + std::to_string(parent));
			if (alert)
				args.push_back("--modal");
		}
		if (!alert)
			return cf::startDialogProgram(args) ? 0 : -1;
		if (!request.otherButton.empty())
			args.push_back("--extra-button=" + request.otherButton);
		std::string said;
		const int status = cf::runDialogProgram(args, {"ZENITY_ESC=" + std::to_string(kDismissedStatus)}, &said);
		while (!said.empty() && (said.back() == '\n' || said.back() == '\r'))
			said.pop_back();
		CFOptionFlags answer = kCFUserNotificationCancelResponse; // dismissed, timed out or failed to run
		if (status == 0)
			answer = twoAnswers ? kCFUserNotificationAlternateResponse : kCFUserNotificationDefaultResponse;
		else if (status == 1 && !request.otherButton.empty() && said == request.otherButton)
			answer = kCFUserNotificationOtherResponse;
		else if (status == 1 && twoAnswers)
			answer = kCFUserNotificationDefaultResponse;
		if (response)
			*response = answer;
		return status < 0 || status == 127 ? -1 : 0;
	}

private:
	TerminalResponder m_terminal;
};

std::mutex g_mutex;
DesktopResponder g_forPeople;
cf::UserNotificationResponder* g_responder = &g_forPeople;

std::string text(CFStringRef s)
{
	return s ? cfimpl::stringOf(s) : std::string();
}

cf::UserNotification makeRequest(cf::UserNotification::Kind kind, CFTimeInterval timeout, CFOptionFlags flags,
	CFStringRef header, CFStringRef message, CFStringRef defaultButton)
{
	cf::UserNotification r;
	r.kind = kind;
	r.timeout = timeout;
	r.flags = flags;
	r.header = text(header);
	r.message = text(message);
	r.defaultButton = text(defaultButton);
	return r;
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
	g_responder = responder ? responder : &g_forPeople;
	return previous == &g_forPeople ? nullptr : previous;
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
	return show(makeRequest(cf::UserNotification::Kind::Notice, timeout, flags, alertHeader, alertMessage, defaultButtonTitle),
		nullptr);
}

SInt32 CFUserNotificationDisplayAlert(CFTimeInterval timeout, CFOptionFlags flags, CFURLRef, CFURLRef, CFURLRef,
	CFStringRef alertHeader, CFStringRef alertMessage, CFStringRef defaultButtonTitle, CFStringRef alternateButtonTitle,
	CFStringRef otherButtonTitle, CFOptionFlags* responseFlags)
{
	cf::UserNotification alert =
		makeRequest(cf::UserNotification::Kind::Alert, timeout, flags, alertHeader, alertMessage, defaultButtonTitle);
	alert.alternateButton = text(alternateButtonTitle);
	alert.otherButton = text(otherButtonTitle);
	CFOptionFlags answer = kCFUserNotificationCancelResponse;
	SInt32 status = show(alert, &answer);
	if (responseFlags)
		*responseFlags = answer & 0x3;
	return status;
}
