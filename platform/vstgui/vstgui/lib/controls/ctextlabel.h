#pragma once

#include "cparamdisplay.h"

namespace VSTGUI
{
class CTextLabel : public CParamDisplay
{
public:
	enum TextTruncateMode
	{
		kTruncateNone = 0,
		kTruncateHead,
		kTruncateTail
	};

	CTextLabel (const CRect& size, UTF8StringPtr txt = nullptr, CBitmap* background = nullptr, const int32_t style = 0);
	CTextLabel (const CTextLabel& textLabel);

	virtual void setText (const UTF8String& txt);
	virtual const UTF8String& getText () const { return text; }
	virtual void setTextTruncateMode (TextTruncateMode mode);
	TextTruncateMode getTextTruncateMode () const { return textTruncateMode; }
	const UTF8String& getTruncatedText () const { return truncatedText; }

	void draw (CDrawContext* pContext) override;
	bool onWheel (const CPoint&, const CMouseWheelAxis&, const float&, const CButtonState&) override { return false; }

	CLASS_METHODS (CTextLabel, CParamDisplay)

protected:
	void calculateTruncatedText (CDrawContext* context, const CRect& textRect);

	TextTruncateMode textTruncateMode {kTruncateNone};
	UTF8String text;
	UTF8String truncatedText;
};
} // VSTGUI
