#include "cli/CliProcess.h"

#include <fstream>
#include <sstream>

#if defined(_WIN32)
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

namespace stratigon::test {

namespace {

std::string ReadAll(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    std::string bytes = text.str();
#if defined(_WIN32)
    // The console program writes its lines in text mode.
    for (std::size_t at; (at = bytes.find("\r\n")) != std::string::npos;)
        bytes.erase(at, 1);
#endif
    return bytes;
}

#if defined(_WIN32)
std::string QuotedCommandLine(const std::string& program, const std::vector<std::string>& arguments)
{
    std::string line = "\"" + program + "\"";
    for (const std::string& argument : arguments) {
        line += " \"";
        for (char c : argument)
            line += c == '"' ? std::string("\\\"") : std::string(1, c);
        line += "\"";
    }
    return line;
}

HANDLE CreateCapture(const std::string& path)
{
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    return ::CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit, CREATE_ALWAYS, 0, nullptr);
}

int Spawn(const std::string& program, const std::vector<std::string>& arguments, const std::string& folder,
          const std::string& out, const std::string& err)
{
    const HANDLE outFile = CreateCapture(out);
    const HANDLE errFile = CreateCapture(err);
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = ::GetStdHandle(STD_INPUT_HANDLE);
    startup.hStdOutput = outFile;
    startup.hStdError = errFile;
    PROCESS_INFORMATION process{};
    std::string line = QuotedCommandLine(program, arguments);
    DWORD code = static_cast<DWORD>(-1);
    if (::CreateProcessA(nullptr, line.data(), nullptr, nullptr, TRUE, 0, nullptr, folder.c_str(), &startup, &process)) {
        ::WaitForSingleObject(process.hProcess, INFINITE);
        ::GetExitCodeProcess(process.hProcess, &code);
        ::CloseHandle(process.hThread);
        ::CloseHandle(process.hProcess);
    }
    ::CloseHandle(outFile);
    ::CloseHandle(errFile);
    return static_cast<int>(code);
}
#else
int Spawn(const std::string& program, const std::vector<std::string>& arguments, const std::string& folder,
          const std::string& out, const std::string& err)
{
    std::vector<char*> argv = {const_cast<char*>(program.c_str())};
    for (const std::string& argument : arguments)
        argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);
    const pid_t child = fork();
    if (child == 0) {
        const int outFile = open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        const int errFile = open(err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        if (outFile < 0 || errFile < 0 || dup2(outFile, 1) < 0 || dup2(errFile, 2) < 0 || chdir(folder.c_str()) != 0)
            _exit(127);
        execv(argv[0], argv.data());
        _exit(127);
    }
    int status = 0;
    if (child < 0 || waitpid(child, &status, 0) != child)
        return -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}
#endif

}  // namespace

CliResult RunCli(const std::vector<std::string>& arguments, const std::string& workFolder)
{
    return RunProgram(STRATIGON_CLI, arguments, workFolder);
}

CliResult RunProgram(const std::string& program, const std::vector<std::string>& arguments, const std::string& workFolder)
{
    const std::string out = workFolder + "/stdout.txt";
    const std::string err = workFolder + "/stderr.txt";
    CliResult result;
    result.exitCode = Spawn(program, arguments, workFolder, out, err);
    result.out = ReadAll(out);
    result.err = ReadAll(err);
    return result;
}

}  // namespace stratigon::test
