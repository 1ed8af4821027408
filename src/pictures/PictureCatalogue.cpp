// Loading the picture index and searching it by French words.
#include "pictures/PictureCatalogue.h"

#include "pictures/WordFolding.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSet>
#include <QStringDecoder>
#include <algorithm>
#include <tuple>

const QString PictureCatalogue::kIndexHeader = QStringLiteral("# orivox-pictures 1");

namespace {
constexpr int kColumns = 5; // hexcode, emoji, name, CLDR keywords, our own words
const QString kIndexName = QStringLiteral("index.tsv");

// A hexcode names a file: nothing but hex digits and dashes may reach the path.
bool isHexcode(const QString& text) {
  static const QRegularExpression pattern(QStringLiteral("^[0-9A-F]{2,6}(-[0-9A-F]{2,6}){0,15}$"));
  return pattern.match(text).hasMatch();
}

// The five skin-tone modifiers U+1F3FB..U+1F3FF.
bool hasSkinTone(const QString& hexcode) {
  static const QRegularExpression tone(QStringLiteral("(^|-)1F3F[B-F]($|-)"));
  return tone.match(hexcode).hasMatch();
}

QStringList splitPhrases(const QString& column) {
  QStringList out;
  for (const QString& part : column.split(QLatin1Char('|'), Qt::SkipEmptyParts)) {
    const QString phrase = part.trimmed();
    if (!phrase.isEmpty())
      out << phrase;
  }
  return out;
}

quint8 countContentWords(const QStringList& words) {
  int n = 0;
  for (const QString& w : words)
    n += !wordfolding::isStopWord(w);
  return quint8(std::clamp(n == 0 ? int(words.size()) : n, 1, 255));
}
} // namespace

PictureCatalogue::LoadResult::LoadResult(Status status, QString path, int pictures,
                                         int skippedLines)
    : FStatus(status), FPath(std::move(path)), FPictures(pictures), FSkipped(skippedLines) {}

QString PictureCatalogue::LoadResult::errorString() const {
  switch (FStatus) {
  case Status::Loaded:
    return {};
  case Status::Missing:
    return QStringLiteral("Les images intégrées ne sont pas installées : le fichier « %1 » est "
                          "introuvable.")
        .arg(FPath);
  case Status::Damaged:
    break;
  }
  return QStringLiteral("Les images intégrées sont inutilisables : le fichier « %1 » est "
                        "endommagé.")
      .arg(FPath);
}

QString PictureCatalogue::defaultFolder() {
  const QString dir = QCoreApplication::applicationDirPath();
  const QStringList candidates = {dir + QStringLiteral("/../share/orivox/pictures"),
                                  dir + QStringLiteral("/share/orivox/pictures")};
  for (const QString& candidate : candidates)
    if (QFileInfo::exists(candidate + QLatin1Char('/') + kIndexName))
      return QFileInfo(candidate).canonicalFilePath();
  return QFileInfo(candidates.first()).absoluteFilePath();
}

PictureCatalogue::LoadResult PictureCatalogue::load(const QString& folder) {
  FFolder = folder;
  FEntries.clear();
  FTokens.clear();
  FPostings.clear();
  FTokenIndex.clear();
  using Status = LoadResult::Status;
  const QString path = folder + QLatin1Char('/') + kIndexName;
  QFile file(path);
  if (!file.exists())
    return {Status::Missing, path, 0, 0};
  if (!file.open(QIODevice::ReadOnly) || file.size() > kMaxIndexBytes)
    return {Status::Damaged, path, 0, 0};
  const QByteArray bytes = file.read(kMaxIndexBytes + 1);
  if (bytes.size() > kMaxIndexBytes)
    return {Status::Damaged, path, 0, 0};
  QStringDecoder utf8(QStringDecoder::Utf8);
  const QString text = utf8.decode(bytes);
  if (utf8.hasError())
    return {Status::Damaged, path, 0, 0};

  const QStringList lines = text.split(QLatin1Char('\n'));
  if (lines.isEmpty() || lines.first().trimmed() != kIndexHeader)
    return {Status::Damaged, path, 0, 0};

  int skipped = 0;
  QSet<QString> seen;
  for (qsizetype i = 1; i < lines.size(); ++i) {
    QString line = lines.at(i);
    if (line.endsWith(QLatin1Char('\r')))
      line.chop(1);
    if (line.isEmpty())
      continue;
    const QStringList columns = line.split(QLatin1Char('\t'));
    if (columns.size() != kColumns || !isHexcode(columns.at(0)) || seen.contains(columns.at(0))) {
      ++skipped;
      continue;
    }
    seen.insert(columns.at(0));
    const int index = int(FEntries.size());
    const QStringList keywords = splitPhrases(columns.at(3));
    const QStringList own = splitPhrases(columns.at(4));
    Entry entry;
    entry.hexcode = columns.at(0);
    entry.emoji = columns.at(1);
    entry.name = columns.at(2).trimmed();
    if (entry.name.isEmpty() && !own.isEmpty())
      entry.name = own.first();
    entry.nameWords = int(wordfolding::words(entry.name).size());
    entry.variant = hasSkinTone(entry.hexcode);
    FEntries.push_back(entry);
    addPhrase(index, columns.at(2), SpokenName);
    for (const QString& phrase : keywords)
      addPhrase(index, phrase, Keyword);
    for (const QString& phrase : own)
      addPhrase(index, phrase, OwnWord);
  }
  buildTokenTable();
  return {Status::Loaded, path, size(), skipped};
}

void PictureCatalogue::addPhrase(int entry, const QString& phrase, Tier field) {
  const QStringList words = wordfolding::words(phrase);
  const quint8 length = countContentWords(words);
  for (const QString& w : words) {
    auto at = FTokenIndex.find(w);
    if (at == FTokenIndex.end()) {
      at = FTokenIndex.insert(w, int(FTokens.size()));
      FTokens.push_back(w);
      FPostings.emplace_back();
    }
    FPostings[std::size_t(*at)].push_back(Posting{entry, quint8(field), length});
  }
}

void PictureCatalogue::buildTokenTable() {
  // Sorted once all are in: whole words and word starts are then found by binary search.
  std::vector<std::size_t> order(FTokens.size());
  for (std::size_t i = 0; i < order.size(); ++i)
    order[i] = i;
  std::sort(order.begin(), order.end(),
            [this](std::size_t a, std::size_t b) { return FTokens[a] < FTokens[b]; });
  std::vector<QString> tokens;
  std::vector<std::vector<Posting>> postings;
  tokens.reserve(order.size());
  postings.reserve(order.size());
  for (const std::size_t i : order) {
    tokens.push_back(std::move(FTokens[i]));
    postings.push_back(std::move(FPostings[i]));
  }
  FTokens = std::move(tokens);
  FPostings = std::move(postings);
  FTokenIndex.clear();
}

void PictureCatalogue::rankWord(const QString& word, bool allowPrefix,
                                std::vector<Rank>& best) const {
  const auto better = [](Rank a, Rank b) {
    return a.tier != b.tier ? a.tier < b.tier : a.phraseLen < b.phraseLen;
  };
  const auto note = [&](std::size_t token, bool whole) {
    for (const Posting& p : FPostings[token]) {
      Rank r;
      r.tier = whole ? p.field : quint8(p.field == Keyword ? KeywordPrefix : OwnOrNamePrefix);
      r.phraseLen = p.phraseLen;
      if (better(r, best[std::size_t(p.entry)]))
        best[std::size_t(p.entry)] = r;
    }
  };
  const auto find = [&](const QString& w) {
    return std::size_t(std::lower_bound(FTokens.begin(), FTokens.end(), w) - FTokens.begin());
  };
  std::size_t at = find(word);
  if (at < FTokens.size() && FTokens[at] == word)
    note(at, true);
  // A plural finds its singular as a whole word: "pommes", "gâteaux".
  if (word.size() >= 4 && (word.endsWith(QLatin1Char('s')) || word.endsWith(QLatin1Char('x')))) {
    const QString singular = word.chopped(1);
    const std::size_t s = find(singular);
    if (s < FTokens.size() && FTokens[s] == singular)
      note(s, true);
  }
  if (!allowPrefix)
    return;
  for (; at < FTokens.size() && FTokens[at].startsWith(word); ++at)
    if (FTokens[at].size() > word.size())
      note(at, false);
}

std::vector<PictureCatalogue::Candidate> PictureCatalogue::rank(const QStringList& words,
                                                                bool allowPrefix, int max) const {
  std::vector<Candidate> out;
  if (words.isEmpty() || max <= 0 || FEntries.empty())
    return out;
  // Every word must match: an entry's rank is that of its worst-matched word.
  std::vector<Rank> worst(FEntries.size(), Rank{OwnWord, 0});
  std::vector<Rank> best(FEntries.size());
  for (const QString& word : words) {
    std::fill(best.begin(), best.end(), Rank{});
    rankWord(word, allowPrefix, best);
    for (std::size_t i = 0; i < worst.size(); ++i) {
      worst[i].tier = std::max(worst[i].tier, best[i].tier);
      worst[i].phraseLen = std::max(worst[i].phraseLen, best[i].phraseLen);
    }
  }
  for (std::size_t i = 0; i < worst.size(); ++i)
    if (worst[i].tier != NoMatch)
      out.push_back({int(i), worst[i]});
  // Best tier first; then the name or keyword closest to the query, base pictures before their
  // skin-tone variants, shorter names (the plain thing before its kinds), the set's own order.
  const auto before = [this](const Candidate& a, const Candidate& b) {
    const Entry& ea = FEntries[std::size_t(a.entry)];
    const Entry& eb = FEntries[std::size_t(b.entry)];
    return std::tie(a.rank.tier, a.rank.phraseLen, ea.variant, ea.nameWords, a.entry) <
           std::tie(b.rank.tier, b.rank.phraseLen, eb.variant, eb.nameWords, b.entry);
  };
  const std::size_t keep = std::min(out.size(), std::size_t(max));
  std::partial_sort(out.begin(), out.begin() + std::ptrdiff_t(keep), out.end(), before);
  out.resize(keep);
  return out;
}

PictureEntry PictureCatalogue::entryAt(int index) const {
  const Entry& e = FEntries[std::size_t(index)];
  return {e.hexcode, e.emoji, e.name, FFolder + QLatin1Char('/') + e.hexcode + ".svg"};
}

std::vector<PictureEntry> PictureCatalogue::search(const QString& query, int max) const {
  std::vector<PictureEntry> out;
  for (const Candidate& c : rank(wordfolding::contentWords(query), true, max))
    out.push_back(entryAt(c.entry));
  return out;
}

std::optional<PictureEntry> PictureCatalogue::bestMatch(const QString& text) const {
  const QStringList words = wordfolding::contentWords(text);
  if (words.isEmpty())
    return std::nullopt;
  // A text of nothing but stop words ("ça va") has a picture only when all of them name it.
  const bool onlyStopWords = std::all_of(
      words.begin(), words.end(), [](const QString& w) { return wordfolding::isStopWord(w); });
  if (onlyStopWords) {
    const auto together = rank(words, false, 1);
    return together.empty() ? std::nullopt : std::optional(entryAt(together.front().entry));
  }
  for (const bool allowPrefix : {false, true}) {
    // The text's words together ("mal au ventre") say more than any of them alone.
    if (words.size() > 1)
      if (const auto together = rank(words, allowPrefix, 1); !together.empty())
        return entryAt(together.front().entry);
    std::optional<Candidate> best;
    for (const QString& word : words) {
      // A short word start finds too much to mean anything.
      if (allowPrefix && word.size() < 3)
        continue;
      const auto found = rank({word}, allowPrefix, 1);
      if (!found.empty() &&
          (!best || std::tie(found.front().rank.tier, found.front().rank.phraseLen) <
                        std::tie(best->rank.tier, best->rank.phraseLen)))
        best = found.front();
    }
    if (best)
      return entryAt(best->entry);
  }
  return std::nullopt;
}
