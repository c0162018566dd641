#pragma once

// Factors and jitter level applied to relative mouse movement, at profile or scenario level.
struct MovementModifiers
{
    double xy = 1.0; // both axes
    double x = 1.0;  // horizontal axis
    double y = 1.0;  // vertical axis
    int rand = 0;    // jitter level 0 (off) to 3

    friend bool operator==(const MovementModifiers&, const MovementModifiers&) = default;
};
