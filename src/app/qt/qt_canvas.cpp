#include "app/qt/qt_canvas.h"

#include <QApplication>
#include <QFontMetricsF>
#include <algorithm>
#include <QPolygon>
#include <cmath>
#include <limits>
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
    if (c < 128 && ascii_[c]) return *ascii_[c];
    auto it = glify_.find(c);
    if (it == glify_.end()) it = glify_.emplace(c, renderuj(c)).first;
    if (c < 128) ascii_[c] = &it->second;  // the map's elements stay put
    return it->second;
  }
  // Change of the advance when b follows a (kerning).
  qreal kern(char16_t a, char16_t b) {
    if (a < 128 && b < 128) {
      if (!kern_ascii_) {
        kern_ascii_ = std::make_unique<qreal[]>(128 * 128);
        std::fill_n(kern_ascii_.get(), 128 * 128, std::numeric_limits<qreal>::quiet_NaN());
      }
      qreal& v = kern_ascii_[a * 128 + b];
      if (std::isnan(v)) v = kern_wolny(a, b);
      return v;
    }
    return kern_wolny(a, b);
  }
  int wznios() const { return fmi_.ascent(); }
  int wysokosc() const { return fmi_.height(); }

 private:
  qreal kern_wolny(char16_t a, char16_t b) {
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
  // The characters below 128 (every number of the model view) without a
  // hash lookup.
  const Glif* ascii_[128] = {};
  std::unique_ptr<qreal[]> kern_ascii_;
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
  const qreal r = obraz.devicePixelRatio();
  if (obraz.isNull() || !(r >= 0.25 && r <= 16.0)) return false;
  switch (obraz.format()) {
    case QImage::Format_RGB32:
    case QImage::Format_ARGB32:
    case QImage::Format_ARGB32_Premultiplied: return true;
    default: return false;
  }
}

// A coordinate shifted by -d, within the range the rasteriser accepts (the
// subtraction itself must not overflow for any int).
int przesun(int v, int d) {
  const long long w = static_cast<long long>(v) - d;
  return static_cast<int>(std::clamp<long long>(w, -Rastr::kZasieg, Rastr::kZasieg));
}

// A drawing coordinate as a device pixel: shifted by -d, then scaled by the
// device-pixel ratio r (exact doubling for 2), within the rasteriser's range.
int urzadzenie(int v, int d, double r) {
  const long long w = static_cast<long long>(v) - d;
  if (r == 1.0) return static_cast<int>(std::clamp<long long>(w, -Rastr::kZasieg, Rastr::kZasieg));
  const double u = std::nearbyint(static_cast<double>(w) * r);
  return static_cast<int>(std::clamp(u, -static_cast<double>(Rastr::kZasieg), static_cast<double>(Rastr::kZasieg)));
}

// Points in device pixels into a buffer that lives as long as the call.
class Przesuniete {
 public:
  Przesuniete(const Punkt* p, int n, int dx, int dy, double r) {
    Punkt* cel = stos_;
    if (n > 16) {
      sterta_.resize(static_cast<std::size_t>(n));
      cel = sterta_.data();
    }
    for (int i = 0; i < n; ++i) cel[i] = Punkt{urzadzenie(p[i].x, dx, r), urzadzenie(p[i].y, dy, r)};
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
  if (format_rastra(obraz_)) dpr_ = obraz_.devicePixelRatio();
  if (format_rastra(obraz_)) {
    bity_ = reinterpret_cast<std::uint32_t*>(obraz_.bits());
    krok_ = static_cast<std::size_t>(obraz_.bytesPerLine() / 4);
    r_ = Rastr(bity_, obraz_.width(), obraz_.height(), static_cast<int>(krok_));
  }
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
    const int L = X(l), T = Y(t), R = X(r), B = Y(b);
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

int QtCanvas::X(int x) const { return urzadzenie(x, dx_, dpr_); }
int QtCanvas::Y(int y) const { return urzadzenie(y, dy_, dpr_); }

void QtCanvas::MoveTo(int x, int y) {
  cx_ = x;
  cy_ = y;
}

void QtCanvas::linia(int x1, int y1, int x2, int y2) {
  if (pioro_rastra()) {
    const int a = X(x1), b = Y(y1), c = X(x2), d = Y(y2);
    if (szer_pior_ == 1)
      r_.odcinek(a, b, c, d, pioro_c_);
    else
      r_.gruby_odcinek(a, b, c, d, szerokosc_urzadzenia(), pioro_c_);
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
      const Przesuniete q(p, n, dx_, dy_, dpr_);
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
    const Przesuniete q(p, n, dx_, dy_, dpr_);
    r_.wielokat(q.dane(), n, pedzel_c_);
    if (pioro_rastra()) {
      if (szer_pior_ == 1) {
        r_.obrys(q.dane(), n, true, pioro_c_);
      } else {
        for (int i = 0; i < n; ++i)
          r_.gruby_odcinek(q.dane()[i].x, q.dane()[i].y, q.dane()[(i + 1) % n].x, q.dane()[(i + 1) % n].y,
                           szerokosc_urzadzenia(), pioro_c_);
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

void QtCanvas::Wypelnij(const Punkt* p, int n) {
  if (n < 3) return;
  if (r_.gotowy()) {
    const Przesuniete q(p, n, dx_, dy_, dpr_);
    r_.wielokat(q.dane(), n, pedzel_c_);
    return;
  }
  std::vector<QPoint> q(static_cast<std::size_t>(n));
  for (int i = 0; i < n; ++i) q[static_cast<std::size_t>(i)] = QPoint(p[i].x, p[i].y);
  p_.setPen(Qt::NoPen);
  qpen_aktualne_ = false;
  p_.setBrush(kolor(pedzel_kolor_));
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
  pismo_ = pismo_dla(czcionka_urzadzenia(p_.font()));
}

void QtCanvas::CzcionkaDomyslna() {
  p_.setFont(QApplication::font());
  metryka_.emplace(p_.font());
  pismo_ = pismo_dla(czcionka_urzadzenia(p_.font()));
}

QFont QtCanvas::czcionka_urzadzenia(const QFont& f) const {
  if (dpr_ == 1.0) return f;
  // The same font at the device's pixel size: glyphs as sharp as the screen.
  QFont d(f);
  if (f.pixelSize() > 0)
    d.setPixelSize(std::max(1, static_cast<int>(std::lround(f.pixelSize() * dpr_))));
  else
    d.setPointSizeF(f.pointSizeF() * dpr_);
  return d;
}

int QtCanvas::szerokosc_urzadzenia() const {
  return std::max(1, static_cast<int>(std::lround(szer_pior_ * dpr_)));
}

namespace {
// The UTF-16 of a text; plain ASCII (every number of the model view) is
// widened in place without a QString.
class Znaki {
 public:
  explicit Znaki(const std::string& tekst) : n_(static_cast<int>(tekst.size())) {
    ascii_ = n_ <= 64;
    for (int i = 0; ascii_ && i < n_; ++i) {
      const unsigned char b = static_cast<unsigned char>(tekst[static_cast<std::size_t>(i)]);
      ascii_ = b < 0x80;
      stos_[i] = b;
    }
    if (!ascii_) {
      s_ = QString::fromUtf8(tekst.c_str());
      for (QChar c : s_) bmp_ = bmp_ && !c.isSurrogate();
      zn_ = reinterpret_cast<const char16_t*>(s_.utf16());
      n_ = static_cast<int>(s_.size());
    }
  }
  const char16_t* dane() const { return zn_; }
  int ile() const { return n_; }
  // Only characters of the basic plane have glyphs of their own.
  bool bmp() const { return bmp_; }
  QString qstring(const std::string& tekst) const { return ascii_ ? QString::fromUtf8(tekst.c_str()) : s_; }

 private:
  char16_t stos_[64];
  const char16_t* zn_ = stos_;
  QString s_;
  int n_;
  bool ascii_ = true, bmp_ = true;
};

// Pen positions of the glyphs of a text (n + 1 of them, the last one its
// advance): advances plus the kerning of each pair, as the text layout
// places them.
class Pozycje {
 public:
  Pozycje(Pismo& pismo, const char16_t* zn, int n) {
    if (n + 1 > 65) {
      sterta_.resize(static_cast<std::size_t>(n) + 1);
      p_ = sterta_.data();
    }
    p_[0] = 0;
    for (int i = 0; i < n; ++i)
      p_[i + 1] = p_[i] + pismo.glif(zn[i]).postep + (i + 1 < n ? pismo.kern(zn[i], zn[i + 1]) : 0.0);
  }
  qreal operator[](int i) const { return p_[i]; }

 private:
  qreal stos_[65];
  std::vector<qreal> sterta_;
  qreal* p_ = stos_;
};
}  // namespace

Wymiary QtCanvas::WymiaryTekstu(const std::string& tekst) {
  if (tekst.empty()) return {};
  const Znaki z(tekst);
  if (r_.gotowy() && pismo_ && z.bmp()) {
    // The box TextOut paints, in device pixels, as drawing units.
    const Pozycje poz(*pismo_, z.dane(), z.ile());
    return Wymiary{static_cast<int>(std::ceil(qRound(poz[z.ile()]) / dpr_)),
                   static_cast<int>(std::ceil(pismo_->wysokosc() / dpr_))};
  }
  return Wymiary{metryka_->horizontalAdvance(z.qstring(tekst)), metryka_->height()};
}

void QtCanvas::TextOut(int x, int y, const std::string& tekst) {
  if (tekst.empty()) return;
  const Znaki z(tekst);
  const char16_t* zn = z.dane();
  const int n = z.ile();
  if (r_.gotowy() && pismo_ && z.bmp()) {
    // Each glyph lands on the nearest whole pixel.
    const Pozycje poz(*pismo_, zn, n);
    const int lx = X(x), ty = Y(y);
    const int szer = qRound(poz[n]), wys = pismo_->wysokosc();
    if (lx >= r_.szer() + 64 || ty >= r_.wys() + 64 || lx + szer < -64 || ty + wys < -64) return;
    r_.wypelnij(lx, ty, lx + szer, ty + wys, 0xffffffffu);
    const std::uint32_t kol = 0xff000000u | (kolor_tekstu_.rgb() & 0xffffff);
    if (kol != lut_kolor_) {
      // Each coverage over white, the background almost every glyph pixel has.
      for (unsigned a = 0; a < 256; ++a) lut_[a] = mieszaj(0xffffffffu, kol, a);
      lut_kolor_ = kol;
    }
    const int linia_bazowa = ty + pismo_->wznios();
    for (int i = 0; i < n; ++i) {
      const Pismo::Glif& g = pismo_->glif(zn[i]);
      const int gx = lx + qRound(poz[i]) + g.dx, gy = linia_bazowa + g.dy;
      const int j0 = std::max(0, -gy), j1 = std::min(g.wys, r_.wys() - gy);
      const int k0 = std::max(0, -gx), k1 = std::min(g.szer, r_.szer() - gx);
      for (int j = j0; j < j1; ++j) {
        const std::uint8_t* m = g.maska.data() + static_cast<std::size_t>(j) * g.szer;
        std::uint32_t* w = bity_ + static_cast<std::size_t>(gy + j) * krok_ + gx;
        for (int k = k0; k < k1; ++k) {
          const unsigned a = m[k];
          if (!a) continue;
          const std::uint32_t d = w[k];
          w[k] = a == 255 ? kol : (d == 0xffffffffu ? lut_[a] : mieszaj(d, kol, a));
        }
      }
    }
    return;
  }
  const QString s = z.qstring(tekst);
  const int szer = metryka_->horizontalAdvance(s), wys = metryka_->height();
  if (r_.gotowy()) {
    // nothing of a text far outside the image can show
    const int lx = X(x), ty = Y(y);
    const int px = lx + static_cast<int>(std::lround(szer * dpr_)), py = ty + static_cast<int>(std::lround(wys * dpr_));
    if (lx >= r_.szer() || ty >= r_.wys() || px < 0 || py < 0) return;
    r_.wypelnij(lx, ty, px, py, 0xffffffffu);
  } else {
    p_.fillRect(QRect(x, y, szer, wys), Qt::white);
  }
  p_.setPen(kolor_tekstu_);
  qpen_aktualne_ = false;
  p_.drawText(x, y + metryka_->ascent(), s);
}

Kolor QtCanvas::GetPixel(int x, int y) const {
  if (r_.gotowy()) {
    const std::uint32_t c = r_.odczyt(X(x), Y(y));
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
    if (dpr_ == 1.0)
      r_.punkt(X(x), Y(y), Rastr::kolor(k));
    else  // the device pixels of the pixel
      r_.wypelnij(X(x), Y(y), urzadzenie(x, dx_ - 1, dpr_), urzadzenie(y, dy_ - 1, dpr_), Rastr::kolor(k));
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
