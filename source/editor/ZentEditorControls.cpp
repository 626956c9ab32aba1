#include "ZentEditor.h"

#include <cmath>
#include <cstdio>

#include "synth/Plugin.h"

#include "NameField.h"
#include "uiDisplay.h"
#include "uiEnvelope.h"
#include "uiMultilevelOptionMenu.h"
#include "uiSingles.h"
#include "uiSourceMix.h"

using namespace VSTGUI;
using zentlib::EParam;
using zentlib::g_params;

namespace
{
constexpr size_t kSourceCount = 4;
constexpr size_t kNameLength = 10;
// The coarse label shows the pitch as an offset from the key that plays at its written pitch.
constexpr int kCoarseCentre = 84;

float toNative(EParam p, float normalised)
{
	return normalised * g_params[p].range + g_params[p].min;
}

float toNormalised(EParam p, float native)
{
	return (native - g_params[p].min) * g_params[p].invRange;
}

bool inRange(size_t p, size_t first, size_t last)
{
	return p >= first && p <= last;
}

bool isCoarse(size_t p)
{
	return inRange(p, zentlib::Param_SourceS1Coarse, zentlib::Param_SourceS4Coarse);
}
}

//------------------------------------------------------------------------------------------------
// The facade's calls: applied at once on the window's thread, relayed from any other.

void ZentEditor::onParamChanged(EParam parameter, float normalisedValue)
{
	if (onWindowThread())
		applyParamChanged(parameter, normalisedValue);
	else
		m_relay.postParameter(parameter);
}

void ZentEditor::onSinglesModified(size_t, size_t)
{
	if (onWindowThread())
		applySinglesModified();
	else
		m_relay.postEvent(EditorCallRelay::SinglesModified);
}

void ZentEditor::onSingleModified(size_t)
{
	if (onWindowThread())
		applySingleModified();
	else
		m_relay.postEvent(EditorCallRelay::SingleModified);
}

void ZentEditor::onActiveSingleModified(size_t)
{
	if (onWindowThread())
		applyActiveSingleModified();
	else
		m_relay.postEvent(EditorCallRelay::ActiveSingleModified);
}

void ZentEditor::onActiveProgramChanged(size_t index)
{
	// Another single on show refreshes the same views as an edit of the one on show.
	onActiveSingleModified(index);
}

void ZentEditor::applyRelayedCalls()
{
	m_relay.replay([this](EParam p) { applyParamChanged(p, m_plugin.getParameter(p)); },
	               [this](EditorCallRelay::Event event) {
		               switch (event)
		               {
			               case EditorCallRelay::SinglesModified:
				               applySinglesModified();
				               break;
			               case EditorCallRelay::SingleModified:
				               applySingleModified();
				               break;
			               default:
				               applyActiveSingleModified();
				               break;
		               }
	               });
}

void ZentEditor::applySinglesModified()
{
	if (m_singles)
		m_singles->setSingleNames(m_singles->getPageOffset());
	updateEditSingleName();
}

void ZentEditor::applySingleModified()
{
	if (m_singles)
		m_singles->setSingleNames(m_singles->getPageOffset());
}

void ZentEditor::applyActiveSingleModified()
{
	if (m_display)
		m_display->setTextShowCurrentSingle();
	applySinglesModified();
}

//------------------------------------------------------------------------------------------------
// Parameter values into views

void ZentEditor::applyParamChanged(EParam p, float v)
{
	if ((p == zentlib::Param_SourceMix12 || p == zentlib::Param_SourceMix34) && m_sourceMix)
		m_sourceMix->onSourceMixParametersChanged();

	if (CControl* knob = m_controls[p])
	{
		if (inRange(p, zentlib::Param_SourceS1EnvDelay, zentlib::Param_SourceS4EnvRelease))
		{
			if (m_envelope)
				m_envelope->updateFromParameters();
			knob->setValueNormalized(v);
		}
		else if (isCoarse(p))
		{
			knob->setValue(toNative(p, v));
		}
		else
		{
			knob->setValueNormalized(v);
		}
	}

	if (COptionMenu* menu = m_menus[p])
	{
		if (m_multilevelMenus[p])
			m_multilevelMenus[p]->setTitle(g_params[p].formatValue(p, toNative(p, v)));
		else
			menu->setValueNormalized(v);
	}

	if (CKickButton* button = m_kickButtons[p])
	{
		const bool on = v != 0;
		if (inRange(p, zentlib::Param_SourceS1Mute, zentlib::Param_SourceS4Mute))
		{
			setButtonBitmap(button, on ? m_bitmapSmallRed : m_bitmapSmallOff);
		}
		else if (inRange(p, zentlib::Param_SourceS1KeyTrack, zentlib::Param_SourceS4KeyTrack))
		{
			setLargeButtonActive(button, on);
			// Without key tracking the source plays one fixed note, chosen by name from the menu or
			// stepped with the arrows; with it the knob sets an offset.
			const size_t coarse = p - (zentlib::Param_SourceS1KeyTrack - zentlib::Param_SourceS1Coarse);
			if (m_menus[coarse])
				m_menus[coarse]->setVisible(!on);
			if (m_controls[coarse])
				m_controls[coarse]->setVisible(on);
			if (m_labels[coarse])
				m_labels[coarse]->setVisible(on);
			for (CView* view : {static_cast<CView*>(m_btCoarseDec), static_cast<CView*>(m_btCoarseInc),
			                    m_btCoarseDecText, m_btCoarseIncText})
				if (view)
					view->setVisible(!on);
		}
		else if (inRange(p, zentlib::Param_SourceS1VibABend, zentlib::Param_SourceS4PressureToFreq))
		{
			setLargeButtonActive(button, on);
		}
		else
		{
			setSmallButtonActive(button, on);
		}
	}

	if (CTextLabel* label = m_labels[p])
	{
		const float native = toNative(p, v);
		if (isCoarse(p))
		{
			const int offset = static_cast<int>(std::lround(native)) - kCoarseCentre;
			char text[16];
			std::snprintf(text, sizeof(text), offset > 0 ? "+%d" : "%d", offset);
			label->setText(text);
		}
		else
		{
			label->setText(UTF8String(g_params[p].formatValue(p, native)));
		}
	}
}

void ZentEditor::setButtonBitmap(CKickButton* button, CBitmap* bitmap)
{
	if (!button || button->getBackground() == bitmap)
		return;
	button->setBackground(bitmap);
	button->invalid();
}

void ZentEditor::setSmallButtonActive(CKickButton* button, bool on)
{
	setButtonBitmap(button, on ? m_bitmapSmallOn : m_bitmapSmallOff);
}

void ZentEditor::setLargeButtonActive(CKickButton* button, bool on)
{
	setButtonBitmap(button, on ? m_bitmapLargeOn : m_bitmapLargeOff);
}

void ZentEditor::updateEditSingleName() const
{
	if (m_editSingleName)
		m_editSingleName->setText(UTF8String(nameFieldText(m_plugin.getCurrentSingle())));
}

//------------------------------------------------------------------------------------------------
// Control changes into parameter edits

void ZentEditor::editPair(EParam parameter, float normalisedValue) const
{
	if (m_listener)
		m_listener->changeParameter(parameter, normalisedValue);
	m_plugin.sendParameterChangeAsSysex(parameter, normalisedValue);
}

void ZentEditor::setParameterFromUi(unsigned long parameter, float normalisedValue) const
{
	if (parameter < zentlib::ParamCount)
		editPair(static_cast<EParam>(parameter), normalisedValue);
}

void ZentEditor::beginEdit(EParam parameter) const
{
	if (m_editorInterface)
		m_editorInterface->beginEdit(static_cast<int32_t>(parameter));
}

void ZentEditor::endEdit(EParam parameter) const
{
	if (m_editorInterface)
		m_editorInterface->endEdit(static_cast<int32_t>(parameter));
}

void ZentEditor::swapSources(int a, int b)
{
	m_plugin.swapSources(static_cast<size_t>(a), static_cast<size_t>(b));
}

void ZentEditor::valueChanged(CControl* control)
{
	if (!control)
		return;
	if (control == m_editSingleName)
	{
		commitSingleName();
		return;
	}

	const float value = control->getValue();
	if (value < 0.5f)
	{
		const auto wave = static_cast<EParam>(zentlib::Param_SourceS1Wave + m_activeSource);
		const auto coarse = static_cast<EParam>(zentlib::Param_SourceS1Coarse + m_activeSource);
		if (control == m_btWaveDec || control == m_btWaveInc)
		{
			stepValue(wave, control == m_btWaveDec ? 255 : 1, 0xFF);
			return;
		}
		if (control == m_btCoarseDec || control == m_btCoarseInc)
		{
			stepValue(coarse, control == m_btCoarseDec ? 127 : 1, 0x7F);
			return;
		}
		if (control == m_btModeEdit || control == m_btModePlay)
		{
			setModeEdit(control == m_btModeEdit);
			return;
		}
	}

	for (size_t s = 0; s < kSourceCount; ++s)
	{
		if (control == m_btEditSource[s])
		{
			setActiveSource(s);
			return;
		}
	}
	if (control == m_btEditCommon)
	{
		setEditModeCommon();
		return;
	}

	for (uint32_t p = 0; p < zentlib::ParamCount; ++p)
	{
		const auto parameter = static_cast<EParam>(p);
		if (m_kickButtons[p] == control && value > 0.5f)
			editPair(parameter, m_plugin.getParameter(parameter) > 0.5f ? 0.f : 1.f);
		if (m_menus[p] == control)
			menuChanged(parameter, m_menus[p]);
		if (m_controls[p] == control)
			editPair(parameter, isCoarse(p) ? toNormalised(parameter, control->getValue()) : control->getValueNormalized());
	}
}

void ZentEditor::stepValue(EParam parameter, unsigned add, unsigned mask)
{
	const auto native = static_cast<unsigned>(std::lround(toNative(parameter, m_plugin.getParameter(parameter))));
	const unsigned stepped = (native + add) & mask;
	// The arrows drive no parameter of their own, so their click's gesture names none.
	beginEdit(parameter);
	editPair(parameter, toNormalised(parameter, static_cast<float>(stepped)));
	endEdit(parameter);
}

void ZentEditor::menuChanged(EParam p, COptionMenu* menu)
{
	if (inRange(p, zentlib::Param_SourceS1Coarse, zentlib::Param_SourceS4Wave))
	{
		int32_t index = -1;
		COptionMenu* submenu = menu->getLastItemMenu(index);
		if (!submenu || index < 0 || index >= submenu->getNbEntries())
			return;
		const float native = static_cast<float>(submenu->getEntry(index)->getTag());
		editPair(p, toNormalised(p, native));
		return;
	}

	if (p == zentlib::Param_AmpModS1S2 || p == zentlib::Param_AmpModS3S4)
	{
		// Mode 2 lets the second source of the pair modulate the first, the reverse of mode 1; the
		// hardware swaps the two sources on the way in and out of it so the sound stays the same.
		const int oldMode = static_cast<int>(toNative(p, m_plugin.getParameter(p)));
		const int newMode = static_cast<int>(toNative(p, menu->getValueNormalized()));
		if ((oldMode == 2) != (newMode == 2))
		{
			if (p == zentlib::Param_AmpModS1S2)
				swapSources(0, 1);
			else
				swapSources(2, 3);
		}
	}
	editPair(p, menu->getValueNormalized());
}

void ZentEditor::commitSingleName()
{
	const std::string name = editedName(m_plugin.getCurrentSingle(), m_editSingleName->getText().getString());
	// The SysEx of each place carries the stored single's byte, so the name is stored before its places go out.
	m_plugin.setCurrentSingleName(name);
	// The field edits ten parameters at once, none of them its own. A byte that is no name character (a zero
	// after a short name, say) reads as the blank.
	auto character = [](size_t i) { return static_cast<EParam>(zentlib::Param_Name01 + i); };
	auto code = [](char byte) {
		const auto c = static_cast<unsigned char>(byte);
		return c >= 32 && c <= 127 ? c : ' ';
	};
	for (size_t i = 0; i < kNameLength; ++i)
		beginEdit(character(i));
	for (size_t i = 0; i < kNameLength; ++i)
		editPair(character(i), toNormalised(character(i), code(name[i])));
	for (size_t i = 0; i < kNameLength; ++i)
		endEdit(character(i));
	// The field shows what was stored, also when that is the name it had (typing past its end changes nothing).
	updateEditSingleName();
}

//------------------------------------------------------------------------------------------------
// Pages and the active source

bool ZentEditor::hasPages() const
{
	return m_modePlay && m_modeEdit && m_editSource && m_editCommon;
}

bool ZentEditor::setModeEdit(bool edit)
{
	if (!hasPages())
		return false;
	const bool wasEdit = m_modeEdit->isVisible();
	m_modeEdit->setVisible(edit);
	m_modePlay->setVisible(!edit);
	setSmallButtonActive(m_btModeEdit, edit);
	setSmallButtonActive(m_btModePlay, !edit);
	if (m_modePlay->isVisible() && m_singles)
		m_singles->setSingleNames(m_singles->getPageOffset());
	return wasEdit != m_modeEdit->isVisible();
}

bool ZentEditor::setEditModeCommon()
{
	if (!hasPages() || (m_modeEdit->isVisible() && m_editCommon->isVisible()))
		return true;
	setSmallButtonActive(m_btEditCommon, true);
	m_editCommon->setVisible(true);
	m_editSource->setVisible(false);
	for (CKickButton* button : m_btEditSource)
		setSmallButtonActive(button, false);
	setModeEdit(true);
	return true;
}

template <typename T>
void ZentEditor::moveToSource(ParameterTable<T>& table, unsigned long source)
{
	for (size_t q = zentlib::Param_SourceS1Fine; q <= zentlib::Param_SourceS4FreqKeyScaleToFreq; ++q)
	{
		if (!table[q])
			continue;
		const size_t first = zentlib::Param_SourceS1Mute;
		const size_t target = first + (q - first) / kSourceCount * kSourceCount + source;
		if (target == q)
			continue;
		table[target] = std::move(table[q]);
		table[q] = nullptr;
	}
}

void ZentEditor::setActiveSource(unsigned long source)
{
	if (!hasPages() || source >= kSourceCount)
		return;
	setModeEdit(true);
	m_editCommon->setVisible(false);
	m_editSource->setVisible(true);
	setSmallButtonActive(m_btEditCommon, false);
	for (size_t s = 0; s < kSourceCount; ++s)
		setSmallButtonActive(m_btEditSource[s], s == source);

	if (source == m_activeSource)
		return;
	m_activeSource = source;

	moveToSource(m_kickButtons, source);
	moveToSource(m_controls, source);
	moveToSource(m_menus, source);
	moveToSource(m_labels, source);
	moveToSource(m_multilevelMenus, source);
	tagParameterControls();

	for (size_t p = zentlib::Param_SourceS1Mute + source; p <= zentlib::Param_SourceS4FreqKeyScaleToFreq;
	     p += kSourceCount)
	{
		const auto parameter = static_cast<EParam>(p);
		applyParamChanged(parameter, m_plugin.getParameter(parameter));
	}

	if (m_envelope)
		m_envelope->updateFromParameters();
	m_editSource->invalid();
}

bool ZentEditor::onKeyDown(char key)
{
	if (m_frame && dynamic_cast<CTextEdit*>(m_frame->getFocusView()))
		return false;
	if (key < '1' || key > 'p')
		return false;
	switch (key)
	{
		case '1':
		case '2':
		case '3':
		case '4':
			return handleKeyDownSetSource(static_cast<unsigned long>(key - '1'));
		case '5':
		case 'C':
		case 'c':
			return setEditModeCommon();
		case 'E':
		case 'e':
			return setModeEdit(true);
		case 'P':
		case 'p':
			return setModeEdit(false);
		default:
			return false;
	}
}

bool ZentEditor::handleKeyDownSetSource(unsigned long source)
{
	if (!hasPages() || (source == m_activeSource && m_editSource->isVisible() && m_modeEdit->isVisible()))
		return false;
	setActiveSource(source);
	return true;
}
