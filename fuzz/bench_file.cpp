// The simulator's bench-file reader on arbitrary text. A bench it accepts must load as a
// bench whose instruments are all found again by their resource names, and whose modules
// answer the readout's queries from what the file said about them.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

#include "fuzz/support/FuzzCheck.h"
#include "simulator/Bench.h"
#include "simulator/BenchError.h"
#include "simulator/BenchParser.h"

namespace stratigon::fuzz {
namespace {

// What the program's largest read asks for.
constexpr std::size_t kReadSize = 256;

// What the program asks of every module it reads.
constexpr std::string_view kReadoutQueries[] = {
    "*IDN?", "SYST:CONF:WIDT?", "SYST:CONF:DEPT?", "SYST:CONF:SPE?", "SYST:CONF:TICL:HRES?", "SOUR:CLOC:PER?",
    "SYST:CONF:OPT?", "PEEKL? #H5000048", "PEEKW? #H500004C", "SYST:PASS:INST:UPD?", "SYST:ERR?",
};

// Far more pieces than any answer a bench file of the fuzzer's sizes can hold.
constexpr int kMostPieces = 1000;

// An answer the instrument holds is handed out piece after piece, and it ends.
void ReadAnswer(sim::Instrument& instrument)
{
    for (int piece = 0; piece < kMostPieces; ++piece) {
        std::string chunk;
        const ViStatus status = instrument.Read(kReadSize, chunk);
        FUZZ_CHECK(chunk.size() <= kReadSize);
        if (status != VI_SUCCESS_MAX_CNT)
            return;
    }
    FUZZ_CHECK(!"an answer that never ends");
}

}  // namespace
}  // namespace stratigon::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace stratigon;
    using namespace stratigon::fuzz;

    const std::string_view text(reinterpret_cast<const char*>(data), size);
    sim::BenchDescription description;
    try {
        description = sim::BenchParser::Parse(text);
    } catch (const sim::BenchError& error) {
        // The reason is shown to whoever wrote the file; it must say something.
        FUZZ_CHECK(std::strlen(error.what()) > 0);
        return 0;
    }

    sim::Bench bench(description, sim::StateStore());
    FUZZ_CHECK(bench.Size() == description.modules.size());
    for (std::size_t i = 0; i < bench.Size(); ++i) {
        sim::Instrument& instrument = bench.At(i);
        FUZZ_CHECK(!instrument.Resource().empty());
        FUZZ_CHECK(bench.Find(instrument.Resource()) == i);
        for (const std::string_view query : kReadoutQueries) {
            if (instrument.WriteFails(query))
                continue;
            FUZZ_CHECK(!instrument.Receive(query));
            ReadAnswer(instrument);
        }
    }
    return 0;
}
