// A zip package (".obz") read and written through libzip, with the bounds that keep a hostile
// package from taking the machine: only the entries asked for are inflated, each within a bound
// checked before inflating and again while the bytes come.
#pragma once

#include <QByteArray>
#include <QList>
#include <QPair>
#include <QString>
#include <optional>

struct zip; // libzip's archive

namespace interchange {

class ZipReader {
public:
  // Never throws; isOpen() tells whether the bytes or the file were a readable zip.
  static ZipReader fromBytes(const QByteArray& bytes);
  static ZipReader fromFile(const QString& path);
  ~ZipReader();
  ZipReader(ZipReader&&) noexcept;
  ZipReader& operator=(ZipReader&&) noexcept;

  bool isOpen() const { return FArchive != nullptr; }
  bool contains(const QString& name) const;
  // Entry names, as stored.
  QList<QString> names() const;
  enum class Failure { None, Missing, TooLarge, Unreadable };
  // The inflated bytes of an entry, refused past maxBytes (the size the zip announces is checked
  // first, and the bytes are counted as they come, since the announced size may lie).
  QByteArray read(const QString& name, qint64 maxBytes, Failure* failure) const;

private:
  ZipReader() = default;
  QByteArray FBytes; // libzip reads a buffer in place: it must outlive the archive
  ::zip* FArchive = nullptr;
};

// A package of named entries, deflated, with a fixed date so that the same board gives the same
// bytes. Empty on a libzip failure.
std::optional<QByteArray> writeZip(const QList<QPair<QString, QByteArray>>& entries);

} // namespace interchange
