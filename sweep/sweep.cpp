// The pass over the table of sources.
#include "sweep/sweep.h"

#include "sweep/kept_cookie_filter.h"

bool SourceResult::Whole() const {
    return Opened() ? complete : openStatus == static_cast<std::int32_t>(kErrorFileNotFound);
}

bool SweepResult::Complete() const {
    for (const SourceResult& source : sources) {
        if (source.ran && !source.Whole()) return false;
    }
    return true;
}

bool SweepResult::Reached(Kind kind) const {
    for (const Source& row : SourceTable()) {
        const SourceResult& source = BySource(row.id);
        if (source.ran && source.Opened() && row.kinds.Has(kind)) return true;
    }
    return false;
}

SweepResult Sweep(const PlatformServices& services, const SweepRequest& request, SweepObserver& observer) {
    SweepResult result;
    result.selected = request.kinds;
    result.counted = CountedKinds(request.kinds);
    const auto& table = SourceTable();
    const auto runs = [&](const Source& row) { return request.sources.Has(row.id) && row.kinds.Meets(result.counted); };
    KeptCookieFilter keep(request.keptList, observer);
    for (std::size_t at = 0; at < table.size(); ++at) {
        const Source& row = table[at];
        if (!runs(row)) continue;
        SourceResult& own = result.sources[at];
        SourceContext context{services, request, result.counted, keep, observer, own};
        row.run(context);
        own.ran = true;
        result.counts += own.counts;
        result.keptListUnreadable = keep.FoundUnreadable();
        if (own.stopped) {
            result.stopped = true;
            return result;
        }
        for (std::size_t k = 0; k < kKindCount; ++k) {
            const Kind kind = static_cast<Kind>(k);
            if (!row.kinds.Has(kind) || !result.counted.Has(kind)) continue;
            bool later = false;
            for (std::size_t next = at + 1; next < table.size() && !later; ++next) {
                later = runs(table[next]) && table[next].kinds.Has(kind);
            }
            if (later) continue;
            result.swept |= {kind};
            observer.OnKindSwept(kind, result);
        }
    }
    return result;
}
