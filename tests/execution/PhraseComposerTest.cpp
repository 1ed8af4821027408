// Phrase composition on a display area ten characters wide: appending texts and the reserved
// commands, as the user sees their effect in the area and in the phrase state.
#include "execution/PhraseComposer.h"
#include "execution/LineModel.h"
#include "support/TestRegistry.h"

#include <QtTest>

namespace {
BoardFont phraseFont() {
  BoardFont f;
  f.name = QStringLiteral("Phrase");
  return f;
}
BoardFont validatedFont() {
  BoardFont f;
  f.name = QStringLiteral("Validated");
  return f;
}

// A display area with its composer, and the captions that exist on the board.
struct Session {
  LineModel lines{10};
  PhraseComposer composer{lines};
  QStringList captions;
  QStringList added; // what AJOUT gave to add to "Divers"

  // "w:text" an ordinary text, "l:text" a text of a letter tab, "s:n:word" a suggested word
  // in place of the last n characters, "g:sign" a suggested sign, and the commands
  // "A" AJOUT, "V" VALIDATION, "S" SUPPRESSION, "U" ANNULATION, "C" CLEAR.
  void run(const QStringList& script) {
    for (const QString& step : script) {
      if (step.startsWith(QLatin1String("w:")))
        composer.AppendText(step.mid(2), false, phraseFont());
      else if (step.startsWith(QLatin1String("l:")))
        composer.AppendText(step.mid(2), true, phraseFont());
      else if (step.startsWith(QLatin1String("g:")))
        composer.AppendSign(step.mid(2), phraseFont());
      else if (step.startsWith(QLatin1String("s:")))
        composer.CompleteWord(step.section(QLatin1Char(':'), 1, 1).toInt(),
                              step.section(QLatin1Char(':'), 2), phraseFont());
      else if (step == QLatin1String("A")) {
        const auto t = composer.Ajout(validatedFont(),
                                      [this](const QString& c) { return captions.contains(c); });
        if (t) {
          added << *t;
          captions << *t;
        }
      } else if (step == QLatin1String("V"))
        composer.Validation(validatedFont());
      else if (step == QLatin1String("S"))
        composer.Suppression();
      else if (step == QLatin1String("U"))
        composer.Annulation();
      else if (step == QLatin1String("C"))
        composer.Clear();
    }
  }
};
} // namespace

class PhraseComposerTest : public QObject {
  Q_OBJECT
private slots:
  void compose_data() {
    QTest::addColumn<QStringList>("script");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("entered");
    QTest::addColumn<QString>("starts"); // FPhraseStarts joined with ','
    QTest::addColumn<QStringList>("added");
    using L = QStringList;
    QTest::newRow("word on an empty area") << L{"w:Je"} << "Je " << L{"Je "} << "0" << L{};
    QTest::newRow("letters join") << L{"l:b", "l:o", "l:n"} << "Bon" << L{"B", "o", "n"} << "0"
                                  << L{};
    QTest::newRow("undo a letter")
        << L{"l:b", "l:o", "l:n", "U"} << "Bo" << L{"B", "o"} << "0" << L{};
    QTest::newRow("undo two letters")
        << L{"l:b", "l:o", "l:n", "U", "U"} << "B" << L{"B"} << "0" << L{};
    QTest::newRow("undo a word") << L{"w:Je", "w:veux", "U"} << "Je " << L{"Je "} << "0" << L{};
    QTest::newRow("undo a word moved to the next line")
        << L{"w:Je", "w:veux", "w:manger", "U"} << "Je veux " << L{"Je ", "veux "} << "0" << L{};
    QTest::newRow("undo a word cut over three lines")
        << L{"w:Je", "w:abcdefghijkl", "U"} << "Je " << L{"Je "} << "0" << L{};
    QTest::newRow("undo letters cut over two lines")
        << L{"l:abcdefgh", "l:ijkl", "U"} << "Abcdefgh" << L{"Abcdefgh"} << "0" << L{};
    QTest::newRow("undo everything, next text on the fresh line")
        << L{"w:Je", "V", "w:Tu", "U", "U", "w:Oui"} << "Je \nOui " << L{"Oui "} << "0,1" << L{};
    QTest::newRow("undo stops at the closed phrase") << L{"w:Je", "V", "U"} << "Je \n"
                                                     << L{} << "0,1" << L{};
    QTest::newRow("undo on an empty area") << L{"U", "w:Je"} << "Je " << L{"Je "} << "0" << L{};
    QTest::newRow("validation starts a new line")
        << L{"w:Je", "w:veux", "V", "w:Tu"} << "Je veux \nTu " << L{"Tu "} << "0,1" << L{};
    QTest::newRow("validation of a wrapped phrase")
        << L{"w:Je", "w:veux", "w:manger", "V", "w:Tu"} << "Je veux manger \nTu " << L{"Tu "}
        << "0,2" << L{};
    QTest::newRow("validation of nothing") << L{"V", "w:Je", "V", "V"} << "Je \n"
                                           << L{} << "0,1" << L{};
    QTest::newRow("ajout drops the last space") << L{"w:Je", "w:veux", "A"} << "Je veux \n"
                                                << L{} << "0,1" << L{"Je veux"};
    QTest::newRow("ajout of an existing caption adds and records nothing")
        << L{"w:Je", "w:veux", "A", "w:Je", "w:veux", "A"} << "Je veux \nJe veux \n"
        << L{} << "0,1" << L{"Je veux"};
    QTest::newRow("ajout joins a wrapped phrase")
        << L{"w:Il", "w:mange", "w:bien", "A"} << "Il mange bien \n"
        << L{} << "0,2" << L{"Il mange bien"};
    QTest::newRow("ajout keeps the last letter") << L{"l:b", "l:o", "l:n", "A"} << "Bon\n"
                                                 << L{} << "0,1" << L{"Bon"};
    QTest::newRow("ajout of nothing") << L{"A"} << "" << L{} << "0" << L{};
    QTest::newRow("ajout after clear") << L{"C", "w:Oui", "A"} << "\nOui \n"
                                       << L{} << "0,2" << L{"Oui"};
    QTest::newRow("ajout after suppression")
        << L{"w:Je", "V", "w:Tu", "S", "w:Oui", "A"} << "Je \n\nOui \n"
        << L{} << "0,1,3" << L{"Oui"};
    QTest::newRow("suppression of the phrase") << L{"w:Je", "V", "w:Tu", "S"} << "Je \n\n"
                                               << L{} << "0,1" << L{};
    QTest::newRow("suppression of a wrapped phrase")
        << L{"w:Je", "V", "w:Il", "w:mange", "w:bien", "S"} << "Je \n\n"
        << L{} << "0,1" << L{};
    QTest::newRow("second suppression deletes the previous phrase")
        << L{"w:Je", "V", "w:Tu", "S", "S"} << "\n"
        << L{} << "0" << L{};
    // The sequences a person really makes: a SUPPRESSION right after a closed phrase deletes
    // nothing, the next one deletes the phrase closed before.
    QTest::newRow("validation then suppression deletes nothing") << L{"w:Je", "V", "S"} << "Je \n\n"
                                                                 << L{} << "0,1" << L{};
    QTest::newRow("validation, suppression, then a text")
        << L{"w:Je", "V", "S", "w:Tu"} << "Je \n\nTu " << L{"Tu "} << "0,1" << L{};
    QTest::newRow("two phrases, suppression twice keeps the first")
        << L{"w:A", "V", "w:B", "V", "S", "S"} << "A \n\n"
        << L{} << "0,1" << L{};
    QTest::newRow("ajout then suppression deletes nothing")
        << L{"w:Je", "w:veux", "A", "S"} << "Je veux \n\n"
        << L{} << "0,1" << L{"Je veux"};
    QTest::newRow("ajout then annulation undoes nothing, a text follows on the fresh line")
        << L{"w:Je", "w:veux", "A", "U", "w:Tu"} << "Je veux \nTu " << L{"Tu "} << "0,1"
        << L{"Je veux"};
    QTest::newRow("suppression then a text")
        << L{"w:Je", "V", "w:Tu", "S", "w:Oui"} << "Je \n\nOui " << L{"Oui "} << "0,1" << L{};
    QTest::newRow("suppression on an empty area") << L{"S"} << "" << L{} << "0" << L{};
    QTest::newRow("suppression after clear deletes the new phrase")
        << L{"w:A", "V", "w:B", "V", "w:C", "V", "C", "w:Je", "S"} << "\n"
        << L{} << "0" << L{};
    QTest::newRow("suggestion replaces the letters, one undo takes the word")
        << L{"l:b", "l:o", "s:2:bonjour ", "l:x", "U", "U"} << "" << L{} << "0" << L{};
    QTest::newRow("suggestion after a word")
        << L{"w:Je", "l:v", "s:1:veux "} << "Je veux " << L{"Je ", "veux "} << "0" << L{};
    QTest::newRow("suggestion at the start of a word")
        << L{"w:Je", "s:0:veux ", "U"} << "Je " << L{"Je "} << "0" << L{};
    QTest::newRow("suggestion wraps onto the next line, undone whole")
        << L{"w:Je", "w:veux", "l:m", "l:a", "s:2:manger ", "U"} << "Je veux " << L{"Je ", "veux "}
        << "0" << L{};
    QTest::newRow("suggestion on the fresh line of a new phrase")
        << L{"w:Je", "V", "l:b", "l:o", "s:2:Bonjour "} << "Je \nBonjour " << L{"Bonjour "} << "0,1"
        << L{};
    QTest::newRow("a text partly in the word is taken back with it")
        << L{"l:x", "l:ab", "s:1:bon ", "U"} << "X" << L{"X"} << "0" << L{};
    // A comma or a full stop after a suggestion takes the suggestion's space: "mot, ".
    QTest::newRow("comma after a suggestion")
        << L{"w:Je", "s:0:veux ", "l:,", "l:b"} << "Je veux, b" << L{"Je ", "veux", ", ", "b"}
        << "0" << L{};
    QTest::newRow("full stop after a suggestion, validated")
        << L{"s:0:Oui ", "l:.", "V"} << "Oui. \n"
        << L{} << "0,1" << L{};
    QTest::newRow("undoing the comma gives the space back")
        << L{"w:Je", "s:0:veux ", "l:,", "U", "l:m"} << "Je veux m" << L{"Je ", "veux ", "m"} << "0"
        << L{};
    QTest::newRow("undoing after the comma keeps it")
        << L{"w:Je", "s:0:veux ", "l:,", "l:m", "U", "U"} << "Je veux " << L{"Je ", "veux "} << "0"
        << L{};
    QTest::newRow("suggested full stop after a suggestion, undone alone")
        << L{"s:0:Merci ", "g:.", "U"} << "Merci " << L{"Merci "} << "0" << L{};
    QTest::newRow("suggested full stop after a typed space, undone gives the space back")
        << L{"l:o", "l:u", "l:i", "l: ", "g:.", "U", "l:m"} << "Oui m" << L{"O", "u", "i", " ", "m"}
        << "0" << L{};
    QTest::newRow("suggested question mark keeps the space before it")
        << L{"s:0:Merci ", "g:?", "l:b"} << "Merci ? B" << L{"Merci ", "? ", "B"} << "0" << L{};
    QTest::newRow("suggested full stop, then the next phrase's word")
        << L{"s:0:Merci ", "g:.", "s:0:Oui ", "V"} << "Merci. Oui \n"
        << L{} << "0,1" << L{};
    QTest::newRow("comma after a word button keeps its space")
        << L{"w:Je", "l:,"} << "Je ," << L{"Je ", ","} << "0" << L{};
    QTest::newRow("question mark after a suggestion keeps the space before it")
        << L{"s:0:Oui ", "l:?"} << "Oui ?" << L{"Oui ", "?"} << "0" << L{};
    QTest::newRow("comma after a suggestion then a letter")
        << L{"s:0:Oui ", "l:a", "l:,"} << "Oui a," << L{"Oui ", "a", ","} << "0" << L{};
    QTest::newRow("clear") << L{"w:Je", "w:veux", "C"} << "\n" << L{} << "0" << L{};
    QTest::newRow("clear then a text")
        << L{"w:Je", "V", "C", "w:Tu"} << "\nTu " << L{"Tu "} << "0" << L{};
  }
  void compose() {
    QFETCH(QStringList, script);
    QFETCH(QString, text);
    QFETCH(QStringList, entered);
    QFETCH(QString, starts);
    QFETCH(QStringList, added);
    Session s;
    s.run(script);
    QCOMPARE(s.lines.text(), text);
    QCOMPARE(s.composer.FEnteredTexts, entered);
    QCOMPARE(s.composer.FPhraseStarts.join(QLatin1Char(',')), starts);
    QCOMPARE(s.added, added);
  }

  // What is spelled letter by letter, or chosen to finish a word, takes a capital where French
  // puts one; elsewhere it stays as typed, and other texts are written as they are.
  void capitals_data() {
    QTest::addColumn<QStringList>("script");
    QTest::addColumn<QString>("text");
    using L = QStringList;
    QTest::newRow("phrase start") << L{"l:o", "l:u", "l:i"} << "Oui";
    QTest::newRow("after a full stop and a space")
        << L{"l:o", "l:.", "l: ", "l:m", "l:e"} << "O. Me";
    QTest::newRow("after an exclamation mark") << L{"l:o", "l:!", "l: ", "l:b"} << "O! B";
    QTest::newRow("after a question mark") << L{"l:o", "l:?", "l: ", "l:b"} << "O? B";
    QTest::newRow("no capital after a comma") << L{"l:o", "l:,", "l: ", "l:b"} << "O, b";
    QTest::newRow("no capital after a point inside a word")
        << L{"l:w", "l:w", "l:w", "l:.", "l:f", "l:r"} << "Www.fr";
    QTest::newRow("no capital mid-phrase") << L{"l:j", "l:e", "l: ", "l:v"} << "Je v";
    QTest::newRow("after an opening quotation at the phrase start")
        << L{"l:«", "l: ", "l:b", "l:o"} << "« Bo";
    QTest::newRow("quotation mid-phrase stays as typed")
        << L{"l:i", "l: ", "l:«", "l: ", "l:b"} << "I « b";
    QTest::newRow("a capital typed mid-phrase is kept") << L{"l:a", "l: ", "l:P"} << "A P";
    QTest::newRow("a word text is written as it is") << L{"w:bonjour"} << "bonjour ";
    QTest::newRow("new phrase after validation") << L{"l:a", "V", "l:b"} << "A\nB";
    QTest::newRow("suggestion at the phrase start") << L{"l:t", "l:r", "s:2:très "} << "Très ";
    QTest::newRow("suggestion mid-phrase keeps the proper noun")
        << L{"l:a", "l: ", "l:p", "s:1:Paris "} << "A Paris ";
    QTest::newRow("capitalised suggestion taken back whole")
        << L{"l:a", "l:. ", "l:t", "s:1:très ", "U"} << "A. ";
  }
  void capitals() {
    QFETCH(QStringList, script);
    QFETCH(QString, text);
    Session s;
    s.run(script);
    QCOMPARE(s.lines.text(), text);
  }

  void validationFonts() {
    Session s;
    s.run({"w:Je", "w:veux", "V"});
    // All but the last character (the space) is in the font of validated phrases.
    for (int p = 0; p < 7; ++p)
      QCOMPARE(s.lines.fontAt(p)->name, validatedFont().name);
    QCOMPARE(s.lines.fontAt(7)->name, phraseFont().name);
    QCOMPARE(s.composer.FPhraseStartLine, 1);
    QVERIFY(s.composer.FFreshLine);
    QCOMPARE(s.composer.FPhraseStartPos, 9);
    s.run({"w:Tu"});
    QCOMPARE(s.lines.fontAt(9)->name, phraseFont().name);
    QCOMPARE(s.lines.fontAt(6)->name, validatedFont().name);
    QCOMPARE(s.lines.caret(), 12);
  }

  void appendFormatsThePhraseAndScrolls() {
    Session s;
    s.run({"w:Je", "w:veux"});
    for (int p = 0; p < 8; ++p)
      QCOMPARE(s.lines.fontAt(p)->name, phraseFont().name);
    QCOMPARE(s.lines.caret(), 8);
    QCOMPARE(s.lines.scrolls(), 2);
    s.run({"U", "S"});
    QCOMPARE(s.lines.scrolls(), 2);
  }

  void commandsOnAnEmptyAreaAreSafe() {
    // The caret at 0 gives no negative range or position.
    Session s;
    s.run({"V", "A", "S", "U", "C", "V", "S", "U"});
    QCOMPARE(s.lines.caret(), int(s.lines.text().size()));
    QVERIFY(s.composer.FEnteredTexts.isEmpty());
  }
};

ORIVOX_TEST(PhraseComposerTest)
#include "PhraseComposerTest.moc"
