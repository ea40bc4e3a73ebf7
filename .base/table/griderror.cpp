#include "table/griderror.h"

GridError::GridError(const QString &message) : std::runtime_error(message.toStdString()) {}
