// What the parts of a Chromium browser's pass share while they run over one profile: the steps
// every other browser's pass shares too.
#pragma once

#include "sweep/browser_pass.h"

using ChromiumPass = BrowserPass;
