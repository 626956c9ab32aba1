// The browser's import, export and reset actions: singles leave as SysEx dumps in .syx files and come
// back from .syx or Standard MIDI files. Every failure is told in a message box and changes nothing.
#include "uiSingles.h"

#include <functional>

#include "DisplayCharacters.h"
#include "DumpFile.h"
#include "SinglesImport.h"
#include "ZentEditor.h"
#include "synth/Engine.h"
#include "synth/Plugin.h"
#include "synth/Sysex.h"

using namespace VSTGUI;

const CFileExtension g_fileExtensionSYX("Sysex File (*.syx)", "syx");
const CFileExtension g_fileExtensionMid("Midi File (*.mid)", "mid");

namespace
{
constexpr size_t kPageSize = 32;

struct FileDialog
{
	CNewFileSelector::Style style;
	bool offersMidi;
	bool syxByDefault;
};
constexpr FileDialog kExportDialog{CNewFileSelector::kSelectSaveFile, false, true};
constexpr FileDialog kSingleImportDialog{CNewFileSelector::kSelectFile, true, false};
constexpr FileDialog kPageImportDialog{CNewFileSelector::kSelectFile, true, true};

// Asks for a file and hands the first one chosen to the action; a cancelled dialog does nothing.
void chooseFile(CFrame* frame, const FileDialog& dialog, const std::function<void(const std::string&)>& action)
{
	CNewFileSelector* selector = CNewFileSelector::create(frame, dialog.style);
	if (!selector)
		return;
	selector->addFileExtension(g_fileExtensionSYX);
	if (dialog.offersMidi)
		selector->addFileExtension(g_fileExtensionMid);
	if (dialog.syxByDefault)
		selector->setDefaultExtension(g_fileExtensionSYX);
	selector->setTitle("Choose a sysex file");
	if (selector->runModal() && selector->getNumSelectedFiles() > 0)
		action(selector->getSelectedFile(0));
	selector->forget();
}

// Appends ".syx" unless the path holds it somewhere already.
std::string fixFileExtension(std::string path)
{
	const std::string extension = "." + g_fileExtensionSYX.getExtension().getString();
	if (path.find(extension) == std::string::npos)
		path += extension;
	return path;
}

// Dumps go to the internal memory, at the same place within a storage of 64 as the singles they hold.
zentlib::StorageLocation internalHalfOf(size_t index)
{
	return index % 64 >= 32 ? zentlib::InternalHigh : zentlib::InternalLow;
}
}

bool uiSingles::writeToFile(const std::string& path, const std::vector<uint8_t>& bytes)
{
	return writeDumpFile(path, bytes);
}

void uiSingles::showErrorMessage(const std::string& text) const
{
	m_editor.showMessageBoxOk(text);
}

void uiSingles::saveDump(const std::string& chosenPath, bool encoded, const std::vector<uint8_t>& bytes)
{
	const std::string path = fixFileExtension(chosenPath);
	if (!encoded)
		showErrorMessage("Failed to convert single to Sysex data");
	else if (!writeToFile(path, bytes))
		showErrorMessage("Failed to create file");
}

void uiSingles::exportSingle()
{
	const size_t index = m_editor.getPlugin().getCurrentSingleIndex();
	chooseFile(m_editor.getFrame(), kExportDialog, [this, index](const std::string& path) {
		zentlib::SinglePreset single;
		std::vector<uint8_t> bytes;
		const bool encoded =
		    m_editor.getPlugin().getSingle(single, index) &&
		    zentlib::Sysex::writeSingle(bytes, single, 0, internalHalfOf(index), static_cast<uint8_t>(index % 64));
		saveDump(path, encoded, bytes);
	});
}

void uiSingles::exportPage()
{
	const size_t offset = m_pageOffset;
	chooseFile(m_editor.getFrame(), kExportDialog, [this, offset](const std::string& path) {
		// A single that cannot be read goes out as an empty record in its place.
		std::vector<zentlib::SinglePreset> singles(kPageSize);
		for (size_t i = 0; i < kPageSize && offset + i < m_indexMap.size(); ++i)
			m_editor.getPlugin().getSingle(singles[i], m_indexMap[offset + i]);
		std::vector<uint8_t> bytes;
		saveDump(path, zentlib::Sysex::writeSingles(bytes, singles, 0, internalHalfOf(offset), 0), bytes);
	});
}

void uiSingles::importSingle()
{
	const size_t index = m_editor.getPlugin().getCurrentSingleIndex();
	chooseFile(m_editor.getFrame(), kSingleImportDialog, [this, index](const std::string& path) {
		std::vector<uint8_t> bytes;
		if (!readFile(bytes, path))
			return showErrorMessage("Failed to load file.");
		std::string failure;
		const std::vector<zentlib::SinglePreset> singles = readDumpedSingles(bytes, failure);
		if (singles.empty())
			showErrorMessage(failure);
		else if (singles.size() > 1)
			showErrorMessage("File contained more than one single, please import as Bank");
		else if (!m_editor.getPlugin().setSingle(index, singles.front()))
			showErrorMessage("Failed to import single");
	});
}

void uiSingles::importPage()
{
	const size_t offset = m_pageOffset;
	chooseFile(m_editor.getFrame(), kPageImportDialog, [this, offset](const std::string& path) {
		std::vector<uint8_t> bytes;
		if (!readFile(bytes, path))
			return showErrorMessage("Failed to read file");
		std::string failure;
		const std::vector<zentlib::SinglePreset> singles = readDumpedSingles(bytes, failure);
		if (singles.empty())
			return showErrorMessage(failure);
		if (singles.size() > kPageSize)
		{
			if (offset + singles.size() > m_indexMap.size())
				return showErrorMessage("Imported file contains more singles than there is space left. Please select "
				                        "a lower page to start import.");
			if (!m_editor.showMessageBoxYesNo("Imported file contains more singles than will fit on one page and "
			                                  "will overwrite adjacent pages next to the currently displayed one. "
			                                  "Please confirm to overwrite."))
				return;
		}
		m_editor.getPlugin().setSingles(offset, singles);
	});
}

void uiSingles::resetSingle()
{
	zentlib::Plugin& plugin = m_editor.getPlugin();
	const size_t index = plugin.getCurrentSingleIndex();
	const zentlib::SinglePreset factory = plugin.getFactorySingle(index);
	const std::string question =
	    "Do you want to reset the selected Single to factory defaults? Factory Preset is:\n\n" +
	    zentlib::Engine::getStorageName(index) + " - " + zentlib::Engine::getSingleNumberAsName(index) + " " +
	    nameText(nameOf(factory));
	if (m_editor.showMessageBoxYesNo(question))
		plugin.restoreFactorySingle(index);
}

void uiSingles::resetPage()
{
	if (!m_editor.showMessageBoxYesNo(
	        "Do you want to reset the selected page to factory defaults? This will discard all edits to 32 Singles!"))
		return;
	for (size_t i = m_pageOffset; i < m_pageOffset + kPageSize; ++i)
		m_editor.getPlugin().restoreFactorySingle(i);
}
