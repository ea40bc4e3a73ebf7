#pragma once

#include "document/tokenfile.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <optional>
#include <type_traits>
#include <vector>

// The one parser of tessavox-batch's command lines. A command declares what it takes, each
// option bound to a typed value of its own, then parses its arguments once:
//
//     QString input, output;
//     TokenFileOptions open;
//     std::optional<FrequencyScale> scale;
//     bool fit = false;
//     CommandLine line;
//     line.input(input).output(output).reading(open)
//         .value("--scale", scale, parseFrequencyScale)
//         .flag("--fit", fit);
//     if (!line.parse(args))
//         return batchUsageError(kUsage, line.error());
//
// FILE is the first argument that is not an option; an option's value is the next argument,
// whatever it looks like. A usage error is an option no command declared, one given twice
// (unless declared repeated), a missing value, a value its parser refuses, or no FILE; nothing
// is parsed past it, and error() says which in one line. Every command reads its input with
// reading(), so --format, --speaker, --vowel, --f1, --f2 and --f3 mean the same everywhere.
class CommandLine
{
public:
    CommandLine() = default;
    CommandLine(const CommandLine &) = delete;
    CommandLine &operator=(const CommandLine &) = delete;

    // FILE, which every command needs.
    CommandLine &input(QString &path);
    // FILE..., one or more, for a command that takes many (instead of input()).
    CommandLine &inputs(QStringList &paths);
    // -o OUT; `required` makes its absence a usage error.
    CommandLine &output(QString &path, bool required = false);
    // --format formant|table, --speaker COL, --vowel COL, --f1 COL, --f2 COL, --f3 COL.
    CommandLine &reading(TokenFileOptions &open);

    // An option without a value.
    CommandLine &flag(const char *name, bool &target, bool setTo = true);
    // An option whose value `parse` turns into the target's type; nullopt refuses it.
    template <typename T>
    CommandLine &value(const char *name, std::optional<T> &target,
                       std::type_identity_t<std::function<std::optional<T>(const QString &)>> parse)
    {
        return add(name, false, [&target, parse = std::move(parse)](const QString &text) {
            target = parse(text);
            return target.has_value();
        });
    }
    // An option whose value is any non-empty text (a column's name).
    CommandLine &text(const char *name, QString &target);
    // An option that may be given many times; `take` sees each value, false refuses it.
    CommandLine &repeated(const char *name, std::function<bool(const QString &)> take);

    // Parses `args` (the words after the command's name); false on a usage error.
    bool parse(const QStringList &args);
    // Whether the option was on the command line.
    bool given(const char *name) const;
    // What the usage error was, e.g. "unknown option --sise"; empty after a good parse.
    const QString &error() const { return m_error; }

private:
    struct Option
    {
        QString name;
        bool isFlag = false;
        bool repeats = false;
        std::function<bool(const QString &)> take; // the value, or empty for a flag
    };
    CommandLine &add(const char *name, bool isFlag, std::function<bool(const QString &)> take,
                     bool repeats = false);
    const Option *find(const QString &name) const;

    std::vector<Option> m_options;
    QString *m_input = nullptr;      // not owned
    QStringList *m_inputs = nullptr; // not owned
    QString *m_output = nullptr; // not owned
    bool m_outputRequired = false;
    QStringList m_given;
    QString m_error;
};

// Parsers of values more than one command takes.

// "formant" or "table".
std::optional<TabularFileKind> parseFileKind(const QString &text);
// A whole number within min..max.
std::optional<int> parseBoundedInt(const QString &text, int min, int max);
