#include "monitor/changenotice.h"

namespace monitor {

QStringList ChangeNotice::passEnded(const std::vector<IndicatorReading>& readings) {
    QStringList changed;
    const bool comparable = last_.size() == readings.size();
    std::vector<bool> now;
    now.reserve(readings.size());
    for (size_t i = 0; i < readings.size(); ++i) {
        now.push_back(readings[i].up);
        if (comparable && last_[i] != readings[i].up)
            changed << readings[i].words;
    }
    last_ = std::move(now);
    return changed;
}

} // namespace monitor
