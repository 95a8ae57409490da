#include "app/qt/dialog_formularza.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>

#include "app/qt/ikona.h"

namespace {

QString q(const std::string& s) { return QString::fromUtf8(s.c_str()); }

// Adds one row of a grid: a label and a widget, or a widget over both columns.
void wiersz(QGridLayout* g, QWidget* etykieta, QWidget* w) {
  const int r = g->rowCount();
  if (etykieta) {
    g->addWidget(etykieta, r, 0);
    g->addWidget(w, r, 1);
  } else {
    g->addWidget(w, r, 0, 1, 2);
  }
}

}  // namespace

DialogFormularza::DialogFormularza(::Formularz& f, QWidget* rodzic) : QDialog(rodzic), f_(f) {
  setWindowTitle(q(f.tytul));
  setWindowFlag(Qt::WindowContextHelpButtonHint, false);
  setObjectName(QString("formularz_%1").arg(f.zasob));

  // A label stands one and a half digits clear of its field, whatever the
  // style's own spacing (some styles leave next to nothing).
  const int znak = fontMetrics().horizontalAdvance(QLatin1Char('0'));
  const int odstep = 3 * znak / 2;
  auto* glowny = new QVBoxLayout(this);
  auto* siatka = new QGridLayout;
  siatka->setHorizontalSpacing(odstep);
  glowny->addLayout(siatka);
  std::vector<QGridLayout*> ramki(f.kontrolki.size(), nullptr);
  auto miejsce = [&](int ramka) { return ramka >= 0 && ramki[static_cast<std::size_t>(ramka)]
                                             ? ramki[static_cast<std::size_t>(ramka)]
                                             : siatka; };

  for (std::size_t i = 0; i < f.kontrolki.size(); ++i) {
    Kontrolka& k = f.kontrolki[i];
    switch (k.rodzaj) {
      case Rodzaj::Ramka: {
        auto* box = new QGroupBox(q(k.tekst));
        auto* g = new QGridLayout(box);
        g->setHorizontalSpacing(odstep);
        ramki[i] = g;
        wiersz(siatka, nullptr, box);
        break;
      }
      case Rodzaj::Napis: {
        auto* l = new QLabel(q(k.pole ? std::string(k.pole->t) : k.tekst));
        l->setObjectName(QString("k%1").arg(k.id));
        l->setWordWrap(k.tekst.size() > 40 || (k.pole && std::string(k.pole->t).size() > 40));
        if (k.do_prawej) l->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        // A prompt followed by an edit without its own label shares its row.
        if (i + 1 < f.kontrolki.size() && f.kontrolki[i + 1].rodzaj == Rodzaj::Edycja &&
            f.kontrolki[i + 1].tekst.empty() && f.kontrolki[i + 1].ramka == k.ramka) {
          Kontrolka& e = f.kontrolki[++i];
          auto* ed = new QLineEdit;
          edycje_.emplace_back(e.id, ed);
          wiersz(miejsce(k.ramka), l, ed);
        } else {
          wiersz(miejsce(k.ramka), nullptr, l);
        }
        break;
      }
      case Rodzaj::Edycja: {
        auto* ed = new QLineEdit;
        edycje_.emplace_back(k.id, ed);
        wiersz(miejsce(k.ramka), k.tekst.empty() ? nullptr : new QLabel(q(k.tekst)), ed);
        break;
      }
      case Rodzaj::Wybor: {
        auto* c = new QCheckBox(q(k.tekst));
        c->setObjectName(QString("k%1").arg(k.id));
        if (k.stan) c->setChecked(*k.stan != 0);
        wybory_.emplace_back(k.id, c);
        wiersz(miejsce(k.ramka), nullptr, c);
        break;
      }
      case Rodzaj::Lista: {
        auto* c = new QComboBox;
        c->setObjectName(QString("k%1").arg(k.id));
        for (const auto& p : k.pozycje) c->addItem(q(p));
        if (k.stan && *k.stan >= 0 && *k.stan < c->count()) c->setCurrentIndex(*k.stan);
        listy_.emplace_back(k.id, c);
        wiersz(miejsce(k.ramka), k.tekst.empty() ? nullptr : new QLabel(q(k.tekst)), c);
        break;
      }
    }
  }

  // Fill the edits: a preset longer than the limit is shown whole.
  for (auto& [kid, ed] : edycje_) {
    const Kontrolka* k = nullptr;
    for (const auto& kk : f.kontrolki)
      if (kk.id == kid && kk.rodzaj == Rodzaj::Edycja) k = &kk;
    if (!k) continue;
    ed->setObjectName(QString("k%1").arg(kid));
    const QString tekst = k->pole ? q(k->pole->t) : QString();
    ed->setMaxLength(std::max(k->limit, static_cast<int>(tekst.size())));
    ed->setText(tekst);
    ed->setReadOnly(k->tylko_odczyt);
    if (k->tylko_odczyt) ed->setFocusPolicy(Qt::NoFocus);
    if (k->do_prawej) ed->setAlignment(Qt::AlignRight);
    if (k->tylko_cyfry)
      ed->setValidator(new QRegularExpressionValidator(QRegularExpression("[0-9]*"), ed));
    ed->setMinimumWidth(znak * (k->limit + 3));
  }

  auto* przyciski = new QDialogButtonBox;
  QPushButton* ok = przyciski->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole);
  ok->setDefault(true);
  if (f.ma_anuluj) przyciski->addButton(QStringLiteral("Anuluj"), QDialogButtonBox::RejectRole);
  connect(przyciski, &QDialogButtonBox::accepted, this, [this] {
    przenies();
    accept();
  });
  connect(przyciski, &QDialogButtonBox::rejected, this, &QDialog::reject);
  glowny->addWidget(przyciski);

  // The first editable field gets the focus, with its text selected.
  for (auto& [kid, ed] : edycje_)
    if (!ed->isReadOnly()) {
      ed->setFocus();
      ed->selectAll();
      break;
    }
}

QComboBox* DialogFormularza::lista(int id) const {
  for (const auto& [kid, c] : listy_)
    if (kid == id) return c;
  return nullptr;
}

QLineEdit* DialogFormularza::edycja(int id) const {
  for (const auto& [kid, ed] : edycje_)
    if (kid == id) return ed;
  return nullptr;
}

QCheckBox* DialogFormularza::wybor(int id) const {
  for (const auto& [kid, c] : wybory_)
    if (kid == id) return c;
  return nullptr;
}

void DialogFormularza::przenies() {
  for (auto& k : f_.kontrolki) {
    if (k.rodzaj == Rodzaj::Edycja && k.pole) {
      if (QLineEdit* ed = edycja(k.id)) {
        const std::string t = odczyt_pola(ed->text().toStdString(), k.limit);
        ustaw(*k.pole, "%s", t.c_str());
      }
    } else if (k.rodzaj == Rodzaj::Wybor && k.stan) {
      if (QCheckBox* c = wybor(k.id)) *k.stan = c->isChecked() ? 1 : 0;
    } else if (k.rodzaj == Rodzaj::Lista && k.stan) {
      if (QComboBox* c = lista(k.id); c && c->currentIndex() >= 0) *k.stan = c->currentIndex();
    }
  }
}

int wykonaj_formularz(::Formularz& f, QWidget* rodzic) {
  DialogFormularza d(f, rodzic);
  return d.exec() == QDialog::Accepted ? IDOK : IDCANCEL;
}

std::unique_ptr<QMessageBox> zbuduj_komunikat(const std::string& tekst, const std::string& tytul, Ikona ikona,
                                              Przyciski przyciski, QWidget* rodzic) {
  auto box = std::make_unique<QMessageBox>(rodzic);
  box->setWindowTitle(q(tytul));
  box->setText(q(tekst));
  switch (ikona) {
    case Ikona::Brak: box->setIcon(QMessageBox::NoIcon); break;
    case Ikona::Blad: box->setIcon(QMessageBox::Critical); break;
    case Ikona::Wykrzyknik: box->setIcon(QMessageBox::Warning); break;
    case Ikona::Pytanie: box->setIcon(QMessageBox::Question); break;
    case Ikona::Informacja: box->setIcon(QMessageBox::Information); break;
    case Ikona::Program: box->setIconPixmap(ikona_programu().pixmap(64, 64)); break;
  }
  if (przyciski == Przyciski::TakNie) {
    box->setStandardButtons(QMessageBox::Yes | QMessageBox::No);
    box->button(QMessageBox::Yes)->setText(QStringLiteral("&Tak"));
    box->button(QMessageBox::No)->setText(QStringLiteral("&Nie"));
    box->setDefaultButton(QMessageBox::Yes);
    box->setEscapeButton(QMessageBox::No);
  } else if (przyciski == Przyciski::TakNieAnuluj) {
    box->setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
    box->button(QMessageBox::Yes)->setText(QStringLiteral("&Tak"));
    box->button(QMessageBox::No)->setText(QStringLiteral("&Nie"));
    box->button(QMessageBox::Cancel)->setText(QStringLiteral("&Anuluj"));
    box->setDefaultButton(QMessageBox::Yes);
    box->setEscapeButton(QMessageBox::Cancel);
  } else {
    box->setStandardButtons(QMessageBox::Ok);
    box->button(QMessageBox::Ok)->setText(QStringLiteral("OK"));
  }
  return box;
}

int pokaz_komunikat(const std::string& tekst, const std::string& tytul, Ikona ikona, Przyciski przyciski,
                    QWidget* rodzic) {
  auto box = zbuduj_komunikat(tekst, tytul, ikona, przyciski, rodzic);
  const int r = box->exec();
  if (przyciski == Przyciski::TakNie) return r == QMessageBox::Yes ? IDYES : IDNO;
  if (przyciski == Przyciski::TakNieAnuluj) return r == QMessageBox::Yes ? IDYES : r == QMessageBox::No ? IDNO : IDCANCEL;
  return IDOK;
}
