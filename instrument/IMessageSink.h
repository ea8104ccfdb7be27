// Where the core's texts for the user go: a message box with an OK button in the
// application, standard error in the command-line tool, a recorder in tests.
#pragma once

namespace stratigon {

class IMessageSink {
public:
    virtual ~IMessageSink() = default;
    virtual void ShowMessage(const char* text) = 0;
};

}  // namespace stratigon
