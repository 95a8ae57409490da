// A scrollable window that shows a table painted by the program through a
// Canvas (the data and the results tables).
#pragma once

#include <QAbstractScrollArea>
#include <memory>

#include "app/platform.h"

class OknoTabeliQt : public QAbstractScrollArea {
  Q_OBJECT
 public:
  OknoTabeliQt(std::unique_ptr<OknoTabeli> tresc, QWidget* rodzic);
  OknoTabeli& tresc() { return *tresc_; }
  // The visible part of the table as the user sees it.
  QImage obraz();

 protected:
  void paintEvent(QPaintEvent*) override;
  void resizeEvent(QResizeEvent*) override;
  void closeEvent(QCloseEvent*) override;

 private:
  void zakresy();
  std::unique_ptr<OknoTabeli> tresc_;
};
