// Word prediction by the presage library on the French model, in a thread of its own: one worker
// owns the one presage object, requests go to it queued and answers come back queued, so that
// the scan never waits for a prediction.
#pragma once

#include "prediction/LearningFile.h"
#include "prediction/WordPredictor.h"

#include <QAtomicInt>
#include <QThread>
#include <memory>

class PresageWorker;

class PresagePredictor : public WordPredictor {
  Q_OBJECT
public:
  // `modelPath`: the French model; `userModelPath`: the database of learned words, made when
  // missing (empty: in the user's data folder).
  PresagePredictor(const QString& modelPath, const QString& userModelPath = {},
                   QObject* parent = nullptr);
  ~PresagePredictor() override;

  void request(int id, const QString& textBefore) override;
  void setSuggestionCount(int count) override;
  void setReplacePassedOver(bool on) override { emit replacePassedOverChanged(on); }
  void learn(const QString& phrase) override;
  void teachBoardTexts(const QStringList& texts) override;
  PredictionResult forgetLearned() override;
  Status status() const override { return FStatus; }

  // Where the installed or built program keeps its model: share/orivox/fr.db beside the
  // program's folder or in it (the build tree); empty when there is none.
  static QString findModel();
  // In the user's data folder; none without a home folder, where the data folder would be the
  // root of the file system.
  static QString defaultUserModel();
  // Whether a file is a SQLite database at all, read from its header: the library crashes
  // rather than throws on a file it cannot open.
  static Status checkModel(const QString& path);

signals:
  // To the worker, queued.
  void predictRequested(int id, const QString& text);
  void learnRequested(const QString& phrase);
  void teachRequested(const QStringList& texts);
  void countChanged(int count);
  void replacePassedOverChanged(bool on);

private:
  // The models are opened on the first request, lesson or forgetting: a board that never
  // predicts costs no thread work and leaves no file in the user's folder.
  void openOnce();
  void answer(int id, const QStringList& words);
  void setStatus(Status s);

  // How long quitting and forgetting wait for the worker: longer than a lesson waits for a busy
  // file; a worker held longer by the library is left behind rather than waited for.
  static constexpr int kWorkerWaitMs = 3 * LearningFile::kBusyTimeoutMs;

  // Both owned here and deleted once the thread has stopped; left to the end of the process if
  // it does not stop.
  std::unique_ptr<QThread> FThread;
  std::unique_ptr<PresageWorker> FWorker;
  std::shared_ptr<QAtomicInt> FLatest;
  Status FStatus = Status::Ok;
  bool FOpened = false;
};
