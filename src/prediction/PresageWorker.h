// The presage object, the learning file and everything that touches them, run in the prediction
// thread only.
#pragma once

#include "prediction/LearningFile.h"
#include "prediction/PredictionResult.h"
#include "prediction/WordPredictor.h"

#include <QAtomicInt>
#include <QObject>
#include <memory>

class Presage;
class ModelContext;

class PresageWorker : public QObject {
  Q_OBJECT
public:
  PresageWorker(const QString& modelPath, const QString& userModelPath,
                std::shared_ptr<QAtomicInt> latest);
  ~PresageWorker() override;

  // Clears everything learned and opens again; says what could not be removed.
  PredictionResult forget();

public slots:
  // Opens the models; run first, in the worker's thread.
  void open();
  void predict(int id, const QString& text);
  void learn(const QString& phrase);
  void teachBoard(const QStringList& texts);
  void setCount(int count) { FCount = count; }

signals:
  void answered(int id, const QStringList& words);
  void statusFound(WordPredictor::Status status);

private:
  // The steps of opening, in order; each says why it stopped.
  PredictionResult checkBaseModel() const;
  PredictionResult makeLearningFolder() const;
  PredictionResult openLearningFile();
  PredictionResult writeConfiguration() const;
  PredictionResult startLibrary();
  // The configuration written again and the library started on it; says ModelDamaged if not.
  bool restartLibrary();
  void openPresage();
  void close();
  // Lessons given while the learning file is busy wait here, and are tried again at the next.
  void keepForLater(const QStringList& phrases, const QStringList& boardTexts);
  void learnWhatWaits();

  QString FModelPath;
  QString FUserModelPath;
  std::shared_ptr<QAtomicInt> FLatest;
  std::unique_ptr<ModelContext> FContext;
  std::unique_ptr<Presage> FPresage;
  LearningFile FLearning;
  QStringList FWaitingPhrases;
  QStringList FWaitingBoardTexts;
  bool FAvailable = false;
  int FCount = 5;
};
