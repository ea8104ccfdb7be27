#include "simulator/DefaultBench.h"

namespace stratigon::sim {
namespace {

// What "make run" shows without hardware: a mainframe and two expansion frames with one
// module of every product type, a type-1 analyzer without serial number whose stored number
// does not yet match its checksum (so the first readout gives it one), and an instrument of
// another maker whose model code the scan passes over.
constexpr const char* kDefaultBench = R"({
  "modules": [
    { "interface": 0, "slot": 3, "logical_address": 24, "model_code": 1025, "kind": "analyzer",
      "idn": "QUORVALIS,KVX7L1A,B012345,FVER:4.2.1", "channels": "136",
      "depth": 65536, "state_speed_mhz": 100, "hres_period_ps": 125, "async_period_s": 2.5e-9 },
    { "interface": 0, "slot": 5, "logical_address": 40, "model_code": 1041, "kind": "analyzer",
      "idn": "QUORVALIS,KVX5L1,B000000,FVER:3.1.0", "channels": "68",
      "depth": 32768, "state_speed_mhz": 100, "hres_period_ps": 500, "async_period_s": 4e-9,
      "memory": { "0x5000048": 305419896, "0x500004C": 0 } },
    { "interface": 0, "slot": 8, "logical_address": 64, "model_code": 1500, "kind": "other",
      "idn": "OTHERCO,DMM-1,0,1.0" },
    { "interface": 1, "slot": 2, "logical_address": 16, "model_code": 1985, "kind": "pattern-generator",
      "idn": "QUORVALIS,KVX7PG2,C100200,FW:2.0.5", "pattern_option": "STD" },
    { "interface": 1, "slot": 4, "logical_address": 32, "model_code": 2034, "kind": "analyzer",
      "idn": "QUORVALIS,KVX9XL64A,N204060,FVER:5.0.2", "channels": "34",
      "depth": 67108864, "state_speed_mhz": 100, "hres_period_ps": 3000, "async_period_s": 4e-9 },
    { "interface": 2, "slot": 1, "logical_address": 8, "model_code": 2005, "kind": "analyzer",
      "idn": "QUORVALIS,KVX7R1A,J300400,FVER:4.3.0", "channels": "102",
      "depth": 1048576, "state_speed_mhz": 200, "hres_period_ps": 250, "async_period_s": 5e-9 },
    { "interface": 2, "slot": 6, "logical_address": 48, "model_code": 1963, "kind": "analyzer",
      "idn": "QUORVALIS,KVX7N2,B543210,FVER:4.2.1", "channels": "136",
      "depth": 1048576, "state_speed_mhz": 100, "hres_period_ps": 125, "async_period_s": 2.5e-9 }
  ]
}
)";

}  // namespace

std::string DefaultBench::Text()
{
    return kDefaultBench;
}

}  // namespace stratigon::sim
