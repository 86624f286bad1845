"""Extractive summaries of Chinese and English news texts.

Give summarise a headline and an article; it picks the article's best
sentences and returns them in article order within the length you choose,
with the keywords, the term and sentence tables and the status line:

    >>> import abrivo
    >>> s = abrivo.summarise(article, title="Headline", length=1)
    >>> print(s.summary, s.status, s.keywords)
    >>> s.to_dict()        # the JSON object of abrivo-cli -f json

summarise_many runs a stream of records shaped like the lines of
abrivo-cli --jsonl on worker threads and yields the results in input order:

    >>> for result in abrivo.summarise_many(records, jobs=0):
    ...     print(result["id"], result.get("summary", result.get("error")))

The engine runs without the GIL, so Python threads summarise in parallel
too. Text that is not valid UTF-8 raises InvalidText, a ValueError.
"""

from ._abrivo import (
    Cancelled,
    InvalidText,
    Sentence,
    Summary,
    SummariseMany,
    Term,
    summarise,
    summarise_many,
    version,
)

__version__ = version()

__all__ = [
    "Cancelled",
    "InvalidText",
    "Sentence",
    "Summary",
    "SummariseMany",
    "Term",
    "summarise",
    "summarise_many",
    "version",
]
