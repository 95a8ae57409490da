#include "app/qt/okno_tabeli.h"

#include <QCloseEvent>
#include <QFontMetrics>
#include <QPainter>
#include <QScrollBar>
#include <optional>

#include "app/qt/qt_canvas.h"

namespace {

// Both tables share one look: black text on the window's grey.
const QColor kTlo(192, 192, 192);

// The canvas of a table window.  Text is written straight onto the grey
// background (with no box of its own, which would clip the tails of the
// letters of a header line from the line below it), and text that lies
// wholly outside the visible band of rows is skipped
// (the table writes every row on every paint; a big model has tens of
// thousands of them).
class PlotnoTabeli : public QtCanvas {
 public:
  PlotnoTabeli(QImage& img, int dx, int dy) : QtCanvas(img, dx, dy), gora_(dy), dol_(dy + img.height()) {}

  void KolorTekstu(Kolor k) override {
    kolor_ = QColor(k.r, k.g, k.b);
    QtCanvas::KolorTekstu(k);
  }
  // The height of a table font is the height of its character cell (ascent
  // plus descent), as the classic desktop interface reads a positive font
  // height: "Arial" 16 gives 16-pixel lines that sit in the 20-pixel rows,
  // and the columns of the table are wide enough for their headers.
  void Czcionka(const std::string& kroj, int wysokosc_px, int waga) override {
    QtCanvas::Czcionka(kroj, wysokosc_px, waga);
    QFont f = painter().font();
    const int komorka = QFontMetrics(f).height();
    if (wysokosc_px > 0 && komorka > wysokosc_px) {
      f.setPixelSize(std::max(1, wysokosc_px * wysokosc_px / komorka));
      painter().setFont(f);
    }
    miary_.reset();
  }
  void CzcionkaDomyslna() override {
    QtCanvas::CzcionkaDomyslna();
    miary_.reset();
  }
  Wymiary WymiaryTekstu(const std::string& tekst) override {
    if (!miary_) miary_.emplace(painter().font());
    return Wymiary{miary_->horizontalAdvance(QString::fromUtf8(tekst.c_str())), miary_->height()};
  }
  void TextOut(int x, int y, const std::string& tekst) override {
    QPainter& p = painter();
    if (!miary_) miary_.emplace(p.font());
    if (y > dol_ || y + miary_->height() < gora_) return;
    const QString s = QString::fromUtf8(tekst.c_str());
    const QPen pen = p.pen();
    p.setPen(kolor_);
    p.drawText(x, y + miary_->ascent(), s);
    p.setPen(pen);
  }

 private:
  int gora_, dol_;
  QColor kolor_{0, 0, 0};
  std::optional<QFontMetrics> miary_;
};

}  // namespace

OknoTabeliQt::OknoTabeliQt(std::unique_ptr<OknoTabeli> tresc, QWidget* rodzic)
    : QAbstractScrollArea(rodzic), tresc_(std::move(tresc)) {
  setWindowFlags(Qt::Window);
  setAttribute(Qt::WA_DeleteOnClose);
  // Closing the main frame ends the program even while a table window
  // without an owner is still open.
  setAttribute(Qt::WA_QuitOnClose, false);
  setWindowTitle(QString::fromUtf8(tresc_->Tytul().c_str()));
  setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  QPalette pal = viewport()->palette();
  pal.setColor(QPalette::Window, kTlo);
  viewport()->setPalette(pal);
  viewport()->setAutoFillBackground(false);
  viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
  move(tresc_->X(), tresc_->Y());
  resize(tresc_->Szer(), tresc_->Wys());
  zakresy();
}

// The scroll ranges are the table's extent (in units of 10 pixels) less the
// visible part, so the last row and the right edge can always be reached.
void OknoTabeliQt::zakresy() {
  const int j = tresc_->Jednostka();
  zakres_x_ = tresc_->ZakresX();
  zakres_y_ = tresc_->ZakresY();
  const int w = viewport()->width(), h = viewport()->height();
  const long long szer = static_cast<long long>(zakres_x_) * j, wys = static_cast<long long>(zakres_y_) * j;
  horizontalScrollBar()->setRange(0, static_cast<int>(std::clamp<long long>(szer - w, 0, INT_MAX)));
  verticalScrollBar()->setRange(0, static_cast<int>(std::clamp<long long>(wys - h, 0, INT_MAX)));
  horizontalScrollBar()->setSingleStep(j);
  verticalScrollBar()->setSingleStep(j);
  horizontalScrollBar()->setPageStep(std::max(j, w - j));
  verticalScrollBar()->setPageStep(std::max(j, h - j));
}

void OknoTabeliQt::odswiez() {
  zakresy();
  viewport()->update();
}

void OknoTabeliQt::rysuj(QImage& img, int dx, int dy) {
  img.fill(kTlo);
  ++zajete_;
  {
    PlotnoTabeli c(img, dx, dy);
    tresc_->Paint(c);
  }
  --zajete_;
}

QImage OknoTabeliQt::obraz() {
  QImage img(viewport()->size().expandedTo(QSize(1, 1)), QImage::Format_RGB32);
  rysuj(img, horizontalScrollBar()->value(), verticalScrollBar()->value());
  return img;
}

QImage OknoTabeliQt::obraz_calosci() {
  const int j = tresc_->Jednostka();
  const QSize rozmiar(std::clamp(tresc_->ZakresX() * j, 1, 4000), std::clamp(tresc_->ZakresY() * j, 1, 30000));
  QImage img(rozmiar, QImage::Format_RGB32);
  rysuj(img, 0, 0);
  return img;
}

void OknoTabeliQt::paintEvent(QPaintEvent*) {
  // Counts may have changed since the ranges were set (a window stays open
  // over some commands).
  if (tresc_->ZakresX() != zakres_x_ || tresc_->ZakresY() != zakres_y_) zakresy();
  const QImage img = obraz();
  QPainter p(viewport());
  p.drawImage(0, 0, img);
}

void OknoTabeliQt::resizeEvent(QResizeEvent* e) {
  QAbstractScrollArea::resizeEvent(e);
  zakresy();
}

void OknoTabeliQt::closeEvent(QCloseEvent* e) {
  ++zajete_;
  const bool mozna = tresc_->CanClose();
  --zajete_;
  if (mozna)
    e->accept();
  else
    e->ignore();
}
