// Tested by bench/text_generator_test.cpp.
#include "TextGenerator.h"

#include <algorithm>
#include <string_view>
#include <unordered_set>

#include "abrivo/internal/api/Boundary.h"

namespace abrivo::bench {

namespace {

// Common characters of news text, 的 left out: it is placed on its own.
constexpr std::string_view kChineseCharacters =
    "一是不了人在有我他这中大来上国个到说们为子和你地出道也时年得就那要下以生会自着去之过家学对可"
    "她里后小么心多天而能好都然没日于起还发成事只作当想看文无开手十用主行方又如前所本见经头面公同"
    "三已老从动两长知民样现分将外但身些与高意进把法此实回二理美点月明其种声全工己话儿者向情部正名"
    "定女问力机给等几很业最间新什打便位因重被走电四第门相次东政海口使教西再平真听世气信北少关并内"
    "加化由却代军产入先山五太水万市眼体别处总才场师书比住员九笑性通目华报立马命张活难神数件安表原"
    "车白应路期叫死常提感金何更反合放做系计或司利受光王果亲界及今京务制解各任至清物台象记边共风战"
    "干接它许八特觉望直服毛林题建南度统色字请交爱让认算论百吃义科怎元社术结六功指思非流每青管夫连"
    "远资队跟带花快条院变联言权往展该领传近留红治决周保达办运武半候七必城父强步完革深区即求品士转"
    "量空众技轻程告江语英基派满式李息写识极令黄德收脸钱党倒未持取设始版双历越史商千片容研像找友孩"
    "站广改议形委早房音火际则首单据导影失拿网香似斯专石若兵弟谁校读志飞观争究包组造落视济喜离虽坐"
    "集编宝谈府拉黑且随格尽讲布杀微怕母调局根曾准团段终乐切级克精哪官示冷态港湾企销售价格投融储能"
    "源材料铁钢厂链供需订单税费贸易航运码头园区镇村县省州湖河桥隧道农粮食种植养殖渔医疗药卫健康"
    "考试课程班招聘薪酬就职退休房租楼盘贷款存储银股债基险汇率涨跌季度增幅降低提升扩大缩减稳定";

// Frequent short words, ranked first.
constexpr std::string_view kChineseFunctionWords[] = {
    "是",   "在",   "了",   "和",   "有",   "也",   "就",   "都",   "而",   "与",   "对",   "将",
    "从",   "被",   "为",   "到",   "上",   "中",   "这",   "不",   "一",   "我们", "他们", "已经",
    "以及", "没有", "可以", "进行", "表示", "目前", "今年", "市场", "企业", "发展"};

constexpr std::string_view kEnglishFunctionWords[] = {
    "the",  "of",  "and",  "to",    "a",     "in",    "is",    "that",  "for",   "on",    "was",
    "with", "as",  "by",   "at",    "it",    "from",  "he",    "said",  "his",   "be",    "has",
    "are",  "an",  "have", "not",   "but",   "they",  "which", "this",  "were",  "their", "who",
    "will", "its", "been", "would", "also",  "after", "had",   "more",  "one",   "two",   "new",
    "she",  "her", "or",   "than",  "about", "up",    "all",   "when",  "there", "can",   "so",
    "if",   "out", "into", "over",  "we",    "our",   "last",  "first", "year",  "years", "people"};

// Pieces of invented English words.
constexpr std::string_view kOnsets[] = {"b", "c", "d", "f", "g",  "h",  "l",  "m",  "n",  "p",
                                        "r", "s", "t", "v", "w",  "br", "st", "tr", "pl", "ch",
                                        "",  "",  "",  "",  "sh", "th", "gr", "d",  "m",  "l"};
constexpr std::string_view kVowels[] = {"a", "e", "i", "o", "u", "ea", "ou", "e", "a", "i", "o"};
constexpr std::string_view kCodas[] = {"",  "",  "",  "",  "",   "n",  "r",
                                       "s", "t", "l", "m", "nd", "st", "ng"};
constexpr std::string_view kSuffixes[] = {"ing", "ed", "s", "ly", "tion", "ment", "ness", "er"};

constexpr int kChineseVocabulary = 6000;
constexpr int kEnglishVocabulary = 8000;

std::string gbkOf(std::string_view utf8) {
  return boundary::toEngineText(utf8, "vocabulary");
}

}  // namespace

TextGenerator::TextGenerator(Language language, std::uint64_t seed)
    : m_language(language), m_state(seed) {
  if (language == Language::Chinese)
    buildChineseVocabulary();
  else
    buildEnglishVocabulary();
  // Zipf-Mandelbrot weights 1 / (rank + 2.7): a flatter head than plain Zipf,
  // as function words share the top of real frequency lists. Integers keep
  // the draws the same on every machine.
  std::uint64_t sum = 0;
  for (std::size_t r = 1; r <= m_words.size(); ++r) {
    sum += (std::uint64_t{10} << 40) / (10 * r + 27);
    m_cumulative.push_back(sum);
  }
}

// splitmix64: small, fast and the same on every machine.
std::uint64_t TextGenerator::nextRandom() {
  std::uint64_t z = (m_state += 0x9E3779B97F4A7C15ULL);
  z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
  z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
  return z ^ (z >> 31);
}

std::uint64_t TextGenerator::pick(std::uint64_t n) {
  return static_cast<std::uint64_t>((static_cast<unsigned __int128>(nextRandom()) * n) >> 64);
}

const std::string& TextGenerator::word() {
  const std::uint64_t u = pick(m_cumulative.back());
  const auto at = std::upper_bound(m_cumulative.begin(), m_cumulative.end(), u);
  return m_words[static_cast<std::size_t>(at - m_cumulative.begin())];
}

void TextGenerator::buildChineseVocabulary() {
  std::vector<std::string> characters;
  std::unordered_set<std::string> seen;
  const std::string pool = gbkOf(kChineseCharacters);
  for (std::size_t i = 0; i + 1 < pool.size(); i += 2) {
    std::string c = pool.substr(i, 2);
    if (c != gbkOf("的") && seen.insert(c).second) characters.push_back(std::move(c));
  }
  for (std::string_view w : kChineseFunctionWords) m_words.push_back(gbkOf(w));

  std::unordered_set<std::string> vocabulary(m_words.begin(), m_words.end());
  while (m_words.size() < kChineseVocabulary) {
    // Two characters for most words, as in running Chinese text.
    const std::uint64_t p = pick(100);
    const int length = p < 8 ? 1 : p < 70 ? 2 : p < 90 ? 3 : 4;
    std::string w;
    for (int i = 0; i < length; ++i) w += characters[pick(characters.size())];
    if (vocabulary.insert(w).second) m_words.push_back(std::move(w));
  }
}

void TextGenerator::buildEnglishVocabulary() {
  for (std::string_view w : kEnglishFunctionWords) m_words.emplace_back(w);
  std::unordered_set<std::string> vocabulary(m_words.begin(), m_words.end());
  while (m_words.size() < kEnglishVocabulary) {
    std::string w;
    const std::uint64_t p = pick(100);
    const int syllables = p < 35 ? 1 : p < 80 ? 2 : p < 95 ? 3 : 4;
    for (int s = 0; s < syllables; ++s) {
      w += kOnsets[pick(std::size(kOnsets))];
      w += kVowels[pick(std::size(kVowels))];
      w += kCodas[pick(std::size(kCodas))];
    }
    if (chance(20)) w += kSuffixes[pick(std::size(kSuffixes))];
    if (w.size() >= 2 && vocabulary.insert(w).second) m_words.push_back(std::move(w));
  }
}

// Mostly small counts, now and then a year or an amount.
std::string TextGenerator::number() {
  return std::to_string(1 + pick(chance(30) ? 3000 : 100));
}

std::string TextGenerator::sentence() {
  return m_language == Language::Chinese ? chineseSentence() : englishSentence();
}

std::string TextGenerator::chineseSentence() {
  static const std::string kDe = gbkOf("的");
  static const std::string kComma = gbkOf("，");
  static const std::string kEnds[] = {gbkOf("。"), gbkOf("？"), gbkOf("！"), gbkOf("；")};
  const int words = 8 + static_cast<int>(pick(28));
  std::string s;
  for (int i = 0; i < words; ++i) {
    if (i > 0 && chance(7)) s += kDe;
    s += chance(2) ? number() : word();
    if (i >= 2 && i + 2 < words && chance(12)) s += kComma;
  }
  const std::uint64_t e = pick(100);
  s += kEnds[e < 88 ? 0 : e < 92 ? 1 : e < 96 ? 2 : 3];
  return s;
}

std::string TextGenerator::englishSentence() {
  const int words = 8 + static_cast<int>(pick(28));
  std::string s;
  for (int i = 0; i < words; ++i) {
    if (i > 0) s += ' ';
    s += chance(2) ? number() : word();
    if (i == 0 && s[0] >= 'a' && s[0] <= 'z') s[0] = static_cast<char>(s[0] - 'a' + 'A');
    if (i >= 2 && i + 2 < words && chance(10)) s += ',';
  }
  const std::uint64_t e = pick(100);
  s += e < 92 ? '.' : e < 96 ? '?' : '!';
  return s;
}

Article TextGenerator::article(std::size_t bytes) {
  const bool english = m_language == Language::English;
  Article a;
  const std::size_t headlineWords = 4 + pick(4);
  const std::size_t functionWords =
      english ? std::size(kEnglishFunctionWords) : std::size(kChineseFunctionWords);
  for (std::size_t i = 0; i < headlineWords; ++i) {
    std::string w = m_words[functionWords + pick(300)];
    if (english) {
      if (i > 0) a.title += ' ';
      w[0] = static_cast<char>(w[0] - 'a' + 'A');
    }
    a.title += w;
  }

  std::size_t left = 0;  // sentences left in the paragraph
  while (true) {
    if (left == 0) left = 2 + pick(6);
    std::string s = sentence();
    s += --left == 0 ? "\r\n" : english ? " " : "";
    if (a.content.size() + s.size() > bytes) break;
    a.content += s;
  }
  return a;
}

}  // namespace abrivo::bench
