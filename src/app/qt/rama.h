// The main frame: a QMainWindow with the menu built from the command table,
// the drawing area of the main window and the small coordinates window.
#pragma once

#include <QImage>
#include <QLabel>
#include <QMainWindow>
#include <QWidget>
#include <memory>
#include <vector>

#include "app/qt/qt_canvas.h"

class _OKNO_;
class QMenu;

// The client area of the main window.  It keeps the picture in an image that
// is redrawn by _OKNO_::Paint when the window has been invalidated, so that
// the mouse handling can draw on the picture between paints.
class WidokOkna : public QWidget {
  Q_OBJECT
 public:
  explicit WidokOkna(QWidget* rodzic);
  void ustawOkno(_OKNO_* okno) { okno_ = okno; }
  // Marks the picture stale and schedules a repaint.
  void uniewaznij();
  // Draws the picture now if it is stale.
  void odrysuj();
  const QImage& obraz() const { return obraz_; }
  // A canvas onto the current picture (for drawing outside a paint).
  Canvas* canvas();
  void zakonczCanvas();

 protected:
  void paintEvent(QPaintEvent*) override;
  void resizeEvent(QResizeEvent*) override;
  void mousePressEvent(QMouseEvent*) override;
  void mouseMoveEvent(QMouseEvent*) override;
  void mouseReleaseEvent(QMouseEvent*) override;

 private:
  _OKNO_* okno_ = nullptr;
  QImage obraz_;
  bool nieaktualny_ = true;
  std::unique_ptr<QtCanvas> canvas_;
};

// The coordinates window "Współrzędne": a small framed child with a title.
class OknoWspolrzednych : public QWidget {
  Q_OBJECT
 public:
  explicit OknoWspolrzednych(QWidget* rodzic);
  // Sets the readout; the window widens (never narrows) so that the longest
  // word of a readout, such as a large nodal stress, is never cut off.
  void ustawTekst(const QString& t);
  QString tekst() const { return tekst_->text(); }

 protected:
  void mousePressEvent(QMouseEvent*) override;
  void mouseMoveEvent(QMouseEvent*) override;

 private:
  QLabel* tekst_;
  QPoint chwyt_;
};

class RamaOkna : public QMainWindow {
  Q_OBJECT
 public:
  RamaOkna();
  void ustawOkno(_OKNO_* okno);
  WidokOkna* widok() const { return widok_; }
  OknoWspolrzednych* wspolrzedne() const { return wsp_; }
  // Enables and checks the entries of a popup from the command table.
  void aktualizujMenu(QMenu* menu);
  void aktualizujWszystkieMenu();
  // Calls the main window's EvTimer once, after `ms` milliseconds.
  void ustawZegar(int ms);

 protected:
  void closeEvent(QCloseEvent* e) override;

 private:
  _OKNO_* okno_ = nullptr;
  WidokOkna* widok_;
  OknoWspolrzednych* wsp_;
  std::vector<QMenu*> menu_;  // the popups, in menu order
};
