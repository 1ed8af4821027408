// The settings block: a marker line with the block's version, then one "key=value" line per
// setting, in cp1252 like the rest of the file. Older readers stop at the final block and never
// see it; this reader keeps what it does not know so that a save does not lose it.
#include "documents/BoardSettings.h"

#include "documents/Cp1252.h"

#include <algorithm>
#include <cstdint>
#include <optional>

namespace {

constexpr char kMarker[] = "#OrivoxSettings";
constexpr int kVersion = 1;

// An integer setting: its range, its step, and whether 0 stands outside the range for "off".
struct IntKey {
  const char* key;
  int BoardSettings::*field;
  int min;
  int max;
  int step;
  bool zeroMeansOff;
};

constexpr IntKey kIntKeys[] = {
    {"tabPaceMs", &BoardSettings::tabPaceMs, 300, 100000, 100, true},
    {"textPaceMs", &BoardSettings::textPaceMs, 300, 100000, 100, true},
    {"firstItemExtraMs", &BoardSettings::firstItemExtraMs, 0, 10000, 100, false},
    {"acceptanceMs", &BoardSettings::acceptanceMs, 0, 2000, 100, false},
    {"pauseAfterSelectionMs", &BoardSettings::pauseAfterSelectionMs, 0, 2000, 100, false},
    {"loopsBeforeBack", &BoardSettings::loopsBeforeBack, 0, 20, 1, false},
    {"gridColumns", &BoardSettings::gridColumns, 1, 20, 1, true},
    {"rate", &BoardSettings::rate, -100, 100, 1, false},
    {"volume", &BoardSettings::volume, -100, 100, 1, false},
};

struct BoolKey {
  const char* key;
  bool BoardSettings::*field;
};

constexpr BoolKey kBoolKeys[] = {
    {"gridFitFont", &BoardSettings::gridFitFont},   {"rowColumn", &BoardSettings::rowColumn},
    {"speakPhrase", &BoardSettings::speakPhrase},   {"speakTexts", &BoardSettings::speakTexts},
    {"speakPrompts", &BoardSettings::speakPrompts},
};

constexpr char kHighlightKey[] = "highlight";
constexpr char kVoiceKey[] = "voice";
constexpr char kPredictionKey[] = "prediction";
constexpr char kPredictionWordsKey[] = "predictionWords";
constexpr int kMaxPredictionWords = 8;

int clampInt(const IntKey& k, int v) {
  if (k.zeroMeansOff && v <= 0)
    return 0;
  v = std::clamp(v, k.min, k.max);
  // Nearest step, never past the limits (which are themselves on a step).
  const int rounded =
      int((std::int64_t(v) + (v >= 0 ? k.step / 2 : -(k.step / 2))) / k.step * k.step);
  return std::clamp(rounded, k.min, k.max);
}

// Plain decimal only: a value a carer or a later version wrote in any other form is not read.
std::optional<int> decimal(const QByteArray& value) {
  bool ok = false;
  const qlonglong v = value.trimmed().toLongLong(&ok, 10);
  if (!ok)
    return std::nullopt;
  return int(std::clamp<qlonglong>(v, -2147483647LL, 2147483647LL));
}

std::optional<bool> flag(const QByteArray& value) {
  if (value == "1")
    return true;
  if (value == "0")
    return false;
  return std::nullopt;
}

// Stored text: a byte that would end the line or the file is stored as a space.
QByteArray storable(const QString& s) {
  QByteArray b = cp1252::fromUnicode(s);
  for (char& c : b)
    if (c == '\r' || c == '\n' || c == 26)
      c = ' ';
  return b;
}

} // namespace

bool BoardSettings::operator==(const BoardSettings& o) const {
  for (const IntKey& k : kIntKeys)
    if (this->*k.field != o.*k.field)
      return false;
  for (const BoolKey& k : kBoolKeys)
    if (this->*k.field != o.*k.field)
      return false;
  return highlight == o.highlight && voice == o.voice && prediction == o.prediction &&
         predictionWords == o.predictionWords && unknownLines == o.unknownLines;
}

namespace boardsettings {

int wholeSeconds(int paceMs) {
  return std::clamp((paceMs + 500) / 1000, 1, 100);
}

BoardSettings clamped(BoardSettings s) {
  for (const IntKey& k : kIntKeys)
    s.*k.field = clampInt(k, s.*k.field);
  s.predictionWords = std::clamp(s.predictionWords, 1, kMaxPredictionWords);
  return s;
}

BoardSettings parse(const QList<QByteArray>& lines) {
  BoardSettings s;
  if (lines.isEmpty())
    return s;
  // The marker, a space and the version; a later version is read for the keys it shares.
  const QByteArray& marker = lines.first();
  const QByteArray prefix = QByteArray(kMarker) + ' ';
  if (!marker.startsWith(prefix) || decimal(marker.mid(prefix.size())).value_or(0) < 1)
    return s;
  for (qsizetype i = 1; i < lines.size(); ++i) {
    const QByteArray& line = lines[i];
    const qsizetype eq = line.indexOf('=');
    if (eq <= 0)
      continue; // not a setting at all: nothing to keep
    const QByteArray key = line.left(eq);
    const QByteArray value = line.mid(eq + 1);
    bool known = false;
    for (const IntKey& k : kIntKeys)
      if (key == k.key) {
        known = true;
        if (const auto v = decimal(value))
          s.*k.field = clampInt(k, *v);
      }
    for (const BoolKey& k : kBoolKeys)
      if (key == k.key) {
        known = true;
        if (const auto v = flag(value))
          s.*k.field = *v;
      }
    if (key == kHighlightKey) {
      known = true;
      if (value == "frame")
        s.highlight = HighlightStyle::Frame;
      else if (value == "textColour")
        s.highlight = HighlightStyle::TextColour;
    } else if (key == kVoiceKey) {
      known = true;
      s.voice = cp1252::toUnicode(value);
    } else if (key == kPredictionKey) {
      known = true;
      if (const auto v = flag(value))
        s.prediction = *v;
    } else if (key == kPredictionWordsKey) {
      known = true;
      if (const auto v = decimal(value))
        s.predictionWords = std::clamp(*v, 1, kMaxPredictionWords);
    }
    if (!known)
      s.unknownLines.append(line);
  }
  return s;
}

QByteArray write(const BoardSettings& settings) {
  if (settings.isDefault())
    return {};
  const BoardSettings s = clamped(settings);
  QByteArray out = QByteArray(kMarker) + ' ' + QByteArray::number(kVersion) + "\r\n";
  auto line = [&out](const char* key, const QByteArray& value) {
    out += QByteArray(key) + '=' + value + "\r\n";
  };
  // Every known key is written, defaults included, so that the block says in full what the
  // board uses even if a later version changes a default.
  for (const IntKey& k : kIntKeys)
    line(k.key, QByteArray::number(s.*k.field));
  for (const BoolKey& k : kBoolKeys)
    line(k.key, s.*k.field ? "1" : "0");
  line(kHighlightKey, s.highlight == HighlightStyle::Frame ? "frame" : "textColour");
  line(kVoiceKey, storable(s.voice));
  // Unlike the keys above, written only when used: blocks saved before prediction existed
  // stay the same bytes.
  if (s.prediction)
    line(kPredictionKey, "1");
  if (s.predictionWords != BoardSettings().predictionWords)
    line(kPredictionWordsKey, QByteArray::number(s.predictionWords));
  for (const QByteArray& unknown : s.unknownLines) {
    QByteArray kept = unknown;
    for (char& c : kept)
      if (c == '\r' || c == '\n' || c == 26)
        c = ' ';
    out += kept + "\r\n";
  }
  return out;
}

} // namespace boardsettings
