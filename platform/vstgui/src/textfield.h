#pragma once

#include <cstddef>
#include <functional>
#include <string>

namespace VSTGUI::Detail
{
// The editing state of a one-line text field: UTF-8 text, a caret and a selection that runs from
// an anchor to the caret, both byte offsets on character boundaries.
class TextField
{
public:
	void reset (const std::string& newText);
	const std::string& text () const { return content; }
	size_t caret () const { return caretAt; }
	size_t selectionStart () const { return std::min (anchor, caretAt); }
	size_t selectionEnd () const { return std::max (anchor, caretAt); }
	bool hasSelection () const { return anchor != caretAt; }
	std::string selectedText () const { return content.substr (selectionStart (), selectionEnd () - selectionStart ()); }

	// Replaces the selection (or inserts at the caret); the caret ends after the new text.
	void insert (const std::string& utf8);
	// Backspace and Delete: the selection, else the character before or after the caret.
	void eraseBackward ();
	void eraseForward ();

	// Caret moves; with `extend` the anchor stays, so the selection grows or shrinks.
	void moveLeft (bool extend);
	void moveRight (bool extend);
	void moveHome (bool extend);
	void moveEnd (bool extend);
	void moveTo (size_t offset, bool extend);
	void selectAll ();

	// The character boundary nearest to x, where `widthOf` measures a prefix of the text.
	size_t offsetAt (double x, const std::function<double (const std::string&)>& widthOf) const;

private:
	size_t previous (size_t offset) const;
	size_t next (size_t offset) const;

	std::string content;
	size_t caretAt {0};
	size_t anchor {0};
};
}
