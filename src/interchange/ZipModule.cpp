// Zip packages through libzip, built as the module orivox_zip: only the entries asked for are
// inflated, each within the caller's bound, checked before inflating and while the bytes come.
#include "interchange/ZipArchive.h"
#include "platform/Modules.h"

#include <QFile>

#include <zip.h>

namespace interchange {
namespace {

class LibzipArchive : public ZipArchive {
public:
  explicit LibzipArchive(zip_t* archive) : FArchive(archive) {}
  ~LibzipArchive() override { zip_discard(FArchive); }
  LibzipArchive(const LibzipArchive&) = delete;
  LibzipArchive& operator=(const LibzipArchive&) = delete;

  QList<QString> names() const override {
    QList<QString> list;
    const zip_int64_t n = zip_get_num_entries(FArchive, 0);
    for (zip_int64_t i = 0; i < n; ++i)
      if (const char* name = zip_get_name(FArchive, zip_uint64_t(i), 0))
        list << QString::fromUtf8(name);
    return list;
  }

  bool contains(const QString& name) const override {
    return zip_name_locate(FArchive, name.toUtf8().constData(), 0) >= 0;
  }

  Read read(const QString& name, qint64 maxBytes, QByteArray& out) override {
    out.clear();
    const zip_int64_t index = zip_name_locate(FArchive, name.toUtf8().constData(), 0);
    if (index < 0)
      return Read::Missing;
    zip_stat_t st;
    zip_stat_init(&st);
    if (zip_stat_index(FArchive, zip_uint64_t(index), 0, &st) != 0)
      return Read::Unreadable;
    if ((st.valid & ZIP_STAT_SIZE) && st.size > zip_uint64_t(maxBytes))
      return Read::TooLarge;
    zip_file_t* file = zip_fopen_index(FArchive, zip_uint64_t(index), 0);
    if (!file)
      return Read::Unreadable;
    char chunk[64 * 1024];
    Read result = Read::Done;
    for (;;) {
      const zip_int64_t got = zip_fread(file, chunk, sizeof chunk);
      if (got < 0) {
        result = Read::Unreadable;
        break;
      }
      if (got == 0)
        break;
      // Counted before the chunk is kept: not one byte past the bound is held.
      if (out.size() + got > maxBytes) {
        result = Read::TooLarge;
        break;
      }
      out.append(chunk, qsizetype(got));
    }
    zip_fclose(file);
    if (result != Read::Done)
      out.clear();
    return result;
  }

private:
  zip_t* FArchive;
};

class Libzip : public ZipLibrary {
public:
  ZipArchive* openBytes(const QByteArray& bytes) override {
    zip_error_t error;
    zip_error_init(&error);
    zip_t* archive = nullptr;
    zip_source_t* source =
        zip_source_buffer_create(bytes.constData(), zip_uint64_t(bytes.size()), 0, &error);
    if (source) {
      archive = zip_open_from_source(source, ZIP_RDONLY | ZIP_CHECKCONS, &error);
      if (!archive)
        zip_source_free(source);
    }
    zip_error_fini(&error);
    return archive ? new LibzipArchive(archive) : nullptr;
  }

  ZipArchive* openFile(const QString& path) override {
    int error = 0;
    zip_t* archive =
        zip_open(QFile::encodeName(path).constData(), ZIP_RDONLY | ZIP_CHECKCONS, &error);
    return archive ? new LibzipArchive(archive) : nullptr;
  }

  bool write(const QList<QPair<QString, QByteArray>>& entries, time_t date,
             QByteArray& out) override {
    out.clear();
    zip_error_t error;
    zip_error_init(&error);
    zip_source_t* target = zip_source_buffer_create(nullptr, 0, 0, &error);
    zip_error_fini(&error);
    if (!target)
      return false;
    // The archive takes the target over at open; kept alive past zip_close to read it back.
    zip_source_keep(target);
    zip_error_init(&error);
    zip_t* archive = zip_open_from_source(target, ZIP_TRUNCATE, &error);
    zip_error_fini(&error);
    bool ok = archive != nullptr;
    for (qsizetype i = 0; ok && i < entries.size(); ++i) {
      const QByteArray& data = entries[i].second;
      // libzip copies nothing: the data must stay until zip_close, which it does (the caller's).
      zip_source_t* source =
          zip_source_buffer(archive, data.constData(), zip_uint64_t(data.size()), 0);
      const zip_int64_t index = source
                                    ? zip_file_add(archive, entries[i].first.toUtf8().constData(),
                                                   source, ZIP_FL_OVERWRITE | ZIP_FL_ENC_UTF_8)
                                    : -1;
      if (index < 0) {
        if (source)
          zip_source_free(source);
        ok = false;
        break;
      }
      zip_file_set_mtime(archive, zip_uint64_t(index), date, 0);
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
      out.clear();
    return ok;
  }
};

} // namespace
} // namespace interchange

extern "C" ORIVOX_MODULE_EXPORT interchange::ZipLibrary* orivox_zip_library() {
  static interchange::Libzip library;
  return &library;
}
