#pragma once

#include "cstring.h"
#include "vstguifwd.h"

#include <functional>
#include <list>
#include <vector>

namespace VSTGUI
{
class CFileExtension
{
public:
	CFileExtension (const UTF8String& description, const UTF8String& extension, const UTF8String& mimeType = "",
	                int32_t macType = 0, const UTF8String& uti = "");
	CFileExtension (const CFileExtension& ext) = default;
	CFileExtension (CFileExtension&& ext) noexcept = default;
	CFileExtension& operator= (const CFileExtension&) = default;
	CFileExtension& operator= (CFileExtension&&) noexcept = default;
	~CFileExtension () noexcept = default;

	const UTF8String& getDescription () const { return description; }
	const UTF8String& getExtension () const { return extension; }
	const UTF8String& getMimeType () const { return mimeType; }
	const UTF8String& getUTI () const { return uti; }
	int32_t getMacType () const { return macType; }

	// Loose, as the toolkit compares: any one matching identification makes two equal, and two
	// empty MIME types (or UTIs) match.
	bool operator== (const CFileExtension& ext) const;

private:
	UTF8String description;
	UTF8String extension;
	UTF8String mimeType;
	UTF8String uti;
	int32_t macType;
};

extern IdStringPtr kSelectEndMessage;

class CNewFileSelector : public CBaseObject
{
public:
	enum Style
	{
		kSelectFile = 0,
		kSelectSaveFile,
		kSelectDirectory
	};

	// A selector for the platform; the caller releases it. Null when there is none.
	static CNewFileSelector* create (CFrame* parent = nullptr, Style style = kSelectFile);

	using CallbackFunc = std::function<void (CNewFileSelector*)>;
	bool run (CallbackFunc&& callback);
	bool run (CBaseObject* delegate);
	void cancel ();
	// Blocks until the person answered; true only when a choice was confirmed.
	bool runModal ();

	void setTitle (const UTF8String& title);
	void setInitialDirectory (const UTF8String& path);
	void setDefaultSaveName (const UTF8String& name);
	void setDefaultExtension (const CFileExtension& extension);
	void setAllowMultiFileSelection (bool state);
	void addFileExtension (const CFileExtension& extension);
	void addFileExtension (CFileExtension&& extension);

	uint32_t getNumSelectedFiles () const { return static_cast<uint32_t> (result.size ()); }
	UTF8StringPtr getSelectedFile (uint32_t index) const;

	Style getStyle () const { return style; }
	CFrame* getFrame () const { return frame; }
	const UTF8String& getTitle () const { return title; }
	const UTF8String& getInitialDirectory () const { return initialPath; }
	const UTF8String& getDefaultSaveName () const { return defaultSaveName; }
	const CFileExtension* getDefaultExtension () const { return defaultExtension; }
	bool getAllowMultiFileSelection () const { return allowMultiFileSelection; }
	const std::list<CFileExtension>& getExtensions () const { return extensions; }

	// How selectors are made; the default asks a person through zenity.
	using Factory = std::function<CNewFileSelector* (CFrame* parent, Style style)>;
	static void setFactory (Factory factory);

protected:
	CNewFileSelector (CFrame* frame, Style style);

	// Shows the dialog and blocks; fills result and returns true when confirmed.
	virtual bool runModalInternal () = 0;

	CFrame* frame;
	Style style;
	UTF8String title;
	UTF8String initialPath;
	UTF8String defaultSaveName;
	const CFileExtension* defaultExtension {nullptr};
	bool allowMultiFileSelection {false};
	std::list<CFileExtension> extensions;
	std::vector<UTF8String> result;
};
} // VSTGUI
