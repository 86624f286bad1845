"""abrivo.summarise_many: abrivo-cli --jsonl's results and refusals, input
order, the bounded window, errors of the input, and abandoning it."""

import itertools
import json

import pytest

import abrivo
from conftest import load_samples, run_jsonl


def corpus(cases):
    """Records of every size: the long sample first, so that later records
    finish before earlier ones on other threads."""
    samples = load_samples()
    records = [dict(samples[1], content=samples[1]["content"] * 20, id="long")]
    for n, case in enumerate(cases):
        records.append({"id": n, "title": case["title"], "content": case["content"],
                        "length": case["length"]})
    records += samples
    return records


# Records that are refused, each with an id so that results can be matched.
REFUSED = [
    {"id": "no-content", "title": "x"},
    {"id": "content-number", "content": 5},
    {"id": "content-null", "content": None},
    {"id": "title-number", "content": "The tree is green.", "title": 3},
    {"id": "length-4", "content": "The tree is green.", "length": 4},
    {"id": "length-float", "content": "The tree is green.", "length": 1.0},
    {"id": "length-bool", "content": "The tree is green.", "length": True},
    {"id": "length-string", "content": "The tree is green.", "length": "1"},
    {"id": "length-huge", "content": "The tree is green.", "length": 2**70},
    {"id": ["nested", {"id": 1}], "content": 7},
    {"id": "chars-0", "content": "x", "chars": 0},
    {"id": "sentences-float", "content": "x", "sentences": 2.0},
    {"id": "ratio-string", "content": "x", "ratio": "5"},
    {"id": "two-modes", "content": "x", "chars": 300, "ratio": 5},
]

# Records with a length mode of their own.
MODES = [
    {"id": "chars-250", "content": load_samples()[0]["content"], "chars": 250},
    {"id": "sentences-2", "content": load_samples()[2]["content"], "sentences": 2},
    {"id": "ratio-7.5", "content": load_samples()[1]["content"], "ratio": 7.5},
    {"id": "length--1", "content": load_samples()[1]["content"], "length": -1},
]


def test_results_are_abrivo_cli_jsonl_results_in_input_order(cases, cli):
    records = corpus(cases) + REFUSED + MODES
    expected = run_jsonl(cli, records)
    for jobs in (1, 2, 0):
        actual = list(abrivo.summarise_many(records, jobs=jobs))
        assert [r["id"] for r in actual] == [r.get("id") for r in records]
        assert actual == expected, jobs
        assert all(list(a) == list(e) for a, e in zip(actual, expected))


def test_refused_records_and_records_that_are_not_dicts():
    records = [5, "a line", None, ["content"]] + REFUSED
    results = list(abrivo.summarise_many(records, jobs=2))
    assert results[:4] == [{"id": None, "error": "the record is not a JSON object"}] * 4
    messages = {r["id"] if isinstance(r["id"], str) else "nested": r["error"]
                for r in results[4:]}
    assert messages == {
        "chars-0": '"chars" is not an integer from 1 to 2147483647',
        "sentences-float": '"sentences" is not an integer from 1 to 2147483647',
        "ratio-string": '"ratio" is not a number above 0 and at most 100',
        "two-modes": '"length", "chars", "sentences" and "ratio" exclude each other',
        "no-content": '"content" is missing',
        "content-number": '"content" is not a string',
        "content-null": '"content" is not a string',
        "title-number": '"title" is not a string',
        "length-4": '"length" is not an integer from -1 to 3',
        "length-float": '"length" is not an integer from -1 to 3',
        "length-bool": '"length" is not an integer from -1 to 3',
        "length-string": '"length" is not an integer from -1 to 3',
        "length-huge": '"length" is not an integer from -1 to 3',
        "nested": '"content" is not a string',
    }
    # Each record's result matches summarise on the same arguments; a lone
    # surrogate is refused as the run's InvalidText.
    mixed = [{"id": 1, "content": "一二\ud800三"}, {"id": 2, "content": "The tree is green."}]
    first, second = abrivo.summarise_many(mixed)
    assert first == {"id": 1, "error": "article is not valid UTF-8 at byte 6"}
    assert second == {"id": 2, **abrivo.summarise("The tree is green.").to_dict()}


def test_length_modes_in_records(cases):
    case = cases[0]
    modes = [{"chars": 250}, {"sentences": 2}, {"ratio": 12.5}, {"ratio": 40}, {"length": -1}]
    records = [dict(mode, id=n, content=case["content"]) for n, mode in enumerate(modes)]
    for mode, result in zip(modes, abrivo.summarise_many(records)):
        expected = abrivo.summarise(case["content"], **mode).to_dict()
        assert result == {"id": result["id"], **expected}, mode
    refused = [{"chars": 0}, {"chars": 2**31}, {"sentences": 1.5}, {"sentences": True},
               {"ratio": 0}, {"ratio": 101}, {"ratio": "5"}, {"ratio": 10**400},
               {"chars": 300, "sentences": 2}, {"length": 9, "ratio": 5}]
    results = abrivo.summarise_many([dict(m, content="x") for m in refused])
    exclusive = '"length", "chars", "sentences" and "ratio" exclude each other'
    assert [r["error"] for r in results] == [
        '"chars" is not an integer from 1 to 2147483647',
        '"chars" is not an integer from 1 to 2147483647',
        '"sentences" is not an integer from 1 to 2147483647',
        '"sentences" is not an integer from 1 to 2147483647',
        '"ratio" is not a number above 0 and at most 100',
        '"ratio" is not a number above 0 and at most 100',
        '"ratio" is not a number above 0 and at most 100',
        '"ratio" is not a number above 0 and at most 100',
        exclusive,
        exclusive,
    ]


def test_only_a_window_of_records_is_read_ahead():
    read = []

    def endless():
        for n in itertools.count():
            read.append(n)
            yield {"id": n, "content": "The tree is green. The tree is tall. The tree is old."}

    results = abrivo.summarise_many(endless(), jobs=2)
    first = list(itertools.islice(results, 20))
    assert [r["id"] for r in first] == list(range(20))
    assert len(read) <= 20 + 4 * 2


def test_an_error_of_the_input_comes_after_the_results_before_it():
    def failing():
        yield {"id": 1, "content": "The tree is green."}
        yield {"id": 2, "content": "The tree is tall."}
        raise OSError("disk gone")

    results = abrivo.summarise_many(failing(), jobs=2)
    assert [next(results)["id"], next(results)["id"]] == [1, 2]
    with pytest.raises(OSError, match="disk gone"):
        next(results)
    with pytest.raises(StopIteration):
        next(results)


def test_abandoning_the_iterator_stops_its_workers():
    article = load_samples()[1]["content"] * 50
    results = abrivo.summarise_many(({"id": n, "content": article} for n in range(100)), jobs=2)
    assert next(results)["id"] == 0
    del results  # cancels the runs in flight and joins the threads


@pytest.mark.parametrize("arguments,error,pattern", [
    (dict(records=5), TypeError, r"^records must be an iterable of dicts, not int$"),
    (dict(records=[], jobs=-1), ValueError, r"^jobs must be from 0 \(one per core\) to 2147483647$"),
    (dict(records=[], jobs=2**40), ValueError, r"^jobs must be from 0"),
    (dict(records=[], jobs="2"), TypeError, r"^jobs must be an int, not str$"),
])
def test_wrong_arguments(arguments, error, pattern):
    with pytest.raises(error, match=pattern):
        abrivo.summarise_many(**arguments)


def test_results_are_plain_json():
    record = dict(load_samples()[2], id={"source": "wire", "n": [1, 2]})
    (result,) = abrivo.summarise_many([record])
    assert json.loads(json.dumps(result, ensure_ascii=False)) == result
    assert result["id"] == {"source": "wire", "n": [1, 2]}
