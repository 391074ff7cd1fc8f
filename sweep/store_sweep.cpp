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
    if (selection.cache) {
        result.cache = SweepCache(services, place, CacheRequest{deleteItems, selection.cookies}, observer);
        result.cacheSwept = true;
        observer.OnCacheSwept(result.cache);
    }
    return result;
}
