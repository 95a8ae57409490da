#include "app/qt/qt_canvas.h"

#include <QApplication>
#include <QFontMetrics>
#include <QPolygon>
#include <vector>

namespace {
QColor kolor(Kolor k) { return QColor(k.r, k.g, k.b); }
}  // namespace

QtCanvas::QtCanvas(QImage& obraz, int dx, int dy) : obraz_(obraz), p_(&obraz), dx_(dx), dy_(dy) {
  p_.setRenderHint(QPainter::Antialiasing, false);
  p_.setRenderHint(QPainter::TextAntialiasing, true);
  p_.translate(-dx_, -dy_);
  Pioro(Kolor(0, 0, 0), 1, StylPiora::Ciagly);
  Pedzel(Kolor(255, 255, 255));
  CzcionkaDomyslna();
}

QtCanvas::~QtCanvas() { p_.end(); }

int QtCanvas::Szerokosc() const {
  return static_cast<int>(obraz_.width() / obraz_.devicePixelRatio());
}
int QtCanvas::Wysokosc() const {
  return static_cast<int>(obraz_.height() / obraz_.devicePixelRatio());
}

void QtCanvas::Pioro(Kolor k, int szerokosc, StylPiora styl) {
  szer_pior_ = szerokosc < 1 ? 1 : szerokosc;
  QPen pen(kolor(k));
  if (szer_pior_ == 1) {
    // A one-pixel line that leaves out its last pixel, as LineTo does.
    pen.setWidth(0);
    pen.setCapStyle(Qt::FlatCap);
  } else {
    pen.setWidth(szer_pior_);
    pen.setCapStyle(Qt::RoundCap);
    pen.setJoinStyle(Qt::RoundJoin);
  }
  switch (styl) {
    case StylPiora::Ciagly: pen.setStyle(Qt::SolidLine); break;
    case StylPiora::Kreskowany: pen.setStyle(Qt::DashLine); break;
    case StylPiora::Kropkowany: pen.setStyle(Qt::DotLine); break;
  }
  pioro_ = pen;
  p_.setPen(pen);
}

void QtCanvas::Pedzel(Kolor k) { p_.setBrush(QBrush(kolor(k))); }

void QtCanvas::Prostokat(int l, int t, int r, int b) {
  if (r < l) std::swap(l, r);
  if (b < t) std::swap(t, b);
  if (r - l < 1 || b - t < 1) return;
  const QBrush br = p_.brush();
  p_.fillRect(QRect(l, t, r - l, b - t), br);
  p_.setBrush(Qt::NoBrush);
  if (szer_pior_ == 1) {
    p_.drawRect(QRect(l, t, r - l - 1, b - t - 1));
  } else {
    // a wide pen is drawn inside the rectangle
    const qreal h = szer_pior_ / 2.0;
    p_.drawRect(QRectF(l + h, t + h, r - l - 2 * h, b - t - 2 * h));
  }
  p_.setBrush(br);
}

void QtCanvas::MoveTo(int x, int y) {
  cx_ = x;
  cy_ = y;
}

void QtCanvas::linia(int x1, int y1, int x2, int y2) {
  if (x1 == x2 && y1 == y2) return;
  p_.drawLine(x1, y1, x2, y2);
}

void QtCanvas::LineTo(int x, int y) {
  linia(cx_, cy_, x, y);
  cx_ = x;
  cy_ = y;
}

void QtCanvas::Polyline(const Punkt* p, int n) {
  if (n < 2) return;
  std::vector<QPoint> q(static_cast<std::size_t>(n));
  for (int i = 0; i < n; ++i) q[static_cast<std::size_t>(i)] = QPoint(p[i].x, p[i].y);
  p_.drawPolyline(q.data(), n);
}

void QtCanvas::Polygon(const Punkt* p, int n) {
  if (n < 2) return;
  std::vector<QPoint> q(static_cast<std::size_t>(n));
  for (int i = 0; i < n; ++i) q[static_cast<std::size_t>(i)] = QPoint(p[i].x, p[i].y);
  p_.drawPolygon(q.data(), n, Qt::OddEvenFill);
}

void QtCanvas::KolorTekstu(Kolor k) { kolor_tekstu_ = kolor(k); }

void QtCanvas::Czcionka(const std::string& kroj, int wysokosc_px, int waga) {
  QFont f(QString::fromStdString(kroj));
  f.setPixelSize(wysokosc_px > 0 ? wysokosc_px : 12);
  f.setWeight(waga >= 700 ? QFont::Bold : QFont::Normal);
  f.setStyleStrategy(QFont::PreferDefault);
  p_.setFont(f);
}

void QtCanvas::CzcionkaDomyslna() { p_.setFont(QApplication::font()); }

void QtCanvas::TextOut(int x, int y, const std::string& tekst) {
  const QString s = QString::fromUtf8(tekst.c_str());
  const QFontMetrics fm(p_.font());
  p_.fillRect(QRect(x, y, fm.horizontalAdvance(s), fm.height()), Qt::white);
  const QPen pen = p_.pen();
  p_.setPen(kolor_tekstu_);
  p_.drawText(x, y + fm.ascent(), s);
  p_.setPen(pen);
}

Kolor QtCanvas::GetPixel(int x, int y) const {
  const qreal r = obraz_.devicePixelRatio();
  const int px = static_cast<int>((x - dx_) * r), py = static_cast<int>((y - dy_) * r);
  if (px < 0 || py < 0 || px >= obraz_.width() || py >= obraz_.height()) return Kolor(255, 255, 255);
  const QRgb c = obraz_.pixel(px, py);
  return Kolor(qRed(c), qGreen(c), qBlue(c));
}

void QtCanvas::SetPixel(int x, int y, Kolor k) {
  const QPen pen = p_.pen();
  p_.setPen(QPen(kolor(k), 0));
  p_.drawPoint(x, y);
  p_.setPen(pen);
}
