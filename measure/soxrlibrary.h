#pragma once

#include "measure/sharedlibrary.h"

#include <soxr.h>

// The functions of libsoxr that resampling a recording uses, looked up when the first
// converter is made rather than linked: only measuring needs them, and linking the library
// costs every start of the programs time. instance() is the process's own, loaded once and
// shared by every thread; an object of one's own (another soname) serves tests.
class SoxrLibrary
{
public:
    static constexpr const char *kSoname = "libsoxr.so.0";

    explicit SoxrLibrary(const QString &soname = QString::fromLatin1(kSoname));
    static const SoxrLibrary &instance();

    // Whether every function below is there; if not, none may be called.
    bool ok() const { return m_library.ok(); }
    const QString &error() const { return m_library.error(); }

    decltype(&soxr_io_spec) ioSpec = nullptr;
    decltype(&soxr_quality_spec) qualitySpec = nullptr;
    decltype(&soxr_create) create = nullptr;
    decltype(&soxr_delete) destroy = nullptr;
    decltype(&soxr_clear) clear = nullptr;
    decltype(&soxr_process) process = nullptr;

private:
    SharedLibrary m_library;
};
