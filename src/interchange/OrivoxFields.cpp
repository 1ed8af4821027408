// The "ext_orivox_..." fields of exported boards.
#include "interchange/OrivoxFields.h"

#include "documents/BoardSettings.h"
#include "documents/Cp1252.h"

#include <QJsonArray>

namespace interchange::orivoxfields {

namespace {

QJsonObject fontFields(const BoardFont& f) {
  return QJsonObject{{"name", f.name}, {"size", f.size},     {"color", qint64(f.color)},
                     {"bold", f.bold}, {"italic", f.italic}, {"underline", f.underline}};
}

void readInt(const QJsonObject& o, const char* key, int& into) {
  const QJsonValue v = o.value(QLatin1String(key));
  // Whole numbers within 32 bits only: colours are stored as their signed 32-bit value.
  if (v.isDouble() && v.toDouble() == double(qint64(v.toDouble())) && v.toDouble() >= INT32_MIN &&
      v.toDouble() <= INT32_MAX)
    into = int(v.toDouble());
}

void readBool(const QJsonObject& o, const char* key, bool& into) {
  const QJsonValue v = o.value(QLatin1String(key));
  if (v.isBool())
    into = v.toBool();
}

void readFont(const QJsonObject& o, const char* key, BoardFont& f) {
  const QJsonValue v = o.value(QLatin1String(key));
  if (!v.isObject())
    return;
  const QJsonObject fo = v.toObject();
  if (fo.value("name").isString())
    f.name = fo.value("name").toString();
  readInt(fo, "size", f.size);
  readInt(fo, "color", f.color);
  readBool(fo, "bold", f.bold);
  readBool(fo, "italic", f.italic);
  readBool(fo, "underline", f.underline);
}

} // namespace

QJsonObject boardFields(const BoardData& b) {
  // The settings as the lines of their block, unknown lines included, so that what this
  // version does not know travels too.
  QJsonArray settings;
  for (const QByteArray& line : boardfile::splitLines(boardsettings::write(b.settings)))
    settings.append(cp1252::toUnicode(line));
  return QJsonObject{{"tab_pace_seconds", b.t1Seconds},
                     {"text_pace_seconds", b.t2Seconds},
                     {"selected_font", fontFields(b.selectedFont)},
                     {"unselected_font", fontFields(b.unselectedFont)},
                     {"tab_font", fontFields(b.tabFont)},
                     {"validated_font", fontFields(b.validatedFont)},
                     {"tab_color", qint64(b.tabColor)},
                     {"display_color", qint64(b.memoColor)},
                     {"final_lines", b.finalLinesRead},
                     {"phrase_font", fontFields(b.currentPhraseFont)},
                     {"final_display_color", qint64(b.finalMemoColor)},
                     {"settings", settings}};
}

void applyBoardFields(const QJsonObject& o, BoardData& b) {
  readInt(o, "tab_pace_seconds", b.t1Seconds);
  readInt(o, "text_pace_seconds", b.t2Seconds);
  readFont(o, "selected_font", b.selectedFont);
  readFont(o, "unselected_font", b.unselectedFont);
  readFont(o, "tab_font", b.tabFont);
  readFont(o, "validated_font", b.validatedFont);
  readInt(o, "tab_color", b.tabColor);
  readInt(o, "display_color", b.memoColor);
  int finalLines = b.finalLinesRead;
  readInt(o, "final_lines", finalLines);
  b.finalLinesRead = qBound(0, finalLines, boardfile::kFinalBlockLines);
  readFont(o, "phrase_font", b.currentPhraseFont);
  readInt(o, "final_display_color", b.finalMemoColor);
  const QJsonValue settings = o.value("settings");
  if (settings.isArray()) {
    QList<QByteArray> lines;
    // The block is a few dozen lines; a longer list is not ours and is cut like a file's.
    for (const QJsonValue& line : settings.toArray()) {
      if (lines.size() >= boardfile::kMaxSettingsLines)
        break;
      if (line.isString())
        lines << cp1252::fromUnicode(line.toString());
    }
    b.settings = boardsettings::parse(lines);
  }
}

QJsonObject tabFields(const BoardTab& tab) {
  QJsonObject o{{"caption", tab.caption}};
  if (tab.caption == QLatin1String("Divers"))
    o.insert("role", "divers");
  else if (tab.caption == QLatin1String("Alphabet"))
    o.insert("role", "alphabet");
  else if (tab.caption == QStringLiteral("Autres caractères"))
    o.insert("role", "autres-caracteres");
  return o;
}

} // namespace interchange::orivoxfields
