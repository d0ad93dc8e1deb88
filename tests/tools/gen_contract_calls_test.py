"""The contract test's table of calls (tools/gen-contract-calls.py): which hostile values each
argument gets. A wrong kind either hides faults (a count taken for a plain number) or reports
the test's own overreads as the library's (an unterminated buffer passed as a file name)."""
import importlib
import os
import sys
import unittest

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "tools"))
header_calls = importlib.import_module("header_calls")
gen_contract = importlib.import_module("gen-contract-calls")


def call(name, *arguments):
    return header_calls.Call(name, "void", [header_calls.Argument(t, n) for t, n in arguments], "")


class ArgumentKindsTest(unittest.TestCase):
    def test_text_is_bounded_only_beside_a_count(self):
        counted = call("KANJI", ("const char *", "text"), ("int32_t", "n"))
        plain = call("SetNelvarReg", ("const char *", "name"), ("const char *", "text"))
        self.assertEqual(gen_contract.call_kinds(counted), ["kText", "kInt"])
        self.assertEqual(gen_contract.call_kinds(plain), ["kString", "kString"])

    def test_paths_and_counts_of_arrays(self):
        line = call("LINE6", ("int32_t", "pattern"), ("const float *", "x"), ("int32_t", "count"))
        save = call("SAVEFILEF", ("const TAMVEL_FSTRING *", "path"), ("int32_t", "n"))
        printer = call("P", ("const char *", "pdf_path"), ("double", "w"))
        self.assertEqual(gen_contract.call_kinds(line), ["kInt", "kFloatArray", "kCount"])
        self.assertEqual(gen_contract.call_kinds(save), ["kFortranString", "kInt"])
        self.assertEqual(gen_contract.call_kinds(printer), ["kPath", "kDouble"])

    def test_new_types_fall_back_to_their_family(self):
        new = call("New", ("uint32_t", "flags"), ("const uint8_t *", "bytes"), ("float", "f"))
        self.assertEqual(gen_contract.call_kinds(new), ["kInt", "kDataBuffer", "kFloat"])
        with self.assertRaises(SystemExit):
            gen_contract.call_kinds(call("Bad", ("TAMVEL_POINT", "by_value")))

    def test_the_invoker_passes_each_argument_as_declared(self):
        text = gen_contract.entry(call("TEXTOUT", ("float", "x"), ("const char *", "text"),
                                       ("int32_t", "n")))
        self.assertIn("TEXTOUT(a.Get<float>(0), a.Get<const char *>(1), a.Get<int32_t>(2))", text)
        self.assertIn("[](const Arguments &) { NEXTPAGE(); }", gen_contract.entry(call("NEXTPAGE")))


if __name__ == "__main__":
    unittest.main()
