// A zip package (".obz") read and written through the zip library, with the bounds that keep a
// hostile package from taking the machine: only the entries asked for are inflated, each within a
// bound checked before inflating and again while the bytes come.
#pragma once

#include <QByteArray>
#include <QList>
#include <QPair>
#include <QString>

#include <memory>

#include "interchange/Result.h"

namespace interchange {

class ZipArchive;

// A path inside a package in its one spelling ("./a//b" is "a/b"), or an empty string when it
// leaves the package: absolute, a drive ("C:x"), a backslash, a NUL or a "..". Every path a
// package names goes through it, for reading and for checking alike.
QString packagePath(const QString& path);

class ZipReader {
public:
  // Never throws; isOpen() tells whether the bytes or the file were a readable zip. Over its
  // life the reader inflates at most `budget` bytes in all, whatever the entries announce.
  static ZipReader fromBytes(const QByteArray& bytes, qint64 budget);
  static ZipReader fromFile(const QString& path, qint64 budget);
  ~ZipReader();
  ZipReader(ZipReader&&) noexcept;
  ZipReader& operator=(ZipReader&&) noexcept;

  bool isOpen() const { return FArchive != nullptr; }
  bool contains(const QString& name) const;
  // Entry names, as stored.
  QList<QString> names() const;
  // The inflated bytes of an entry, refused past what is left of the budget (the size the zip
  // announces is checked first, and the bytes are counted as they come, since it may lie).
  Result<QByteArray> read(const QString& name);
  // The same within `maxBytes`, outside the budget: a package's pictures are bounded apart
  // from its boards, by the caller.
  Result<QByteArray> readUpTo(const QString& name, qint64 maxBytes);

private:
  ZipReader() = default;
  QByteArray FBytes; // the archive reads the buffer in place: it must outlive it
  std::unique_ptr<ZipArchive> FArchive;
  qint64 FBudgetLeft = 0;
  qint64 FBudget = 0;
};

// A package of named entries, deflated, with a fixed date so that the same board gives the same
// bytes.
Result<QByteArray> writeZip(const QList<QPair<QString, QByteArray>>& entries);

} // namespace interchange
