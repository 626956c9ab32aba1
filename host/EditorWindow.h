#pragma once

#include <Cocoa/Cocoa.h>

#include <functional>
#include <string>

typedef struct _XDisplay Display;

// A top-level window on the X server that shows a view to a person: the window follows the size the view asks
// for, and the view the size the person drags the window to. Where a window manager keeps the window at a size
// the view does not take (a maximised window, say), the view shows centred inside it.
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

private:
	struct PixelSize
	{
		unsigned int width = 0, height = 0;
		bool operator==(const PixelSize&) const = default;
	};

	void setSizeHints();
	void handleEvents();
	// The window took this size, from the person, a window manager or an earlier request.
	void followWindow(PixelSize size);
	// Asks the server for the view's size; configurations it reports from before this request are history.
	void resizeToView();
	// The view's holder at the view's size, centred in the window.
	void placeView();
	PixelSize viewSize() const;

	std::string m_title;
	NSView* m_view = nullptr;
	Display* m_display = nullptr;
	unsigned long m_window = 0;
	// The child of the window that holds the view's own window.
	unsigned long m_holder = 0;
	// The window's size as the server last reported it, and the last size the view was given.
	PixelSize m_windowSize;
	PixelSize m_offered;
	unsigned long m_deleteAtom = 0;
	NSWindow* m_nsWindow = nullptr;
	id m_observer = nil;
	bool m_closed = false;
	bool m_destroyed = false;
	bool m_resizingView = false;
	// Serial number of the last request that resized the window to the view.
	unsigned long m_lastResizeRequest = 0;
};
