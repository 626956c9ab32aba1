#pragma once

#include <functional>
#include <string>

typedef struct _XDisplay Display;
typedef union _XEvent XEvent;

namespace VSTGUI
{
// The desktop's CLIPBOARD selection for a window: copied text is offered to other programs
// (as UTF8_STRING or STRING) until one of them takes the selection; pasting asks its owner.
class X11Clipboard
{
public:
	X11Clipboard (Display* display, unsigned long window);

	void write (const std::string& text);
	void read (std::function<void (const std::string& text)> done);
	// Handles the selection events of the window; false for any other event.
	bool handleEvent (XEvent& event);

private:
	void answerRequest (XEvent& event);
	void receive (XEvent& event);

	Display* display;
	unsigned long window;
	unsigned long clipboard, utf8String, targets, property;
	std::string owned;
	bool owning {false};
	std::function<void (const std::string& text)> pending;
};
} // VSTGUI
