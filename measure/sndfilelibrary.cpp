#include "measure/sndfilelibrary.h"

SndfileLibrary::SndfileLibrary(const QString &soname)
    : m_library(soname, QStringLiteral("libsndfile1"))
{
    m_library.resolve(open, "sf_open");
    m_library.resolve(close, "sf_close");
    m_library.resolve(strerror, "sf_strerror");
    m_library.resolve(command, "sf_command");
    m_library.resolve(readfFloat, "sf_readf_float");
}

const SndfileLibrary &SndfileLibrary::instance()
{
    static const SndfileLibrary library;
    return library;
}
