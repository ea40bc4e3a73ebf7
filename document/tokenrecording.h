#pragma once

#include <QString>

class CTessavoxDoc;

// Where a token was recorded, for a table that says so in its File, Start and End columns
// (as measured tables do): the sound file, found beside the table, and the token's
// interval in seconds. Plain data; playing it is the table window's business.
struct TokenRecording
{
    QString fileName; // as the File cell names it
    QString path;     // the file, relative names taken from the table's folder
    double start = 0.0;
    double end = 0.0;
    // The interval with the context asked for on either side, never before 0 s.
    double from = 0.0;
    double to = 0.0;
    // Why the token cannot be played; empty when it can.
    QString problem;

    // The row names a file and a usable interval, whether or not the file is there.
    bool found = false;

    bool playable() const { return problem.isEmpty(); }
};

// The recording of token row `row`, with `context` seconds either side.
TokenRecording findTokenRecording(const CTessavoxDoc &doc, int row, double context);
