// The Platform of the real program, on Qt Widgets.
#pragma once

#include <QImage>
#include <QPointer>
#include <QString>
#include <functional>
#include <map>
#include <memory>

#include "app/platform.h"
#include "app/qt/okno_tabeli.h"

class QFileDialog;
class QWidget;
class RamaOkna;
class OknoPostepu;
class Budzik;

// The file that opens for the document `nazwa` ("skorban.chm" is the help):
// looked for in the current folder, then next to the program, then in the
// documentation folder of the installation; "" when there is none.
QString znajdz_dokument(const QString& nazwa, const QString& katalog_programu);

class QtPlatform : public Platform {
 public:
  explicit QtPlatform(RamaOkna* rama = nullptr);
  ~QtPlatform() override;
  void ustawRame(RamaOkna* rama) { rama_ = rama; }

  int MessageBox(const std::string& tekst, const std::string& tytul, Ikona ikona,
                 Przyciski przyciski) override;
  int Formularz(::Formularz& f) override;
  bool OtworzPlik(OpisPliku& opis) override;
  bool ZapiszPlik(OpisPliku& opis) override;
  int WybierzZListy(const std::string& tytul, const std::string& napis,
                    const std::vector<std::string>& pozycje) override;
  void UstawTytul(const std::string& tytul) override;
  void UstawKursor(Kursor k) override;
  void Odswiez() override;
  void Zamknij() override;
  void OtworzDokument(const std::string& sciezka) override;
  int PokazOkno(std::unique_ptr<OknoTabeli> okno) override;
  void ZniszczOkno(int uchwyt) override;
  bool OknoOtwarte(int uchwyt) const override;
  void UstawWspolrzedne(const std::string& tekst) override;
  void UstawZegar(int ms) override;
  Canvas* CanvasOkna() override;
  void PokazRysunek() override;
  std::string Ustawienie(const std::string& klucz) const override;
  void ZapiszUstawienie(const std::string& klucz, const std::string& wartosc) override;
  bool RozmiarWidoku(int& szer, int& wys) const override;
  bool ZapiszObrazPNG(const std::string& sciezka, int szer, int wys, int skala,
                      const std::function<void(Canvas&)>& rysuj) override;
  bool KopiujObraz(int szer, int wys, const std::function<void(Canvas&)>& rysuj) override;
  bool PokazPostep(const Postep& p) override;
  void ZakonczPostep() override;
  bool Czekaj(int ms) override;
  void Obudz() override;

  OknoTabeliQt* okno(int uchwyt) const;
  // The progress window while it is shown.
  OknoPostepu* postep() const;

 private:
  RamaOkna* rama_;
  std::map<int, QPointer<OknoTabeliQt>> okna_;
  int nastepny_ = 1;
  bool czeka_ = false;
  QPointer<OknoPostepu> postep_;
  std::unique_ptr<Budzik> budzik_;
};

// A picture of szer x wys drawing units painted through `rysuj` into an
// image of `skala` pixels per unit (white before the paint).
QImage obraz_rysunku(int szer, int wys, double skala, const std::function<void(Canvas&)>& rysuj);

// The Qt file-dialog filter for a "description|pattern|" filter, with the
// patterns also in lower case (file names on this system are case sensitive).
QString filtr_qt(const std::string& filtr);

// The file dialog of a description, ready to be shown: it starts in the
// folder of the description's last path and never reads the files it lists.
std::unique_ptr<QFileDialog> utworz_dialog_pliku(QWidget* rodzic, const OpisPliku& opis, bool zapis);
