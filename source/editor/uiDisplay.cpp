#include "uiDisplay.h"

#include <cstdio>

#include "synth/Engine.h"
#include "synth/Plugin.h"

#include "DisplayCharacters.h"
#include "ZentEditor.h"

using namespace VSTGUI;

namespace
{
constexpr uint32_t kDarkAtStartMs = 1000;
constexpr uint32_t kBannerMs = 2000;
constexpr uint32_t kDarkAfterClickMs = 500;
constexpr uint32_t kFirmwareMs = 2000;
}

uiDisplay::uiDisplay(ZentEditor& editor) : m_editor(editor)
{
	m_lines = m_editor.initView<CViewContainer>("LCDLines");
	m_light = m_editor.initView<CView>("LCDLight");
	switchPower(false);

	for (int i = 0; i < 16; ++i)
	{
		char name[8];
		std::snprintf(name, sizeof(name), "char0%02d", i);
		m_topCells.push_back(m_editor.initView<CView>(name));
		std::snprintf(name, sizeof(name), "char1%02d", i);
		m_bottomCells.push_back(m_editor.initView<CView>(name));
	}

	if (auto* font = m_editor.initView<CViewContainer>("fontExport"))
	{
		// Glyph views beyond the character set have no byte to show.
		for (uint32_t k = 0; k < font->getNbViews() && k < kDisplayCharacters.size(); ++k)
			m_glyphs.emplace(kDisplayCharacters[k], font->getView(k)->getBackground());
		font->setVisible(false);
	}

	doStartupAnimation();

	if (m_light)
		m_light->registerViewMouseListener(this);
}

uiDisplay::~uiDisplay()
{
	if (m_light)
		m_light->unregisterViewMouseListener(this);
	destroyTimer();
}

void uiDisplay::setText(const std::string& top, const std::string& bottom)
{
	setText(m_topCells, top);
	setText(m_bottomCells, bottom);
}

void uiDisplay::setText(Cells& cells, const std::string& text)
{
	for (size_t i = 0; i < cells.size(); ++i)
	{
		auto glyph = m_glyphs.find(i < text.size() ? text[i] : ' ');
		if (glyph == m_glyphs.end())
			glyph = m_glyphs.find('?');
		CBitmap* bitmap = glyph == m_glyphs.end() ? nullptr : glyph->second;
		if (cells[i] && cells[i]->getBackground() != bitmap)
			cells[i]->setBackground(bitmap);
	}
}

void uiDisplay::setTextShowCurrentSingle()
{
	zentlib::Plugin& plugin = m_editor.getPlugin();
	const size_t index = plugin.getCurrentSingleIndex();
	// Left zero-filled when the facade cannot give it: the name part stays empty.
	zentlib::SinglePreset single;
	plugin.getSingle(single, index);
	setText("SINGLE " + zentlib::Engine::getStorageName(index),
	        zentlib::Engine::getSingleNumberAsName(index) + "  " + nameOf(single));
}

void uiDisplay::doStartupAnimation()
{
	startStep(kDarkAtStartMs, [this] {
		switchPower(true);
		setText("  *Vens' Virel*", "SYNTHESIZER VSTi");
		startStep(kBannerMs, [this] { setTextShowCurrentSingle(); });
	});
}

void uiDisplay::switchPower(bool on) const
{
	if (m_light)
		m_light->setVisible(on);
	if (m_lines)
		m_lines->setVisible(on);
}

void uiDisplay::destroyTimer()
{
	m_timer = nullptr;
}

CMouseEventResult uiDisplay::viewOnMouseDown(CView*, CPoint, CButtonState)
{
	destroyTimer();
	switchPower(false);
	startStep(kDarkAfterClickMs, [this] {
		switchPower(true);
		setText("Firmware 1.11", "Sep 17 2020");
		startStep(kFirmwareMs, [this] { doStartupAnimation(); });
	});
	return kMouseEventHandled;
}

void uiDisplay::startStep(uint32_t intervalMs, std::function<void()> step)
{
	destroyTimer();
	// The toolkit keeps a timer alive while its callback runs, so the step may release it first and start
	// the next one.
	m_timer = owned(new CVSTGUITimer(
		[this, step = std::move(step)](CVSTGUITimer*) {
			destroyTimer();
			step();
		},
		intervalMs));
}
