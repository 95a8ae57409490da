// Builds a real modal QDialog from a form layout and exchanges the contents
// of its fields with the bound record.
#pragma once

#include <QDialog>
#include <QMessageBox>
#include <memory>

#include "app/formularz.h"
#include "app/platform.h"

class QLineEdit;
class QCheckBox;
class QComboBox;

class DialogFormularza : public QDialog {
  Q_OBJECT
 public:
  DialogFormularza(::Formularz& f, QWidget* rodzic);
  // The edit / check box of a control id (nullptr when there is none).
  QLineEdit* edycja(int id) const;
  QCheckBox* wybor(int id) const;
  QComboBox* lista(int id) const;
  // Copies the fields back into the record (what "OK" does).
  void przenies();

 private:
  ::Formularz& f_;
  std::vector<std::pair<int, QLineEdit*>> edycje_;
  std::vector<std::pair<int, QCheckBox*>> wybory_;
  std::vector<std::pair<int, QComboBox*>> listy_;
};

// Runs the form modally; IDOK or IDCANCEL.
int wykonaj_formularz(::Formularz& f, QWidget* rodzic);

// A message box with Polish buttons ("OK", "&Tak", "&Nie", "&Anuluj").
std::unique_ptr<QMessageBox> zbuduj_komunikat(const std::string& tekst, const std::string& tytul, Ikona ikona,
                                              Przyciski przyciski, QWidget* rodzic);
int pokaz_komunikat(const std::string& tekst, const std::string& tytul, Ikona ikona, Przyciski przyciski,
                    QWidget* rodzic);
