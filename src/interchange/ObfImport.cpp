// Lone boards (".obf") read into a board: a whole Orivox board back into its tabs, a board made
// elsewhere into one tab of texts; and the sentence telling what an import left out.
#include "interchange/BoardImporter.h"
#include "interchange/BoardJson.h"
#include "interchange/Formats.h"

#include <QDir>
#include <QFile>

namespace interchange {

namespace {

using namespace boardimport;

ImportResult importLoneBoard(QByteArray json);

// A whole Orivox board in one file: each text goes back to its tab. A button another program
// added has no tab of its own: it joins the tab of the text before it.
Status addOrivoxTabs(BoardImporter& importer, const QJsonObject& obj, const QList<Entry>& entries) {
  const QJsonArray tabs = obj.value(orivoxfields::kTabs).toArray();
  if (const auto bound = boardfile::boundPassed(tabs.size(), 0, {}))
    return Status::failure(bounds::tooLarge(*bound));
  orivoxfields::applyBoardFields(obj.value(orivoxfields::kBoard).toObject(), importer.board);
  if (tabs.isEmpty())
    return entries.isEmpty()
               ? succeeded()
               : importer.addTab(BoardImporter::nameOf(obj, QStringLiteral("Onglet1")), entries);
  QList<QList<Entry>> perTab(tabs.size());
  int tab = 0;
  for (const Entry& e : entries) {
    if (e.tab >= 0 && e.tab < perTab.size())
      tab = e.tab;
    perTab[tab] << e;
  }
  for (qsizetype t = 0; t < perTab.size(); ++t)
    if (const Status added = importer.addTab(
            tabs[t].toObject().value(QLatin1String("caption")).toString(), perTab[t]);
        !added.ok())
      return added;
  return succeeded();
}

} // namespace

QString Dropped::text() const {
  QStringList parts;
  auto part = [&parts](int n, const char* one, const char* many) {
    if (n > 0)
      parts << QStringLiteral("%1 %2").arg(n).arg(QString::fromUtf8(n == 1 ? one : many));
  };
  part(images, "image", "images");
  part(sounds, "son", "sons");
  part(actions, "action autre qu'un texte", "actions autres que des textes");
  part(characters, "texte aux caractères qu'Orivox ne peut pas enregistrer",
       "textes aux caractères qu'Orivox ne peut pas enregistrer");
  part(reserved, "texte identique à une commande", "textes identiques à des commandes");
  QStringList sentences;
  if (!parts.isEmpty()) {
    const QString last = parts.takeLast();
    const QString list = parts.isEmpty() ? last : parts.join(QStringLiteral(", ")) + " et " + last;
    sentences << QStringLiteral("Laissé de côté à l'import : %1.")
                     .arg(list);
  }
  if (!renamedTabs.isEmpty()) {
    QStringList renames;
    for (const auto& [from, to] : renamedTabs)
      renames << QStringLiteral("« %1 » devient « %2 »").arg(from, to);
    const QString last = renames.takeLast();
    sentences << QStringLiteral(
                     "%1 à l'import (Orivox n'a qu'un onglet de chaque nom réservé) : %2.")
                     .arg(renamedTabs.size() == 1 ? QStringLiteral("Onglet renommé")
                                                  : QStringLiteral("Onglets renommés"),
                          renames.isEmpty() ? last
                                            : renames.join(QStringLiteral(", ")) + " et " + last);
  }
  return sentences.join(QLatin1Char(' '));
}

ImportResult importObf(const QByteArray& json) {
  return importLoneBoard(json);
}

ImportResult importObfFile(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly))
    return refused(QStringLiteral("le fichier « %1 » ne peut pas être lu.")
                       .arg(QDir::toNativeSeparators(path)));
  // A file past the bound is refused unread; one byte past it is read at most, should the file
  // grow meanwhile.
  if (file.size() > bounds::kMaxJsonBytes)
    return refused(tooLargeFile(QStringLiteral("ce fichier")));
  return importLoneBoard(file.read(bounds::kMaxJsonBytes + 1));
}

namespace {

ImportResult importLoneBoard(QByteArray json) {
  const QString what = QStringLiteral("ce fichier");
  const Result<QJsonObject> parsed = parseBoardJson(std::move(json), what);
  if (!parsed.ok())
    return refused(parsed.errorString());
  const QJsonObject& obj = parsed.value();
  BoardImporter importer;
  // A lone board leads nowhere: its links are left out.
  const Resolver nowhere = [](const QJsonObject&) { return Result<QString>(QString()); };
  const Result<BoardContent> content = importer.readBoard(obj, what, nowhere);
  if (!content.ok())
    return refused(content.errorString());
  const bool orivox =
      obj.value(orivoxfields::kBoard).isObject() && obj.value(orivoxfields::kTabs).isArray();
  const Status added = orivox
                           ? addOrivoxTabs(importer, obj, content.value().entries)
                           : importer.addTab(BoardImporter::nameOf(obj, QStringLiteral("Onglet1")),
                                             content.value().entries);
  if (!added.ok())
    return refused(added.errorString());
  return done(importer);
}

} // namespace

} // namespace interchange
