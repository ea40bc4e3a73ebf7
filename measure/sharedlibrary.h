#pragma once

#include <QString>

// A shared library opened by its soname when it is first needed, and its functions looked up
// by name. The programs open their audio libraries this way so that drawing a chart never
// maps them (nor the many codec libraries they bring along). Owns the handle but never
// closes it: the functions stay valid to the end of the process.
class SharedLibrary
{
public:
    // `package` is what to install when the library is missing, for the message.
    SharedLibrary(const QString &soname, const QString &package);
    SharedLibrary(const SharedLibrary &) = delete;
    SharedLibrary &operator=(const SharedLibrary &) = delete;

    // Points `function` at the library's function `name`, or leaves it null and records why.
    template <typename Function> void resolve(Function *&function, const char *name)
    {
        function = reinterpret_cast<Function *>(symbol(name));
    }

    bool ok() const { return m_error.isEmpty(); }
    // Why the library cannot be used, naming it and what to install; empty when it can.
    const QString &error() const { return m_error; }

private:
    void *symbol(const char *name);

    void *m_handle = nullptr;
    QString m_soname;
    QString m_package;
    QString m_error;
};
