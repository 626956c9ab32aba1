#include "CFObject.h"

#include <CoreFoundation/CFStandIn.h>

#include <sys/wait.h>
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

bool onPath(const std::string& program)
{
	const char* path = std::getenv("PATH");
	std::string dirs = path ? path : "";
	for (size_t start = 0; start <= dirs.size();)
	{
		size_t end = dirs.find(':', start);
		if (end == std::string::npos)
			end = dirs.size();
		const std::string candidate = dirs.substr(start, end - start) + "/" + program;
		if (end > start && access(candidate.c_str(), X_OK) == 0)
			return true;
		start = end + 1;
	}
	return false;
}

// Runs the program with these arguments, no shell in between. With wait, returns its exit status (-1 when it
// could not run) and what it wrote; without, it runs on alone and the call returns at once.
int run(const std::vector<std::string>& args, bool wait, std::string* output)
{
	std::vector<char*> argv;
	for (const std::string& a : args)
		argv.push_back(const_cast<char*>(a.c_str()));
	argv.push_back(nullptr);
	int fds[2] = {-1, -1};
	if (wait && pipe(fds) != 0)
		return -1;
	std::fflush(nullptr);
	const pid_t pid = fork();
	if (pid < 0)
		return -1;
	if (pid == 0)
	{
		if (!wait && fork() != 0)
			_exit(0); // the grandchild shows the dialog, so nobody has to wait for it
		if (wait)
		{
			close(fds[0]);
			dup2(fds[1], STDOUT_FILENO);
		}
		execvp(argv[0], argv.data());
		_exit(127);
	}
	std::string out;
	if (wait)
	{
		close(fds[1]);
		char buffer[256];
		for (ssize_t n; (n = read(fds[0], buffer, sizeof buffer)) > 0;)
			out.append(buffer, size_t(n));
		close(fds[0]);
	}
	int status = 0;
	waitpid(pid, &status, 0);
	if (output)
		*output = out;
	return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// For people at a desktop: the dialog program every desktop here has (zenity); the terminal without one.
class DesktopResponder : public cf::UserNotificationResponder
{
public:
	SInt32 display(const cf::UserNotification& request, CFOptionFlags* response) override
	{
		if (!std::getenv("DISPLAY") || !onPath("zenity"))
			return m_terminal.display(request, response);
		const bool alert = request.kind == cf::UserNotification::Kind::Alert;
		std::vector<std::string> args = {"zenity", alert ? "--question" : "--info", "--no-markup", "--title=" + request.header,
			"--text=" + request.message, "--ok-label=" + (request.defaultButton.empty() ? "OK" : request.defaultButton)};
		if (request.timeout > 0)
			args.push_back("--timeout=" + std::to_string(int(std::ceil(request.timeout))));
		if (!alert)
			return run(args, false, nullptr) == 0 ? 0 : -1;
		if (!request.alternateButton.empty())
			args.push_back("--cancel-label=" + request.alternateButton);
		if (!request.otherButton.empty())
			args.push_back("--extra-button=" + request.otherButton);
		std::string said;
		const int status = run(args, true, &said);
		while (!said.empty() && (said.back() == '\n' || said.back() == '\r'))
			said.pop_back();
		CFOptionFlags answer = kCFUserNotificationCancelResponse; // closed, timed out or failed to run
		if (status == 0)
			answer = kCFUserNotificationDefaultResponse;
		else if (status == 1 && !request.otherButton.empty() && said == request.otherButton)
			answer = kCFUserNotificationOtherResponse;
		else if (status == 1 && !request.alternateButton.empty() && said.empty())
			answer = kCFUserNotificationAlternateResponse;
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
