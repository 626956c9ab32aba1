#include "vstgui/lib/controls/cparamdisplay.h"

#include "vstgui/lib/cbitmap.h"
#include "vstgui/lib/cdrawcontext.h"
#include "vstgui/lib/controls/ctextlabel.h"
#include "vstgui/lib/cframe.h"

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace VSTGUI
{
CParamDisplay::CParamDisplay (const CRect& size, CBitmap* background, int32_t style)
: CControl (size, nullptr, -1, background), style (style), fontID (kNormalFont)
{
	fontID->remember ();
	setWantsFocus (false);
}

CParamDisplay::CParamDisplay (const CParamDisplay& v)
: CControl (v)
, valueToStringFunction (v.valueToStringFunction)
, horiTxtAlign (v.horiTxtAlign)
, style (v.style)
, valuePrecision (v.valuePrecision)
, fontID (v.fontID)
, fontColor (v.fontColor)
, backColor (v.backColor)
, frameColor (v.frameColor)
, shadowColor (v.shadowColor)
, textInset (v.textInset)
, shadowTextOffset (v.shadowTextOffset)
, backOffset (v.backOffset)
, roundRectRadius (v.roundRectRadius)
, frameWidth (v.frameWidth)
, textRotation (v.textRotation)
, antialias (v.antialias)
{
	fontID->remember ();
}

CParamDisplay::~CParamDisplay () noexcept
{
	if (fontID)
		fontID->forget ();
}

void CParamDisplay::setFont (CFontRef font)
{
	if (font == nullptr || font == fontID)
		return;
	font->remember ();
	fontID->forget ();
	fontID = font;
	setDirty ();
}

void CParamDisplay::setFontColor (CColor color)
{
	if (fontColor == color)
		return;
	fontColor = color;
	setDirty ();
}

void CParamDisplay::setBackColor (CColor color)
{
	if (backColor == color)
		return;
	backColor = color;
	setDirty ();
}

void CParamDisplay::setFrameColor (CColor color)
{
	if (frameColor == color)
		return;
	frameColor = color;
	setDirty ();
}

void CParamDisplay::setShadowColor (CColor color)
{
	if (shadowColor == color)
		return;
	shadowColor = color;
	setDirty ();
}

void CParamDisplay::setShadowTextOffset (const CPoint& offset)
{
	if (shadowTextOffset == offset)
		return;
	shadowTextOffset = offset;
	setDirty ();
}

void CParamDisplay::setHoriAlign (CHoriTxtAlign hAlign)
{
	if (horiTxtAlign == hAlign)
		return;
	horiTxtAlign = hAlign;
	setDirty ();
}

void CParamDisplay::setTextInset (const CPoint& p)
{
	if (textInset == p)
		return;
	textInset = p;
	setDirty ();
}

void CParamDisplay::setBackOffset (const CPoint& offset)
{
	if (backOffset == offset)
		return;
	backOffset = offset;
	setDirty ();
}

void CParamDisplay::setStyle (int32_t val)
{
	if (style == val)
		return;
	style = val;
	drawStyleChanged ();
}

void CParamDisplay::setPrecision (uint8_t precision)
{
	if (valuePrecision == precision)
		return;
	valuePrecision = precision;
	setDirty ();
}

void CParamDisplay::draw (CDrawContext* pContext)
{
	if (style & kNoDrawStyle)
		return;
	char string[256] = {0};
	bool converted = false;
	if (valueToStringFunction)
		converted = valueToStringFunction (value, string, this);
	if (!converted)
		std::snprintf (string, sizeof (string), "%.*f", valuePrecision, value);
	drawBack (pContext);
	drawPlatformText (pContext, string);
	setDirty (false);
}

void CParamDisplay::drawBack (CDrawContext* pContext, CBitmap* newBack)
{
	if (CBitmap* bitmap = newBack ? newBack : getDrawBackground ())
	{
		bitmap->draw (pContext, getViewSize (), backOffset);
		return;
	}
	if (getTransparency ())
		return;
	pContext->setDrawMode (kAliasing);
	pContext->setFillColor (backColor);
	pContext->setFrameColor (frameColor);
	pContext->setLineWidth (frameWidth);
	bool drawFrame = !(style & (k3DIn | k3DOut | kNoFrame));
	if (style & kRoundRectStyle)
	{
		pContext->setDrawMode (kAntiAliasing);
		auto path = owned (pContext->createGraphicsPath ());
		CRect r (getViewSize ());
		r.inset (frameWidth / 2., frameWidth / 2.);
		path->addRoundRect (r, roundRectRadius);
		pContext->drawGraphicsPath (path, CDrawContext::kPathFilled);
		if (drawFrame)
			pContext->drawGraphicsPath (path, CDrawContext::kPathStroked);
		return;
	}
	pContext->drawRect (getViewSize (), kDrawFilled);
	if (drawFrame)
		pContext->drawRect (getViewSize (), kDrawStroked);
	if (style & (k3DIn | k3DOut))
	{
		CRect r (getViewSize ());
		pContext->setLineWidth (1);
		pContext->setFrameColor ((style & k3DIn) ? kBlackCColor : kWhiteCColor);
		pContext->drawLine (CPoint (r.left, r.bottom - 1), CPoint (r.left, r.top));
		pContext->drawLine (CPoint (r.left, r.top), CPoint (r.right - 1, r.top));
		pContext->setFrameColor ((style & k3DIn) ? kWhiteCColor : kBlackCColor);
		pContext->drawLine (CPoint (r.right - 1, r.top), CPoint (r.right - 1, r.bottom - 1));
		pContext->drawLine (CPoint (r.right - 1, r.bottom - 1), CPoint (r.left, r.bottom - 1));
	}
}

void CParamDisplay::drawPlatformText (CDrawContext* pContext, UTF8StringPtr string)
{
	drawPlatformText (pContext, string, getViewSize ());
}

void CParamDisplay::drawPlatformText (CDrawContext* pContext, UTF8StringPtr string, const CRect& size)
{
	if (string == nullptr || *string == 0 || (style & kNoTextStyle))
		return;
	CRect textRect (size);
	textRect.inset (textInset.x, textInset.y);
	pContext->saveGlobalState ();
	pContext->setDrawMode (antialias ? kAntiAliasing : kAliasing);
	pContext->setFont (fontID);

	// Lines share the height evenly, top to bottom.
	std::vector<std::string> lines;
	std::string s (string);
	size_t start = 0;
	for (;;)
	{
		size_t nl = s.find ('\n', start);
		lines.push_back (s.substr (start, nl == std::string::npos ? std::string::npos : nl - start));
		if (nl == std::string::npos)
			break;
		start = nl + 1;
	}
	CCoord lineHeight = lines.size () > 1 ? fontID->getSize () * 1.2 : textRect.getHeight ();
	CRect lineRect (textRect);
	if (lines.size () > 1)
	{
		CCoord total = lineHeight * lines.size ();
		lineRect.top = textRect.top + (textRect.getHeight () - total) / 2.;
	}
	lineRect.setHeight (lineHeight);
	for (const auto& line : lines)
	{
		if (style & kShadowText)
		{
			CRect shadowRect (lineRect);
			shadowRect.offset (shadowTextOffset);
			pContext->setFontColor (shadowColor);
			pContext->drawString (line.c_str (), shadowRect, horiTxtAlign, antialias);
		}
		pContext->setFontColor (fontColor);
		pContext->drawString (line.c_str (), lineRect, horiTxtAlign, antialias);
		lineRect.offset (0, lineHeight);
	}
	pContext->restoreGlobalState ();
}

//------------------------------------------------------------------------------------------------

CTextLabel::CTextLabel (const CRect& size, UTF8StringPtr txt, CBitmap* background, const int32_t style)
: CParamDisplay (size, background, style)
{
	setText (UTF8String (txt));
}

CTextLabel::CTextLabel (const CTextLabel& v)
: CParamDisplay (v), textTruncateMode (v.textTruncateMode), text (v.text), truncatedText (v.truncatedText)
{
}

void CTextLabel::setText (const UTF8String& txt)
{
	if (text == txt)
		return;
	text = txt;
	truncatedText.clear ();
	setDirty ();
}

void CTextLabel::setTextTruncateMode (TextTruncateMode mode)
{
	if (textTruncateMode == mode)
		return;
	textTruncateMode = mode;
	truncatedText.clear ();
	setDirty ();
}

void CTextLabel::calculateTruncatedText (CDrawContext* context, const CRect& textRect)
{
	truncatedText.clear ();
	if (textTruncateMode == kTruncateNone || text.empty ())
		return;
	context->setFont (fontID);
	const CCoord available = textRect.getWidth ();
	if (context->getStringWidth (text) <= available)
		return;
	std::string s = text.getString ();
	const std::string dots = "..";
	while (!s.empty ())
	{
		// Drop one whole UTF-8 character from the truncated end.
		if (textTruncateMode == kTruncateHead)
		{
			size_t n = 1;
			while (n < s.size () && (static_cast<unsigned char> (s[n]) & 0xC0) == 0x80)
				++n;
			s.erase (0, n);
		}
		else
		{
			size_t n = s.size () - 1;
			while (n > 0 && (static_cast<unsigned char> (s[n]) & 0xC0) == 0x80)
				--n;
			s.erase (n);
		}
		std::string candidate = textTruncateMode == kTruncateHead ? dots + s : s + dots;
		if (context->getStringWidth (candidate.c_str ()) <= available)
		{
			truncatedText = UTF8String (std::move (candidate));
			return;
		}
	}
	truncatedText = UTF8String (dots);
}

void CTextLabel::draw (CDrawContext* pContext)
{
	drawBack (pContext);
	CRect textRect (getViewSize ());
	textRect.inset (textInset.x, textInset.y);
	pContext->saveGlobalState ();
	calculateTruncatedText (pContext, textRect);
	pContext->restoreGlobalState ();
	drawPlatformText (pContext, truncatedText.empty () ? text.data () : truncatedText.data ());
	setDirty (false);
}
} // VSTGUI
