// Which texts a board file can hold: characters of its code page, and no line break or
// end-of-file byte (they would cut the file when it is read back).
#pragma once

#include <QValidator>

bool isStorableText(const QString& text);

// Refuses a keystroke or a paste that would make a name field hold a text the file cannot store.
class StorableTextValidator : public QValidator {
public:
  using QValidator::QValidator;
  State validate(QString& input, int& pos) const override;
};
