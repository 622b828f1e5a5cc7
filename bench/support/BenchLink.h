#pragma once

#include <chrono>
#include <functional>

#include "ui/IWindow.h"
#include "ui/MirlSettingsDlg.h"

namespace tolvane::bench {

// Picks the port list's entry for COM<comNumber>, as the user would; false when it is not listed.
bool SelectPort(IWindow& window, CMirlSettingsDlg& dialog, int comNumber);

// Runs Qt's events until `done` holds or the bound passes; returns `done()`. For setting up, not
// for the measured part.
bool PumpUntil(const std::function<bool()>& done, std::chrono::milliseconds bound = std::chrono::seconds(20));

// Points TOLVANE_PORT_REGISTRY at `directory`, so only the benchmark's own device is listed.
void UsePortRegistry(const std::string& directory);

}  // namespace tolvane::bench
