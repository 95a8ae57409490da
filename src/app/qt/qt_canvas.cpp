#include "app/qt/qt_canvas.h"

#include <QApplication>
#include <QFontMetricsF>
#include <algorithm>
#include <QPolygon>
#include <cmath>
#include <memory>
#include <unordered_map>
#include <vector>

// The glyphs of one font, each rendered once by QPainter as a coverage mask,
// with the advances and the kerning of character pairs.
class Pismo {
 public:
  struct Glif {
    std::vector<std::uint8_t> maska;  // coverage, szer x wys
    int szer = 0, wys = 0;
    int dx = 0, dy = 0;  // top-left of the mask from the pen position on the baseline
    qreal postep = 0;
  };

  explicit Pismo(const QFont& f) : font_(f), fm_(f), fmi_(f) {}

  const Glif& glif(char16_t c) {
    auto it = glify_.find(c);
    if (it != glify_.end()) return it->second;
    return glify_.emplace(c, renderuj(c)).first->second;
  }
  // Change of the advance when b follows a (kerning).
  qreal kern(char16_t a, char16_t b) {
    const std::uint32_t k = (std::uint32_t{a} << 16) | b;
    auto it = kerny_.find(k);
    if (it != kerny_.end()) return it->second;
    if (kerny_.size() > 100000) kerny_.clear();
    QString para;
    para.append(QChar(a));
    para.append(QChar(b));
    const qreal v = fm_.horizontalAdvance(para) - glif(a).postep - glif(b).postep;
    kerny_.emplace(k, v);
    return v;
  }
  int wznios() const { return fmi_.ascent(); }
  int wysokosc() const { return fmi_.height(); }

 private:
  Glif renderuj(char16_t c) const {
    Glif g;
    const QString s(QChar{c});
    g.postep = fm_.horizontalAdvance(s);
    const int m = font_.pixelSize() > 0 ? font_.pixelSize() : 16;
    const int W = static_cast<int>(std::ceil(g.postep)) + 2 * m, H = fmi_.height() + 2 * m;
    QImage obraz(W, H, QImage::Format_ARGB32_Premultiplied);
    obraz.fill(Qt::transparent);
    {
      QPainter p(&obraz);
      p.setRenderHint(QPainter::TextAntialiasing, true);
      p.setFont(font_);
      p.setPen(Qt::black);
      p.drawText(QPointF(m, m + fmi_.ascent()), s);
    }
    int l = W, t = H, r = -1, b = -1;
    for (int y = 0; y < H; ++y) {
      const QRgb* w = reinterpret_cast<const QRgb*>(obraz.constScanLine(y));
      for (int x = 0; x < W; ++x)
        if (qAlpha(w[x])) {
          l = std::min(l, x);
          r = std::max(r, x);
          t = std::min(t, y);
          b = std::max(b, y);
        }
    }
    if (r < 0) return g;  // a blank
    g.szer = r - l + 1;
    g.wys = b - t + 1;
    g.dx = l - m;
    g.dy = t - (m + fmi_.ascent());
    g.maska.resize(static_cast<std::size_t>(g.szer) * g.wys);
    for (int y = 0; y < g.wys; ++y) {
      const QRgb* w = reinterpret_cast<const QRgb*>(obraz.constScanLine(t + y));
      for (int x = 0; x < g.szer; ++x) g.maska[static_cast<std::size_t>(y) * g.szer + x] = qAlpha(w[l + x]);
    }
    return g;
  }

  QFont font_;
  QFontMetricsF fm_;
  QFontMetrics fmi_;
  std::unordered_map<char16_t, Glif> glify_;
  std::unordered_map<std::uint32_t, qreal> kerny_;
};

namespace {
// The fonts met so far, by their description.
Pismo* pismo_dla(const QFont& f) {
  static std::unordered_map<std::string, std::unique_ptr<Pismo>> pisma;
  const std::string klucz = f.key().toStdString();
  auto it = pisma.find(klucz);
  if (it == pisma.end()) it = pisma.emplace(klucz, std::make_unique<Pismo>(f)).first;
  return it->second.get();
}

// Coverage a (0..255) of colour c over the pixel d.
inline std::uint32_t mieszaj(std::uint32_t d, std::uint32_t c, unsigned a) {
  const unsigned na = 255 - a;
  const unsigned r = (((c >> 16) & 0xff) * a + ((d >> 16) & 0xff) * na + 127) / 255;
  const unsigned g = (((c >> 8) & 0xff) * a + ((d >> 8) & 0xff) * na + 127) / 255;
  const unsigned b = ((c & 0xff) * a + (d & 0xff) * na + 127) / 255;
  return 0xff000000u | (r << 16) | (g << 8) | b;
}
}  // namespace

namespace {
QColor kolor(Kolor k) { return QColor(k.r, k.g, k.b); }

bool format_rastra(const QImage& obraz) {
  switch (obraz.format()) {
    case QImage::Format_RGB32:
    case QImage::Format_ARGB32:
    case QImage::Format_ARGB32_Premultiplied: return !obraz.isNull() && obraz.devicePixelRatio() == 1.0;
    default: return false;
  }
}

// A coordinate shifted by -d, within the range the rasteriser accepts (the
// subtraction itself must not overflow for any int).
int przesun(int v, int d) {
  const long long w = static_cast<long long>(v) - d;
  return static_cast<int>(std::clamp<long long>(w, -Rastr::kZasieg, Rastr::kZasieg));
}

// Points shifted by (-dx, -dy) into a buffer that lives as long as the call.
class Przesuniete {
 public:
  Przesuniete(const Punkt* p, int n, int dx, int dy) {
    Punkt* cel = stos_;
    if (n > 16) {
      sterta_.resize(static_cast<std::size_t>(n));
      cel = sterta_.data();
    }
    for (int i = 0; i < n; ++i) cel[i] = Punkt{przesun(p[i].x, dx), przesun(p[i].y, dy)};
    p_ = cel;
  }
  const Punkt* dane() const { return p_; }

 private:
  Punkt stos_[16];
  std::vector<Punkt> sterta_;
  const Punkt* p_;
};
}  // namespace

QtCanvas::QtCanvas(QImage& obraz, int dx, int dy) : obraz_(obraz), dx_(dx), dy_(dy) {
  if (format_rastra(obraz_))
    r_ = Rastr(reinterpret_cast<std::uint32_t*>(obraz_.bits()), obraz_.width(), obraz_.height(),
               static_cast<int>(obraz_.bytesPerLine() / 4));
  p_.begin(&obraz_);
  p_.setRenderHint(QPainter::Antialiasing, false);
  p_.setRenderHint(QPainter::TextAntialiasing, true);
  p_.translate(-dx_, -dy_);
  Pioro(Kolor(0, 0, 0), 1, StylPiora::Ciagly);
  Pedzel(Kolor(255, 255, 255));
  CzcionkaDomyslna();
}

QtCanvas::~QtCanvas() {
  if (poprzedni_wskaznik_) WskaznikZajety(false);
  p_.end();
}

int QtCanvas::Szerokosc() const {
  return static_cast<int>(obraz_.width() / obraz_.devicePixelRatio());
}
int QtCanvas::Wysokosc() const {
  return static_cast<int>(obraz_.height() / obraz_.devicePixelRatio());
}

void QtCanvas::Pioro(Kolor k, int szerokosc, StylPiora styl) {
  szer_pior_ = szerokosc < 1 ? 1 : szerokosc;
  pioro_kolor_ = k;
  pioro_c_ = Rastr::kolor(k);
  styl_ = styl;
  qpen_aktualne_ = false;
}

void QtCanvas::ustaw_qpen() {
  if (qpen_aktualne_) return;
  QPen pen(kolor(pioro_kolor_));
  if (szer_pior_ == 1) {
    // A one-pixel line that leaves out its last pixel, as LineTo does.
    pen.setWidth(0);
    pen.setCapStyle(Qt::FlatCap);
  } else {
    pen.setWidth(szer_pior_);
    pen.setCapStyle(Qt::RoundCap);
    pen.setJoinStyle(Qt::RoundJoin);
  }
  switch (styl_) {
    case StylPiora::Ciagly: pen.setStyle(Qt::SolidLine); break;
    case StylPiora::Kreskowany: pen.setStyle(Qt::DashLine); break;
    case StylPiora::Kropkowany: pen.setStyle(Qt::DotLine); break;
  }
  p_.setPen(pen);
  qpen_aktualne_ = true;
}

void QtCanvas::Pedzel(Kolor k) {
  pedzel_kolor_ = k;
  pedzel_c_ = Rastr::kolor(k);
}

void QtCanvas::Prostokat(int l, int t, int r, int b) {
  if (r < l) std::swap(l, r);
  if (b < t) std::swap(t, b);
  if (static_cast<long long>(r) - l < 1 || static_cast<long long>(b) - t < 1) return;
  if (r_.gotowy()) {
    const int L = przesun(l, dx_), T = przesun(t, dy_), R = przesun(r, dx_), B = przesun(b, dy_);
    r_.wypelnij(L, T, R, B, pedzel_c_);
    if (pioro_rastra() && szer_pior_ == 1) {
      r_.ramka(L, T, R, B, pioro_c_);
      return;
    }
  } else {
    p_.fillRect(QRect(l, t, r - l, b - t), kolor(pedzel_kolor_));
  }
  ustaw_qpen();
  p_.setBrush(Qt::NoBrush);
  if (szer_pior_ == 1) {
    p_.drawRect(QRect(l, t, r - l - 1, b - t - 1));
  } else {
    // a wide pen is drawn inside the rectangle
    const qreal h = szer_pior_ / 2.0;
    p_.drawRect(QRectF(l + h, t + h, r - l - 2 * h, b - t - 2 * h));
  }
}

void QtCanvas::MoveTo(int x, int y) {
  cx_ = x;
  cy_ = y;
}

void QtCanvas::linia(int x1, int y1, int x2, int y2) {
  if (pioro_rastra()) {
    const int a = przesun(x1, dx_), b = przesun(y1, dy_), c = przesun(x2, dx_), d = przesun(y2, dy_);
    if (szer_pior_ == 1)
      r_.odcinek(a, b, c, d, pioro_c_);
    else
      r_.gruby_odcinek(a, b, c, d, szer_pior_, pioro_c_);
    return;
  }
  if (x1 == x2 && y1 == y2) return;
  ustaw_qpen();
  p_.drawLine(x1, y1, x2, y2);
}

void QtCanvas::LineTo(int x, int y) {
  linia(cx_, cy_, x, y);
  cx_ = x;
  cy_ = y;
}

void QtCanvas::Polyline(const Punkt* p, int n) {
  if (n < 2) return;
  if (pioro_rastra()) {
    if (szer_pior_ == 1) {
      const Przesuniete q(p, n, dx_, dy_);
      r_.obrys(q.dane(), n, false, pioro_c_);
    } else {
      for (int i = 0; i + 1 < n; ++i) linia(p[i].x, p[i].y, p[i + 1].x, p[i + 1].y);
    }
    return;
  }
  std::vector<QPoint> q(static_cast<std::size_t>(n));
  for (int i = 0; i < n; ++i) q[static_cast<std::size_t>(i)] = QPoint(p[i].x, p[i].y);
  ustaw_qpen();
  p_.drawPolyline(q.data(), n);
}

void QtCanvas::Polygon(const Punkt* p, int n) {
  if (n < 2) return;
  if (r_.gotowy()) {
    const Przesuniete q(p, n, dx_, dy_);
    r_.wielokat(q.dane(), n, pedzel_c_);
    if (pioro_rastra()) {
      if (szer_pior_ == 1) {
        r_.obrys(q.dane(), n, true, pioro_c_);
      } else {
        for (int i = 0; i < n; ++i)
          r_.gruby_odcinek(q.dane()[i].x, q.dane()[i].y, q.dane()[(i + 1) % n].x, q.dane()[(i + 1) % n].y,
                           szer_pior_, pioro_c_);
      }
      return;
    }
  }
  std::vector<QPoint> q(static_cast<std::size_t>(n));
  for (int i = 0; i < n; ++i) q[static_cast<std::size_t>(i)] = QPoint(p[i].x, p[i].y);
  ustaw_qpen();
  p_.setBrush(r_.gotowy() ? QBrush(Qt::NoBrush) : QBrush(kolor(pedzel_kolor_)));
  p_.drawPolygon(q.data(), n, Qt::OddEvenFill);
}

void QtCanvas::KolorTekstu(Kolor k) { kolor_tekstu_ = kolor(k); }

void QtCanvas::Czcionka(const std::string& kroj, int wysokosc_px, int waga) {
  QFont f(QString::fromStdString(kroj));
  f.setPixelSize(wysokosc_px > 0 ? wysokosc_px : 12);
  f.setWeight(waga >= 700 ? QFont::Bold : QFont::Normal);
  f.setStyleStrategy(QFont::PreferDefault);
  p_.setFont(f);
  metryka_.emplace(p_.font());
  pismo_ = pismo_dla(p_.font());
}

void QtCanvas::CzcionkaDomyslna() {
  p_.setFont(QApplication::font());
  metryka_.emplace(p_.font());
  pismo_ = pismo_dla(p_.font());
}

void QtCanvas::TextOut(int x, int y, const std::string& tekst) {
  if (tekst.empty()) return;
  const QString s = QString::fromUtf8(tekst.c_str());
  bool bmp = true;
  for (QChar c : s) bmp = bmp && !c.isSurrogate();
  if (r_.gotowy() && pismo_ && bmp) {
    // Pen positions: advances plus the kerning of each pair, as the text
    // layout places them; each glyph lands on the nearest whole pixel.
    const int n = static_cast<int>(s.size());
    qreal pozycje_stos[64];
    std::vector<qreal> pozycje_sterta;
    qreal* poz = pozycje_stos;
    if (n + 1 > 64) {
      pozycje_sterta.resize(static_cast<std::size_t>(n) + 1);
      poz = pozycje_sterta.data();
    }
    poz[0] = 0;
    for (int i = 0; i < n; ++i) {
      const char16_t c = s[i].unicode();
      poz[i + 1] = poz[i] + pismo_->glif(c).postep + (i + 1 < n ? pismo_->kern(c, s[i + 1].unicode()) : 0.0);
    }
    const int lx = przesun(x, dx_), ty = przesun(y, dy_);
    const int szer = qRound(poz[n]), wys = pismo_->wysokosc();
    if (lx >= r_.szer() + 64 || ty >= r_.wys() + 64 || lx + szer < -64 || ty + wys < -64) return;
    r_.wypelnij(lx, ty, lx + szer, ty + wys, 0xffffffffu);
    const std::uint32_t kol = 0xff000000u | (kolor_tekstu_.rgb() & 0xffffff);
    const int linia_bazowa = ty + pismo_->wznios();
    for (int i = 0; i < n; ++i) {
      const Pismo::Glif& g = pismo_->glif(s[i].unicode());
      const int gx = lx + qRound(poz[i]) + g.dx, gy = linia_bazowa + g.dy;
      for (int j = 0; j < g.wys; ++j) {
        const int yy = gy + j;
        if (yy < 0 || yy >= r_.wys()) continue;
        const std::uint8_t* m = g.maska.data() + static_cast<std::size_t>(j) * g.szer;
        for (int k = 0; k < g.szer; ++k) {
          const unsigned a = m[k];
          const int xx = gx + k;
          if (!a || xx < 0 || xx >= r_.szer()) continue;
          r_.punkt(xx, yy, a == 255 ? kol : mieszaj(r_.odczyt(xx, yy), kol, a));
        }
      }
    }
    return;
  }
  const int szer = metryka_->horizontalAdvance(s), wys = metryka_->height();
  if (r_.gotowy()) {
    // nothing of a text far outside the image can show
    const int lx = przesun(x, dx_), ty = przesun(y, dy_);
    if (lx >= r_.szer() || ty >= r_.wys() || lx + szer < 0 || ty + wys < 0) return;
    r_.wypelnij(lx, ty, lx + szer, ty + wys, 0xffffffffu);
  } else {
    p_.fillRect(QRect(x, y, szer, wys), Qt::white);
  }
  p_.setPen(kolor_tekstu_);
  qpen_aktualne_ = false;
  p_.drawText(x, y + metryka_->ascent(), s);
}

Kolor QtCanvas::GetPixel(int x, int y) const {
  if (r_.gotowy()) {
    const std::uint32_t c = r_.odczyt(przesun(x, dx_), przesun(y, dy_));
    return Kolor((c >> 16) & 0xff, (c >> 8) & 0xff, c & 0xff);
  }
  const qreal r = obraz_.devicePixelRatio();
  const int px = static_cast<int>(przesun(x, dx_) * r), py = static_cast<int>(przesun(y, dy_) * r);
  if (px < 0 || py < 0 || px >= obraz_.width() || py >= obraz_.height()) return Kolor(255, 255, 255);
  const QRgb c = obraz_.pixel(px, py);
  return Kolor(qRed(c), qGreen(c), qBlue(c));
}

void QtCanvas::SetPixel(int x, int y, Kolor k) {
  if (r_.gotowy()) {
    r_.punkt(przesun(x, dx_), przesun(y, dy_), Rastr::kolor(k));
    return;
  }
  p_.setPen(QPen(kolor(k), 0));
  qpen_aktualne_ = false;
  p_.drawPoint(x, y);
}

void QtCanvas::WskaznikZajety(bool zajety) {
  if (!widzet_) return;
  if (zajety) {
    if (!poprzedni_wskaznik_) poprzedni_wskaznik_ = widzet_->cursor();
    widzet_->setCursor(Qt::WaitCursor);
  } else if (poprzedni_wskaznik_) {
    widzet_->setCursor(*poprzedni_wskaznik_);
    poprzedni_wskaznik_.reset();
  }
}
