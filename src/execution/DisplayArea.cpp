// The display area's widget: the switch never types into it and the person never edits it; it
// only shows the phrases, and a screen reader finds it by its name.
#include "execution/DisplayArea.h"

#include "execution/QtDisplayLines.h"
#include "platform/Colour.h"

#include <QTextEdit>

DisplayArea::DisplayArea(QWidget* parent) : Memo(new QTextEdit(parent)) {
  Memo->setObjectName(QStringLiteral("Memo"));
  Memo->setAccessibleName(QStringLiteral("Zone d'affichage"));
  Memo->setReadOnly(true);
  Memo->setLineWrapMode(QTextEdit::WidgetWidth);
  Memo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  Memo->setFocusPolicy(Qt::NoFocus); // the switch never types into it
  Memo->setTextInteractionFlags(Qt::NoTextInteraction);
  FLines = std::make_unique<QtDisplayLines>(Memo);
  FPhrase = std::make_unique<PhraseComposer>(*FLines);
}

DisplayArea::~DisplayArea() = default;

QString DisplayArea::text() const {
  return Memo->toPlainText();
}

void DisplayArea::setColour(TColor color) {
  QPalette pal = Memo->palette();
  pal.setColor(QPalette::Base, toQColor(color));
  Memo->setPalette(pal);
}
