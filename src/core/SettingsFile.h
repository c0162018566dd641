#pragma once

#include "AppSettings.h"

// Reads "Settings" from the data directory, normalises it and writes it back when something
// was missing or normalised. Never fails: every problem falls back to the defaults.
AppSettings loadSettings();

// Writes the whole record to "Settings" atomically (an interrupted write leaves the previous
// file whole). Returns false, writing nothing, when the file cannot be written.
bool saveSettings(const AppSettings& settings);
