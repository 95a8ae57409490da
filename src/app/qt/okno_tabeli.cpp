#include "app/qt/okno_tabeli.h"

#include <QCloseEvent>
#include <QPainter>
#include <QScrollBar>

#include "app/qt/qt_canvas.h"

OknoTabeliQt::OknoTabeliQt(std::unique_ptr<OknoTabeli> tresc, QWidget* rodzic)
    : QAbstractScrollArea(rodzic), tresc_(std::move(tresc)) {
  setWindowFlags(Qt::Window);
  setAttribute(Qt::WA_DeleteOnClose);
  setWindowTitle(QString::fromUtf8(tresc_->Tytul().c_str()));
  setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  move(tresc_->X(), tresc_->Y());
  resize(tresc_->Szer(), tresc_->Wys());
  zakresy();
}

void OknoTabeliQt::zakresy() {
  const int j = tresc_->Jednostka();
  const int w = viewport()->width(), h = viewport()->height();
  horizontalScrollBar()->setRange(0, std::max(0, tresc_->ZakresX() * j - w));
  verticalScrollBar()->setRange(0, std::max(0, tresc_->ZakresY() * j - h));
  horizontalScrollBar()->setSingleStep(j);
  verticalScrollBar()->setSingleStep(j);
  horizontalScrollBar()->setPageStep(w);
  verticalScrollBar()->setPageStep(h);
}

QImage OknoTabeliQt::obraz() {
  QImage img(viewport()->size().expandedTo(QSize(1, 1)), QImage::Format_RGB32);
  img.fill(QColor(192, 192, 192));
  {
    QtCanvas c(img, horizontalScrollBar()->value(), verticalScrollBar()->value());
    tresc_->Paint(c);
  }
  return img;
}

void OknoTabeliQt::paintEvent(QPaintEvent*) {
  QPainter p(viewport());
  p.drawImage(0, 0, obraz());
}

void OknoTabeliQt::resizeEvent(QResizeEvent* e) {
  QAbstractScrollArea::resizeEvent(e);
  zakresy();
}

void OknoTabeliQt::closeEvent(QCloseEvent* e) {
  if (tresc_->CanClose())
    e->accept();
  else
    e->ignore();
}
