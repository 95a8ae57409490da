// A scrollable window that shows a table painted by the program through a
// Canvas (the data and the results tables).
#pragma once

#include <QAbstractScrollArea>
#include <QImage>
#include <memory>

#include "app/platform.h"

class OknoTabeliQt : public QAbstractScrollArea {
  Q_OBJECT
 public:
  OknoTabeliQt(std::unique_ptr<OknoTabeli> tresc, QWidget* rodzic);
  OknoTabeli& tresc() { return *tresc_; }
  // The visible part of the table as the user sees it.
  QImage obraz();
  // The whole table, as it would look in a window tall and wide enough.
  QImage obraz_calosci();
  // The model may have changed: fit the scroll ranges and repaint.
  void odswiez();
  // True while one of the window's own handlers runs (it must not be
  // deleted from under it then).
  bool zajete() const { return zajete_ > 0; }

 protected:
  void paintEvent(QPaintEvent*) override;
  void resizeEvent(QResizeEvent*) override;
  void closeEvent(QCloseEvent*) override;

 private:
  void zakresy();
  void rysuj(QImage& img, int dx, int dy);
  std::unique_ptr<OknoTabeli> tresc_;
  int zakres_x_ = -1, zakres_y_ = -1;
  int zajete_ = 0;
};
