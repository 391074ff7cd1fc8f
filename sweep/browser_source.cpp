// What every other browser's source does round its engine.
#include "sweep/browser_source.h"

#include "platform/errors.h"
#include "sweep/kept_cookie_filter.h"

// A list of cookies to keep that cannot be read keeps every cookie here too: they are counted
// and none is deleted. A browser that is not installed holds nothing, as a store that is not
// there; one in use, or with a layout this program does not know, was not reached whole.
void RunBrowserSource(SourceContext& context, const std::function<BrowserResult(const BrowserRequest&)>& sweep) {
    KeptCookieFilter& keep = context.keep;
    BrowserRequest request{.count = context.counted, .remove = context.Deleted(), .keepCookie = {}};
    if (request.count.Has(Kind::Cookies)) {
        request.keepCookie = [&keep](std::string_view site) { return keep.KeepsSite(site); };
        if (request.remove.Has(Kind::Cookies) && keep.Unreadable()) {
            request.remove = request.remove & KindSet{Kind::CachedFiles, Kind::TypedUrls, Kind::VisitedPages};
        }
    }
    const BrowserResult swept = sweep(request);
    SourceResult& result = context.result;
    result.counts += swept.counts;
    result.browser = swept;
    result.openStatus = swept.installed ? 0 : static_cast<std::int32_t>(kErrorFileNotFound);
    result.complete = swept.complete && !swept.inUse && swept.layoutProblems.empty();
    result.stopped = swept.stopped;
}
