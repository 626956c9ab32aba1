#pragma once

#include <CoreFoundation/CFBase.h>
#include <CoreFoundation/CFDate.h>
#include <CoreFoundation/CFURL.h>

CF_EXTERN_C_BEGIN

enum
{
	kCFUserNotificationStopAlertLevel = 0,
	kCFUserNotificationNoteAlertLevel = 1,
	kCFUserNotificationCautionAlertLevel = 2,
	kCFUserNotificationPlainAlertLevel = 3
};

enum
{
	kCFUserNotificationDefaultResponse = 0,
	kCFUserNotificationAlternateResponse = 1,
	kCFUserNotificationOtherResponse = 2,
	kCFUserNotificationCancelResponse = 3
};

enum
{
	kCFUserNotificationNoDefaultButtonFlag = (1UL << 5),
	kCFUserNotificationUseRadioButtonsFlag = (1UL << 6)
};

// Shows a one-button notice and returns at once; 0 on success.
SInt32 CFUserNotificationDisplayNotice(CFTimeInterval timeout, CFOptionFlags flags, CFURLRef iconURL,
	CFURLRef soundURL, CFURLRef localizationURL, CFStringRef alertHeader, CFStringRef alertMessage,
	CFStringRef defaultButtonTitle);
// Blocks until answered or timed out (0 = never); the answer is in the low two bits of *responseFlags.
SInt32 CFUserNotificationDisplayAlert(CFTimeInterval timeout, CFOptionFlags flags, CFURLRef iconURL,
	CFURLRef soundURL, CFURLRef localizationURL, CFStringRef alertHeader, CFStringRef alertMessage,
	CFStringRef defaultButtonTitle, CFStringRef alternateButtonTitle, CFStringRef otherButtonTitle,
	CFOptionFlags* responseFlags);

CF_EXTERN_C_END
