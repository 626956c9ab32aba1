#include "Library.h"

namespace banks
{
namespace
{
struct StorageEntry
{
	const char* symbol;
	const char* theme;
	std::vector<Patch> (*design)();
};

const StorageEntry storages[StorageCount] = {
	{"ZENTINT", "best of the library", bestOfBank},
	{"R301", "acoustic and electric keys", keysBank},
	{"R302", "organs, reeds and harmonicas", organBank},
	{"R303", "strings and voices", stringBank},
	{"R304", "synth pads", padBank},
	{"R305", "brass and winds", brassWindBank},
	{"R400", "basses", bassBank},
	{"S301", "leads", leadBank},
	{"S302", "bells and mallets", bellMalletBank},
	{"T301", "plucked strings", pluckBank},
	{"T302", "drums and percussion", percussionBank},
	{"T303", "effects and textures", effectBank},
};
}

const char* storageSymbol(size_t storage)
{
	return storage < StorageCount ? storages[storage].symbol : "";
}

const char* storageTheme(size_t storage)
{
	return storage < StorageCount ? storages[storage].theme : "";
}

std::vector<Patch> designStorage(size_t storage)
{
	return storage < StorageCount ? storages[storage].design() : std::vector<Patch>{};
}
}
