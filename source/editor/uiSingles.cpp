#include "uiSingles.h"

#include <algorithm>
#include <numeric>
#include <utility>

#include "synth/Engine.h"
#include "synth/Plugin.h"

#include "DisplayCharacters.h"
#include "ZentEditor.h"

using namespace VSTGUI;

namespace
{
constexpr size_t kPageSize = uiSingles::LabelCount;
constexpr CColor kDisabledColour(100, 100, 100, 255);

// The first map position of the page that holds this one.
size_t pageStart(size_t position)
{
	return position - position % kPageSize;
}

std::string labelName(size_t i)
{
	return std::string("single") + static_cast<char>('A' + i / 8) + static_cast<char>('0' + i % 8);
}
}

uiSingles::uiSingles(ZentEditor& editor) : m_editor(editor)
{
	for (size_t i = 0; i < LabelCount; ++i)
	{
		m_labels[i] = m_editor.initView<CTextLabel>(labelName(i));
		if (m_labels[i])
			m_labels[i]->registerViewMouseListener(this);
	}
	// The description paints the first label in the current single's colour and the others in the plain one.
	if (m_labels[2])
		m_normalColour = m_labels[2]->getFontColor();
	if (m_labels[0])
		m_currentColour = m_labels[0]->getFontColor();

	m_buttons[BankDec] = initButton("btBankDec");
	m_buttons[BankInc] = initButton("btBankInc");
	m_buttons[BankReset] = initButton("btBankReset");
	m_buttons[BankExport] = initButton("btBankExport");
	m_buttons[BankImport] = initButton("btBankImport");
	m_buttons[SingleDec] = initButton("btSingleDec");
	m_buttons[SingleInc] = initButton("btSingleInc");
	m_buttons[SingleReset] = initButton("btSingleReset");
	m_buttons[SingleExport] = initButton("btSingleExport");
	m_buttons[SingleImport] = initButton("btSingleImport");

	m_storageCaption = m_editor.initView<CTextLabel>("romcardName");
	m_search = m_editor.initView<CTextEdit>("searchSingle");
	if (m_search)
	{
		m_search->setListener(this);
		// Every keystroke narrows the list at once.
		m_search->setImmediateTextChange(true);
	}

	restoreDefaultIndexMap();
	setSingleNames(0);
}

uiSingles::~uiSingles()
{
	for (CTextLabel* label : m_labels)
		if (label)
			label->unregisterViewMouseListener(this);
}

uiSingles::Button uiSingles::initButton(const std::string& name)
{
	Button b;
	b.button = m_editor.initView<CKickButton>(name);
	if (b.button)
		b.button->setListener(this);
	b.text = m_editor.initView<CTextLabel>(name + "Text");
	if (b.text)
		b.colour = b.text->getFontColor();
	return b;
}

void uiSingles::restoreDefaultIndexMap()
{
	m_indexMap.resize(m_editor.getPlugin().getSingleCount());
	std::iota(m_indexMap.begin(), m_indexMap.end(), size_t(0));
}

void uiSingles::setSingleNames(size_t offset)
{
	zentlib::Plugin& plugin = m_editor.getPlugin();
	const size_t current = plugin.getCurrentSingleIndex();
	for (size_t i = 0; i < LabelCount; ++i)
	{
		CTextLabel* label = m_labels[i];
		if (!label)
			continue;
		const size_t position = offset + i;
		if (position >= m_indexMap.size())
		{
			label->setText("");
			continue;
		}
		const size_t single = m_indexMap[position];
		zentlib::SinglePreset record;
		plugin.getSingle(record, single);
		std::string text = zentlib::Engine::getSingleNumberAsName(single) + " " + nameText(nameOf(record));
		text.erase(text.find_last_not_of(' ') + 1);
		if (plugin.isSingleModified(single))
			text += "*";
		label->setText(UTF8String(std::move(text)));
		label->setFontColor(single == current ? m_currentColour : m_normalColour);
	}
	enableButton(m_buttons[SingleReset], plugin.isSingleModified(current));
	m_pageOffset = offset;
	if (m_storageCaption)
		m_storageCaption->setText(UTF8String(storageCaption(offset)));
}

std::string uiSingles::storageCaption(size_t offset) const
{
	if (searching())
		return "SEARCH RESULT";
	std::string name = zentlib::Engine::getStorageName(offset);
	const size_t rom = name.find("ROM");
	if (rom != std::string::npos)
		return "ROM CARD" + name.erase(rom, 3);
	return name == "Zent Int" ? "ZENT FACTORY" : name;
}

bool uiSingles::searching() const
{
	return m_search && !m_search->getText().empty();
}

void uiSingles::setProgram(size_t single)
{
	m_editor.getPlugin().setCurrentSingleIndex(single);
	const size_t position = getIndexMapIndex(single);
	if (position >= m_pageOffset && position < m_pageOffset + kPageSize)
		setSingleNames(m_pageOffset);
	else
		setSingleNames(pageStart(position));
}

size_t uiSingles::getIndexMapIndex(size_t single) const
{
	const auto found = std::find(m_indexMap.begin(), m_indexMap.end(), single);
	return found == m_indexMap.end() ? 0 : static_cast<size_t>(found - m_indexMap.begin());
}

zentlib::SinglePreset uiSingles::getSingle(size_t position) const
{
	zentlib::SinglePreset single;
	m_editor.getPlugin().getSingle(single, m_indexMap[position]);
	return single;
}

void uiSingles::updateSearch()
{
	zentlib::Plugin& plugin = m_editor.getPlugin();
	const std::string text = m_search ? m_search->getText().getString() : std::string();
	if (!text.empty())
	{
		plugin.searchSingles(m_indexMap, text, plugin.getSingleCount());
		setSingleNames(0);
	}
	else
	{
		restoreDefaultIndexMap();
		setSingleNames(pageStart(plugin.getCurrentSingleIndex()));
	}
	// The page actions address a storage place, which a list of hits does not have; importing a single
	// would land on a current single the list may not show.
	for (ButtonId id : {BankImport, BankExport, BankReset, SingleImport})
		enableButton(m_buttons[id], text.empty());
}

void uiSingles::pageBack()
{
	if (m_pageOffset >= kPageSize)
		setSingleNames(m_pageOffset - kPageSize);
}

void uiSingles::pageForward()
{
	if (m_pageOffset + kPageSize < m_indexMap.size())
		setSingleNames(m_pageOffset + kPageSize);
}

void uiSingles::previousSingle()
{
	const size_t current = m_editor.getPlugin().getCurrentSingleIndex();
	const auto found = std::find(m_indexMap.begin(), m_indexMap.end(), current);
	if (found != m_indexMap.end() && found != m_indexMap.begin())
		setProgram(*(found - 1));
}

void uiSingles::nextSingle()
{
	const size_t position = getIndexMapIndex(m_editor.getPlugin().getCurrentSingleIndex());
	if (position + 1 < m_indexMap.size())
		setProgram(m_indexMap[position + 1]);
}

void uiSingles::enableButton(Button& b, bool enable)
{
	if (b.button)
		b.button->setMouseEnabled(enable);
	if (b.text)
		b.text->setFontColor(enable ? b.colour : kDisabledColour);
}

void uiSingles::valueChanged(CControl* control)
{
	if (control == nullptr)
		return;
	if (control == m_search)
	{
		updateSearch();
		return;
	}
	// A click reports 1 and then 0 when released over the button, only 0 when released elsewhere.
	if (control->getValue() < 0.5f)
		return;
	using Action = void (uiSingles::*)();
	static constexpr std::pair<ButtonId, Action> actions[] = {
		{BankDec, &uiSingles::pageBack},          {BankInc, &uiSingles::pageForward},
		{SingleDec, &uiSingles::previousSingle},  {SingleInc, &uiSingles::nextSingle},
		{SingleExport, &uiSingles::exportSingle}, {SingleImport, &uiSingles::importSingle},
		{SingleReset, &uiSingles::resetSingle},   {BankReset, &uiSingles::resetPage},
		{BankExport, &uiSingles::exportPage},     {BankImport, &uiSingles::importPage},
	};
	for (const auto& [id, action] : actions)
	{
		if (control == m_buttons[id].button)
		{
			(this->*action)();
			return;
		}
	}
}

CMouseEventResult uiSingles::viewOnMouseDown(CView* view, CPoint, CButtonState buttons)
{
	size_t i = 0;
	while (i < LabelCount && m_labels[i] != view)
		++i;
	if (i == LabelCount)
		return kMouseEventNotHandled;
	// Only the left button alone picks a single; any other click on a name is swallowed.
	if (!buttons.isLeftButton())
		return kMouseEventHandled;
	const size_t position = m_pageOffset + i;
	if (position < m_indexMap.size())
		setProgram(m_indexMap[position]);
	return kMouseEventHandled;
}
