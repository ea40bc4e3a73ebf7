#include "batch/batchprocess.h"

#include "batch/batchcommand.h"

#include <QString>

#include <cstdio>
#include <cstdlib>

#if defined(__SANITIZE_ADDRESS__)
#define TESSAVOX_CHECKS_LEAKS 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define TESSAVOX_CHECKS_LEAKS 1
#endif
#endif

bool batchNeedsGui(int argc, char *argv[])
{
    if (argc < 2)
        return false;
    const QString name = QString::fromLocal8Bit(argv[1]);
    for (const BatchCommand &command : batchCommands()) {
        if (command.name == name)
            return command.draws;
    }
    return false;
}

int leaveBatch(int code)
{
    batchOut().flush();
    batchErr().flush();
    std::fflush(nullptr);
#ifndef TESSAVOX_CHECKS_LEAKS
    std::_Exit(code);
#endif
    return code;
}
