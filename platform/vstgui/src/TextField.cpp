#include "textfield.h"

#include <cmath>

namespace VSTGUI::Detail
{
namespace
{
bool continuation (char c)
{
	return (static_cast<unsigned char> (c) & 0xC0) == 0x80;
}
}

void TextField::reset (const std::string& newText)
{
	content = newText;
	caretAt = anchor = content.size ();
}

size_t TextField::previous (size_t offset) const
{
	if (offset == 0)
		return 0;
	--offset;
	while (offset > 0 && continuation (content[offset]))
		--offset;
	return offset;
}

size_t TextField::next (size_t offset) const
{
	if (offset >= content.size ())
		return content.size ();
	++offset;
	while (offset < content.size () && continuation (content[offset]))
		++offset;
	return offset;
}

void TextField::insert (const std::string& utf8)
{
	const size_t start = selectionStart ();
	content.replace (start, selectionEnd () - start, utf8);
	caretAt = anchor = start + utf8.size ();
}

void TextField::eraseBackward ()
{
	if (!hasSelection ())
		anchor = previous (caretAt);
	insert ({});
}

void TextField::eraseForward ()
{
	if (!hasSelection ())
		anchor = next (caretAt);
	insert ({});
}

void TextField::moveTo (size_t offset, bool extend)
{
	caretAt = std::min (offset, content.size ());
	if (!extend)
		anchor = caretAt;
}

void TextField::moveLeft (bool extend)
{
	// Without Shift a selection collapses to its start, as desktop fields do.
	moveTo (hasSelection () && !extend ? selectionStart () : previous (caretAt), extend);
}

void TextField::moveRight (bool extend)
{
	moveTo (hasSelection () && !extend ? selectionEnd () : next (caretAt), extend);
}

void TextField::moveHome (bool extend)
{
	moveTo (0, extend);
}

void TextField::moveEnd (bool extend)
{
	moveTo (content.size (), extend);
}

void TextField::selectAll ()
{
	anchor = 0;
	caretAt = content.size ();
}

size_t TextField::offsetAt (double x, const std::function<double (const std::string&)>& widthOf) const
{
	size_t best = 0;
	double bestDistance = std::abs (x);
	for (size_t offset = next (0); offset <= content.size () && offset > 0; offset = next (offset))
	{
		const double distance = std::abs (x - widthOf (content.substr (0, offset)));
		if (distance < bestDistance)
		{
			best = offset;
			bestDistance = distance;
		}
		if (offset == content.size ())
			break;
	}
	return best;
}
}
