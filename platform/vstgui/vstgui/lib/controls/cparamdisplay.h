#pragma once

#include "../ccolor.h"
#include "../cdrawdefs.h"
#include "../cfont.h"
#include "../cstring.h"
#include "ccontrol.h"

#include <functional>

namespace VSTGUI
{
enum CParamDisplayStyle
{
	kShadowText = 1 << 0,
	k3DIn = 1 << 1,
	k3DOut = 1 << 2,
	kNoTextStyle = 1 << 3,
	kNoDrawStyle = 1 << 4,
	kRoundRectStyle = 1 << 5,
	kNoFrame = 1 << 6,
	kDoubleClickStyle = 1 << 7
};

class CParamDisplay : public CControl
{
public:
	CParamDisplay (const CRect& size, CBitmap* background = nullptr, int32_t style = 0);
	CParamDisplay (const CParamDisplay& paramDisplay);
	~CParamDisplay () noexcept override;

	virtual void setFont (CFontRef fontID);
	CFontRef getFont () const { return fontID; }
	virtual void setFontColor (CColor color);
	CColor getFontColor () const { return fontColor; }
	virtual void setBackColor (CColor color);
	CColor getBackColor () const { return backColor; }
	virtual void setFrameColor (CColor color);
	CColor getFrameColor () const { return frameColor; }
	virtual void setShadowColor (CColor color);
	CColor getShadowColor () const { return shadowColor; }
	virtual void setShadowTextOffset (const CPoint& offset);
	CPoint getShadowTextOffset () const { return shadowTextOffset; }
	virtual void setAntialias (bool state) { antialias = state; }
	bool getAntialias () const { return antialias; }
	virtual void setHoriAlign (CHoriTxtAlign hAlign);
	CHoriTxtAlign getHoriAlign () const { return horiTxtAlign; }
	virtual void setTextInset (const CPoint& p);
	CPoint getTextInset () const { return textInset; }
	virtual void setTextRotation (double angle) { textRotation = angle; }
	double getTextRotation () const { return textRotation; }
	virtual void setRoundRectRadius (const CCoord& radius) { roundRectRadius = radius; }
	CCoord getRoundRectRadius () const { return roundRectRadius; }
	virtual void setFrameWidth (const CCoord& width) { frameWidth = width; }
	CCoord getFrameWidth () const { return frameWidth; }
	virtual void setBackOffset (const CPoint& offset);
	const CPoint& getBackOffset () const { return backOffset; }
	virtual void setStyle (int32_t val);
	int32_t getStyle () const { return style; }
	virtual void setPrecision (uint8_t precision);
	uint8_t getPrecision () const { return valuePrecision; }

	using ValueToStringFunction = std::function<bool (float value, char utf8String[256], CParamDisplay* display)>;
	void setValueToStringFunction (const ValueToStringFunction& func) { valueToStringFunction = func; }

	void draw (CDrawContext* pContext) override;

	CLASS_METHODS (CParamDisplay, CControl)

protected:
	virtual void drawBack (CDrawContext* pContext, CBitmap* newBack = nullptr);
	virtual void drawPlatformText (CDrawContext* pContext, UTF8StringPtr string);
	virtual void drawPlatformText (CDrawContext* pContext, UTF8StringPtr string, const CRect& size);
	virtual void drawStyleChanged () { setDirty (); }

	ValueToStringFunction valueToStringFunction;
	CHoriTxtAlign horiTxtAlign {kCenterText};
	int32_t style;
	uint8_t valuePrecision {2};
	CFontRef fontID;
	CColor fontColor {kWhiteCColor};
	CColor backColor {kBlackCColor};
	CColor frameColor {kBlackCColor};
	CColor shadowColor {kRedCColor};
	CPoint textInset;
	CPoint shadowTextOffset {1., 1.};
	CPoint backOffset;
	CCoord roundRectRadius {6.};
	CCoord frameWidth {1.};
	double textRotation {0.};
	bool antialias {true};
};
} // VSTGUI
