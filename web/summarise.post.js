// Module.summarise(title, article, length, progress): abrivo_web_summarise's
// result as an object. The texts go through the heap, not the stack that
// ccall would use: an article may be far larger than the stack.
Module["summarise"] = function (title, article, length, progress) {
  // A lone surrogate has no UTF-8 form; the engine is never handed a
  // replacement in its place.
  const wellFormed = (text) =>
    text.isWellFormed ? text.isWellFormed() : !/\p{Surrogate}/u.test(text);
  if (!wellFormed(title) || !wellFormed(article))
    return { error: "invalid-text", message: "文本含有无效的UTF-16代理字符" };
  const toHeap = (text) => {
    const size = lengthBytesUTF8(text) + 1;
    const ptr = _malloc(size);
    stringToUTF8(text, ptr, size);
    return ptr;
  };
  const titlePtr = toHeap(title);
  const articlePtr = toHeap(article);
  try {
    return JSON.parse(UTF8ToString(_abrivo_web_summarise(titlePtr, articlePtr, length,
                                                         progress ? 1 : 0)));
  } finally {
    _free(titlePtr);
    _free(articlePtr);
  }
};
