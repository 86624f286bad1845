from typing import Any, Callable, Iterable, Iterator, Literal, Optional, Union

__version__: str
__all__: list[str]

class InvalidText(ValueError):
    """Text that is not valid UTF-8."""

    field: str  # "title" or "article"
    offset: int  # byte offset of the first bad byte in its UTF-8 encoding

class Cancelled(RuntimeError):
    """The run was cancelled: the cancelled callback returned true."""

class Term:
    """A row of the term table."""

    @property
    def term(self) -> str: ...
    @property
    def weight(self) -> int: ...

class Sentence:
    """A row of the sentence table."""

    @property
    def text(self) -> str: ...
    @property
    def rank(self) -> int: ...
    @property
    def position(self) -> int: ...
    @property
    def selected(self) -> bool: ...

class Summary:
    """The result of summarise."""

    @property
    def language(self) -> Optional[Literal["zh", "en"]]: ...
    @property
    def summary(self) -> str: ...
    @property
    def keywords(self) -> list[str]: ...
    @property
    def keyword_line(self) -> str: ...
    @property
    def status(self) -> str: ...
    @property
    def article_size(self) -> int: ...
    @property
    def summary_size(self) -> int: ...
    @property
    def terms(self) -> list[Term]: ...
    @property
    def sentences(self) -> list[Sentence]: ...
    def to_dict(self) -> dict[str, Any]:
        """The JSON object of abrivo-cli -f json, as a dict."""
    def __getstate__(self) -> dict[str, Any]: ...
    def __setstate__(self, state: dict[str, Any]) -> None: ...

class SummariseMany(Iterator[dict[str, Any]]):
    """The iterator of summarise_many."""

    def __iter__(self) -> "SummariseMany": ...
    def __next__(self) -> dict[str, Any]: ...

def summarise(
    article: Union[str, bytes],
    title: Union[str, bytes] = "",
    length: int = 0,
    progress: Optional[Callable[[str], object]] = None,
    *,
    chars: Optional[int] = None,
    sentences: Optional[int] = None,
    ratio: Optional[float] = None,
    cancelled: Optional[Callable[[], bool]] = None,
) -> Summary:
    """Summarises one article and returns a Summary."""

def summarise_many(records: Iterable[dict[str, Any]], jobs: int = 0) -> SummariseMany:
    """Summarises records on worker threads; yields the results in input order."""

def version() -> str:
    """The library's version."""
