// Reading and writing zip packages through the module orivox_zip; the budget and the messages
// are kept here. Without the module a package reads as unreadable and cannot be written, as
// when the bytes are no zip.
#include "interchange/ZipPackage.h"

#include "interchange/Bounds.h"
#include "interchange/ZipArchive.h"
#include "platform/Modules.h"

#include <QStringList>

#include <utility>

#ifdef ORIVOX_ZIP_LINKED_IN
// The fuzz targets link the zip code in, so that it is instrumented with the rest.
extern "C" interchange::ZipLibrary* orivox_zip_library();
#endif

namespace interchange {

namespace {
// 1 January 2024, 12:00 UTC: every exported entry carries it, so exports are reproducible.
constexpr time_t kFixedDate = 1704110400;

ZipLibrary* library() {
#ifdef ORIVOX_ZIP_LINKED_IN
  return orivox_zip_library();
#else
  auto* get = modules::resolveAs<ZipLibraryAccessor>(kZipModule, kZipLibraryAccessor);
  return get ? get() : nullptr;
#endif
}
} // namespace

QString packagePath(const QString& path) {
  if (path.isEmpty() || path.startsWith(QLatin1Char('/')) || path.contains(QLatin1Char('\\')) ||
      path.contains(QChar(0)))
    return {};
  QStringList parts;
  for (const QString& part : path.split(QLatin1Char('/'))) {
    if (part.isEmpty() || part == QLatin1String("."))
      continue;
    if (part == QLatin1String(".."))
      return {};
    parts << part;
  }
  if (parts.isEmpty() || parts.first().contains(QLatin1Char(':')))
    return {};
  return parts.join(QLatin1Char('/'));
}

ZipReader ZipReader::fromBytes(const QByteArray& bytes, qint64 budget) {
  ZipReader r;
  r.FBudget = r.FBudgetLeft = budget;
  r.FBytes = bytes;
  if (ZipLibrary* zip = library())
    r.FArchive.reset(zip->openBytes(r.FBytes));
  return r;
}

ZipReader ZipReader::fromFile(const QString& path, qint64 budget) {
  ZipReader r;
  r.FBudget = r.FBudgetLeft = budget;
  if (ZipLibrary* zip = library())
    r.FArchive.reset(zip->openFile(path));
  return r;
}

ZipReader::~ZipReader() = default;
ZipReader::ZipReader(ZipReader&&) noexcept = default;
ZipReader& ZipReader::operator=(ZipReader&& o) noexcept {
  if (this != &o) {
    FArchive.reset(); // before the buffer it reads goes
    FBytes = std::move(o.FBytes);
    FArchive = std::move(o.FArchive);
    FBudgetLeft = o.FBudgetLeft;
    FBudget = o.FBudget;
  }
  return *this;
}

bool ZipReader::contains(const QString& name) const {
  return FArchive && FArchive->contains(name);
}

QList<QString> ZipReader::names() const {
  return FArchive ? FArchive->names() : QList<QString>();
}

Result<QByteArray> ZipReader::read(const QString& name) {
  Result<QByteArray> bytes = readUpTo(name, FBudgetLeft);
  if (bytes.ok())
    FBudgetLeft -= bytes.value().size();
  return bytes;
}

Result<QByteArray> ZipReader::readUpTo(const QString& name, qint64 maxBytes) {
  using R = Result<QByteArray>;
  const R unreadable =
      R::failure(QStringLiteral("le fichier %1 du paquet est illisible.").arg(name));
  if (!FArchive)
    return unreadable;
  QByteArray bytes;
  switch (FArchive->read(name, maxBytes, bytes)) {
  case ZipArchive::Read::Done:
    return bytes;
  case ZipArchive::Read::Missing:
    return R::failure(QStringLiteral("le fichier %1 manque au paquet.").arg(name));
  case ZipArchive::Read::TooLarge:
    return R::failure(QStringLiteral("le paquet se décompresse au-delà de %1 Mo.")
                          .arg(bounds::megabytes(FBudget)));
  case ZipArchive::Read::Unreadable:
    break;
  }
  return unreadable;
}

Result<QByteArray> writeZip(const QList<QPair<QString, QByteArray>>& entries) {
  QByteArray out;
  ZipLibrary* zip = library();
  if (!zip || !zip->write(entries, kFixedDate, out))
    return Result<QByteArray>::failure(QStringLiteral("le paquet n'a pas pu être composé."));
  return out;
}

} // namespace interchange
