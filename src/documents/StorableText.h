// Which texts a board file can hold: characters of its code page, and no line break or
// end-of-file byte (they would cut the file when it is read back). What the carer is told when
// a text cannot be held, naming the character.
#pragma once

#include <QString>
#include <QValidator>
#include <optional>

struct BoardData;

bool isStorableText(const QString& text);
// Where the first character the file cannot hold starts in `text`; none when it can hold all.
std::optional<qsizetype> firstUnstorableAt(const QString& text);
// The character (a whole code point, an emoji too) starting at `at`, as a message names it:
// itself, or its code for a control character, which shows nothing.
QString characterName(const QString& text, qsizetype at);
// « Le caractère « Ω » ne peut pas être enregistré dans un tableau. »
QString unstorableCharacterMessage(const QString& text, qsizetype at);

// Why the board cannot be written: the first text or tab name the file cannot hold, with its
// place (tab name, text number) and the character; none when the file can hold the whole board.
std::optional<QString> unstorableTextIn(const BoardData& board);

// Refuses a keystroke or a paste that would make a name field hold a text the file cannot store,
// and keeps why for the field to say it (QLineEdit::inputRejected follows the refusal; it also
// follows a text the program writes with setText, which the field keeps all the same).
class StorableTextValidator : public QValidator {
public:
  using QValidator::QValidator;
  State validate(QString& input, int& pos) const override;
  // The message for the latest input refused, once; none when the latest input was accepted.
  std::optional<QString> takeRefusal() const;
  // The message a refused input gets; none when it is accepted.
  static std::optional<QString> refusalOf(const QString& input);

private:
  mutable std::optional<QString> FRefusal;
};
