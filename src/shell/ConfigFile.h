// The configuration file "conf/conf.txt": line 1 the enciphered application password, line 2
// the path of the last board, CR LF line ends, cp1252 (each line has a marked form for what
// cp1252 or a line cannot hold).
#pragma once

#include <QByteArray>
#include <QString>

namespace configfile {

constexpr const char* kKey = "ZebPlanar";
constexpr const char* kInitialPassword = "wmo";

struct ConfigValues {
  QString password;  // deciphered
  QString lastBoard; // empty when none
};

// The bytes of a configuration file holding only the password line (the file made at first
// start) or both lines.
QByteArray encode(const QString& password);
QByteArray encode(const QString& password, const QString& lastBoard);
ConfigValues decode(const QByteArray& bytes);

// The stored form of the password line: the raw enciphered bytes, unless those hold a byte
// that would end the line or the file when read back (10, 13, 26), or could be mistaken for
// the other form; those passwords are written as a marked hexadecimal line instead.
QByteArray passwordLine(const QString& password);
QString passwordFromLine(const QByteArray& line);

// The stored form of the last board's path: its cp1252 bytes, unless the path holds a
// character cp1252 lacks (a home folder "Łukasz"), a line or file end, or could be mistaken
// for the other form; those paths are written as a marked hexadecimal line of their UTF-8
// bytes, which reads back exactly.
QByteArray boardPathLine(const QString& path);
QString boardPathFromLine(const QByteArray& line);

// The board the configuration names at a close: the board on screen when it has a file,
// otherwise the one the configuration named so far (a board refused at start, or replaced by a
// new board never saved), which is kept rather than forgotten.
QString boardToRemember(const QString& current, const QByteArray& previousConfig);

} // namespace configfile
