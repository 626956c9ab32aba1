#pragma once

#include <Cocoa/Cocoa.h>

#include <functional>
#include <string>

typedef struct _XDisplay Display;

// A top-level window on the X server that shows a view to a person: the window follows the size the view asks
// for, and the view the size the person drags the window to.
class EditorWindow
{
public:
	// Throws HostError when no display can be opened.
	explicit EditorWindow(const std::string& title);
	~EditorWindow();
	EditorWindow(const EditorWindow&) = delete;
	EditorWindow& operator=(const EditorWindow&) = delete;

	// Puts the view into a new window of its size and shows it.
	void show(NSView* view);
	// Runs the main run loop until the person closes the window; `turn` runs about every 20 ms.
	void run(const std::function<void()>& turn);
	unsigned long nativeWindow() const { return m_window; }

private:
	void handleEvents();
	// Asks the server for the view's size; configurations it reports from before this request are history.
	void resizeToView();

	std::string m_title;
	NSView* m_view = nullptr;
	Display* m_display = nullptr;
	unsigned long m_window = 0;
	unsigned long m_deleteAtom = 0;
	NSWindow* m_nsWindow = nullptr;
	id m_observer = nil;
	bool m_closed = false;
	bool m_destroyed = false;
	bool m_resizingView = false;
	// Serial number of the last request that resized the window to the view.
	unsigned long m_lastResizeRequest = 0;
};
