#include "Samples.h"

#define ABRIVO_SAMPLE(name)        \
  extern const char name[];        \
  extern const unsigned name##_size;
ABRIVO_SAMPLE(sample1_title)
ABRIVO_SAMPLE(sample1_article)
ABRIVO_SAMPLE(sample2_title)
ABRIVO_SAMPLE(sample2_article)
ABRIVO_SAMPLE(sample3_title)
ABRIVO_SAMPLE(sample3_article)
#undef ABRIVO_SAMPLE

namespace abrivo::samples {

SamplePair sample(int n) {
  switch (n) {
    case 2:
      return {{sample2_title, sample2_title_size}, {sample2_article, sample2_article_size}};
    case 3:
      return {{sample3_title, sample3_title_size}, {sample3_article, sample3_article_size}};
    default:
      return {{sample1_title, sample1_title_size}, {sample1_article, sample1_article_size}};
  }
}

}  // namespace abrivo::samples
