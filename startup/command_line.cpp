#include "command_line.h"

#include <cstdio>
#include <cstring>

namespace {

bool isOneOf(const char* argument, const char* shortName, const char* longName) {
    return std::strcmp(argument, shortName) == 0 || std::strcmp(argument, longName) == 0;
}

int print(const QString& text) {
    const QByteArray bytes = text.toLocal8Bit();
    std::fwrite(bytes.constData(), 1, std::size_t(bytes.size()), stdout);
    // A closed or full standard output is an error, as with any command-line tool.
    return std::fflush(stdout) == 0 && !std::ferror(stdout) ? 0 : 1;
}

} // namespace

std::optional<int> answerCommandLine(int argc, const char* const* argv,
                                     const CommandLineAnswers& answers) {
    for (int i = 1; i < argc; ++i) {
        if (isOneOf(argv[i], "-h", "--help"))
            return print(answers.help);
        if (isOneOf(argv[i], "-v", "--version"))
            return print(answers.version + QLatin1Char('\n'));
    }
    return std::nullopt;
}
