"""The examples in Python draw what the C examples draw, record for record."""
import subprocess

from conftest import BUILD, ROOT, records, run_python, same_records


def test_the_python_demo_writes_the_pages_of_the_c_demo(tmp_path):
    (tmp_path / "c").mkdir()
    (tmp_path / "python").mkdir()
    subprocess.run([BUILD / "demo", tmp_path / "c"], check=True, capture_output=True)
    run_python(ROOT / "examples" / "demo.py", tmp_path / "python")
    pages = sorted(p.name for p in (tmp_path / "c").glob("*.emf"))
    assert len(pages) == 5
    assert sorted(p.name for p in (tmp_path / "python").glob("*.emf")) == pages
    for page in pages:
        same_records(records(tmp_path / "python" / page), records(tmp_path / "c" / page))


def test_the_guides_first_page_in_python_is_the_c_page_with_another_title(tmp_path):
    subprocess.run([BUILD / "first_page_c", tmp_path / "c.emf"], check=True, capture_output=True)
    output = run_python(ROOT / "examples" / "getting-started" / "first_page.py",
                        tmp_path / "python.emf").stdout
    assert output == f"wrote {tmp_path / 'python.emf'}\n"

    # The same records, but for the title's text (of the same length in bytes).
    expected = [r.replace('"tamvel from C"', '"tamvel Python"') for r in records(tmp_path / "c.emf")]
    same_records(records(tmp_path / "python.emf"), expected)
