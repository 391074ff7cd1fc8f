// The clear run and the count over the selected stores, in the one order both follow.
#include "sweep/store_sweep.h"

StoreSweepResult SweepStores(const PlatformServices& services, const CookieFolderPlace& place,
                             const StoreSelection& selection, bool deleteItems, StoreSweepObserver& observer) {
    StoreSweepResult result;
    if (selection.typedUrls) {
        result.typedUrls = SweepTypedUrls(services.registry, deleteItems, observer);
        result.typedUrlsSwept = true;
        observer.OnTypedUrlsSwept(result.typedUrls);
        if (result.typedUrls.stopped) return result;
    }
    if (selection.cache || selection.visited) {
        const CacheRequest request{deleteItems, selection.cache && selection.cookies, selection.visited,
                                   selection.cache};
        result.cache = SweepCache(services, place, request, observer);
        result.cacheSwept = true;
        result.visitedSwept = selection.visited;
        result.cookiesSelected = selection.cache && selection.cookies;
        observer.OnCacheSwept(result.cache);
    }
    return result;
}
