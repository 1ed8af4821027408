// The presage object and everything that touches it, run in the prediction thread only.
#pragma once

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

public slots:
  // Opens the models; run first, in the worker's thread.
  void open();
  void predict(int id, const QString& text);
  void learn(const QString& phrase);
  void forget();
  void setCount(int count) { FCount = count; }

signals:
  void answered(int id, const QStringList& words);
  void statusFound(WordPredictor::Status status);

private:
  void close();
  bool openPresage();

  QString FModelPath;
  QString FUserModelPath;
  std::shared_ptr<QAtomicInt> FLatest;
  std::unique_ptr<ModelContext> FContext;
  std::unique_ptr<Presage> FPresage;
  int FCount = 5;
};
