#pragma once

#include "measure/formantframes.h"

#include <span>
#include <vector>

// Choosing a token's formant ceiling among several analyses: the one whose F1-F3 tracks are
// the most regular, i.e. the least residual of a low-order polynomial fit of each track in
// log frequency over the token (the multiple-analysis approach of Weenink 2015 and
// Barreda 2021). A wrong ceiling makes a spare pole a formant, or merges two, in some frames
// and not in others; the tracks then jump, and the fit's residual grows. Pure functions.

// Of the analyses whose irregularity is within this factor of the least, the lowest ceiling
// wins: once several leave the tracks regular, a higher one only leaves spare poles, which
// pull F1 and F2 (Weenink 2015 saw the same on real speech).
constexpr double kRegularEnough = 1.5;

// `steps` ceilings from `low` to `high` Hz, log-spaced, whole hertz, ascending.
std::vector<double> CeilingSteps(double low, double high, int steps);

// How irregular the F1-F3 tracks of `frames` at `times` are: the sum over the three formants
// of the RMS residual (natural-log units) of a quadratic fit of ln F against time, plus a
// penalty for each frame a formant is missing in; a resonance wider than 600 Hz counts as
// missing. Infinite when a track is missing in half its frames or more. Lower is better.
double TrackIrregularity(std::span<const FormantFrame> frames, std::span<const double> times);
