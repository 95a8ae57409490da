#include "app/qt/rama.h"

#include <QCloseEvent>
#include <QFontMetrics>
#include <QKeySequence>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPainter>
#include <QVBoxLayout>

#include "app/komendy.h"
#include "app/okno.h"
#include "app/qt/ikona.h"

namespace {
QString q(const char* s) { return QString::fromUtf8(s); }
}  // namespace

// --- WidokOkna -------------------------------------------------------------------

WidokOkna::WidokOkna(QWidget* rodzic) : QWidget(rodzic) {
  setMouseTracking(true);
  setAttribute(Qt::WA_OpaquePaintEvent);
  setFocusPolicy(Qt::StrongFocus);
}

void WidokOkna::uniewaznij() {
  nieaktualny_ = true;
  update();
}

void WidokOkna::odrysuj() {
  const qreal dpr = devicePixelRatioF();
  const QSize rozmiar = size() * dpr;
  if (obraz_.size() != rozmiar) {
    canvas_.reset();
    obraz_ = QImage(rozmiar.expandedTo(QSize(1, 1)), QImage::Format_RGB32);
    obraz_.setDevicePixelRatio(dpr);
    nieaktualny_ = true;
  }
  if (!nieaktualny_) return;
  canvas_.reset();
  obraz_.fill(Qt::white);
  if (okno_) {
    QtCanvas c(obraz_);
    c.ustawWidzet(this);
    okno_->Paint(c);
  }
  nieaktualny_ = false;
}

Canvas* WidokOkna::canvas() {
  odrysuj();
  if (!canvas_) canvas_ = std::make_unique<QtCanvas>(obraz_);
  return canvas_.get();
}

void WidokOkna::zakonczCanvas() {
  canvas_.reset();
  update();
}

void WidokOkna::paintEvent(QPaintEvent*) {
  canvas_.reset();
  odrysuj();
  QPainter p(this);
  p.drawImage(0, 0, obraz_);
}

void WidokOkna::resizeEvent(QResizeEvent*) {
  nieaktualny_ = true;
  if (okno_) okno_->EvSize();
}

void WidokOkna::mousePressEvent(QMouseEvent* e) {
  if (okno_ && e->button() == Qt::LeftButton) {
    const QPoint p = e->position().toPoint();
    okno_->EvLButtonDown(p.x(), p.y());
  }
}

void WidokOkna::mouseMoveEvent(QMouseEvent* e) {
  if (okno_) {
    const QPoint p = e->position().toPoint();
    // A release that never reached the window (the button let go over
    // another application) ends the band here instead of leaving it to
    // follow a pointer whose button is up.
    if (okno_->w_grup == 1 && !(e->buttons() & Qt::LeftButton)) okno_->EvLButtonUp(p.x(), p.y());
    okno_->EvMouseMove(p.x(), p.y());
  }
}

void WidokOkna::mouseReleaseEvent(QMouseEvent* e) {
  if (okno_ && e->button() == Qt::LeftButton) {
    const QPoint p = e->position().toPoint();
    okno_->EvLButtonUp(p.x(), p.y());
  }
}

// --- OknoWspolrzednych -------------------------------------------------------------

OknoWspolrzednych::OknoWspolrzednych(QWidget* rodzic) : QWidget(rodzic) {
  setObjectName("Wspolrzedne");
  setAutoFillBackground(true);
  setGeometry(400, 10, 110, 100);
  auto* l = new QVBoxLayout(this);
  l->setContentsMargins(0, 0, 0, 0);
  l->setSpacing(0);
  auto* tytul = new QLabel(q("Współrzędne"));
  tytul->setStyleSheet("background: palette(highlight); color: palette(highlighted-text); padding: 2px;");
  l->addWidget(tytul);
  tekst_ = new QLabel(q("x=0,       y=0"));
  tekst_->setObjectName("xx");
  tekst_->setWordWrap(true);
  tekst_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  tekst_->setContentsMargins(5, 5, 5, 5);
  l->addWidget(tekst_, 1);
  setStyleSheet("OknoWspolrzednych { border: 1px solid palette(dark); }");
  setAttribute(Qt::WA_StyledBackground);
}

void OknoWspolrzednych::ustawTekst(const QString& t) {
  tekst_->setText(t);
  const QFontMetrics fm(tekst_->font());
  int slowo = 0;
  for (const QString& s : t.split(' ', Qt::SkipEmptyParts)) slowo = std::max(slowo, fm.horizontalAdvance(s));
  const QMargins mt = tekst_->contentsMargins();
  const int potrzeba = slowo + mt.left() + mt.right() + 4;
  if (potrzeba > width()) resize(potrzeba, height());
}

// The window can be moved by dragging it, like a child window by its title.
void OknoWspolrzednych::mousePressEvent(QMouseEvent* e) { chwyt_ = e->position().toPoint(); }
void OknoWspolrzednych::mouseMoveEvent(QMouseEvent* e) {
  if (e->buttons() & Qt::LeftButton) move(mapToParent(e->position().toPoint() - chwyt_));
}

// --- RamaOkna -------------------------------------------------------------------------

RamaOkna::RamaOkna() {
  setWindowTitle(q(kTytulAplikacji));
  setWindowIcon(ikona_programu());
  resize(640, 400);
  widok_ = new WidokOkna(this);
  setCentralWidget(widok_);
  wsp_ = new OknoWspolrzednych(widok_);

  for (const char* popup : menu_popupy()) {
    QMenu* menu = menuBar()->addMenu(q(popup));
    for (const Komenda& k : tablica_komend()) {
      if (std::string(k.menu) != popup) continue;
      QAction* a = menu->addAction(q(k.tekst));
      a->setData(k.id);
      a->setCheckable(k.zaznaczona != nullptr);
      if (k.skroty) {
        QList<QKeySequence> skroty;
        for (const QString& s : q(k.skroty).split(';', Qt::SkipEmptyParts)) skroty << QKeySequence(s);
        a->setShortcuts(skroty);
      }
      connect(a, &QAction::triggered, this, [this, id = k.id] {
        if (!okno_) return;
        wykonaj_komende(*okno_, id);
        // A shortcut acts without its popup being shown: keep every entry's
        // state current for the next one.
        aktualizujWszystkieMenu();
      });
      if (k.separator_po) menu->addSeparator();
    }
    connect(menu, &QMenu::aboutToShow, this, [this, menu] { aktualizujMenu(menu); });
  }
}

void RamaOkna::ustawOkno(_OKNO_* okno) {
  okno_ = okno;
  widok_->ustawOkno(okno);
  aktualizujWszystkieMenu();
}

void RamaOkna::aktualizujWszystkieMenu() {
  for (QMenu* m : menuBar()->findChildren<QMenu*>()) aktualizujMenu(m);
}

void RamaOkna::aktualizujMenu(QMenu* menu) {
  for (QAction* a : menu->actions()) {
    if (a->isSeparator()) continue;
    const int id = a->data().toInt();
    a->setEnabled(okno_ && komenda_wlaczona(*okno_, id));
    if (a->isCheckable()) a->setChecked(okno_ && komenda_zaznaczona(*okno_, id));
  }
}

void RamaOkna::closeEvent(QCloseEvent* e) {
  if (!okno_ || okno_->CanClose())
    e->accept();
  else
    e->ignore();
}
