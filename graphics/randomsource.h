// Uniform random numbers for noise, reseeded from the time of day. Tests put
// in their own source to fix the draws.
#pragma once

namespace vell {

class RandomSource {
public:
    virtual ~RandomSource() = default;
    virtual void reseedFromTimeOfDay() = 0;
    // A uniform value r with 0 <= r < 1.
    virtual float next() = 0;

    // The process-wide generator, seeded from the milliseconds since midnight.
    static RandomSource& system();
};

} // namespace vell
