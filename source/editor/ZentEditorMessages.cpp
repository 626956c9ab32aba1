// Message boxes, and the two spots of the panel that open a web page after asking.
#include "ZentEditor.h"

#include <CoreFoundation/CoreFoundation.h>

#include "ShellCommand.h"

using namespace VSTGUI;

namespace
{
const char* const kWebsite = "https://vens.audio/virel";
const char* const kDonationPage = "https://www.paypal.com/donate?business=donate%40vens.audio";

#ifdef __APPLE__
const char* const kBrowserCommand = "open";
// Detached from the shell with no input and all output discarded, so the call returns at once.
const char* const kDetached = " </dev/null >/dev/null 2>&1 & disown";
#else
// The desktop's opener. The POSIX shell here has no disown; a shell that is not interactive leaves its
// background job running when it exits anyway.
const char* const kBrowserCommand = "xdg-open";
const char* const kDetached = " </dev/null >/dev/null 2>&1 &";
#endif

CFStringRef title()
{
	return CFSTR("Vens' Virel");
}

// The text as a Core Foundation string (null for bytes that are not UTF-8); the caller releases it.
CFStringRef createString(const std::string& text)
{
	return CFStringCreateWithCString(kCFAllocatorDefault, text.c_str(), kCFStringEncodingUTF8);
}

// A question with "Cancel" as the default button, so that Return never confirms by accident.
bool askOkOrCancel(const std::string& text)
{
	CFStringRef message = createString(text);
	CFOptionFlags response = kCFUserNotificationCancelResponse;
	CFUserNotificationDisplayAlert(0, kCFUserNotificationPlainAlertLevel, nullptr, nullptr, nullptr, title(), message,
	                               CFSTR("Cancel"), CFSTR("OK"), nullptr, &response);
	if (message)
		CFRelease(message);
	return response == kCFUserNotificationAlternateResponse;
}
}

void ZentEditor::showMessageBoxOk(const std::string& text) const
{
	CFStringRef message = createString(text);
	CFUserNotificationDisplayNotice(0, kCFUserNotificationStopAlertLevel, nullptr, nullptr, nullptr, title(), message,
	                                CFSTR("OK"));
	if (message)
		CFRelease(message);
}

bool ZentEditor::showMessageBoxYesNo(const std::string& text) const
{
	return askOkOrCancel(text);
}

void ZentEditor::openURL(const std::string& url, const std::string& question)
{
	if (askOkOrCancel(question + " (internet connection required)"))
		zenteditor::runShellCommand(std::string(kBrowserCommand) + " \"" + url + "\"" + kDetached);
}

CMouseEventResult ZentEditor::viewOnMouseDown(CView* view, CPoint, CButtonState)
{
	if (view == nullptr)
		return kMouseEventNotHandled;
	if (view == m_clickableLogo)
		openURL(kWebsite, "Open Vens' Virel Website?");
	else if (view == m_btDonate)
		openURL(kDonationPage, "Do you want to support this project by donating something?");
	else
		return kMouseEventNotHandled;
	return kMouseEventHandled;
}
