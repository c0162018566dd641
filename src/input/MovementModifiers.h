#pragma once

// Factors and jitter level applied to relative mouse movement, at profile or scenario level.
struct MovementModifiers
{
    double xy = 1.0; // both axes
    double x = 1.0;  // horizontal axis
    double y = 1.0;  // vertical axis
    int rand = 0;    // jitter level 0 (off) to 3

    // The jitter amplitude in pixels published for a level: 1 → 1.0, 2 → 3.0, 3 → 5.0, any
    // other level none.
    static constexpr double jitterAmplitude(int level)
    {
        return level == 1 ? 1.0 : level == 2 ? 3.0 : level == 3 ? 5.0 : 0.0;
    }

    friend bool operator==(const MovementModifiers&, const MovementModifiers&) = default;
};
