// One board's JSON parsed only once its shape is known to be a board's: size, nesting, number
// of values and longest string are counted in one pass over the bytes first, since the parsed
// document costs many times the bytes of a file made of small values.
#pragma once

#include "interchange/Result.h"

#include <QByteArray>
#include <QJsonObject>
#include <QString>

namespace interchange {

// `what` names the file in the messages ("ce fichier", "le fichier boards/1.obf du paquet").
// The bytes are let go once parsed: pass them moved, so that they are not held beside the
// document while the board is built.
Result<QJsonObject> parseBoardJson(QByteArray bytes, const QString& what);
// The refusal of a file past the bound on a board's JSON.
QString tooLargeFile(const QString& what);

} // namespace interchange
