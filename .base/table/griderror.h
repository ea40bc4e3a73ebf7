#pragma once

#include <QString>

#include <stdexcept>

// What the grid throws when asked for something it cannot do: a row or column outside the
// table, a value of the wrong kind for its column, clipboard text that does not fit.
// Callers catch it where they have something better to say; elsewhere it ends the command.
class GridError : public std::runtime_error
{
public:
    explicit GridError(const QString &message);

    QString message() const { return QString::fromUtf8(what()); }
};
