#include "app/qt/qt_platform.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QSettings>
#include <QStringList>
#include <QUrl>

#include "app/qt/dialog_formularza.h"
#include "app/qt/rama.h"
#include "wersja.h"

namespace {
QString q(const std::string& s) { return QString::fromUtf8(s.c_str()); }
}  // namespace

QString filtr_qt(const std::string& filtr) {
  const QStringList czesci = q(filtr).split('|', Qt::SkipEmptyParts);
  QStringList wynik;
  for (int i = 0; i + 1 < czesci.size(); i += 2) {
    QString opis = czesci[i];
    const int nawias = opis.indexOf('(');
    if (nawias > 0) opis = opis.left(nawias).trimmed();
    QStringList wzory;
    for (const QString& w : czesci[i + 1].split(';', Qt::SkipEmptyParts)) {
      wzory << w;
      if (w.toLower() != w) wzory << w.toLower();
    }
    wynik << QString("%1 (%2)").arg(opis, wzory.join(' '));
  }
  return wynik.join(";;");
}

QtPlatform::~QtPlatform() {
  for (auto& [u, w] : okna_)
    if (w) delete w.data();
}

namespace {
// After a modal window closes the frame takes the keyboard back; a window
// manager does that by itself, a bare X server does not.
void przywroc_fokus(RamaOkna* rama) {
  if (rama && rama->isVisible()) rama->activateWindow();
}
}  // namespace

int QtPlatform::MessageBox(const std::string& tekst, const std::string& tytul, Ikona ikona,
                           Przyciski przyciski) {
  const int r = pokaz_komunikat(tekst, tytul, ikona, przyciski, rama_);
  przywroc_fokus(rama_);
  return r;
}

int QtPlatform::Formularz(::Formularz& f) {
  // A form always gets the normal pointer, even inside a long operation.
  const bool czekal = czeka_;
  if (czekal) UstawKursor(Kursor::Normalny);
  const int r = wykonaj_formularz(f, rama_);
  przywroc_fokus(rama_);
  if (czekal) UstawKursor(Kursor::Czekaj);
  return r;
}

namespace {
bool dialog_pliku(QWidget* rodzic, OpisPliku& opis, bool zapis) {
  QFileDialog d(rodzic, zapis ? QStringLiteral("Zapisz jako") : QString::fromUtf8("Otwórz"));
  d.setNameFilter(filtr_qt(opis.filtr));
  d.setDefaultSuffix(q(opis.rozszerzenie));
  d.setAcceptMode(zapis ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
  d.setFileMode(zapis ? QFileDialog::AnyFile : (opis.musi_istniec ? QFileDialog::ExistingFile : QFileDialog::AnyFile));
  if (!opis.sciezka.empty()) {
    const QFileInfo fi(q(opis.sciezka));
    d.setDirectory(fi.absolutePath());
    d.selectFile(fi.fileName());
  } else if (!opis.katalog.empty()) {
    d.setDirectory(q(opis.katalog));
  }
  if (d.exec() != QDialog::Accepted || d.selectedFiles().isEmpty()) return false;
  opis.sciezka = QDir::toNativeSeparators(d.selectedFiles().first()).toStdString();
  return true;
}
}  // namespace

bool QtPlatform::OtworzPlik(OpisPliku& opis) {
  const bool r = dialog_pliku(rama_, opis, false);
  przywroc_fokus(rama_);
  return r;
}
bool QtPlatform::ZapiszPlik(OpisPliku& opis) {
  const bool r = dialog_pliku(rama_, opis, true);
  przywroc_fokus(rama_);
  return r;
}

void QtPlatform::UstawTytul(const std::string& tytul) {
  if (rama_) rama_->setWindowTitle(q(tytul));
}

void QtPlatform::UstawKursor(Kursor k) {
  if (k == Kursor::Czekaj) {
    if (!czeka_) QApplication::setOverrideCursor(Qt::WaitCursor);
    czeka_ = true;
    return;
  }
  if (czeka_) QApplication::restoreOverrideCursor();
  czeka_ = false;
  if (rama_) rama_->widok()->setCursor(k == Kursor::Krzyz ? Qt::CrossCursor : Qt::ArrowCursor);
}

void QtPlatform::Odswiez() {
  if (rama_) rama_->widok()->uniewaznij();
  // The table windows read the store whenever they are painted; a command
  // that left them open may have changed what they show.
  for (auto& [u, w] : okna_)
    if (w) w->odswiez();
}

void QtPlatform::Zamknij() {
  if (rama_) rama_->close();
}

QString znajdz_dokument(const QString& nazwa, const QString& katalog_programu) {
  // The help that comes with the program is HTML, which every desktop can
  // show: an HTML page of the same name, or the manual, a folder of HTML
  // pages with their pictures, which takes its place where it is present.
  QStringList nazwy = {nazwa};
  if (nazwa.endsWith(".chm", Qt::CaseInsensitive)) nazwy << nazwa.left(nazwa.size() - 4) + ".html";
  const bool pomoc = QFileInfo(nazwa).completeBaseName().compare("skorban", Qt::CaseInsensitive) == 0;
  QStringList miejsca = nazwy;  // the current folder first
  // Then the program's own documents: next to the program (the build
  // folder), in the installation it belongs to, and where it was meant to be
  // installed.
  for (const QString& katalog : {katalog_programu, katalog_programu + "/" SKORBA_DOKUMENTY_OD_PROGRAMU,
                                 QStringLiteral(SKORBA_KATALOG_DOKUMENTOW)}) {
    if (pomoc) miejsca << katalog + "/podrecznik/index.html";
    for (const QString& n : nazwy) miejsca << katalog + "/" + n;
  }
  for (const QString& m : miejsca)
    if (QFileInfo(m).isFile()) return QDir::cleanPath(QFileInfo(m).absoluteFilePath());
  return {};
}

void QtPlatform::OtworzDokument(const std::string& sciezka) {
  // A missing document is silent.
  const QString dokument = znajdz_dokument(q(sciezka), QCoreApplication::applicationDirPath());
  if (!dokument.isEmpty()) QDesktopServices::openUrl(QUrl::fromLocalFile(dokument));
}

// A window owned by the main window stays above it and is placed relative
// to its client area; a window without an owner is placed on the screen.
int QtPlatform::PokazOkno(std::unique_ptr<OknoTabeli> okno) {
  // Forget the windows the user has closed (Qt deleted them).
  std::erase_if(okna_, [](const auto& p) { return p.second.isNull(); });
  const bool dziecko = okno->MaRodzica();
  auto* w = new OknoTabeliQt(std::move(okno), dziecko ? rama_ : nullptr);
  if (dziecko && rama_) w->move(rama_->widok()->mapToGlobal(QPoint(w->tresc().X(), w->tresc().Y())));
  const int u = nastepny_++;
  okna_[u] = w;
  w->show();
  return u;
}

void QtPlatform::ZniszczOkno(int uchwyt) {
  auto it = okna_.find(uchwyt);
  if (it == okna_.end()) return;
  OknoTabeliQt* w = it->second.data();
  okna_.erase(it);
  if (!w) return;
  // A window whose own handler is running (a message box from its paint)
  // is hidden now and deleted once the handler has returned.
  if (w->zajete()) {
    w->hide();
    w->deleteLater();
  } else {
    delete w;
  }
}

bool QtPlatform::OknoOtwarte(int uchwyt) const {
  auto it = okna_.find(uchwyt);
  return it != okna_.end() && it->second && it->second->isVisible();
}

OknoTabeliQt* QtPlatform::okno(int uchwyt) const {
  auto it = okna_.find(uchwyt);
  return it == okna_.end() ? nullptr : it->second.data();
}

void QtPlatform::UstawWspolrzedne(const std::string& tekst) {
  if (rama_) rama_->wspolrzedne()->ustawTekst(q(tekst));
}

Canvas* QtPlatform::CanvasOkna() { return rama_ ? rama_->widok()->canvas() : nullptr; }

void QtPlatform::PokazRysunek() {
  if (rama_) rama_->widok()->zakonczCanvas();
}

namespace {
// One settings file for the program: ~/.config/skorba-n/skorba_n.conf.
QSettings ustawienia() { return QSettings(QStringLiteral("skorba-n"), QStringLiteral("skorba_n")); }
}  // namespace

std::string QtPlatform::Ustawienie(const std::string& klucz) const {
  return ustawienia().value(q(klucz)).toString().toStdString();
}

void QtPlatform::ZapiszUstawienie(const std::string& klucz, const std::string& wartosc) {
  ustawienia().setValue(q(klucz), q(wartosc));
}
