// Storable texts, the messages that name what cannot be stored, and the name fields' validator.
#include "documents/StorableText.h"

#include "documents/BoardFile.h"
#include "documents/Cp1252.h"

namespace {
// Characters that show nothing of their own: named by their code. A lone half of a surrogate
// pair is one of them.
bool showsNothing(char32_t c) {
  return c < 0x20 || c == 0x7F || (c >= 0x80 && c < 0xA0) || (c >= 0xD800 && c < 0xE000);
}

char32_t codePointAt(const QString& text, qsizetype at) {
  const QChar c = text[at];
  if (c.isHighSurrogate() && at + 1 < text.size() && text[at + 1].isLowSurrogate())
    return QChar::surrogateToUcs4(c, text[at + 1]);
  return c.unicode();
}

// A tab's name as a message quotes it: a long one is cut, the carer only needs to find it.
QString quotedName(const QString& name) {
  constexpr qsizetype kShown = 40;
  return QStringLiteral("« ") +
         (name.size() > kShown ? name.left(kShown) + QStringLiteral("…") : name) +
         QStringLiteral(" »");
}
} // namespace

std::optional<qsizetype> firstUnstorableAt(const QString& text) {
  // Only the bytes that end a line or the file would cut it; other control characters that a
  // board made elsewhere may hold are written back as they were read.
  for (qsizetype i = 0; i < text.size(); ++i) {
    const QChar c = text[i];
    if (c == QLatin1Char('\r') || c == QLatin1Char('\n') || c.unicode() == 0x1A ||
        !cp1252::canEncode(c))
      return i;
  }
  return std::nullopt;
}

bool isStorableText(const QString& text) {
  return !firstUnstorableAt(text).has_value();
}

QString characterName(const QString& text, qsizetype at) {
  const char32_t c = codePointAt(text, at);
  if (showsNothing(c))
    return QStringLiteral("U+%1").arg(uint(c), 4, 16, QLatin1Char('0')).toUpper();
  return QString::fromUcs4(&c, 1);
}

QString unstorableCharacterMessage(const QString& text, qsizetype at) {
  return QStringLiteral("Le caractère « %1 » ne peut pas être enregistré dans un tableau.")
      .arg(characterName(text, at));
}

std::optional<QString> unstorableTextIn(const BoardData& board) {
  for (qsizetype t = 0; t < board.tabs.size(); ++t) {
    const BoardTab& tab = board.tabs[t];
    if (const auto at = firstUnstorableAt(tab.caption))
      return QStringLiteral("le nom de l'onglet %1 %2 contient « %3 », que le fichier ne peut pas "
                            "contenir")
          .arg(t + 1)
          .arg(quotedName(tab.caption), characterName(tab.caption, *at));
    for (qsizetype i = 0; i < tab.texts.size(); ++i)
      if (const auto at = firstUnstorableAt(tab.texts[i]))
        return QStringLiteral("le texte %1 de l'onglet %2 contient « %3 », que le fichier ne "
                              "peut pas contenir")
            .arg(i + 1)
            .arg(quotedName(tab.caption), characterName(tab.texts[i], *at));
  }
  return std::nullopt;
}

std::optional<QString> StorableTextValidator::refusalOf(const QString& input) {
  // Typing adds no control character at all: nothing a carer means to show.
  for (qsizetype i = 0; i < input.size(); ++i)
    if (input[i].unicode() < 0x20 || input[i].unicode() == 0x7F)
      return QStringLiteral("Le caractère de commande %1 ne peut pas être tapé dans un nom.")
          .arg(characterName(input, i));
  if (const auto at = firstUnstorableAt(input))
    return unstorableCharacterMessage(input, *at);
  return std::nullopt;
}

QValidator::State StorableTextValidator::validate(QString& input, int&) const {
  FRefusal = refusalOf(input);
  return FRefusal ? Invalid : Acceptable;
}

std::optional<QString> StorableTextValidator::takeRefusal() const {
  return std::exchange(FRefusal, std::nullopt);
}
