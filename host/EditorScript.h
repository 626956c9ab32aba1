#pragma once

#include <Cocoa/Cocoa.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

// What a person does to the panel, written down one action a line, at the panel's pixel coordinates (origin at
// its top left, as in a screenshot of it):
//
//   click X Y                 press and release the left button
//   drag X1 Y1 X2 Y2          press at the first point, move to the second in ten steps, release there
//   key K                     press and release a key: a character, or Return, Enter, Escape, Tab, Backspace,
//                             Delete, Space, Left, Right, Up, Down, Home, End, PageUp, PageDown; modifiers go
//                             before it joined by '+' (shift, cmd, alt, ctrl), as in cmd+a
//   wait MS                   let MS milliseconds pass on the run loop's clock
//
// Blank lines and lines starting with '#' are skipped.
struct EditorAction
{
	enum class Kind
	{
		Click,
		Drag,
		Key,
		Wait
	};
	Kind kind = Kind::Wait;
	NSPoint from;
	NSPoint to;
	uint32_t character = 0;
	NSUInteger modifiers = 0;
	double milliseconds = 0;
};

// Throws HostError naming the file and line of the first line it cannot read.
std::vector<EditorAction> parseEditorScript(const std::string& text, const std::string& fileName);
std::vector<EditorAction> readEditorScript(const std::string& path);

// Sends each action to the window as input events; `wait` lets the given seconds pass. Between actions the
// window's run loop handles what the events left for it.
void runEditorScript(NSWindow* window, const std::vector<EditorAction>& actions,
	const std::function<void(double seconds)>& wait);
