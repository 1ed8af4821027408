// The zip library as the package code needs it, implemented by the module orivox_zip so that
// the library is loaded at the first package, not at start. The bounds and the messages stay
// with the caller (ZipPackage).
#pragma once

#include <QByteArray>
#include <QList>
#include <QPair>
#include <QString>

#include <ctime>

namespace interchange {

class ZipArchive {
public:
  virtual ~ZipArchive() = default;
  virtual QList<QString> names() const = 0;
  virtual bool contains(const QString& name) const = 0;
  enum class Read { Done, Missing, Unreadable, TooLarge };
  // The inflated bytes of an entry into `out`, refused past `maxBytes` (the announced size is
  // checked first, and the bytes are counted as they come, since it may lie).
  virtual Read read(const QString& name, qint64 maxBytes, QByteArray& out) = 0;
};

class ZipLibrary {
public:
  virtual ~ZipLibrary() = default;
  // Null when the bytes or the file are no readable zip. The archive reads `bytes` in place:
  // the caller keeps them alive as long as the archive.
  virtual ZipArchive* openBytes(const QByteArray& bytes) = 0;
  virtual ZipArchive* openFile(const QString& path) = 0;
  // A package of the entries, deflated, each dated `date`; false when it could not be made.
  virtual bool write(const QList<QPair<QString, QByteArray>>& entries, time_t date,
                     QByteArray& out) = 0;
};

} // namespace interchange

extern "C" {
// The one library object of the module, which lives as long as the process.
using ZipLibraryAccessor = interchange::ZipLibrary*();
}
inline constexpr char kZipModule[] = "orivox_zip";
inline constexpr char kZipLibraryAccessor[] = "orivox_zip_library";
