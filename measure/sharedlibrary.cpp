#include "measure/sharedlibrary.h"

#include <QFile>

#include <dlfcn.h>

namespace {

QString lastDlError()
{
    const char *text = dlerror();
    return text ? QString::fromLocal8Bit(text) : QStringLiteral("unknown error");
}

} // namespace

SharedLibrary::SharedLibrary(const QString &soname, const QString &package)
    : m_soname(soname), m_package(package)
{
    m_handle = dlopen(QFile::encodeName(soname).constData(), RTLD_NOW | RTLD_LOCAL);
    if (!m_handle)
        m_error = QStringLiteral("cannot load %1: %2; install %3")
                      .arg(m_soname, lastDlError(), m_package);
}

void *SharedLibrary::symbol(const char *name)
{
    if (!m_handle)
        return nullptr;
    dlerror(); // so that the text below is this lookup's
    void *address = dlsym(m_handle, name);
    if (!address && m_error.isEmpty())
        m_error =
            QStringLiteral("cannot use %1: %2; install %3").arg(m_soname, lastDlError(), m_package);
    return address;
}
