#include "vstgui/lib/controls/ctextedit.h"

#include "vstgui/lib/cdrawcontext.h"
#include "vstgui/lib/cframe.h"
#include "vstgui/lib/cvstguitimer.h"

#include "linescroll.h"
#include "textfield.h"
#include "textmetrics.h"

#include <algorithm>
#include <cmath>
#include <utility>
#include <cstdio>

namespace VSTGUI
{
namespace
{
const CColor kSelectionColour (51, 128, 230, 110);
const char* const kBullet = "\xE2\x80\xA2";
// How often a drag held beyond the text's ends scrolls it by a character.
constexpr uint32_t kDragScrollInterval = 50;

std::string utf8Of (uint32_t cp)
{
	std::string s;
	if (cp < 0x80)
		s += static_cast<char> (cp);
	else if (cp < 0x800)
	{
		s += static_cast<char> (0xC0 | (cp >> 6));
		s += static_cast<char> (0x80 | (cp & 0x3F));
	}
	else if (cp < 0x10000)
	{
		s += static_cast<char> (0xE0 | (cp >> 12));
		s += static_cast<char> (0x80 | ((cp >> 6) & 0x3F));
		s += static_cast<char> (0x80 | (cp & 0x3F));
	}
	else if (cp < 0x110000)
	{
		s += static_cast<char> (0xF0 | (cp >> 18));
		s += static_cast<char> (0x80 | ((cp >> 12) & 0x3F));
		s += static_cast<char> (0x80 | ((cp >> 6) & 0x3F));
		s += static_cast<char> (0x80 | (cp & 0x3F));
	}
	return s;
}

size_t characters (const std::string& s)
{
	size_t n = 0;
	for (unsigned char c : s)
		n += (c & 0xC0) != 0x80;
	return n;
}

// Pasted text for a one-line field: line breaks and tabs become spaces, other controls go.
std::string oneLine (const std::string& text)
{
	std::string out;
	for (unsigned char c : text)
	{
		if (c == '\n' || c == '\r' || c == '\t')
			out += ' ';
		else if (c >= 0x20 && c != 0x7F)
			out += static_cast<char> (c);
	}
	return out;
}
}

CTextEdit::CTextEdit (const CRect& size, IControlListener* listener, int32_t tag, UTF8StringPtr txt,
                      CBitmap* background, const int32_t style)
: CTextLabel (size, txt, background, style), field (std::make_unique<Detail::TextField> ())
{
	this->listener = listener;
	this->tag = tag;
	setWantsFocus (true);
}

CTextEdit::CTextEdit (const CTextEdit& v)
: CTextLabel (v)
, stringToValueFunction (v.stringToValueFunction)
, placeholderString (v.placeholderString)
, immediateTextChange (v.immediateTextChange)
, secureStyle (v.secureStyle)
, field (std::make_unique<Detail::TextField> ())
{
}

CTextEdit::~CTextEdit () noexcept = default;

void CTextEdit::setText (const UTF8String& txt)
{
	CTextLabel::setText (txt);
	if (platformTextEdit && platformText != getText ())
	{
		field->reset (getText ().getString ());
		platformText = getText ();
		revealCaret ();
	}
}

void CTextEdit::setValue (float val)
{
	CTextLabel::setValue (val);
	char string[256];
	std::snprintf (string, sizeof (string), "%.2f", getValue ());
	setText (UTF8String (string));
}

void CTextEdit::setSecureStyle (bool state)
{
	if (secureStyle == state)
		return;
	secureStyle = state;
	setDirty ();
}

void CTextEdit::setPlaceholderString (const UTF8String& str)
{
	placeholderString = str;
	if (text.empty ())
		setDirty ();
}

void CTextEdit::registerTextEditListener (ITextEditListener* l)
{
	textEditListeners.push_back (l);
}

void CTextEdit::unregisterTextEditListener (ITextEditListener* l)
{
	auto it = std::find (textEditListeners.begin (), textEditListeners.end (), l);
	if (it != textEditListeners.end ())
		textEditListeners.erase (it);
}

size_t CTextEdit::getCaret () const
{
	return platformTextEdit ? field->caret () : 0;
}

size_t CTextEdit::getSelectionStart () const
{
	return platformTextEdit ? field->selectionStart () : 0;
}

size_t CTextEdit::getSelectionEnd () const
{
	return platformTextEdit ? field->selectionEnd () : 0;
}

//------------------------------------------------------------------------------------------------
// Layout and drawing

std::string CTextEdit::shownText () const
{
	const std::string& s = platformTextEdit ? field->text () : text.getString ();
	if (!secureStyle)
		return s;
	std::string bullets;
	for (size_t i = characters (s); i > 0; --i)
		bullets += kBullet;
	return bullets;
}

CRect CTextEdit::textArea () const
{
	CRect r (getViewSize ());
	r.inset (textInset.x, textInset.y);
	return r;
}

// How many frame pixels a unit of this view takes.
double CTextEdit::pixelScale () const
{
	const double scale = getGlobalTransform ().m11;
	return scale > 0. ? scale : 1.;
}

// Measured at the frame's pixel scale: the drawn glyphs advance by whole pixels there, so the caret
// and the selection meet them at any zoom.
CCoord CTextEdit::widthOf (const std::string& fieldText) const
{
	if (secureStyle)
		return Detail::stringWidth (*fontID, kBullet, pixelScale ()) * static_cast<CCoord> (characters (fieldText));
	return Detail::stringWidth (*fontID, fieldText, pixelScale ());
}

// One frame pixel, or one unit where the frame is zoomed in.
CCoord CTextEdit::caretWidth () const
{
	return std::max (1., std::round (pixelScale ())) / pixelScale ();
}

// The nearest x on a frame pixel's edge, as glyphs are put there.
CCoord CTextEdit::toPixel (CCoord x) const
{
	const double scale = pixelScale ();
	const double dx = getGlobalTransform ().dx;
	return (std::floor (scale * x + dx + 0.5) - dx) / scale;
}

Detail::LineSpan CTextEdit::lineSpan () const
{
	const CRect r = textArea ();
	// Half a unit for the start drawString rounds, half a pixel for the glyphs put on pixels.
	return {r.left, r.right, widthOf (field->text ()), caretWidth (), 0.5 + 0.5 / pixelScale ()};
}

CCoord CTextEdit::textStart () const
{
	const Detail::LineSpan span = lineSpan ();
	CCoord aligned = span.left;
	if (horiTxtAlign == kRightText)
		aligned = span.right - span.textWidth;
	else if (horiTxtAlign == kCenterText)
		aligned = span.left + (span.right - span.left - span.textWidth) / 2.;
	return Detail::lineStart (span, aligned, scrollOffset);
}

// Drawn text starts on a whole unit (CDrawContext::drawString rounds it) and its glyphs on whole pixels.
CCoord CTextEdit::glyphStart () const
{
	return toPixel (std::floor (textStart () + 0.5));
}

void CTextEdit::revealCaret ()
{
	const std::string& s = field->text ();
	scrollOffset = Detail::scrollToCaret (lineSpan (), widthOf (s.substr (0, field->caret ())), scrollOffset);
}

size_t CTextEdit::offsetAt (const CPoint& where) const
{
	const CCoord left = glyphStart ();
	return field->offsetAt (where.x - left, [this] (const std::string& prefix) { return widthOf (prefix); });
}

void CTextEdit::draw (CDrawContext* pContext)
{
	if (platformTextEdit)
	{
		drawBack (pContext);
		drawField (pContext);
	}
	else if (text.empty () && !placeholderString.empty ())
	{
		drawBack (pContext);
		CColor saved = fontColor;
		fontColor.alpha = static_cast<uint8_t> (fontColor.alpha / 2);
		drawPlatformText (pContext, placeholderString.data ());
		fontColor = saved;
	}
	else if (secureStyle)
	{
		drawBack (pContext);
		drawPlatformText (pContext, shownText ().c_str ());
	}
	else
		CTextLabel::draw (pContext);
	setDirty (false);
}

// The open field: the selection behind the text, the caret over it, all inside the text area.
void CTextEdit::drawField (CDrawContext* pContext)
{
	const CRect area = textArea ();
	const std::string& s = field->text ();
	const CCoord start = textStart ();
	const CCoord left = glyphStart ();
	const CCoord half = std::min (area.getHeight () / 2., fontID->getSize () * 0.65);
	const CCoord top = area.getCenter ().y - half;
	const CCoord bottom = area.getCenter ().y + half;
	pContext->saveGlobalState ();
	CRect clip;
	pContext->getClipRect (clip);
	clip.bound (area);
	pContext->setClipRect (clip);
	pContext->setDrawMode (CDrawMode (kAliasing | kNonIntegralMode));
	if (field->hasSelection ())
	{
		pContext->setFillColor (kSelectionColour);
		pContext->drawRect (CRect (left + widthOf (s.substr (0, field->selectionStart ())), top,
		                           left + widthOf (s.substr (0, field->selectionEnd ())), bottom),
		                    kDrawFilled);
	}
	// Where the closed field would draw its text, but from the line's start.
	pContext->setDrawMode (antialias ? kAntiAliasing : kAliasing);
	pContext->setFont (fontID);
	pContext->setFontColor (fontColor);
	pContext->drawString (shownText ().c_str (), CRect (start, area.top, std::max (area.right, start), area.bottom),
	                      kLeftText, antialias);
	const CCoord x = left + widthOf (s.substr (0, field->caret ()));
	pContext->setDrawMode (CDrawMode (kAliasing | kNonIntegralMode));
	pContext->setFillColor (fontColor);
	pContext->drawRect (CRect (x, top, x + caretWidth (), bottom), kDrawFilled);
	pContext->restoreGlobalState ();
}

//------------------------------------------------------------------------------------------------
// Mouse

CMouseEventResult CTextEdit::onMouseDown (CPoint& where, const CButtonState& buttons)
{
	if (!(buttons & kLButton))
		return kMouseEventNotHandled;
	if ((style & kDoubleClickStyle) && !buttons.isDoubleClick () && !platformTextEdit)
		return kMouseEventNotHandled;
	// The click that opens the field (the frame gives it the focus first) leaves the caret at
	// the end; clicks in the open field place it, and a drag selects.
	if (getFrame () && getFrame ()->getFocusView () != this)
		getFrame ()->setFocusView (this);
	else if (!platformTextEdit)
		openField ();
	if (!platformTextEdit || std::exchange (justOpened, false))
		return kMouseDownEventHandledButDontNeedMovedOrUpEvents;
	if (buttons.isDoubleClick ())
		field->selectAll ();
	else
		field->moveTo (offsetAt (where), buttons.isShiftSet ());
	revealCaret ();
	selecting = true;
	dragPoint = where;
	if (!dragScrollTimer)
		dragScrollTimer = makeOwned<CVSTGUITimer> (
		    [this] (CVSTGUITimer*) {
			    const CRect area = textArea ();
			    if (dragPoint.x < area.left || dragPoint.x >= area.right)
				    dragTo (dragPoint);
		    },
		    kDragScrollInterval, false);
	dragScrollTimer->start ();
	invalid ();
	return kMouseEventHandled;
}

CMouseEventResult CTextEdit::onMouseMoved (CPoint& where, const CButtonState& buttons)
{
	if (!selecting || !platformTextEdit || !(buttons & kLButton))
		return kMouseEventNotHandled;
	dragPoint = where;
	dragTo (where);
	return kMouseEventHandled;
}

CMouseEventResult CTextEdit::onMouseUp (CPoint&, const CButtonState&)
{
	stopDragScroll ();
	return kMouseEventHandled;
}

CMouseEventResult CTextEdit::onMouseCancel ()
{
	stopDragScroll ();
	return kMouseEventHandled;
}

// The selection follows the pointer; beyond either end of the text area it grows by at least a
// character each time, so holding the pointer there scrolls on.
void CTextEdit::dragTo (const CPoint& where)
{
	const CRect area = textArea ();
	const size_t offset = offsetAt (where);
	const size_t caret = field->caret ();
	if (where.x >= area.right && offset <= caret)
		field->moveRight (true);
	else if (where.x < area.left && offset >= caret)
		field->moveLeft (true);
	else
		field->moveTo (offset, true);
	if (field->caret () == caret)
		return;
	revealCaret ();
	invalid ();
}

void CTextEdit::stopDragScroll ()
{
	selecting = false;
	if (dragScrollTimer)
		dragScrollTimer->stop ();
}

//------------------------------------------------------------------------------------------------
// The field

void CTextEdit::takeFocus ()
{
	openField ();
	CTextLabel::takeFocus ();
}

void CTextEdit::looseFocus ()
{
	closeField ();
	CTextLabel::looseFocus ();
}

void CTextEdit::openField ()
{
	if (platformTextEdit)
		return;
	platformTextEdit = true;
	platformText = text;
	field->reset (text.getString ());
	escapePressed = false;
	returnPressed = false;
	selecting = false;
	justOpened = true;
	scrollOffset = 0.;
	revealCaret ();
	for (auto* l : std::vector<ITextEditListener*> (textEditListeners))
		l->onTextEditPlatformControlTookFocus (this);
	invalid ();
}

void CTextEdit::closeField ()
{
	if (!platformTextEdit)
		return;
	SharedPointer<CView> guard (this);
	if (!escapePressed)
		commit ();
	platformTextEdit = false;
	stopDragScroll ();
	for (auto* l : std::vector<ITextEditListener*> (textEditListeners))
		l->onTextEditPlatformControlLostFocus (this);
	invalid ();
}

void CTextEdit::commit ()
{
	if (platformText == text)
		return;
	beginEdit ();
	setText (platformText);
	valueChanged ();
	endEdit ();
}

void CTextEdit::updateText ()
{
	platformText = UTF8String (field->text ());
	revealCaret ();
	invalid ();
	if (immediateTextChange)
		commit ();
}

void CTextEdit::paste ()
{
	IPlatformFrame* window = getFrame () ? getFrame ()->getPlatformFrame () : nullptr;
	if (window == nullptr)
		return;
	SharedPointer<CTextEdit> self (this);
	window->readClipboardText ([self] (const std::string& pasted) {
		if (!self->platformTextEdit)
			return;
		self->field->insert (oneLine (pasted));
		self->updateText ();
	});
}

// Caret moves, erasing and the clipboard; false for keys that are not such.
bool CTextEdit::editKey (const VstKeyCode& keyCode)
{
	const bool shift = (keyCode.modifier & MODIFIER_SHIFT) != 0;
	const bool command = (keyCode.modifier & (MODIFIER_COMMAND | MODIFIER_CONTROL)) != 0;
	IPlatformFrame* window = getFrame () ? getFrame ()->getPlatformFrame () : nullptr;
	switch (keyCode.virt)
	{
		case VKEY_LEFT:
			field->moveLeft (shift);
			break;
		case VKEY_RIGHT:
			field->moveRight (shift);
			break;
		case VKEY_HOME:
		case VKEY_UP:
			field->moveHome (shift);
			break;
		case VKEY_END:
		case VKEY_DOWN:
			field->moveEnd (shift);
			break;
		case VKEY_BACK:
			field->eraseBackward ();
			updateText ();
			return true;
		case VKEY_DELETE:
			field->eraseForward ();
			updateText ();
			return true;
		case 0:
		{
			if (!command)
				return false;
			switch (keyCode.character)
			{
				case 'a':
				case 'A':
					field->selectAll ();
					break;
				case 'c':
				case 'C':
				case 'x':
				case 'X':
					// A secure field gives nothing away.
					if (!field->hasSelection () || secureStyle || window == nullptr)
						return true;
					window->writeClipboardText (field->selectedText ());
					if (keyCode.character == 'x' || keyCode.character == 'X')
					{
						field->insert ({});
						updateText ();
						return true;
					}
					break;
				case 'v':
				case 'V':
					paste ();
					return true;
				default:
					return false;
			}
			break;
		}
		default:
			return false;
	}
	revealCaret ();
	invalid ();
	return true;
}

int32_t CTextEdit::onKeyDown (VstKeyCode& keyCode)
{
	if (!platformTextEdit)
		return -1;
	justOpened = false;
	switch (keyCode.virt)
	{
		case VKEY_RETURN:
		case VKEY_ENTER:
			returnPressed = true;
			if (getFrame ())
				getFrame ()->setFocusView (nullptr);
			else
				closeField ();
			return 1;
		case VKEY_ESCAPE:
			escapePressed = true;
			platformText = text;
			if (getFrame ())
				getFrame ()->setFocusView (nullptr);
			else
				closeField ();
			return 1;
		case VKEY_SPACE:
			keyCode.character = ' ';
			break;
		default:
			if (editKey (keyCode))
				return 1;
			if (keyCode.virt != 0)
				return -1;
			break;
	}
	if (keyCode.character <= 0 || (keyCode.modifier & (MODIFIER_COMMAND | MODIFIER_CONTROL)))
		return -1;
	const std::string typed = utf8Of (static_cast<uint32_t> (keyCode.character));
	if (typed.empty ())
		return -1;
	field->insert (typed);
	updateText ();
	return 1;
}
} // VSTGUI
