// The rules of the Open Board Format as its reference validator applies them (format version,
// ids, grid shape, images and sounds, manifest paths), checked on files we write.
#pragma once

#include <QByteArray>
#include <QSet>
#include <QString>
#include <QStringList>

namespace interchange {

// A colour as the format writes it: "rgb(r, g, b)" or "rgba(r, g, b, a)", nothing around it.
bool isColour(const QString& value);
// The errors found in one board; packageFiles lists the entries of the package holding it
// (null for a lone board, which may not name files).
QStringList checkObf(const QByteArray& json, const QSet<QString>* packageFiles = nullptr);
// The errors of a package: its manifest, then each board it lists.
QStringList checkObz(const QByteArray& package);

} // namespace interchange
