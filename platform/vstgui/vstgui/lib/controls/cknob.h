#pragma once

#include "../ccolor.h"
#include "../cvstguitimer.h"
#include "ccontrol.h"

namespace VSTGUI
{
class CKnobBase : public CControl
{
public:
	virtual void setStartAngle (float val);
	virtual float getStartAngle () const { return startAngle; }
	virtual void setRangeAngle (float val);
	virtual float getRangeAngle () const { return rangeAngle; }
	virtual void valueToPoint (CPoint& point) const;
	virtual float valueFromPoint (CPoint& point) const;
	virtual void setInsetValue (CCoord val) { inset = val; }
	virtual CCoord getInsetValue () const { return inset; }
	virtual void setZoomFactor (float val) { zoomFactor = val; }
	virtual float getZoomFactor () const { return zoomFactor; }

	CMouseEventResult onMouseDown (CPoint& where, const CButtonState& buttons) override;
	CMouseEventResult onMouseUp (CPoint& where, const CButtonState& buttons) override;
	CMouseEventResult onMouseMoved (CPoint& where, const CButtonState& buttons) override;
	CMouseEventResult onMouseCancel () override;
	bool onWheel (const CPoint& where, const CMouseWheelAxis& axis, const float& distance,
	              const CButtonState& buttons) override;

protected:
	CKnobBase (const CRect& size, IControlListener* listener, int32_t tag, CBitmap* background);
	CKnobBase (const CKnobBase& knob);
	~CKnobBase () noexcept override;
	void compute ();
	void endWheelEdit ();

	float startAngle;
	float rangeAngle;
	float zoomFactor {1.5f};
	CCoord inset {0};

private:
	struct MouseEditingState
	{
		CPoint firstPoint;
		CPoint lastPoint;
		float startValue {0.f};
		float entryValue {0.f};
		float cancelValue {0.f};
		float range {0.f};
		float coef {0.f};
		CButtonState oldButton;
		bool modeLinear {false};
	};
	MouseEditingState* mouseState {nullptr};
	SharedPointer<CVSTGUITimer> wheelEditTimer;
};

class CKnob : public CKnobBase
{
public:
	enum DrawStyle
	{
		kLegacyHandleLineDrawing = 0,
		kHandleCircleDrawing = 1 << 0,
		kCoronaDrawing = 1 << 1,
		kCoronaFromCenter = 1 << 2,
		kCoronaInverted = 1 << 3,
		kCoronaLineDashDot = 1 << 4,
		kCoronaOutline = 1 << 5,
		kCoronaLineCapButt = 1 << 6,
		kSkipHandleDrawing = 1 << 7
	};

	CKnob (const CRect& size, IControlListener* listener, int32_t tag, CBitmap* background, CBitmap* handle,
	       const CPoint& offset = CPoint (0, 0), int32_t drawStyle = kLegacyHandleLineDrawing);
	CKnob (const CKnob& knob);
	~CKnob () noexcept override;

	void draw (CDrawContext* pContext) override;

	virtual void setHandleBitmap (CBitmap* bitmap);
	virtual CBitmap* getHandleBitmap () const { return handleBitmap; }
	virtual void setDrawStyle (int32_t style) { drawStyle = style; }
	virtual int32_t getDrawStyle () const { return drawStyle; }
	virtual void setColorHandle (CColor color) { colorHandle = color; }
	CColor getColorHandle () const { return colorHandle; }
	virtual void setHandleLineWidth (CCoord width) { handleLineWidth = width; }
	CCoord getHandleLineWidth () const { return handleLineWidth; }

	CLASS_METHODS (CKnob, CControl)

protected:
	CPoint offset;
	int32_t drawStyle;
	CColor colorHandle {kWhiteCColor};
	CCoord handleLineWidth {1.};
	SharedPointer<CBitmap> handleBitmap;
};

class CAnimKnob : public CKnobBase, public IMultiBitmapControl
{
public:
	CAnimKnob (const CRect& size, IControlListener* listener, int32_t tag, CBitmap* background,
	           const CPoint& offset = CPoint (0, 0));
	CAnimKnob (const CRect& size, IControlListener* listener, int32_t tag, int32_t subPixmaps,
	           CCoord heightOfOneImage, CBitmap* background, const CPoint& offset = CPoint (0, 0));
	CAnimKnob (const CAnimKnob& knob);

	void draw (CDrawContext* pContext) override;
	void setBackground (CBitmap* background) override;
	void setHeightOfOneImage (const CCoord& height) override;
	void setNumSubPixmaps (int32_t numSubPixmaps) override { IMultiBitmapControl::setNumSubPixmaps (numSubPixmaps); }

	void setInverseBitmap (bool val) { inverseBitmap = val; }
	bool getInverseBitmap () const { return inverseBitmap; }

	CLASS_METHODS (CAnimKnob, CControl)

protected:
	CPoint offset;
	bool inverseBitmap {false};
};
} // VSTGUI
