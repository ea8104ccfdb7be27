// The program's own COM registration: "Stratigon.exe /RegServer" writes the ProgID, the class
// with its local-server path and the type library into the machine-wide classes, and
// "/UnregServer" takes them away again. Nothing else on the command line is looked at.
#pragma once

#include <string>
#include <string_view>

namespace stratigon::app {

class CServerRegistration {
public:
    enum class Request { None, Register, Unregister };

    // "/RegServer" or "-RegServer", "/UnregServer" or "-UnregServer", in any letter case and
    // alone on the command line; anything else, COM's "-Embedding" included, is no request.
    static Request RequestOf(std::string_view commandLine);

    // Each returns an empty text on success, else what could not be done.
    static std::string Register(const std::wstring& programPath);
    static std::string Unregister();

    // Runs a request for the program itself: the process's exit code, 0 on success; a failure
    // is told on standard error.
    static int Run(Request request);
};

}  // namespace stratigon::app
