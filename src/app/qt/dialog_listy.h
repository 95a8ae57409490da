// A modal window with a list to choose one entry from, OK and "Anuluj".
#pragma once

#include <QDialog>
#include <string>
#include <vector>

class QListWidget;

class DialogListy : public QDialog {
  Q_OBJECT
 public:
  DialogListy(const std::string& tytul, const std::string& napis, const std::vector<std::string>& pozycje,
              QWidget* rodzic);
  QListWidget* lista() const { return lista_; }

 private:
  QListWidget* lista_;
};

// Runs the list modally: the index of the chosen entry, or -1.
int wybierz_z_listy(const std::string& tytul, const std::string& napis, const std::vector<std::string>& pozycje,
                    QWidget* rodzic);
