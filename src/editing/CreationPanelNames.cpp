// The names assistive technologies give the creation panel's controls: what each acts on, where
// the caption alone ("Ajouter", "<<", "Onglets") leaves it to the box around it.
#include "editing/CreationPanel.h"

#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>

void CreationPanel::nameControls() {
  const std::pair<QWidget*, const char*> names[] = {
      {EdtNomOnglet, "Nom de l'onglet"},
      {BtnAjoutOngl, "Ajouter un onglet"},
      {BtnSupprOngl, "Supprimer l'onglet"},
      {EdtT1, "Temps chenillard des onglets"},
      {BtnAvtOngl, "Déplacer l'onglet vers la gauche"},
      {BtnSuivOngl, "Déplacer l'onglet vers la droite"},
      {BtnRangerFrequence, "Ranger les lettres de l'onglet par fréquence"},
      {EdtNomTexte, "Nom du texte"},
      {BtnAjoutTexte, "Ajouter un texte"},
      {BtnSupprTexte, "Supprimer le texte"},
      {EdtT2, "Temps chenillard des textes"},
      {BtnAvtTexte, "Déplacer le texte avant le précédent"},
      {BtnSuivRTexte, "Déplacer le texte après le suivant"},
      {BtnOngletAvt, "Déplacer le texte dans l'onglet précédent"},
      {BtnOngletSuiv, "Déplacer le texte dans l'onglet suivant"},
      {BtnImageTexte, "Choisir l'image du texte"},
      {BtnRetirerImage, "Retirer l'image du texte"},
      {BtnImagesOnglet, "Images pour les textes de l'onglet"},
      {BtnVisuSelec, "Apparence du texte sélectionné"},
      {BtnVisuNonSelec, "Apparence des textes non sélectionnés"},
      {BtnVisuOnglet, "Apparence des onglets"},
      {BtnVisuAff, "Apparence des phrases validées"},
      {BtnVisuAff2, "Apparence de la phrase en cours"},
      {BtnAnnulerEdition, "Annuler la dernière modification"},
      {BtnRetablirEdition, "Rétablir la modification annulée"},
      {BtnReglages, "Réglages du tableau"},
      {BtnImporter, "Importer un tableau"},
      {BtnExporter, "Exporter le tableau"},
  };
  for (const auto& [widget, name] : names)
    widget->setAccessibleName(QString::fromUtf8(name));
}
