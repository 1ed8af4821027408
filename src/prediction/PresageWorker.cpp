// The library reads a configuration file of our own, written beside the learning file: its
// built-in one keeps a database in the user's home folder (and spins for ever when HOME is
// unset). The base model is never written; the person's words are written by LearningFile,
// and the library only reads them.
#include "prediction/PresageWorker.h"

#include "prediction/FrenchText.h"
#include "prediction/PresagePredictor.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>
#include <QXmlStreamWriter>

#include <exception>

namespace {
// More words than shown are asked for: the phrase-start word and duplicates after restoring
// case are dropped.
constexpr int kSpareWords = 3;
// The most spellings one typed beginning is asked for ("a": a, à, â, æ...).
constexpr int kMostBeginnings = 24;
// "j'" typed as "j" is also offered with the words likeliest after it ("j'ai"): one choice
// instead of two. Each elided word shown costs one question more to the library.
constexpr int kMostElidedPairs = 2;
constexpr int kPairsPerElision = 1;
// Lessons kept while the learning file is busy; the oldest go first.
constexpr int kMostWaiting = 1000;

std::string utf8(const QString& s) {
  return s.toStdString();
}

// A call into the library, whose failures are exceptions of any type.
template <class Call> PredictionResult libraryCall(Call&& call) {
  try {
    call();
    return PredictionResult::done();
  } catch (const std::exception& e) {
    return PredictionResult::failed(QString::fromUtf8(e.what()));
  } catch (...) {
    return PredictionResult::failed(QStringLiteral("erreur de la bibliothèque de prédiction"));
  }
}

// The phrases of texts in the model's form, for the look-up without accents.
QList<QStringList> modelPhrases(const QStringList& texts) {
  QList<QStringList> out;
  for (const QString& t : texts)
    out += frenchtext::phrases(t);
  return out;
}

void keepLast(QStringList& list, const QStringList& more) {
  list += more;
  if (list.size() > kMostWaiting)
    list.remove(0, list.size() - kMostWaiting);
}
} // namespace

PresageWorker::PresageWorker(const QString& modelPath, const QString& userModelPath,
                             std::shared_ptr<QAtomicInt> latest)
    : FModelPath(modelPath), FUserModelPath(userModelPath), FLatest(std::move(latest)),
      FLearning(userModelPath) {}

PresageWorker::~PresageWorker() {
  close();
}

void PresageWorker::close() {
  FPresage.reset();
  FContext.reset();
  FLearning.close();
  FAvailable = false;
}

PredictionResult PresageWorker::checkBaseModel() const {
  switch (PresagePredictor::checkModel(FModelPath)) {
  case WordPredictor::Status::Ok:
    return LearningFile::checkCounts(FModelPath);
  case WordPredictor::Status::ModelMissing:
    return PredictionResult::failed(QStringLiteral("dictionnaire introuvable"));
  default:
    return PredictionResult::damaged(QStringLiteral("dictionnaire endommagé"));
  }
}

PredictionResult PresageWorker::makeLearningFolder() const {
  if (FUserModelPath.isEmpty())
    return PredictionResult::failed(QStringLiteral("aucun dossier pour les mots appris"));
  const QString folder = QFileInfo(FUserModelPath).absolutePath();
  if (!QDir().mkpath(folder) || !QFileInfo(folder).isWritable())
    return PredictionResult::failed(
        QStringLiteral("le dossier « %1 » ne peut pas être écrit").arg(folder));
  return PredictionResult::done();
}

PredictionResult PresageWorker::openLearningFile() {
  PredictionResult r = FLearning.open();
  // Only a file that is no learning file goes aside; a busy one is waited for, later.
  if (r.kind() == PredictionResult::Kind::Damaged) {
    r = LearningFile::setAside(FUserModelPath);
    if (r.ok())
      r = FLearning.open();
  }
  return r;
}

PredictionResult PresageWorker::writeConfiguration() const {
  QSaveFile f(LearningFile::configPath(FUserModelPath));
  if (!f.open(QIODevice::WriteOnly))
    return PredictionResult::failed(f.errorString());
  QXmlStreamWriter xml(&f);
  xml.setAutoFormatting(true);
  xml.writeStartDocument();
  xml.writeStartElement(QStringLiteral("Presage"));
  const auto section = [&xml](const QString& name,
                              std::initializer_list<std::pair<QString, QString>> values) {
    xml.writeStartElement(name);
    xml.writeTextElement(QStringLiteral("LOGGER"), QStringLiteral("ERROR"));
    for (const auto& [key, value] : values)
      xml.writeTextElement(key, value);
  };
  const bool learning = FLearning.isOpen();
  section(QStringLiteral("PredictorRegistry"),
          {{"PREDICTORS", learning ? "DefaultSmoothedNgramPredictor UserSmoothedNgramPredictor"
                                   : "DefaultSmoothedNgramPredictor"}});
  xml.writeEndElement();
  // The library learns nothing from the context: it would learn every half-typed word.
  section(QStringLiteral("ContextTracker"),
          {{"SLIDING_WINDOW_SIZE", "80"}, {"LOWERCASE_MODE", "yes"}, {"ONLINE_LEARNING", "no"}});
  xml.writeEndElement();
  // Each request stands alone for the library: what the person let go by is ours to weigh
  // (PassedOver), on the words as shown, accents and capitals restored.
  section(QStringLiteral("Selector"), {{"SUGGESTIONS", QString::number(FCount + kSpareWords)},
                                       {"REPEAT_SUGGESTIONS", "yes"},
                                       {"GREEDY_SUGGESTION_THRESHOLD", "0"}});
  xml.writeEndElement();
  section(QStringLiteral("PredictorActivator"), {{"PREDICT_TIME", "1000"},
                                                 {"MAX_PARTIAL_PREDICTION_SIZE", "60"},
                                                 {"COMBINATION_POLICY", "Meritocracy"}});
  xml.writeEndElement();
  section(QStringLiteral("ProfileManager"), {{"AUTOPERSIST", "false"}});
  xml.writeEndElement();
  xml.writeStartElement(QStringLiteral("Predictors"));
  const auto predictor = [&](const QString& name, const QString& db, const QString& deltas) {
    section(name, {{"PREDICTOR", "SmoothedNgramPredictor"},
                   {"DBFILENAME", db},
                   {"DELTAS", deltas},
                   {"LEARN", "false"}});
    section(QStringLiteral("DatabaseConnector"), {});
    xml.writeEndElement();
    xml.writeEndElement();
  };
  predictor(QStringLiteral("DefaultSmoothedNgramPredictor"), FModelPath,
            QStringLiteral("0.01 0.1 0.89"));
  // The person's words weigh a tenth of the model's: counted over a few phrases, their chances
  // come out far above the model's, and a word learnt once would be offered after every "le"
  // or "de", pushing aside the words the context calls for. A phrase said again still wins.
  predictor(QStringLiteral("UserSmoothedNgramPredictor"), FUserModelPath,
            QStringLiteral("0.001 0.01 0.089"));
  xml.writeEndElement();
  xml.writeEndDocument();
  if (xml.hasError() || !f.commit())
    return PredictionResult::failed(f.errorString());
  return PredictionResult::done();
}

PredictionResult PresageWorker::startLibrary() {
  FPresage.reset();
  FContext = std::make_unique<ModelContext>();
  return libraryCall([this] {
    FPresage = makePresageEngine(FContext.get(), utf8(LearningFile::configPath(FUserModelPath)));
    // A first prediction reads every table: a database without them throws here.
    FContext->past = utf8(frenchtext::toModel(QString()));
    FPresage->predict();
  });
}

void PresageWorker::openPresage() {
  using Status = WordPredictor::Status;
  close();
  const PredictionResult base = checkBaseModel();
  if (!base.ok()) {
    emit statusFound(base.kind() == PredictionResult::Kind::Failed ? Status::ModelMissing
                                                                   : Status::ModelDamaged);
    return;
  }
  if (!makeLearningFolder().ok() || !writeConfiguration().ok()) {
    emit statusFound(Status::Unavailable);
    return;
  }
  // A learning file busy or unwritable leaves the base model alone until a lesson finds it free.
  openLearningFile();
  if (!restartLibrary())
    return;
  // Read once the library has found the model sound; the person's words join it.
  if (!FWords.load(FModelPath).ok()) {
    close();
    emit statusFound(Status::ModelDamaged);
    return;
  }
  if (!FUserModelPath.isEmpty() && QFileInfo::exists(FUserModelPath))
    FWords.addFrom(FUserModelPath);
  FAvailable = true;
  emit statusFound(Status::Ok);
}

void PresageWorker::open() {
  openPresage();
}

void PresageWorker::predict(int id, const QString& text) {
  // A newer request is already queued: this one's answer would be dropped anyway.
  if (id != FLatest->loadRelaxed() || !FPresage)
    return;
  std::vector<Scored> found;
  PredictionResult r = libraryCall([&] { found = lookUp(text); });
  // The library reads the learning file without waiting: held by another program, it fails.
  // The base model answers alone until a lesson finds the file free again.
  if (!r.ok() && FLearning.isOpen()) {
    FLearning.close();
    if (restartLibrary())
      r = libraryCall([&] { found = lookUp(text); });
  }
  // A query the library still could not run: no suggestions this time, the scan goes on.
  if (!r.ok())
    found.clear();
  // Likeliest first; among equals, the shorter and then the alphabetical, so that the same text
  // always gets the same answer.
  std::stable_sort(found.begin(), found.end(), [](const Scored& a, const Scored& b) {
    if (a.probability != b.probability)
      return a.probability > b.probability;
    if (a.written.size() != b.written.size())
      return a.written.size() < b.written.size();
    return a.written < b.written;
  });
  // Where the board asks for it, words shown for an earlier letter of this word and let go by
  // come after the others: they fill the row only when nothing else is left.
  FPassedOver.moveTo(text);
  if (FReplacePassedOver)
    std::stable_partition(found.begin(), found.end(),
                          [this](const Scored& s) { return !FPassedOver.contains(s.written); });
  QStringList words;
  const QString typed = frenchtext::wordPrefix(text);
  const bool start = frenchtext::startsPhrase(text);
  for (const Scored& s : found) {
    if (words.size() >= FCount)
      break;
    const QString shown = frenchtext::restoreCase(s.written, typed, start);
    if (!words.contains(shown))
      words << shown;
  }
  FPassedOver.shown(words);
  emit answered(id, words);
}

std::vector<PresageWorker::Scored> PresageWorker::ask(const QString& past,
                                                      const QStringList& beginnings) {
  FContext->past = utf8(past);
  std::vector<std::string> filter;
  for (const QString& b : beginnings)
    filter.push_back(utf8(b));
  std::vector<Scored> out;
  for (const auto& [probability, word] : FPresage->predict(filter)) {
    const QString w = QString::fromStdString(word);
    if (!w.isEmpty() && !w.contains(QChar(frenchtext::kPhraseStart)))
      out.push_back({probability, w, {}});
  }
  return out;
}

std::vector<PresageWorker::Scored> PresageWorker::lookUp(const QString& text) {
  FPresage->config("Presage.Selector.SUGGESTIONS", std::to_string(FCount + kSpareWords));
  const QString typed = frenchtext::wordPrefix(text);
  const QString folded = frenchtext::fold(typed);
  std::vector<Scored> out;
  if (folded.isEmpty()) {
    // After a space: the next word from the context alone (an empty beginning matches all).
    // Where the phrase likely ends, its sign is offered among the words; never before its
    // first word, and only right after a word (not after "j'", nor after a comma).
    const QString past = frenchtext::toModel(text);
    const QString before = text.trimmed();
    const bool signs = !frenchtext::startsPhrase(text) && text.endsWith(QLatin1Char(' ')) &&
                       !before.isEmpty() && before.back().isLetterOrNumber();
    for (Scored& s : ask(past, {QString()})) {
      s.written = frenchtext::endSign(s.modelWord);
      if (s.written.isEmpty())
        s.written = FWords.written(s.modelWord);
      else if (!signs)
        continue;
      out.push_back(s);
    }
    addElidedPairs(past, out);
    return out;
  }
  // The context without the word being written, which the beginnings stand for.
  const QString past = frenchtext::toModel(text.left(text.size() - typed.size()));
  QStringList beginnings = FWords.beginningsFor(folded, kMostBeginnings);
  // Nothing in the index (a word the model lacks): still asked as typed, which costs nothing
  // more, since every spelling the index knows is already asked.
  if (beginnings.isEmpty())
    beginnings << frenchtext::toModel(typed).section(QLatin1Char(' '), -1);
  // "jai" may be "j'" and then "ai": the elided word's own chance is asked with the rest.
  QList<std::pair<QString, QString>> elisions; // elided word, what follows it folded
  for (const QString& e : frenchtext::elidedWords()) {
    const QString f = frenchtext::fold(e);
    if (folded.size() > f.size() && folded.startsWith(f)) {
      elisions.append({e, folded.mid(f.size())});
      beginnings << e;
    }
  }
  QHash<QString, double> elidedChance;
  for (Scored& s : ask(past, beginnings)) {
    if (frenchtext::elidedWords().contains(s.modelWord))
      elidedChance.insert(s.modelWord, s.probability);
    if (frenchtext::fold(s.modelWord).startsWith(folded)) {
      s.written = FWords.written(s.modelWord);
      out.push_back(s);
    }
  }
  for (const auto& [elided, rest] : elisions) {
    const double chance = elidedChance.value(elided, 0.0);
    const QStringList after = FWords.beginningsFor(rest, kMostBeginnings);
    if (chance <= 0.0 || after.isEmpty())
      continue;
    for (Scored& s : ask(past + elided + QLatin1Char(' '), after)) {
      if (!frenchtext::fold(s.modelWord).startsWith(rest) || !FWords.follows(elided, s.modelWord))
        continue;
      s.probability *= chance;
      s.written = frenchtext::fromModel(elided) + FWords.written(s.modelWord);
      out.push_back(s);
    }
  }
  addElidedPairs(past, out);
  return out;
}

void PresageWorker::addElidedPairs(const QString& past, std::vector<Scored>& found) {
  // Only an elided word the person would see is worth a question more: a few milliseconds each.
  std::vector<Scored> shown = found;
  std::stable_sort(shown.begin(), shown.end(),
                   [](const Scored& a, const Scored& b) { return a.probability > b.probability; });
  if (int(shown.size()) > FCount)
    shown.resize(size_t(FCount));
  int asked = 0;
  for (const Scored& e : shown) {
    if (!frenchtext::elidedWords().contains(e.modelWord) || asked++ >= kMostElidedPairs)
      continue;
    // An empty beginning: every word the model has after the elided one.
    std::vector<Scored> next = ask(past + e.modelWord + QLatin1Char(' '), {QString()});
    std::stable_sort(next.begin(), next.end(), [](const Scored& a, const Scored& b) {
      return a.probability > b.probability;
    });
    int added = 0;
    for (const Scored& n : next) {
      if (added >= kPairsPerElision)
        break;
      if (!FWords.follows(e.modelWord, n.modelWord))
        continue;
      // Below the elided word alone, which stays offered for every other word after it.
      found.push_back({e.probability * n.probability, e.modelWord + n.modelWord,
                       e.written + FWords.written(n.modelWord)});
      ++added;
    }
  }
}

void PresageWorker::keepForLater(const QStringList& phrases, const QStringList& boardTexts) {
  keepLast(FWaitingPhrases, phrases);
  keepLast(FWaitingBoardTexts, boardTexts);
}

void PresageWorker::learnWhatWaits() {
  if (!FAvailable)
    return;
  if (!FLearning.isOpen()) {
    // Busy or unwritable when last tried: tried again now, and the library reads it once free.
    if (!openLearningFile().ok() || !restartLibrary())
      return;
  }
  PredictionResult r = FLearning.learn(FWaitingPhrases);
  if (r.ok()) {
    FWords.addPhrases(modelPhrases(FWaitingPhrases));
    FWaitingPhrases.clear();
    r = FLearning.teachOnce(FWaitingBoardTexts);
  }
  if (r.ok()) {
    FWords.addPhrases(modelPhrases(FWaitingBoardTexts));
    FWaitingBoardTexts.clear();
    return;
  }
  // Held by another program beyond the wait: the lessons wait, the base model answers alone
  // so that no prediction waits on the file.
  FLearning.close();
  restartLibrary();
}

bool PresageWorker::restartLibrary() {
  if (writeConfiguration().ok() && startLibrary().ok())
    return true;
  close();
  emit statusFound(WordPredictor::Status::ModelDamaged);
  return false;
}

void PresageWorker::learn(const QString& phrase) {
  keepForLater({phrase}, {});
  learnWhatWaits();
}

void PresageWorker::teachBoard(const QStringList& texts) {
  keepForLater({}, texts);
  learnWhatWaits();
}

PredictionResult PresageWorker::forget() {
  close();
  FWaitingPhrases.clear();
  FWaitingBoardTexts.clear();
  const PredictionResult r =
      FUserModelPath.isEmpty() ? PredictionResult::done() : LearningFile::forget(FUserModelPath);
  openPresage();
  return r;
}
