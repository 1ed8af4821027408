// The French letter frequencies and the cheapest-cell order built on them.
#include "board/LetterFrequency.h"

#include <algorithm>
#include <numeric>

namespace letterfrequency {

namespace {
struct Entry {
  char16_t character;
  double percent;
};

// Letters: the frequencies of letters counted by the CLLE-ERSS laboratory (Toulouse, 2008) on
// the French-language Wikipedia, in percent of all letters. Punctuation is not in that count:
// its figures are our own rough estimates from ordinary prose (a comma or a full stop about as
// often as a "p", the other signs rarer), enough to place the signs among the letters.
constexpr Entry kTable[] = {
    {u'e', 12.10}, {u'a', 7.11}, {u'i', 6.59}, {u's', 6.51}, {u'n', 6.39}, {u'r', 6.07},
    {u't', 5.92},  {u'o', 5.02}, {u'l', 4.96}, {u'u', 4.49}, {u'd', 3.67}, {u'c', 3.18},
    {u'm', 2.62},  {u'p', 2.49}, {u'é', 1.94}, {u'g', 1.23}, {u'b', 1.14}, {u'v', 1.11},
    {u'h', 1.11},  {u'f', 1.11}, {u'q', 0.65}, {u'y', 0.46}, {u'x', 0.38}, {u'j', 0.34},
    {u'è', 0.31},  {u'à', 0.31}, {u'k', 0.29}, {u'w', 0.17}, {u'z', 0.15}, {u'ê', 0.08},
    {u'ç', 0.06},  {u'ô', 0.04}, {u'â', 0.03}, {u'î', 0.03}, {u'û', 0.02}, {u'ù', 0.02},
    {u'ï', 0.01},  {u'ë', 0.01}, {u'ü', 0.01}, {u'œ', 0.01}, {u',', 2.0},  {u'.', 1.8},
    {u'\'', 1.5},  {u'-', 0.4},  {u'?', 0.15}, {u'!', 0.1},  {u':', 0.1},  {u'"', 0.1},
    {u';', 0.05},  {u'(', 0.03}, {u')', 0.03},
};
// The space separates every word: more frequent than any letter.
constexpr double kSpace = 100.0;
} // namespace

double frenchFrequency(const QString& text) {
  if (text.size() != 1)
    return -1;
  const QChar c = text.front();
  if (c == QLatin1Char(' '))
    return kSpace;
  const char16_t lower = c.toLower().unicode();
  for (const Entry& e : kTable)
    if (e.character == lower)
      return e.percent;
  return -1;
}

std::vector<int> cellsByCost(int count, int columns) {
  if (count <= 0)
    return {};
  if (columns < 1)
    columns = count;
  std::vector<int> cells(static_cast<size_t>(count));
  std::iota(cells.begin(), cells.end(), 0);
  std::stable_sort(cells.begin(), cells.end(), [columns](int a, int b) {
    const int ra = a / columns, rb = b / columns;
    const int ca = cellCost(ra, a % columns), cb = cellCost(rb, b % columns);
    return ca != cb ? ca < cb : ra < rb;
  });
  return cells;
}

std::vector<int> frequencyOrder(const QStringList& texts, int columns) {
  const int n = int(texts.size());
  std::vector<int> known, unknown;
  std::vector<double> weight(static_cast<size_t>(n));
  for (int i = 0; i < n; ++i) {
    weight[size_t(i)] = frenchFrequency(texts.at(i));
    (weight[size_t(i)] >= 0 ? known : unknown).push_back(i);
  }
  // Stable: texts of equal frequency keep their order.
  std::stable_sort(known.begin(), known.end(),
                   [&weight](int a, int b) { return weight[size_t(a)] > weight[size_t(b)]; });
  std::vector<int> cells = cellsByCost(n, columns);
  std::vector<int> order(static_cast<size_t>(n));
  for (size_t i = 0; i < known.size(); ++i)
    order[size_t(cells[i])] = known[i];
  // Texts of no known frequency cost the same wherever they go: they take the cells left in
  // reading order, so that digits, say, still read in their order.
  std::vector<int> left(cells.begin() + qsizetype(known.size()), cells.end());
  std::sort(left.begin(), left.end());
  for (size_t i = 0; i < unknown.size(); ++i)
    order[size_t(left[i])] = unknown[i];
  return order;
}

bool mostlySingleCharacters(const QStringList& texts) {
  const auto single =
      std::count_if(texts.begin(), texts.end(), [](const QString& t) { return t.size() == 1; });
  return single >= 2 && 2 * single > texts.size();
}

} // namespace letterfrequency
