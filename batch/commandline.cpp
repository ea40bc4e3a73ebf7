#include "batch/commandline.h"

#include <array>
#include <utility>

CommandLine &CommandLine::add(const char *name, bool isFlag,
                              std::function<bool(const QString &)> take, bool repeats)
{
    m_options.push_back({QString::fromLatin1(name), isFlag, repeats, std::move(take)});
    return *this;
}

const CommandLine::Option *CommandLine::find(const QString &name) const
{
    for (const Option &option : m_options) {
        if (option.name == name)
            return &option;
    }
    return nullptr;
}

CommandLine &CommandLine::input(QString &path)
{
    m_input = &path;
    return *this;
}

CommandLine &CommandLine::inputs(QStringList &paths)
{
    m_inputs = &paths;
    return *this;
}

CommandLine &CommandLine::output(QString &path, bool required)
{
    m_output = &path;
    m_outputRequired = required;
    return add("-o", false, [&path](const QString &text) {
        path = text;
        return !text.isEmpty();
    });
}

CommandLine &CommandLine::reading(TokenFileOptions &open)
{
    value<TabularFileKind>("--format", open.kind, parseFileKind);
    static constexpr std::array<std::pair<const char *, TabularRole>, 5> kColumns{{
        {"--speaker", TabularRole::Speaker},
        {"--vowel", TabularRole::Vowel},
        {"--f1", TabularRole::F1},
        {"--f2", TabularRole::F2},
        {"--f3", TabularRole::F3},
    }};
    for (const auto &[name, role] : kColumns)
        text(name, open.columns.column(role));
    return *this;
}

CommandLine &CommandLine::flag(const char *name, bool &target, bool setTo)
{
    return add(name, true, [&target, setTo](const QString &) {
        target = setTo;
        return true;
    });
}

CommandLine &CommandLine::text(const char *name, QString &target)
{
    return add(name, false, [&target](const QString &text) {
        target = text;
        return !text.isEmpty();
    });
}

CommandLine &CommandLine::repeated(const char *name, std::function<bool(const QString &)> take)
{
    return add(name, false, std::move(take), true);
}

bool CommandLine::parse(const QStringList &args)
{
    m_error.clear();
    m_given.clear();
    bool haveInput = false;
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString &arg = args[i];
        if (!arg.startsWith(QLatin1Char('-')) && !haveInput && m_input) {
            *m_input = arg;
            haveInput = true;
            continue;
        }
        if (m_inputs && (!arg.startsWith(QLatin1Char('-')) || arg == QLatin1String("-"))) {
            m_inputs->append(arg);
            haveInput = true;
            continue;
        }
        const Option *option = find(arg);
        if (!option) {
            m_error = arg.startsWith(QLatin1Char('-'))
                          ? QStringLiteral("unknown option %1").arg(arg)
                          : QStringLiteral("one FILE only, not also \"%1\"").arg(arg);
            return false;
        }
        if (!option->repeats && m_given.contains(arg)) {
            m_error = QStringLiteral("%1 given twice").arg(arg);
            return false;
        }
        m_given << arg;
        if (option->isFlag) {
            option->take(QString());
            continue;
        }
        if (i + 1 >= args.size()) {
            m_error = QStringLiteral("%1 needs a value").arg(arg);
            return false;
        }
        const QString &value = args[++i];
        if (!option->take(value)) {
            m_error = QStringLiteral("%1 does not take \"%2\"").arg(arg, value);
            return false;
        }
    }
    if ((m_input || m_inputs) && !haveInput) {
        m_error = QStringLiteral("FILE is missing");
        return false;
    }
    if (m_output && m_outputRequired && !given("-o")) {
        m_error = QStringLiteral("-o OUT is missing");
        return false;
    }
    return true;
}

bool CommandLine::given(const char *name) const
{
    return m_given.contains(QString::fromLatin1(name));
}

std::optional<TabularFileKind> parseFileKind(const QString &text)
{
    return ParseTabularFileKind(text);
}

std::optional<int> parseBoundedInt(const QString &text, int min, int max)
{
    bool ok = false;
    const int value = text.toInt(&ok);
    if (!ok || value < min || value > max)
        return std::nullopt;
    return value;
}
