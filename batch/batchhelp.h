#pragma once

#include <QTextStream>

// The --help text of tessavox-batch: usage, commands, their options, exit status and
// examples. The manual page and the shell completion are made from this text, so every
// option a command's usage names is described here.
void printBatchHelp(QTextStream &stream);
