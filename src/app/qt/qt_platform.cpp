#include "app/qt/qt_platform.h"

#include <QApplication>
#include <QBuffer>
#include <QClipboard>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QEvent>
#include <QEventLoop>
#include <QFileDialog>
#include <QFileIconProvider>
#include <QFileInfo>
#include <QMimeDatabase>
#include <QRegularExpression>
#include <QSettings>
#include <QStyle>
#include <QStringList>
#include <QTimer>
#include <QUrl>

#include "app/qt/dialog_formularza.h"
#include "app/qt/dialog_listy.h"
#include "app/qt/qt_canvas.h"
#include "app/qt/okno_postepu.h"
#include "app/qt/rama.h"
#include "model/plik.h"
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

// Ends a Czekaj of this thread: the event that another thread posts to it
// is handled in the loop that Czekaj runs (or in the next one).
class Budzik : public QObject {
 public:
  QEventLoop* petla = nullptr;
  bool obudzony = false;
  bool event(QEvent* e) override {
    if (e->type() != QEvent::User) return QObject::event(e);
    obudzony = true;
    if (petla) petla->quit();
    return true;
  }
};

QtPlatform::QtPlatform(RamaOkna* rama) : rama_(rama), budzik_(std::make_unique<Budzik>()) {}

QtPlatform::~QtPlatform() {
  for (auto& [u, w] : okna_)
    if (w) delete w.data();
  delete postep_.data();
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
// Icons and type names of the file dialog taken from names and file kinds
// only.  Qt's own provider reads the beginning of every file whose name does
// not tell its type, and some files of /proc (the kernel log) never answer a
// read: the dialog's worker thread then waits for good and the dialog with
// it, as soon as such a folder is shown or merely completed in the name field.
class IkonyBezCzytania : public QFileIconProvider {
 public:
  using QFileIconProvider::icon;
  QIcon icon(const QFileInfo& fi) const override {
    if (fi.isRoot()) return icon(Drive);
    return icon(fi.isDir() ? Folder : File);
  }
  QString type(const QFileInfo& fi) const override {
    if (fi.isDir() || fi.isRoot()) return QFileIconProvider::type(fi);
    const QMimeType typ = QMimeDatabase().mimeTypeForFile(fi, QMimeDatabase::MatchExtension);
    return typ.comment().isEmpty() ? typ.name() : typ.comment();
  }
};
}  // namespace

std::unique_ptr<QFileDialog> utworz_dialog_pliku(QWidget* rodzic, const OpisPliku& opis, bool zapis) {
  static IkonyBezCzytania ikony;
  // The folder the dialog starts in is always given: the folder of the last
  // file opened or saved, the description's folder, or the working folder,
  // never Qt's own memory of the last folder shown, which also holds folders
  // where saving failed.
  QString katalog = QDir::currentPath();
  QString plik;
  if (!opis.sciezka.empty()) {
    const QFileInfo fi(q(opis.sciezka));
    katalog = fi.absolutePath();
    plik = fi.fileName();
  } else if (!opis.katalog.empty()) {
    katalog = q(opis.katalog);
  }
  if (!QFileInfo(katalog).isDir()) katalog = QDir::currentPath();
  // Made in the root folder, which holds no file that could block a read,
  // and moved to its folder only once the icons come from names alone.
  // Only Qt's own dialog takes such a provider, so the desktop's dialog is
  // never asked for.
  auto d = std::make_unique<QFileDialog>(rodzic, zapis ? QStringLiteral("Zapisz jako") : QString::fromUtf8("Otwórz"),
                                         QDir::rootPath());
  d->setOption(QFileDialog::DontUseNativeDialog);
  d->setIconProvider(&ikony);
  d->setNameFilter(filtr_qt(opis.filtr));
  d->setDefaultSuffix(q(opis.rozszerzenie));
  // With several filters (PNG or SVG) the chosen one gives a name typed
  // without an extension its extension, and the last name's extension
  // chooses the filter the dialog opens with.
  const auto rozszerzenie_filtra = [](const QString& f) {
    const int i = f.indexOf("*.");
    return i < 0 ? QString() : f.mid(i + 2).section(QRegularExpression("[ );]"), 0, 0);
  };
  QFileDialog* dp = d.get();
  QObject::connect(dp, &QFileDialog::filterSelected, dp, [dp, rozszerzenie_filtra](const QString& f) {
    const QString r = rozszerzenie_filtra(f);
    if (!r.isEmpty() && r != "*") dp->setDefaultSuffix(r);
  });
  for (const QString& f : d->nameFilters())
    if (!opis.sciezka.empty() && !rozszerzenie_filtra(f).isEmpty() &&
        QFileInfo(q(opis.sciezka)).suffix().compare(rozszerzenie_filtra(f), Qt::CaseInsensitive) == 0) {
      d->selectNameFilter(f);
      d->setDefaultSuffix(rozszerzenie_filtra(f));
      break;
    }
  d->setAcceptMode(zapis ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
  d->setFileMode(zapis ? QFileDialog::AnyFile
                       : (opis.musi_istniec ? QFileDialog::ExistingFile : QFileDialog::AnyFile));
  d->setDirectory(katalog);
  if (!plik.isEmpty()) d->selectFile(plik);
  return d;
}

namespace {
bool dialog_pliku(QWidget* rodzic, OpisPliku& opis, bool zapis) {
  const auto d = utworz_dialog_pliku(rodzic, opis, zapis);
  if (d->exec() != QDialog::Accepted || d->selectedFiles().isEmpty()) return false;
  opis.sciezka = QDir::toNativeSeparators(d->selectedFiles().first()).toStdString();
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

int QtPlatform::WybierzZListy(const std::string& tytul, const std::string& napis,
                              const std::vector<std::string>& pozycje) {
  // Like a form, the list gets the normal pointer inside a long operation.
  const bool czekal = czeka_;
  if (czekal) UstawKursor(Kursor::Normalny);
  const int r = wybierz_z_listy(tytul, napis, pozycje, rama_);
  przywroc_fokus(rama_);
  if (czekal) UstawKursor(Kursor::Czekaj);
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

namespace {
// The height of a title bar: the top of the frame the window manager put
// round the main window, or, where nothing frames windows, the height of a
// title bar as the style draws one, whichever is more.
int wysokosc_paska(const QWidget* rama, const QWidget* w) {
  const int h = rama && rama->isVisible() ? rama->geometry().y() - rama->frameGeometry().y() : 0;
  return std::max(h, w->style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, w));
}
}  // namespace

// A window owned by the main window stays above it and is placed relative
// to its client area; a window without an owner is placed on the screen.
// A window that would open right over one already open there goes a title
// bar's height lower and to the right (as often as it takes), so that each
// new window shows.
int QtPlatform::PokazOkno(std::unique_ptr<OknoTabeli> okno) {
  // Forget the windows the user has closed (Qt deleted them).
  std::erase_if(okna_, [](const auto& p) { return p.second.isNull(); });
  const bool dziecko = okno->MaRodzica();
  auto* w = new OknoTabeliQt(std::move(okno), dziecko ? rama_ : nullptr);
  QPoint miejsce = w->pos();
  if (dziecko && rama_) miejsce = rama_->widok()->mapToGlobal(QPoint(w->tresc().X(), w->tresc().Y()));
  const int krok = std::max(1, wysokosc_paska(rama_, w));
  for (bool zajete = true; zajete;) {
    zajete = false;
    for (const auto& [u, inne] : okna_)
      if (inne && inne->isVisible() && (inne->pos() - miejsce).manhattanLength() < krok) {
        miejsce += QPoint(krok, krok);
        zajete = true;
      }
  }
  w->move(miejsce);
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

void QtPlatform::UstawZegar(int ms) {
  if (rama_) rama_->ustawZegar(ms);
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

// --- pictures -------------------------------------------------------------------------

QImage obraz_rysunku(int szer, int wys, double skala, const std::function<void(Canvas&)>& rysuj) {
  const QSize rozmiar(std::max(1, static_cast<int>(szer * skala)), std::max(1, static_cast<int>(wys * skala)));
  QImage obraz(rozmiar, QImage::Format_RGB32);
  if (obraz.isNull()) return obraz;
  obraz.setDevicePixelRatio(skala);
  obraz.fill(Qt::white);
  QtCanvas c(obraz);
  rysuj(c);
  return obraz;
}

bool QtPlatform::RozmiarWidoku(int& szer, int& wys) const {
  if (!rama_) return false;
  szer = rama_->widok()->width();
  wys = rama_->widok()->height();
  return true;
}

bool QtPlatform::ZapiszObrazPNG(const std::string& sciezka, int szer, int wys, int skala,
                                const std::function<void(Canvas&)>& rysuj) {
  if (szer < 1 || wys < 1 || skala < 1 || skala > 8) return false;
  QImage obraz = obraz_rysunku(szer, wys, skala, rysuj);
  if (obraz.isNull()) return false;
  // Twice the pixels at twice the resolution: the picture keeps its size on
  // paper (96 dots per inch at the window's own size).
  obraz.setDotsPerMeterX(3780 * skala);
  obraz.setDotsPerMeterY(3780 * skala);
  QByteArray png;
  QBuffer bufor(&png);
  bufor.open(QIODevice::WriteOnly);
  if (!obraz.save(&bufor, "PNG")) return false;
  return zapisz_plik_atomowo(sciezka, png.constData(), static_cast<std::size_t>(png.size()));
}

bool QtPlatform::KopiujObraz(int szer, int wys, const std::function<void(Canvas&)>& rysuj) {
  QClipboard* schowek = QGuiApplication::clipboard();
  if (!schowek || szer < 1 || wys < 1) return false;
  const double skala = rama_ ? rama_->widok()->devicePixelRatioF() : 1.0;
  const QImage obraz = obraz_rysunku(szer, wys, skala, rysuj);
  if (obraz.isNull()) return false;
  schowek->setImage(obraz);
  return true;
}

// --- progress ------------------------------------------------------------------------

bool QtPlatform::PokazPostep(const Postep& p) {
  if (!p.widoczny && !postep_) return false;
  if (!postep_) {
    postep_ = new OknoPostepu(rama_);
    postep_->ustaw(p);
    // The program hears of the button at once, not at the end of its wait.
    QObject::connect(postep_, &OknoPostepu::przerwij_zadane, budzik_.get(), [this] { Obudz(); });
    // The window is the sign of work now: the pointer over it is the
    // normal one, over the main window the busy one.
    if (czeka_) QApplication::restoreOverrideCursor();
    if (rama_) rama_->widok()->setCursor(Qt::BusyCursor);
    postep_->show();
  } else {
    postep_->ustaw(p);
  }
  return postep_->przerwano();
}

void QtPlatform::ZakonczPostep() {
  if (!postep_) return;
  delete postep_.data();
  if (czeka_) QApplication::setOverrideCursor(Qt::WaitCursor);
  if (rama_) rama_->widok()->setCursor(Qt::ArrowCursor);
  przywroc_fokus(rama_);
}

OknoPostepu* QtPlatform::postep() const { return postep_.data(); }

bool QtPlatform::Czekaj(int ms) {
  if (!budzik_->obudzony) {
    QEventLoop petla;
    budzik_->petla = &petla;
    QTimer::singleShot(ms, &petla, &QEventLoop::quit);
    petla.exec();
    budzik_->petla = nullptr;
  } else {
    QCoreApplication::processEvents();
  }
  budzik_->obudzony = false;
  return true;
}

void QtPlatform::Obudz() { QCoreApplication::postEvent(budzik_.get(), new QEvent(QEvent::User)); }
