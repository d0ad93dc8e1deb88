"""The header reader and the reference writer: which comment documents which call, and that a
call without one fails the check (tools/header_calls.py, tools/gen-reference.py)."""
import importlib
import os
import subprocess
import sys
import tempfile
import unittest

TOOLS = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "tools")
sys.path.insert(0, TOOLS)
header_calls = importlib.import_module("header_calls")
gen_reference = importlib.import_module("gen-reference")

HEADER = """/* top */
#include <stdint.h>
/* ---------------------------------------------------------------- pages ---- */

/* Draws A.
 *     0  zero <
 *     1  one */
TAMVEL_API void TAMVEL_CALL A(int32_t code);
TAMVEL_API void TAMVEL_CALL AF(const TAMVEL_FSTRING *text, int32_t n);

/* Not the comment of B: a blank line stands between. */

TAMVEL_API int32_t TAMVEL_CALL B(void);
/* ---------------------------------------------------------------- files ---- */
/* C's comment */
TAMVEL_API void TAMVEL_CALL C(const char *path);
"""


class HeaderCommentsTest(unittest.TestCase):
    def setUp(self):
        folder = tempfile.mkdtemp()
        self.header = os.path.join(folder, "tamvel.h")
        with open(self.header, "w", encoding="utf-8") as f:
            f.write(HEADER)
        self.calls = {c.name: c for c in header_calls.read_calls([self.header])}

    def test_a_comment_documents_the_calls_right_below_it(self):
        self.assertEqual(self.calls["A"].comment, "Draws A.\n    0  zero <\n    1  one")
        self.assertIs(self.calls["AF"].comment, self.calls["A"].comment)
        self.assertIsNone(self.calls["B"].comment)
        self.assertEqual((self.calls["C"].comment, self.calls["C"].section), ("C's comment", "files"))

    def test_tables_stay_as_they_stand_and_text_is_escaped(self):
        lines = gen_reference.markdown(self.calls["A"].comment)
        self.assertEqual(lines, ["Draws A.", "", "```", "0  zero <", "1  one", "```", ""])
        self.assertEqual(gen_reference.escape("a <key> `b <c>`"), r"a \<key\> `b <c>`")

    def test_an_undocumented_call_fails_the_check(self):
        result = subprocess.run([sys.executable, os.path.join(TOOLS, "gen-reference.py"),
                                 "--check", os.devnull, self.header],
                                capture_output=True, text=True)
        self.assertNotEqual(result.returncode, 0)
        self.assertIn("no comment above the declaration of B", result.stderr)


if __name__ == "__main__":
    unittest.main()
