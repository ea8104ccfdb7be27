// One simulated instrument on the bench: it takes messages as a VXI message-based device does,
// keeps its error queue, configuration and memory, and holds the answer to its last query.
#pragma once

#include "instrument/VisaTypes.h"
#include "simulator/ErrorQueue.h"
#include "simulator/ModuleDescription.h"
#include "simulator/ModuleState.h"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace stratigon::sim {

class Instrument {
public:
    explicit Instrument(ModuleDescription description);

    const ModuleDescription& Description() const { return description_; }
    const std::string& Resource() const { return description_.resource; }
    const ModuleState& State() const { return state_; }
    void RestoreState(const ModuleState& state) { state_ = state; }
    // A change that could not be kept is refused as a module refuses a command its memory
    // cannot store: it goes back to `kept` and queues an error for the command.
    void RefuseChange(const ModuleState& kept);

    // A write_error fault: the bus fails before the module sees the message.
    bool WriteFails(std::string_view message) const;
    // Takes one complete message. True when the module changed something that must survive
    // a power cycle (applied configuration, memory, update stamp).
    bool Receive(std::string_view message);
    // Takes the bytes of one write as Receive does its messages: each line end completes a
    // message, and so does the END sent with the last byte; text after the last line end of
    // a write without END waits for the next write.
    bool Accept(std::string_view bytes, bool end);
    // A device clear: partial input and the unread answer are gone; settings and errors stay.
    void Clear();
    // Hands out at most maxBytes of the pending answer (which ends in "\n"), stopping after
    // termChar when one is given: VI_SUCCESS when that was the rest of it (END comes with the
    // last byte), VI_SUCCESS_TERM_CHAR at termChar before it, VI_SUCCESS_MAX_CNT when more
    // remains, VI_ERROR_TMO when nothing is pending, VI_ERROR_IO for a read_error fault.
    ViStatus Read(std::size_t maxBytes, std::string& bytes, std::optional<char> termChar = std::nullopt);

private:
    struct Reply {
        std::optional<std::string> answer;
        bool changed = false;
    };
    using Handler = Reply (Instrument::*)(std::string_view arguments);
    struct Command {
        std::string_view header;
        unsigned kinds;
        bool takesArguments;
        Handler handle;
    };
    static const Command kCommands[];

    Reply Dispatch(std::string_view header, std::string_view arguments);
    Reply Fail(ScpiError error);
    void QueueAnswer(std::string answer, std::string_view header, std::string_view text);

    Reply Identify(std::string_view);
    Reply NextError(std::string_view);
    Reply ClearStatus(std::string_view);
    Reply Reset(std::string_view);
    Reply RecordUpdate(std::string_view arguments);
    Reply ReportUpdate(std::string_view);
    Reply PeekLong(std::string_view arguments);
    Reply PeekWord(std::string_view arguments);
    Reply PokeLong(std::string_view arguments);
    Reply PokeWord(std::string_view arguments);
    Reply ReportWidth(std::string_view);
    Reply ReportDepth(std::string_view);
    Reply ReportSpeed(std::string_view);
    Reply ReportHighResolutionPeriod(std::string_view);
    Reply ReportClockPeriod(std::string_view);
    Reply SetSpeed(std::string_view arguments);
    Reply SetDepth(std::string_view arguments);
    Reply ReportPatternOption(std::string_view);
    Reply SetPatternOption(std::string_view arguments);
    Reply Peek(std::string_view arguments, int hexDigits);
    Reply Poke(std::string_view arguments, std::uint64_t widest);

    ModuleDescription description_;
    ModuleState state_;
    std::optional<std::int64_t> pendingDepth_;
    std::optional<std::int64_t> pendingSpeed_;
    std::optional<std::string> pendingOption_;
    ErrorQueue errors_;
    std::string input_;
    std::optional<std::string> output_;
    bool outputFails_ = false;
};

}  // namespace stratigon::sim
