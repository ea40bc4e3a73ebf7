#pragma once

#include "measure/sharedlibrary.h"

#include <sndfile.h>

// The functions of libsndfile that reading a recording uses, looked up when a recording is
// first read rather than linked: the library and its codecs cost every start of the programs
// time, and only measuring needs them. instance() is the process's own, loaded once and
// shared by every thread; an object of one's own (another soname) serves tests.
class SndfileLibrary
{
public:
    static constexpr const char *kSoname = "libsndfile.so.1";

    explicit SndfileLibrary(const QString &soname = QString::fromLatin1(kSoname));
    static const SndfileLibrary &instance();

    // Whether every function below is there; if not, none may be called.
    bool ok() const { return m_library.ok(); }
    const QString &error() const { return m_library.error(); }

    decltype(&sf_open) open = nullptr;
    decltype(&sf_close) close = nullptr;
    decltype(&sf_strerror) strerror = nullptr;
    decltype(&sf_command) command = nullptr;
    decltype(&sf_readf_float) readfFloat = nullptr;

private:
    SharedLibrary m_library;
};
