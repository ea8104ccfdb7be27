"""pyvisa, a VISA client nobody here wrote, drives the simulated bench through its own ctypes
wrapper: the simulator library is loaded by path as any vendor's VISA library would be.

Run with the system interpreter, which has Debian's python3-pyvisa:
    /usr/bin/python3 tests/pyvisa/test_pyvisa.py [path/to/libstratigon-visa-sim.so]
The library must be built without sanitizers (make test-pyvisa builds one in build/plain).
"""

import json
import os
import subprocess
import sys
import tempfile
import unittest
from pathlib import Path

import pyvisa
from pyvisa import constants
from pyvisa.errors import VisaIOError
from pyvisa.resources import MessageBasedResource

ROOT = Path(__file__).resolve().parents[2]
LIBRARY = str(ROOT / "build" / "plain" / "lib" / "libstratigon-visa-sim.so")

ANALYZER = "VXI0::24::INSTR"
IDENTITY = "QUORVALIS,KVX7L1A,B012345,FVER:4.2.1"
BENCH = {
    "modules": [
        {"interface": 0, "slot": 3, "logical_address": 24, "idn": IDENTITY},
        {"interface": 1, "slot": 2, "logical_address": 16, "kind": "pattern-generator"},
        {"interface": 0, "slot": 8, "logical_address": 64, "kind": "other"},
        {"interface": 2, "slot": 11, "logical_address": 200, "resource": "VXI2::BACKPLANE"},
    ]
}

# A second client in a process of its own: prints the answer to one query.
CHILD = """
import sys, pyvisa
from pyvisa.resources import MessageBasedResource
rm = pyvisa.ResourceManager(sys.argv[1])
module = rm.open_resource(sys.argv[2], resource_pyclass=MessageBasedResource, read_termination="\\n")
print(module.query(sys.argv[3]))
"""


class SimulatedBenchThroughPyvisa(unittest.TestCase):
    """The bench loads once per process, at the first resource manager: every test shares it."""

    @classmethod
    def setUpClass(cls):
        cls.folder = tempfile.TemporaryDirectory(prefix="stratigon-pyvisa-")
        bench = Path(cls.folder.name) / "bench.json"
        bench.write_text(json.dumps(BENCH))
        os.environ["STRATIGON_SIM_BENCH"] = str(bench)
        os.environ["STRATIGON_SIM_STATE"] = str(Path(cls.folder.name) / "state.json")
        cls.rm = pyvisa.ResourceManager(LIBRARY)

    @classmethod
    def tearDownClass(cls):
        cls.rm.close()
        cls.folder.cleanup()

    def open(self, name=ANALYZER):
        # pyvisa treats VXI instruments as register-based; these modules talk in messages.
        module = self.rm.open_resource(name, resource_pyclass=MessageBasedResource, read_termination="\n")
        self.addCleanup(module.close)
        return module

    def assertRefused(self, status, call, *arguments):
        with self.assertRaises(VisaIOError) as refused:
            call(*arguments)
        self.assertEqual(refused.exception.error_code, status)

    def test_lists_the_resources_in_bench_order(self):
        self.assertEqual(self.rm.list_resources(), ("VXI0::24::INSTR", "VXI1::16::INSTR", "VXI0::64::INSTR"))
        queries = [
            ("?*", ("VXI0::24::INSTR", "VXI1::16::INSTR", "VXI0::64::INSTR", "VXI2::BACKPLANE")),
            ("VXI[01]::?*::INSTR", ("VXI0::24::INSTR", "VXI1::16::INSTR", "VXI0::64::INSTR")),
            ("VXI?::[1-2]?::INSTR", ("VXI0::24::INSTR", "VXI1::16::INSTR")),
            ("vxi0::(24|64)::instr", ("VXI0::24::INSTR", "VXI0::64::INSTR")),
            ("VXI[^0]?*", ("VXI1::16::INSTR", "VXI2::BACKPLANE")),
            ("?*INSTR{VI_ATTR_SLOT > 2 && VI_ATTR_INTF_NUM == 0}", ("VXI0::24::INSTR", "VXI0::64::INSTR")),
            ("GPIB?*", ()),
        ]
        for query, names in queries:
            self.assertEqual(self.rm.list_resources(query), names, query)
        self.assertRefused(constants.StatusCode.error_invalid_expression, self.rm.list_resources, "VXI[?*")

    def test_resource_names_parse_into_their_parts(self):
        info = self.rm.resource_info("vxi::24")
        self.assertEqual((info.interface_type, info.interface_board_number, info.resource_class,
                          info.resource_name), (constants.InterfaceType.vxi, 0, "INSTR", ANALYZER))
        self.assertEqual(self.open("vxi::24").resource_name, ANALYZER)

    def test_queries_the_identity_of_a_module(self):
        module = self.open()
        self.assertEqual(module.query("*IDN?"), IDENTITY)
        self.assertEqual(module.resource_manufacturer_name, "KVX Stratigon simulated VXI bench")

    def test_reads_the_error_after_a_bad_command(self):
        module = self.open()
        module.write("SYST:BOGUS")
        self.assertEqual(module.query("SYST:ERR?"), '-113,"Undefined header"')
        self.assertEqual(module.query("SYST:ERR?"), '0,"No error"')

    def test_time_out_is_read_and_set_and_a_read_without_answer_times_out(self):
        module = self.open()
        self.assertEqual(module.timeout, 2000)
        module.timeout = 250
        self.assertEqual(module.timeout, 250)
        self.assertRefused(constants.StatusCode.error_timeout, module.read)

    def test_a_flush_keeps_the_answer_and_a_device_clear_drops_it(self):
        module = self.open()
        module.write("*IDN?")
        module.flush(constants.BufferOperation.flush_write_buffer | constants.BufferOperation.discard_read_buffer_no_io)
        self.assertEqual(module.read(), IDENTITY)
        module.write("*IDN?")
        module.clear()
        self.assertRefused(constants.StatusCode.error_timeout, module.read)

    def test_an_exclusive_lock_refuses_every_other_session(self):
        holder = self.open()
        other = self.open()
        # pyvisa hands out one ResourceManager per library; its lower layer opens a second
        # resource manager session, as another client of the library would have.
        visalib = self.rm.visalib
        manager, _ = visalib.open_default_resource_manager()
        self.addCleanup(visalib.close, manager)
        stranger, _ = visalib.open(manager, ANALYZER)
        holder.lock_excl()
        self.assertEqual(other.lock_state, constants.AccessModes.exclusive_lock)
        locked = constants.StatusCode.error_resource_locked
        self.assertRefused(locked, other.query, "*IDN?")
        self.assertRefused(locked, other.lock_excl, 0)
        self.assertRefused(locked, visalib.write, stranger, b"*IDN?\n")
        self.assertRefused(locked, visalib.lock, stranger, constants.Lock.shared, 0)
        self.assertEqual(holder.query("*IDN?"), IDENTITY)
        holder.unlock()
        self.assertEqual(other.query("*IDN?"), IDENTITY)

    def test_shared_locks_admit_the_holders_of_the_key(self):
        holder = self.open()
        partner = self.open()
        outsider = self.open()
        key = holder.lock()
        self.assertEqual(partner.lock(requested_key=key), key)
        self.assertEqual(partner.query("*IDN?"), IDENTITY)
        self.assertRefused(constants.StatusCode.error_resource_locked, outsider.query, "*IDN?")
        holder.unlock()
        partner.unlock()
        self.assertEqual(outsider.query("*IDN?"), IDENTITY)

    def test_a_changed_configuration_applies_at_reset_and_outlives_the_process(self):
        module = self.open()
        module.write("SYST:CONF:DEPT 262144")
        self.assertEqual(module.query("SYST:CONF:DEPT?"), "65536", "pending until *RST")
        module.write("*RST")
        self.assertEqual(module.query("SYST:CONF:DEPT?"), "262144")
        child = subprocess.run([sys.executable, "-c", CHILD, LIBRARY, ANALYZER, "SYST:CONF:DEPT?"],
                               capture_output=True, text=True, timeout=60, env=os.environ.copy())
        self.assertEqual(child.returncode, 0, child.stderr)
        self.assertEqual(child.stdout.strip(), "262144")


if __name__ == "__main__":
    if len(sys.argv) > 1 and not sys.argv[1].startswith("-"):
        LIBRARY = os.path.abspath(sys.argv.pop(1))
    if not os.path.exists(LIBRARY):
        sys.exit(f"{LIBRARY} does not exist: build it with make test-pyvisa")
    unittest.main(verbosity=2)
