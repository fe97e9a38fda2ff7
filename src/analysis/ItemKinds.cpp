#include "analysis/ItemKinds.h"

#include "analysis/MagDurStackObject.h"
#include "analysis/ScanStackObject.h"
#include "analysis/SpectrumStackObject.h"
#include "analysis/StatisticItems.h"
#include "analysis/TrendStackObject.h"
#include "analysis/XYStackObject.h"
#include "stack/WaveStackObject.h"

namespace kov {

std::unique_ptr<PlotableStackObject> MakePlotableOfKind(std::uint32_t kind) {
    switch (kind) {
        case kKindWave:
            return std::make_unique<WaveStackObject>();
        case kKindSpectrum:
            return std::make_unique<SpectrumStackObject>();
        case kKindScan:
            return std::make_unique<ScanStackObject>();
        case kKindTrend:
            return std::make_unique<TrendStackObject>();
        case kKindProbability:
            return std::make_unique<ProbabilityStackObject>();
        case kKindHistogram:
            return std::make_unique<HistogramStackObject>();
        case kKindXY:
            return std::make_unique<XYStackObject>();
        case kKindMagDur:
            return std::make_unique<MagDurStackObject>();
        case kKindHist3D:
            return std::make_unique<Hist3DStackObject>();
        default:
            return nullptr;
    }
}

}  // namespace kov
