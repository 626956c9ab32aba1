// The import, export and reset actions of the browser's buttons.
#include "uiSingles.h"

void uiSingles::exportSingle() {}

void uiSingles::importSingle() {}

void uiSingles::resetSingle() {}

void uiSingles::exportPage() {}

void uiSingles::importPage() {}

void uiSingles::resetPage() {}
