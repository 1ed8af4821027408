// Reading and writing zip packages with libzip.
#include "interchange/ZipPackage.h"

#include "interchange/Bounds.h"

#include <QFile>
#include <QStringList>

#include <zip.h>

#include <utility>

namespace interchange {

namespace {
// 1 January 2024, 12:00 UTC: every exported entry carries it, so exports are reproducible.
constexpr time_t kFixedDate = 1704110400;
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
  zip_error_t error;
  zip_error_init(&error);
  zip_source_t* source =
      zip_source_buffer_create(r.FBytes.constData(), zip_uint64_t(r.FBytes.size()), 0, &error);
  if (source) {
    r.FArchive = zip_open_from_source(source, ZIP_RDONLY | ZIP_CHECKCONS, &error);
    if (!r.FArchive)
      zip_source_free(source);
  }
  zip_error_fini(&error);
  return r;
}

ZipReader ZipReader::fromFile(const QString& path, qint64 budget) {
  ZipReader r;
  r.FBudget = r.FBudgetLeft = budget;
  int error = 0;
  r.FArchive = zip_open(QFile::encodeName(path).constData(), ZIP_RDONLY | ZIP_CHECKCONS, &error);
  return r;
}

ZipReader::~ZipReader() {
  if (FArchive)
    zip_discard(FArchive);
}

ZipReader::ZipReader(ZipReader&& o) noexcept
    : FBytes(std::move(o.FBytes)), FArchive(std::exchange(o.FArchive, nullptr)),
      FBudgetLeft(o.FBudgetLeft), FBudget(o.FBudget) {}

ZipReader& ZipReader::operator=(ZipReader&& o) noexcept {
  if (this != &o) {
    if (FArchive)
      zip_discard(FArchive);
    FBytes = std::move(o.FBytes);
    FArchive = std::exchange(o.FArchive, nullptr);
    FBudgetLeft = o.FBudgetLeft;
    FBudget = o.FBudget;
  }
  return *this;
}

bool ZipReader::contains(const QString& name) const {
  return FArchive && zip_name_locate(FArchive, name.toUtf8().constData(), 0) >= 0;
}

QList<QString> ZipReader::names() const {
  QList<QString> list;
  if (!FArchive)
    return list;
  const zip_int64_t n = zip_get_num_entries(FArchive, 0);
  for (zip_int64_t i = 0; i < n; ++i)
    if (const char* name = zip_get_name(FArchive, zip_uint64_t(i), 0))
      list << QString::fromUtf8(name);
  return list;
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
  const R tooLarge = R::failure(
      QStringLiteral("le paquet se décompresse au-delà de %1 Mo.").arg(bounds::megabytes(FBudget)));
  if (!FArchive)
    return unreadable;
  const zip_int64_t index = zip_name_locate(FArchive, name.toUtf8().constData(), 0);
  if (index < 0)
    return R::failure(QStringLiteral("le fichier %1 manque au paquet.").arg(name));
  zip_stat_t st;
  zip_stat_init(&st);
  if (zip_stat_index(FArchive, zip_uint64_t(index), 0, &st) != 0)
    return unreadable;
  if ((st.valid & ZIP_STAT_SIZE) && st.size > zip_uint64_t(maxBytes))
    return tooLarge;
  zip_file_t* file = zip_fopen_index(FArchive, zip_uint64_t(index), 0);
  if (!file)
    return unreadable;
  QByteArray bytes;
  char chunk[64 * 1024];
  for (;;) {
    const zip_int64_t got = zip_fread(file, chunk, sizeof chunk);
    if (got < 0) {
      zip_fclose(file);
      return unreadable;
    }
    if (got == 0)
      break;
    // Counted before the chunk is kept: not one byte past the budget is held.
    if (bytes.size() + got > maxBytes) {
      zip_fclose(file);
      return tooLarge;
    }
    bytes.append(chunk, qsizetype(got));
  }
  zip_fclose(file);
  return bytes;
}

Result<QByteArray> writeZip(const QList<QPair<QString, QByteArray>>& entries) {
  zip_error_t error;
  zip_error_init(&error);
  zip_source_t* target = zip_source_buffer_create(nullptr, 0, 0, &error);
  zip_error_fini(&error);
  const auto failed = [] {
    return Result<QByteArray>::failure(QStringLiteral("le paquet n'a pas pu être composé."));
  };
  if (!target)
    return failed();
  // The archive takes the target over at open; kept alive past zip_close to read it back.
  zip_source_keep(target);
  zip_error_init(&error);
  zip_t* archive = zip_open_from_source(target, ZIP_TRUNCATE, &error);
  zip_error_fini(&error);
  bool ok = archive != nullptr;
  for (qsizetype i = 0; ok && i < entries.size(); ++i) {
    const QByteArray& data = entries[i].second;
    // libzip copies nothing: the data must stay until zip_close, which it does (entries is ours).
    zip_source_t* source =
        zip_source_buffer(archive, data.constData(), zip_uint64_t(data.size()), 0);
    const zip_int64_t index = source ? zip_file_add(archive, entries[i].first.toUtf8().constData(),
                                                    source, ZIP_FL_OVERWRITE | ZIP_FL_ENC_UTF_8)
                                     : -1;
    if (index < 0) {
      if (source)
        zip_source_free(source);
      ok = false;
      break;
    }
    zip_file_set_mtime(archive, zip_uint64_t(index), kFixedDate, 0);
    zip_set_file_compression(archive, zip_uint64_t(index), ZIP_CM_DEFLATE, 9);
  }
  if (archive) {
    if (!ok)
      zip_discard(archive);
    else if (zip_close(archive) != 0) {
      zip_discard(archive);
      ok = false;
    }
  }
  QByteArray out;
  if (ok && zip_source_open(target) == 0) {
    char chunk[64 * 1024];
    zip_int64_t got;
    while ((got = zip_source_read(target, chunk, sizeof chunk)) > 0)
      out.append(chunk, qsizetype(got));
    if (got < 0)
      ok = false;
    zip_source_close(target);
  } else {
    ok = false;
  }
  zip_source_free(target);
  if (!ok)
    return failed();
  return out;
}

} // namespace interchange
