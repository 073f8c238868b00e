#include "graphics/randomsource.h"

#include <QTime>

#include <random>

namespace vell {
namespace {

class TimeOfDayRandom final : public RandomSource {
public:
    void reseedFromTimeOfDay() override {
        engine_.seed(std::uint32_t(QTime::currentTime().msecsSinceStartOfDay()));
    }
    // 24 random bits: every value a float holds exactly, and never 1.
    float next() override { return float(engine_() >> 8) * (1.0f / 16777216.0f); }

private:
    std::mt19937 engine_;
};

} // namespace

RandomSource& RandomSource::system() {
    static TimeOfDayRandom instance;
    return instance;
}

} // namespace vell
