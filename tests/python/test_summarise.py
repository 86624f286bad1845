"""abrivo.summarise: the same results as abrivo-cli, the attributes, the
length modes, the errors, the callbacks and threads."""

import concurrent.futures
import json
import math
import subprocess
import sys
import threading

import pytest

import abrivo
from conftest import load_samples


def cli_json(cli, case, *options):
    done = subprocess.run(
        [cli, "-f", "json", "-t", case["title"], "-l", str(case["length"]), *options],
        input=case["content"], capture_output=True, text=True, encoding="utf-8", check=True)
    return json.loads(done.stdout)


def test_every_conformance_case_gives_what_abrivo_cli_gives(cases, cli):
    for case in cases:
        expected = cli_json(cli, case)
        actual = abrivo.summarise(case["content"], case["title"], case["length"]).to_dict()
        assert list(actual) == list(expected), case["id"]
        assert actual == expected, case["id"]


def test_every_conformance_case_gives_its_stored_result(cases):
    for case in cases:
        s = abrivo.summarise(case["content"], title=case["title"], length=case["length"])
        stored = case["expected"]
        assert s.language == stored["language"], case["id"]
        assert s.summary == stored["summary"], case["id"]
        assert s.status == stored["status"], case["id"]
        assert s.keyword_line == stored["keywords"], case["id"]
        assert [[t.term, str(t.weight)] for t in s.terms] == stored["terms"], case["id"]
        assert [[x.text, str(x.rank), str(x.position)] for x in s.sentences] == \
            stored["sentences"], case["id"]


def test_attributes_and_to_dict_agree():
    for sample in load_samples():
        s = abrivo.summarise(sample["content"], sample["title"], 1)
        d = s.to_dict()
        assert list(d) == ["language", "summary", "keywords", "keyword_line", "status",
                           "sizes", "terms", "sentences"]
        assert (s.language, s.summary, s.keywords, s.keyword_line, s.status) == \
            (d["language"], d["summary"], d["keywords"], d["keyword_line"], d["status"])
        assert d["sizes"] == {"article": s.article_size, "summary": s.summary_size}
        assert d["terms"] == [{"term": t.term, "weight": t.weight} for t in s.terms]
        assert d["sentences"] == [
            {"text": x.text, "rank": x.rank, "position": x.position, "selected": x.selected}
            for x in s.sentences]
        assert s.status == f"原文{s.article_size}字，摘要{s.summary_size}字"
        assert s.language in ("zh", "en")
        assert 1 <= len(s.keywords) <= 3
        assert any(x.selected for x in s.sentences)
        assert json.dumps(d, ensure_ascii=False)  # plain JSON types only


def test_text_that_is_neither_language():
    s = abrivo.summarise("12345 67890", "")
    assert s.language is None
    assert s.summary == "" and s.keywords == [] and s.terms == []
    assert not any(x.selected for x in s.sentences)


def test_str_and_utf8_bytes_give_the_same_result():
    sample = load_samples()[0]
    from_str = abrivo.summarise(sample["content"], sample["title"]).to_dict()
    from_bytes = abrivo.summarise(sample["content"].encode(), sample["title"].encode()).to_dict()
    assert from_bytes == from_str


# Length modes: chars 200..500 are the list's four items; sentences keeps
# exactly N (or all); ratio keeps at most P % (or the single best sentence).
def test_length_modes(cases):
    for case in cases[::10]:
        article, title = case["content"], case["title"]
        for index, chars in enumerate((200, 300, 400, 500)):
            assert abrivo.summarise(article, title, chars=chars).to_dict() == \
                abrivo.summarise(article, title, index).to_dict(), (case["id"], chars)
        total = len(abrivo.summarise(article, title).sentences)
        for n in (1, 3, total + 5):
            s = abrivo.summarise(article, title, sentences=n)
            assert sum(x.selected for x in s.sentences) == min(n, total), (case["id"], n)
        for p in (0.5, 10, 100):
            s = abrivo.summarise(article, title, ratio=p)
            selected = sum(x.selected for x in s.sentences)
            assert s.summary_size <= s.article_size * p / 100 or selected == 1, (case["id"], p)


ERRORS = [
    # (arguments, exception, message pattern)
    (dict(article=5), TypeError, r"^article must be str or bytes, not int$"),
    (dict(article="x", title=None), TypeError, r"^title must be str or bytes, not NoneType$"),
    (dict(article="x", length="1"), TypeError, r"^length must be an int, not str$"),
    (dict(article="x", length=True), TypeError, r"^length must be an int, not bool$"),
    (dict(article="x", length=1.0), TypeError, r"^length must be an int, not float$"),
    (dict(article="x", length=4), ValueError, r"length must be -1 to 3"),
    (dict(article="x", length=-2), ValueError, r"length must be -1 to 3"),
    (dict(article="x", length=2**80), ValueError, r"length must be -1 to 3"),
    (dict(article="x", chars=0), ValueError, r"chars must be at least 1"),
    (dict(article="x", chars=-2**80), ValueError, r"^chars must be from 1 to 2147483647$"),
    (dict(article="x", sentences=2**31), ValueError, r"^sentences must be from 1 to 2147483647$"),
    (dict(article="x", chars=2.5), TypeError, r"^chars must be an int or None, not float$"),
    (dict(article="x", sentences=0), ValueError, r"sentences must be at least 1"),
    (dict(article="x", sentences="3"), TypeError, r"^sentences must be an int or None, not str$"),
    (dict(article="x", ratio=0), ValueError, r"ratio must be above 0 and at most 100"),
    (dict(article="x", ratio=100.5), ValueError, r"ratio must be above 0 and at most 100"),
    (dict(article="x", ratio=math.nan), ValueError, r"ratio must be above 0 and at most 100"),
    (dict(article="x", ratio="5"), TypeError, r"^ratio must be a number or None, not str$"),
    (dict(article="x", chars=300, ratio=5), ValueError, r"exclude each other"),
    (dict(article="x", length=1, sentences=3), ValueError, r"exclude each other"),
    (dict(article="x", progress=3), TypeError, r"^progress must be callable or None, not int$"),
    (dict(article="x", cancelled="no"), TypeError,
     r"^cancelled must be callable or None, not str$"),
]


@pytest.mark.parametrize("arguments,error,pattern", ERRORS)
def test_wrong_arguments(arguments, error, pattern):
    with pytest.raises(error, match=pattern):
        abrivo.summarise(**arguments)


@pytest.mark.parametrize("arguments,field,offset", [
    (dict(article=b"The tree\xff is green."), "article", 8),
    (dict(article="ok", title=b"\xe4\xb8"), "title", 0),
    (dict(article="一二\ud800三"), "article", 6),  # a lone surrogate in a str
])
def test_invalid_text(arguments, field, offset):
    with pytest.raises(abrivo.InvalidText) as caught:
        abrivo.summarise(**arguments)
    assert isinstance(caught.value, ValueError)
    assert (caught.value.field, caught.value.offset) == (field, offset)
    assert str(caught.value) == f"{field} is not valid UTF-8 at byte {offset}"


def long_article():
    """About 300 KB of Chinese: long enough for several progress texts."""
    return load_samples()[1]["content"] * 40


def test_progress_receives_the_status_texts_and_a_raise_stops_the_run():
    texts = []
    s = abrivo.summarise(long_article(), progress=texts.append)
    assert texts and all(isinstance(t, str) and t for t in texts)
    assert s.summary  # a completed run

    class Stop(Exception):
        pass

    def stop(text):
        raise Stop(text)

    with pytest.raises(Stop):
        abrivo.summarise(long_article(), progress=stop)


def test_cancelled_ends_the_run_with_cancelled():
    asked = []

    def cancelled():
        asked.append(1)
        return len(asked) >= 3

    with pytest.raises(abrivo.Cancelled):
        abrivo.summarise(long_article(), cancelled=cancelled)
    assert len(asked) == 3
    # A check that never says yes leaves the result alone.
    article = load_samples()[0]["content"]
    assert abrivo.summarise(article, cancelled=lambda: False).to_dict() == \
        abrivo.summarise(article).to_dict()


def test_threads_get_the_results_of_one_thread(cases):
    work = [(c["content"], c["title"], c["length"]) for c in cases] * 2
    expected = [abrivo.summarise(*w).to_dict() for w in work]
    with concurrent.futures.ThreadPoolExecutor(max_workers=4) as pool:
        actual = list(pool.map(lambda w: abrivo.summarise(*w).to_dict(), work))
    assert actual == expected


def test_the_gil_is_released_while_the_engine_runs():
    # With a switch interval far longer than the run, the waiting main
    # thread gets the GIL before the run ends only if summarise lets it go.
    article = long_article()
    entered = threading.Event()
    finished = []

    def run():
        entered.set()
        abrivo.summarise(article)
        finished.append(True)

    old = sys.getswitchinterval()
    sys.setswitchinterval(60)
    try:
        worker = threading.Thread(target=run)
        worker.start()
        entered.wait()
        ran_during_the_run = not finished
        worker.join()
    finally:
        sys.setswitchinterval(old)
    assert ran_during_the_run


def test_stubs_name_what_the_module_exports():
    import ast
    import pathlib
    stub = pathlib.Path(abrivo.__file__).with_name("__init__.pyi")
    tree = ast.parse(stub.read_text(encoding="utf-8"))
    names = {n.name for n in tree.body if isinstance(n, (ast.ClassDef, ast.FunctionDef))}
    assert names == set(abrivo.__all__)
    assert pathlib.Path(abrivo.__file__).with_name("py.typed").exists()
    for name in abrivo.__all__:
        assert getattr(abrivo, name).__doc__, name


def test_a_summary_survives_pickling():
    # Dask and multiprocessing send results between processes by pickling.
    import pickle
    for text in (load_samples()[1]["content"], load_samples()[2]["content"], "12345"):
        s = abrivo.summarise(text)
        copy = pickle.loads(pickle.dumps(s))
        assert copy.to_dict() == s.to_dict()
        assert (copy.terms, copy.sentences, copy.article_size) == \
            (s.terms, s.sentences, s.article_size)
