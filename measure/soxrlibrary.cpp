#include "measure/soxrlibrary.h"

SoxrLibrary::SoxrLibrary(const QString &soname) : m_library(soname, QStringLiteral("libsoxr0"))
{
    m_library.resolve(ioSpec, "soxr_io_spec");
    m_library.resolve(qualitySpec, "soxr_quality_spec");
    m_library.resolve(create, "soxr_create");
    m_library.resolve(destroy, "soxr_delete");
    m_library.resolve(clear, "soxr_clear");
    m_library.resolve(process, "soxr_process");
}

const SoxrLibrary &SoxrLibrary::instance()
{
    static const SoxrLibrary library;
    return library;
}
