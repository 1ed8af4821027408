// The presage object, the learning file and everything that touches them, run in the prediction
// thread only.
#pragma once

#include "prediction/FoldedWords.h"
#include "prediction/LearningFile.h"
#include "prediction/PassedOver.h"
#include "prediction/PredictionResult.h"
#include "prediction/PresageEngine.h"
#include "prediction/WordPredictor.h"

#include <QAtomicInt>
#include <QObject>
#include <memory>
#include <vector>

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
  void setReplacePassedOver(bool on) { FReplacePassedOver = on; }

signals:
  void answered(int id, const QStringList& words);
  void statusFound(WordPredictor::Status status);

private:
  // A word the library found, how likely, and how it is written.
  struct Scored {
    double probability = 0;
    QString modelWord;
    QString written;
  };
  // The words that may be meant by the word being written, spelled with or without accents,
  // apostrophes and hyphens, each scored in its context; throws what the library throws.
  std::vector<Scored> lookUp(const QString& text);
  // An elided word among the words shown ("j'", "qu'") offered also with the word likeliest
  // after it ("j'ai"), less likely than the elided word alone.
  void addElidedPairs(const QString& past, std::vector<Scored>& found);
  // The library's words starting with one of `beginnings` after the context `past`.
  std::vector<Scored> ask(const QString& past, const QStringList& beginnings);

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
  std::unique_ptr<PresageEngine> FPresage;
  LearningFile FLearning;
  // Read from the model when it opens; the person's words join it as they are learnt.
  FoldedWords FWords;
  PassedOver FPassedOver;
  QStringList FWaitingPhrases;
  QStringList FWaitingBoardTexts;
  bool FAvailable = false;
  int FCount = 5;
  bool FReplacePassedOver = false;
};
