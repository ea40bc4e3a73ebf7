#include "plot/barkscale.h"

#include <cmath>

double HzToBark(int hz)
{
    // The evaluation order is part of the result: reordering changes the last bits,
    // which can move a truncated coordinate by one unit.
    const double k = hz * 0.001;
    const double q = k * 0.13333333333333333;
    return 13.0 * std::atan(0.76 * k) + 3.5 * std::atan(q * q);
}
