// Communication rate of the scanning: a simulated user who presses exactly when the wanted item
// is lit writes a French text on the default board through the real Scanner, on a time that
// only the simulation moves. One line per scanning mode: steps, seconds and characters a
// minute. Then the same user brushing the switch and pressing twice now and then, counted in
// wrong actions without and with an acceptance time and a pause after each selection.
//
//   rate_bench [text file]   (default: bench/data/fables.txt)
#include "board/ButtonLayout.h"
#include "board/DefaultBoard.h"
#include "board/LetterFrequency.h"
#include "execution/Scanner.h"
#include "execution/SwitchInput.h"
#include "prediction/FrenchText.h"
#include "prediction/PresagePredictor.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QRandomGenerator>
#include <QStringList>
#include <QTemporaryDir>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <utility>

namespace {

constexpr int kTabPaceMs = 3000;
constexpr int kTextPaceMs = 1000;
constexpr int kPageWidth = 1000; // the tab control of a window on a 1024-pixel-wide screen
constexpr int kGridColumns = 6;
// Reserved buttons measured as an 8-point font roughly draws capitals: their row only has to
// fit the page, which it does by far.
constexpr int kCharWidth = 7;
constexpr int kButtonHeight = 20;

// Reserved buttons after the texts, in list order.
constexpr int kValidation = 2;
constexpr int kRetour = 5;
const QStringList kReserved{"ANNULATION", "SUPPRESSION", "VALIDATION", "AJOUT",
                            "CLEAR",      "RETOUR",      "SONNERIE"};

// The default board: "Divers" (no texts), "Alphabet", "Autres caractères"; the last one is
// active at start. With prediction, the two letter pages start with a row of suggestions.
struct Board {
  std::vector<QStringList> texts;
  std::vector<ScanTab> tabs;
  std::vector<int> offsets; // the suggestions before the texts of each tab

  explicit Board(bool grid, int suggestions = 0,
                 const QStringList& letters = defaultboard::alphabetTexts(),
                 const QStringList& others = defaultboard::otherCharacterTexts()) {
    texts = {QStringList{}, letters, others};
    offsets = {0, suggestions, suggestions};
    for (size_t i = 0; i < texts.size(); ++i) {
      const QStringList& t = texts[i];
      const int offset = offsets[i];
      ScanTab tab;
      tab.itemCount = offset + int(t.size()) + int(kReserved.size());
      tab.restartAfterChoice = offset > 0;
      if (grid) {
        buttonlayout::Input in;
        in.tabControlWidth = kPageWidth;
        in.pageHeight = 600;
        in.gridColumns = kGridColumns;
        const int cell = buttonlayout::gridCellWidth(kPageWidth, kGridColumns);
        in.texts.assign(size_t(t.size()), QSize(cell, kButtonHeight));
        for (const QString& r : kReserved)
          in.reserved.push_back(QSize(int(r.size()) * kCharWidth + 16, kButtonHeight));
        if (offset > 0)
          tab.rows.push_back(ScanRow{0, offset});
        for (const buttonlayout::Row& row : buttonlayout::arrange(in).rows)
          tab.rows.push_back(ScanRow{offset + row.first, row.count});
      }
      tabs.push_back(tab);
    }
  }
  int reserved(int tab, int which) const {
    return offsets[size_t(tab)] + int(texts[size_t(tab)].size()) + which;
  }
  int rowOf(int tab, int item) const {
    const auto& rows = tabs[size_t(tab)].rows;
    for (size_t r = 0; r < rows.size(); ++r)
      if (item >= rows[r].first && item < rows[r].first + rows[r].count)
        return int(r);
    return -1;
  }
  // The item that writes c, preferring the tab the user is on; -1 when on no tab.
  std::pair<int, int> find(const QString& c, int preferredTab) const {
    if (preferredTab >= 0 && texts[size_t(preferredTab)].contains(c))
      return {preferredTab,
              offsets[size_t(preferredTab)] + int(texts[size_t(preferredTab)].indexOf(c))};
    for (int t = 0; t < int(texts.size()); ++t)
      if (texts[size_t(t)].contains(c))
        return {t, offsets[size_t(t)] + int(texts[size_t(t)].indexOf(c))};
    return {-1, -1};
  }
};

// The characters the board can write for a text: lower case, accents the board lacks dropped,
// quotation marks as '"', dashes as '-', apostrophes left out, white space as spaces.
QString boardForm(const QString& text, const Board& board) {
  QString s;
  for (QChar ch : text) {
    const QString lower = QString(ch).toLower();
    const QString c = lower.normalized(QString::NormalizationForm_D).left(1);
    if (ch.isSpace())
      s += ' ';
    else if (board.find(lower, -1).first >= 0)
      s += lower;
    else if (ch == QChar(0x00AB) || ch == QChar(0x00BB) || ch == QChar(0x201C) ||
             ch == QChar(0x201D))
      s += '"';
    else if (ch == QChar(0x2014) || ch == QChar(0x2013))
      s += '-';
    else if (ch == QChar(0x0153))
      s += QStringLiteral("oe");
    else if (ch == QChar(0x00E6))
      s += QStringLiteral("ae");
    else if (board.find(c, -1).first >= 0)
      s += c; // ê, î, ô, û, â... as the bare letter
  }
  return s;
}

// The text as the user writes it: lower case, accents the board lacks dropped, quotation
// marks as '"', dashes as '-', apostrophes left out, runs of white space as one space. An
// empty token is VALIDATION, after each sentence; the spaces after it are not written.
QStringList tokens(const QString& text, const Board& board) {
  QString s = boardForm(text, board);
  QStringList out;
  bool space = true; // no space at the start of a line
  for (int i = 0; i < s.size(); ++i) {
    const QChar ch = s.at(i);
    if (ch == ' ') {
      if (!space)
        out << QStringLiteral(" ");
      space = true;
      continue;
    }
    space = false;
    out << QString(ch);
    const bool end = ch == '.' || ch == '!' || ch == '?';
    int j = i + 1;
    if (end && j < s.size() && s.at(j) == '"')
      out << QString(s.at(j++));
    if (end && (j >= s.size() || s.at(j) == ' ')) {
      out << QString(); // VALIDATION
      space = true;
      i = j - 1;
    }
  }
  while (!out.isEmpty() && out.last() == QStringLiteral(" "))
    out.removeLast();
  return out;
}

struct Figures {
  long choices = 0; // letters, signs and suggestions chosen (VALIDATION not counted)
  int suggestionsTaken = 0;
  long steps = 0;
  qint64 ms = 0;
  int characters = 0;
  int wrong = 0;
  int brushes = 0;
  int doubles = 0;
  QString written; // what the display area shows at the end, phrase after phrase
};

// The real predictor, asked as the window would: what the person sees after each choice. The
// scan's time is simulated, so the user takes each answer as the scan would show it, however
// long the machine took to give it: an answer given up on after a few real seconds (a model
// opening slowly while a build runs) once changed what the user saw, and so the figures.
// Each prediction's real wait is kept for the latency figures; opening and learning are not
// predictions and are not counted.
class Oracle {
public:
  Oracle(const QString& model, const QString& userModel, int count, bool replacePassedOver = false)
      : FPredictor(model, userModel) {
    FPredictor.setSuggestionCount(count);
    FPredictor.setReplacePassedOver(replacePassedOver);
    QObject::connect(&FPredictor, &WordPredictor::suggestions,
                     [this](int id, const QStringList& words) {
                       if (id == FId) {
                         FWords = words;
                         FAnswered = true;
                         FLoop.quit();
                       }
                     });
  }
  bool ready() {
    wait(QString()); // the model opens on the first request's way
    return FPredictor.status() == WordPredictor::Status::Ok;
  }
  QStringList ask(const QString& text) {
    if (!FOpened) {
      FOpened = true;
      wait(QString());
    }
    QElapsedTimer t;
    t.start();
    const QStringList words = wait(text);
    FLatencies.push_back(double(t.nsecsElapsed()) / 1e6);
    return words;
  }
  void learn(const QString& text) {
    FPredictor.learn(text);
    wait(QString()); // queued after the learning: returns once it is done
    FOpened = true;
  }
  std::vector<double>& latencies() { return FLatencies; }
  // Requests never answered within kGiveUpMs: the figures of that run are not to be trusted.
  int unanswered() const { return FUnanswered; }

private:
  static constexpr int kGiveUpMs = 120000;

  QStringList wait(const QString& text) {
    FWords.clear();
    FAnswered = false;
    FPredictor.request(++FId, text);
    // A guard of this request only: a single-shot timer left from an earlier request would
    // end a later wait early.
    QTimer guard;
    guard.setSingleShot(true);
    QObject::connect(&guard, &QTimer::timeout, &FLoop, [this] { FLoop.quit(); });
    guard.start(kGiveUpMs);
    if (!FAnswered)
      FLoop.exec();
    if (!FAnswered)
      ++FUnanswered;
    return FWords;
  }

  PresagePredictor FPredictor;
  QEventLoop FLoop;
  QStringList FWords;
  bool FAnswered = false;
  bool FOpened = false;
  int FId = 0;
  int FUnanswered = 0;
  std::vector<double> FLatencies;
};

// The user and the switch: the program's own switch class, with its acceptance time (a press
// counts once held that long) and its pause after a selection (presses that start within it
// are ignored), between the simulated key and the scan.
class User {
public:
  User(const Board& board, bool rowColumn, int acceptanceMs, int pauseMs, double brushChance,
       double doubleChance)
      : FBoard(board), FAcceptanceMs(acceptanceMs), FPauseMs(pauseMs), FBrushChance(brushChance),
        FDoubleChance(doubleChance), FRng(20260101) {
    ScanSettings settings;
    settings.tabPaceMs = kTabPaceMs;
    settings.textPaceMs = kTextPaceMs;
    settings.rowColumn = rowColumn;
    FScanner.setSettings(settings);
    FScanner.setBoard(board.tabs);
    FScanner.start(0, 2);
    FSwitch.setSettings({acceptanceMs, pauseMs});
    FSwitch.phaseSource = [this] {
      if (FScanner.phase() == Scanner::Phase::Tabs)
        return SwitchInput::Phase::Tabs;
      if (FScanner.phase() != Scanner::Phase::Texts)
        return SwitchInput::Phase::Off;
      const ScanView& v = FScanner.view();
      return v.item >= 0 || v.row >= 0 ? SwitchInput::Phase::Texts
                                       : SwitchInput::Phase::TextsWaiting;
    };
    // As the window does: the scan hears of a whole press when the switch acts.
    FSwitch.onTabChosen = [this](int) {
      const ScanOutcome o = FScanner.pressed(FNow);
      FScanner.released(FNow);
      FDone = handle(o, *FAim) || FDone;
    };
    FSwitch.onItemActivated = [this](int) {
      FScanner.pressed(FNow);
      FDone = handle(FScanner.released(FNow), *FAim) || FDone;
    };
    // The scan holds still while the switch decides, as the window's does.
    FSwitch.onHoldStarted = [this](SwitchInput::Hold hold) {
      FScanner.hold(FNow, hold == SwitchInput::Hold::Acceptance);
    };
    FSwitch.onHoldEnded = [this] { FScanner.resume(FNow); };
  }

  // Two switches instead of automatic scanning: a user who presses the move switch every
  // 0.5 s and never misses, and presses the choose switch 0.5 s after the last press.
  void useTwoSwitches() {
    FStepping = true;
    ScanSettings settings = FScanner.settings();
    settings.mode = AccessMode::TwoSwitchStep;
    FScanner.setSettings(settings);
    FScanner.start(0, 2);
  }

  Figures write(const QStringList& toks) {
    for (const QString& t : toks) {
      const int onTab = FScanner.phase() == Scanner::Phase::Texts ? FScanner.view().tab : -1;
      if (t.isEmpty()) {
        const int tab = onTab >= 0 ? onTab : 1;
        choose(tab, FBoard.reserved(tab, kValidation));
        continue;
      }
      const auto [tab, item] = FBoard.find(t, onTab);
      if (tab < 0)
        continue;
      choose(tab, item);
      ++FFigures.characters;
    }
    FFigures.ms = FNow;
    return FFigures;
  }

  // The text written with the suggestions of `oracle`: before each letter of a word the user
  // looks at the suggestions and takes the word as soon as it is offered. An elided "j'" is a
  // word of its own; the apostrophe, not on the board, can only come from a suggestion.
  Figures writeWithPrediction(const QString& text, Oracle& oracle) {
    QString display;
    const QString t = text.normalized(QString::NormalizationForm_C);
    auto currentLetterTab = [this] {
      const int onTab = FScanner.phase() == Scanner::Phase::Texts ? FScanner.view().tab : -1;
      return FBoard.offsets[size_t(std::max(0, onTab))] > 0 ? onTab : 1;
    };
    auto typeChar = [&](const QString& c) {
      const int onTab = FScanner.phase() == Scanner::Phase::Texts ? FScanner.view().tab : -1;
      const auto [tab, item] = FBoard.find(c, onTab);
      if (tab < 0)
        return;
      choose(tab, item);
      // As the phrase composer writes a letter: a capital where French puts one.
      display += c.front().isLetter() && frenchtext::capitalHere(display) ? c.toUpper() : c;
      // As the composer does: a comma or a full stop takes a suggestion's space, "mot, ".
      if (std::exchange(FAfterSuggestion, false) &&
          (c == QLatin1String(",") || c == QLatin1String(".")) &&
          display.endsWith(QStringLiteral(" ") + c))
        display = display.chopped(2) + c + QLatin1Char(' ');
      ++FFigures.choices;
      ++FFigures.characters;
    };
    auto isWordChar = [](QChar c) { return c.isLetter(); };
    auto isJoiner = [](QChar c) { return c == '\'' || c == QChar(0x2019) || c == '-'; };
    qsizetype i = 0;
    while (i < t.size()) {
      const QChar ch = t.at(i);
      if (isWordChar(ch)) {
        qsizetype j = i;
        while (j < t.size() && (isWordChar(t.at(j)) ||
                                (isJoiner(t.at(j)) && j + 1 < t.size() && isWordChar(t.at(j + 1)))))
          ++j;
        writeWord(t.mid(i, j - i).replace(QChar(0x2019), '\''), display, oracle, currentLetterTab,
                  typeChar);
        i = j;
        continue;
      }
      const bool end = ch == '.' || ch == '!' || ch == '?';
      if (ch.isSpace()) {
        if (!display.isEmpty() && !display.endsWith(' '))
          typeChar(QStringLiteral(" "));
      } else {
        const QString c = boardForm(QString(ch), FBoard);
        // After a word and its space the phrase's end may be offered: taken when it is.
        if (!c.isEmpty() && !(frenchtext::isEndSign(c) && display.endsWith(' ') &&
                              takeSign(c, display, oracle, currentLetterTab)))
          typeChar(c);
      }
      ++i;
      if (end && (i >= t.size() || t.at(i).isSpace())) {
        const int onTab = FScanner.phase() == Scanner::Phase::Texts ? FScanner.view().tab : -1;
        const int tab = onTab >= 0 ? onTab : 1;
        choose(tab, FBoard.reserved(tab, kValidation));
        FFigures.written += display + QLatin1Char('\n');
        display.clear();
        while (i < t.size() && t.at(i).isSpace())
          ++i;
      }
    }
    FFigures.written += display;
    FFigures.ms = FNow;
    return FFigures;
  }

private:
  // The sign among the suggestions, chosen there as the composer writes it: "mot. ", "mot ? ".
  template <typename TabOf>
  bool takeSign(const QString& sign, QString& display, Oracle& oracle, TabOf tabOf) {
    const int index = int(oracle.ask(display).indexOf(sign));
    if (index < 0)
      return false;
    choose(tabOf(), index);
    if (sign == QLatin1String("."))
      display.chop(1);
    display += sign + QLatin1Char(' ');
    FAfterSuggestion = false;
    ++FFigures.choices;
    ++FFigures.suggestionsTaken;
    ++FFigures.characters;
    return true;
  }

  template <typename TabOf, typename Type>
  void writeWord(const QString& word, QString& display, Oracle& oracle, TabOf tabOf,
                 Type typeChar) {
    // "j'ai" is "j'" then "ai"; "aujourd'hui" stays whole.
    QStringList pieces;
    QString rest = word;
    for (;;) {
      const qsizetype apo = rest.indexOf('\'');
      const QString head = rest.left(apo);
      static const QStringList kElided{"c", "d",  "j",     "l",      "m",      "n",     "s",
                                       "t", "qu", "jusqu", "lorsqu", "puisqu", "quoiqu"};
      if (apo > 0 && kElided.contains(head.toLower())) {
        pieces << rest.left(apo + 1);
        rest = rest.mid(apo + 1);
      } else {
        break;
      }
    }
    pieces << rest;
    for (qsizetype p = 0; p < pieces.size(); ++p) {
      const QString& piece = pieces.at(p);
      // What is left of the word from this piece on: "j'ai" may be offered whole.
      const QString whole = QStringList(pieces.mid(p)).join(QString()).toLower();
      const QString letters = boardForm(piece, FBoard);
      bool tookWhole = false;
      bool took = false;
      for (qsizetype k = 0;; ++k) {
        const QStringList offered = oracle.ask(display);
        if (FTrace)
          std::fprintf(stderr, "  [%s] %s\n", qPrintable(display.right(24)),
                       qPrintable(offered.join(QStringLiteral(" | "))));
        int index = -1;
        for (int n = 0; n < offered.size(); ++n) {
          const QString o = offered.at(n).toLower();
          if (o == whole || (index < 0 && o == piece.toLower()))
            index = n;
          if (o == whole)
            break;
        }
        if (index >= 0) {
          choose(tabOf(), index);
          const frenchtext::Completion c = frenchtext::complete(display, offered.at(index));
          display.chop(c.remove);
          display += c.insert;
          ++FFigures.choices;
          ++FFigures.suggestionsTaken;
          FFigures.characters += int(c.insert.size()) - c.remove;
          tookWhole = offered.at(index).toLower() == whole;
          took = true;
          FAfterSuggestion = c.insert.endsWith(QLatin1Char(' '));
          break;
        }
        if (k >= letters.size())
          break;
        typeChar(letters.mid(k, 1));
      }
      if (FTrace)
        std::fprintf(stderr, "%s: %s\n", qPrintable(piece), took ? "offered" : "spelled");
      if (tookWhole)
        break;
    }
  }

  enum class Aim { None, Tab, Row, Item };
  struct Expect {
    Aim aim = Aim::None;
    int index = -1;
  };

  int holdMs() const { return FAcceptanceMs + 100; }
  // The user lets the pause after a selection run out before pressing again.
  qint64 nextPressMs() const { return std::max(FNow, FLastActionMs + FPauseMs); }
  bool canAct() const { return FScanner.deadline() - nextPressMs() > holdMs() + 50; }

  void choose(int tab, int item) {
    if (FStepping) {
      chooseStepping(tab, item);
      return;
    }
    for (int guard = 0; guard < 1000000; ++guard) {
      const ScanView v = FScanner.view();
      if (FScanner.phase() == Scanner::Phase::Tabs) {
        if (v.tab == tab && v.litTab == tab && canAct())
          press(Expect{Aim::Tab, tab});
        else
          advance();
        continue;
      }
      const int target = v.tab == tab ? item : FBoard.reserved(v.tab, kRetour);
      if (FScanner.textMode() == Scanner::TextMode::Rows) {
        if (v.row == FBoard.rowOf(v.tab, target) && canAct())
          press(Expect{Aim::Row, v.row});
        else
          advance();
        continue;
      }
      if (v.item == target && canAct()) {
        if (press(Expect{Aim::Item, target}) && v.tab == tab)
          return;
      } else {
        advance();
      }
    }
    std::fprintf(stderr, "the simulated user never reached item %d of tab %d\n", item, tab);
  }

  static constexpr int kStepPressMs = 500;

  // With two switches: the move switch until the wanted tab, row or text is lit, then the
  // choose switch; RETOUR first when the text is on another tab.
  void chooseStepping(int tab, int item) {
    for (int guard = 0; guard < 1000000; ++guard) {
      const ScanView v = FScanner.view();
      bool lit = false;
      Expect aim;
      if (FScanner.phase() == Scanner::Phase::Tabs) {
        lit = v.litTab == tab;
        aim = Expect{Aim::Tab, tab};
      } else {
        const int target = v.tab == tab ? item : FBoard.reserved(v.tab, kRetour);
        if (FScanner.textMode() == Scanner::TextMode::Rows) {
          lit = v.row >= 0 && v.row == FBoard.rowOf(v.tab, target);
          aim = Expect{Aim::Row, v.row};
        } else {
          lit = v.item == target;
          aim = Expect{Aim::Item, target};
        }
      }
      FNow += kStepPressMs;
      ++FFigures.steps;
      if (!lit) {
        FScanner.moved(FNow);
        continue;
      }
      const ScanOutcome o = FScanner.pressed(FNow);
      FScanner.released(FNow);
      if (handle(o, aim) && aim.aim == Aim::Item && v.tab == tab)
        return;
    }
    std::fprintf(stderr, "the simulated user never reached item %d of tab %d\n", item, tab);
  }

  // One tick; now and then a brush of the switch before it.
  void advance() {
    if (FBrushChance > 0 && FRng.generateDouble() < FBrushChance) {
      const qint64 room = FScanner.deadline() - FNow - 100;
      if (room > 0) {
        ++FFigures.brushes;
        raw(FNow + qint64(FRng.bounded(int(room))), 50, Expect{});
      }
    }
    FNow = std::max(FNow, FScanner.deadline());
    const ScanOutcome o = FScanner.tick(FNow);
    ++FFigures.steps;
    (void)o;
  }

  // The user's own press on the lit item; now and then a second, unwanted one right after.
  // True when it chose what was aimed at.
  bool press(const Expect& aim) {
    const bool done = raw(nextPressMs(), holdMs(), aim);
    if (FDoubleChance > 0 && FRng.generateDouble() < FDoubleChance &&
        FScanner.deadline() - FNow > 400) {
      ++FFigures.doubles;
      raw(FNow + 50 + qint64(FRng.bounded(150)), 80, Expect{});
    }
    return done;
  }

  // The switch down at `down` for `hold` ms (keypad 0), through the switch class.
  bool raw(qint64 down, int hold, const Expect& aim) {
    FAim = &aim;
    FDone = false;
    FNow = down;
    FSwitch.keyDown(96, false, FNow);
    switchUntil(down + hold);
    FSwitch.keyUp(96, false, FNow);
    switchUntil(FNow + SwitchInput::kRepeatGraceMs);
    return FDone;
  }

  // Time passes for the switch: what falls due (acceptance, a release made sure of) runs.
  void switchUntil(qint64 until) {
    while (const auto due = FSwitch.nextDeadline()) {
      if (*due > until)
        break;
      FNow = *due;
      FSwitch.timeout(FNow);
    }
    FNow = until;
  }

  // What the window would do with an outcome: RETOUR goes back to the tabs.
  bool handle(const ScanOutcome& o, const Expect& aim) {
    if (!o.acted())
      return false;
    FLastActionMs = FNow;
    bool right = false;
    if (o.tabChosen)
      right = aim.aim == Aim::Tab && o.view.tab == aim.index;
    else if (o.rowChosen)
      right = aim.aim == Aim::Row && o.view.row == aim.index;
    else
      right = aim.aim == Aim::Item && o.chosenItem == aim.index;
    if (!right)
      ++FFigures.wrong;
    if (o.chosenItem == FBoard.reserved(o.view.tab, kRetour))
      FScanner.returnToTabs(FNow);
    return right && o.chosenItem >= 0;
  }

  // ORIVOX_RATE_TRACE=1: what the user saw before each letter, on the error stream.
  const bool FTrace = qEnvironmentVariableIntValue("ORIVOX_RATE_TRACE") != 0;
  const Board& FBoard;
  Scanner FScanner;
  SwitchInput FSwitch;
  const Expect* FAim = nullptr;
  bool FDone = false;
  Figures FFigures;
  qint64 FNow = 0;
  qint64 FLastActionMs = std::numeric_limits<qint32>::min();
  int FAcceptanceMs;
  int FPauseMs;
  double FBrushChance;
  double FDoubleChance;
  QRandomGenerator FRng;
  bool FStepping = false;
  bool FAfterSuggestion = false; // the display ends with the space a suggestion brought
};

// The words of a text as a reader sees them: letters joined by an apostrophe or a hyphen,
// every apostrophe as "'", case and accents kept.
QStringList readerWords(const QString& text) {
  QStringList out;
  QString word;
  const QString t = text.normalized(QString::NormalizationForm_C);
  for (qsizetype i = 0; i <= t.size(); ++i) {
    const QChar c = i < t.size() ? t.at(i) : QChar(' ');
    const bool joiner = c == '\'' || c == QChar(0x2019) || c == '-';
    if (c.isLetter() || c.isMark() ||
        (joiner && !word.isEmpty() && i + 1 < t.size() && t.at(i + 1).isLetter())) {
      word += c == QChar(0x2019) ? QChar('\'') : c;
    } else if (!word.isEmpty()) {
      out << word;
      word.clear();
    }
  }
  return out;
}

// How many words of the source come out spelled exactly so, in order: the longest run of
// words the two texts share in order, so that one word lost or split costs one word only.
int wordsWrittenRight(const QStringList& source, const QStringList& written) {
  std::vector<int> row(size_t(written.size()) + 1, 0);
  for (const QString& w : source) {
    int diagonal = 0;
    for (qsizetype j = 0; j < written.size(); ++j) {
      const int above = row[size_t(j) + 1];
      row[size_t(j) + 1] = w == written.at(j) ? diagonal + 1 : std::max(above, row[size_t(j)]);
      diagonal = above;
    }
  }
  return row.back();
}

// Where a text is cut in two so that the first half can be learnt before the second is written:
// after the sentence end nearest the middle (". ", "! ", "? ", "… ", also before a closing "»")
// or at a blank line, whichever is nearer; in a text of one sentence, at the space nearest the
// middle. Cutting at a line end instead left nothing to write when the text is one line.
qsizetype middleCut(const QString& text) {
  const qsizetype middle = text.size() / 2;
  const auto isSentenceEnd = [](QChar c) {
    return c == '.' || c == '!' || c == '?' || c == QChar(0x2026);
  };
  const auto isSpace = [](QChar c) { return c.isSpace(); };
  qsizetype best = -1;
  qsizetype bestSpace = -1;
  const auto nearer = [middle](qsizetype a, qsizetype b) {
    return b < 0 || std::abs(a - middle) < std::abs(b - middle);
  };
  for (qsizetype i = 1; i < text.size(); ++i) {
    if (!isSpace(text.at(i)))
      continue;
    if (nearer(i, bestSpace))
      bestSpace = i;
    // Back over a closing guillemet and the space before it, to the sign that ends a sentence.
    qsizetype j = i - 1;
    if (text.at(j) == QChar(0x00BB)) {
      --j;
      while (j > 0 && isSpace(text.at(j)))
        --j;
    }
    const bool blankLine = text.at(i) == '\n' && text.at(i - 1) == '\n';
    if ((isSentenceEnd(text.at(j)) || blankLine) && nearer(i, best))
      best = i;
  }
  return best >= 0 ? best : bestSpace >= 0 ? bestSpace : text.size();
}

// A letter page's texts as the carer's "Ranger par fréquence" orders them, in the bench's
// grid of kGridColumns: what the person gets, measured.
QStringList byFrequency(const QStringList& texts) {
  QStringList placed;
  for (int i : letterfrequency::frequencyOrder(texts, kGridColumns))
    placed << texts.at(i);
  return placed;
}

} // namespace

// Prediction on the text: both scanning modes with 5 suggestions, then the keystroke saving
// on the second half before and after learning the first half, and the time of one prediction.
int predictionFigures(const QString& text) {
  const QString model = PresagePredictor::findModel();
  QTemporaryDir userDir;
  {
    Oracle probe(model, userDir.filePath(QStringLiteral("probe.db")), 5);
    if (model.isEmpty() || !probe.ready()) {
      std::fprintf(stderr, "prediction: no usable model (build the target orivox_model)\n");
      return 1;
    }
  }
  std::vector<double> latencies;
  int unanswered = 0;
  // Both letter pages of the default board ordered, as a carer would order them.
  const QStringList frequencyOrder = byFrequency(defaultboard::alphabetTexts());
  const QStringList othersByFrequency = byFrequency(defaultboard::otherCharacterTexts());
  const QStringList sourceWords = readerWords(text);
  auto run = [&](const QString& name, bool rowColumn, const QString& learnt, const QString& t,
                 const QString& userDb, const QStringList& letters,
                 const QStringList& others = defaultboard::otherCharacterTexts(),
                 bool replacePassedOver = false) {
    Oracle oracle(model, userDir.filePath(userDb), 5, replacePassedOver);
    if (!learnt.isEmpty())
      oracle.learn(learnt);
    const Board board(rowColumn, 5, letters, others);
    const Figures f = User(board, rowColumn, 0, 0, 0, 0).writeWithPrediction(t, oracle);
    latencies.insert(latencies.end(), oracle.latencies().begin(), oracle.latencies().end());
    unanswered += oracle.unanswered();
    if (f.characters == 0) { // no rate: nothing was written, in no time
      std::printf("%-48s no characters to write\n", qPrintable(name));
      return f;
    }
    const double chars = f.characters;
    std::printf(
        "%-48s %6.2f steps/char %6.2f chars/min  keystroke saving %5.1f %%  "
        "(%d characters, %ld choices, %d suggestions taken)\n",
        qPrintable(name), f.steps / chars, chars * 60000.0 / double(std::max<qint64>(1, f.ms)),
        100.0 * (1.0 - double(f.choices) / chars), f.characters, f.choices, f.suggestionsTaken);
    return f;
  };
  // How many of the text's words a run wrote exactly as the source spells them.
  auto exactLine = [&](const QString& name, const Figures& f) {
    const int right = wordsWrittenRight(sourceWords, readerWords(f.written));
    std::printf("words exact, %-35s %5.1f %%  (%d of %lld words)\n", qPrintable(name),
                100.0 * right / double(std::max<qsizetype>(1, sourceWords.size())), right,
                static_cast<long long>(sourceWords.size()));
  };
  const QStringList alphabet = defaultboard::alphabetTexts();
  run(QStringLiteral("linear + prediction"), false, {}, text, QStringLiteral("a.db"), alphabet);
  const Figures rc = run(QStringLiteral("row-column + prediction"), true, {}, text,
                         QStringLiteral("b.db"), alphabet);
  exactLine(QStringLiteral("row-column + prediction"), rc);
  if (!frequencyOrder.isEmpty()) {
    const QString name = QStringLiteral("row-column + prediction + letters by frequency");
    const auto sparedLine = [](const QString& mode, const Figures& f) {
      if (f.characters > 0)
        std::printf("choices spared by prediction, %s: %5.1f %%\n", qPrintable(mode),
                    100.0 * (1.0 - double(f.choices) / double(f.characters)));
    };
    const Figures fq =
        run(name, true, {}, text, QStringLiteral("e.db"), frequencyOrder, othersByFrequency);
    exactLine(name, fq);
    sparedLine(name, fq);
    // The board's option: a word let go by while a word is spelled gives its slot to another.
    const QString replacing = name + QStringLiteral(" + words let go by replaced");
    const Figures fr = run(replacing, true, {}, text, QStringLiteral("f.db"), frequencyOrder,
                           othersByFrequency, true);
    exactLine(replacing, fr);
    sparedLine(replacing, fr);
    std::printf("letters by frequency: %s\n",
                qPrintable(frequencyOrder.join(QString()).replace(' ', '_')));
    std::printf("other characters by frequency: %s\n",
                qPrintable(othersByFrequency.join(QString()).replace(' ', '_')));
  }
  const qsizetype cut = middleCut(text);
  const QString first = text.left(cut).trimmed();
  const QString second = text.mid(cut).trimmed();
  std::printf("halves: %lld and %lld characters of the text, cut after \"%s\"\n",
              static_cast<long long>(first.size()), static_cast<long long>(second.size()),
              qPrintable(first.right(30).simplified()));
  run(QStringLiteral("2nd half, prediction, not learnt"), true, {}, second, QStringLiteral("c.db"),
      alphabet);
  run(QStringLiteral("2nd half, prediction, 1st learnt"), true, first, second,
      QStringLiteral("d.db"), alphabet);
  if (latencies.empty())
    return 0;
  std::sort(latencies.begin(), latencies.end());
  const auto at = [&](double q) { return latencies[size_t(q * double(latencies.size() - 1))]; };
  std::printf("one prediction with the look-up without accents (%zu asked): median %.2f ms, "
              "99th percentile %.2f ms, max %.2f ms\n",
              latencies.size(), at(0.5), at(0.99), latencies.back());
  if (unanswered > 0) {
    std::fprintf(stderr, "%d requests unanswered after %d s: the figures above are not valid\n",
                 unanswered, 120);
    return 1;
  }
  return 0;
}

// Two-switch stepping on the text, linear and row-column, without and with 5 suggestions: the
// user presses a switch every 0.5 s and never misses.
void twoSwitchFigures(const QString& text) {
  const QString model = PresagePredictor::findModel();
  QTemporaryDir userDir;
  for (const bool rowColumn : {false, true}) {
    for (const bool predict : {false, true}) {
      const QString name =
          QStringLiteral("two switches, step 0.5 s, %1%2")
              .arg(rowColumn ? QStringLiteral("row-column") : QStringLiteral("linear"),
                   predict ? QStringLiteral(" + prediction") : QString());
      if (predict && model.isEmpty()) {
        std::printf("%-48s no model (build the target orivox_model)\n", qPrintable(name));
        continue;
      }
      const Board board(rowColumn, predict ? 5 : 0);
      User user(board, rowColumn, 0, 0, 0, 0);
      user.useTwoSwitches();
      Figures f;
      if (predict) {
        Oracle oracle(model, userDir.filePath(rowColumn ? "step-rc.db" : "step-lin.db"), 5);
        f = user.writeWithPrediction(text, oracle);
      } else {
        f = user.write(tokens(text, board));
      }
      if (f.characters == 0) {
        std::printf("%-48s no characters to write\n", qPrintable(name));
        continue;
      }
      const double chars = f.characters;
      std::printf("%-48s %6.2f presses/char %6.2f chars/min\n", qPrintable(name), f.steps / chars,
                  chars * 60000.0 / double(std::max<qint64>(1, f.ms)));
    }
  }
}

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  const QString path =
      argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral(ORIVOX_BENCH_DATA "/fables.txt");
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) {
    std::fprintf(stderr, "cannot read %s\n", qPrintable(path));
    return 1;
  }
  const QString text = QString::fromUtf8(file.readAll());

  struct Mode {
    const char* name;
    bool rowColumn;
  };
  const Mode modes[] = {{"linear", false}, {"row-column", true}};
  for (const Mode& m : modes) {
    const Board board(m.rowColumn);
    const Figures f = User(board, m.rowColumn, 0, 0, 0, 0).write(tokens(text, board));
    if (f.characters == 0) {
      std::printf("%-10s  no characters to write\n", m.name);
      continue;
    }
    const double chars = f.characters;
    std::printf("%-10s  %6.2f steps/char  %6.2f s/char  %6.2f chars/min\n", m.name, f.steps / chars,
                f.ms / 1000.0 / chars, chars * 60000.0 / double(f.ms));
  }
  // Brushes (50 ms) before about one step in twenty, a second press within 200 ms after one
  // choice in ten.
  for (const Mode& m : modes) {
    for (const auto& [acceptance, pause] : {std::pair{0, 0}, std::pair{300, 500}}) {
      const Board board(m.rowColumn);
      const Figures f =
          User(board, m.rowColumn, acceptance, pause, 0.05, 0.1).write(tokens(text, board));
      std::printf("brushing %-10s acceptance %.1f s, pause %.1f s: %d wrong actions "
                  "(%d brushes, %d double presses, %d characters, %.2f s/char)\n",
                  m.name, acceptance / 1000.0, pause / 1000.0, f.wrong, f.brushes, f.doubles,
                  f.characters, f.ms / 1000.0 / std::max(1, f.characters));
    }
  }
  twoSwitchFigures(text);
  return predictionFigures(text);
}
