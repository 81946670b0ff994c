#include "command_line.h"

#include <cstdio>
#include <cstring>

#ifdef Q_OS_WIN
#include <windows.h>
#endif

namespace {

bool isOneOf(const char* argument, const char* shortName, const char* longName) {
    return std::strcmp(argument, shortName) == 0 || std::strcmp(argument, longName) == 0;
}

#ifdef Q_OS_WIN
// A program of the Windows GUI subsystem starts without a console, so what it prints goes
// nowhere unless the caller redirected it to a file or a pipe. Started from a command prompt, it
// borrows that prompt's console for the answer; redirected streams are left as they are.
void useParentConsole() {
    const auto unset = [](DWORD which) {
        const HANDLE handle = GetStdHandle(which);
        return handle == nullptr || handle == INVALID_HANDLE_VALUE ||
               GetFileType(handle) == FILE_TYPE_UNKNOWN;
    };
    const bool outUnset = unset(STD_OUTPUT_HANDLE);
    const bool errUnset = unset(STD_ERROR_HANDLE);
    if (!(outUnset || errUnset) || !AttachConsole(ATTACH_PARENT_PROCESS))
        return;
    if (outUnset)
        std::freopen("CONOUT$", "w", stdout);
    if (errUnset)
        std::freopen("CONOUT$", "w", stderr);
}
#endif

int print(const QString& text) {
#ifdef Q_OS_WIN
    useParentConsole();
#endif
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
