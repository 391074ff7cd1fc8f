// What every other browser's source does round its engine: the pass's kinds and its cookies to
// keep turned into the engine's request, and the engine's result into the source's.
#pragma once

#include <functional>

#include "sweep/browser_sweep.h"
#include "sweep/source.h"

void RunBrowserSource(SourceContext& context, const std::function<BrowserResult(const BrowserRequest&)>& sweep);
