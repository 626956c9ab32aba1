#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "synth/SinglePreset.h"
#include "vstgui/vstgui.h"

class ZentEditor;

// The file types the import and export dialogs offer.
extern const VSTGUI::CFileExtension g_fileExtensionSYX;
extern const VSTGUI::CFileExtension g_fileExtensionMid;

// The browser of the play page: the singles 32 at a time as name labels, the current one in its own colour,
// picked with a click or stepped through with the arrows, and narrowed to the names that contain a search
// text. It works on map positions: the index map lists the singles on show (all of them in order while the
// search field is empty, the hits while it is not), and the page offset is the position of the first label.
// It is also the listener of the ten buttons beneath the list and of the search field.
class uiSingles : public VSTGUI::ViewMouseListenerAdapter, public VSTGUI::IControlListener
{
public:
	struct Button
	{
		VSTGUI::CKickButton* button = nullptr;
		VSTGUI::CTextLabel* text = nullptr;  // the caption drawn over the button
		VSTGUI::CColor colour;               // the caption's colour while the button is enabled
	};

	static constexpr size_t LabelCount = 32;

	explicit uiSingles(ZentEditor& editor);
	uiSingles(const uiSingles&) = delete;
	uiSingles& operator=(const uiSingles&) = delete;
	~uiSingles() override;

	// The search field and the ten buttons; a button acts once per click, when it is released over it.
	void valueChanged(VSTGUI::CControl* control) override;
	// A click on a name label.
	VSTGUI::CMouseEventResult viewOnMouseDown(VSTGUI::CView* view, VSTGUI::CPoint where,
	                                          VSTGUI::CButtonState buttons) override;

	void restoreDefaultIndexMap();
	// Fills the page that starts at the map position, marks the current single and names the page.
	void setSingleNames(size_t offset);
	// Makes the single current; the list keeps its page when the single is on it and jumps otherwise.
	void setProgram(size_t single);
	// The first map position that holds the single; 0 when none does.
	size_t getIndexMapIndex(size_t single) const;
	// The single at a map position inside the map.
	zentlib::SinglePreset getSingle(size_t position) const;
	void updateSearch();
	size_t getPageOffset() const { return m_pageOffset; }

	void pageBack();
	void pageForward();
	void previousSingle();
	void nextSingle();

	// A disabled button stays visible, ignores the mouse and shows its caption in grey.
	static void enableButton(Button& button, bool enable);

	// Writes the bytes as the file, whole, as writeDumpFile does: false, with a file of that name left as it was,
	// when any of it failed.
	bool writeToFile(const std::string& path, const std::vector<uint8_t>& bytes);
	void showErrorMessage(const std::string& text) const;

private:
	enum ButtonId : size_t
	{
		BankDec,
		BankInc,
		BankReset,
		BankImport,
		BankExport,
		SingleDec,
		SingleInc,
		SingleReset,
		SingleImport,
		SingleExport,
		ButtonCount
	};

	Button initButton(const std::string& name);
	bool searching() const;
	std::string storageCaption(size_t offset) const;

	// The file and reset actions behind the buttons; the single ones work on the current single, the page
	// ones on the 32 singles of the page on show.
	void exportSingle();
	void importSingle();
	void resetSingle();
	void exportPage();
	void importPage();
	void resetPage();
	// Writes an encoded dump to the chosen path, ".syx" added when it has none; tells what failed.
	void saveDump(const std::string& chosenPath, bool encoded, const std::vector<uint8_t>& bytes);

	ZentEditor& m_editor;
	std::array<VSTGUI::CTextLabel*, LabelCount> m_labels{};
	VSTGUI::CColor m_normalColour;
	VSTGUI::CColor m_currentColour;
	std::array<Button, ButtonCount> m_buttons{};
	VSTGUI::CTextLabel* m_storageCaption = nullptr;
	VSTGUI::CTextEdit* m_search = nullptr;
	size_t m_pageOffset = 0;
	std::vector<size_t> m_indexMap;
};
