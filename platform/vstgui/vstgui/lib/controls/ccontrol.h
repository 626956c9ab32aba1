#pragma once

#include "../cview.h"
#include "icontrollistener.h"

#include <vector>

namespace VSTGUI
{
class IFocusDrawing
{
public:
	virtual ~IFocusDrawing () noexcept = default;
	virtual bool drawFocusOnTop () = 0;
	virtual bool getFocusPath (CGraphicsPath& outPath) = 0;
};

class CControl : public CView, public IFocusDrawing
{
public:
	CControl (const CRect& size, IControlListener* listener = nullptr, int32_t tag = 0, CBitmap* pBackground = nullptr);
	CControl (const CControl& c);
	~CControl () noexcept override;

	void draw (CDrawContext* pContext) override = 0;

	virtual void setValue (float val);
	virtual float getValue () const { return value; }
	virtual void setValueNormalized (float val);
	virtual float getValueNormalized () const;
	virtual void setMin (float val);
	virtual float getMin () const { return vmin; }
	virtual void setMax (float val);
	virtual float getMax () const { return vmax; }
	float getRange () const { return getMax () - getMin (); }
	virtual void setOldValue (float val) { oldValue = val; }
	virtual float getOldValue () const { return oldValue; }
	virtual void setDefaultValue (float val) { defaultValue = val; }
	virtual float getDefaultValue () const { return defaultValue; }
	virtual void setWheelInc (float val) { wheelInc = val; }
	virtual float getWheelInc () const { return wheelInc; }
	virtual void bounceValue ();
	virtual bool checkDefaultValue (CButtonState button);

	virtual void valueChanged ();

	virtual void setTag (int32_t val);
	virtual int32_t getTag () const { return tag; }

	virtual void beginEdit ();
	virtual void endEdit ();
	bool isEditing () const { return editing > 0; }

	virtual IControlListener* getListener () const { return listener; }
	virtual void setListener (IControlListener* l) { listener = l; }
	void registerControlListener (IControlListener* listener);
	void unregisterControlListener (IControlListener* listener);

	bool isDirty () const override;
	void setDirty (bool val = true) override;

	// IFocusDrawing
	bool drawFocusOnTop () override { return true; }
	bool getFocusPath (CGraphicsPath&) override { return false; }

	static int32_t kZoomModifier;
	static int32_t kDefaultValueModifier;

	CLASS_METHODS_VIRTUAL (CControl, CView)

protected:
	IControlListener* listener;
	std::vector<IControlListener*> subListeners;
	int32_t tag;
	float oldValue {1.f};
	float defaultValue {0.5f};
	float value {0.f};
	float vmin {0.f};
	float vmax {1.f};
	float wheelInc {0.1f};
	int32_t editing {0};
};

class IMultiBitmapControl
{
public:
	virtual ~IMultiBitmapControl () noexcept = default;
	virtual void setHeightOfOneImage (const CCoord& height) { heightOfOneImage = height; }
	virtual CCoord getHeightOfOneImage () const { return heightOfOneImage; }
	virtual void setNumSubPixmaps (int32_t numSubPixmaps) { subPixmaps = numSubPixmaps; }
	virtual int32_t getNumSubPixmaps () const { return subPixmaps; }
	void autoComputeHeightOfOneImage ();

protected:
	CCoord heightOfOneImage {0};
	int32_t subPixmaps {0};
};
} // VSTGUI
