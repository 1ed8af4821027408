// Reading and writing zip packages with libzip.
#include "interchange/ZipPackage.h"

#include <QFile>

#include <zip.h>

#include <utility>

namespace interchange {

namespace {
// 1 January 2024, 12:00 UTC: every exported entry carries it, so exports are reproducible.
constexpr time_t kFixedDate = 1704110400;
} // namespace

ZipReader ZipReader::fromBytes(const QByteArray& bytes) {
  ZipReader r;
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

ZipReader ZipReader::fromFile(const QString& path) {
  ZipReader r;
  int error = 0;
  r.FArchive = zip_open(QFile::encodeName(path).constData(), ZIP_RDONLY | ZIP_CHECKCONS, &error);
  return r;
}

ZipReader::~ZipReader() {
  if (FArchive)
    zip_discard(FArchive);
}

ZipReader::ZipReader(ZipReader&& o) noexcept
    : FBytes(std::move(o.FBytes)), FArchive(std::exchange(o.FArchive, nullptr)) {}

ZipReader& ZipReader::operator=(ZipReader&& o) noexcept {
  if (this != &o) {
    if (FArchive)
      zip_discard(FArchive);
    FBytes = std::move(o.FBytes);
    FArchive = std::exchange(o.FArchive, nullptr);
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

QByteArray ZipReader::read(const QString& name, qint64 maxBytes, Failure* failure) const {
  auto fail = [failure](Failure f) {
    if (failure)
      *failure = f;
    return QByteArray();
  };
  if (failure)
    *failure = Failure::None;
  if (!FArchive)
    return fail(Failure::Unreadable);
  const zip_int64_t index = zip_name_locate(FArchive, name.toUtf8().constData(), 0);
  if (index < 0)
    return fail(Failure::Missing);
  zip_stat_t st;
  zip_stat_init(&st);
  if (zip_stat_index(FArchive, zip_uint64_t(index), 0, &st) != 0)
    return fail(Failure::Unreadable);
  if ((st.valid & ZIP_STAT_SIZE) && st.size > zip_uint64_t(maxBytes))
    return fail(Failure::TooLarge);
  zip_file_t* file = zip_fopen_index(FArchive, zip_uint64_t(index), 0);
  if (!file)
    return fail(Failure::Unreadable);
  QByteArray bytes;
  char chunk[64 * 1024];
  for (;;) {
    const zip_int64_t got = zip_fread(file, chunk, sizeof chunk);
    if (got < 0) {
      zip_fclose(file);
      return fail(Failure::Unreadable);
    }
    if (got == 0)
      break;
    if (bytes.size() + got > maxBytes) {
      zip_fclose(file);
      return fail(Failure::TooLarge);
    }
    bytes.append(chunk, qsizetype(got));
  }
  zip_fclose(file);
  return bytes;
}

std::optional<QByteArray> writeZip(const QList<QPair<QString, QByteArray>>& entries) {
  zip_error_t error;
  zip_error_init(&error);
  zip_source_t* target = zip_source_buffer_create(nullptr, 0, 0, &error);
  zip_error_fini(&error);
  if (!target)
    return std::nullopt;
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
    return std::nullopt;
  return out;
}

} // namespace interchange
