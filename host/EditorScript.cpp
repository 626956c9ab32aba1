#include "EditorScript.h"

#include "HostError.h"
#include "InputFile.h"

#include <CoreFoundation/CoreFoundation.h>

#include <cmath>
#include <cstdlib>
#include <map>
#include <sstream>

namespace
{
constexpr int kDragSteps = 10;

const std::map<std::string, uint32_t>& keyNames()
{
	static const std::map<std::string, uint32_t> names{{"return", NSCarriageReturnCharacter},
		{"enter", NSEnterCharacter}, {"escape", 0x1B}, {"tab", NSTabCharacter}, {"backspace", NSDeleteCharacter},
		{"delete", NSDeleteFunctionKey}, {"space", ' '}, {"left", NSLeftArrowFunctionKey},
		{"right", NSRightArrowFunctionKey}, {"up", NSUpArrowFunctionKey}, {"down", NSDownArrowFunctionKey},
		{"home", NSHomeFunctionKey}, {"end", NSEndFunctionKey}, {"pageup", NSPageUpFunctionKey},
		{"pagedown", NSPageDownFunctionKey}};
	return names;
}

const std::map<std::string, NSUInteger>& modifierNames()
{
	static const std::map<std::string, NSUInteger> names{{"shift", NSEventModifierFlagShift},
		{"cmd", NSEventModifierFlagCommand}, {"alt", NSEventModifierFlagOption}, {"ctrl", NSEventModifierFlagControl}};
	return names;
}

std::string lower(std::string s)
{
	for (char& c : s)
		c = char(std::tolower(static_cast<unsigned char>(c)));
	return s;
}

// One UTF-8 character as a code point; 0 when the text is not exactly one.
uint32_t singleCharacter(const std::string& s)
{
	const auto* b = reinterpret_cast<const unsigned char*>(s.data());
	size_t length = s.size();
	if (length == 1 && b[0] < 0x80)
		return b[0];
	if (length == 2 && (b[0] & 0xE0) == 0xC0)
		return uint32_t(b[0] & 0x1F) << 6 | (b[1] & 0x3F);
	if (length == 3 && (b[0] & 0xF0) == 0xE0)
		return uint32_t(b[0] & 0x0F) << 12 | uint32_t(b[1] & 0x3F) << 6 | (b[2] & 0x3F);
	return 0;
}

void parseKey(const std::string& keyText, EditorAction& action, const std::function<HostError(std::string)>& fail)
{
	std::string rest = keyText;
	for (size_t plus; (plus = rest.find('+')) != std::string::npos && plus + 1 < rest.size();)
	{
		const auto modifier = modifierNames().find(lower(rest.substr(0, plus)));
		if (modifier == modifierNames().end())
			throw fail("unknown modifier '" + rest.substr(0, plus) + "'");
		action.modifiers |= modifier->second;
		rest = rest.substr(plus + 1);
	}
	const auto named = keyNames().find(lower(rest));
	action.character = named != keyNames().end() ? named->second : singleCharacter(rest);
	if (action.character == 0)
		throw fail("unknown key '" + rest + "'");
}

void runLoopOnce()
{
	CFRunLoopRunInMode(kCFRunLoopDefaultMode, 0, false);
}

void mouse(NSWindow* window, NSEventType type, NSPoint at)
{
	window->sendEvent(NSEvent::mouseEventWithType(type, at, 0, type == NSEventTypeLeftMouseDown ? 1 : 0));
}
}

std::vector<EditorAction> parseEditorScript(const std::string& text, const std::string& fileName)
{
	std::vector<EditorAction> actions;
	std::istringstream lines(text);
	std::string line;
	for (int number = 1; std::getline(lines, line); ++number)
	{
		auto fail = [&](const std::string& what) { return HostError(fileName + ":" + std::to_string(number) + ": " + what); };
		std::istringstream words(line);
		std::string verb;
		if (!(words >> verb) || verb[0] == '#')
			continue;
		std::vector<std::string> args;
		for (std::string w; words >> w;)
			args.push_back(w);
		auto numbers = [&](size_t count) {
			if (args.size() != count)
				throw fail("'" + verb + "' needs " + std::to_string(count) + " numbers");
			std::vector<double> values;
			for (const std::string& a : args)
			{
				char* end = nullptr;
				const double v = std::strtod(a.c_str(), &end);
				if (*end || !std::isfinite(v) || v < 0 || v > 1e6)
					throw fail("'" + a + "' is not a coordinate or time");
				values.push_back(v);
			}
			return values;
		};
		EditorAction action;
		if (verb == "click")
		{
			const auto v = numbers(2);
			action.kind = EditorAction::Kind::Click;
			action.from = action.to = NSMakePoint(v[0], v[1]);
		}
		else if (verb == "drag")
		{
			const auto v = numbers(4);
			action.kind = EditorAction::Kind::Drag;
			action.from = NSMakePoint(v[0], v[1]);
			action.to = NSMakePoint(v[2], v[3]);
		}
		else if (verb == "wait")
		{
			action.kind = EditorAction::Kind::Wait;
			action.milliseconds = numbers(1)[0];
		}
		else if (verb == "key")
		{
			if (args.size() != 1)
				throw fail("'key' needs one key");
			action.kind = EditorAction::Kind::Key;
			parseKey(args[0], action, fail);
		}
		else
			throw fail("unknown action '" + verb + "'");
		actions.push_back(action);
	}
	return actions;
}

std::vector<EditorAction> readEditorScript(const std::string& path)
{
	const std::vector<uint8_t> bytes = readInputFile(path, kScriptFile);
	return parseEditorScript(std::string(bytes.begin(), bytes.end()), path);
}

void runEditorScript(NSWindow* window, const std::vector<EditorAction>& actions,
	const std::function<void(double seconds)>& wait)
{
	for (const EditorAction& a : actions)
	{
		NSAutoreleasePool pool;
		switch (a.kind)
		{
		case EditorAction::Kind::Click:
			mouse(window, NSEventTypeLeftMouseDown, a.from);
			runLoopOnce();
			mouse(window, NSEventTypeLeftMouseUp, a.from);
			break;
		case EditorAction::Kind::Drag:
			mouse(window, NSEventTypeLeftMouseDown, a.from);
			for (int step = 1; step <= kDragSteps; ++step)
			{
				const double t = double(step) / kDragSteps;
				runLoopOnce();
				mouse(window, NSEventTypeLeftMouseDragged,
					NSMakePoint(a.from.x + (a.to.x - a.from.x) * t, a.from.y + (a.to.y - a.from.y) * t));
			}
			mouse(window, NSEventTypeLeftMouseUp, a.to);
			break;
		case EditorAction::Kind::Key:
			window->sendEvent(NSEvent::keyEventWithType(NSEventTypeKeyDown, a.character, a.modifiers));
			window->sendEvent(NSEvent::keyEventWithType(NSEventTypeKeyUp, a.character, a.modifiers));
			break;
		case EditorAction::Kind::Wait:
			wait(a.milliseconds / 1000.0);
			break;
		}
		runLoopOnce();
	}
}
