// The settings block: a marker line with the block's version, then one "key=value" line per
// setting, in cp1252 like the rest of the file. Older readers stop at the final block and never
// see it; this version writes back, byte for byte, every line it does not understand.
#include "documents/BoardSettings.h"

#include "documents/Cp1252.h"
#include "platform/SwitchKeys.h"

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
    {"moveKey", &BoardSettings::moveKey, 1, 254, 1, false},
    {"chooseKey", &BoardSettings::chooseKey, 1, 254, 1, false},
    {"moveRepeatDelayMs", &BoardSettings::moveRepeatDelayMs, 100, 5000, 100, false},
    {"moveRepeatPaceMs", &BoardSettings::moveRepeatPaceMs, 100, 5000, 100, false},
    {"dwellMs", &BoardSettings::dwellMs, 300, 10000, 100, false},
};

struct BoolKey {
  const char* key;
  bool BoardSettings::*field;
};

constexpr BoolKey kBoolKeys[] = {
    {"gridFitFont", &BoardSettings::gridFitFont},
    {"rowColumn", &BoardSettings::rowColumn},
    {"speakPhrase", &BoardSettings::speakPhrase},
    {"speakTexts", &BoardSettings::speakTexts},
    {"speakPrompts", &BoardSettings::speakPrompts},
    {"moveRepeat", &BoardSettings::moveRepeat},
    {"replacePassedOver", &BoardSettings::replacePassedOver},
};

constexpr char kHighlightKey[] = "highlight";
constexpr char kVoiceKey[] = "voice";
constexpr char kPredictionKey[] = "prediction";
constexpr char kPredictionWordsKey[] = "predictionWords";
constexpr char kPictureLabelKey[] = "pictureLabel";
constexpr char kPromptsWithScreenReaderKey[] = "promptsWithScreenReader";
constexpr char kAccessModeKey[] = "accessMode";

// The keys written only when not their default: blocks saved before these settings existed
// stay the same bytes.
bool writtenOnlyWhenUsed(const QByteArray& key) {
  static const char* const keys[] = {
      "prediction",        "predictionWords",  "replacePassedOver", "pictureLabel",
      "accessMode",        "moveKey",          "chooseKey",         "moveRepeat",
      "moveRepeatDelayMs", "moveRepeatPaceMs", "dwellMs",           "promptsWithScreenReader"};
  for (const char* k : keys)
    if (key == k)
      return true;
  return false;
}

constexpr std::pair<AccessMode, const char*> kAccessModes[] = {
    {AccessMode::Automatic, "automatic"},
    {AccessMode::TwoSwitchStep, "twoSwitchStep"},
    {AccessMode::Inverse, "inverse"},
    {AccessMode::StepDwell, "stepDwell"},
};

// A key no carer could have chosen (a modifier, a code without a key), or one key for both
// switches, would leave the person without a way to move or to choose: both go back to theirs.
void keepSwitchKeysUsable(BoardSettings& s) {
  const BoardSettings defaults;
  if (!switchkeys::canBeChosen(s.moveKey))
    s.moveKey = defaults.moveKey;
  if (!switchkeys::canBeChosen(s.chooseKey))
    s.chooseKey = defaults.chooseKey;
  if (s.moveKey == s.chooseKey) {
    s.moveKey = defaults.moveKey;
    s.chooseKey = defaults.chooseKey;
  }
}

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
         predictionWords == o.predictionWords && pictureLabel == o.pictureLabel &&
         promptsWithScreenReader == o.promptsWithScreenReader && accessMode == o.accessMode &&
         storedBlock == o.storedBlock;
}

namespace {
// Every known key with its value as written, in the order a new block lists them.
QList<std::pair<QByteArray, QByteArray>> knownLines(const BoardSettings& s) {
  QList<std::pair<QByteArray, QByteArray>> lines;
  auto add = [&lines](const char* key, const QByteArray& value) {
    lines.append(std::make_pair(QByteArray(key), value));
  };
  for (const IntKey& k : kIntKeys)
    add(k.key, QByteArray::number(s.*k.field));
  for (const BoolKey& k : kBoolKeys)
    add(k.key, s.*k.field ? "1" : "0");
  add(kHighlightKey, s.highlight == HighlightStyle::Frame ? "frame" : "textColour");
  add(kVoiceKey, storable(s.voice));
  add(kPredictionKey, s.prediction ? "1" : "0");
  add(kPredictionWordsKey, QByteArray::number(s.predictionWords));
  add(kPictureLabelKey, s.pictureLabel == PictureLabel::Below    ? "below"
                        : s.pictureLabel == PictureLabel::Hidden ? "hidden"
                                                                 : "above");
  add(kPromptsWithScreenReaderKey, s.promptsWithScreenReader ? "1" : "0");
  for (const auto& [mode, name] : kAccessModes)
    if (mode == s.accessMode)
      add(kAccessModeKey, name);
  return lines;
}

QByteArray keyOf(const QByteArray& line) {
  const qsizetype eq = line.indexOf('=');
  return eq > 0 ? line.left(eq) : QByteArray();
}

// A line kept as read may still hold what would end the line or the file (a block made by
// the program, not read from a file): those bytes become spaces.
QByteArray keptLine(QByteArray line) {
  for (char& c : line)
    if (c == '\r' || c == '\n' || c == 26)
      c = ' ';
  return line + "\r\n";
}
} // namespace

namespace boardsettings {

int wholeSeconds(int paceMs) {
  return std::clamp((paceMs + 500) / 1000, 1, 100);
}

BoardSettings clamped(BoardSettings s) {
  for (const IntKey& k : kIntKeys)
    s.*k.field = clampInt(k, s.*k.field);
  s.predictionWords = std::clamp(s.predictionWords, 1, kMaxPredictionWords);
  keepSwitchKeysUsable(s);
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
  s.storedBlock = lines;
  for (qsizetype i = 1; i < lines.size(); ++i) {
    const QByteArray& line = lines[i];
    const QByteArray key = keyOf(line);
    if (key.isEmpty())
      continue; // not a setting: kept in the stored block only
    const QByteArray value = line.mid(key.size() + 1);
    for (const IntKey& k : kIntKeys)
      if (key == k.key)
        if (const auto v = decimal(value))
          s.*k.field = clampInt(k, *v);
    for (const BoolKey& k : kBoolKeys)
      if (key == k.key)
        if (const auto v = flag(value))
          s.*k.field = *v;
    if (key == kHighlightKey) {
      if (value == "frame")
        s.highlight = HighlightStyle::Frame;
      else if (value == "textColour")
        s.highlight = HighlightStyle::TextColour;
    } else if (key == kVoiceKey) {
      s.voice = cp1252::toUnicode(value);
    } else if (key == kPredictionKey) {
      if (const auto v = flag(value))
        s.prediction = *v;
    } else if (key == kPredictionWordsKey) {
      if (const auto v = decimal(value))
        s.predictionWords = std::clamp(*v, 1, kMaxPredictionWords);
    } else if (key == kPromptsWithScreenReaderKey) {
      if (const auto v = flag(value))
        s.promptsWithScreenReader = *v;
    } else if (key == kPictureLabelKey) {
      if (value == "above")
        s.pictureLabel = PictureLabel::Above;
      else if (value == "below")
        s.pictureLabel = PictureLabel::Below;
      else if (value == "hidden")
        s.pictureLabel = PictureLabel::Hidden;
    } else if (key == kAccessModeKey) {
      for (const auto& [mode, name] : kAccessModes)
        if (value == name)
          s.accessMode = mode;
    }
  }
  keepSwitchKeysUsable(s);
  return s;
}

QByteArray write(const BoardSettings& settings) {
  if (settings.isDefault())
    return {};
  const BoardSettings s = clamped(settings);
  const auto now = knownLines(s);
  if (s.storedBlock.isEmpty()) {
    // Every known key is written, defaults included, so that the block says in full what the
    // board uses even if a later version changes a default.
    // Prediction's keys, the picture label and the access keys, unlike the others, are written
    // only when used.
    const auto defaults = knownLines(BoardSettings());
    QByteArray out = QByteArray(kMarker) + ' ' + QByteArray::number(kVersion) + "\r\n";
    for (qsizetype k = 0; k < now.size(); ++k) {
      if (!writtenOnlyWhenUsed(now[k].first) || now[k].second != defaults[k].second)
        out += now[k].first + '=' + now[k].second + "\r\n";
    }
    return out;
  }
  // The block read is written back as it was, but for the values changed since it was read:
  // their lines are rewritten where they stand, and a key it did not hold is added at its end.
  const auto asRead = knownLines(parse(s.storedBlock));
  QByteArray out = keptLine(s.storedBlock.first());
  QList<QByteArray> seen;
  for (qsizetype i = 1; i < s.storedBlock.size(); ++i) {
    const QByteArray& line = s.storedBlock[i];
    const QByteArray key = keyOf(line);
    qsizetype k = 0;
    while (k < now.size() && now[k].first != key)
      ++k;
    if (k == now.size() || now[k].second == asRead[k].second) {
      out += keptLine(line);
    } else {
      out += key + '=' + now[k].second + "\r\n";
    }
    if (k < now.size())
      seen << key;
  }
  for (qsizetype k = 0; k < now.size(); ++k)
    if (!seen.contains(now[k].first) && now[k].second != asRead[k].second)
      out += now[k].first + '=' + now[k].second + "\r\n";
  return out;
}

} // namespace boardsettings
