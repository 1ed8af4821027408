// The file of the words the person taught: the n-gram counts the library reads beside the French
// model, and the board texts already taught. Written here, in short transactions that wait a
// bounded time for another program holding the file, never by the library.
#pragma once

#include "prediction/PredictionResult.h"

#include <QStringList>

struct sqlite3;

class LearningFile {
public:
  // How long a step waits for a file another program holds before calling it busy.
  static constexpr int kBusyTimeoutMs = 1000;

  explicit LearningFile(const QString& path, int busyTimeoutMs = kBusyTimeoutMs);
  ~LearningFile();
  LearningFile(const LearningFile&) = delete;
  LearningFile& operator=(const LearningFile&) = delete;

  // Opens the file, made when missing, and checks it: Busy while another program holds it,
  // Damaged when it is no learning file (then set it aside), Failed when it cannot be made.
  PredictionResult open();
  bool isOpen() const { return FDb != nullptr; }
  void close();

  // Counts the words of these phrases (cut as frenchtext::phrases cuts), all or none.
  PredictionResult learn(const QStringList& texts);
  // Counts the texts of a board never taught before, and keeps that they were: a board is
  // taught once, however often it is opened.
  PredictionResult teachOnce(const QStringList& texts);

  // Whether the n-gram tables of a model agree: the library divides by a context's count and
  // aborts the program (an assertion, not an exception) when it is missing or smaller.
  static PredictionResult checkCounts(const QString& path);
  // Moves a damaged file aside under a name no earlier copy holds: ".damaged", ".damaged-2"...
  static PredictionResult setAside(const QString& path);
  // The files prediction keeps for this learning file: itself, the database's journals, the
  // copies set aside and the library's configuration.
  static QStringList filesKept(const QString& path);
  // Removes all of them; says which one stayed and why.
  static PredictionResult forget(const QString& path);
  // The library's configuration written beside the learning file.
  static QString configPath(const QString& path);

private:
  PredictionResult run(const char* sql);
  PredictionResult count(const QStringList& texts, const QStringList& onlyNew);

  QString FPath;
  int FBusyTimeoutMs;
  sqlite3* FDb = nullptr;
};
