#pragma once

#include "../vstgui.h"

#include <cstdint>

namespace VSTGUI
{
struct ERect
{
	int16_t top;
	int16_t left;
	int16_t bottom;
	int16_t right;
};

class PluginGUIEditor : public VSTGUIEditorInterface
{
public:
	explicit PluginGUIEditor (void* pEffect);
	~PluginGUIEditor () noexcept override;

	virtual void setParameter (int32_t /*index*/, float /*value*/) {}
	virtual bool getRect (ERect** ppRect);
	virtual bool open (void* ptr);
	virtual void close ();
	virtual void idle ();
	virtual void draw (ERect* /*pRect*/) {}
	// One mode for every editor of the process, as the host knob-mode setting is.
	virtual int32_t setKnobMode (int32_t val);

	void doIdleStuff () override;
	int32_t getKnobMode () const override;
	void beginEdit (int32_t /*index*/) override {}
	void endEdit (int32_t /*index*/) override {}

	void* getEffect () const { return effect; }
	int32_t getVstGuiVersion () const { return 4 << 16 | 9 << 8; }
	// Sleeps the calling thread.
	void wait (uint32_t ms);
	// Milliseconds since an arbitrary start.
	uint32_t getTicks ();

protected:
	ERect rect {0, 0, 0, 0};
	void* effect;
	void* systemWindow {nullptr};

private:
	static int32_t knobMode;
};
} // VSTGUI
