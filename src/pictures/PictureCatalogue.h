// The built-in picture set as the carer searches it: the index written beside the program
// (share/orivox/pictures/index.tsv) and a search by French words over it. No widget.
#pragma once

#include <QHash>
#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

// The licence every built-in picture carries into the boards it travels to: a JSON object of the
// shape the exchanged boards give a picture's licence, written as it stands.
inline constexpr char kBuiltInLicence[] =
    R"({"type":"CC BY-SA 4.0",)"
    R"("copyright_notice_url":"https://creativecommons.org/licenses/by-sa/4.0/",)"
    R"("source_url":"https://openmoji.org/",)"
    R"("author_name":"OpenMoji","author_url":"https://openmoji.org/"})";

struct PictureEntry {
  QString hexcode; // names the picture: <folder>/<hexcode>.svg
  QString emoji;
  QString name; // the French name, or our own first word when CLDR gives none; may be empty
  QString path; // the SVG file
};

class PictureCatalogue {
public:
  // What loading the index gave. A missing set is no failure of the program: there are simply
  // no built-in pictures, and the carer can still take a file of their own.
  class LoadResult {
  public:
    enum class Status { Loaded, Missing, Damaged };
    LoadResult(Status status, QString path, int pictures, int skippedLines);
    Status status() const { return FStatus; }
    bool ok() const { return FStatus == Status::Loaded; }
    int pictures() const { return FPictures; }
    // Lines of the index that were not pictures (too few columns, a bad hexcode, a repeat).
    int skippedLines() const { return FSkipped; }
    // Empty when loaded; a French sentence naming the index otherwise.
    QString errorString() const;

  private:
    Status FStatus;
    QString FPath;
    int FPictures;
    int FSkipped;
  };

  // The first line of an index; anything else is not one.
  static const QString kIndexHeader;
  // Far above the real index (under half a megabyte): a bigger file is no index of ours.
  static constexpr qint64 kMaxIndexBytes = 16 * 1024 * 1024;

  // Where the built or installed program keeps the set: share/orivox/pictures beside its folder
  // or in it. The first candidate when neither holds an index, so that a message can name it.
  static QString defaultFolder();

  // Reads <folder>/index.tsv, replacing whatever was loaded; on failure the catalogue is empty.
  LoadResult load(const QString& folder);

  int size() const { return int(FEntries.size()); }

  // The pictures whose names hold every word of the query, best first, at most max. A word
  // matches a whole word of a name, or, ranked after, its start (so typing finds as it goes).
  // Our own everyday words rank first, then CLDR's spoken name, then its mere keywords.
  std::vector<PictureEntry> search(const QString& query, int max) const;

  // One picture for a button's text ("J'ai soif"): the words of the text together, else the
  // best of its words alone, stop words left out; whole words before word starts.
  std::optional<PictureEntry> bestMatch(const QString& text) const;

private:
  // Where a word was found, from the best: our own word, the spoken name, a CLDR keyword; then
  // the same three as the start of a word.
  enum Tier : quint8 { OwnWord, SpokenName, Keyword, OwnOrNamePrefix, KeywordPrefix, NoMatch };
  struct Posting {
    int entry;
    quint8 field;     // Tier of a whole-word match there
    quint8 phraseLen; // words (stop words aside) of the name or keyword holding it
  };
  struct Rank {
    quint8 tier = NoMatch;
    quint8 phraseLen = 255;
  };
  struct Candidate {
    int entry;
    Rank rank;
  };

  void addPhrase(int entry, const QString& phrase, Tier field);
  void buildTokenTable();
  std::vector<Candidate> rank(const QStringList& words, bool allowPrefix, int max) const;
  void rankWord(const QString& word, bool allowPrefix, std::vector<Rank>& best) const;
  PictureEntry entryAt(int index) const;

  struct Entry {
    QString hexcode;
    QString emoji;
    QString name;
    int nameWords = 0;
    bool variant = false; // a skin-tone variant of another picture
  };
  QString FFolder;
  std::vector<Entry> FEntries;
  // Every folded word of every name, sorted (for whole words and word starts by binary search),
  // each with the places it was found.
  std::vector<QString> FTokens;
  std::vector<std::vector<Posting>> FPostings;
  QHash<QString, int> FTokenIndex; // while loading: a word's place in FTokens
};
