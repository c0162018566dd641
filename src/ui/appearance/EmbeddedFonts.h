#pragma once

// Adds every font file under ":/fonts" to the application's font database and logs, for each
// family, the weights and whether an italic style is there. A file that cannot be added is
// logged and skipped.
void registerEmbeddedFonts();
