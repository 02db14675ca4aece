#pragma once

// Where a run's chance comes from: a stream of values r with 0 <= r < 1, from which the face draw
// (1 + floor(5r)) and the deal take everything they need, in a fixed order. The window's own generator
// is one; a run may be given another (a pinned one in tests, a stream of its own).
class DrawSource
{
public:
    virtual ~DrawSource() = default;
    // The next value r with 0 <= r < 1.
    virtual double next() = 0;
};
